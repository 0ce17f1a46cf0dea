// The scales of pan, volume and frequency: a script's real in 0..1 to hundredths of a decibel and to
// samples per second, and those to the gains and pitch the mixer takes.
#pragma once

#include <cmath>
#include <cstdint>

namespace quillon {

constexpr std::int32_t LEVEL_SILENT = -10000;        // hundredths of a decibel: nothing is heard
constexpr std::int32_t PAN_RIGHT = 10000;             // the left channel silent
constexpr std::int32_t FREQUENCY_MIN = 100;
constexpr std::int32_t FREQUENCY_MAX = 100000;

// Rounds to the nearest integer, halves to even (the current rounding mode).
inline std::int32_t round_level(double value) { return static_cast<std::int32_t>(std::nearbyint(value)); }

// A value that is not a number counts as 0 on each scale.
// -10000 (left) to 10000 (right); 0 is the centre.
inline std::int32_t pan_level(double v)
{
    return !(v > 0) ? LEVEL_SILENT : v >= 1 ? PAN_RIGHT : round_level(v * 20000 - 10000);
}
// Attenuation: -10000 (silent) to 0 (full).
inline std::int32_t volume_level(double v)
{
    return !(v > 0) ? LEVEL_SILENT : v >= 1 ? 0 : round_level(v * 10000 - 10000);
}
// Samples per second.
inline std::int32_t frequency_level(double v)
{
    return !(v > 0) ? FREQUENCY_MIN : v >= 1 ? FREQUENCY_MAX : round_level(v * 99900 + 100);
}

// An attenuation in hundredths of a decibel as a factor; the lowest level is silence.
inline double attenuation_gain(std::int32_t hundredths)
{
    return hundredths <= LEVEL_SILENT ? 0.0 : hundredths >= 0 ? 1.0 : std::pow(10.0, hundredths / 2000.0);
}

// Pan attenuates the channel away from the side it points to, by its size; the volume attenuates both.
struct ChannelGains {
    double left = 1;
    double right = 1;
};
inline ChannelGains channel_gains(std::int32_t pan, std::int32_t volume)
{
    double both = attenuation_gain(volume);
    return {both * attenuation_gain(pan > 0 ? -pan : 0), both * attenuation_gain(pan < 0 ? pan : 0)};
}

}  // namespace quillon
