// Sounds heard through the captured mix: when they start, pan, volume, frequency, looping, overlapping
// buffers, music, and players that cannot play.
#include "capture_fixture.h"
#include "sound/sound_levels.h"
#include "support/game_error.h"

#include <cmath>

using namespace quillon;
using namespace quillon::testing;

namespace {

constexpr int FRAMES_PER_STEP = 1470;  // at 30 steps per second

using SoundPlayback = CaptureTest;

TEST_F(SoundPlayback, ASoundPlayedAtAStepStartsAtThatStepsFirstSample)
{
    int index = add(constant_wave(1000, 100));
    steps(7);
    system->play(index, false);
    steps(3);
    auto samples = captured();
    ASSERT_EQ(samples.size(), 10u * FRAMES_PER_STEP * 2);
    EXPECT_EQ(first_sounding_frame(samples), 7 * FRAMES_PER_STEP);
    EXPECT_EQ(samples[7 * FRAMES_PER_STEP * 2], 1000);
    EXPECT_EQ(first_sounding_frame(samples, 7 * FRAMES_PER_STEP + 100), -1);
}

// Odd room speeds keep the fractions of frames: 7 steps at 7 per second are exactly one second.
TEST_F(SoundPlayback, StepsOfAnyRoomSpeedAddUpToTheirTime)
{
    steps(7, 7);
    EXPECT_EQ(captured().size(), 44100u * 2);
}

TEST_F(SoundPlayback, PanAttenuatesTheOtherChannelByItsDecibels)
{
    struct Case {
        double pan;
        int left, right;
    };
    // 10000 at full scale; pan 0.25 is -5000 hundredths of a decibel: the right channel at 10^-2.5.
    const Case cases[] = {{0, 10000, 0}, {0.25, 10000, 32}, {0.5, 10000, 10000}, {0.75, 32, 10000}, {1, 0, 10000}};
    std::vector<int> indices;
    for (const Case& c : cases) {
        int index = add(constant_wave(10000, 441), ".wav", 1, true);
        sound(index).set_pan(mixer, c.pan);
        indices.push_back(index);
    }
    for (int index : indices) {
        system->play(index, false);
        steps(1);
    }
    auto samples = captured();
    for (std::size_t i = 0; i < indices.size(); ++i) {
        std::size_t from = i * FRAMES_PER_STEP + 10, to = from + 400;
        EXPECT_NEAR(peak(samples, 0, from, to), cases[i].left, 1) << "pan " << cases[i].pan;
        EXPECT_NEAR(peak(samples, 1, from, to), cases[i].right, 1) << "pan " << cases[i].pan;
    }
}

TEST_F(SoundPlayback, VolumeScalesTheAmplitudeByItsDecibels)
{
    const double volumes[] = {1, 0.9, 0.8, 0.5, 0};
    std::vector<int> indices;
    for (double volume : volumes) {
        int index = add(constant_wave(20000, 441), ".wav", 1, true);
        sound(index).set_volume(mixer, volume);
        indices.push_back(index);
    }
    for (int index : indices) {
        system->play(index, false);
        steps(1);
    }
    auto samples = captured();
    for (std::size_t i = 0; i < indices.size(); ++i) {
        double expected = 20000 * attenuation_gain(volume_level(volumes[i]));
        std::size_t from = i * FRAMES_PER_STEP + 10;
        EXPECT_NEAR(peak(samples, 0, from, from + 400), expected, 1) << "volume " << volumes[i];
        EXPECT_NEAR(peak(samples, 1, from, from + 400), expected, 1) << "volume " << volumes[i];
    }
}

// A tenth of a second at 22050 samples per second lasts half as long played at 44100.
TEST_F(SoundPlayback, FrequencyChangesTheDuration)
{
    int plain = add(constant_wave(5000, 2205, 22050), ".wav", 1, true);
    int faster = add(constant_wave(5000, 2205, 22050), ".wav", 1, true);
    sound(faster).set_frequency(mixer, (44100.0 - 100) / 99900);
    EXPECT_EQ(sound(faster).player->frequency(), 44100);
    system->play(plain, false);
    steps(6);
    system->play(faster, false);
    steps(6);
    auto samples = captured();
    auto length = [&](std::size_t from) {
        std::size_t frame = from;
        while (samples[frame * 2] != 0)
            ++frame;
        return static_cast<double>(frame - from);
    };
    EXPECT_NEAR(length(0), 4410, 4);
    EXPECT_NEAR(length(6 * FRAMES_PER_STEP), 2205, 4);
}

TEST_F(SoundPlayback, ALoopRepeatsUntilStopped)
{
    int index = add(constant_wave(3000, 441));
    system->play(index, true);
    steps(30);
    EXPECT_TRUE(sound(index).is_playing());
    sound(index).stop();
    EXPECT_FALSE(sound(index).is_playing());
    steps(3);
    auto samples = captured();
    EXPECT_EQ(peak(samples, 0, 0, 30 * FRAMES_PER_STEP), 3000);
    EXPECT_EQ(peak(samples, 0, 29 * FRAMES_PER_STEP, 30 * FRAMES_PER_STEP), 3000);
    EXPECT_EQ(first_sounding_frame(samples, 30 * FRAMES_PER_STEP), -1);
}

// Two plays a step apart of a sound two steps long: one buffer restarts, three buffers sound together.
TEST_F(SoundPlayback, OnlySeveralBuffersLetASoundOverlapItself)
{
    int single = add(constant_wave(4000, 2 * FRAMES_PER_STEP));
    int triple = add(constant_wave(4000, 2 * FRAMES_PER_STEP), ".wav", 3);
    for (int index : {single, triple}) {
        system->play(index, false);
        steps(1);
        system->play(index, false);
        steps(4);
    }
    auto samples = captured();
    EXPECT_EQ(peak(samples, 0, 0, 5 * FRAMES_PER_STEP), 4000);
    EXPECT_EQ(peak(samples, 0, 5 * FRAMES_PER_STEP, 10 * FRAMES_PER_STEP), 8000);
}

TEST_F(SoundPlayback, BuffersAreUsedInTurnWithinOneToSixteen)
{
    int three = add(constant_wave(1, 10), ".wav", 3);
    std::vector<int> used;
    for (int i = 0; i < 4; ++i)
        used.push_back(sound(three).player->play(false));
    EXPECT_EQ(used, (std::vector<int> {1, 2, 0, 1}));
    EXPECT_EQ(sound(add(constant_wave(1, 10), ".wav", 0)).player->buffer_count(), 1);
    EXPECT_EQ(sound(add(constant_wave(1, 10), ".wav", -3)).player->buffer_count(), 1);
    EXPECT_EQ(sound(add(constant_wave(1, 10), ".wav", 40)).player->buffer_count(), 16);
}

TEST_F(SoundPlayback, AMidiFileRendersSound)
{
    int index = add(midi_note(), ".mid");
    ASSERT_TRUE(sound(index).player->usable());
    EXPECT_EQ(sound(index).player->music()->length_ms(), 500);
    system->play(index, false);
    steps(6);
    EXPECT_TRUE(sound(index).is_playing());
    steps(30);
    EXPECT_FALSE(sound(index).is_playing());
    auto samples = captured();
    EXPECT_GT(peak(samples, 0, 0, 15 * FRAMES_PER_STEP), 500);
    EXPECT_EQ(first_sounding_frame(samples, 30 * FRAMES_PER_STEP), -1);
}

TEST_F(SoundPlayback, ALoopingMidiFileStartsAgainAtItsEnd)
{
    int index = add(midi_note(), ".mid");
    system->play(index, true);
    steps(60);
    EXPECT_TRUE(sound(index).is_playing());
    auto samples = captured();
    EXPECT_GT(peak(samples, 0, 45 * FRAMES_PER_STEP, 50 * FRAMES_PER_STEP), 500);
}

TEST_F(SoundPlayback, MusicStopsTheMusicBeforeItButNotOtherSounds)
{
    int first = add(midi_note(60), ".mid");
    int second = add(midi_note(64), ".mid");
    int other = add(midi_note(67), ".midi");
    int wave = add(constant_wave(100, 44100));
    for (int index : {first, other, wave})
        system->play(index, true);
    steps(2);
    system->play(second, true);
    steps(2);
    EXPECT_FALSE(sound(first).is_playing());
    EXPECT_TRUE(sound(second).is_playing());
    EXPECT_TRUE(sound(other).is_playing());
    EXPECT_TRUE(sound(wave).is_playing());
    EXPECT_EQ(sound(first).kind, SOUND_KIND_MUSIC);
    EXPECT_EQ(sound(other).kind, SOUND_KIND_OTHER);
}

// Garbage, empty and broken files give players that stay silent; playing them is harmless.
TEST_F(SoundPlayback, FilesThatCannotPlayGiveSilentPlayers)
{
    Bytes short_fmt;
    put_chunk(short_fmt, "fmt ", Bytes(14, 1));
    put_chunk(short_fmt, "data", pcm16({1000, 1000}));
    Bytes garbage(5000);
    for (std::size_t i = 0; i < garbage.size(); ++i)
        garbage[i] = static_cast<std::uint8_t>(i * 7919 % 251);
    Bytes broken_midi = midi_note();
    broken_midi.resize(broken_midi.size() - 4);
    const std::pair<Bytes, const char*> files[] = {
        {riff(short_fmt), ".wav"},
        {wave16({}), ".wav"},
        {garbage, ".wav"},
        {garbage, ".mp3"},
        {garbage, ".mid"},
        {broken_midi, ".mid"},
        {Bytes {}, ".mp3"},
    };
    for (const auto& [bytes, extension] : files) {
        int index = add(bytes, extension, 2, true);
        ASSERT_GE(index, 0);
        EXPECT_FALSE(sound(index).player->usable()) << extension;
        system->play(index, true);
        sound(index).set_frequency(mixer, 1e9);
        EXPECT_FALSE(sound(index).is_playing()) << extension;
    }
    steps(3);
    EXPECT_EQ(first_sounding_frame(captured()), -1);
}

TEST_F(SoundPlayback, AMusicFileNameTooLongForThePlayerIsReported)
{
    std::string reported;
    auto previous = set_game_error_handler([&](std::string_view message, bool fatal) {
        reported += std::string(message) + (fatal ? " (fatal)" : "") + "\n";
    });
    std::string name = "music" + std::string(130, 'x');
    int index = add(midi_note(), (name + ".mid").c_str());
    set_game_error_handler(previous);
    EXPECT_EQ(reported, "Music file name is too long for the player.\n");
    EXPECT_FALSE(sound(index).player->usable());
}

TEST_F(SoundPlayback, ExtremeFrequenciesPlayWithinTheirLimits)
{
    int index = add(constant_wave(1000, 4410, 8000), ".wav", 1, true);
    for (double value : {0.0, -5.0, 1e9, std::nan("")}) {
        sound(index).set_frequency(mixer, value);
        system->play(index, false);
        steps(1);
    }
    EXPECT_EQ(sound(index).player->frequency(), 100);
    auto samples = captured();
    EXPECT_EQ(peak(samples, 0), 1000);
}

TEST_F(SoundPlayback, LoadOnUseSoundsAreMadeOnUseAndLetGoWhenSilent)
{
    int waiting = add(constant_wave(1, 100), ".wav", 1, false, true);
    int playing = add(constant_wave(1, 44100), ".wav", 1, false, true);
    int kept = add(constant_wave(1, 100));
    EXPECT_FALSE(sound(waiting).player);
    system->play(waiting, false);
    system->play(playing, false);
    EXPECT_TRUE(sound(waiting).player);
    steps(2);
    system->release_silent();
    EXPECT_FALSE(sound(waiting).player);
    EXPECT_TRUE(sound(playing).player);
    EXPECT_TRUE(sound(kept).player);
    system->discard_all();
    EXPECT_FALSE(sound(playing).player);
    EXPECT_TRUE(sound(kept).player);
}

TEST_F(SoundPlayback, ASoundWithoutDataNeverPlays)
{
    auto empty = std::make_unique<CSound>();
    empty->kind = SOUND_KIND_NONE;
    sounds.add("nothing", std::move(empty));
    EXPECT_TRUE(system->prepare_all());
    system->play(0, false);
    EXPECT_FALSE(sound(0).player);
    EXPECT_FALSE(sound(0).is_playing());
}

TEST_F(SoundPlayback, AddReplaceAndDeleteFollowTheList)
{
    int first = add(constant_wave(1, 10));
    EXPECT_EQ(first, 0);
    EXPECT_EQ(sounds.name(0), "__newsound0");
    EXPECT_EQ(system->add(folder() / "missing.wav", 1, false, false), -1);
    EXPECT_EQ(sounds.count(), 1);
    auto music = write_file(folder() / "tune.MID", midi_note());
    EXPECT_TRUE(system->replace(0, music, 2, true, false));
    EXPECT_EQ(sound(0).kind, SOUND_KIND_MUSIC);
    EXPECT_EQ(sound(0).buffers, 2);
    EXPECT_FALSE(system->replace(1, music, 1, false, false));
    EXPECT_FALSE(system->replace(0, folder() / "missing.wav", 1, false, false));
    EXPECT_TRUE(system->remove(0));
    EXPECT_FALSE(system->remove(0));
    EXPECT_TRUE(system->replace(0, music, 1, false, false));
    EXPECT_TRUE(sounds.exists(0));
}

}  // namespace
