// The dialog built-ins: the message form and its settings, questions, input boxes, the colour, file and
// directory choosers, and the highscore table.
#pragma once

#include "functions/args.h"

#include <span>
#include <string_view>

namespace quillon {

std::span<const FunctionEntry> dialog_functions();

// The game's message form with the text and one button "OK" in the middle, for `show_message`.
void show_message_form(std::string_view text);
// The message form with "Yes" (button 1) and "No" (button 3), for `show_question`: true for "Yes".
bool show_question_form(std::string_view text);

}  // namespace quillon
