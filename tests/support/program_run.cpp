// SPDX-License-Identifier: MIT
#include "support/program_run.h"

#include <QProcess>

#include "support/child_output.h"

namespace tevusb::testing {

QProcessEnvironment environmentWithoutDisplay() {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name :
         {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "JOURNAL_STREAM", "TEVUSB_VERBOSE"}) {
        environment.remove(QString::fromLatin1(name));
    }
    return environment;
}

ProgramRun runProgram(const QString& program, const QStringList& arguments,
                      const QProcessEnvironment& environment, int limitMs) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    ProgramRun run;
    if (!process.waitForFinished(limitMs)) {
        process.kill();
        process.waitForFinished(5000);
        return run;
    }
    if (process.exitStatus() == QProcess::NormalExit) {
        run.status = process.exitCode();
    }
    run.out = withLfLineEnds(process.readAllStandardOutput());
    run.err = withLfLineEnds(process.readAllStandardError());
    return run;
}

}  // namespace tevusb::testing
