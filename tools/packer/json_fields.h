// Reading the fields of a project's JSON records with precise errors, and writing them back.
#pragma once

#include "pack_error.h"
#include "project_files.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <span>
#include <string>
#include <variant>
#include <vector>

namespace quillon {

// Ordered, so that written files keep their fields in the order the documentation lists them.
using Json = nlohmann::ordered_json;

// One plain field of a record, for the tables that read and write records field by field.
template<typename Record>
struct FieldRef {
    const char* name;  // the key in the JSON record
    std::variant<std::int32_t Record::*, bool Record::*, double Record::*, std::string Record::*> member;
    bool color = false;  // an integer written as "#rrggbb"
};

// Reads the fields of one JSON object. Every key must be taken by the end (finish), so a misspelt field is
// an error rather than a silent default.
class Fields {
public:
    Fields(const Json& object, Place place);

    const Place& place() const { return m_place; }
    bool has(const std::string& key) const
    {
        m_asked.push_back(key);
        return m_object.contains(key);
    }
    // The value of a key without marking it known; null when the key is absent.
    const Json* peek(const std::string& key) const { return m_object.contains(key) ? &m_object[key] : nullptr; }
    // The value of a key, marked as known; null when the key is absent.
    const Json* take(const std::string& key);

    // Each leaves the value alone when the key is absent. Strings are UTF-8 in the project and Windows-1252
    // in the game.
    void get(const std::string& key, std::int32_t& value);
    void get(const std::string& key, bool& value);
    void get(const std::string& key, double& value);
    void get(const std::string& key, std::string& value);
    // A colour: an integer, or "#rrggbb".
    void get_color(const std::string& key, std::int32_t& value);
    // A file inside the project: a relative path with '/' separators that does not climb out of the folder.
    std::optional<std::string> get_path(const std::string& key);

    template<typename Record>
    void get_fields(Record& record, std::span<const FieldRef<Record>> table)
    {
        for (const FieldRef<Record>& field : table) {
            if (field.color)
                get_color(field.name, record.*std::get<std::int32_t Record::*>(field.member));
            else
                std::visit([&](auto member) { get(field.name, record.*member); }, field.member);
        }
    }

    // Fails on the first key that was never taken.
    void finish() const;

    std::int32_t to_int(const Json& value, const std::string& key) const;
    std::string to_string(const Json& value, const std::string& key) const;
    [[noreturn]] void fail(const std::string& key, const std::string& problem) const { m_place.fail(key, problem); }

private:
    const Json& m_object;               // the record
    Place m_place;                      // for messages
    std::vector<std::string> m_taken;   // keys read so far
    mutable std::vector<std::string> m_asked;  // every key looked for, present or not, for suggestions
};

// "#rrggbb" for a 24-bit colour, the plain number for anything else.
Json color_json(std::int32_t color);
// A game string as the project holds it.
Json game_text(const std::string& bytes);

// An empty object, for records that are absent and so take every default.
const Json& empty_object();

// Parses a JSON file of the project; a missing file or bad JSON fails with the file's name.
Json read_json_file(const ProjectSource& source, const std::string& path);
std::vector<std::uint8_t> json_file_bytes(const Json& json);

// Writes the fields of record that differ from those of defaults, in table order.
template<typename Record>
void put_fields(Json& out, const Record& record, const Record& defaults, std::span<const FieldRef<Record>> table)
{
    for (const FieldRef<Record>& field : table) {
        std::visit(
            [&](auto member) {
                if (record.*member == defaults.*member)
                    return;
                if constexpr (std::is_same_v<decltype(member), std::string Record::*>)
                    out[field.name] = game_text(record.*member);
                else if constexpr (std::is_same_v<decltype(member), std::int32_t Record::*>)
                    out[field.name] = field.color ? color_json(record.*member) : Json(record.*member);
                else
                    out[field.name] = record.*member;
            },
            field.member);
    }
}

}  // namespace quillon
