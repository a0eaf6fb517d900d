// SPDX-License-Identifier: MIT
#include "app/program.h"

#include <QApplication>
#include <QScreen>
#include <QTimer>
#include <iostream>
#include <string>
#include <vector>

#include "app/app_options.h"
#include "app/main_window.h"
#include "data/utf8_path.h"
#include "device/altimeter_device.h"
#include "device/hidapi_backend.h"
#include "device/sim/sim_backend.h"
#include "log/diagnostic_log.h"
#include "log/journal_stream.h"
#include "ui/library_service.h"

namespace tevusb::app {

namespace {
std::shared_ptr<device::sim::SimBackend>& simulatorBackend() {
    static std::shared_ptr<device::sim::SimBackend> backend;
    return backend;
}
AppOptions& runOptions() {
    static AppOptions options;
    return options;
}
}  // namespace

void Program::prepareDevice(int argc, const char* const* argv) {
    if (wantsSimulator(argc, argv)) {
        auto backend = std::make_shared<device::sim::SimBackend>();
        simulatorBackend() = backend;
        device::setDeviceBackendFactory([backend] { return backend; });
    } else {
        simulatorBackend().reset();
        device::initHidapi();
        device::setDeviceBackendFactory([] { return std::make_shared<device::HidapiBackend>(); });
    }
    // The device object, with its flight store, exists before the window is made.
    device::theDevice();
}

bool Program::answerEarlyRequest(int argc, const char* const* argv) {
    const AppOptions raw = scanRawOptions(argc, argv);
    if (raw.help) {
        std::cout << usageText() << std::flush;
        return true;
    }
    if (raw.version) {
        std::cout << versionText() << std::flush;
        return true;
    }
    return false;
}

std::optional<AppOptions> Program::checkOptions(const QApplication& application) {
    std::vector<std::string> words;
    const QStringList arguments = application.arguments();
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        words.push_back(arguments[i].toStdString());
    }
    std::string error;
    std::optional<AppOptions> options = parseAppOptions(words, &error);
    if (!options) {
        std::cerr << error << std::endl;
    }
    if (options) {
        settleLibrary(*options);
    }
    return options;
}

void Program::settleLibrary(const AppOptions& options) {
    // Only where the library lives is settled here; it is opened on first use, so a
    // library that cannot be opened never keeps the window from starting.
    const LibraryChoice chosen = chooseLibrary(options);
    ui::libraryService().setFolder(chosen.folder, chosen.simulator);
}

std::unique_ptr<MainWindow> Program::openMainWindow() {
    log::logLine("- TEV USB -");
    log::logLine("");
    auto window = std::make_unique<MainWindow>(device::theDevice().store, simulator());
    // Without a window manager nothing maximises the window; start it at the screen's
    // size so that it is large in any case.
    if (QScreen* screen = window->screen()) {
        window->resize(screen->availableSize());
    }
    if (!window->createSurface()) {
        return nullptr;
    }
    // The buffer starts black, so the window shows black until the set view is drawn at
    // the maximised size.
    window->showMaximized();
    return window;
}

void Program::openStartFile(MainWindow& window, const AppOptions& options) {
    if (options.file.empty()) {
        return;
    }
    // The words came from Qt's Unicode command line as UTF-8 ("Höhe ✈.tev" double-clicked
    // in Explorer arrives so on Windows).
    const std::filesystem::path path = data::utf8ToPath(options.file);
    QTimer::singleShot(0, &window, [&window, path] { window.fileCommands().openFile(path); });
}

const AppOptions& Program::options() {
    return runOptions();
}

std::shared_ptr<device::sim::SimBackend> Program::simulator() {
    return simulatorBackend();
}

void Program::quietInJournal(int argc, const char* const* argv) {
    // A desktop launch sends standard output to the journal, where the progress lines
    // would only fill the user's log.
    if (!log::diagnosticsWanted(scanRawOptions(argc, argv).verbose)) {
        log::DiagnosticLog::instance().setSink(nullptr);
    }
}

int Program::run(int argc, char** argv, const std::function<void(MainWindow&)>& started) {
    if (answerEarlyRequest(argc, argv)) {
        return 0;
    }
    quietInJournal(argc, argv);
    prepareDevice(argc, argv);
    QApplication application(argc, argv);
    // Preferences (recent files, units) live in ~/.config/tevusb/tevusb.conf.
    QCoreApplication::setOrganizationName(QStringLiteral("tevusb"));
    QCoreApplication::setApplicationName(QStringLiteral("tevusb"));
    const std::optional<AppOptions> options = checkOptions(application);
    if (!options) {
        return kUsageStatus;
    }
    runOptions() = *options;
    std::unique_ptr<MainWindow> window = openMainWindow();
    if (!window) {
        return 1;
    }
    openStartFile(*window, *options);
    if (started) {
        started(*window);
    }
    const int status = QApplication::exec();
    window.reset();
    device::theDevice().disconnect();
    return status;
}

}  // namespace tevusb::app
