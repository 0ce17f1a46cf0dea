// Saved games: a game comes back as it was saved, files of other games and versions, damaged and missing files
// leave the running game alone, a failed save keeps the earlier one, and secure mode keeps saves local.
#include "loop_fixture.h"

#include "world/save_game.h"

#include <filesystem>
#include <unistd.h>

using namespace quillon;
using namespace quillon::testing;

namespace {

class SaveGame : public LoopTest {
protected:
    void SetUp() override
    {
        LoopTest::SetUp();
        m_folder = std::filesystem::temp_directory_path() / ("quillon_save_" + std::to_string(::getpid()));
        std::filesystem::create_directories(m_folder);
        int mover = add_object_with(add_box_sprite());
        event(mover, EVENT_CREATE).actions = {code_action("hspeed = 2; alarm[1] = 9; name = 'first'")};
        add_room({{5, 0, mover, 100101, {}, false}}, "global.level = 3");
        add_room();
    }
    void TearDown() override
    {
        std::filesystem::remove_all(m_folder);
        LoopTest::TearDown();
    }
    std::string file(const char* name) const { return (m_folder / name).string(); }
    // The running game in a few values.
    std::string state()
    {
        Value level = run(instance(0), "return global.level");
        const CInstance& mover = instance(0);
        return std::to_string(world().current_room()->instance_count()) + " x" + std::to_string(int(mover.x()))
               + " alarm" + std::to_string(mover.alarms[1]) + " level" + std::to_string(int(level.real))
               + " score" + std::to_string(game_counters().score);
    }

    std::filesystem::path m_folder;  // the test's own files
};

}  // namespace

TEST_F(SaveGame, AGameComesBackAsItWasSavedWithoutEventsAndNewIdsGoOnFromTheCounter)
{
    start_game();
    loop().step();
    game_counters().score = 40;
    ASSERT_TRUE(loop().save(file("one.sav")));
    std::string saved = state();
    EXPECT_EQ(saved, "1 x7 alarm9 level3 score40");  // no alarm 1 event: not counted down
    loop().step();
    game_counters().score = 0;
    create(0, 0, 0);
    std::int32_t last_id = instance(1).m_id;
    run(instance(0), "global.level = 9");
    ASSERT_TRUE(loop().load(file("one.sav")));
    EXPECT_EQ(state(), saved);
    EXPECT_EQ(take_trace(), "");  // no create, room start or room end events
    EXPECT_EQ(create(0, 0, 0).m_id, last_id + 1);
    EXPECT_EQ(run(instance(0), "return name").string.str(), "first");
}

TEST_F(SaveGame, TheFileStartsWithVersionGameRoomTransitionAndCounters)
{
    start_game();
    world().set_transition({3, 7, 11});
    game_counters() = GameCounters {40, 2, 55.5};
    ASSERT_TRUE(loop().save(file("head.sav")));
    CStream stream = *CStream::from_file(file("head.sav"));
    std::vector<std::int32_t> head;
    for (int i = 0; i < 8; ++i)
        head.push_back(stream.ReadInt());
    // Version, game id, room, transition kind, time and steps, score, lives; then health as a real.
    EXPECT_EQ(head, (std::vector<std::int32_t> {420, 0, 0, 3, 7, 11, 40, 2}));
    EXPECT_EQ(stream.ReadReal(), 55.5);
}

TEST_F(SaveGame, FilesThatCannotBeLoadedLeaveTheGameAsItWas)
{
    start_game();
    ASSERT_TRUE(loop().save(file("good.sav")));
    std::vector<std::uint8_t> good = CStream::from_file(file("good.sav"))->bytes();
    auto write = [&](const char* name, std::vector<std::uint8_t> bytes) {
        CStream(std::move(bytes)).save_to_file(file(name));
        return file(name);
    };
    std::vector<std::uint8_t> other_game = good;
    other_game[4] = 7;  // the game id
    std::vector<std::uint8_t> other_version = good;
    other_version[0] = 0;
    std::vector<std::uint8_t> garbage = good;
    for (std::size_t i = 40; i < garbage.size(); ++i)
        garbage[i] = 0xFF;
    struct Case {
        std::string file;   // loaded
        std::string error;  // reported, or empty
    };
    const Case cases[] = {
        {file("missing.sav"), ""},
        {write("other_game.sav", other_game), "[error] This is a save file for a different game!\n"},
        {write("other_version.sav", other_version), "[error] Cannot load game saved with other version.\n"},
        {write("short.sav", {good.begin(), good.begin() + 3}), "[error] The save file " + file("short.sav")
                                                                  + " is damaged: the game goes on as it was.\n"},
        {write("truncated.sav", {good.begin(), good.end() - 5}), "[error] The save file " + file("truncated.sav")
                                                                    + " is damaged: the game goes on as it was.\n"},
        {write("garbage.sav", garbage), "[error] The save file " + file("garbage.sav")
                                            + " is damaged: the game goes on as it was.\n"},
    };
    loop().step();
    std::string before = state();
    for (const Case& test : cases) {
        EXPECT_FALSE(loop().load(test.file)) << test.file;
        EXPECT_EQ(take_trace(), test.error);
        EXPECT_EQ(state(), before) << test.file;
        errors().reset();
    }
}

TEST_F(SaveGame, AFailedSaveKeepsTheEarlierSaveAndSecureModeKeepsSavesLocal)
{
    start_game();
    ASSERT_TRUE(loop().save(file("kept.sav")));
    std::vector<std::uint8_t> earlier = CStream::from_file(file("kept.sav"))->bytes();
    // A folder where the temporary file should go makes the write fail before the old file is touched.
    std::filesystem::create_directory(file("kept.sav.part"));
    loop().step();
    EXPECT_FALSE(loop().save(file("kept.sav")));
    EXPECT_EQ(take_trace(), "[error] Failed to save game to file " + file("kept.sav") + "\n");
    EXPECT_EQ(CStream::from_file(file("kept.sav"))->bytes(), earlier);
    errors().reset();

    loop().secure_mode = true;
    EXPECT_FALSE(loop().save(file("secure.sav")));
    std::string refused = take_trace();  // reported with the place in the game
    EXPECT_EQ(refused.substr(refused.find("In secure")), "In secure mode you cannot save game to file " + file("secure.sav") + "\n");
    errors().reset();
    std::filesystem::path here = std::filesystem::current_path();
    std::filesystem::current_path(m_folder);
    EXPECT_TRUE(loop().save("plain.sav"));
    std::filesystem::current_path(here);
    EXPECT_TRUE(std::filesystem::exists(file("plain.sav")));
}

TEST_F(SaveGame, TheQuickSaveKeysSaveAndLoadAtOnce)
{
    std::filesystem::path here = std::filesystem::current_path();
    std::filesystem::current_path(m_folder);
    start_game();
    loop().input().key_down(KEY_F5);
    loop().step();
    EXPECT_TRUE(std::filesystem::exists(quick_save_name(0)));
    std::string saved = state();
    loop().step();
    loop().input().key_down(KEY_F6);
    loop().step();  // loaded at once (x 5), then the rest of the step runs: one more move
    std::filesystem::current_path(here);
    EXPECT_EQ(state(), saved);
}
