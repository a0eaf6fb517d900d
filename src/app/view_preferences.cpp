// SPDX-License-Identifier: MIT
#include "app/view_preferences.h"

namespace tevusb::app {

namespace {
constexpr const char* kAnalysisKey = "view/analysisView";
constexpr const char* kUnitsKey = "view/units";
}  // namespace

QSettings preferenceSettings() {
    return QSettings(QSettings::defaultFormat(), QSettings::UserScope, kSettingsOrganisation,
                     kSettingsApplication);
}

ViewPreferences ViewPreferences::load() {
    ViewPreferences preferences;
    const QSettings settings = preferenceSettings();
    preferences.analysisView = settings.value(kAnalysisKey, false).toBool();
    analysis::UnitSystem units = analysis::UnitSystem::Metric;
    if (analysis::parseUnitSystem(settings.value(kUnitsKey).toString().toStdString(), units)) {
        preferences.units = units;
    }
    return preferences;
}

void ViewPreferences::save() const {
    QSettings settings = preferenceSettings();
    settings.setValue(kAnalysisKey, analysisView);
    settings.setValue(kUnitsKey, QString::fromLatin1(analysis::unitSystemName(units)));
}

}  // namespace tevusb::app
