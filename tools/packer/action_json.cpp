// Actions and their event lists as JSON records, in both directions.
#include "action_json.h"

#include "world/action.h"

namespace quillon {

namespace {

struct KindName {
    const char* name;     // as written in the project
    std::int32_t number;  // as stored
};

constexpr KindName ACTION_KINDS[] = {{"normal", ACTION_NORMAL}, {"begin", ACTION_BEGIN_BLOCK},
    {"end", ACTION_END_BLOCK}, {"else", ACTION_ELSE}, {"exit", ACTION_EXIT}, {"repeat", ACTION_REPEAT},
    {"set_variable", ACTION_SET_VARIABLE}, {"code", ACTION_CODE}};
constexpr KindName ARGUMENT_KINDS[] = {{"expression", 0}, {"string", 1}, {"string_or_expression", 2}};
constexpr KindName EXECUTION_TYPES[] = {{"none", EXECUTE_NOTHING}, {"function", EXECUTE_FUNCTION},
    {"code", EXECUTE_CODE}};

template<std::size_t N>
std::int32_t named(const Fields& fields, const std::string& key, const Json& value, const KindName (&table)[N])
{
    if (!value.is_string())
        return fields.to_int(value, key);
    for (const KindName& entry : table) {
        if (value.get<std::string>() == entry.name)
            return entry.number;
    }
    std::string known;
    for (const KindName& entry : table)
        known += (known.empty() ? "" : ", ") + std::string(entry.name);
    fields.fail(key, "unknown name \"" + value.get<std::string>() + "\" (known: " + known + ")");
}

template<std::size_t N>
Json name_of(std::int32_t number, const KindName (&table)[N])
{
    for (const KindName& entry : table) {
        if (entry.number == number)
            return entry.name;
    }
    return number;
}

bool runs_something(std::int32_t kind)
{
    return kind == ACTION_NORMAL || kind == ACTION_SET_VARIABLE || kind == ACTION_CODE;
}

// "arguments": each a text (an expression) or {"text": ..., "kind": ...}.
// The kind an argument has when the project gives only its text: the variable a set-variable action names is a
// literal name, since it may not exist before the action runs; everything else is an expression.
std::int32_t default_argument_kind(const CAction& action, std::size_t index)
{
    return action.kind == ACTION_SET_VARIABLE && index == 0 ? 1 : 0;
}

void read_arguments(Fields& fields, CAction& action)
{
    const Json* list = fields.take("arguments");
    if (!list)
        return;
    if (!list->is_array())
        fields.fail("arguments", "expected an array");
    for (std::size_t i = 0; i < list->size(); ++i) {
        const Json& entry = (*list)[i];
        std::string key = "arguments[" + std::to_string(i) + "]";
        if (entry.is_object()) {
            Fields argument(entry, fields.place().inside(key));
            std::string text;
            std::int32_t kind = default_argument_kind(action, i);
            argument.get("text", text);
            if (const Json* value = argument.take("kind"))
                kind = named(argument, "kind", *value, ARGUMENT_KINDS);
            argument.finish();
            action.arguments.push_back(text);
            action.argument_kinds.push_back(kind);
        } else {
            action.arguments.push_back(fields.to_string(entry, key));
            action.argument_kinds.push_back(default_argument_kind(action, i));
        }
    }
}

void read_argument_kinds(Fields& fields, CAction& action)
{
    const Json* list = fields.take("argument_kinds");
    if (!list)
        return;
    if (!list->is_array())
        fields.fail("argument_kinds", "expected an array");
    action.argument_kinds.clear();
    for (const Json& entry : *list)
        action.argument_kinds.push_back(named(fields, "argument_kinds", entry, ARGUMENT_KINDS));
}

CAction pack_action(const Json& json, const Place& place, const PackContext& context)
{
    Fields fields(json, place);
    CAction action;
    fields.get("version", action.version);
    fields.get("library", action.library_id);
    fields.get("action", action.action_id);
    fields.get("function", action.function_name);
    std::optional<std::string> code = context.read_code(fields, "code");
    if (const Json* kind = fields.take("kind"))
        action.kind = named(fields, "kind", *kind, ACTION_KINDS);
    else
        action.kind = !action.function_name.empty() ? ACTION_NORMAL : code ? ACTION_CODE : ACTION_NORMAL;
    read_arguments(fields, action);
    if (code && action.kind == ACTION_CODE) {
        // The code of a code action is its first argument, a literal string.
        if (fields.has("arguments"))
            fields.fail("code", "a code action takes its code either as code or as arguments, not both");
        action.arguments = {*code};
        action.argument_kinds = {1};
    } else if (code) {
        action.code = *code;
    }
    fields.get("code_field", action.code);
    read_argument_kinds(fields, action);
    action.argument_count = static_cast<std::int32_t>(action.arguments.size());
    fields.get("argument_count", action.argument_count);
    action.execution_type = !action.function_name.empty() ? EXECUTE_FUNCTION
        : action.kind == ACTION_CODE || action.kind == ACTION_SET_VARIABLE || !action.code.empty() ? EXECUTE_CODE
        : EXECUTE_NOTHING;
    if (const Json* type = fields.take("execution_type"))
        action.execution_type = named(fields, "execution_type", *type, EXECUTION_TYPES);
    if (const Json* target = fields.take("applies_to")) {
        if (target->is_string() && target->get<std::string>() == "self")
            action.applies_to = APPLIES_TO_SELF;
        else if (target->is_string() && target->get<std::string>() == "other")
            action.applies_to = APPLIES_TO_OTHER;
        else
            action.applies_to = context.names.objects.resolve(fields, "applies_to", *target);
    }
    action.applies_to_used = runs_something(action.kind);
    fields.get("applies_to_used", action.applies_to_used);
    fields.get("relative", action.relative);
    action.may_be_relative = action.relative;
    fields.get("may_be_relative", action.may_be_relative);
    fields.get("question", action.is_question);
    fields.get("not", action.negate);
    fields.finish();
    return action;
}

std::vector<std::uint8_t> record_bytes(const CAction& action)
{
    CStream stream;
    action.write_record(stream);
    return stream.take_bytes();
}

// Every field spelt out, with the code of a code action in its short form.
Json full_action(const CAction& action, const ProjectNames& names)
{
    Json out = Json::object();
    out["kind"] = name_of(action.kind, ACTION_KINDS);
    out["function"] = game_text(action.function_name);
    bool code_shorthand = action.kind == ACTION_CODE && action.arguments.size() == 1
        && action.argument_kinds == std::vector<std::int32_t> {1};
    if (code_shorthand) {
        out["code"] = game_text(action.arguments[0]);
        out["code_field"] = game_text(action.code);
    } else {
        // For a code action "code" would mean its argument, so the record's own code field is named apart.
        out[action.kind == ACTION_CODE ? "code_field" : "code"] = game_text(action.code);
        Json arguments = Json::array();
        bool inline_kinds = action.argument_kinds.size() == action.arguments.size();
        for (std::size_t i = 0; i < action.arguments.size(); ++i) {
            if (!inline_kinds || action.argument_kinds[i] == default_argument_kind(action, i))
                arguments.push_back(game_text(action.arguments[i]));
            else
                arguments.push_back({{"text", game_text(action.arguments[i])},
                                     {"kind", name_of(action.argument_kinds[i], ARGUMENT_KINDS)}});
        }
        out["arguments"] = arguments;
        if (!inline_kinds) {
            out["argument_kinds"] = Json::array();
            for (std::int32_t kind : action.argument_kinds)
                out["argument_kinds"].push_back(name_of(kind, ARGUMENT_KINDS));
        }
    }
    out["argument_count"] = action.argument_count;
    out["execution_type"] = name_of(action.execution_type, EXECUTION_TYPES);
    out["applies_to"] = action.applies_to == APPLIES_TO_SELF ? Json("self")
        : action.applies_to == APPLIES_TO_OTHER              ? Json("other")
                                                             : names.objects.reference(action.applies_to);
    out["applies_to_used"] = action.applies_to_used;
    out["relative"] = action.relative;
    out["may_be_relative"] = action.may_be_relative;
    out["question"] = action.is_question;
    out["not"] = action.negate;
    out["library"] = action.library_id;
    out["action"] = action.action_id;
    out["version"] = action.version;
    return out;
}

// Drops every field whose absence packs back to the same record: what is left is what the action says beyond
// the defaults.
Json shortest_action(const CAction& action, const ProjectNames& names)
{
    static const ProjectFiles no_files;
    MemorySource source(no_files);
    PackContext context {source, names};
    std::vector<std::uint8_t> wanted = record_bytes(action);
    Json out = full_action(action, names);
    std::vector<std::string> keys;
    for (const auto& [key, value] : out.items())
        keys.push_back(key);
    for (const std::string& key : keys) {
        Json trial = out;
        trial.erase(key);
        try {
            if (record_bytes(pack_action(trial, {}, context)) == wanted)
                out = std::move(trial);
        } catch (const PackError&) {
            // The field is needed to make sense of the others.
        }
    }
    return out;
}

}  // namespace

void pack_actions(const Json& actions, const Place& place, const PackContext& context, CEvent& event)
{
    if (!actions.is_array())
        place.fail("actions", "expected an array");
    for (std::size_t i = 0; i < actions.size(); ++i) {
        Place action_place = place.inside("action " + std::to_string(i + 1));
        event.actions.push_back(pack_action(actions[i], action_place, context));
        if (context.checks) {
            const Json* file = actions[i].is_object() && actions[i].contains("code_file") ? &actions[i]["code_file"] : nullptr;
            context.checks->add_action(event.actions.back(), action_place,
                                       file && file->is_string() ? file->get<std::string>() : std::string());
        }
    }
}

Json unpack_actions(const CEvent& event, UnpackContext& context, const std::string& folder, const std::string& stem)
{
    Json out = Json::array();
    for (std::size_t i = 0; i < event.actions.size(); ++i) {
        Json action = shortest_action(event.actions[i], context.names);
        if (action.contains("code")) {
            const CAction& source = event.actions[i];
            std::string code = source.kind == ACTION_CODE ? source.arguments[0] : source.code;
            Json placed;
            context.put_code(placed, "code", code, folder, stem + "_" + std::to_string(i + 1));
            Json reordered;
            for (const auto& [key, value] : action.items()) {
                if (key == "code")
                    reordered.update(placed);
                else
                    reordered[key] = value;
            }
            action = std::move(reordered);
        }
        out.push_back(std::move(action));
    }
    return out;
}

}  // namespace quillon
