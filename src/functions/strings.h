// The string functions of the Math family.
#pragma once

#include "code/function_registry.h"

namespace quillon::strings {

void real(FunctionCall& call);
void string(FunctionCall& call);
void string_format(FunctionCall& call);
void chr(FunctionCall& call);
void ord(FunctionCall& call);
void string_length(FunctionCall& call);
void string_pos(FunctionCall& call);
void string_copy(FunctionCall& call);
void string_char_at(FunctionCall& call);
void string_delete(FunctionCall& call);
void string_insert(FunctionCall& call);
void string_lower(FunctionCall& call);
void string_upper(FunctionCall& call);
void string_repeat(FunctionCall& call);
void string_letters(FunctionCall& call);
void string_digits(FunctionCall& call);
void string_lettersdigits(FunctionCall& call);
void string_replace(FunctionCall& call);
void string_replace_all(FunctionCall& call);
void string_count(FunctionCall& call);

}  // namespace quillon::strings
