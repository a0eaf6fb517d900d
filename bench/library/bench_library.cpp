// SPDX-License-Identifier: MIT
// The flight library: archiving a full flight memory (files synced, index updated), and
// `tevusb-cli library list` over a library of 10 000 flights as a whole process.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench_util.h"
#include "data/altitude_converter.h"
#include "data/set_file.h"
#include "library/flight_library.h"
#include "log/diagnostic_log.h"

using namespace tevusb;

namespace {

constexpr int kSets = 4;
constexpr int kPacketsPerSet = 32;

// A full memory: four plausible flights of 32 packets each; `variant` makes it unique.
library::DownloadInput fullDownload(int variant) {
    const data::AltitudeConverter conv(0);
    library::DownloadInput input;
    input.firmwareVersion = "1.50";
    input.packets.resize(kSets * kPacketsPerSet);
    for (int s = 0; s < kSets; ++s) {
        for (int p = 0; p < kPacketsPerSet; ++p) {
            auto& packet = input.packets[static_cast<std::size_t>(s * kPacketsPerSet + p)];
            packet.bytes[0] = p == 0 ? 2 : 1;
            for (int j = 1; j <= 31; ++j) {
                const double t = static_cast<double>(p * 31 + j) / 10.0;
                const double alt = (300.0 + 50.0 * s) * std::sin(std::min(t / 99.0, 1.0) * 3.14159);
                packet.setWord(j, static_cast<std::uint16_t>(conv.countForAltitude(alt)));
            }
        }
        input.packets[static_cast<std::size_t>(s * kPacketsPerSet)].setWord(
            1, static_cast<std::uint16_t>(8000 + variant % 4000));
    }
    return input;
}

// Writes `count` archive files straight into the folder and has the library index them.
bool makeLargeLibrary(const std::filesystem::path& folder, int count) {
    const auto input = fullDownload(0);
    const auto year = folder / "flights" / "2026";
    std::filesystem::create_directories(year);
    for (int i = 0; i < count; ++i) {
        auto packets = std::vector<data::MemoryPacket>(input.packets.begin(),
                                                       input.packets.begin() + kPacketsPerSet);
        packets[0].setWord(1, static_cast<std::uint16_t>(1000 + i % 9000));
        packets[0].setWord(2, static_cast<std::uint16_t>(1000 + i / 9000));
        char name[96];
        std::snprintf(name, sizeof name, "20261208T%06dZ-set1-fw1.50-%012x.tev", i % 240000, i);
        std::ofstream out(year / name, std::ios::binary);
        out << data::set_file::encode(packets.data(), packets.size(), input.settings, "");
    }
    library::FlightLibrary flights(folder);
    const auto rebuilt = flights.rebuild();
    std::printf("%s\n", rebuilt.message.c_str());
    return rebuilt.ok();
}

// The CPU time (user + system) of the last child, in ms: on a shared machine the wall time
// also holds the time spent waiting for a core.
double lastChildCpuMs = 0.0;

int runCli(const std::string& library) {
    std::fflush(stdout);
    const pid_t pid = ::fork();
    if (pid == 0) {
        // The listing itself is not measured; without /dev/null it goes to the terminal.
        if (std::freopen("/dev/null", "w", stdout) == nullptr) {
            ::_exit(126);
        }
        ::execl(TEVUSB_CLI_PATH, TEVUSB_CLI_PATH, "--library", library.c_str(), "library", "list",
                static_cast<char*>(nullptr));
        ::_exit(127);
    }
    int status = 0;
    rusage usage{};
    ::wait4(pid, &status, 0, &usage);
    lastChildCpuMs = (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000.0 +
                     (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000.0;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

int main() {
    std::ofstream devNull("/dev/null");
    log::DiagnosticLog::instance().setSink(&devNull);
    const auto root = std::filesystem::temp_directory_path() /
                      ("tevusb-bench-library-" + std::to_string(::getpid()));
    std::filesystem::create_directories(root);

    library::FlightLibrary flights(root / "small");
    if (!flights.open().ok()) {
        std::fprintf(stderr, "cannot open a library in %s\n", root.c_str());
        return 1;
    }
    int variant = 0;
    bool allOk = true;
    const double archive = bench::medianMs(11, [&] {
        for (const auto& item : flights.archiveDownload(fullDownload(++variant))) {
            allOk = allOk && item.outcome.ok();
        }
    });
    if (!allOk) {
        std::fprintf(stderr, "archiving failed\n");
        return 1;
    }
    bench::report("archive a 128-packet download (4 sets, synced)", archive, 100.0);

    const auto large = root / "large";
    if (!makeLargeLibrary(large, 10000)) {
        return 1;
    }
    int status = 0;
    std::vector<double> cpu;
    const double list = bench::medianMs(7, [&] {
        status |= runCli(large.string());
        cpu.push_back(lastChildCpuMs);
    });
    std::sort(cpu.begin(), cpu.end());
    if (status != 0) {
        std::fprintf(stderr, "tevusb-cli library list failed\n");
        return 1;
    }
    bench::report("tevusb-cli library list, 10 000 flights (process)", list, 150.0);
    bench::report("  the same, CPU time of the process (user + system)", cpu[cpu.size() / 2],
                  150.0);
    std::error_code ec;
    if (std::getenv("TEVUSB_BENCH_KEEP") != nullptr) {
        std::printf("kept %s\n", large.c_str());
    } else {
        std::filesystem::remove_all(root, ec);
    }
    return 0;
}
