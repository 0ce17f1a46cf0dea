// Reading the fields of a project's JSON records with precise errors, and writing them back.
#include "json_fields.h"

#include "support/ascii_case.h"

#include "support/win1252.h"

#include <algorithm>
#include <cstdio>
#include <limits>

namespace quillon {

Fields::Fields(const Json& object, Place place)
    : m_object(object)
    , m_place(std::move(place))
{
    if (!object.is_object())
        m_place.fail("", "expected a JSON object");
}

const Json* Fields::take(const std::string& key)
{
    m_asked.push_back(key);
    auto found = m_object.find(key);
    if (found == m_object.end())
        return nullptr;
    m_taken.push_back(key);
    return &*found;
}

std::int32_t Fields::to_int(const Json& value, const std::string& key) const
{
    if (value.is_number_integer()) {
        auto number = value.get<std::int64_t>();
        if (number >= std::numeric_limits<std::int32_t>::min() && number <= std::numeric_limits<std::int32_t>::max())
            return static_cast<std::int32_t>(number);
    } else if (value.is_number_unsigned() && value.get<std::uint64_t>() <= std::numeric_limits<std::int32_t>::max()) {
        return static_cast<std::int32_t>(value.get<std::uint64_t>());
    }
    fail(key, "expected a whole number from -2147483648 to 2147483647");
}

std::string Fields::to_string(const Json& value, const std::string& key) const
{
    if (!value.is_string())
        fail(key, "expected a string");
    return utf8_to_win1252(value.get<std::string>());
}

void Fields::get(const std::string& key, std::int32_t& value)
{
    if (const Json* found = take(key))
        value = to_int(*found, key);
}

void Fields::get(const std::string& key, bool& value)
{
    if (const Json* found = take(key)) {
        if (!found->is_boolean())
            fail(key, "expected true or false");
        value = found->get<bool>();
    }
}

void Fields::get(const std::string& key, double& value)
{
    if (const Json* found = take(key)) {
        if (!found->is_number())
            fail(key, "expected a number");
        value = found->get<double>();
    }
}

void Fields::get(const std::string& key, std::string& value)
{
    if (const Json* found = take(key))
        value = to_string(*found, key);
}

void Fields::get_color(const std::string& key, std::int32_t& value)
{
    const Json* found = take(key);
    if (!found)
        return;
    if (!found->is_string()) {
        value = to_int(*found, key);
        return;
    }
    const std::string& text = found->get_ref<const std::string&>();
    unsigned red = 0, green = 0, blue = 0;
    int length = 0;
    if (text.size() != 7 || std::sscanf(text.c_str(), "#%2x%2x%2x%n", &red, &green, &blue, &length) != 3 || length != 7)
        fail(key, "expected a colour as \"#rrggbb\" or a number");
    value = static_cast<std::int32_t>(red | green << 8 | blue << 16);
}

std::optional<std::string> Fields::get_path(const std::string& key)
{
    const Json* found = take(key);
    if (!found || found->is_null())
        return std::nullopt;
    if (!found->is_string())
        fail(key, "expected a file name");
    std::string path = found->get<std::string>();
    bool climbs = path == ".." || path.starts_with("../") || path.find("/../") != std::string::npos || path.ends_with("/..");
    if (path.empty() || path.front() == '/' || path.find('\\') != std::string::npos || climbs)
        fail(key, "\"" + path + "\" is not a relative path inside the project (use '/' between folders)");
    return path;
}

namespace {

// Letters to insert, delete or change to turn one text into the other.
std::size_t edit_distance(const std::string& a, const std::string& b)
{
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j)
        row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            std::size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

}  // namespace

void Fields::finish() const
{
    for (const auto& [key, value] : m_object.items()) {
        if (std::find(m_taken.begin(), m_taken.end(), key) != m_taken.end())
            continue;
        // The nearest field this record knows, when it is close enough to be a slip.
        std::string nearest;
        std::size_t best = std::max<std::size_t>(1, key.size() / 3) + 1;
        for (const std::string& known : m_asked) {
            std::size_t distance = edit_distance(ascii_lower(key), ascii_lower(known));
            if (distance < best && std::find(m_taken.begin(), m_taken.end(), known) == m_taken.end()) {
                best = distance;
                nearest = known;
            }
        }
        fail(key, nearest.empty() ? "unknown field" : "unknown field (did you mean `" + nearest + "`?)");
    }
}

Json color_json(std::int32_t color)
{
    if (color < 0 || color > 0xFFFFFF)
        return color;
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
    return std::string(text);
}

Json game_text(const std::string& bytes)
{
    return win1252_to_utf8(bytes);
}

const Json& empty_object()
{
    static const Json empty = Json::object();
    return empty;
}

Json read_json_file(const ProjectSource& source, const std::string& path)
{
    std::optional<std::vector<std::uint8_t>> bytes = source.read(path);
    if (!bytes)
        throw PackError(path + ": file not found");
    try {
        return Json::parse(bytes->begin(), bytes->end());
    } catch (const Json::parse_error& error) {
        throw PackError(path + ": invalid JSON: " + error.what());
    }
}

std::vector<std::uint8_t> json_file_bytes(const Json& json)
{
    return bytes_of(json.dump(2) + "\n");
}

}  // namespace quillon
