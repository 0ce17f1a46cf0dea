// MidiFile: the structure check and the playing time of a standard MIDI file, read without playing it.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace quillon::platform {

// The length in milliseconds of a well-formed MIDI file (header, whole tracks, whole events), following its
// tempo changes; none for anything else.
std::optional<std::int64_t> midi_length_ms(std::span<const std::uint8_t> file);

}  // namespace quillon::platform
