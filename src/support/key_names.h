// The names of keyboard keys, the one vocabulary of project files and scripted input files.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

struct KeyName {
    std::string name;  // lower case; matched regardless of case
    int code;          // Windows virtual-key code
};

// Every name in the order listed to authors; the first name of a code is the one written back.
const std::vector<KeyName>& key_names();

// The code of a name, compared without regard to ASCII case.
std::optional<int> key_code_by_name(std::string_view name);

// "nokey, anykey, backspace, ...", for messages about an unknown name.
std::string key_name_list();

}  // namespace quillon
