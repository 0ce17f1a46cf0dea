// CodeNode: the nodes of a compiled code tree, which the parser builds once and the executer walks.
#pragma once

#include "code/value.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quillon {

// ORDER: statement kinds 13 to 29 are the token kinds of their keywords.
enum NodeKind : std::int32_t {
    NODE_EMPTY_PROGRAM = -2,
    NODE_EMPTY = -1,  // a `;` where a statement starts
    NODE_CONSTANT = 5,
    NODE_CALL = 6,
    NODE_VARIABLE = 7,         // [object expression, first index?, second index?]
    NODE_SIMPLE_VARIABLE = 8,  // target and id in the node
    NODE_IF = 13,
    NODE_WHILE = 16,
    NODE_DO = 17,
    NODE_FOR = 18,
    NODE_REPEAT = 20,
    NODE_EXIT = 21,
    NODE_BREAK = 22,
    NODE_CONTINUE = 23,
    NODE_WITH = 24,
    NODE_RETURN = 25,
    NODE_SWITCH = 26,
    NODE_CASE = 27,
    NODE_DEFAULT = 28,
    NODE_VAR = 29,
    NODE_ASSIGN = 101,
    NODE_BLOCK = 1000,
    NODE_UNARY = 1010,
    NODE_BINARY = 1011,
};

// Where a variable lives; 0 to 99999 is an object index and 100000 up an instance id.
enum Target : std::int32_t {
    TARGET_LOCAL = -7,    // the temporaries of the current run
    TARGET_DEFAULT = -6,  // the current instance, when no object is written
    TARGET_GLOBAL = -5,
    TARGET_NOONE = -4,
    TARGET_ALL = -3,
    TARGET_OTHER = -2,
    TARGET_SELF = -1,
};

inline constexpr std::int32_t FIRST_SCRIPT_INDEX = 100000;  // function index of script 0
inline constexpr std::int32_t FIRST_USER_VARIABLE = 100000; // variable id of the first named variable
inline constexpr std::int32_t FIRST_INSTANCE_ID = 100000;   // smallest instance id
inline constexpr int MAX_ARGUMENTS = 16;

// How the executer runs a node: chosen when compiling, so that common shapes take a direct path.
// The node's kind stays what the parser made; these only pick the fastest equivalent way to run it.
enum ExecKind : std::uint8_t {
    EXEC_GENERIC = 0,      // dispatch on the node kind
    EXEC_LOCAL,            // a temporary in slot `slot`
    EXEC_SELF_STORED,      // a variable of self's own store (id 100000 and up)
    EXEC_ARGUMENT,         // `argument0` to `argument15` of self (the slots in use)
    EXEC_BINARY_CONSTANT,  // a binary operator whose right operand is a real constant
    EXEC_CALL_BUILTIN,     // a call of a built-in function
    EXEC_CALL_SCRIPT,      // a call of a script
    EXEC_FIXED_TARGET,     // an array element whose object is a constant, kept in `target`
    EXEC_SELF_BUILTIN,     // a built-in variable that self keeps (ScriptInstance::get_builtin, set_builtin)
    EXEC_GLOBAL,           // a variable of the global store
};

struct CodeNode {
    std::int32_t kind = NODE_EMPTY;  // a NodeKind
    std::int32_t op = 0;             // operator code, function index or variable id
    std::int32_t target = 0;         // simple variables: where the variable lives
    Value value;                     // constants: the value
    std::int32_t position = 0;       // source position for error messages
    std::vector<CodeNode> children;  // in source order
    ExecKind exec = EXEC_GENERIC;    // the executer's path for this node
    bool numeric = false;            // only reads and operators below, so it may be computed as a number
    std::int32_t slot = -1;          // temporaries: the slot of the variable in the run's frame
    std::int32_t program = -1;       // numeric operator trees: their first step in the unit's numeric steps

    // A one-line picture of the tree, for tests: `(block (= x@-6 7))`.
    std::string dump() const;
};

// The written form of an operator or assignment code, as used by dump().
const char* operator_text(std::int32_t code);

}  // namespace quillon
