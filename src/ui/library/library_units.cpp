// SPDX-License-Identifier: MIT
#include "ui/library/library_units.h"

#include <QSettings>
#include <cmath>

namespace tevusb::ui {

analysis::UnitSystem preferredUnits() {
    analysis::UnitSystem units = analysis::UnitSystem::Metric;
    const QString name = QSettings().value(QStringLiteral("view/units")).toString();
    analysis::parseUnitSystem(name.toStdString(), units);
    return units;
}

QString altitudeUnit(analysis::UnitSystem units) {
    return QString::fromUtf8(analysis::unitSymbol(analysis::Quantity::Altitude, units));
}

QString altitudeText(double metres, analysis::UnitSystem units) {
    const double shown = analysis::toDisplay(analysis::Quantity::Altitude, metres, units);
    return QStringLiteral("%1 %2").arg(std::lround(shown)).arg(altitudeUnit(units));
}

}  // namespace tevusb::ui
