// MidiDecoder: a MIDI file rendered by FluidSynth with a General MIDI soundfont.
#pragma once

#include "platform/music_decoder.h"

#include <vector>

typedef struct _fluid_hashtable_t fluid_settings_t;
typedef struct _fluid_synth_t fluid_synth_t;
typedef struct _fluid_player_t fluid_player_t;

namespace quillon::platform {

class MidiDecoder final : public MusicDecoder {
public:
    // Null when the file is not a well-formed MIDI file or no soundfont can be loaded.
    static std::unique_ptr<MidiDecoder> open(const std::filesystem::path& file);
    ~MidiDecoder() override;
    MidiDecoder(const MidiDecoder&) = delete;
    MidiDecoder& operator=(const MidiDecoder&) = delete;

    std::size_t read(std::int16_t* frames_out, std::size_t frames) override;
    bool rewind() override;
    std::int64_t length_ms() const override { return m_length_ms; }

private:
    MidiDecoder() = default;
    bool start_player();

    std::vector<std::uint8_t> m_file;       // the MIDI file's bytes
    std::int64_t m_length_ms = 0;           // its playing time
    fluid_settings_t* m_settings = nullptr;
    fluid_synth_t* m_synth = nullptr;
    fluid_player_t* m_player = nullptr;     // the file's sequencer, made again for each play from the start
    std::int64_t m_rendered = 0;            // frames rendered since the start
    std::vector<float> m_block = std::vector<float>(2 * 512);  // one rendered block
};

}  // namespace quillon::platform
