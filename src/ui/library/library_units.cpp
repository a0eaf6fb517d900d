// SPDX-License-Identifier: MIT
#include "ui/library/library_units.h"

#include <QSettings>
#include <cmath>

namespace tevusb::ui {

namespace {
// The international foot.
constexpr double kMetresPerFoot = 0.3048;
}  // namespace

analysis::UnitSystem preferredUnits() {
    const QString name = QSettings().value(QStringLiteral("view/units")).toString();
    return name == QLatin1String("imperial") ? analysis::UnitSystem::Imperial
                                             : analysis::UnitSystem::Metric;
}

QString altitudeUnit(analysis::UnitSystem units) {
    return units == analysis::UnitSystem::Imperial ? QStringLiteral("ft") : QStringLiteral("m");
}

QString altitudeText(double metres, analysis::UnitSystem units) {
    const double shown = units == analysis::UnitSystem::Imperial ? metres / kMetresPerFoot : metres;
    return QStringLiteral("%1 %2").arg(std::lround(shown)).arg(altitudeUnit(units));
}

}  // namespace tevusb::ui
