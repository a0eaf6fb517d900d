// SPDX-License-Identifier: MIT
#pragma once

namespace tevusb::data {

// Turns ADC counts of the pressure sensor into volts, kPa and metres above sea level,
// applying the device's calibration offset, and an altitude back into an ideal count.
class AltitudeConverter {
  public:
    explicit AltitudeConverter(int adcOffset);

    double voltage(double count) const;
    double pressure(double count) const;
    double altitude(double count) const;
    // The sensor's count at an altitude, without the calibration offset (truncated).
    int countForAltitude(double altitude) const;

  private:
    double m_offset;
    int m_fullScale;
};

}  // namespace tevusb::data
