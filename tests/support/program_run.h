// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace tevusb::testing {

// What a program started by a test printed, and how it ended.
struct ProgramRun {
    int status = -1;  // -1: it crashed or did not end in time
    QByteArray out;
    QByteArray err;
};

// The environment of a user without any display: no DISPLAY, no Wayland, no Qt platform
// chosen, no journal, no TEVUSB_VERBOSE.
QProcessEnvironment environmentWithoutDisplay();

// Runs `program` and waits at most `limitMs` for it (it is killed after that). The words go
// over as Unicode (QProcess gives Windows a wide command line); what it printed comes back
// in LF line ends.
ProgramRun runProgram(const QString& program, const QStringList& arguments,
                      const QProcessEnvironment& environment, int limitMs = 120000);

}  // namespace tevusb::testing
