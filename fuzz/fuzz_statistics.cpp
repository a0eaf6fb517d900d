// SPDX-License-Identifier: MIT
// Feeds arbitrary bytes to the data-set file reader, then analyses every set it accepted
// the way the fronts do: statistics, the table in both unit systems, the JSON text, and
// the coast drag fit that stats --json always carries.
// Any value that is not a finite number is a fault.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "analysis/coast_drag.h"
#include "analysis/coast_drag_json.h"
#include "analysis/flight_statistics.h"
#include "analysis/statistics_json.h"
#include "analysis/statistics_table.h"
#include "data/data_set_store.h"
#include "data/set_file.h"
#include "fuzz_store.h"
#include "log/diagnostic_log.h"

namespace {

using namespace tevusb;

void requireFinite(double v) {
    if (!std::isfinite(v)) {
        std::abort();
    }
}

void requireFinite(const std::optional<analysis::FlightPoint>& p) {
    if (p) {
        requireFinite(p->timeS);
        requireFinite(p->aglM);
        requireFinite(p->velocityMs);
    }
}

void requireFinite(const std::optional<double>& v) {
    if (v) {
        requireFinite(*v);
    }
}

void check(const analysis::FlightStatistics& s) {
    requireFinite(s.durationS);
    requireFinite(s.groundMslM);
    requireFinite(s.apogeeMslM);
    requireFinite(s.maxAccelerationMs2);
    requireFinite(s.apogee);
    requireFinite(s.maxVelocity);
    requireFinite(s.maxAcceleration);
    requireFinite(s.launchTimeS);
    requireFinite(s.burnoutTimeS);
    requireFinite(s.landingTimeS);
    requireFinite(s.drogueRateMs);
    requireFinite(s.mainRateMs);
    for (const auto* line : {&s.lineA, &s.lineB}) {
        if (*line) {
            requireFinite(std::optional<analysis::FlightPoint>((*line)->at));
            if ((*line)->samples <= 0) {
                std::abort();
            }
        }
    }
    // A time outside the recording is as wrong as a NaN.
    for (const auto& t : {s.launchTimeS, s.burnoutTimeS, s.landingTimeS}) {
        if (t && (*t < 0.0 || *t > s.durationS + 2.0)) {
            std::abort();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto made = fuzz::storeFromFileBytes(data, size);
    if (!made) {
        return 0;
    }
    data::DataSetStore& store = *made;
    for (int k = 0; k < store.setCount(); ++k) {
        store.selectSet(k);
        const analysis::FlightStatistics s = analysis::computeStatistics(store.current);
        check(s);
        for (auto units : {analysis::UnitSystem::Metric, analysis::UnitSystem::Imperial}) {
            for (const auto& row : analysis::statisticsTable(s, units)) {
                if (row.label.empty() || row.value.empty()) {
                    std::abort();
                }
            }
        }
        (void)analysis::statisticsJson(s).dump();
        analysis::CoastDrag drag = analysis::fitCoastDrag(store.current, s);
        analysis::setRocket(drag, 1.0, 0.002, std::nullopt);
        if (drag.fit) {
            requireFinite(drag.fit->kPerM);
            requireFinite(drag.fit->residualM);
            requireFinite(*drag.cd);
        } else if (drag.reason.empty()) {
            std::abort();  // a refusal always says why
        }
        (void)analysis::coastDragJson(drag).dump();
    }
    return 0;
}
