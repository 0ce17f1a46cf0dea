// The dialog built-ins. Every dialog is modal: the message form and the input boxes are forms the runner draws
// itself, the choosers are the platform's dialog host's. None shows in exclusive graphics mode, where each
// function gives the result of its default answer at once, and the input that closed a dialog is cleared so
// that it does not reach the game.
#include "functions/dialog_functions.h"

#include "code/builtin_variables.h"
#include "code/messages.h"
#include "dialogs/color_picker.h"
#include "dialogs/directory_chooser.h"
#include "dialogs/file_chooser.h"
#include "dialogs/form_host.h"
#include "dialogs/highscore_settings.h"
#include "dialogs/highscore_form.h"
#include "dialogs/highscore_table.h"
#include "dialogs/message_form.h"
#include "dialogs/message_settings.h"
#include "functions/form_images.h"
#include "functions/world_call.h"
#include "functions/world_families.h"
#include "platform/registry_store.h"
#include "support/hash_text.h"
#include "world/world.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <optional>
#include <filesystem>
#include <string>
#include <system_error>

namespace quillon {

namespace {

constexpr std::string_view NAME_PROMPT = "You reached a place in the highscore table.\rPlease provide your name.";
constexpr std::string_view DEFAULT_PLAYER = "player";

void set_string_result(FunctionCall& call, std::string_view text) { call.result.set_string(ScriptString(text)); }

// The host that runs the runner's own forms; without one the call reports itself as not available.
FormHost* forms_for(const FunctionCall& call)
{
    FormHost* host = play_services().forms;
    if (!host)
        report_not_available(call);
    return host;
}

// Shows the message form and gives its result; none without a form host.
std::optional<int> run_message_form(std::string text, const std::array<std::string, 3>& captions, MessageAnswers answers)
{
    FormHost* forms = play_services().forms;
    if (!forms)
        return std::nullopt;
    const MessageSettings& settings = message_settings();
    MessageForm form(settings, message_images(settings), std::move(text), captions, answers);
    forms->run(form);
    return form.result();
}

// A text shown in a dialog, with its "#" line breaks.
std::string shown_text(const FunctionCall& call, int index)
{
    std::string text;
    append_hash_text(string_argument(call, index).view(), text);
    return text;
}

// The integer an input box holds, surrounding spaces allowed; none for any other text.
std::optional<std::int32_t> integer_in(std::string_view text)
{
    std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return std::nullopt;
    text = text.substr(first, text.find_last_not_of(' ') - first + 1);
    if (text.size() > 1 && text.front() == '+')
        text.remove_prefix(1);
    std::int32_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

// The input box of the form: its text when it closes, the initial text in exclusive mode; none without a host.
std::optional<std::string> ask_text(const FunctionCall& call, std::string_view prompt, std::string_view initial)
{
    if (windows_suppressed())
        return std::string(initial);
    FormHost* forms = forms_for(call);
    if (!forms)
        return std::nullopt;
    const MessageSettings& settings = message_settings();
    MessageForm form =
        MessageForm::input_box(settings, message_images(settings), std::string(prompt), std::string(initial));
    forms->run(form);
    forget_input();
    return form.input_text();
}

HighscoreTable highscore_table()
{
    const World* world = World::installed();
    return HighscoreTable(platform::user_registry(), world ? world->game_id() : 0);
}

// ---- The message form ----

void show_message_ext(FunctionCall& call)
{
    call.result.set_real(0);
    if (windows_suppressed() || !forms_for(call))
        return;
    std::array<std::string, 3> buttons;
    for (int i = 0; i < 3; ++i)
        buttons[i] = string_argument(call, i + 1).view();
    call.result.set_real(run_message_form(shown_text(call, 0), buttons, MessageAnswers::form).value_or(0));
    forget_input();
}

void message_background(FunctionCall& call)
{
    const World* world = World::installed();
    std::int32_t background = integer_argument(call, 0);
    if (!world || !world->backgrounds().exists(background))
        return report_function_error(message::NO_MESSAGE_BACKGROUND);
    message_settings().background = background;
}

void message_button(FunctionCall& call)
{
    const World* world = World::installed();
    std::int32_t sprite = integer_argument(call, 0);
    if (!world || !world->sprites().exists(sprite))
        return report_function_error(message::NO_MESSAGE_BUTTON);
    message_settings().button_sprite = sprite;
}

template <MessageFont MessageSettings::*font>
void message_font(FunctionCall& call)
{
    (message_settings().*font)
        .set(string_argument(call, 0).view(), integer_argument(call, 1), integer_argument(call, 2),
            integer_argument(call, 3));
}

void message_mouse_color(FunctionCall& call) { message_settings().mouse_color = integer_argument(call, 0); }

void message_input_color(FunctionCall& call) { message_settings().input_color = integer_argument(call, 0); }

void message_position(FunctionCall& call)
{
    message_settings().x = integer_argument(call, 0);
    message_settings().y = integer_argument(call, 1);
}

void message_size(FunctionCall& call)
{
    message_settings().width = std::max(integer_argument(call, 0), 0);
    message_settings().height = std::max(integer_argument(call, 1), 0);
}

void message_caption(FunctionCall& call)
{
    message_settings().border = real_argument(call, 0) >= 0.5;
    message_settings().caption = string_argument(call, 1).view();
}

// ---- Input boxes and choosers ----

void get_integer(FunctionCall& call)
{
    std::int32_t fallback = integer_argument(call, 1);
    std::optional<std::string> text = ask_text(call, shown_text(call, 0), std::to_string(fallback));
    call.result.set_real(text ? integer_in(*text).value_or(fallback) : fallback);
}

void get_string(FunctionCall& call)
{
    std::string_view initial = string_argument(call, 1).view();
    std::optional<std::string> text = ask_text(call, shown_text(call, 0), initial);
    set_string_result(call, text ? *text : std::string(initial));
}

// Suppressed, the colour stays the default.
void get_color(FunctionCall& call)
{
    std::int32_t initial = integer_argument(call, 0);
    call.result.set_real(initial);
    if (windows_suppressed())
        return;
    FormHost* forms = forms_for(call);
    if (!forms)
        return;
    ColorPicker picker(initial);
    forms->run(picker);
    call.result.set_real(picker.result());
    forget_input();
}

// The chooser starts in the current directory, which is restored afterwards whatever the player browsed to.
// Suppressed, it counts as cancelled.
void choose_file(FunctionCall& call, FileChoice kind)
{
    set_string_result(call, "");
    if (windows_suppressed())
        return;
    FormHost* forms = forms_for(call);
    if (!forms)
        return;
    std::error_code error;
    std::filesystem::path directory = std::filesystem::current_path(error);
    FileChooser chooser(kind, string_argument(call, 0).view(), string_argument(call, 1).view(), directory);
    forms->run(chooser);
    if (!error)
        std::filesystem::current_path(directory, error);
    set_string_result(call, chooser.result());
    forget_input();
}

void get_open_filename(FunctionCall& call) { choose_file(call, FileChoice::open); }

void get_save_filename(FunctionCall& call) { choose_file(call, FileChoice::save); }

// Browsing starts at the start folder, or in the current directory when the game names none, and stays inside
// the root folder (the whole file system when the game names none).
void choose_directory(FunctionCall& call, std::string_view caption, std::string_view start, std::string_view root)
{
    set_string_result(call, "");
    if (windows_suppressed())
        return;
    FormHost* forms = forms_for(call);
    if (!forms)
        return;
    std::filesystem::path root_folder = existing_folder(root);
    std::filesystem::path start_folder = existing_folder(start);
    if (start_folder.empty()) {
        std::error_code error;
        start_folder = std::filesystem::current_path(error);
    }
    DirectoryChooser chooser(caption, start, start_folder, root_folder.empty() ? "/" : root_folder);
    forms->run(chooser);
    set_string_result(call, chooser.result());
    forget_input();
}

void get_directory(FunctionCall& call) { choose_directory(call, {}, string_argument(call, 0).view(), {}); }

void get_directory_alt(FunctionCall& call)
{
    std::string_view root = string_argument(call, 1).view();
    choose_directory(call, string_argument(call, 0).view(), root, root);
}

// ---- Highscores ----

// A value that reaches the table gets a row whose name the player types; the table shows without one
// otherwise. Nothing shows, and the table stays, in exclusive mode.
void highscore_show(FunctionCall& call)
{
    if (windows_suppressed())
        return;
    FormHost* forms = forms_for(call);
    if (!forms)
        return;
    HighscoreTable table = highscore_table();
    std::optional<int> rank = table.insert("", integer_argument(call, 0));
    const HighscoreSettings& settings = highscore_settings();
    HighscoreForm form(settings, background_picture(settings.background), table, rank);
    forms->run(form);
    if (rank)
        table.set_name(*rank, form.typed());
    forget_input();
}

void highscore_show_ext(FunctionCall& call)
{
    HighscoreSettings& settings = highscore_settings();
    settings.background = integer_argument(call, 1);
    settings.border = integer_argument(call, 2) == 1;
    settings.new_entry_color = integer_argument(call, 3);
    settings.other_color = integer_argument(call, 4);
    settings.font_name = string_argument(call, 5).view();
    settings.font_size = integer_argument(call, 6);
    highscore_show(call);
}

void highscore_clear(FunctionCall&) { highscore_table().clear(); }

void highscore_add(FunctionCall& call)
{
    highscore_table().insert(string_argument(call, 0).view(), integer_argument(call, 1));
}

// A score equal to rank 10's asks for the name but, being no better, is not inserted.
void highscore_add_current(FunctionCall& call)
{
    HighscoreTable table = highscore_table();
    std::int32_t score = game_counters().score;
    if (score < table.value(HighscoreTable::RANKS))
        return;
    std::optional<std::string> name = ask_text(call, NAME_PROMPT, DEFAULT_PLAYER);
    if (name)
        table.insert(*name, score);
}

void highscore_value(FunctionCall& call) { call.result.set_real(highscore_table().value(integer_argument(call, 0))); }

void highscore_name(FunctionCall& call) { set_string_result(call, highscore_table().name(integer_argument(call, 0))); }

constexpr FunctionEntry DIALOG_FUNCTIONS[] = {
    {"show_message_ext", 4, show_message_ext},
    {"message_background", 1, message_background},
    {"message_button", 1, message_button},
    {"message_text_font", 4, message_font<&MessageSettings::text_font>},
    {"message_button_font", 4, message_font<&MessageSettings::button_font>},
    {"message_input_font", 4, message_font<&MessageSettings::input_font>},
    {"message_mouse_color", 1, message_mouse_color},
    {"message_input_color", 1, message_input_color},
    {"message_position", 2, message_position},
    {"message_size", 2, message_size},
    {"message_caption", 2, message_caption},
    {"get_integer", 2, get_integer},
    {"get_string", 2, get_string},
    {"get_color", 1, get_color},
    {"get_open_filename", 2, get_open_filename},
    {"get_save_filename", 2, get_save_filename},
    {"get_directory", 1, get_directory},
    {"get_directory_alt", 2, get_directory_alt},
    {"highscore_show", 1, highscore_show},
    {"highscore_show_ext", 7, highscore_show_ext},
    {"highscore_clear", 0, highscore_clear},
    {"highscore_add", 2, highscore_add},
    {"highscore_add_current", 0, highscore_add_current},
    {"highscore_value", 1, highscore_value},
    {"highscore_name", 1, highscore_name},
};

}  // namespace

std::span<const FunctionEntry> dialog_functions() { return DIALOG_FUNCTIONS; }

void show_message_form(std::string_view text)
{
    run_message_form(std::string(text), {"", "OK", ""}, MessageAnswers::box);
}

// Escape, or closing the form, answers "No".
bool show_question_form(std::string_view text)
{
    return run_message_form(std::string(text), {"Yes", "", "No"}, MessageAnswers::box) == 1;
}

}  // namespace quillon
