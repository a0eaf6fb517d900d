// SPDX-License-Identifier: MIT
#include "cli/terminal.h"

#if defined(_WIN32)
#include <io.h>
#else
#include <unistd.h>
#endif

#include <atomic>
#include <csignal>
#include <cstdio>
#include <iostream>

#include "device/altimeter_device.h"

namespace tevusb::cli {

namespace {
constexpr int kStandardInput = 0;
constexpr int kStandardError = 2;

bool isTerminal(int fd) {
#if defined(_WIN32)
    return ::_isatty(fd) != 0;
#else
    return ::isatty(fd) == 1;
#endif
}
}  // namespace

ProgressBar::ProgressBar(std::string label)
    : m_label(std::move(label)), m_enabled(isTerminal(kStandardError)) {}

ProgressBar::~ProgressBar() {
    finish();
}

void ProgressBar::update(long done, long total) {
    if (!m_enabled || total <= 0) {
        return;
    }
    const int percent = static_cast<int>(std::min(100L, done * 100 / total));
    if (percent == m_lastPercent) {
        return;
    }
    m_lastPercent = percent;
    const int width = 30;
    const int filled = percent * width / 100;
    std::fprintf(stderr, "\r%s [%.*s%*s] %3d%%", m_label.c_str(), filled,
                 "##############################", width - filled, "", percent);
    std::fflush(stderr);
}

void ProgressBar::finish() {
    if (m_enabled && m_lastPercent >= 0 && !m_finished) {
        std::fputc('\n', stderr);
        std::fflush(stderr);
    }
    m_finished = true;
}

bool confirm(const std::string& question, bool assumeYes, std::ostream& err) {
    if (assumeYes) {
        return true;
    }
    if (!isTerminal(kStandardInput)) {
        err << question << " Not confirmed: run it from a terminal or add --yes.\n";
        return false;
    }
    err << question << " [y/N] " << std::flush;
    std::string answer;
    if (!std::getline(std::cin, answer)) {
        return false;
    }
    return answer == "y" || answer == "Y" || answer == "yes" || answer == "Yes";
}

void printEntries(std::ostream& out, const std::string& entry) {
    std::string line;
    for (char c : entry) {
        if (c == '\r') {
            continue;
        }
        if (c == '\n') {
            out << line << '\n';
            line.clear();
        } else {
            line.push_back(c);
        }
    }
    if (!line.empty()) {
        out << line << '\n';
    }
}

namespace {

std::atomic<device::AltimeterDevice*> g_interruptTarget{nullptr};

extern "C" void onInterrupt(int) {
    // Setting an atomic flag is all a signal handler may safely do here.
    if (auto* target = g_interruptTarget.load()) {
        target->requestCancel();
    }
}

}  // namespace

void installCancelOnInterrupt() {
    g_interruptTarget = &device::theDevice();
#if defined(_WIN32)
    // The console runs the handler on a thread of its own; the flag is atomic.
    std::signal(SIGINT, onInterrupt);
#else
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, nullptr);
#endif
}

}  // namespace tevusb::cli
