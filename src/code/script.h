// Scripts: the game's named code units, callable like functions, and the shared argument slots.
#pragma once

#include "code/argument_frame.h"
#include "code/code_unit.h"
#include "code/value.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quillon {

class ScriptInstance;

inline constexpr int MAX_SCRIPT_ARGUMENTS = 16;

// The argument slots in use: slot k is `argument`k, shared by all scripts and code actions. A script
// call puts its own frame in place and the caller's comes back when it returns, which is the same as
// saving and restoring every slot, without copying any.
// The frame in use; the outermost one lives as long as the process.
inline ArgumentFrame*& current_argument_frame()
{
    static ArgumentFrame s_outermost;
    static ArgumentFrame* s_current = &s_outermost;
    return s_current;
}
inline ArgumentFrame& script_arguments() { return *current_argument_frame(); }
// Puts a frame in use and returns the frame that was in use.
inline ArgumentFrame* use_script_arguments(ArgumentFrame* frame)
{
    ArgumentFrame* previous = current_argument_frame();
    current_argument_frame() = frame;
    return previous;
}
// Sets every slot of the frame in use (between runs, the outermost one) to real 0.
void reset_script_arguments();

class CScript {
public:
    explicit CScript(std::string text) : m_text(std::move(text)) {}

    const std::string& text() const { return m_text; }
    const CCode* code() const { return m_code.get(); }
    bool compile();

private:
    std::string m_text;               // the code text
    std::unique_ptr<CCode> m_code;    // absent until compiled
};

class ScriptList {
public:
    // Compiles every present script in index order; the first failure is reported as fatal.
    bool compile_all();
    // Appends a slot (none for an empty one) and returns its index.
    std::int32_t add(std::string name, std::optional<std::string> text);
    void clear();

    std::int32_t find(std::string_view name) const;
    bool exists(std::int32_t index) const;
    const CScript* script(std::int32_t index) const;
    std::string name_of(std::int32_t index) const;
    std::size_t size() const { return m_slots.size(); }

    // Runs the script with the frame as the argument slots, restoring the caller's slots afterwards.
    // A failure leaves "ERROR" in result and puts "In script <name>:" before the pending code error.
    bool call(std::int32_t index, ScriptInstance* self, ScriptInstance* other, ArgumentFrame& arguments,
              Value& result) const;

private:
    struct Slot {
        std::string name;                   // the script's name
        std::unique_ptr<CScript> script;    // none for an empty slot
    };

    std::vector<Slot> m_slots;                               // by script index
    std::unordered_map<std::string, std::int32_t> m_lookup;  // name -> first present index
};

// The game's scripts.
inline ScriptList& scripts()
{
    static ScriptList s_scripts;
    return s_scripts;
}

}  // namespace quillon
