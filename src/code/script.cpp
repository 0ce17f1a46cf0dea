// Scripts: loading the script block, compiling, and calling a script with its arguments.
#include "code/script.h"

#include "code/errors.h"
#include "code/messages.h"


#include <utility>

namespace quillon {

void reset_script_arguments()
{
    current_argument_frame()->clear();
}

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

// ScriptList::call lives with the executer, so that a script call from code runs without crossing units.

}  // namespace quillon
