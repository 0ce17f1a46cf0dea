// The random generator shared by `random` and every other built-in that draws numbers.
#pragma once

#include <cstdint>

namespace quillon {

class RandomGenerator {
public:
    // Each draw: state = state * 134775813 + 1 (mod 2^32), yielding state / 2^32.
    double next()
    {
        m_state = m_state * 134775813u + 1u;
        return m_state * (1.0 / 4294967296.0);
    }
    void seed(std::uint32_t state) { m_state = state; }
    // The seed of a game start: milliseconds since midnight of the local clock.
    void seed_from_clock();

private:
    std::uint32_t m_state = 0;  // the generator's state
};

RandomGenerator& random_generator();

}  // namespace quillon
