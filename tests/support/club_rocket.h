// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace tevusb::testing {

// The simulator's CSV export of a 57 mm rocket on an H motor, worked out from a simple
// physics model (thrust, gravity, drag at `cd` in the standard atmosphere, a drogue at
// apogee + 1 s and the main chute at 150 m): the kind of simulation a flyer sets beside
// the sample flight. Rows every 0.02 s; events before the rows they precede.
std::string clubRocketCsv(const std::string& name, double cd);

}  // namespace tevusb::testing
