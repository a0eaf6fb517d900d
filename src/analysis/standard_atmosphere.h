// SPDX-License-Identifier: MIT
#pragma once

namespace tevusb::analysis {

// Air density of the standard atmosphere (kg/m³) at an altitude above sea level (m):
// the troposphere's lapse rate up to 11 km, isothermal above; held at the values of
// -1 km and 20 km outside them, well beyond any flight this program records.
double standardDensity(double altitudeMslM);

}  // namespace tevusb::analysis
