// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "analysis/flight_statistics.h"
#include "analysis/units.h"

namespace tevusb::analysis {

// One line of the statistics as a person reads it: a short label and its value in the
// chosen units ("Apogee", "656.0 m (2152 ft) at T+8.3 s"); "—" where there is none.
// Moments count from launch ("T+"); without a launch, from the start of the recording,
// and they say so.
struct StatisticsRow {
    std::string label;
    std::string value;
};

// The rows of one set, always the same labels in the same order, so several sets can
// stand side by side.
std::vector<StatisticsRow> statisticsTable(const FlightStatistics& stats, UnitSystem system);

// A moment of the flight in the one convention of every new view: "T+12.0 s" counted
// from launch, or "15.0 s into the recording" for a flight without a launch.
std::string flightTimeText(double timeS, const std::optional<double>& launchTimeS);
// What "T+" means, for a caption, a header or a note under a table.
inline constexpr const char* kTimeOriginNote = "T+ counts from launch";

// What the flags mean, in words ("no landing: the recording ends in the air"); empty
// when nothing is missing.
std::string describeFlags(unsigned flags);

// The text every front shows where a value does not exist.
inline constexpr const char* kNoValue = "\u2014";
// A deployment line that did not fire, in every front.
inline constexpr const char* kNotFired = "not fired";

// The statistics' names, shared by every table, list and report that shows them.
namespace label {
inline constexpr const char* kApogee = "Apogee";
inline constexpr const char* kPeakVelocity = "Peak velocity";
inline constexpr const char* kPeakAcceleration = "Peak acceleration";
inline constexpr const char* kLaunch = "Launch";
inline constexpr const char* kBurnout = "Burnout";
inline constexpr const char* kLanding = "Landing";
inline constexpr const char* kLineA = "Line A";
inline constexpr const char* kLineB = "Line B";
inline constexpr const char* kDrogueDescent = "Drogue descent";
inline constexpr const char* kMainDescent = "Main descent";
}  // namespace label

}  // namespace tevusb::analysis
