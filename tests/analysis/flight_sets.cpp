// SPDX-License-Identifier: MIT
#include "flight_sets.h"

#include <cmath>

#include "data/data_set_store.h"
#include "log/diagnostic_log.h"

namespace tevusb::testing {

data::DataSet decodeWords(const std::vector<std::uint16_t>& words, int adcOffset) {
    // The store and the decoder log what they do; these tests read other things.
    std::ostream* previous = log::DiagnosticLog::instance().setSink(nullptr);
    data::DataSetStore store;
    store.settings.adcOffset = adcOffset;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const auto j = static_cast<int>(i % data::MemoryPacket::kWordCount);
        if (j == 0) {
            data::MemoryPacket p;
            p.bytes.fill(0xFF);
            p.bytes[0] = store.packets.empty() ? data::MemoryPacket::kSetStart : 0;
            p.bytes[1] = 0;
            store.packets.push_back(p);
        }
        store.packets.back().setWord(j + 1, words[i]);
    }
    if (store.packets.empty()) {
        data::MemoryPacket p;
        p.bytes.fill(0xFF);
        p.bytes[0] = data::MemoryPacket::kSetStart;
        store.packets.push_back(p);
    }
    store.selectSet(0);
    log::DiagnosticLog::instance().setSink(previous);
    return store.current;
}

data::DataSet handSet(const std::vector<double>& agl) {
    data::DataSet set;
    const std::size_t n = agl.size();
    set.adcCounts.assign(n, 0);
    set.altitudeAgl = agl;
    set.smoothedAltitude = agl;
    set.altitudeMsl.resize(n);
    set.velocity.assign(n, 0.0);
    for (std::size_t i = 0; i < n; ++i) {
        set.altitudeMsl[i] = agl[i] + 100.0;
        if (i > 0 && i + 1 < n) {
            set.velocity[i] = (agl[i + 1] - agl[i - 1]) / 0.2;
        }
    }
    set.smoothedVelocity = set.velocity;
    set.velocityKmh.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        set.velocityKmh[i] = set.velocity[i] * 3.6;
    }
    set.lineFlags.assign(n, 0);
    return set;
}

device::sim::RecordedFlight simulate(const device::sim::FlightProfile& profile,
                                     std::uint32_t seed) {
    device::sim::PressureSensor sensor(seed);
    return device::sim::simulateFlight(profile, device::sim::FlightRules{}, sensor);
}

bool allFinite(const analysis::FlightStatistics& s) {
    auto ok = [](double v) { return std::isfinite(v); };
    auto point = [&](const std::optional<analysis::FlightPoint>& p) {
        return !p || (ok(p->timeS) && ok(p->aglM) && ok(p->velocityMs));
    };
    auto line = [&](const std::optional<analysis::LineEvent>& e) { return !e || point(e->at); };
    auto opt = [&](const std::optional<double>& v) { return !v || ok(*v); };
    return ok(s.durationS) && ok(s.groundMslM) && ok(s.apogeeMslM) && ok(s.maxAccelerationMs2) &&
           point(s.apogee) && point(s.maxVelocity) && point(s.maxAcceleration) &&
           opt(s.launchTimeS) && opt(s.burnoutTimeS) && opt(s.landingTimeS) && line(s.lineA) &&
           line(s.lineB) && opt(s.drogueRateMs) && opt(s.mainRateMs);
}

}  // namespace tevusb::testing
