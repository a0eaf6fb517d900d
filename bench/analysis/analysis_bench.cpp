// SPDX-License-Identifier: MIT
// Flight statistics of a full device memory (one simulated flight, then the ground until
// the memory is full) and of the largest data-set file a 16-bit packet count allows.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "analysis/flight_statistics.h"
#include "bench_util.h"
#include "data/altitude_converter.h"
#include "data/data_set_store.h"
#include "device/sim/flight_simulator.h"
#include "log/diagnostic_log.h"

using namespace tevusb;

namespace {

std::vector<data::MemoryPacket> packetsOf(const std::vector<std::uint16_t>& words) {
    std::vector<data::MemoryPacket> out;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const auto j = static_cast<int>(i % data::MemoryPacket::kWordCount);
        if (j == 0) {
            data::MemoryPacket p;
            p.bytes.fill(0xFF);
            p.bytes[0] = out.empty() ? data::MemoryPacket::kSetStart : 0;
            p.bytes[1] = 0;
            out.push_back(p);
        }
        out.back().setWord(j + 1, words[i]);
    }
    return out;
}

// A plausible flight shape repeated over n packets of 31 readings.
std::vector<std::uint16_t> hugeWords(std::size_t packets) {
    const data::AltitudeConverter conv(0);
    std::vector<std::uint16_t> words(packets * 31);
    for (std::size_t i = 0; i < words.size(); ++i) {
        const double t = static_cast<double>(i % 4000) / 10.0;
        const double alt = 800.0 * std::sin(std::min(t / 60.0, 1.0) * 3.14159) + std::sin(t * 7.0);
        words[i] = static_cast<std::uint16_t>(conv.countForAltitude(alt));
    }
    return words;
}

double statisticsMs(const data::DataSet& set, int runs) {
    double sink = 0.0;
    const double ms = bench::medianMs(runs, [&] {
        const auto s = analysis::computeStatistics(set);
        sink += s.durationS + s.launchTimeS.value_or(0.0);
    });
    if (!std::isfinite(sink)) {
        std::fprintf(stderr, "statistics gave a value that is not a number\n");
        std::exit(1);
    }
    return ms;
}

}  // namespace

int main() {
    std::ofstream devNull("/dev/null");
    log::DiagnosticLog::instance().setSink(&devNull);

    device::sim::PressureSensor sensor(1);
    auto words = device::sim::simulateFlight({}, device::sim::FlightRules{}, sensor).words;
    while (words.size() < 128u * 31u) {
        words.push_back(sensor.sample(150.0));
    }
    data::DataSetStore store;
    store.packets = packetsOf(words);
    store.selectSet(0);
    if (store.readingCount() != 3968 || !analysis::computeStatistics(store.current).landingTimeS) {
        std::fprintf(stderr, "the full-memory flight was not analysed as one\n");
        return 1;
    }
    bench::report("statistics of a full memory set (3968 readings)",
                  statisticsMs(store.current, 51), 0.5);

    const auto path = std::filesystem::temp_directory_path() / "tevusb-bench-analysis-65535.tev";
    {
        data::DataSetStore big;
        big.packets = packetsOf(hugeWords(65535));
        big.comments = {"benchmark"};
        if (!big.saveSetFile(path, 0)) {
            std::fprintf(stderr, "could not write %s\n", path.c_str());
            return 1;
        }
    }
    data::DataSetStore loaded;
    const bool ok = loaded.loadSetFile(path) && loaded.selectSet(0);
    std::filesystem::remove(path);
    if (!ok || loaded.readingCount() != 65535 * 31) {
        std::fprintf(stderr, "load failed\n");
        return 1;
    }
    bench::report("statistics of a 65535-packet file (2031585 readings)",
                  statisticsMs(loaded.current, 5), 300.0);
    return 0;
}
