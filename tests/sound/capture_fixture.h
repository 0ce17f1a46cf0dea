// Sounds played on the silent mixer with its capture on: the test plays, lets steps pass, and then reads back
// every sample that was mixed.
#pragma once

#include "platform/openal/openal_mixer.h"
#include "sound/sound_system.h"
#include "wave_builder.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace quillon::testing {

class CaptureTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_folder = std::filesystem::temp_directory_path()
            / ("quillon_sound_" + std::to_string(::getpid()) + "_"
                + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(m_folder);
        ASSERT_TRUE(mixer.capture_to(m_folder / "capture.wav"));
        mixer.open();
        system = std::make_unique<SoundSystem>(sounds, mixer, nullptr);
    }
    void TearDown() override
    {
        system.reset();
        mixer.close();
        std::filesystem::remove_all(m_folder);
    }

    // A sound from a file holding these bytes; its index.
    int add(const Bytes& bytes, const char* extension = ".wav", int buffers = 1, bool effects = false,
        bool load_on_use = false)
    {
        auto file = write_file(m_folder / ("s" + std::to_string(m_files++) + extension), bytes);
        return system->add(file, buffers, load_on_use, effects);
    }
    CSound& sound(int index) { return *sounds.get(index); }

    // Steps at a room speed; each mixes 1/speed s.
    void steps(int count, int speed = 30)
    {
        for (int i = 0; i < count; ++i)
            system->step_passed(speed);
    }

    // Everything mixed so far, interleaved stereo; the mixer is closed.
    std::vector<std::int16_t> captured()
    {
        system.reset();
        mixer.close();
        std::ifstream in(m_folder / "capture.wav", std::ios::binary);
        Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::vector<std::int16_t> samples;
        for (std::size_t i = 44; i + 1 < bytes.size(); i += 2)
            samples.push_back(static_cast<std::int16_t>(bytes[i] | (bytes[i + 1] << 8)));
        return samples;
    }

    std::filesystem::path folder() const { return m_folder; }

    platform::OpenAlMixer mixer {false};
    ResourceList<CSound> sounds;
    std::unique_ptr<SoundSystem> system;

private:
    std::filesystem::path m_folder;  // the sounds' files and the capture
    int m_files = 0;                 // files written so far
};

// The first frame from `from` on whose left or right sample is not 0; -1 for none.
inline std::ptrdiff_t first_sounding_frame(const std::vector<std::int16_t>& samples, std::size_t from = 0)
{
    for (std::size_t frame = from; frame * 2 + 1 < samples.size(); ++frame)
        if (samples[frame * 2] != 0 || samples[frame * 2 + 1] != 0)
            return static_cast<std::ptrdiff_t>(frame);
    return -1;
}

// The largest magnitude of one channel (0 left, 1 right) over frames [from, to).
inline int peak(const std::vector<std::int16_t>& samples, int channel, std::size_t from = 0, std::size_t to = SIZE_MAX)
{
    int most = 0;
    for (std::size_t frame = from; frame < to && frame * 2 + 1 < samples.size(); ++frame)
        most = std::max(most, std::abs(int(samples[frame * 2 + static_cast<std::size_t>(channel)])));
    return most;
}

}  // namespace quillon::testing
