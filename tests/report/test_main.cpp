// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QApplication>

#include "log/diagnostic_log.h"

// Printing needs a full application object; the offscreen platform needs no display.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    // Loading and decoding sets writes progress lines nobody here reads.
    tevusb::log::DiagnosticLog::instance().setSink(nullptr);
    return RUN_ALL_TESTS();
}
