// PlayedGame: a test game loaded, prepared headless and started, with the parts of a step that frames show;
// and the comparison of frames with the pictures kept in data/.
#include "played_game.h"

#include "code/errors.h"
#include "code/function_registry.h"
#include "code/script.h"
#include "functions/world_families.h"
#include "runner/language_setup.h"
#include "graphics/surface.h"
#include "support/picture_file.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace quillon::testing {

namespace {

namespace fs = std::filesystem;

Bitmap24 frame_bitmap(const platform::Frame& frame)
{
    Bitmap24 bitmap(frame.width, frame.height);
    for (int y = 0; y < frame.height; ++y)
        for (int x = 0; x < frame.width; ++x)
            bitmap.set_pixel(x, y, frame_color(frame, x, y));
    return bitmap;
}

void write_png_file(const fs::path& file, const Bitmap24& bitmap)
{
    fs::create_directories(file.parent_path());
    std::vector<std::uint8_t> bytes = encode_png(bitmap);
    std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
        static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

PlayedGame::PlayedGame(const GameBuilder& builder, platform::Display* display)
    : m_game(builder.build())
{
    register_builtins_once();
    errors().reset();
    errors().set_dialog([](const std::string& text, bool) {
        ADD_FAILURE() << "game error: " << text;
        return ErrorChoice::ignore;
    });
    if (!display) {
        m_headless = std::make_unique<platform::HeadlessDisplay>();
        display = m_headless.get();
    }
    m_graphics = std::make_unique<Graphics>(*display, m_game.settings, m_game.sprites, m_game.backgrounds, nullptr);
    EXPECT_TRUE(m_graphics->prepare());
    play_services().graphics = m_graphics.get();
    play_services().screen = &m_graphics->screen();
    scripts().clear();
    for (int i = 0; i < m_game.scripts.count(); ++i) {
        const ScriptSource* script = m_game.scripts.get(i);
        scripts().add(m_game.scripts.slot_name(i), script ? std::optional<std::string>(script->code) : std::nullopt);
    }
    WorldHooks hooks;
    hooks.size_display = [this](int width, int height) { m_graphics->screen().set_size(width, height); };
    hooks.show_room = [this] {
        m_drawer->draw();
        m_graphics->present();
    };
    m_world = std::make_unique<World>(WorldResources {m_game.objects, m_game.time_lines, m_game.rooms, m_game.paths,
        m_game.sprites, m_game.backgrounds, m_game.sounds, m_game.data_files, m_game.action_library_code,
        m_game.room_order, m_game.last_instance_id, m_game.last_tile_id, m_game.game_id}, std::move(hooks));
    m_world->install();
    m_drawer = std::make_unique<RoomDrawer>(*m_world, *m_graphics);
    EXPECT_TRUE(m_world->compile_time_lines() && scripts().compile_all() && m_world->compile_objects());
    game_counters() = GameCounters();
    room_draw_state() = RoomDrawState();
    m_world->set_running(true);
    m_world->start_game();
}

PlayedGame::~PlayedGame()
{
    m_world->end_game_world();
    m_world.reset();
    set_host(nullptr);
    play_services() = PlayServices();
    errors().set_dialog(nullptr);
    m_graphics->shut_down();
}

void PlayedGame::step()
{
    LiveRoom& room = *m_world->current_room();
    for (int i = 0; i < room.instance_count(); ++i)
        m_world->move_instance(*room.instance(i));
    m_drawer->draw();
    room.scroll_backgrounds();
    for (int i = 0; i < room.instance_count(); ++i)
        m_world->animate_instance(*room.instance(i));
    m_graphics->present();
}

Color frame_color(const platform::Frame& frame, int x, int y) { return pixel_to_color(frame.pixel(x, y)); }

::testing::AssertionResult frame_matches(const platform::Frame& frame, const std::string& name)
{
    fs::path expected_file = fs::path(QUILLON_TEST_DATA) / (name + ".png");
    Bitmap24 actual = frame_bitmap(frame);
    if (std::getenv("QUILLON_UPDATE_FRAMES")) {
        write_png_file(expected_file, actual);
        return ::testing::AssertionSuccess() << "written " << expected_file;
    }
    auto expected_frames = load_picture_file(expected_file);
    if (!expected_frames)
        return ::testing::AssertionFailure() << "cannot read " << expected_file;
    const Bitmap24& expected = expected_frames->front().image;
    // 1. Same size, then pixel by pixel, counting the differences and keeping the first.
    int differing = 0;
    int first_x = -1;
    int first_y = -1;
    Bitmap24 differences(actual.width, actual.height);
    bool same_size = expected.width == actual.width && expected.height == actual.height;
    for (int y = 0; same_size && y < actual.height; ++y) {
        for (int x = 0; x < actual.width; ++x) {
            Color seen = actual.pixel(x, y);
            if (seen == expected.pixel(x, y)) {
                Color dimmed = make_color(color_red(seen) / 4, color_green(seen) / 4, color_blue(seen) / 4);
                differences.set_pixel(x, y, dimmed);
                continue;
            }
            differences.set_pixel(x, y, make_color(255, 0, 0));
            if (differing++ == 0) {
                first_x = x;
                first_y = y;
            }
        }
    }
    if (same_size && differing == 0)
        return ::testing::AssertionSuccess();
    // 2. What a person needs to look at.
    fs::path output = fs::path(QUILLON_FRAME_OUTPUT);
    write_png_file(output / (name + ".actual.png"), actual);
    auto failure = ::testing::AssertionFailure() << "frame " << name << " differs from " << expected_file << ": ";
    if (!same_size)
        return failure << "size " << actual.width << "x" << actual.height << " instead of " << expected.width << "x"
                       << expected.height << "; frame written to " << output;
    write_png_file(output / (name + ".diff.png"), differences);
    char first[64];
    std::snprintf(first, sizeof first, "first at (%d, %d): #%06X instead of #%06X", first_x, first_y,
        color_to_pixel(actual.pixel(first_x, first_y)), color_to_pixel(expected.pixel(first_x, first_y)));
    return failure << differing << " pixels, " << first << "; frame and differences written to " << output;
}

}  // namespace quillon::testing
