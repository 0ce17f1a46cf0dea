// CAction: one action of an event, a call of a built-in function, a piece of code or a step of the flow.
#include "world/action.h"

namespace quillon {

CAction CAction::code_action(std::string text)
{
    CAction action;
    action.kind = ACTION_CODE;
    action.execution_type = EXECUTE_CODE;
    action.argument_count = 1;
    action.argument_kinds = {1};
    action.arguments = {std::move(text)};
    return action;
}

void CAction::read_record(CStream& stream)
{
    version = stream.ReadInt();
    if (version != ACTION_VERSION)
        return;
    library_id = stream.ReadInt();
    action_id = stream.ReadInt();
    kind = stream.ReadInt();
    may_be_relative = stream.ReadBool();
    is_question = stream.ReadBool();
    applies_to_used = stream.ReadBool();
    execution_type = stream.ReadInt();
    function_name = stream.ReadString();
    code = stream.ReadString();
    argument_count = stream.ReadInt();
    std::int32_t kind_count = stream.ReadInt();
    argument_kinds.clear();
    for (std::int32_t i = 0; i < kind_count; ++i)
        argument_kinds.push_back(stream.ReadInt());
    applies_to = stream.ReadInt();
    relative = stream.ReadBool();
    std::int32_t text_count = stream.ReadInt();
    arguments.clear();
    for (std::int32_t i = 0; i < text_count; ++i)
        arguments.push_back(stream.ReadString());
    negate = stream.ReadBool();
}

void CAction::write_record(CStream& stream) const
{
    stream.WriteInt(version);
    if (version != ACTION_VERSION)
        return;
    stream.WriteInt(library_id);
    stream.WriteInt(action_id);
    stream.WriteInt(kind);
    stream.WriteBool(may_be_relative);
    stream.WriteBool(is_question);
    stream.WriteBool(applies_to_used);
    stream.WriteInt(execution_type);
    stream.WriteString(function_name);
    stream.WriteString(code);
    stream.WriteInt(argument_count);
    stream.WriteInt(static_cast<std::int32_t>(argument_kinds.size()));
    for (std::int32_t kind_of_argument : argument_kinds)
        stream.WriteInt(kind_of_argument);
    stream.WriteInt(applies_to);
    stream.WriteBool(relative);
    stream.WriteInt(static_cast<std::int32_t>(arguments.size()));
    for (const std::string& text : arguments)
        stream.WriteString(text);
    stream.WriteBool(negate);
}

}  // namespace quillon
