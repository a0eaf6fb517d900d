#include "app/program.h"

#include <QApplication>
#include <QScreen>
#include <iostream>
#include <string>
#include <vector>

#include "app/app_options.h"
#include "app/main_window.h"
#include "device/altimeter_device.h"
#include "device/hidapi_backend.h"
#include "device/sim/sim_backend.h"
#include "library/library_location.h"
#include "log/diagnostic_log.h"
#include "ui/library_service.h"

namespace tevusb::app {

namespace {
std::shared_ptr<device::sim::SimBackend>& simulatorBackend() {
    static std::shared_ptr<device::sim::SimBackend> backend;
    return backend;
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

bool Program::checkOptions(const QApplication& application) {
    std::vector<std::string> words;
    const QStringList arguments = application.arguments();
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        words.push_back(arguments[i].toStdString());
    }
    std::string error;
    const std::optional<AppOptions> options = parseAppOptions(words, &error);
    if (!options) {
        std::cerr << error << std::endl;
        return false;
    }
    // Only where the library lives is settled here; it is opened on first use, so a
    // library that cannot be opened never keeps the window from starting.
    ui::libraryService().setFolder(library::resolveLibraryFolder(options->library));
    return true;
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

std::shared_ptr<device::sim::SimBackend> Program::simulator() {
    return simulatorBackend();
}

int Program::run(int argc, char** argv) {
    prepareDevice(argc, argv);
    QApplication application(argc, argv);
    // Preferences (recent files, units) live in ~/.config/tevusb/tevusb.conf.
    QCoreApplication::setOrganizationName(QStringLiteral("tevusb"));
    QCoreApplication::setApplicationName(QStringLiteral("tevusb"));
    if (!checkOptions(application)) {
        return kUsageStatus;
    }
    std::unique_ptr<MainWindow> window = openMainWindow();
    if (!window) {
        return 1;
    }
    const int status = QApplication::exec();
    window.reset();
    device::theDevice().disconnect();
    return status;
}

}  // namespace tevusb::app
