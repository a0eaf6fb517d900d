// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include "analysis/units.h"

namespace tevusb::ui {

// The unit system the flyer chose for the program's new texts (View > Units), kept in
// QSettings under "view/units" as "metric" or "imperial"; metric when unset.
analysis::UnitSystem preferredUnits();

// An altitude given in metres, in `units`, without decimals: "1234 m", "4049 ft".
QString altitudeText(double metres, analysis::UnitSystem units);
QString altitudeUnit(analysis::UnitSystem units);

}  // namespace tevusb::ui
