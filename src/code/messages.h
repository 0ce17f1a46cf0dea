// The fixed texts of the language: every message that compiling, running and reporting code can give.
#pragma once

namespace quillon::message {

// Operators.
inline constexpr const char* WRONG_UNARY = "Wrong type of arguments to unary operator.";
inline constexpr const char* WRONG_ADD = "Wrong type of arguments to +.";
inline constexpr const char* WRONG_SUBTRACT = "Wrong type of arguments to -.";
inline constexpr const char* WRONG_MULTIPLY = "Wrong type of arguments to *.";
inline constexpr const char* WRONG_DIVIDE = "Wrong type of arguments to /.";
inline constexpr const char* WRONG_DIV = "Wrong type of arguments to div.";
inline constexpr const char* WRONG_MOD = "Wrong type of arguments to mod.";
inline constexpr const char* WRONG_AND = "Wrong type of arguments for &&.";
inline constexpr const char* WRONG_OR = "Wrong type of arguments for ||.";
inline constexpr const char* WRONG_XOR = "Wrong type of arguments for ^^.";
inline constexpr const char* WRONG_BIT_OR = "Wrong type of arguments for |.";
inline constexpr const char* WRONG_BIT_AND = "Wrong type of arguments for &.";
inline constexpr const char* WRONG_BIT_XOR = "Wrong type of arguments for ^.";
inline constexpr const char* WRONG_SHIFT_LEFT = "Wrong type of arguments for <<.";
inline constexpr const char* WRONG_SHIFT_RIGHT = "Wrong type of arguments for >>.";
inline constexpr const char* CANNOT_COMPARE = "Cannot compare arguments.";
inline constexpr const char* DIVISION_BY_ZERO = "Division by 0.";
inline constexpr const char* MODULO_BY_ZERO = "Modulo by 0.";
inline constexpr const char* UNKNOWN_UNARY = "Internal error: unknown unary operator.";
inline constexpr const char* UNKNOWN_BINARY = "Internal error: unknown binary operator.";
inline constexpr const char* STRING_TOO_LONG = "String too long.";

// Compiling.
inline constexpr const char* UNEXPECTED_SYMBOL = "Unexpected symbol.";
inline constexpr const char* UNKNOWN_FUNCTION = "Unknown function or script: ";
inline constexpr const char* PROGRAM_ENDS_EARLY = "Program ends before end of the code.";
inline constexpr const char* CLOSE_BRACE_EXPECTED = "Symbol } expected.";
inline constexpr const char* OPEN_BRACE_EXPECTED = "Symbol { expected.";
inline constexpr const char* OPEN_PAREN_EXPECTED = "Symbol ( expected.";
inline constexpr const char* CLOSE_PAREN_EXPECTED = "Symbol ) expected.";
inline constexpr const char* COMMA_OR_PAREN_EXPECTED = "Symbol , or ) expected.";
inline constexpr const char* COMMA_OR_BRACKET_EXPECTED = "Symbol , or ] expected.";
inline constexpr const char* CLOSE_BRACKET_EXPECTED = "Symbol ] expected.";
inline constexpr const char* COLON_EXPECTED = "Symbol : expected.";
inline constexpr const char* UNTIL_EXPECTED = "Keyword until expected.";
inline constexpr const char* UNEXPECTED_END = "Unexpected end of code reached.";
inline constexpr const char* VARIABLE_NAME_EXPECTED = "Variable name expected.";
inline constexpr const char* ASSIGNMENT_EXPECTED = "Assignment operator expected.";
inline constexpr const char* REDECLARE_BUILTIN = "Cannot redeclare a builtin variable.";
inline constexpr const char* TOO_MANY_DIMENSIONS = "Only 1- and 2-dimensional arrays are supported.";
inline constexpr const char* UNEXPECTED_IN_EXPRESSION = "Unexpected symbol in expression.";
inline constexpr const char* WRONG_ARGUMENT_COUNT = "Wrong number of arguments to function or script.";
inline constexpr const char* LEFT_SIDE_NOT_REAL = "Left hand side must be a real value.";
inline constexpr const char* RECOMPILING = "Internal Error: Recompiling compiled code.";
inline constexpr const char* NESTED_TOO_DEEPLY = "Code nested too deeply.";

// Running.
inline constexpr const char* SUBEXPRESSION_EXPECTED = "(Sub-)expression expected.";
inline constexpr const char* STATEMENT_EXPECTED = "Statement expected.";
inline constexpr const char* NOT_A_PROGRAM = "This is not a program.";
inline constexpr const char* EXPRESSION_EXPECTED = "Expression expected";
inline constexpr const char* BOOLEAN_EXPECTED = "Boolean expression expected";
inline constexpr const char* REPEAT_COUNT_NUMBER = "Repeat count must be a number";
inline constexpr const char* OBJECT_ID_EXPECTED = "Object id expected";
inline constexpr const char* WITH_LOCAL = "Cannot use local in with statement.";
inline constexpr const char* WITH_GLOBAL = "Cannot use global in with statement.";
inline constexpr const char* CASE_OUTSIDE_SWITCH = "Case statement only allowed inside switch statement.";
inline constexpr const char* DEFAULT_OUTSIDE_SWITCH = "Default statement only allowed inside switch statement.";
inline constexpr const char* WRONG_VARIABLE_INDEX = "Wrong type of variable index";
inline constexpr const char* WRONG_ARRAY_INDEX = "Wrong type of array index";
inline constexpr const char* NEGATIVE_ARRAY_INDEX = "Negative array index";
inline constexpr const char* ARRAY_INDEX_TOO_BIG = "Array index >= 32000";
inline constexpr const char* UNKNOWN_VARIABLE = "Unknown variable ";
inline constexpr const char* OR_INDEX_OUT_OF_BOUNDS = " or array index out of bounds";
inline constexpr const char* CANNOT_ASSIGN = "Cannot assign to the variable";
inline constexpr const char* EXECUTING_UNCOMPILED = "Internal Error: Executing non-compiled code.";
inline constexpr const char* EXECUTING_FOR_NIL = "Internal Error: Executing code for nil instance.";
inline constexpr const char* ARRAY_TOO_LARGE = "Array too large: at most 4194304 elements per variable.";
inline constexpr const char* LOOP_LIMIT = "Loop limit reached.";
inline constexpr const char* RECURSION_TOO_DEEP = "Recursion too deep: the script calls nest beyond the stack.";

// Variables, scripts and reporting.
inline constexpr const char* UNKNOWN_BUILTIN_NAME = "<unknown built-in variable>";
inline constexpr const char* UNKNOWN_VARIABLE_NAME = "<unknown variable>";
inline constexpr const char* UNDEFINED_NAME = "<undefined>";
inline constexpr const char* ROOM_SPEED_NOT_POSITIVE = "Trying to set the room speed to a value <= 0.";
inline constexpr const char* SCRIPT_COMPILATION = "COMPILATION ERROR in Script: ";
inline constexpr const char* IN_SCRIPT = "In script ";
inline constexpr const char* SCRIPT_FAILED = "ERROR";
inline constexpr const char* STRING_COMPILATION = "COMPILATION ERROR in string to be executed";
inline constexpr const char* FILE_COMPILATION = "COMPILATION ERROR in file to be executed";
inline constexpr const char* NO_FILE_TO_EXECUTE = "Trying to execute non-existing file.";
inline constexpr const char* NOT_AVAILABLE = "This function is not available yet: ";

// External libraries.
inline constexpr const char* DLL_IN_SECURE_MODE = "In secure mode you cannot use DLLs";
inline constexpr const char* DLL_WRONG_ARGUMENT_COUNT = "Wrong number of arguments to external_define()";
inline constexpr const char* DLL_TOO_MANY_ARGUMENTS = "DLL functions can have at most 12 arguments";
inline constexpr const char* DLL_STRINGS_BEYOND_FOUR =
    "DLL functions with more than 4 arguments cannot have string arguments";
inline constexpr const char* DLL_DEFINITION_FAILED = "Error defining an external function.";

// The message form.
inline constexpr const char* NO_MESSAGE_BACKGROUND = "Trying to set a non-existing message background";
inline constexpr const char* NO_MESSAGE_BUTTON = "Trying to set a non-existing message button";

}  // namespace quillon::message
