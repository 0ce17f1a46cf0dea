// Packing errors: each names the file, the place in it, the field and the problem.
#include "pack_error.h"
#include "packer.h"
#include "support/key_names.h"
#include "support/picture_file.h"
#include "world/object.h"

#include <gtest/gtest.h>

using namespace quillon;

namespace {

// A small valid project; each case changes or adds files to break it in one way.
ProjectFiles base_project()
{
    return {
        {"game.json", bytes_of(R"J({"sprites": ["ball"], "objects": ["player", "wall"], "rooms": ["main"]})J")},
        {"sprites/ball.png", encode_png(Bitmap24(4, 4, make_color(255, 0, 0)))},
        {"objects/player.json", bytes_of(R"J({"sprite": "ball", "events": [{"event": "step", "actions": [{"code": "x += 1"}]}]})J")},
        {"objects/wall.json", bytes_of("{}")},
        {"rooms/main.json", bytes_of(R"J({"instances": [{"object": "player"}]})J")},
    };
}

struct ErrorCase {
    const char* path;      // the file replaced (or removed when contents is null)
    const char* contents;  // its new contents
    const char* message;   // the whole error message
};

}  // namespace

TEST(ProjectErrors, MessagesNameFileFieldAndProblem)
{
    const ErrorCase cases[] = {
        {"game.json", nullptr, "game.json: file not found"},
        {"game.json", R"J({"objects": [)J", "game.json: invalid JSON: "},
        {"game.json", R"J({"rooms": ["main"], "objects": ["player"], "sprites": ["ball"], "colour": 1})J", "game.json: colour: unknown field"},
        {"game.json", R"J({"objects": [7]})J",
         "game.json: objects[0]: expected a name, an object with a name, or null for an empty slot"},
        {"game.json", R"J({"sprites": [{"file": "x.png"}]})J", "game.json: sprites[0]: name: missing: every sprite has a name"},
        {"game.json", R"J({"room_order": ["attic"]})J",
         "game.json: room_order: unknown room \"attic\""},
        {"game.json", "{}", "game.json: room_order: a game needs at least one room to start in"},
        {"game.json", R"J({"game_id": "seven"})J", "game.json: game_id: expected a whole number from -2147483648 to 2147483647"},
        {"game.json", R"J({"game_id": 4294967296})J", "game.json: game_id: expected a whole number from -2147483648 to 2147483647"},
        {"game.json", R"J({"guid": "123"})J", "game.json: guid: expected 32 hexadecimal digits"},
        {"game.json", R"J({"settings": {"show_cursor": 1}})J", "game.json: settings: show_cursor: expected true or false"},
        {"game.json", R"J({"sprites": [{"name": "ball", "file": "../ball.png"}]})J",
         "game.json: sprite ball: file: \"../ball.png\" is not a relative path inside the project (use '/' between folders)"},
        {"game.json", R"J({"sprites": ["ghost"]})J",
         "game.json: sprite ghost: file: missing: no picture sprites/ghost.png (or .bmp, .gif, .jpg, .jpeg) either"},
        {"game.json", R"J({"sprites": [{"name": "ball", "strip": 0}]})J", "game.json: sprite ball: strip: the frame count must be at least 1"},
        {"game.json", R"J({"sprites": [{"name": "ball", "frames": ["sprites/ball.png", "big.png"]}]})J",
         "game.json: sprite ball: frames: frame 2 is 8x8, the first frame 4x4"},
        {"game.json", R"J({"sprites": [{"name": "ball", "file": "notes.txt"}]})J",
         "game.json: sprite ball: file: \"notes.txt\" is not a PNG, BMP, GIF or JPEG picture that can be read"},
        {"game.json", R"J({"sounds": ["bang"]})J", "game.json: sound bang: file: missing: no sound file sounds/bang.wav (or .mid, .mp3, .ogg) either"},
        {"game.json", R"J({"scripts": [{"name": "s", "code": "a", "code_file": "s.code"}]})J",
         "game.json: script s: code_file: give either code or code_file, not both"},
        {"game.json", R"J({"scripts": [{"name": "s", "code_file": "missing.code"}]})J",
         "game.json: script s: code_file: file \"missing.code\" not found"},
        {"game.json", R"J({"paths": [{"name": "p", "points": [[1]]}]})J",
         "game.json: path p: points: each point is [x, y] or [x, y, speed], got [1]"},
        {"game.json", R"J({"information": {"background_color": "red"}})J",
         "game.json: information: background_color: expected a colour as \"#rrggbb\" or a number"},
        {"objects/wall.json", nullptr, "objects/wall.json: file not found"},
        {"objects/wall.json", "[]", "objects/wall.json: expected a JSON object"},
        {"objects/wall.json", R"J({"parent": "ghost"})J", "objects/wall.json: parent: unknown object \"ghost\""},
        {"objects/wall.json", R"J({"sprit": "ball"})J", "objects/wall.json: sprit: unknown field (did you mean `sprite`?)"},
        {"objects/wall.json", R"J({"Depth": 3})J", "objects/wall.json: Depth: unknown field (did you mean `depth`?)"},
        {"objects/wall.json", R"J({"depth": 1.5})J", "objects/wall.json: depth: expected a whole number from -2147483648 to 2147483647"},
        {"objects/player.json", R"J({"events": [{"event": "step", "actions": [{"code": "x", "applies_to": "wall2"}]}]})J",
         "objects/player.json: event step: action 1: applies_to: unknown object \"wall2\""},
        {"objects/player.json", R"J({"events": [{"event": "collision", "with": "wal"}]})J",
         "objects/player.json: event collision: with: unknown object \"wal\""},
        {"objects/player.json", R"J({"events": [{"event": "collision"}]})J",
         "objects/player.json: event collision: with: missing: the object collided with"},
        {"objects/player.json", R"J({"events": [{"event": "jump"}]})J",
         "objects/player.json: event jump: event: unknown name \"jump\" (known: create, destroy, alarm, step, collision, keyboard, mouse, other, draw, key_press, key_release)"},
        {"objects/player.json", R"J({"events": [{"event": "other", "number": "room_begin"}]})J",
         "objects/player.json: event other: number: unknown name \"room_begin\" (known: outside, boundary, game_start, game_end, room_start, room_end, no_more_lives, animation_end, end_of_path, no_more_health, user0, user1, user2, user3, user4, user5, user6, user7)"},
        {"objects/player.json", R"J({"events": [{"event": "alarm", "number": -1}]})J",
         "objects/player.json: event alarm: number: must not be negative"},
        {"objects/player.json", R"J({"events": [{"event": "create"}, {"event": "create"}]})J",
         "objects/player.json: event create: event: given twice"},
        {"objects/player.json", R"J({"version": 400, "events": [{"event": "key_press", "key": "a"}]})J",
         "objects/player.json: event key_press a: event: an object of version 400 stores event kinds up to 8 only"},
        {"objects/player.json", R"J({"events": [{"event": "draw", "actions": [{"kind": "loop"}]}]})J",
         "objects/player.json: event draw: action 1: kind: unknown name \"loop\" (known: normal, begin, end, else, exit, repeat, set_variable, code)"},
        {"objects/player.json", R"J({"events": [{"event": "draw", "actions": [{"code": "a", "arguments": ["b"]}]}]})J",
         "objects/player.json: event draw: action 1: code: a code action takes its code either as code or as arguments, not both"},
        {"objects/player.json", R"J({"events": [{"event": "draw", "actions": [{"function": "f", "argument": ["1"]}]}]})J",
         "objects/player.json: event draw: action 1: argument: unknown field"},
        {"objects/player.json", R"J({"events": [{"event": "draw", "actions": [{"arguments": [{"text": "1", "kind": "number"}]}]}]})J",
         "objects/player.json: event draw: action 1: arguments[0]: kind: unknown name \"number\" (known: expression, string, string_or_expression)"},
        {"rooms/main.json", R"J({"instances": [{"x": 3}]})J", "rooms/main.json: instance 1: object: missing"},
        {"rooms/main.json", R"J({"tiles": [{"background": "sky"}]})J", "rooms/main.json: tile 1: background: unknown background \"sky\""},
        {"rooms/main.json", R"J({"views": [{"follow": "ghost"}]})J", "rooms/main.json: view 0: follow: unknown object \"ghost\""},
        {"rooms/main.json", R"J({"editor_values": [1]})J", "rooms/main.json: editor_values: expected 2 numbers"},
        {"rooms/main.json", R"J({"views": [{}, {}], "view_count": 1})J",
         "rooms/main.json: view_count: must be at least the number listed (2)"},
        {"rooms/main.json", R"J({"instances": [{"object": "player", "creation_code_file": "none.code"}]})J",
         "rooms/main.json: instance 1: creation_code_file: file \"none.code\" not found"},
    };
    for (const ErrorCase& error : cases) {
        ProjectFiles files = base_project();
        files["big.png"] = encode_png(Bitmap24(8, 8));
        files["notes.txt"] = bytes_of("not a picture");
        if (error.contents)
            files[error.path] = bytes_of(error.contents);
        else
            files.erase(error.path);
        try {
            pack_project(MemorySource(files));
            ADD_FAILURE() << "no error for " << error.message;
        } catch (const PackError& thrown) {
            EXPECT_TRUE(std::string_view(thrown.what()).starts_with(error.message)) << thrown.what() << "\nexpected: " << error.message;
        }
    }
}

TEST(ProjectErrors, CodeIsCompiledAndActionFunctionsChecked)
{
    const ErrorCase cases[] = {
        {"game.json", R"J({"objects": ["player", "wall"], "sprites": ["ball"], "rooms": ["main"], "scripts": [{"name": "move", "code": "x = "}]})J",
         "game.json: script move: code: line 1, column 4: Unexpected symbol in expression."},
        {"scripts/move.code", "a = 1\nb = (", "scripts/move.code:2:6: Unexpected symbol in expression."},
        {"objects/player.json", R"J({"events": [{"event": "step", "actions": [{"code": "jump(1)"}]}]})J",
         "objects/player.json: event step: action 1: code: line 1, column 1: Unknown function or script: jump"},
        {"objects/player.json", R"J({"events": [{"event": "step", "actions": [{"code_file": "objects/player_step.code"}]}]})J",
         "objects/player_step.code:3:6: Unexpected symbol in expression."},
        {"objects/player.json", R"J({"events": [{"event": "draw", "actions": [{"function": "action_draw_font", "arguments": ["1 +"]}]}]})J",
         "objects/player.json: event draw: action 1: argument 1: line 1, column 3: Unexpected symbol in expression."},
        {"objects/player.json", R"J({"events": [{"event": "draw", "actions": [{"function": "action_draw_fnt", "arguments": ["1"]}]}]})J",
         "objects/player.json: event draw: action 1: function: unknown action function \"action_draw_fnt\""},
        {"objects/player.json", R"J({"events": [{"event": "draw", "actions": [{"function": "action_draw_font", "arguments": ["1", "2"]}]}]})J",
         "objects/player.json: event draw: action 1: function: \"action_draw_font\" takes 1 arguments, the action gives 2"},
        {"rooms/main.json", R"J({"creation_code": "if"})J", "rooms/main.json: creation_code: line 1, column 2: Unexpected symbol in expression."},
        {"rooms/main.json", R"J({"instances": [{"object": "player", "creation_code": "y = mover()"}]})J",
         "rooms/main.json: instance 1: creation_code: line 1, column 5: Unknown function or script: mover"},
        {"game.json", R"J({"objects": ["player", "wall"], "sprites": ["ball"], "rooms": ["main"], "time_lines": ["intro"]})J",
         "time_lines/intro.json: moment 1: action 1: code: line 1, column 5: Unexpected symbol in expression."},
    };
    for (const ErrorCase& error : cases) {
        ProjectFiles files = base_project();
        files["game.json"] = bytes_of(R"J({"sprites": ["ball"], "objects": ["player", "wall"], "rooms": ["main"], "scripts": ["move"]})J");
        files["scripts/move.code"] = bytes_of("return 1");
        files["objects/player_step.code"] = bytes_of("a = 1\nb = 2\nc = ) ");
        files["time_lines/intro.json"] = bytes_of(R"J({"moments": [{"step": 5, "actions": [{"code": "a = = 1"}]}]})J");
        files[error.path] = bytes_of(error.contents);
        try {
            pack_project(MemorySource(files));
            ADD_FAILURE() << "no error for " << error.message;
        } catch (const PackError& thrown) {
            EXPECT_TRUE(std::string_view(thrown.what()).starts_with(error.message)) << thrown.what() << "\nexpected: " << error.message;
        }
    }
}

// A field far from every known one gets no suggestion.
TEST(ProjectErrors, UnknownFieldWithoutANearOne)
{
    ProjectFiles files = base_project();
    files["objects/wall.json"] = bytes_of(R"J({"wobble": 1})J");
    try {
        pack_project(MemorySource(files));
        ADD_FAILURE() << "no error";
    } catch (const PackError& thrown) {
        EXPECT_EQ(std::string(thrown.what()), "objects/wall.json: wobble: unknown field");
    }
}

// Key names are those of input files, in any case; an unknown one lists them all.
TEST(ProjectErrors, KeyNamesIgnoreCase)
{
    ProjectFiles files = base_project();
    files["objects/wall.json"] = bytes_of(R"J({"events": [{"event": "keyboard", "key": "PageUp"}, {"event": "key_press", "key": "LCtrl"}]})J");
    GameFile game = pack_project(MemorySource(files));
    EXPECT_EQ(game.objects.get(1)->events[EVENT_KEYBOARD][0].number, 33);
    EXPECT_EQ(game.objects.get(1)->events[EVENT_KEY_PRESS][0].number, 162);
    files["objects/wall.json"] = bytes_of(R"J({"events": [{"event": "keyboard", "key": "Esc"}]})J");
    try {
        pack_project(MemorySource(files));
        ADD_FAILURE() << "no error";
    } catch (const PackError& thrown) {
        EXPECT_EQ(std::string(thrown.what()), "objects/wall.json: event keyboard: key: unknown name \"Esc\" (known: " + key_name_list() + ")");
    }
}

TEST(ProjectErrors, EveryCodeProblemIsListedAndListedScriptsAreKnown)
{
    ProjectFiles files = base_project();
    files["game.json"] = bytes_of(R"J({"sprites": ["ball"], "objects": ["player", "wall"], "rooms": ["main"], "scripts": ["move"]})J");
    files["scripts/move.code"] = bytes_of("return argument0 + 1");
    files["objects/player.json"] = bytes_of(R"J({"events": [{"event": "step", "actions": [{"code": "x = move(x)"}]}]})J");
    EXPECT_NO_THROW(pack_project(MemorySource(files)));

    files["objects/player.json"] = bytes_of(R"J({"events": [{"event": "step", "actions": [{"code": "x = mve(x)"}, {"code": "y = "}]}]})J");
    try {
        pack_project(MemorySource(files));
        ADD_FAILURE() << "no error";
    } catch (const PackError& thrown) {
        std::string text = thrown.what();
        EXPECT_NE(text.find("objects/player.json: event step: action 1: code: line 1, column 5: "), std::string::npos) << text;
        EXPECT_NE(text.find("\nobjects/player.json: event step: action 2: code: line 1, column "), std::string::npos) << text;
    }
}
