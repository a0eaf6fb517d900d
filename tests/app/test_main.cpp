// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <cstring>

#include "program_child.h"

int main(int argc, char** argv) {
    if (argc >= 2 && std::strcmp(argv[1], tevusb::app::testing::kProgramChildWord) == 0) {
        return tevusb::app::testing::runProgramChild(argc, argv);
    }
    // Also when the test list is read at build time, outside CTest's environment.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    // The window remembers view choices; keep the user's own settings out of every test.
    QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    // A window closed by a test must not end the application the other tests run in.
    QApplication::setQuitOnLastWindowClosed(false);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
