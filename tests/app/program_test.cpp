// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QMenu>
#include <sstream>

#include "app/main_window.h"
#include "app/program.h"
#include "app/simulator_menu.h"
#include "device/altimeter_device.h"
#include "device/sim/sim_backend.h"
#include "log/diagnostic_log.h"
#include "ui/library_service.h"
#include "ui/scripted_prompts.h"

namespace tevusb::app {
namespace {

// The start-up the entry point runs, with and without --simulator.
TEST(ProgramTest, SimulatorAndItsMenuOnlyWithTheOption) {
    ui::ScriptedPrompts prompts;
    ui::UserPrompts* previousPrompts = ui::setUserPrompts(&prompts);
    std::ostringstream log;
    std::ostream* previousSink = log::DiagnosticLog::instance().setSink(&log);

    const char* withSimulator[] = {"tevusb", "--simulator"};
    Program::prepareDevice(2, withSimulator);
    ASSERT_NE(Program::simulator(), nullptr);
    std::unique_ptr<MainWindow> window = Program::openMainWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_NE(window->findChild<QMenu*>(kSimulatorMenu), nullptr);
    EXPECT_TRUE(window->surface().hasBuffer());
    EXPECT_NE(log.str().find("- TEV USB -\n\n"), std::string::npos) << log.str();
    // The program's one device talks to the simulated bus.
    EXPECT_EQ(device::theDevice().connect(device::ConnectMode::Application),
              device::result::kConnected);
    device::theDevice().disconnect();
    Program::simulator()->altimeter().detach();
    EXPECT_EQ(device::theDevice().connect(device::ConnectMode::Application),
              device::result::kTimeout);
    window.reset();

    const char* plain[] = {"tevusb"};
    Program::prepareDevice(1, plain);
    EXPECT_EQ(Program::simulator(), nullptr);
    window = Program::openMainWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->findChild<QMenu*>(kSimulatorMenu), nullptr);
    window.reset();

    log::DiagnosticLog::instance().setSink(previousSink);
    ui::setUserPrompts(previousPrompts);
}

// The window's library with --simulator is the simulator's, and the status lines say so.
TEST(ProgramTest, TheSimulatorsFlightsGoToTheirOwnLibrary) {
    AppOptions options;
    options.simulator = true;
    options.library = "/tmp/tevusb-flights";
    Program::settleLibrary(options);
    EXPECT_EQ(ui::libraryService().folder(), std::filesystem::path("/tmp/tevusb-flights"));
    EXPECT_FALSE(ui::libraryService().simulatorLibrary());
    options.library.reset();
    Program::settleLibrary(options);
    EXPECT_EQ(ui::libraryService().folder().filename(), "simulator");
    EXPECT_TRUE(ui::libraryService().simulatorLibrary());
    ui::libraryService().setFolder({});
}

}  // namespace
}  // namespace tevusb::app
