// SPDX-License-Identifier: MIT
// Flight data: series derivation of a full device memory, and loading the largest
// data-set file a 16-bit packet count allows.
#include <cmath>
#include <filesystem>
#include <fstream>

#include "bench_util.h"
#include "data/altitude_converter.h"
#include "data/data_set_store.h"
#include "log/diagnostic_log.h"

using namespace tevusb;

namespace {

// A plausible flight of n readings spread over packets of 31.
std::vector<data::MemoryPacket> flightPackets(std::size_t packets) {
    const data::AltitudeConverter conv(0);
    std::vector<data::MemoryPacket> out(packets);
    std::size_t i = 0;
    for (std::size_t p = 0; p < packets; ++p) {
        out[p].bytes[0] = p == 0 ? 2 : 0;
        for (int j = 1; j <= 31; ++j, ++i) {
            const double t = static_cast<double>(i % 4000) / 10.0;
            const double alt =
                800.0 * std::sin(std::min(t / 60.0, 1.0) * 3.14159) + std::sin(t * 7.0);
            out[p].setWord(j, static_cast<std::uint16_t>(conv.countForAltitude(alt)));
        }
    }
    return out;
}

}  // namespace

int main() {
    std::ofstream devNull("/dev/null");
    tevusb::log::DiagnosticLog::instance().setSink(&devNull);

    data::DataSetStore store;
    store.packets = flightPackets(128);
    const double derive = bench::medianMs(21, [&] { store.selectSet(0); });
    bench::report("series derivation, 128 x 31 = 3968 readings", derive, 2.0);

    const auto path = std::filesystem::temp_directory_path() / "tevusb-bench-65535.tev";
    {
        data::DataSetStore big;
        big.packets = flightPackets(65535);
        big.comments = {"benchmark"};
        if (!big.saveSetFile(path, 0)) {
            std::fprintf(stderr, "could not write %s\n", path.c_str());
            return 1;
        }
    }
    const double load = bench::medianMs(3, [&] {
        data::DataSetStore s;
        if (!s.loadSetFile(path) || !s.selectSet(0) || s.readingCount() != 65535 * 31) {
            std::fprintf(stderr, "load failed\n");
            std::exit(1);
        }
    });
    std::filesystem::remove(path);
    bench::report("load + select of a 65535-packet file (2031585 readings)", load, 1500.0);
    return 0;
}
