// Scripts: loading the script block, compiling, and calling a script with its arguments.
#include "code/script.h"

#include "code/errors.h"
#include "code/executer.h"
#include "code/messages.h"

#include "support/stream.h"

#include <utility>

namespace quillon {

namespace {
ArgumentFrame s_outermost_arguments;
ArgumentFrame* s_arguments = &s_outermost_arguments;
}  // namespace

ArgumentFrame& script_arguments() { return *s_arguments; }

ArgumentFrame* use_script_arguments(ArgumentFrame* frame) { return std::exchange(s_arguments, frame); }

void reset_script_arguments() { s_outermost_arguments.clear(); }

bool CScript::compile()
{
    m_code = std::make_unique<CCode>(m_text, false);
    if (m_code->compile())
        return true;
    m_code.reset();
    return false;
}

void ScriptList::clear()
{
    m_slots.clear();
    m_lookup.clear();
}

std::int32_t ScriptList::add(std::string name, std::optional<std::string> text)
{
    auto index = static_cast<std::int32_t>(m_slots.size());
    Slot& slot = m_slots.emplace_back(Slot {std::move(name), nullptr});
    if (text) {
        slot.script = std::make_unique<CScript>(std::move(*text));
        m_lookup.try_emplace(slot.name, index);
    }
    return index;
}

bool ScriptList::load(CStream& stream)
{
    clear();
    // 1. The block's version.
    if (stream.ReadInt() != STORED_VERSION)
        return false;
    // 2. The slots: present flag, then name, record version and code text.
    std::int32_t count = stream.ReadInt();
    for (std::int32_t i = 0; i < count; ++i) {
        if (!stream.ReadBool()) {
            add("", std::nullopt);
            continue;
        }
        std::string name = stream.ReadString();
        if (stream.ReadInt() != STORED_VERSION)
            return false;
        add(std::move(name), stream.ReadString());
    }
    return true;
}

bool ScriptList::compile_all()
{
    for (Slot& slot : m_slots) {
        if (!slot.script || slot.script->compile())
            continue;
        errors().report(message::SCRIPT_COMPILATION + slot.name + "\r" + errors().code_error_text(), true);
        errors().clear_code_error();
        return false;
    }
    return true;
}

std::int32_t ScriptList::find(std::string_view name) const
{
    auto found = m_lookup.find(std::string(name));
    return found == m_lookup.end() ? -1 : found->second;
}

bool ScriptList::exists(std::int32_t index) const { return script(index) != nullptr; }

const CScript* ScriptList::script(std::int32_t index) const
{
    if (index < 0 || static_cast<std::size_t>(index) >= m_slots.size())
        return nullptr;
    return m_slots[index].script.get();
}

std::string ScriptList::name_of(std::int32_t index) const
{
    if (!exists(index))
        return message::UNDEFINED_NAME;
    return m_slots[index].name;
}

bool ScriptList::call(std::int32_t index, ScriptInstance* self, ScriptInstance* other, ArgumentFrame& arguments,
                      Value& result) const
{
    // 1. Only a present, compiled script runs.
    const CScript* called = script(index);
    if (!called || !called->code())
        return false;
    // 2. and 3. The arguments become the slots in use; those the call did not pass are real 0.
    ArgumentFrame* caller_slots = use_script_arguments(&arguments);
    // 4. The run.
    bool succeeded = execute_for_value(self, other, *called->code(), result);
    // 5. A failure names the script in front of the error.
    if (!succeeded)
        errors().prefix_code_error(message::IN_SCRIPT + m_slots[index].name + ":\r");
    // 6. The caller's slots come back.
    use_script_arguments(caller_slots);
    return succeeded;
}

}  // namespace quillon
