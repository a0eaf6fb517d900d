// SPDX-License-Identifier: MIT
#include "program_child.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

#include "app/main_window.h"
#include "app/program.h"
#include "device/altimeter_device.h"
#include "support/child_output.h"

namespace tevusb::app::testing {

namespace {
constexpr int kChildLimitMs = 5000;
constexpr int kNotStartedStatus = 3;
constexpr int kPollMs = 10;
}  // namespace

bool isProgramChild() {
    return qEnvironmentVariableIsSet(kProgramChildVariable);
}

int runProgramChild(int argc, char** argv) {
    // The program remembers recent files and view choices. A child keeps them in the
    // folder the test names (a temporary one otherwise), never in the user's own settings,
    // nor, on Windows, in the registry that every test program would share.
    QTemporaryDir own;
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                       qEnvironmentVariable(kChildSettingsVariable, own.path()));
    return Program::run(argc, argv, [](MainWindow& window) {
        auto* poll = new QTimer(&window);
        QElapsedTimer clock;
        clock.start();
        QObject::connect(poll, &QTimer::timeout, &window, [&window, poll, clock] {
            const bool wantsFile = !Program::options().file.empty();
            const bool shown =
                window.isVisible() && (!wantsFile || device::theDevice().store.current.size() > 0);
            if (shown || clock.elapsed() > kChildLimitMs) {
                poll->stop();
                QCoreApplication::exit(shown ? 0 : kNotStartedStatus);
            }
        });
        poll->start(kPollMs);
    });
}

ChildRun runChild(const QString& program, const QStringList& arguments,
                  const QProcessEnvironment& environment, const QString& outputFile) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setStandardOutputFile(outputFile, QIODevice::Append);
    process.start(program, arguments);
    ChildRun run;
    if (!process.waitForFinished(30000)) {
        process.kill();
        process.waitForFinished(5000);
        return run;
    }
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.standardError = tevusb::testing::withLfLineEnds(process.readAllStandardError());
    QFile output(outputFile);
    if (output.open(QIODevice::ReadOnly)) {
        run.standardOutput = tevusb::testing::withLfLineEnds(output.readAll());
    }
    return run;
}

}  // namespace tevusb::app::testing
