#pragma once

#include <memory>

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

    // Checks the options left once the toolkit took its own and settles the library folder;
    // false after telling the user.
    static bool checkOptions(const QApplication& application);

    // Writes the start-up lines and builds the main window with its buffer, shown
    // maximised. Null when the buffer could not be made (the user has been told).
    static std::unique_ptr<MainWindow> openMainWindow();

    // The simulated bus installed by prepareDevice, or null on the real one.
    static std::shared_ptr<device::sim::SimBackend> simulator();

    // The whole program: returns the process's exit status.
    static int run(int argc, char** argv);
};

}  // namespace tevusb::app
