// SPDX-License-Identifier: MIT
#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace tevusb::app::testing {

// The word that makes the test binary run the program's own entry point instead of the
// tests: `tests --program-child ARGS...` is `tevusb ARGS...` that ends with status 0 once
// its window is up and any file it was given is shown (3 when that does not happen).
inline constexpr const char* kProgramChildWord = "--program-child";
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

// The environment of the tests without any display, platform choice or journal.
QProcessEnvironment environmentWithoutDisplay();

}  // namespace tevusb::app::testing
