// Lexer: cuts code text into tokens.
#pragma once

#include "code/token.h"

#include <string_view>
#include <vector>

namespace quillon {

// The tokens of the text (with three blanks appended), always ending with one end token; or, at a byte
// that starts no token, the tokens so far ending with one unrecognised token at that byte.
std::vector<Token> tokenize(std::string_view text);

// The value of a number token, built digit by digit in doubles.
double number_value(std::string_view digits);

}  // namespace quillon
