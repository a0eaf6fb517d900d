// SPDX-License-Identifier: MIT
#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "analysis/coast_drag.h"
#include "analysis/statistics_table.h"

namespace tevusb::analysis {

// {k_per_m, cd, mass_kg, reference_area_m2, sim_cd, residual_m, reason}: SI, null where
// not known; reason says why there is no fit (null when there is one).
nlohmann::ordered_json coastDragJson(const CoastDrag& drag);

// The drag as a flyer reads it: "Cd 0.62 (k 0.00123 /m, 1.20 kg, 25.5 cm², residual 0.8 m)",
// or k alone with what is missing for Cd, or the reason there is none. Mass and area in
// kg and cm² (metric) or lb and in² (imperial).
StatisticsRow coastDragRow(const CoastDrag& drag, UnitSystem system);

}  // namespace tevusb::analysis
