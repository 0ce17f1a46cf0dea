// ActionProgram: what compiling an action leaves for running it, and the compilation of actions.
#pragma once

#include "code/code_unit.h"
#include "code/errors.h"
#include "code/value.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace quillon {

class CAction;
class CEvent;

// Shared so that records stay copyable; compiled code is never changed after compiling.
struct ActionProgram {
    std::int32_t function_index = -1;      // the built-in called; -1 when it was not found
    std::shared_ptr<const CCode> code;     // the program of a code action
    std::array<Value, 8> constants;        // each argument's value when it needs no evaluation
    std::array<std::shared_ptr<const CCode>, 8> argument_codes;  // each argument's expression otherwise
};

// Shows a plain message at load time (a function action whose function is unknown).
using LoadNotice = std::function<void(std::string_view text)>;

// The code a set-variable or code action runs; other actions run their stored code text.
std::string action_code_text(const CAction& action);
// Whether compiling the action compiles action_code_text as a program.
bool action_compiles_code(const CAction& action);
// Whether argument index is compiled as an expression, rather than kept as a literal string.
bool argument_is_expression(const CAction& action, int index);

// Compiles one action. Errors are reported as fatal at the place in errors().m_context, whose action
// index the caller sets; false stops the compilation of the game.
bool compile_action(CAction& action, const LoadNotice& notice);

// Compiles every action of the event, with the place (object or time line, kind, number) for messages.
bool compile_event(CEvent& event, ErrorContext place, const LoadNotice& notice);

}  // namespace quillon
