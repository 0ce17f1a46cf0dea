// Parser: resolves names of tokens into functions, constants and variables, then builds the code tree.
#pragma once

#include "code/code_tree.h"
#include "code/token.h"

#include <cstdint>
#include <vector>

namespace quillon {

class CCode;

enum ItemKind : std::int32_t {
    ITEM_CONSTANT = 5,
    ITEM_FUNCTION = 6,
    ITEM_VARIABLE = 7,
};

// A resolved token: a constant, a function reference, a variable, or a token kind kept as it was.
struct CodeItem {
    std::int32_t kind = TOKEN_END;  // a TokenKind or an ItemKind
    std::int32_t index = 0;         // function index or variable id
    Value value;                    // constants
    std::int32_t position = 0;      // the token's position
};

// Turns identifiers, numbers and strings into items; false after "Unknown function or script: ".
bool resolve_names(const CCode& code, const std::vector<Token>& tokens, std::vector<CodeItem>& items);

// Builds the tree of a program or an expression; false at the first error, recorded for the unit.
bool parse(const CCode& code, const std::vector<CodeItem>& items, CodeNode& root);

// Marks temporaries, turns variables with a constant object into simple variables and folds
// operators on constants; false at the first error. Also gives each name that can be a temporary a
// slot of the run's frame (local_ids, by slot) and picks the executer's path for each node.
bool finish_tree(const CCode& code, CodeNode& root, std::vector<std::int32_t>& local_ids);

}  // namespace quillon
