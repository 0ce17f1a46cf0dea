// Executer: runs a compiled code unit for a self and an other instance.
#pragma once

#include "code/value.h"

namespace quillon {

class CCode;
class CVariableList;
class ScriptInstance;

// Runs the code; the run's result goes into result (an expression's value, or what the last `return`,
// assignment or call statement left). False after an error, whose text waits in the code error routine.
bool execute(ScriptInstance* self, ScriptInstance* other, const CCode& code, Value& result);

// Runs the code and reports a failure non-fatally with the place in the game, then clears it.
bool execute_reporting(ScriptInstance* self, ScriptInstance* other, const CCode& code, Value& result);

// Runs the code; on failure the result is the string "ERROR" and the error stays pending.
bool execute_for_value(ScriptInstance* self, ScriptInstance* other, const CCode& code, Value& result);

// Limits the loop iterations of all later runs together, for tools such as the fuzzer that must not
// hang on endless loops; a negative limit (the default) means none. Past the limit a loop fails with
// "Loop limit reached.".
void set_loop_limit(long long iterations);
// The iterations left to all later runs together, negative for no limit.
long long loop_limit();

// The store of global variables, created with the runner and living until it ends.
CVariableList& global_variables();

}  // namespace quillon
