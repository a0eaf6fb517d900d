// SPDX-License-Identifier: MIT
#include "support/qt_test_main.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

#include "log/diagnostic_log.h"

#if defined(__SANITIZE_THREAD__)
// Qt itself is not instrumented: its own threads and locks would only give false alarms.
extern "C" const char* __tsan_default_options() {
    return "ignore_noninstrumented_modules=1";
}
#endif

namespace tevusb::testing {

int runQtTests(int argc, char** argv, const QtTestOptions& options) {
    // Also when the test list is read at build time, outside CTest's environment.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    // The windows remember view choices and recent files; the user's own stay untouched.
    // The native format on Windows is the registry, which setPath cannot move, and which
    // every test program would share: the program's stores follow the default format.
    QTemporaryDir settings;
    QCoreApplication::setOrganizationName(QStringLiteral("tevusb-tests"));
    QCoreApplication::setApplicationName(QFileInfo(QString::fromLocal8Bit(argv[0])).fileName());
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    // A window closed by a test must not end the application the other tests run in.
    QApplication::setQuitOnLastWindowClosed(false);
    if (options.quietLog) {
        log::DiagnosticLog::instance().setSink(nullptr);
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

}  // namespace tevusb::testing
