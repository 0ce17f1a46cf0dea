// Packing and unpacking: a project that uses every kind of field comes back byte for byte, and so do odd games.
#include "json_fields.h"
#include "packer.h"
#include "support/bmp_file.h"
#include "support/picture_file.h"

#include <gtest/gtest.h>

using namespace quillon;

namespace {

void put(ProjectFiles& files, const std::string& path, std::string_view text)
{
    files[path] = bytes_of(text);
}

// A project that sets every field of every record at least once, and leaves others at their defaults.
ProjectFiles full_project()
{
    ProjectFiles files;
    put(files, "game.json", R"J({
      "game_id": 4242, "debug": true, "guid": "00112233445566778899aabbccddeeff",
      "header_texts": ["one", "two"], "prefix": "prefix.bin",
      "settings": {
        "start_fullscreen": true, "no_window_border": true, "show_cursor": false, "window_scaling": 200,
        "fullscreen_scaling": 50, "scale_only_with_hardware": false, "set_screen_mode": true,
        "exclusive_graphics": true, "color_depth": 1, "resolution": 3, "frequency": 2,
        "wait_for_vertical_blank": true, "draw_caption": false, "no_caption_buttons": true,
        "f4_switches_screen_mode": false, "f1_shows_information": false, "escape_ends_game": false,
        "f5_saves_f6_loads": false, "keyboard_continuous": false, "mouse_continuous": false,
        "freeze_when_inactive": true, "loading_bar": 2, "loading_bar_back": "loading/back.png",
        "loading_bar_front": "loading/front.png", "own_loading_image": true, "loading_image": "loading/image.bmp",
        "icon": "game.ico", "display_errors": false, "log_errors": true, "abort_on_errors": true,
        "uninitialised_are_zero": true, "extra_text_1": "café", "extra_number": 7, "extra_date": 45000.25,
        "extra_text_2": "€"
      },
      "sounds": ["bounce", {"name": "music", "file": "audio/theme.mid", "buffers": 4, "effects": true,
                 "load_on_use": true}, null, {"name": "silent", "file": null, "kind": 10, "extension": ".xyz"}],
      "sprites": [{"name": "ball", "origin_x": 8, "origin_y": 7, "video_memory": false, "load_on_use": true},
                  {"name": "walk", "file": "sprites/walk.png", "strip": 3, "precise": false,
                   "bounding_box": [1, 0, 2, 1], "bounding_box_kind": 2, "transparent": false},
                  {"name": "empty", "frames": []}],
      "backgrounds": ["sky", {"name": "blank", "file": null, "width": 64, "height": 32, "transparent": true,
                      "video_memory": true, "load_on_use": true}],
      "paths": [{"name": "loop", "smooth": 1, "end_mode": 0, "precision": 3,
                 "points": [[0, 0], [100, 0, 50], [100.5, 100]]}, "nothing"],
      "scripts": ["double", {"name": "inline", "code": "return 1"}],
      "data_files": [{"name": "level.txt", "export_mode": 2, "overwrite": true, "free_after_export": false,
                      "remove_at_end": false, "file_name": "levels\\one.txt"}, {"name": "gone", "file": null}],
      "time_lines": ["intro"],
      "objects": ["wall", "ball", null],
      "rooms": ["first", "second"],
      "last_instance_id": 200000,
      "information": {"background_color": "#ffeedd", "show_in_game_window": true},
      "action_libraries": [{"code": "global.lives = 3"}, {"code_file": "libraries/setup.code"}],
      "action_libraries_version": 500,
      "room_order": ["second", "first"], "room_order_version": 450
    })J");
    files["prefix.bin"] = {'M', 'Z', 0, 1, 2};
    files["game.ico"] = {0, 0, 1, 0};
    files["loading/back.png"] = encode_png(Bitmap24(8, 2, make_color(10, 20, 30)));
    files["loading/front.png"] = encode_png(Bitmap24(8, 2, make_color(40, 50, 60)));
    files["loading/image.bmp"] = encode_bmp(Bitmap24(5, 3, make_color(70, 80, 90)));
    files["sounds/bounce.wav"] = {'R', 'I', 'F', 'F', 1, 2, 3};
    files["audio/theme.mid"] = {'M', 'T', 'h', 'd'};
    Bitmap24 ball(4, 4, make_color(255, 0, 0));
    for (int x = 0; x < 4; ++x)
        ball.set_pixel(x, 3, 0);  // the bottom row has the transparent colour
    files["sprites/ball.png"] = encode_png(ball);
    Bitmap24 walk(10, 2, make_color(0, 0, 255));
    walk.set_pixel(4, 1, make_color(0, 255, 0));
    files["sprites/walk.png"] = encode_png(walk);
    files["backgrounds/sky.bmp"] = encode_bmp(Bitmap24(16, 8, make_color(100, 150, 250)));
    put(files, "scripts/double.code", "// doubles its argument\r\nreturn argument0 * 2;\r\n");
    put(files, "data_files/level.txt", "####\n#..#\n####\n");
    put(files, "information.rtf", "{\\rtf1 Use the arrow keys.}");
    put(files, "libraries/setup.code", "global.score = 0;\nglobal.level = 1;\n");
    put(files, "time_lines/intro.json", R"J({"moments": [
        {"step": 0, "actions": [{"code": "show_debug_message('start')"}]},
        {"step": 30, "actions": [{"function": "action_next_room", "arguments": ["0"]}]}]})J");
    put(files, "objects/wall.json", R"J({"version": 400, "highest_event_kind": 8,
        "events": [{"event": "destroy", "actions": [{"version": 300}]}]})J");
    put(files, "objects/ball.json", R"J({
      "sprite": "ball", "solid": true, "visible": false, "depth": -5, "persistent": true, "parent": "wall",
      "mask": "walk",
      "events": [
        {"event": "create", "actions": [{"code": "speed = 3;\ndirection = 45;"}]},
        {"event": "step", "number": "begin", "actions": [{"function": "action_move", "relative": true,
            "arguments": [{"text": "000001000", "kind": "string"}, "4"], "applies_to": "other",
            "library": 1, "action": 101}]},
        {"event": "step", "actions": []},
        {"event": "collision", "with": "wall", "actions": [{"function": "action_bounce", "arguments": ["0", "0"]}]},
        {"event": "alarm", "number": 3, "actions": [
            {"kind": "begin"},
            {"function": "action_if_variable", "question": true, "not": true, "arguments": ["x", "100", "2"]},
            {"kind": "exit"},
            {"kind": "else"},
            {"kind": "repeat", "arguments": ["3"]},
            {"kind": "set_variable", "arguments": ["score", "10"], "relative": true},
            {"kind": "end"}]},
        {"event": "keyboard", "key": "left", "actions": [{"code": "x -= 4", "applies_to": "wall"}]},
        {"event": "key_press", "key": 200, "actions": [{"code": "y += 1", "applies_to_used": false}]},
        {"event": "key_release", "key": "f5", "actions": [{"kind": "code", "code_field": "odd",
            "arguments": ["a = 1", "b"]}]},
        {"event": "mouse", "number": "left_pressed", "actions": [{"code_file": "objects/ball_click.code"}]},
        {"event": "other", "number": "user2", "actions": [{"code": "instance_destroy()", "code_field": "kept"}]},
        {"event": "draw", "actions": [{"function": "draw_sprite", "arguments": ["ball", "0", "x", "y"],
            "argument_kinds": [5, 0, 0, 0, 1], "argument_count": 3, "execution_type": "code",
            "may_be_relative": true, "applies_to_used": false, "code": "unused = 0"}]}
      ]})J");
    put(files, "objects/ball_click.code", "// clicked\nscore += 1;\n");
    std::string settings;
    for (int i = 1; i <= 20; ++i)
        settings += (i > 1 ? ", " : "") + std::to_string(i);
    put(files, "rooms/first.json", R"J({
      "caption": "First", "width": 320, "height": 240, "speed": 60, "persistent": true,
      "background_color": "#102030", "draw_background_color": false, "views_enabled": true,
      "creation_code": "global.started = 1", "editor_values": [5, 6], "editor_settings": [)J" + settings + R"J(],
      "backgrounds": [{"background": "sky", "foreground": true, "x": 4, "y": 5, "tile_horizontally": false,
                       "tile_vertically": false, "horizontal_speed": 2, "vertical_speed": 3},
                      {"visible": false}, {"background": "blank", "vertical_speed": -1}],
      "views": [{"x": 10, "y": 20, "width": 160, "height": 120, "port_x": 1, "port_y": 2,
                 "horizontal_border": 8, "vertical_border": 9, "horizontal_speed": 3, "vertical_speed": 4,
                 "follow": "ball"}, {}],
      "instances": [{"object": "ball", "x": 16, "y": 16, "creation_code": "hspeed = 2;\nvspeed = 1;"},
                    {"object": "wall", "id": 150000, "editor_flag": true}],
      "tiles": [{"background": "sky", "x": 1, "y": 2, "left": 3, "top": 4, "width": 5, "height": 6,
                 "depth": 1000}, {"background": "sky", "id": 2000000}]
    })J");
    put(files, "rooms/second.json", R"J({"instances": [{"object": "ball"}]})J");
    return files;
}

std::vector<std::uint8_t> pack_bytes(const ProjectFiles& files)
{
    return write_game_file(pack_project(MemorySource(files)));
}

GameFile read_bytes(std::vector<std::uint8_t> bytes)
{
    CStream stream(std::move(bytes));
    GameFile game;
    LoadOutcome outcome = read_game_file(stream, game);
    EXPECT_TRUE(outcome.ok) << outcome.message;
    return game;
}

}  // namespace

TEST(ProjectRoundTrip, EveryFieldReachesTheGame)
{
    GameFile game = pack_project(MemorySource(full_project()));
    EXPECT_EQ(game.game_id, 4242);
    EXPECT_TRUE(game.debug());
    EXPECT_EQ(game.guid[15], 0xff);
    EXPECT_EQ(game.settings.extra_text_1, "caf\xe9");
    EXPECT_EQ(game.settings.extra_text_2, "\x80");

    const CSound& music = *game.sounds.get(1);
    EXPECT_EQ(music.kind, SOUND_KIND_MUSIC);
    EXPECT_EQ(music.extension, ".mid");
    EXPECT_FALSE(game.sounds.exists(2));

    const CSprite& walk = *game.sprites.get(1);
    EXPECT_EQ(walk.frames.size(), 3u);
    EXPECT_EQ(walk.width, 3);
    EXPECT_EQ(walk.bounding_box, (BoundingBox {1, 0, 2, 1}));
    EXPECT_EQ(game.sprites.get(0)->bounding_box, (BoundingBox {0, 0, 3, 2})) << "the transparent bottom row is left out";

    const CObject& ball = *game.objects.get(1);
    EXPECT_EQ(ball.parent, 0);
    EXPECT_EQ(ball.mask, 1);
    EXPECT_EQ(ball.events[EVENT_KEYBOARD].front().number, 37);
    EXPECT_EQ(ball.events[EVENT_OTHER].front().number, 12);
    EXPECT_EQ(ball.events[EVENT_COLLISION].front().number, 0);
    const CAction& move = ball.events[EVENT_STEP].front().event.actions.front();
    EXPECT_EQ(move.execution_type, EXECUTE_FUNCTION);
    EXPECT_EQ(move.argument_kinds, (std::vector<std::int32_t> {1, 0}));
    EXPECT_TRUE(move.may_be_relative);
    EXPECT_EQ(move.applies_to, APPLIES_TO_OTHER);
    const CAction& create = ball.events[EVENT_CREATE].front().event.actions.front();
    EXPECT_EQ(create.kind, ACTION_CODE);
    EXPECT_EQ(create.execution_type, EXECUTE_CODE);
    // Lines ending in LF alone are stored with CR LF, as the runner counts lines by their CRs.
    EXPECT_EQ(create.arguments, (std::vector<std::string> {"speed = 3;\r\ndirection = 45;"}));

    // Instances and tiles without an id count on from the highest id given.
    const CRoom& first = *game.rooms.get(0);
    EXPECT_EQ(first.instances[0].id, 150001);
    EXPECT_EQ(first.instances[1].id, 150000);
    EXPECT_EQ(game.rooms.get(1)->instances[0].id, 150002);
    EXPECT_EQ(first.tiles[0].id, 2000001);
    EXPECT_EQ(game.last_instance_id, 200000);
    EXPECT_EQ(game.last_tile_id, 2000001);
    EXPECT_EQ(first.layers[2].background, 1);
    EXPECT_FALSE(first.layers[1].visible);
    EXPECT_TRUE(first.views[1].visible);
    EXPECT_EQ(first.views[0].object_followed, 1);
    EXPECT_EQ(game.room_order, (std::vector<std::int32_t> {1, 0}));
    EXPECT_EQ(game.action_library_code[1], "global.score = 0;\r\nglobal.level = 1;\r\n");
}

TEST(ProjectRoundTrip, UnpackedProjectPacksToTheSameBytes)
{
    ProjectFiles original = full_project();
    std::vector<std::uint8_t> packed = pack_bytes(original);

    // Through a scrambled file and back, as quillon-pack --unpack reads it.
    GameFile read = read_bytes(write_game_file(pack_project(MemorySource(original), 12345)));
    ProjectFiles unpacked = unpack_game(read);
    EXPECT_EQ(pack_bytes(unpacked), packed);
    // The unpacked form is stable: unpacking its game again gives the same files.
    EXPECT_EQ(unpack_game(pack_project(MemorySource(unpacked))), unpacked);
}

TEST(ProjectRoundTrip, MinimalGameIsAFewLines)
{
    ProjectFiles files;
    put(files, "game.json", R"J({"objects": ["ball"], "rooms": ["main"]})J");
    put(files, "objects/ball.json", R"J({"events": [{"event": "create", "actions": [{"code": "hspeed = 4"}]}]})J");
    put(files, "rooms/main.json", R"J({"instances": [{"object": "ball", "x": 100, "y": 100}]})J");
    GameFile game = pack_project(MemorySource(files));
    EXPECT_EQ(game.room_order, (std::vector<std::int32_t> {0}));
    EXPECT_EQ(game.rooms.get(0)->instances[0].id, 100001);
    EXPECT_EQ(game.last_instance_id, 100001);
    ProjectFiles unpacked = unpack_game(game);
    ASSERT_EQ(unpacked.size(), files.size());
    for (const auto& [path, bytes] : files)
        EXPECT_EQ(Json::parse(unpacked[path]), Json::parse(bytes)) << path;
}

// Games the packer would not make by itself: duplicate and unsafe names, references by index, ids out of
// sequence, records of other versions. Unpacking must still give a project that packs to the same bytes.
TEST(ProjectRoundTrip, OddGamesComeBackExactly)
{
    GameFile game = pack_project(MemorySource(full_project()));
    game.seed = 0;
    game.sprites.add("ball", std::make_unique<CSprite>(*game.sprites.get(1)));  // a second "ball"
    game.sprites.get(3)->width = 5;  // frames narrower than the sprite
    game.objects.get(1)->mask = 3;   // the second "ball", reachable by index only
    game.objects.add("a/b c", std::make_unique<CObject>());
    game.objects.add("Wall", std::make_unique<CObject>());  // differs from "wall" by case only
    game.objects.get(1)->event(EVENT_COLLISION, 4).actions.push_back(CAction {});
    auto sound = std::make_unique<CSound>();
    sound->kind = SOUND_KIND_WAVE;
    sound->extension = "weird ext";
    sound->data = {1, 2, 3};
    game.sounds.add("odd", std::move(sound));
    CRoom& first = *game.rooms.get(0);
    first.instances.push_back({1, 2, 99, 7, "\r\nx = 1", false});  // an object that does not exist
    first.creation_code = "a = 1;\r\nb = 2;";
    game.rooms.get(1)->instances[0].id = 5;
    game.rooms.get(1)->layers.resize(3);   // fewer layers than a room normally stores
    game.rooms.get(1)->views.resize(10);   // more views, the last ones plain
    game.last_tile_id = 3;
    game.room_order = {1, 1, 0};
    game.debug_value = 7;
    game.prefix.assign(GAME_DATA_OFFSET, 0);
    game.prefix[GAME_DATA_OFFSET - 1] = 9;

    std::vector<std::uint8_t> bytes = write_game_file(game);
    ProjectFiles unpacked = unpack_game(read_bytes(bytes));
    EXPECT_EQ(pack_bytes(unpacked), bytes);
}
