// Fuzz target: the wave reader and its stereo conversion, and the MIDI file reader, on arbitrary bytes.
#include "platform/fluidsynth/midi_file.h"
#include "sound/wave_reader.h"

#include <cstdint>
#include <span>

using namespace quillon;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::span<const std::uint8_t> bytes(data, size);
    WaveReadResult read = read_wave(bytes);
    if (read.wave)
        stereo_frames(*read.wave);
    platform::midi_length_ms(bytes);
    return 0;
}
