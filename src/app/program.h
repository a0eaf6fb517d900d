// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <memory>
#include <optional>

#include "app/app_options.h"

class QApplication;

namespace tevusb::device::sim {
class SimBackend;
}

namespace tevusb::app {

class MainWindow;

// The program from the entry point on, in pieces the benchmarks and tests run too.
class Program {
  public:
    // Unknown options: a one-line message on standard error and this status.
    static constexpr int kUsageStatus = 2;

    // Reads the raw command line and prepares the USB access: the real bus (initialised
    // here, before the toolkit starts any thread) or, with --simulator, the simulated one.
    // Must run before the QApplication is made.
    static void prepareDevice(int argc, const char* const* argv);

    // --help and --version, answered from the raw command line before the toolkit starts,
    // so that they work without a display. True when one was answered (exit status 0).
    static bool answerEarlyRequest(int argc, const char* const* argv);

    // Silences the diagnostic lines when standard output is the system journal and
    // neither --verbose nor TEVUSB_VERBOSE asks for them.
    static void quietInJournal(int argc, const char* const* argv);

    // The options left once the toolkit took its own; empty after telling the user.
    static std::optional<AppOptions> checkOptions(const QApplication& application);
    // Tells the library service where this run's flight library is (chooseLibrary).
    static void settleLibrary(const AppOptions& options);

    // Writes the start-up lines and builds the main window with its buffer, shown
    // maximised. Null when the buffer could not be made (the user has been told).
    static std::unique_ptr<MainWindow> openMainWindow();

    // Opens the file named on the command line, if any, once the event loop runs, so that
    // a failure is reported over the shown window.
    static void openStartFile(MainWindow& window, const AppOptions& options);

    // The options of this run (defaults before run has read them): the library window
    // takes its folder from here.
    static const AppOptions& options();

    // The simulated bus installed by prepareDevice, or null on the real one.
    static std::shared_ptr<device::sim::SimBackend> simulator();

    // The whole program: returns the process's exit status. `started`, when given, sees
    // the window once it is shown, before the event loop runs (benchmarks and tests).
    static int run(int argc, char** argv, const std::function<void(MainWindow&)>& started = {});
};

}  // namespace tevusb::app
