// SPDX-License-Identifier: MIT
// Feeds arbitrary text to both CSV readers (the simulator's export, RASAero II's) and
// checks every simulation they accept.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_sim_check.h"
#include "simulation/openrocket_csv.h"
#include "simulation/rasaero_csv.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tevusb;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    auto openRocket = simulation::readOpenRocketCsv(text, "fuzz.csv", "fuzz");
    if (auto* sim = std::get_if<simulation::Simulation>(&openRocket)) {
        fuzz::checkSimulation(*sim);
    }
    auto rasAero = simulation::readRasAeroCsv(text, "fuzz.csv", "fuzz");
    if (auto* sim = std::get_if<simulation::Simulation>(&rasAero)) {
        fuzz::checkSimulation(*sim);
    }
    return 0;
}
