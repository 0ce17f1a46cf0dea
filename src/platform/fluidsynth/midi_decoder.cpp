// MidiDecoder: a MIDI file rendered by FluidSynth with a General MIDI soundfont.
#include "platform/fluidsynth/midi_decoder.h"

#include "platform/fluidsynth/midi_file.h"

#include <fluidsynth.h>

#include <algorithm>
#include <cmath>
#include <fstream>

namespace quillon::platform {

namespace {

// The fuller General MIDI set when it is installed, else the small one every installation has.
constexpr const char* SOUNDFONTS[] = {
    "/usr/share/sounds/sf2/FluidR3_GM.sf2",
    "/usr/share/sounds/sf2/TimGM6mb.sf2",
    "/usr/share/sounds/sf2/default-GM.sf2",
};

// MIDI files are small; anything this large is not one.
constexpr std::uintmax_t MIDI_FILE_LIMIT = 16 * 1024 * 1024;
// The sequencer's end is looked for this often while rendering.
constexpr std::size_t RENDER_BLOCK = 512;

void quiet_log(int, const char*, void*) {}

void silence_fluidsynth_log()
{
    static bool s_done = false;
    if (s_done)
        return;
    for (int level = FLUID_PANIC; level < LAST_LOG_LEVEL; ++level)
        fluid_set_log_function(level, quiet_log, nullptr);
    s_done = true;
}

std::vector<std::uint8_t> read_small_file(const std::filesystem::path& file)
{
    std::error_code error;
    std::uintmax_t size = std::filesystem::file_size(file, error);
    if (error || size > MIDI_FILE_LIMIT)
        return {};
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    std::ifstream in(file, std::ios::binary);
    if (!in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size)))
        return {};
    return bytes;
}

}  // namespace

std::unique_ptr<MidiDecoder> MidiDecoder::open(const std::filesystem::path& file)
{
    std::unique_ptr<MidiDecoder> decoder(new MidiDecoder);
    decoder->m_file = read_small_file(file);
    auto length = midi_length_ms(decoder->m_file);
    if (!length)
        return nullptr;
    decoder->m_length_ms = *length;
    silence_fluidsynth_log();
    decoder->m_settings = new_fluid_settings();
    fluid_settings_setnum(decoder->m_settings, "synth.sample-rate", MIX_RATE);
    // The sequencer moves with the samples rendered, not with the wall clock.
    fluid_settings_setstr(decoder->m_settings, "player.timing-source", "sample");
    fluid_settings_setint(decoder->m_settings, "synth.lock-memory", 0);
    decoder->m_synth = new_fluid_synth(decoder->m_settings);
    if (!decoder->m_synth)
        return nullptr;
    std::error_code error;
    bool loaded = false;
    for (const char* soundfont : SOUNDFONTS)
        if (!loaded && std::filesystem::exists(soundfont, error))
            loaded = fluid_synth_sfload(decoder->m_synth, soundfont, 1) != FLUID_FAILED;
    if (!loaded || !decoder->start_player())
        return nullptr;
    return decoder;
}

MidiDecoder::~MidiDecoder()
{
    if (m_player) {
        fluid_player_stop(m_player);
        delete_fluid_player(m_player);
    }
    if (m_synth)
        delete_fluid_synth(m_synth);
    if (m_settings)
        delete_fluid_settings(m_settings);
}

bool MidiDecoder::start_player()
{
    m_rendered = 0;
    if (m_player) {
        fluid_player_stop(m_player);
        delete_fluid_player(m_player);
    }
    m_player = new_fluid_player(m_synth);
    if (!m_player)
        return false;
    return fluid_player_add_mem(m_player, m_file.data(), m_file.size()) == FLUID_OK
        && fluid_player_play(m_player) == FLUID_OK;
}

// The music ends where its last event is: the sequencer itself would idle on for a while after it.
std::size_t MidiDecoder::read(std::int16_t* frames_out, std::size_t frames)
{
    std::int64_t end = m_length_ms * MIX_RATE / 1000;
    std::size_t done = 0;
    while (done < frames && m_rendered < end && m_player
        && fluid_player_get_status(m_player) == FLUID_PLAYER_PLAYING) {
        std::size_t block = std::min({frames - done, RENDER_BLOCK, static_cast<std::size_t>(end - m_rendered)});
        // Rendered as floating point, which is not dithered, so that silence stays silent.
        fluid_synth_write_float(m_synth, static_cast<int>(block), m_block.data(), 0, 2, m_block.data(), 1, 2);
        for (std::size_t i = 0; i < block * 2; ++i)
            frames_out[done * 2 + i] = static_cast<std::int16_t>(std::lrint(std::clamp(m_block[i], -1.0f, 1.0f) * 32767.0f));
        done += block;
        m_rendered += static_cast<std::int64_t>(block);
    }
    return done;
}

bool MidiDecoder::rewind()
{
    fluid_synth_system_reset(m_synth);
    return start_player();
}

}  // namespace quillon::platform
