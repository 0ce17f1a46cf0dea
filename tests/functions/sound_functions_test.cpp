// The sound functions as game code calls them: the messages for sounds that do not exist, the results of
// adding, replacing and deleting, the CD functions without a drive and media command strings.
#include "functions/sound_functions.h"
#include "play_fixture.h"
#include "platform/openal/openal_mixer.h"
#include "sound/sound_system.h"

#include <fstream>

using namespace quillon;
using namespace quillon::testing;

namespace {

class SoundFunctions : public PlayTest {
protected:
    void SetUp() override
    {
        PlayTest::SetUp();
        for (const FunctionEntry& entry : sound_functions())
            use_handler(entry.name, entry.handler);
        mixer.open();
        system = std::make_unique<SoundSystem>(sounds, mixer, nullptr);
        system->install();
        m_file = std::filesystem::temp_directory_path() / ("quillon_sound_functions_" + std::to_string(::getpid()) + ".wav");
        // A mono wave of 100 frames at full level.
        std::ofstream out(m_file, std::ios::binary);
        const unsigned char header[] = {'R', 'I', 'F', 'F', 236, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' ', 16, 0,
            0, 0, 1, 0, 1, 0, 0x44, 0xAC, 0, 0, 0x88, 0x58, 1, 0, 2, 0, 16, 0, 'd', 'a', 't', 'a', 200, 0, 0, 0};
        out.write(reinterpret_cast<const char*>(header), sizeof header);
        out.write(std::string(200, '\x40').data(), 200);
        out.close();
        add_room({{0, 100001, {}, false}});
        start();
    }
    void TearDown() override
    {
        system.reset();
        mixer.close();
        std::filesystem::remove(m_file);
        PlayTest::TearDown();
    }
    std::string call(const std::string& code)
    {
        Value result = run(instance(0), "return " + code);
        std::string text = result.is_string() ? "'" + result.string.str() + "'" : std::to_string(std::lround(result.real));
        std::string trace = take_trace();
        return trace.empty() ? text : text + " " + trace;
    }
    std::string file() const { return m_file.string(); }

    platform::OpenAlMixer mixer {false};
    std::unique_ptr<SoundSystem> system;

private:
    std::filesystem::path m_file;
};

TEST_F(SoundFunctions, MissingSoundsAreReportedWithTheirIndex)
{
    struct Case {
        const char* code;
        const char* result;
        const char* message;  // the error's last line, or none
    };
    const Case cases[] = {
        {"sound_play(3)", "0", "Trying to play non-existing sound: 3"},
        {"sound_loop(-1)", "0", "Trying to play non-existing sound: -1"},
        {"sound_stop(2.5)", "0", "Trying to stop non-existing sound: 2"},
        {"sound_pan(7, 0)", "0", "Trying to pan non-existing sound: 7"},
        {"sound_volume(7, 1)", "0", "Trying to change volume of non-existing sound: 7"},
        {"sound_frequency(7, 1)", "0", "Trying to change frequency of non-existing sound: 7"},
        {"sound_isplaying(7)", "0", nullptr},
        {"sound_replace(7, 'x.wav', 1, 0, 0)", "0", "Trying to replace non-existing sound."},
        {"sound_delete(7)", "0", "Trying to delete non-existing sound."},
        {"sound_discard(7)", "0", nullptr},
        {"sound_restore(7)", "0", nullptr},
        {"sound_add('no such file.wav', 1, 0, 0)", "-1", nullptr},
    };
    for (const Case& c : cases) {
        std::string got = call(c.code);
        if (c.message)
            EXPECT_TRUE(got.starts_with(std::string(c.result) + " [error] ") && got.ends_with("\n" + std::string(c.message) + "\n"))
                << c.code << ": " << got;
        else
            EXPECT_EQ(got, c.result) << c.code;
    }
}

TEST_F(SoundFunctions, AddedSoundsPlayStopAndGo)
{
    EXPECT_EQ(call("sound_add('" + file() + "', 2, 0.5, 1)"), "0");
    EXPECT_EQ(call("sound_get_name(0)"), "'__newsound0'");
    EXPECT_EQ(call("sound_get_loadonuse(0)"), "1");
    EXPECT_EQ(call("sound_play(0)"), "0");
    EXPECT_EQ(call("sound_isplaying(0)"), "1");
    EXPECT_EQ(call("sound_volume(0, 0.5)"), "0");
    EXPECT_EQ(system->sounds().get(0)->player->volume(), -5000);
    EXPECT_EQ(call("sound_stop_all()"), "0");
    EXPECT_EQ(call("sound_isplaying(0)"), "0");
    EXPECT_EQ(call("sound_discard(0)"), "0");
    EXPECT_FALSE(system->sounds().get(0)->player);
    EXPECT_EQ(call("sound_restore(0)"), "0");
    EXPECT_TRUE(system->sounds().get(0)->player);
    EXPECT_EQ(call("sound_replace(0, 'gone.mid', 1, 0, 0)"), "0");
    EXPECT_EQ(call("sound_replace(0, '" + file() + "', 1, 0, 0)"), "1");
    EXPECT_EQ(call("sound_delete(0)"), "1");
    EXPECT_EQ(call("sound_exists(0)"), "0");
}

TEST_F(SoundFunctions, TheSoundActionsGoThroughTheSoundFunctions)
{
    EXPECT_EQ(call("sound_add('" + file() + "', 1, 0, 0)"), "0");
    EXPECT_EQ(call("action_sound(0, 1)"), "0");
    EXPECT_EQ(call("action_if_sound(0)"), "1");
    EXPECT_EQ(call("action_end_sound(0, 0)"), "0");
    EXPECT_EQ(call("action_if_sound(0)"), "0");
    std::string got = call("action_sound(4, 0)");
    EXPECT_TRUE(got.ends_with("Trying to play non-existing sound: 4\n")) << got;
}

TEST_F(SoundFunctions, WithoutADriveTheCdIsEmptyAndCommandsReplyNothing)
{
    for (const char* code : {"cd_present()", "cd_number()", "cd_playing()", "cd_paused()", "cd_track()",
             "cd_length()", "cd_track_length(1)", "cd_position()", "cd_track_position()", "cd_init()",
             "cd_play(1, 2)", "cd_stop()", "cd_pause()", "cd_resume()", "cd_set_position(5)",
             "cd_set_track_position(5)", "cd_open_door()", "cd_close_door()"})
        EXPECT_EQ(call(code), "0") << code;
    EXPECT_EQ(call("MCI_command('open cdaudio')"), "''");
    EXPECT_EQ(call("MCI_command('no such command')"), "''");
}

}  // namespace
