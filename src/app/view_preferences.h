// SPDX-License-Identifier: MIT
#pragma once

#include "analysis/units.h"

namespace tevusb::app {

// Where the program keeps its own preferences (QSettings organisation and application).
inline constexpr const char* kSettingsOrganisation = "tevusb";
inline constexpr const char* kSettingsApplication = "tevusb";

// The View menu's choices, remembered between runs. The defaults are the designed
// window: the set view, metric units.
struct ViewPreferences {
    bool analysisView = false;
    analysis::UnitSystem units = analysis::UnitSystem::Metric;

    // Reads the stored choices; anything missing or unreadable keeps its default.
    static ViewPreferences load();
    void save() const;
};

}  // namespace tevusb::app
