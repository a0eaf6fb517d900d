// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <set>
#include <string>

#include "device/sim/sim_backend.h"
#include "library/flight_library.h"
#include "temp_dir.h"

namespace tevusb::testing {

// The whole flight memory of a simulated altimeter holding `flights` flights, as a
// download hands it to the library. `variant` changes one reading of every set so that
// downloads with different variants are different flights.
inline library::DownloadInput simulatedDownload(int flights = 3, int variant = 0) {
    device::sim::SimConfig config;
    config.timing = device::sim::SimTiming::instant();
    device::sim::SimBackend backend(config);
    auto& altimeter = backend.altimeter();
    altimeter.loadFlights(flights);
    library::DownloadInput input;
    for (int i = 0; i < altimeter.usedPackets(); ++i) {
        input.packets.push_back(altimeter.packet(i));
    }
    input.settings.image = altimeter.settingsImage();
    input.settings.parse();
    input.firmwareVersion = "1.50";
    if (variant != 0) {
        for (auto& p : input.packets) {
            if (p.beginsSet()) {
                p.setWord(31, static_cast<std::uint16_t>(4000 + variant % 10000));
            }
        }
    }
    return input;
}

// The archive files under the library's flights/ folder, relative to the library.
inline std::set<std::string> archiveFilesOf(const std::filesystem::path& folder) {
    std::set<std::string> files;
    std::error_code ec;
    for (std::filesystem::recursive_directory_iterator it(folder / "flights", ec), end;
         !ec && it != end; it.increment(ec)) {
        if (it->is_regular_file() && it->path().extension() == ".tev" &&
            it->path().filename().string().front() != '.') {
            files.insert(it->path().lexically_relative(folder).generic_string());
        }
    }
    return files;
}

}  // namespace tevusb::testing
