// SPDX-License-Identifier: MIT
#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace tevusb::app::testing {

// The variable that makes the test binary run the program's own entry point instead of the
// tests: `TEVUSB_PROGRAM_CHILD=1 tests ARGS...` is `tevusb ARGS...` that ends with status 0
// once its window is up and any file it was given is shown (3 when that does not happen).
// A variable, not a word taken off the command line: on Windows Qt reads the Unicode
// command line only when argv reaches it unchanged.
inline constexpr const char* kProgramChildVariable = "TEVUSB_PROGRAM_CHILD";
bool isProgramChild();
int runProgramChild(int argc, char** argv);
// The folder where a child keeps the program's settings, when the test wants to see them.
inline constexpr const char* kChildSettingsVariable = "TEVUSB_CHILD_SETTINGS";

struct ChildRun {
    int status = -1;
    QByteArray standardOutput;
    QByteArray standardError;
};

// Runs `program` with `arguments` and `environment`, standard output into `outputFile`
// (which must exist: its device and inode may already be named in the environment).
ChildRun runChild(const QString& program, const QStringList& arguments,
                  const QProcessEnvironment& environment, const QString& outputFile);

}  // namespace tevusb::app::testing
