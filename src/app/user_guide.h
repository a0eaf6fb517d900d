// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

class QMainWindow;
class QWidget;

namespace tevusb::app {

namespace command {
inline constexpr int kUserGuide = 41050;
}  // namespace command

// Help > User Guide: the short manual the package ships, in a window of its own.
void addUserGuideItem(QMainWindow& window);

// Where the guide's HTML is: installed beside the program's documentation, or in the
// build tree when the program runs from there. Empty when neither has it.
QString userGuideFile();

// Opens the guide in front of `parent` (or says where it was looked for).
void openUserGuide(QWidget* parent);

}  // namespace tevusb::app
