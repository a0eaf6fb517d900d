// SPDX-License-Identifier: MIT
// Start-up of the program's window against a bare Qt window, each measured from the
// launch of a fresh process to the first paint of its client area, and the memory the
// program holds once started.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "startup_child.h"

extern char** environ;

namespace {

constexpr int kRuns = 9;
constexpr double kStartupRatioGoal = 2.0;
constexpr double kMemoryGoalMb = 60.0;

struct Start {
    double paintedMs = -1;
    double cpuMs = -1;
    long rssKb = -1;
};

// Launches this program as a child of `kind` and reads its two lines.
Start measureOnce(const char* self, const char* kind) {
    int pipeFds[2];
    Start start;
    if (pipe(pipeFds) != 0) {
        return start;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    char* args[] = {const_cast<char*>(self), const_cast<char*>("--child"), const_cast<char*>(kind),
                    nullptr};
    pid_t pid = 0;
    const auto begin = std::chrono::steady_clock::now();
    const int spawned = posix_spawn(&pid, self, &actions, nullptr, args, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    if (spawned != 0) {
        close(pipeFds[0]);
        return start;
    }
    std::string pending;
    char buffer[256];
    ssize_t n = 0;
    while ((n = read(pipeFds[0], buffer, sizeof buffer)) > 0) {
        pending.append(buffer, static_cast<std::size_t>(n));
        std::size_t end = 0;
        while ((end = pending.find('\n')) != std::string::npos) {
            const std::string line = pending.substr(0, end);
            pending.erase(0, end + 1);
            if (line == "painted") {
                start.paintedMs = std::chrono::duration<double, std::milli>(
                                      std::chrono::steady_clock::now() - begin)
                                      .count();
            } else if (line.rfind("cpu ", 0) == 0) {
                start.cpuMs = std::atof(line.c_str() + 4);
            } else if (line.rfind("rss ", 0) == 0) {
                start.rssKb = std::atol(line.c_str() + 4);
            }
        }
    }
    close(pipeFds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    return start;
}

struct Medians {
    double paintedMs = 0;
    double cpuMs = 0;
    double rssMb = 0;
};

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

bool medians(const char* self, const char* kind, Medians& out) {
    std::vector<double> times;
    std::vector<double> cpu;
    std::vector<double> memory;
    for (int i = 0; i < kRuns; ++i) {
        const Start start = measureOnce(self, kind);
        if (start.paintedMs < 0 || start.cpuMs < 0 || start.rssKb < 0) {
            std::fprintf(stderr, "%s start %d did not report\n", kind, i);
            return false;
        }
        times.push_back(start.paintedMs);
        cpu.push_back(start.cpuMs);
        memory.push_back(start.rssKb / 1024.0);
    }
    out.paintedMs = median(times);
    out.cpuMs = median(cpu);
    out.rssMb = median(memory);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 3 && std::strcmp(argv[1], "--child") == 0) {
        return tevusb::bench::runStartupChild(argv[2], 1, argv);
    }
    // Both are measured on the same platform plugin; offscreen unless one is chosen.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    std::printf("platform %s, median of %d starts each\n", std::getenv("QT_QPA_PLATFORM"), kRuns);
    Medians minimal;
    Medians app;
    if (!medians(argv[0], "minimal", minimal) || !medians(argv[0], "app", app)) {
        return 1;
    }
    std::printf("%-44s %9.1f ms  (%.1f MB resident)\n", "bare Qt window, launch to first paint",
                minimal.paintedMs, minimal.rssMb);
    std::printf("%-44s %9.1f ms\n", "tevusb window, launch to first paint", app.paintedMs);
    // Processor time is far less disturbed by other work on the machine than the clock,
    // so it tells a change of the program's own start-up apart from noise.
    std::printf("%-44s %9.1f ms  bare %.1f ms  ratio %.2f\n",
                "tevusb processor time to first paint", app.cpuMs, minimal.cpuMs,
                app.cpuMs / minimal.cpuMs);
    const double ratio = app.paintedMs / minimal.paintedMs;
    std::printf("start-up ratio %.2f  goal %.2f  ratio to goal %.3f %s\n", ratio, kStartupRatioGoal,
                ratio / kStartupRatioGoal, ratio <= kStartupRatioGoal ? "ok" : "OVER");
    std::printf("idle memory %.1f MB  goal %.1f MB  ratio to goal %.3f %s\n", app.rssMb,
                kMemoryGoalMb, app.rssMb / kMemoryGoalMb,
                app.rssMb <= kMemoryGoalMb ? "ok" : "OVER");
    return 0;
}
