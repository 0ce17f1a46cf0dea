// Media command strings onto music players: open with an alias, play, pause, resume, stop, seek, status, set
// and close, and the empty reply for everything else.
#include "capture_fixture.h"

using namespace quillon;
using namespace quillon::testing;

namespace {

class MciTest : public CaptureTest {
protected:
    MciCommands& mci() { return system->mci(); }
};

TEST_F(MciTest, OpensPlaysPausesAndClosesAFileUnderItsAlias)
{
    auto file = write_file(folder() / "tune file.mid", midi_note());
    EXPECT_EQ(mci().send("open \"" + file.string() + "\" type sequencer alias Tune"), "1");
    EXPECT_EQ(mci().send("open \"" + file.string() + "\" alias tune"), "");
    EXPECT_EQ(mci().send("status tune mode"), "stopped");
    EXPECT_EQ(mci().send("status tune length"), "500");
    EXPECT_EQ(mci().send("play TUNE from 0"), "");
    EXPECT_EQ(mci().send("status tune mode"), "playing");
    steps(1);
    EXPECT_EQ(mci().send("status tune position"), "33");
    EXPECT_EQ(mci().send("status tune mode"), "playing");
    steps(2);
    EXPECT_EQ(mci().send("status tune mode"), "playing");
    EXPECT_EQ(mci().send("pause tune"), "");
    EXPECT_EQ(mci().send("status tune mode"), "paused");
    EXPECT_EQ(mci().send("resume tune"), "");
    EXPECT_EQ(mci().send("status tune mode"), "playing");
    EXPECT_EQ(mci().send("stop tune"), "");
    EXPECT_EQ(mci().send("status tune mode"), "stopped");
    EXPECT_EQ(mci().send("seek tune to 250"), "");
    EXPECT_EQ(mci().send("status tune position"), "250");
    EXPECT_EQ(mci().send("status tune number of tracks"), "1");
    EXPECT_EQ(mci().send("set tune time format milliseconds"), "");
    EXPECT_EQ(mci().send("close tune"), "");
    EXPECT_EQ(mci().send("status tune mode"), "");
    auto samples = captured();
    EXPECT_GT(peak(samples, 0), 500);
}

TEST_F(MciTest, PlaysToAPlaceAndRepeats)
{
    auto file = write_file(folder() / "a.mid", midi_note());
    mci().send("open " + file.string() + " alias a");
    mci().send("play a from 0 to 100");
    steps(6);
    EXPECT_EQ(mci().send("status a mode"), "stopped");
    mci().send("play a repeat");
    steps(30);
    EXPECT_EQ(mci().send("status a mode"), "playing");
    mci().send("set a audio all off");
    mci().send("close all");
    EXPECT_EQ(mci().send("status a mode"), "");
}

TEST_F(MciTest, UnknownCommandsAndDevicesReplyNothing)
{
    const char* commands[] = {"", "play", "open cdaudio", "status cdaudio media present", "open missing.mid alias m",
        "play nothing", "sysinfo all quantity", "status a", "seek a to", "open new type waveaudio alias rec",
        "break a on 27", "\"unterminated"};
    for (const char* command : commands)
        EXPECT_EQ(mci().send(command), "") << command;
    auto garbage = write_file(folder() / "g.mp3", Bytes(300, 0x55));
    EXPECT_EQ(mci().send("open " + garbage.string() + " alias g"), "");
}

}  // namespace
