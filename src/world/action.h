// CAction: one action of an event, a call of a built-in function, a piece of code or a step of the flow.
#pragma once

#include "support/stream.h"
#include "world/action_program.h"

#include <string>
#include <vector>

namespace quillon {

constexpr std::int32_t ACTION_VERSION = 440;
constexpr std::int32_t ACTION_MAX_ARGUMENTS = 8;

// Action kinds.
constexpr std::int32_t ACTION_NORMAL = 0;
constexpr std::int32_t ACTION_BEGIN_BLOCK = 1;
constexpr std::int32_t ACTION_END_BLOCK = 2;
constexpr std::int32_t ACTION_ELSE = 3;
constexpr std::int32_t ACTION_EXIT = 4;
constexpr std::int32_t ACTION_REPEAT = 5;
constexpr std::int32_t ACTION_SET_VARIABLE = 6;
constexpr std::int32_t ACTION_CODE = 7;

// Execution types.
constexpr std::int32_t EXECUTE_NOTHING = 0;
constexpr std::int32_t EXECUTE_FUNCTION = 1;
constexpr std::int32_t EXECUTE_CODE = 2;

// Applies-to values besides object indices.
constexpr std::int32_t APPLIES_TO_SELF = -1;
constexpr std::int32_t APPLIES_TO_OTHER = -2;

class CAction {
public:
    std::int32_t version = ACTION_VERSION;   // a record of another version carries nothing else
    std::int32_t library_id = 0;             // the action library the action comes from
    std::int32_t action_id = 0;              // the action within its library
    std::int32_t kind = ACTION_NORMAL;       // normal, block, else, exit, repeat, set variable, code
    bool may_be_relative = false;            // the action offers the relative option
    bool is_question = false;                // the action answers yes or no
    bool applies_to_used = false;            // the action offers the applies-to choice
    std::int32_t execution_type = EXECUTE_NOTHING;  // nothing, call a function or run code
    std::string function_name;               // the built-in function called
    std::string code;                        // the code run
    std::int32_t argument_count = 0;         // arguments used, at most eight
    std::vector<std::int32_t> argument_kinds;  // how each argument text is taken
    std::int32_t applies_to = APPLIES_TO_SELF;  // self, other or an object index
    bool relative = false;                   // the relative option is set
    std::vector<std::string> arguments;      // the argument texts
    bool negate = false;                     // NOT: a question's answer is inverted
    ActionProgram program;                   // filled by compile_action, not stored

    // A code action that runs the text, as the editor makes them.
    static CAction code_action(std::string text);

    void read_record(CStream& stream);
    void write_record(CStream& stream) const;
};

}  // namespace quillon
