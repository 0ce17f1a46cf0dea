// The game settings: the settings block of the game file as plain data, with the defaults a game starts from.
#include "support/settings.h"

#include <chrono>

namespace quillon {

namespace {

// The current moment as a day count from 30 December 1899, the form in which the block stores its date.
double now_as_day_count()
{
    using namespace std::chrono;
    constexpr double DAYS_FROM_1899_TO_1970 = 25569.0;
    auto seconds = duration<double>(system_clock::now().time_since_epoch()).count();
    return DAYS_FROM_1899_TO_1970 + seconds / 86400.0;
}

}  // namespace

GameSettings::Size GameSettings::screen_size(Size current_screen) const
{
    switch (resolution) {
    case 0: return {640, 480};
    case 2: return {1024, 768};
    case 3: return {1280, 1024};
    case 4: return current_screen;
    case 5: return {320, 240};
    case 6: return {1600, 1200};
    default: return {800, 600};
    }
}

int GameSettings::refresh_rate() const
{
    switch (frequency) {
    case 0: return 60;
    case 1: return 70;
    case 2: return 85;
    case 3: return 100;
    default: return 0;
    }
}

bool read_settings(CStream& stream, GameSettings& settings)
{
    settings = GameSettings {};
    settings.extra_date = now_as_day_count();
    if (stream.ReadInt() != SETTINGS_VERSION)
        return false;
    GameSettings read;
    read.start_fullscreen = stream.ReadBool();
    read.no_window_border = stream.ReadBool();
    read.show_cursor = stream.ReadBool();
    read.window_scaling = stream.ReadInt();
    read.fullscreen_scaling = stream.ReadInt();
    read.scale_only_with_hardware = stream.ReadBool();
    read.set_screen_mode = stream.ReadBool();
    read.exclusive_graphics = stream.ReadBool();
    read.color_depth = stream.ReadInt();
    read.resolution = stream.ReadInt();
    read.frequency = stream.ReadInt();
    read.wait_for_vertical_blank = stream.ReadBool();
    read.draw_caption = stream.ReadBool();
    read.no_caption_buttons = stream.ReadBool();
    read.f4_switches_screen_mode = stream.ReadBool();
    read.f1_shows_information = stream.ReadBool();
    read.escape_ends_game = stream.ReadBool();
    read.f5_saves_f6_loads = stream.ReadBool();
    read.keyboard_continuous = stream.ReadBool();
    read.mouse_continuous = stream.ReadBool();
    read.freeze_when_inactive = stream.ReadBool();
    read.loading_bar = stream.ReadInt();
    if (read.loading_bar == LOADING_BAR_OWN) {
        read.loading_bar_back = ReadBitmap(stream);
        read.loading_bar_front = ReadBitmap(stream);
    }
    read.own_loading_image = stream.ReadBool();
    if (read.own_loading_image)
        read.loading_image = ReadBitmap(stream);
    auto icon = stream.ReadBlockBytes();
    read.icon.assign(icon.begin(), icon.end());
    read.display_errors = stream.ReadBool();
    read.log_errors = stream.ReadBool();
    read.abort_on_errors = stream.ReadBool();
    read.uninitialised_are_zero = stream.ReadBool();
    read.extra_text_1 = stream.ReadString();
    read.extra_number = stream.ReadInt();
    read.extra_date = stream.ReadReal();
    read.extra_text_2 = stream.ReadString();
    settings = std::move(read);
    return true;
}

void write_settings(CStream& stream, const GameSettings& s)
{
    stream.WriteInt(SETTINGS_VERSION);
    stream.WriteBool(s.start_fullscreen);
    stream.WriteBool(s.no_window_border);
    stream.WriteBool(s.show_cursor);
    stream.WriteInt(s.window_scaling);
    stream.WriteInt(s.fullscreen_scaling);
    stream.WriteBool(s.scale_only_with_hardware);
    stream.WriteBool(s.set_screen_mode);
    stream.WriteBool(s.exclusive_graphics);
    stream.WriteInt(s.color_depth);
    stream.WriteInt(s.resolution);
    stream.WriteInt(s.frequency);
    stream.WriteBool(s.wait_for_vertical_blank);
    stream.WriteBool(s.draw_caption);
    stream.WriteBool(s.no_caption_buttons);
    stream.WriteBool(s.f4_switches_screen_mode);
    stream.WriteBool(s.f1_shows_information);
    stream.WriteBool(s.escape_ends_game);
    stream.WriteBool(s.f5_saves_f6_loads);
    stream.WriteBool(s.keyboard_continuous);
    stream.WriteBool(s.mouse_continuous);
    stream.WriteBool(s.freeze_when_inactive);
    stream.WriteInt(s.loading_bar);
    if (s.loading_bar == LOADING_BAR_OWN) {
        WriteBitmap(stream, s.loading_bar_back);
        WriteBitmap(stream, s.loading_bar_front);
    }
    stream.WriteBool(s.own_loading_image);
    if (s.own_loading_image)
        WriteBitmap(stream, s.loading_image);
    stream.WriteBlock(s.icon);
    stream.WriteBool(s.display_errors);
    stream.WriteBool(s.log_errors);
    stream.WriteBool(s.abort_on_errors);
    stream.WriteBool(s.uninitialised_are_zero);
    stream.WriteString(s.extra_text_1);
    stream.WriteInt(s.extra_number);
    stream.WriteReal(s.extra_date);
    stream.WriteString(s.extra_text_2);
}

}  // namespace quillon
