// Token: one lexical unit of code text, and the token kinds.
#pragma once

#include <cstdint>
#include <string>

namespace quillon {

// ORDER: the keyword kinds double as statement node kinds and the operator kinds as operator codes.
enum TokenKind : std::int32_t {
    TOKEN_UNRECOGNISED = -1,
    TOKEN_END = -2,
    TOKEN_IDENTIFIER = 0,
    TOKEN_NUMBER = 1,
    TOKEN_STRING = 2,
    TOKEN_BEGIN = 11,  // `begin` and `{`
    TOKEN_END_BLOCK = 12,  // `end` and `}`
    TOKEN_IF = 13,
    TOKEN_THEN = 14,
    TOKEN_ELSE = 15,
    TOKEN_WHILE = 16,
    TOKEN_DO = 17,
    TOKEN_FOR = 18,
    TOKEN_UNTIL = 19,
    TOKEN_REPEAT = 20,
    TOKEN_EXIT = 21,
    TOKEN_BREAK = 22,
    TOKEN_CONTINUE = 23,
    TOKEN_WITH = 24,
    TOKEN_RETURN = 25,
    TOKEN_SWITCH = 26,
    TOKEN_CASE = 27,
    TOKEN_DEFAULT = 28,
    TOKEN_VAR = 29,
    TOKEN_ASSIGN = 101,  // `=` and `:=`
    TOKEN_ADD_ASSIGN = 102,
    TOKEN_SUBTRACT_ASSIGN = 103,
    TOKEN_MULTIPLY_ASSIGN = 104,
    TOKEN_DIVIDE_ASSIGN = 105,
    TOKEN_OPEN_PAREN = 106,
    TOKEN_CLOSE_PAREN = 107,
    TOKEN_SEMICOLON = 108,
    TOKEN_COMMA = 109,
    TOKEN_OPEN_BRACKET = 110,
    TOKEN_CLOSE_BRACKET = 111,
    TOKEN_DOT = 112,
    TOKEN_COLON = 113,
    TOKEN_OR_ASSIGN = 114,
    TOKEN_AND_ASSIGN = 115,
    TOKEN_XOR_ASSIGN = 116,
};

struct Token {
    std::int32_t kind = TOKEN_END;  // a TokenKind or an operator code
    std::string text;               // the characters; a string literal without its quotes
    std::int32_t position = 0;      // 1-based index of the first character in the code text
};

}  // namespace quillon
