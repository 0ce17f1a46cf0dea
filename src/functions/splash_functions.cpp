// The splash and menu built-ins. Each shows a modal form of the runner's own; none shows in exclusive graphics
// mode, where a menu gives its default at once. Otherwise the keyboard and mouse state is cleared afterwards,
// whether a form showed or not, so that the key or click that closed it does not reach the game.
#include "functions/splash_functions.h"

#include "dialogs/form_host.h"
#include "dialogs/image_splash.h"
#include "dialogs/popup_menu.h"
#include "dialogs/video_splash.h"
#include "functions/world_call.h"
#include "functions/world_families.h"
#include "graphics/screen.h"
#include "platform/music_decoder.h"
#include "platform/video_file.h"
#include "sound/music_player.h"
#include "sound/sound_system.h"
#include "support/game_path.h"

namespace quillon {

namespace {

// The host that shows forms; without one the call reports itself as not available.
FormHost* forms_for(const FunctionCall& call)
{
    FormHost* host = play_services().forms;
    if (!host)
        report_not_available(call);
    return host;
}

// Flags are true when they round to anything but 0.
bool flag_argument(const FunctionCall& call, int index) { return integer_argument(call, index) != 0; }

void show_image(FunctionCall& call)
{
    if (windows_suppressed())
        return;
    std::string_view name = string_argument(call, 0).view();
    if (auto splash = ImageSplash::open(find_in_game_folder(name), std::string(name), flag_argument(call, 1),
            integer_argument(call, 2))) {
        if (FormHost* forms = forms_for(call))
            forms->run(*splash);
    }
    forget_input();
}

// The video's sound plays through the game's mixer when the file has any and the game has a sound system.
void show_video(FunctionCall& call)
{
    if (windows_suppressed())
        return;
    std::string_view name = string_argument(call, 0).view();
    std::filesystem::path file = find_in_game_folder(name);
    if (std::unique_ptr<platform::VideoFile> video = platform::open_video_file(file)) {
        if (FormHost* forms = forms_for(call)) {
            platform::AudioDevice* device = nullptr;
            std::unique_ptr<MusicPlayer> sound;
            if (SoundSystem* sounds = SoundSystem::installed()) {
                if (std::unique_ptr<platform::MusicDecoder> decoder = platform::open_music_file(file)) {
                    device = &sounds->device();
                    sound = std::make_unique<MusicPlayer>(*device, std::move(decoder));
                }
            }
            VideoSplash splash(std::move(video), std::string(name), flag_argument(call, 1), flag_argument(call, 2),
                device, std::move(sound));
            forms->run(splash);
        }
    }
    forget_input();
}

// The menu at a screen position; its default when it is dismissed, in exclusive mode or without a form host.
void show_menu_at(FunctionCall& call, int x, int y, std::string_view items, std::int32_t default_result)
{
    call.result.set_real(default_result);
    if (windows_suppressed())
        return;
    if (FormHost* forms = forms_for(call)) {
        PopupMenu menu(items, x, y, default_result);
        forms->run(menu);
        call.result.set_real(menu.result());
    }
    forget_input();
}

void show_menu(FunctionCall& call)
{
    platform::PointerPosition pointer;
    if (Screen* screen = play_services().screen)
        pointer = screen->pointer_on_monitor();
    show_menu_at(call, pointer.x, pointer.y, string_argument(call, 0).view(), integer_argument(call, 1));
}

void show_menu_pos(FunctionCall& call)
{
    show_menu_at(call, integer_argument(call, 0), integer_argument(call, 1), string_argument(call, 2).view(),
        integer_argument(call, 3));
}

constexpr FunctionEntry SPLASH_FUNCTIONS[] = {
    {"show_image", 3, show_image},
    {"show_video", 3, show_video},
    {"show_menu", 2, show_menu},
    {"show_menu_pos", 4, show_menu_pos},
};

}  // namespace

std::span<const FunctionEntry> splash_functions() { return SPLASH_FUNCTIONS; }

}  // namespace quillon
