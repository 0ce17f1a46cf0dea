// The reference pages for game authors: every name the runner knows, from its own tables, with its description.
#include "reference_pages.h"

#include "code/builtin_variables.h"
#include "code/constants.h"
#include "code/function_registry.h"
#include "event_json.h"
#include "functions/table.h"
#include "runner/language_setup.h"
#include "support/key_names.h"
#include "world/event_names.h"

#include <charconv>
#include <set>
#include <sstream>

namespace quillon {

namespace {

const char* const GENERATED_NOTE
    = "<!-- Written by `cmake --build build --target reference` from the runner's own tables and "
      "tools/reference/descriptions.txt: edit that file, not this page. -->\n\n";

// Looks up descriptions and collects what is missing or wrong.
class Writer {
public:
    explicit Writer(Descriptions& descriptions)
        : m_descriptions(descriptions)
    {
    }

    // The description of a name the runner knows; a problem when there is none.
    const Description* describe(const std::string& kind, const std::string& name)
    {
        m_descriptions.mark_known(kind, name);
        const Description* found = m_descriptions.find(kind, name);
        if (!found)
            problems.push_back("no description of the " + kind + " " + name);
        return found;
    }
    // The same without marking or reporting, for a second look at a name already described.
    const Description* peek(const std::string& kind, const std::string& name) const
    {
        return m_descriptions.find(kind, name);
    }
    static std::string text_of(const Description* description) { return description ? description->text : ""; }

    std::vector<std::string> problems;

private:
    Descriptions& m_descriptions;
};

std::string count_text(std::int32_t count)
{
    return count == FunctionRegistry::ANY_COUNT ? "any" : std::to_string(count);
}

std::size_t argument_names(const std::string& arguments)
{
    if (arguments.empty())
        return 0;
    std::size_t names = 1;
    for (char c : arguments)
        names += c == ',';
    return names;
}

std::string number_text(double value)
{
    char buffer[32];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

// A name as messages show it, in code quotes; empty for a name the messages do not have.
std::string shown_as(const std::string& name)
{
    std::size_t first = name.find_first_not_of(' ');
    if (name == "<unknown>" || first == std::string::npos)
        return "";
    return "`" + name.substr(first) + "`";
}

// One family as a heading, its introduction and a table of its functions.
void write_family(Writer& writer, const FunctionFamily& family, std::int32_t& position, std::ostringstream& out)
{
    const FunctionRegistry& registry = function_registry();
    const Description* about = writer.describe("family", family.name);
    std::string title = about && !about->arguments.empty() ? about->arguments : family.name;
    out << "## " << title << "\n\n"
        << Writer::text_of(about) << " (" << family.entries.size()
        << " functions)\n\n| Function | Arguments | Description |\n| --- | --- | --- |\n";
    for (const FunctionEntry& entry : family.entries) {
        const BuiltinFunction& function = registry.at(position++);
        if (function.name != entry.name || function.argument_count != entry.argument_count)
            writer.problems.push_back("the function table and the registry differ at " + function.name);
        const Description* description = writer.describe("function", function.name);
        std::string arguments = description ? description->arguments : "";
        if (description && function.argument_count != FunctionRegistry::ANY_COUNT
            && argument_names(arguments) != static_cast<std::size_t>(function.argument_count))
            writer.problems.push_back("line " + std::to_string(description->line) + ": " + function.name + " takes "
                + std::to_string(function.argument_count) + " arguments, the description names "
                + std::to_string(argument_names(arguments)));
        out << "| `" << function.name << "(" << arguments << ")` | " << count_text(function.argument_count) << " | "
            << Writer::text_of(description) << " |\n";
    }
    out << "\n";
}

ReferencePage functions_page(Writer& writer, std::int32_t& position, std::span<const FunctionFamily> families)
{
    std::ostringstream out;
    out << GENERATED_NOTE << "# Built-in functions\n\n"
        << "Every built-in function but the action functions (those are in [actions.md](actions.md)), family by "
           "family in the order of the runner's function table. A call must pass exactly the number of arguments "
           "given here; \"any\" means from 0 to 16. `quillon-runner --functions` prints every built-in function, the "
           "action functions included, with its argument count.\n\n";
    for (const FunctionFamily& family : families) {
        const Description* about = writer.peek("family", family.name);
        out << "- [" << (about && !about->arguments.empty() ? about->arguments : family.name) << "](#" << family.name
            << ")\n";
    }
    out << "\n";
    for (const FunctionFamily& family : families) {
        out << "<a id=\"" << family.name << "\"></a>\n\n";
        write_family(writer, family, position, out);
    }
    return { "functions.md", out.str() };
}

ReferencePage actions_page(Writer& writer, std::int32_t& position, const FunctionFamily& family)
{
    std::ostringstream out;
    out << GENERATED_NOTE << "# Action functions\n\n"
        << "The functions that the actions of objects and time lines call (`\"function\"` in an action of a project "
           "file, see [project-format.md](../project-format.md)). Game code may call them too. Actions that offer "
           "the relative option read it from `argument_relative`; question actions return 1 for yes and 0 for "
           "no.\n\n";
    write_family(writer, family, position, out);
    return { "actions.md", out.str() };
}

void write_variables(Writer& writer, std::int32_t first, std::int32_t end, std::ostringstream& out)
{
    const BuiltinVariables& variables = builtin_variables();
    out << "| Variable | Read-only | Array | Description |\n| --- | --- | --- | --- |\n";
    for (std::int32_t id = first; id < end; ++id) {
        const BuiltinVariable& variable = variables.at(id);
        const Description* description = writer.describe("variable", variable.name);
        std::string indices = description ? description->arguments : "";
        out << "| `" << variable.name << "` | " << (variable.settable ? "" : "read-only") << " | "
            << (indices.empty() ? "" : "[" + indices + "]") << " | " << Writer::text_of(description) << " |\n";
    }
    out << "\n";
}

ReferencePage variables_page(Writer& writer)
{
    std::int32_t count = static_cast<std::int32_t>(builtin_variables().size());
    std::ostringstream out;
    out << GENERATED_NOTE << "# Built-in variables\n\n"
        << "The runner's own variables, " << count
        << " in all. A read-only variable refuses assignment with \"Cannot assign to the variable\". An array "
           "variable is read and written with an index, as in `alarm[2] = 30`; an index outside the range given "
           "means index 0 (for `instance_id`, any index is allowed). Without an index, an array variable means its "
           "element 0.\n\n## Instance variables\n\nEach instance has its own; `other.x` or `obj_ball.speed` reach "
           "another instance's.\n\n";
    write_variables(writer, 0, VARIABLE_ARGUMENT_RELATIVE, out);
    out << "## Global variables\n\nOne for the whole game, whichever instance reads them.\n\n";
    write_variables(writer, VARIABLE_ARGUMENT_RELATIVE, count, out);
    return { "variables.md", out.str() };
}

ReferencePage constants_page(Writer& writer)
{
    const Constants& table = constants();
    std::ostringstream out;
    out << GENERATED_NOTE << "# Constants\n\n"
        << "Named values of the language, " << table.size()
        << " in all. The name of a resource (object, sprite, sound, background, path, data file, time line, "
           "script or room) comes first: a sprite called `c_red` makes `c_red` mean that sprite. Names are "
           "case-sensitive.\n\n";
    const Description* group = nullptr;
    for (std::size_t index = 0; index < table.size(); ++index) {
        const std::string& name = table.name_at(index);
        const Description* description = writer.describe("constant", name);
        if (!description || description != group) {
            out << (index == 0 ? "" : "\n") << Writer::text_of(description)
                << "\n\n| Constant | Value |\n| --- | --- |\n";
            group = description;
        }
        std::optional<Value> value = table.find(name);
        out << "| `" << name << "` | " << number_text(value ? value->real : 0) << " |\n";
    }
    return { "constants.md", out.str() };
}

ReferencePage events_page(Writer& writer)
{
    const ResourceList<CObject> no_objects;
    std::ostringstream out;
    out << GENERATED_NOTE << "# Events\n\n"
        << "An object's events, as a project file names them (`\"event\"`, and the field that gives the event's "
           "number), with the kind number that `event_perform` and `event_type` use. Messages about errors name "
           "the event as in the column \"Shown as\".\n\n| Kind | Event | Number field | Description |\n"
           "| --- | --- | --- | --- |\n";
    for (const NamedNumber& kind : event_kind_names()) {
        bool numbered = event_number_names(kind.number) || kind.number == EVENT_ALARM || kind.number == EVENT_COLLISION;
        out << "| " << kind.number << " | `" << kind.name << "` | "
            << (numbered ? "`\"" + event_number_field(kind.number) + "\"`" : std::string()) << " | "
            << Writer::text_of(writer.describe("event", kind.name)) << " |\n";
    }
    for (const NamedNumber& kind : event_kind_names()) {
        const NameTable* numbers = event_number_names(kind.number);
        if (!numbers || kind.number == EVENT_KEYBOARD || kind.number == EVENT_KEY_PRESS
            || kind.number == EVENT_KEY_RELEASE)
            continue;
        out << "\n## `" << kind.name << "` events\n\n| Number | Name | Shown as | Description |\n"
            << "| --- | --- | --- | --- |\n";
        for (const NamedNumber& number : *numbers)
            out << "| " << number.number << " | `" << number.name << "` | "
                << shown_as(event_name(kind.number, number.number, no_objects)) << " | "
                << Writer::text_of(writer.describe("event", kind.name + "." + number.name)) << " |\n";
    }
    out << "\nThe keyboard, key press and key release events take a key name of [keys.md](keys.md) (or its code) "
           "in `\"key\"`.\n";
    return { "events.md", out.str() };
}

ReferencePage keys_page()
{
    std::ostringstream out;
    out << GENERATED_NOTE << "# Key names\n\n"
        << "The names of keys in project files (keyboard events) and in scripted input files (`--input`), "
           "matched without regard to case. The code is the key's number in keyboard events and in game code "
           "(`keyboard_check`, the `vk_` constants), but for `anykey`: game code writes any key as `vk_anykey` "
           "(-1). A key with several names is written back with its first.\n\n"
        << "| Name | Code | Shown as |\n| --- | --- | --- |\n";
    std::set<int> seen;
    for (const KeyName& key : key_names()) {
        bool again = !seen.insert(key.code).second;
        out << "| `" << key.name << "` | " << key.code << " | " << shown_as(key_name(key.code))
            << (again ? " (another name)" : "") << " |\n";
    }
    return { "keys.md", out.str() };
}

ReferencePage index_page(std::size_t actions, std::size_t functions)
{
    std::ostringstream out;
    out << GENERATED_NOTE << "# Reference\n\n"
        << "Every name the runner knows, listed from its own tables, so a name is here exactly when a game can "
           "use it. [language.md](../language.md) explains the language itself.\n\n"
        << "| Page | What it lists |\n| --- | --- |\n"
        << "| [functions.md](functions.md) | " << functions << " built-in functions, family by family |\n"
        << "| [actions.md](actions.md) | " << actions << " action functions |\n"
        << "| [variables.md](variables.md) | " << builtin_variables().size()
        << " built-in variables, read-only or not, array or not |\n"
        << "| [constants.md](constants.md) | " << constants().size() << " constants with their values |\n"
        << "| [events.md](events.md) | the events of objects and their numbers |\n"
        << "| [keys.md](keys.md) | " << key_names().size() << " key names and their codes |\n";
    return { "README.md", out.str() };
}

} // namespace

Reference build_reference(Descriptions& descriptions)
{
    register_builtins_once();
    Writer writer(descriptions);
    Reference reference;
    std::span<const FunctionFamily> families = function_families();
    std::int32_t position = 0;
    reference.pages.push_back(actions_page(writer, position, families.front()));
    reference.pages.push_back(functions_page(writer, position, families.subspan(1)));
    if (static_cast<std::size_t>(position) != function_registry().size())
        writer.problems.push_back("the registry holds functions that no family lists");
    reference.pages.push_back(variables_page(writer));
    reference.pages.push_back(constants_page(writer));
    reference.pages.push_back(events_page(writer));
    reference.pages.push_back(keys_page());
    std::size_t actions = families.front().entries.size();
    reference.pages.push_back(index_page(actions, function_registry().size() - actions));
    reference.problems = descriptions.problems();
    reference.problems.insert(reference.problems.end(), writer.problems.begin(), writer.problems.end());
    for (const std::string& unknown : descriptions.unknown_names())
        reference.problems.push_back(unknown);
    return reference;
}

} // namespace quillon
