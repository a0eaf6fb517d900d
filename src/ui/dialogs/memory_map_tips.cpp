// SPDX-License-Identifier: MIT
#include "ui/dialogs/memory_map_tips.h"

#include "analysis/flight_statistics.h"
#include "analysis/units.h"
#include "data/data_set_store.h"

namespace tevusb::ui {

QString memoryMapTip(const data::DataSetStore& store, int packet) {
    if (packet < 0 || static_cast<std::size_t>(packet) >= store.packets.size()) {
        return {};
    }
    const int k = store.setIndexOfPacket(packet);
    if (k < 0) {
        return store.packets[static_cast<std::size_t>(packet)].isErased()
                   ? QStringLiteral("Packet %1: empty").arg(packet)
                   : QStringLiteral("Packet %1: before the first set").arg(packet);
    }
    data::DataSetStore copy;
    copy.packets = store.packets;
    copy.settings = store.settings;
    if (!copy.selectSet(k)) {
        return {};
    }
    const analysis::FlightStatistics s = analysis::computeStatistics(copy.current);
    QString tip = QStringLiteral("Set %1: %2 readings, %3 s")
                      .arg(k + 1)
                      .arg(s.readings)
                      .arg(QString::fromStdString(analysis::formatNumber(s.durationS, 1)));
    if (s.apogee) {
        tip += QStringLiteral(", apogee ") + QString::fromStdString(analysis::formatAltitude(
                                                 s.apogee->aglM, analysis::UnitSystem::Metric));
    }
    return tip + QStringLiteral("\nClick to choose this set.");
}

}  // namespace tevusb::ui
