// The resource functions: existence, names and the fields of each kind of record, with -1 and "<undefined>" for
// a resource that does not exist, and the ancestors of objects.
#include "code/script.h"
#include "play_fixture.h"

using namespace quillon;
using namespace quillon::testing;

namespace {

class ResourceFunctions : public PlayTest {
protected:
    // A game with two sprites (the second deleted), a background, a sound, a path, a data file, a script,
    // objects "base" <- "middle" <- "top" (1 to 3, after the fixture's own object 0) and one room; started.
    void start_game_with_resources()
    {
        int sprite = add_sprite(3, { 2, 1, 13, 6 }, 4, 5);
        sprites.get(sprite)->load_on_use = true;
        sprites.add("gone", std::make_unique<CSprite>());
        sprites.remove(1);
        auto background = std::make_unique<CBackground>();
        background->width = 64;
        background->height = 32;
        background->transparent = true;
        backgrounds.add("sky", std::move(background));
        auto sound = std::make_unique<CSound>();
        sound->kind = 2;
        sound->buffers = 3;
        sound->effects = true;
        sounds.add("boom", std::move(sound));
        auto path = std::make_unique<CPath>();
        path->smooth = 1;
        path->end_mode = 2;
        paths.add("route", std::move(path));
        auto data_file = std::make_unique<CDataFile>();
        data_file->file_name = "notes.txt";
        data_files.add("notes", std::move(data_file));
        scripts().clear();
        scripts().add("twice", std::string("return argument0 * 2"));
        int base = add_object("base");
        int middle = add_object("middle", base);
        int top = add_object("top", middle);
        objects.get(top)->sprite = sprite;
        objects.get(top)->depth = -7;
        objects.get(top)->solid = true;
        add_room({ { 0, 0, base, 100001, {}, false } });
        start();
    }
    std::string value(const std::string& code)
    {
        Value result = run(instance(0), "return " + code);
        if (result.is_string())
            return "'" + result.string.str() + "'";
        char text[32];
        std::snprintf(text, sizeof text, "%g", result.real);
        return text;
    }
    void TearDown() override
    {
        scripts().clear();
        PlayTest::TearDown();
    }
};

TEST_F(ResourceFunctions, RecordsReadAsNumbersAndMissingOnesAsMinusOne)
{
    start_game_with_resources();
    struct Case {
        const char* code;
        const char* value;
    };
    const Case cases[] = {
        { "sprite_exists(0)", "1" },
        { "sprite_exists(1)", "0" }, // deleted
        { "sprite_exists(0.6)", "0" }, // rounds to the deleted one
        { "sprite_name(0)", "'sprite0'" },
        { "sprite_get_name(1)", "'<undefined>'" },
        { "sprite_get_number(0)", "3" },
        { "sprite_get_width(0)", "14" },
        { "sprite_get_height(0)", "7" },
        { "sprite_get_width(1)", "-1" },
        { "sprite_get_xoffset(0)", "4" },
        { "sprite_get_yoffset(0)", "5" },
        { "sprite_get_bbox_left(0) * 1000 + sprite_get_bbox_top(0) * 100 + sprite_get_bbox_right(0)", "2113" },
        { "sprite_get_bbox_bottom(0)", "6" },
        { "sprite_get_loadonuse(0)", "1" },
        { "sprite_get_precise(9)", "-1" },
        { "background_get_width(0) * 100 + background_get_height(0)", "6432" },
        { "background_get_transparent(0)", "1" },
        { "background_name(0)", "'sky'" },
        { "background_exists(-1)", "0" },
        { "sound_get_kind(0) * 100 + sound_get_buffers(0) * 10 + sound_get_effects(0)", "231" },
        { "sound_get_name(0)", "'boom'" },
        { "sound_get_loadonuse(1)", "-1" },
        { "path_get_kind(0) * 10 + path_get_end(0)", "12" },
        { "path_exists(0) + path_exists(1)", "1" },
        { "datafile_get_filename(0)", "'notes.txt'" },
        { "datafile_get_filename(1)", "''" },
        { "datafile_get_name(0)", "'notes'" },
        { "script_exists(0)", "1" },
        { "script_name(0)", "'twice'" },
        { "script_get_name(3)", "'<undefined>'" },
        { "script_get_text(0)", "'return argument0 * 2'" },
        { "script_get_text(5)", "''" },
        { "object_get_name(3)", "'top'" },
        { "object_get_sprite(3) * 10 + object_get_solid(3)", "1" },
        { "object_get_depth(3)", "-7" },
        { "object_get_parent(3) * 10 + object_get_parent(1)", "19" },
        { "object_get_mask(3)", "-1" },
        { "object_get_visible(9)", "-1" },
        { "room_exists(0) + room_exists(1)", "1" },
        { "room_get_name(0) == room_name(0)", "1" },
    };
    for (const Case& test : cases)
        EXPECT_EQ(value(test.code), test.value) << test.code;
    EXPECT_EQ(take_trace(), ""); // nothing is reported
}

TEST_F(ResourceFunctions, AncestorsAreFoundByFollowingTheParents)
{
    start_game_with_resources();
    struct Case {
        const char* code;
        const char* value;
    };
    const Case cases[] = {
        { "object_is_ancestor(3, 2)", "1" },
        { "object_is_ancestor(3, 1)", "1" },
        { "object_is_ancestor(3, 3)", "0" }, // the object itself does not count
        { "object_is_ancestor(1, 3)", "0" },
        { "object_is_ancestor(1, -1)", "0" },
        { "object_is_ancestor(7, 0)", "-1" },
    };
    for (const Case& test : cases)
        EXPECT_EQ(value(test.code), test.value) << test.code;
}

} // namespace
