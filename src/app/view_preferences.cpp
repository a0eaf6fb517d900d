// SPDX-License-Identifier: MIT
#include "app/view_preferences.h"

#include <QSettings>

namespace tevusb::app {

namespace {
constexpr const char* kAnalysisKey = "view/analysisView";
constexpr const char* kUnitsKey = "view/units";
}  // namespace

ViewPreferences ViewPreferences::load() {
    ViewPreferences preferences;
    const QSettings settings(QSettings::NativeFormat, QSettings::UserScope, kSettingsOrganisation,
                             kSettingsApplication);
    preferences.analysisView = settings.value(kAnalysisKey, false).toBool();
    analysis::UnitSystem units = analysis::UnitSystem::Metric;
    if (analysis::parseUnitSystem(settings.value(kUnitsKey).toString().toStdString(), units)) {
        preferences.units = units;
    }
    return preferences;
}

void ViewPreferences::save() const {
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, kSettingsOrganisation,
                       kSettingsApplication);
    settings.setValue(kAnalysisKey, analysisView);
    settings.setValue(kUnitsKey, QString::fromLatin1(analysis::unitSystemName(units)));
}

}  // namespace tevusb::app
