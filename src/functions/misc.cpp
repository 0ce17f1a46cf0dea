// The Misc family: code executed at run time, external libraries, debug messages, the window's handle and the
// clipboard; the events come with the world.
#include "functions/args.h"
#include "functions/external.h"
#include "functions/families.h"
#include "functions/world_call.h"
#include "functions/world_families.h"

#include "code/code_unit.h"
#include "code/executer.h"
#include "code/host.h"
#include "code/messages.h"
#include "graphics/screen.h"
#include "platform/clipboard.h"

#include "support/game_path.h"

#include <fstream>

namespace quillon {

namespace {

// Compiles the text as a program and runs it for the caller; a compile failure is reported non-fatally.
void run_text(FunctionCall& call, std::string text, const char* compile_failure)
{
    CCode code(std::move(text), false);
    if (!code.compile()) {
        errors().report(std::string(compile_failure) + "\r" + errors().code_error_text(), false);
        errors().clear_code_error();
        return;
    }
    execute_reporting(call.self, call.other, code, call.result);
}

void execute_string(FunctionCall& call)
{
    run_text(call, string_argument(call, 0).str(), message::STRING_COMPILATION);
}

// The file's lines, each followed by a carriage return, so line numbers in errors count its lines.
void execute_file(FunctionCall& call)
{
    std::ifstream file(find_game_path(string_argument(call, 0).view()), std::ios::binary);
    if (!file) {
        report_function_error(message::NO_FILE_TO_EXECUTE);
        return;
    }
    std::string text;
    for (std::string line; std::getline(file, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        text += line + "\r";
    }
    run_text(call, std::move(text), message::FILE_COMPILATION);
}

void show_debug_message(FunctionCall& call) { host().debug_message(string_argument(call, 0).view()); }

// The clipboard of the game being played; without one the call reports itself as not available.
platform::Clipboard* clipboard_for(const FunctionCall& call)
{
    platform::Clipboard* clipboard = play_services().clipboard;
    if (!clipboard)
        report_not_available(call);
    return clipboard;
}

void clipboard_has_text(FunctionCall& call)
{
    if (platform::Clipboard* clipboard = clipboard_for(call))
        call.result.set_real(clipboard->has_text() ? 1 : 0);
}

void clipboard_set_text(FunctionCall& call)
{
    if (platform::Clipboard* clipboard = clipboard_for(call))
        clipboard->set_text(string_argument(call, 0).view());
}

void clipboard_get_text(FunctionCall& call)
{
    call.result.set_string(ScriptString());
    if (platform::Clipboard* clipboard = clipboard_for(call))
        call.result.set_string(ScriptString(clipboard->text()));
}

// The window's native handle, as an unsigned number; 0 while no window shows (headless, for one).
void window_handle(FunctionCall& call)
{
    Screen* screen = play_services().screen;
    if (!screen) {
        report_not_available(call);
        return;
    }
    call.result.set_real(static_cast<double>(screen->window_handle()));
}

// ORDER: table positions 409 to 438.
constexpr FunctionEntry MISC_FUNCTIONS[] = {
    {"event_perform", 2, nullptr},
    {"event_user", 1, nullptr},
    {"event_perform_object", 3, nullptr},
    {"external_define", -1, external::external_define},
    {"external_call", -1, external::external_call},
    {"external_define0", 3, external::external_define_fixed},
    {"external_call0", 1, external::external_call},
    {"external_define1", 4, external::external_define_fixed},
    {"external_call1", 2, external::external_call},
    {"external_define2", 5, external::external_define_fixed},
    {"external_call2", 3, external::external_call},
    {"external_define3", 6, external::external_define_fixed},
    {"external_call3", 4, external::external_call},
    {"external_define4", 7, external::external_define_fixed},
    {"external_call4", 5, external::external_call},
    {"external_define5", 3, external::external_define_fixed},
    {"external_call5", 6, external::external_call},
    {"external_define6", 3, external::external_define_fixed},
    {"external_call6", 7, external::external_call},
    {"external_define7", 3, external::external_define_fixed},
    {"external_call7", 8, external::external_call},
    {"external_define8", 3, external::external_define_fixed},
    {"external_call8", 9, external::external_call},
    {"execute_string", 1, execute_string},
    {"execute_file", 1, execute_file},
    {"window_handle", 0, window_handle},
    {"show_debug_message", 1, show_debug_message},
    {"clipboard_has_text", 0, clipboard_has_text},
    {"clipboard_set_text", 1, clipboard_set_text},
    {"clipboard_get_text", 0, clipboard_get_text},
};

}  // namespace

std::span<const FunctionEntry> misc_functions() { return MISC_FUNCTIONS; }

}  // namespace quillon
