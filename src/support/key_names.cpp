// The names of keyboard keys: one table for project files and scripted input files.
#include "support/key_names.h"

#include "support/ascii_case.h"

namespace quillon {

const std::vector<KeyName>& key_names()
{
    static const std::vector<KeyName> table = [] {
        std::vector<KeyName> names {{"nokey", 0}, {"anykey", 1}, {"backspace", 8}, {"tab", 9}, {"enter", 13},
            {"shift", 16}, {"control", 17}, {"alt", 18}, {"pause", 19}, {"escape", 27}, {"space", 32},
            {"pageup", 33}, {"pagedown", 34}, {"end", 35}, {"home", 36}, {"left", 37}, {"up", 38}, {"right", 39},
            {"down", 40}, {"insert", 45}, {"delete", 46}, {"multiply", 106}, {"add", 107}, {"subtract", 109},
            {"decimal", 110}, {"divide", 111}, {"lshift", 160}, {"rshift", 161}, {"lcontrol", 162},
            {"rcontrol", 163}, {"lalt", 164}, {"ralt", 165}};
        for (char digit = '0'; digit <= '9'; ++digit)
            names.push_back({std::string(1, digit), digit});
        for (char letter = 'a'; letter <= 'z'; ++letter)
            names.push_back({std::string(1, letter), letter - 'a' + 'A'});
        for (int pad = 0; pad <= 9; ++pad)
            names.push_back({"numpad" + std::to_string(pad), 96 + pad});
        for (int f = 1; f <= 12; ++f)
            names.push_back({"f" + std::to_string(f), 111 + f});
        // Other spellings of the same keys, read but never written.
        names.insert(names.end(), {{"ctrl", 17}, {"lctrl", 162}, {"rctrl", 163}});
        for (int pad = 0; pad <= 9; ++pad)
            names.push_back({"keypad" + std::to_string(pad), 96 + pad});
        return names;
    }();
    return table;
}

std::optional<int> key_code_by_name(std::string_view name)
{
    for (const KeyName& key : key_names())
        if (equal_ignoring_ascii_case(key.name, name))
            return key.code;
    return std::nullopt;
}

std::string key_name_list()
{
    std::string list;
    for (const KeyName& key : key_names())
        list += (list.empty() ? "" : ", ") + key.name;
    return list;
}

}  // namespace quillon
