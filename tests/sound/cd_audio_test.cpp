// The CD functions: the command strings they send to a drive, how they read its replies, and their results on
// a machine without a drive.
#include "sound/cd_audio.h"
#include "sound/mci_commands.h"
#include "platform/openal/openal_mixer.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

using namespace quillon;

namespace {

// A drive with a disc: replies by command, every command kept.
struct FakeDrive {
    std::map<std::string, std::string> replies = {
        {"status cdaudio media present", "true"},
        {"status cdaudio number of tracks", "10"},
        {"status cdaudio mode", "stopped"},
        {"status cdaudio position", "02:01:15:00"},
    };
    std::vector<std::string> sent;
    CdAudio cd {[this](std::string_view command) {
        sent.emplace_back(command);
        auto found = replies.find(std::string(command));
        return found == replies.end() ? std::string() : found->second;
    }};
    // The commands sent since the last look, without the opens and presence checks.
    std::vector<std::string> commands()
    {
        std::vector<std::string> kept;
        for (const std::string& command : sent)
            if (command != "open cdaudio" && command != "status cdaudio media present"
                && command != "status cdaudio number of tracks")
                kept.push_back(command);
        sent.clear();
        return kept;
    }
};

using Commands = std::vector<std::string>;

TEST(CdAudio, PlaysTracksUpToTheStartOfTheNext)
{
    FakeDrive drive;
    drive.cd.play(3, 3);
    EXPECT_EQ(drive.commands(), (Commands {"set cdaudio time format tmsf wait", "play cdaudio from 3 to 4"}));
    drive.cd.play(8, 10);
    EXPECT_EQ(drive.commands(), (Commands {"set cdaudio time format tmsf wait", "play cdaudio from 8"}));
    drive.cd.play(0, 2);
    EXPECT_EQ(drive.commands(), (Commands {"set cdaudio time format tmsf wait", "play cdaudio from 1 to 3"}));
    drive.cd.play(5, 4);
    EXPECT_EQ(drive.commands(), (Commands {"set cdaudio time format tmsf wait"}));
}

TEST(CdAudio, ReadsPositionsFromTheReplies)
{
    FakeDrive drive;
    drive.replies["status cdaudio position"] = "01:02:03:04";
    EXPECT_EQ(drive.cd.track(), 1);
    EXPECT_EQ(drive.cd.track_position(), 123000);
    drive.sent.clear();
    EXPECT_EQ(drive.cd.track_length(0), 0);
    EXPECT_EQ(drive.commands(), Commands {});
    drive.replies["status cdaudio length track 4"] = "x2-5y0";
    EXPECT_EQ(drive.cd.track_length(4), 250);
    EXPECT_EQ(drive.cd.number(), 10);
    EXPECT_EQ(digits_of("no digits"), 0);
}

TEST(CdAudio, SetsTheTrackPositionBySeekingWhenStopped)
{
    FakeDrive drive;
    drive.cd.set_track_position(75500);
    Commands sent = drive.commands();
    ASSERT_GE(sent.size(), 4u);
    EXPECT_EQ(sent[sent.size() - 4], "set cdaudio time format tmsf wait");
    EXPECT_EQ(sent[sent.size() - 3], "status cdaudio mode");
    EXPECT_EQ(sent[sent.size() - 2], "seek cdaudio to 2:1:15");
    EXPECT_EQ(sent.back(), "set cdaudio time format tmsf");
    drive.replies["status cdaudio mode"] = "playing";
    drive.cd.set_position(4000);
    sent = drive.commands();
    EXPECT_EQ(sent.front(), "set cdaudio time format milliseconds wait");
    EXPECT_EQ(sent[sent.size() - 2], "play cdaudio from 4000");
    EXPECT_EQ(sent.back(), "set cdaudio time format tmsf");
}

TEST(CdAudio, PausedMeansPausedOrStopped)
{
    FakeDrive drive;
    EXPECT_TRUE(drive.cd.paused());
    drive.replies["status cdaudio mode"] = "paused";
    EXPECT_TRUE(drive.cd.paused());
    drive.replies["status cdaudio mode"] = "playing";
    EXPECT_FALSE(drive.cd.paused());
    EXPECT_TRUE(drive.cd.playing());
}

// Without a drive every question is answered as for no disc, and nothing fails.
TEST(CdAudio, WithoutADriveEverythingIsAsWithoutADisc)
{
    quillon::platform::OpenAlMixer mixer(false);
    MciCommands mci(mixer);
    CdAudio cd([&mci](std::string_view command) { return mci.send(command); });
    cd.init();
    cd.play(1, 3);
    cd.set_position(1000);
    cd.set_track_position(1000);
    cd.open_door();
    EXPECT_FALSE(cd.present());
    EXPECT_FALSE(cd.playing());
    EXPECT_FALSE(cd.paused());
    for (double result : {cd.number(), cd.track(), cd.length(), cd.track_length(1), cd.position(), cd.track_position()})
        EXPECT_EQ(result, 0);
}

}  // namespace
