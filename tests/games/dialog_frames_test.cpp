// The runner's own dialogs drawn from a game's resources, compared with kept frames: the message form with its
// background, button sprite, fonts, size and mouse colour set by the game, and the highscore table with a new
// entry being typed.
#include "dialogs/highscore_form.h"
#include "dialogs/message_form.h"
#include "functions/form_images.h"
#include "platform/registry_store.h"
#include "played_game.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

using namespace quillon;
using namespace quillon::testing;

namespace {

constexpr Color KEY = make_color(255, 0, 255);

// A background of diagonal bands in two colours.
Bitmap24 banded(int width, int height, Color one, Color other)
{
    Bitmap24 picture(width, height, one);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if ((x + y) / 8 % 2)
                picture.set_pixel(x, y, other);
    return picture;
}

// A button picture: a filled box with see-through corners.
Bitmap24 button(Color fill)
{
    Bitmap24 picture(64, 22, fill);
    for (int x = 0; x < 64; ++x) {
        picture.set_pixel(x, 0, make_color(0, 0, 0));
        picture.set_pixel(x, 21, make_color(0, 0, 0));
    }
    for (auto [x, y] : { std::pair { 0, 0 }, { 63, 0 }, { 0, 21 }, { 63, 21 } })
        picture.set_pixel(x, y, KEY);
    return picture;
}

platform::Frame painted(Form& form)
{
    platform::WindowPlacement placement = form.placement({});
    platform::Frame frame { placement.width, placement.height,
        std::vector<std::uint32_t>(std::size_t(placement.width) * placement.height) };
    SurfaceCanvas canvas { frame.pixels.data(), frame.width, frame.height, frame.width * 4,
        { 0, 0, frame.width, frame.height } };
    form.paint(canvas);
    return frame;
}

} // namespace

TEST(DialogFrames, MessageFormWithTheGamesLook)
{
    GameBuilder builder;
    builder.background("paper", banded(120, 40, make_color(40, 90, 60), make_color(50, 110, 75)));
    // Two images: the pressed image copies the mouse-over one.
    builder.sprite(
        "knob", { button(make_color(230, 200, 90)), button(make_color(250, 235, 150)) }, { { "transparent", true } });
    builder.room("room").set("width", 40).set("height", 30);
    PlayedGame game(builder);
    MessageSettings settings;
    settings.background = 0;
    settings.button_sprite = 0;
    settings.text_font.set("Arial", 10, make_color(255, 255, 200), 1);
    settings.button_font.set("Times New Roman", 9, 0, 0);
    settings.mouse_color = make_color(200, 0, 0);
    settings.width = 280;
    settings.border = true;
    settings.caption = "Hello";
    MessageImages images = message_images(settings);
    ASSERT_EQ(images.buttons.size(), 3u);
    EXPECT_EQ(images.buttons[2], images.buttons[1]);
    MessageForm form(settings, std::move(images),
        "The game's own look.\rIts text wraps when it is longer than the form.", { "&Yes", "&Retry", "&No" });
    SurfaceRect middle = form.layout().buttons[1];
    form.handle({ .kind = platform::EventKind::mouse_move, .x = middle.left + 5, .y = middle.top + 5 });
    EXPECT_EQ(form.caption(), "Hello");
    EXPECT_TRUE(form.placement({ 800, 600 }).border);
    EXPECT_TRUE(frame_matches(painted(form), "message_form_custom"));
}

TEST(DialogFrames, HighscoreTableWithANewEntry)
{
    std::filesystem::path folder
        = std::filesystem::temp_directory_path() / ("quillon-dialog-frames-" + std::to_string(::getpid()));
    {
        GameBuilder builder;
        builder.background("paper", banded(100, 100, make_color(250, 240, 210), make_color(240, 228, 190)));
        builder.room("room").set("width", 40).set("height", 30);
        PlayedGame game(builder);
        platform::RegistryStore store(folder / "registry.db", nullptr);
        HighscoreTable table(store, 7);
        table.insert("Ann", 900);
        table.insert("Bob", 500);
        std::optional<int> rank = table.insert("", 700);
        HighscoreSettings settings;
        settings.background = 0;
        settings.font_name = "Arial";
        settings.font_size = 11;
        settings.font_style = 1;
        settings.new_entry_color = make_color(0, 0, 200);
        settings.other_color = make_color(60, 40, 20);
        HighscoreForm form(settings, background_picture(settings.background), table, rank);
        form.handle({ .kind = platform::EventKind::text, .text = "Zo\xeb" });
        EXPECT_TRUE(frame_matches(painted(form), "highscore_new_entry"));
    }
    std::filesystem::remove_all(folder);
}
