// SPDX-License-Identifier: MIT
// Feeds arbitrary bytes to the simulation file loader, which tells zip, gzip, XML and CSV
// apart by content, and checks every simulation it accepts.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_sim_check.h"
#include "simulation/simulation_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tevusb;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    auto result = simulation::readSimulations(bytes, "fuzz.ork", "fuzz");
    if (auto* sims = std::get_if<std::vector<simulation::Simulation>>(&result)) {
        fuzz::checkAll(*sims);
    }
    return 0;
}
