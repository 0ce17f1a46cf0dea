// The game file: a round trip of every block and record kind, scrambling, and each load message.
#include "runner/game_file.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace quillon;

namespace {

Bitmap24 checker(int width, int height)
{
    Bitmap24 bitmap(width, height, make_color(255, 0, 255));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if ((x + y) % 2 == 0)
                bitmap.set_pixel(x, y, make_color(static_cast<std::uint8_t>(x * 10), static_cast<std::uint8_t>(y * 10), 7));
    return bitmap;
}

// A game that holds every block and every record kind, with an empty slot in each list.
GameFile full_game(std::int32_t seed)
{
    GameFile game;
    game.prefix.assign(GAME_DATA_OFFSET, 0x90);
    game.seed = seed;
    game.filler_1 = "filler";
    game.debug_value = 1;
    game.game_id = 4242;
    game.guid = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    game.settings.loading_bar = LOADING_BAR_OWN;
    game.settings.loading_bar_back = StoredImage::from_bitmap(checker(40, 8));
    game.settings.loading_bar_front = StoredImage::from_bitmap(checker(40, 8));
    game.settings.own_loading_image = true;
    game.settings.loading_image = StoredImage::from_bitmap(checker(33, 17));
    game.settings.icon = {0, 0, 1, 0};
    game.settings.extra_date = 45000.5;

    auto sound = std::make_unique<CSound>();
    sound->kind = SOUND_KIND_WAVE;
    sound->extension = ".wav";
    sound->data = {'R', 'I', 'F', 'F', 1, 2, 3};
    sound->buffers = 3;
    game.sounds.add("snd_beep", std::move(sound));
    game.sounds.add({}, nullptr);
    game.sounds.add("snd_silent", std::make_unique<CSound>());

    auto sprite = std::make_unique<CSprite>();
    sprite->width = 5;
    sprite->height = 3;
    sprite->bounding_box = {1, 0, 4, 2};
    sprite->origin_x = 2;
    sprite->frames = {StoredImage::from_bitmap(checker(5, 3)), StoredImage::from_bitmap(checker(5, 3))};
    game.sprites.add("spr_ball", std::move(sprite));
    game.sprites.add({}, nullptr);

    auto background = std::make_unique<CBackground>();
    background->width = 6;
    background->height = 6;
    background->has_image = true;
    background->image = StoredImage::from_bitmap(checker(6, 6));
    game.backgrounds.add("bg_sky", std::move(background));
    game.backgrounds.add("bg_empty", std::make_unique<CBackground>());

    auto path = std::make_unique<CPath>();
    path->smooth = 1;
    path->end_mode = PATH_END_STOP;
    path->points = {{0, 0, 100}, {100, 0, 50}, {100, 100, 100}};
    path->compute();
    game.paths.add("path_square", std::move(path));

    game.scripts.add("scr_move", std::make_unique<ScriptSource>(ScriptSource {"x += argument0;"}));
    game.scripts.add({}, nullptr);

    auto data_file = std::make_unique<CDataFile>();
    data_file->file_name = "levels\\one.txt";
    data_file->set_contents({'l', 'e', 'v', 'e', 'l'});
    data_file->export_mode = DATA_FILE_TO_ITS_NAME;
    game.data_files.add("level_one", std::move(data_file));

    auto time_line = std::make_unique<CTimeLine>();
    time_line->moments.push_back({0, {}});
    time_line->moments.push_back({30, {}});
    time_line->moments[1].event.actions.push_back(CAction::code_action("instance_destroy();"));
    game.time_lines.add("tl_intro", std::move(time_line));

    auto object = std::make_unique<CObject>();
    object->sprite = 0;
    object->solid = true;
    object->depth = -5;
    object->event(EVENT_STEP, 2).actions.push_back(CAction::code_action("y += 1;"));
    object->event(EVENT_CREATE, 0).actions.push_back(CAction::code_action("speed = 3;"));
    object->event(EVENT_COLLISION, 1);  // stored with no actions
    CAction question;
    question.version = ACTION_VERSION;
    question.is_question = true;
    question.execution_type = EXECUTE_FUNCTION;
    question.function_name = "action_if_dice";
    question.argument_count = 1;
    question.argument_kinds = {0};
    question.arguments = {"6"};
    question.negate = true;
    question.applies_to = 1;
    CAction old_action;
    old_action.version = 300;
    object->event(EVENT_KEY_PRESS, 37).actions = {question, old_action};
    game.objects.add("obj_ball", std::move(object));
    auto old_object = std::make_unique<CObject>();
    old_object->version = OBJECT_VERSION_OLD;
    old_object->parent = 0;
    old_object->event(EVENT_DRAW, 0).actions.push_back(CAction::code_action("draw_sprite(0, 0, x, y);"));
    game.objects.add("obj_old", std::move(old_object));

    auto room = std::make_unique<CRoom>();
    room->caption = "Room \xe9";
    room->speed = 60;
    room->creation_code = "score = 0;";
    room->layers[0] = {true, false, 0, 10, 20, true, false, 1, -1};
    room->views_enabled = true;
    room->views[0].visible = true;
    room->views[0].object_followed = 0;
    room->instances = {{32, 48, 0, 100001, "hspeed = 2;", true}, {64, 48, 1, 100002, "", false}};
    room->tiles = {{0, 0, 0, 0, 0, 3, 3, 1000, 1000001}};
    room->editor_settings[3] = 1;
    game.rooms.add("room_first", std::move(room));
    game.last_instance_id = 100002;
    game.last_tile_id = 1000001;

    game.information.background_color = 0x00FFEE;
    game.information.show_in_game_window = true;
    game.information.rich_text = "{\\rtf1 hello}";
    game.action_library_code = {"global.lives_shown = 1;", ""};
    game.room_order = {0};
    return game;
}

LoadOutcome load(std::vector<std::uint8_t> bytes, GameFile& game)
{
    CStream stream(std::move(bytes));
    return read_game_file(stream, game);
}

}  // namespace

TEST(GameFile, EveryBlockRoundTripsByteForByte)
{
    for (std::int32_t seed : {0, 12345, 214748, 999999999}) {
        std::vector<std::uint8_t> written = write_game_file(full_game(seed));
        GameFile read;
        LoadOutcome outcome = load(written, read);
        ASSERT_TRUE(outcome.ok) << outcome.message;
        EXPECT_EQ(write_game_file(read), written) << "seed " << seed;

        EXPECT_TRUE(read.debug());
        EXPECT_EQ(read.game_id, 4242);
        EXPECT_EQ(read.sounds.name(1), "<undefined>");
        EXPECT_EQ(read.sounds.get(0)->data, (std::vector<std::uint8_t> {'R', 'I', 'F', 'F', 1, 2, 3}));
        EXPECT_EQ(read.sprites.get(0)->frames[1].bitmap, checker(5, 3));
        EXPECT_EQ(read.settings.loading_image.bitmap, checker(33, 17));
        EXPECT_EQ(read.paths.get(0)->computed().size(), 17u);
        EXPECT_EQ(read.data_files.get(0)->contents.bytes(), (std::vector<std::uint8_t> {'l', 'e', 'v', 'e', 'l'}));
        EXPECT_EQ(read.objects.find("obj_old"), 1);
        EXPECT_EQ(read.objects.get(0)->own_event(EVENT_KEY_PRESS, 37)->actions[1].version, 300);
        EXPECT_EQ(read.objects.get(0)->own_event(EVENT_COLLISION, 1), nullptr);
        EXPECT_EQ(read.rooms.get(0)->instances[0].creation_code, "hspeed = 2;");
        EXPECT_EQ(read.last_tile_id, 1000001);
        EXPECT_EQ(read.information.rich_text, "{\\rtf1 hello}");
    }
}

TEST(GameFile, ScramblingKeepsTheFirstFillerByteAndInvertsForEverySeed)
{
    for (std::int32_t seed : {-3, 0, 1, 77, 214748, 214749, 2147483647}) {
        std::vector<std::uint8_t> plain(300);
        for (std::size_t i = 0; i < plain.size(); ++i)
            plain[i] = static_cast<std::uint8_t>(i * 7);
        CStream stream(plain);
        Scramble(stream, seed, 10, 0);
        if (seed <= 0) {
            EXPECT_EQ(stream.bytes(), plain);
        }
        EXPECT_EQ(stream.bytes()[9], plain[9]);
        Unscramble(stream, seed, 10, 0);
        EXPECT_EQ(stream.bytes(), plain) << seed;
    }
    GameFile game = full_game(555);
    std::vector<std::uint8_t> written = write_game_file(game);
    EXPECT_EQ(written[GAME_DATA_OFFSET + 8], 6);  // the low byte of the filler's length, stored plain
}

TEST(GameFile, HeaderFailuresGiveTheirMessages)
{
    std::vector<std::uint8_t> valid = write_game_file(full_game(0));
    auto patched = [&](std::size_t offset, std::int32_t value) {
        auto bytes = valid;
        std::memcpy(&bytes[offset], &value, 4);
        return bytes;
    };
    std::size_t after_fillers = GAME_DATA_OFFSET + 8 + 4 + 6 + 4;
    struct Case {
        std::vector<std::uint8_t> bytes;
        const char* message;
    };
    const Case cases[] = {
        {std::vector<std::uint8_t>(GAME_DATA_OFFSET - 1), "Not a valid quillon file."},
        {patched(GAME_DATA_OFFSET, 1230501), "Not a valid quillon 5 game."},
        {patched(after_fillers, 7), "Not a valid quillon game."},
        {patched(after_fillers + 4, 400), "Wrong version number."},
        {patched(after_fillers + 8 + 4 + 4 + 16, 499), "Error loading options."},
    };
    for (const Case& c : cases) {
        GameFile game;
        LoadOutcome outcome = load(c.bytes, game);
        EXPECT_FALSE(outcome.ok);
        EXPECT_EQ(outcome.message, c.message);
    }
    // A file of exactly the prefix passes the size check and fails on the first read past its end.
    GameFile game;
    EXPECT_THROW(load(std::vector<std::uint8_t>(GAME_DATA_OFFSET), game), StreamError);
}

TEST(GameFile, EachRefusedBlockGivesItsMessage)
{
    GameFile source = full_game(0);
    std::vector<std::uint8_t> valid = write_game_file(source);
    // Where each block starts, seen from the progress reports made just before it.
    std::vector<std::pair<std::string, std::size_t>> starts;
    {
        CStream stream(valid);
        GameFile game;
        ASSERT_TRUE(read_game_file(stream, game, [&](int, std::string_view caption) {
            starts.emplace_back(std::string(caption), stream.position());
        }).ok);
    }
    const std::pair<const char*, const char*> cases[] = {
        {"Loading sounds", "Error loading sounds."},
        {"Loading sprites", "Error loading sprites."},
        {"Loading backgrounds", "Error loading backgrounds."},
        {"Loading paths", "Error loading paths."},
        {"Loading scripts", "Error loading scripts."},
        {"Loading data files", "Error loading data files."},
        {"Loading time lines", "Error loading time lines."},
        {"Loading objects", "Error loading objects."},
        {"Loading rooms", "Error loading rooms."},
        {"Loading help", "Error loading game information."},
        {"Loading room order", "Error loading room order. Game has no rooms?"},
    };
    for (auto [caption, message] : cases) {
        auto found = std::find_if(starts.begin(), starts.end(), [&](auto& s) { return s.first == caption; });
        ASSERT_NE(found, starts.end()) << caption;
        auto bytes = valid;
        std::int32_t wrong = 399;
        std::memcpy(&bytes[found->second], &wrong, 4);
        GameFile game;
        EXPECT_EQ(load(bytes, game).message, message) << caption;
    }
    // The action libraries come just before the room order: its version, count and two strings.
    auto room_order = std::find_if(starts.begin(), starts.end(), [](auto& s) { return s.first == "Loading room order"; });
    auto bytes = valid;
    std::int32_t wrong = 499;
    std::size_t libraries = room_order->second - (4 + 4 + 4 + source.action_library_code[0].size() + 4);
    std::memcpy(&bytes[libraries], &wrong, 4);
    GameFile game;
    EXPECT_EQ(load(bytes, game).message, "Error loading action libraries.");

    source.room_order.clear();
    EXPECT_EQ(load(write_game_file(source), game).message, "Error loading room order. Game has no rooms?");
}

TEST(GameFile, RecordVersionsInsideListsAreChecked)
{
    // A wrong record version refuses its list; a wrong action version only empties that action.
    GameFile source = full_game(0);
    source.objects.get(0)->version = 401;
    GameFile game;
    EXPECT_EQ(load(write_game_file(source), game).message, "Error loading objects.");
}
