// SPDX-License-Identifier: MIT
#include "library/prepared_flight.h"

#include "analysis/flight_statistics.h"
#include "data/data_set_store.h"
#include "data/set_file.h"
#include "library/flight_hash.h"

namespace tevusb::library {

PreparedFlight prepareFlight(const data::MemoryPacket* packets, std::size_t count,
                             const settings::DeviceSettings& settings, const std::string& comment,
                             int setNumber, const std::string& downloadedAt,
                             const std::string& firmwareVersion) {
    PreparedFlight flight;
    flight.fileBytes = data::set_file::encode(packets, count, settings, comment);

    data::DataSetStore store;
    store.packets.assign(packets, packets + count);
    store.settings = settings;
    store.selectSet(0);
    const auto stats = analysis::computeStatistics(store.current);

    FlightRecord& r = flight.record;
    r.downloadedAt = downloadedAt;
    r.firmwareVersion = firmwareVersion;
    r.setNumber = setNumber;
    r.readings = static_cast<std::int64_t>(store.current.size());
    r.durationS = stats.durationS;
    r.statisticsFlags = stats.flags;
    if (stats.apogee) {
        r.apogeeAglM = stats.apogee->aglM;
        r.apogeeMslM = stats.apogeeMslM;
        r.apogeeTimeS = stats.apogee->timeS;
    }
    if (stats.maxVelocity) {
        r.peakVelocityMs = stats.maxVelocity->velocityMs;
        r.peakVelocityTimeS = stats.maxVelocity->timeS;
    }
    if (stats.lineA) {
        r.lineATimeS = stats.lineA->at.timeS;
        r.lineAAltitudeM = stats.lineA->at.aglM;
    }
    if (stats.lineB) {
        r.lineBTimeS = stats.lineB->at.timeS;
        r.lineBAltitudeM = stats.lineB->at.aglM;
    }
    r.drogueRateMs = stats.drogueRateMs;
    r.mainRateMs = stats.mainRateMs;
    r.launchTimeS = stats.launchTimeS;
    r.landingTimeS = stats.landingTimeS;
    r.comment = comment;
    r.hash = flightHash(packets, count, settings.image);
    r.packetsHash = packetsHash(packets, count);
    return flight;
}

}  // namespace tevusb::library
