// Mixing speed: 64 looping sounds whose pan, volume and frequency change every step, for 10 s of game time at
// 60 steps per second, mixed headless; processor time per second of audio, against the same mix (without
// pitch, which it does not have) rendered by SDL2_mixer with 64 channels, Mix_SetPanning and Mix_Volume.
#include "platform/openal/openal_mixer.h"
#include "sound/sound_system.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <thread>
#include <vector>

#include <unistd.h>

using namespace quillon;

namespace {

constexpr int SOUNDS = 64;
constexpr int STEPS_PER_SECOND = 60;
constexpr int SECONDS = 10;
constexpr int SOUND_RATE = 22050;
constexpr double BAR = 1.5;  // our time may be at most this many times the peer's

double thread_seconds()
{
    timespec now {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// A second of a tone, different for each sound, as a mono 16-bit wave file.
std::vector<std::int16_t> tone(int index)
{
    std::vector<std::int16_t> samples(SOUND_RATE);
    for (int i = 0; i < SOUND_RATE; ++i)
        samples[static_cast<std::size_t>(i)] =
            static_cast<std::int16_t>(2000 * std::sin(i * (200.0 + 20 * index) * 2 * M_PI / SOUND_RATE));
    return samples;
}

void write_wave(const std::filesystem::path& file, const std::vector<std::int16_t>& samples)
{
    auto u32 = [](std::ofstream& out, std::uint32_t v) { out.write(reinterpret_cast<const char*>(&v), 4); };
    auto u16 = [](std::ofstream& out, std::uint16_t v) { out.write(reinterpret_cast<const char*>(&v), 2); };
    std::ofstream out(file, std::ios::binary);
    std::uint32_t bytes = static_cast<std::uint32_t>(samples.size() * 2);
    out.write("RIFF", 4);
    u32(out, 36 + bytes);
    out.write("WAVEfmt ", 8);
    u32(out, 16);
    u16(out, 1);
    u16(out, 1);
    u32(out, SOUND_RATE);
    u32(out, SOUND_RATE * 2);
    u16(out, 2);
    u16(out, 16);
    out.write("data", 4);
    u32(out, bytes);
    out.write(reinterpret_cast<const char*>(samples.data()), bytes);
}

// The settings of sound i at step s: slow sweeps, each sound at its own phase.
double sweep(int i, int step, double speed) { return 0.5 + 0.5 * std::sin(step * speed + i); }

double ours(const std::vector<std::filesystem::path>& files)
{
    platform::OpenAlMixer mixer(false);
    mixer.open();
    ResourceList<CSound> sounds;
    SoundSystem system(sounds, mixer, nullptr);
    for (const auto& file : files)
        system.add(file, 1, false, true);
    double start = thread_seconds();
    for (int i = 0; i < SOUNDS; ++i)
        system.play(i, true);
    for (int step = 0; step < SECONDS * STEPS_PER_SECOND; ++step) {
        for (int i = 0; i < SOUNDS; ++i) {
            CSound& sound = *sounds.get(i);
            sound.set_pan(mixer, sweep(i, step, 0.05));
            sound.set_volume(mixer, 0.8 + 0.2 * sweep(i, step, 0.03));
            sound.set_frequency(mixer, (SOUND_RATE - 100 + 2000 * sweep(i, step, 0.02)) / 99900.0);
        }
        system.step_passed(STEPS_PER_SECOND);
    }
    return thread_seconds() - start;
}

// SDL2_mixer mixes in its audio thread; the disk driver without delay runs it as fast as it can, and the
// mixing thread's own processor time is read from the post-mix hook.
std::atomic<long> s_frames_mixed {0};
double s_mix_start = 0;
double s_mix_end = 0;

void count_mixed(void*, Uint8*, int bytes)
{
    if (s_frames_mixed == 0)
        s_mix_start = thread_seconds();
    s_frames_mixed += bytes / 4;
    if (s_frames_mixed <= long(SECONDS) * platform::MIX_RATE)
        s_mix_end = thread_seconds();
}

double peer(const std::vector<std::filesystem::path>& files)
{
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", "/dev/null", 1);
    setenv("SDL_DISKAUDIODELAY", "0", 1);
    SDL_LogSetPriority(SDL_LOG_CATEGORY_AUDIO, SDL_LOG_PRIORITY_ERROR);
    if (SDL_Init(SDL_INIT_AUDIO) != 0 || Mix_OpenAudio(platform::MIX_RATE, AUDIO_S16SYS, 2, 1024) != 0) {
        std::printf("SDL2_mixer could not open its output: %s\n", SDL_GetError());
        return -1;
    }
    Mix_AllocateChannels(SOUNDS);
    std::vector<Mix_Chunk*> chunks;
    for (const auto& file : files)
        chunks.push_back(Mix_LoadWAV(file.c_str()));
    for (int i = 0; i < SOUNDS; ++i)
        Mix_PlayChannel(i, chunks[static_cast<std::size_t>(i)], -1);
    Mix_SetPostMix(count_mixed, nullptr);
    // The settings change each time a step's worth has been mixed.
    const long frames_per_step = platform::MIX_RATE / STEPS_PER_SECOND;
    for (int step = 0; step < SECONDS * STEPS_PER_SECOND; ++step) {
        while (s_frames_mixed < step * frames_per_step)
            std::this_thread::yield();
        for (int i = 0; i < SOUNDS; ++i) {
            double pan = sweep(i, step, 0.05);
            Mix_SetPanning(i, static_cast<Uint8>(255 * std::min(1.0, 2 - 2 * pan)), static_cast<Uint8>(255 * std::min(1.0, 2 * pan)));
            Mix_Volume(i, static_cast<int>(MIX_MAX_VOLUME * (0.8 + 0.2 * sweep(i, step, 0.03))));
        }
    }
    while (s_frames_mixed < long(SECONDS) * platform::MIX_RATE)
        std::this_thread::yield();
    Mix_CloseAudio();
    for (Mix_Chunk* chunk : chunks)
        Mix_FreeChunk(chunk);
    SDL_Quit();
    return s_mix_end - s_mix_start;
}

}  // namespace

int main()
{
    auto folder = std::filesystem::temp_directory_path() / ("quillon_bench_sound_" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    std::vector<std::filesystem::path> files;
    for (int i = 0; i < SOUNDS; ++i) {
        files.push_back(folder / ("tone" + std::to_string(i) + ".wav"));
        write_wave(files.back(), tone(i));
    }
    double our_seconds = ours(files);
    double peer_seconds = peer(files);
    std::filesystem::remove_all(folder);
    std::printf("%d sounds, %d s of audio at %d steps per second\n", SOUNDS, SECONDS, STEPS_PER_SECOND);
    std::printf("  quillon (OpenAL Soft, with pitch): %.2f ms of processor time per second of audio\n",
        our_seconds * 1000 / SECONDS);
    if (peer_seconds <= 0)
        return 1;
    std::printf("  SDL2_mixer (no pitch):             %.2f ms of processor time per second of audio\n",
        peer_seconds * 1000 / SECONDS);
    double ratio = our_seconds / peer_seconds;
    std::printf("  ratio %.2f; bar %.1f: %s\n", ratio, BAR, ratio <= BAR ? "met" : "not met");
    return ratio <= BAR ? 0 : 1;
}
