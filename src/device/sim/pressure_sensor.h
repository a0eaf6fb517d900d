// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <random>

namespace tevusb::device::sim {

// The altimeter's pressure sensor behind its 14-bit ADC: the ideal count at an altitude,
// a fixed bias (what calibration corrects) and a little noise. The noise comes from a
// seeded Mersenne Twister used through its raw output only, so the same seed gives the
// same counts with every standard library.
class PressureSensor {
  public:
    explicit PressureSensor(std::uint32_t seed, int bias = 0);

    // One noisy reading at `altitudeMsl` metres, clamped to the 14-bit range.
    std::uint16_t sample(double altitudeMsl);
    // Noise of one reading: -2..2 counts, bell-shaped.
    int noise();
    // A whole number drawn evenly from [0, n).
    std::uint32_t draw(std::uint32_t n);

    int bias() const { return m_bias; }
    void setBias(int bias) { m_bias = bias; }

  private:
    std::mt19937 m_engine;
    int m_bias;
};

}  // namespace tevusb::device::sim
