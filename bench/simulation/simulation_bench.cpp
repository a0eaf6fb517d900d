// SPDX-License-Identifier: MIT
// Importing a 50 000-row simulation (the simulator's CSV export and a zipped design file,
// 60 columns each as when every variable is exported) and the coast drag fit on a full
// device memory.
#include <zip.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "analysis/coast_drag.h"
#include "analysis/flight_statistics.h"
#include "bench_util.h"
#include "data/data_set_store.h"
#include "device/sim/flight_simulator.h"
#include "log/diagnostic_log.h"
#include "simulation/simulation_file.h"

using namespace tevusb;

namespace {

constexpr int kRows = 50000;
constexpr int kExtraColumns = 57;

// One row: time, altitude, vertical velocity, then values of the other variables (some
// NaN, some in exponent form), as the simulator writes them.
std::string row(int i, const char* separator) {
    const double t = i * 0.002;
    const double h = 500.0 * std::sin(std::min(t / 60.0, 1.0) * 3.14159);
    const double v = 500.0 * 3.14159 / 60.0 * std::cos(t / 60.0 * 3.14159);
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.3f%s%.3f%s%.3f", t, separator, h, separator, v);
    std::string text = buffer;
    for (int c = 0; c < kExtraColumns; ++c) {
        if (c % 11 == 0) {
            text += separator + std::string("NaN");
        } else {
            std::snprintf(buffer, sizeof buffer, c % 5 == 0 ? "%s%.3e" : "%s%.4f", separator,
                          (c + 1) * 0.37 + t);
            text += buffer;
        }
    }
    return text;
}

std::string csvText() {
    std::string text = "# Bench (Up to date)\n# 50000 data points written for 60 variables.\n#\n";
    text += "# Time (s),Altitude (m),Vertical velocity (m/s)";
    for (int c = 0; c < kExtraColumns; ++c) {
        text += ",Variable " + std::to_string(c) + " (m)";
    }
    text += "\n# Event LAUNCH occurred at t=0 seconds\n";
    for (int i = 0; i < kRows; ++i) {
        text += row(i, ",") + "\n";
    }
    return text;
}

std::string orkZip(const std::filesystem::path& path) {
    std::string xml =
        "<?xml version='1.0' encoding='utf-8'?>\n<openrocket version=\"1.10\">"
        "<simulations><simulation><name>Bench</name><flightdata maxaltitude=\"500\">"
        "<databranch name=\"Sustainer\" types=\"Time,Altitude,Vertical velocity";
    for (int c = 0; c < kExtraColumns; ++c) {
        xml += ",Variable " + std::to_string(c);
    }
    xml += "\"><event time=\"0\" type=\"launch\"/>\n";
    for (int i = 0; i < kRows; ++i) {
        xml += "<datapoint>" + row(i, ",") + "</datapoint>\n";
    }
    xml += "</databranch></flightdata></simulation></simulations></openrocket>\n";
    int error = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (archive == nullptr) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        std::exit(1);
    }
    zip_file_add(archive, "rocket.ork", zip_source_buffer(archive, xml.data(), xml.size(), 0), 0);
    zip_close(archive);
    return xml;
}

// The median wall time; the median processor time beside it, since on a machine shared
// with other work the wall time also counts the waits for a core.
double importMs(const std::filesystem::path& path) {
    std::vector<double> cpu;
    const double wall = bench::medianMs(9, [&] {
        const std::clock_t start = std::clock();
        auto result = simulation::loadSimulationFile(path);
        cpu.push_back(static_cast<double>(std::clock() - start) * 1000.0 / CLOCKS_PER_SEC);
        const auto* sims = std::get_if<std::vector<simulation::Simulation>>(&result);
        if (sims == nullptr || sims->front().points() != kRows) {
            std::fprintf(stderr, "%s was not imported whole\n", path.c_str());
            std::exit(1);
        }
    });
    std::sort(cpu.begin(), cpu.end());
    std::printf("  %s: processor time %.3f ms (ratio %.3f to 150 ms)\n", path.filename().c_str(),
                cpu[cpu.size() / 2], cpu[cpu.size() / 2] / 150.0);
    return wall;
}

}  // namespace

int main() {
    std::ofstream devNull("/dev/null");
    log::DiagnosticLog::instance().setSink(&devNull);
    const auto dir = std::filesystem::temp_directory_path();
    const auto csv = dir / "tevusb-bench-simulation.csv";
    const auto ork = dir / "tevusb-bench-simulation.ork";
    std::ofstream(csv, std::ios::binary) << csvText();
    const std::string xml = orkZip(ork);

    std::printf("CSV %.1f MB, design XML %.1f MB (zipped %.1f MB)\n",
                static_cast<double>(std::filesystem::file_size(csv)) / 1e6,
                static_cast<double>(xml.size()) / 1e6,
                static_cast<double>(std::filesystem::file_size(ork)) / 1e6);
    bench::report("import a 50000-row simulation CSV (60 columns)", importMs(csv), 150.0);
    bench::report("import a 50000-row zipped design file (60 columns)", importMs(ork), 150.0);
    if (std::getenv("TEVUSB_BENCH_KEEP") == nullptr) {
        std::filesystem::remove(csv);
        std::filesystem::remove(ork);
    }

    // The simulated altimeter's flight (k 0.0015 /m), then the ground until memory is full.
    device::sim::PressureSensor sensor(1);
    auto words = device::sim::simulateFlight({}, device::sim::FlightRules{}, sensor).words;
    while (words.size() < 128u * 31u) {
        words.push_back(sensor.sample(150.0));
    }
    data::DataSetStore store;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const auto j = static_cast<int>(i % data::MemoryPacket::kWordCount);
        if (j == 0) {
            data::MemoryPacket p;
            p.bytes.fill(0xFF);
            p.bytes[0] = store.packets.empty() ? data::MemoryPacket::kSetStart : 0;
            store.packets.push_back(p);
        }
        store.packets.back().setWord(j + 1, words[i]);
    }
    store.selectSet(0);
    const auto stats = analysis::computeStatistics(store.current);
    double k = 0.0;
    const double fitMs = bench::medianMs(51, [&] {
        k = analysis::fitCoastDrag(store.current, stats)
                .fit.value_or(analysis::CoastDragFit{})
                .kPerM;
    });
    if (!(k > 0.0)) {
        std::fprintf(stderr, "the full-memory flight's coast was not fitted\n");
        return 1;
    }
    std::printf("fitted k %.5f /m (the simulated rocket's is 0.00150)\n", k);
    bench::report("coast drag fit of a full memory set (3968 readings)", fitMs, 20.0);
    return 0;
}
