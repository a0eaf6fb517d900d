// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

namespace tevusb::ui {

// Where the User Guide's HTML is looked for, in order: installed beside the program's
// documentation, then in the build tree when the program runs from there.
QStringList userGuideCandidates();

// The first candidate that is there; "" when none is.
QString userGuideFile();

// The folder that holds the guide, as a flyer would type it: the one found, or where the
// package installs it. The folder rather than the file, so that the line naming it fits.
QString userGuideAddress();

}  // namespace tevusb::ui
