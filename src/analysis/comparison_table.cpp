// SPDX-License-Identifier: MIT
#include "analysis/comparison_table.h"

#include "analysis/statistics_table.h"

#include <functional>
#include <optional>

namespace tevusb::analysis {

namespace {

using Pick = std::function<std::optional<double>(const FlightStatistics&)>;

// An event's time counted from launch; nothing without both.
std::optional<double> sinceLaunch(const FlightStatistics& s, std::optional<double> t) {
    if (!t || !s.launchTimeS) {
        return std::nullopt;
    }
    return *t - *s.launchTimeS;
}

// `moment` rows hold a time counted from launch and read "T+12.0 s"; the others are
// amounts (a height, a speed, a duration).
ComparisonRow row(const std::string& label, const std::vector<FlightStatistics>& flights,
                  Quantity quantity, int decimals, UnitSystem units, const Pick& pick,
                  bool moment = false) {
    if (quantity == Quantity::Altitude) {
        decimals = altitudeDecimals(units);
    }
    ComparisonRow r;
    r.label = label;
    std::optional<double> first;
    for (std::size_t i = 0; i < flights.size(); ++i) {
        const auto v = pick(flights[i]);
        r.values.push_back(!v       ? kNoValue
                           : moment ? flightTimeText(*v, 0.0)
                                    : formatQuantity(quantity, *v, units, decimals));
        if (i == 0) {
            first = v;
            r.differences.emplace_back();
            continue;
        }
        if (!v || !first) {
            r.differences.emplace_back();
            continue;
        }
        // The difference is converted as a difference: no offset enters it.
        const double d = toDisplay(quantity, *v, units) - toDisplay(quantity, *first, units);
        const std::string number = formatNumber(d, decimals);
        const bool zero = number.find_first_not_of("-0.") == std::string::npos;
        r.differences.push_back((zero    ? "\u00b1"
                                 : d > 0 ? "+"
                                         : "") +
                                (zero ? formatNumber(0.0, decimals) : number) + " " +
                                unitSymbol(quantity, units));
    }
    return r;
}

}  // namespace

std::vector<ComparisonRow> comparisonRows(const std::vector<FlightStatistics>& flights,
                                          UnitSystem units) {
    using S = FlightStatistics;
    std::vector<ComparisonRow> rows;
    auto add = [&](const std::string& label, Quantity q, int decimals, const Pick& pick) {
        rows.push_back(row(label, flights, q, decimals, units, pick));
    };
    auto addMoment = [&](const std::string& label, const Pick& pick) {
        rows.push_back(row(label, flights, Quantity::Time, 1, units, pick, true));
    };
    add(label::kApogee, Quantity::Altitude, 1, [](const S& s) -> std::optional<double> {
        return s.apogee ? std::optional(s.apogee->aglM) : std::nullopt;
    });
    add("Time to apogee", Quantity::Time, 1, [](const S& s) {
        return sinceLaunch(s, s.apogee ? std::optional(s.apogee->timeS) : std::nullopt);
    });
    add(label::kPeakVelocity, Quantity::Speed, 1, [](const S& s) -> std::optional<double> {
        return s.maxVelocity ? std::optional(s.maxVelocity->velocityMs) : std::nullopt;
    });
    add(label::kPeakAcceleration, Quantity::Acceleration, 1,
        [](const S& s) -> std::optional<double> {
            return s.maxAcceleration ? std::optional(s.maxAccelerationMs2) : std::nullopt;
        });
    addMoment(label::kBurnout, [](const S& s) { return sinceLaunch(s, s.burnoutTimeS); });
    addMoment(label::kLineA, [](const S& s) {
        return sinceLaunch(s, s.lineA ? std::optional(s.lineA->at.timeS) : std::nullopt);
    });
    addMoment(label::kLineB, [](const S& s) {
        return sinceLaunch(s, s.lineB ? std::optional(s.lineB->at.timeS) : std::nullopt);
    });
    add(label::kDrogueDescent, Quantity::Speed, 1, [](const S& s) { return s.drogueRateMs; });
    add(label::kMainDescent, Quantity::Speed, 1, [](const S& s) { return s.mainRateMs; });
    add("Flight time", Quantity::Time, 1,
        [](const S& s) { return sinceLaunch(s, s.landingTimeS); });
    add("Recording", Quantity::Time, 1,
        [](const S& s) -> std::optional<double> { return s.durationS; });
    return rows;
}

}  // namespace tevusb::analysis
