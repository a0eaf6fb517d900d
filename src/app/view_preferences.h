// SPDX-License-Identifier: MIT
#pragma once

#include <QSettings>

#include "analysis/units.h"

namespace tevusb::app {

// Where the program keeps its own preferences (QSettings organisation and application).
inline constexpr const char* kSettingsOrganisation = "tevusb";
inline constexpr const char* kSettingsApplication = "tevusb";

// The store behind the preferences: QSettings' default format, which is the system's own
// place (the registry on Windows, a file under ~/.config on Linux) unless the process has
// pointed it elsewhere, as the tests do to keep each run apart from the others.
QSettings preferenceSettings();

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
