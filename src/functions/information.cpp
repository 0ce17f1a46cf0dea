// The game information window and rich-text pages: `show_info`, `load_info` and `show_text`. None shows in
// exclusive graphics mode, and after each the keys and clicks that closed it are forgotten.
#include "functions/information.h"

#include "dialogs/form_host.h"
#include "dialogs/game_information.h"
#include "dialogs/information_form.h"
#include "dialogs/text_splash.h"
#include "functions/world_call.h"
#include "functions/world_families.h"
#include "graphics/rich_text.h"
#include "graphics/screen.h"
#include "support/game_path.h"
#include "support/stream.h"

#include <optional>

namespace quillon {

namespace {

// The bytes of the file a game names; none when it is no file or cannot be read.
std::optional<std::string> file_bytes(std::string_view name)
{
    std::optional<CStream> stream = CStream::from_file(find_in_game_folder(name));
    if (!stream)
        return std::nullopt;
    const std::vector<std::uint8_t>& bytes = stream->bytes();
    return std::string(bytes.begin(), bytes.end());
}

void show_info(FunctionCall& call)
{
    if (!show_game_information())
        report_not_available(call);
}

// Replaces the page, not its colour or place, and works in exclusive graphics mode too.
void load_info(FunctionCall& call)
{
    call.result.set_real(0);
    GameInformation* information = play_services().information;
    if (!information)
        return;
    std::optional<std::string> page = file_bytes(string_argument(call, 0).view());
    if (!page)
        return;
    information->rich_text = std::move(*page);
    call.result.set_real(1);
}

// The page of a rich-text file on a splash window of the colour: nothing for a missing file.
void show_text(FunctionCall& call)
{
    if (windows_suppressed())
        return;
    FormHost* forms = play_services().forms;
    if (!forms) {
        report_not_available(call);
        return;
    }
    if (std::optional<std::string> page = file_bytes(string_argument(call, 0).view())) {
        TextSplash splash(read_rich_text(*page), integer_argument(call, 1) != 0, integer_argument(call, 2),
            integer_argument(call, 3));
        forms->run(splash);
    }
    forget_input();
}

constexpr FunctionEntry INFORMATION_FUNCTIONS[] = {
    {"show_text", 4, show_text},
    {"show_info", 0, show_info},
    {"load_info", 1, load_info},
};

}  // namespace

bool show_game_information()
{
    PlayServices& services = play_services();
    if (windows_suppressed())
        return true;
    if (!services.forms || !services.information)
        return false;
    std::optional<platform::WindowPlacement> game_window;
    if (services.information->show_in_game_window && services.screen)
        game_window = services.screen->window_placement();
    InformationForm form(read_rich_text(services.information->rich_text), services.information->background_color,
        game_window);
    services.forms->run(form);
    forget_input();
    return true;
}

std::span<const FunctionEntry> information_functions() { return INFORMATION_FUNCTIONS; }

}  // namespace quillon
