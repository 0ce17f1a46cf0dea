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

// The store of global variables, created with the runner and living until it ends.
CVariableList& global_variables();

}  // namespace quillon
