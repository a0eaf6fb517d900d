// SPDX-License-Identifier: MIT
// Feeds arbitrary bytes to the design XML reader, split in two pieces where the first
// byte says (the reader is fed as a container unpacks), and checks what it accepts.
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "fuzz_sim_check.h"
#include "simulation/ork_xml_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tevusb;
    if (size == 0) {
        return 0;
    }
    const std::size_t split = std::min<std::size_t>(data[0], size - 1);
    const char* text = reinterpret_cast<const char*>(data + 1);
    simulation::OrkXmlReader reader("fuzz.ork");
    if (reader.feed(text, split)) {
        reader.feed(text + split, size - 1 - split);
    }
    auto result = reader.finish();
    if (auto* sims = std::get_if<std::vector<simulation::Simulation>>(&result)) {
        fuzz::checkAll(*sims);
    }
    return 0;
}
