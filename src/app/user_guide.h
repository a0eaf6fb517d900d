// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include "ui/user_guide_location.h"

class QMainWindow;
class QWidget;

namespace tevusb::app {

namespace command {
inline constexpr int kUserGuide = 41050;
}  // namespace command

// Help > User Guide: the short manual the package ships, in a window of its own.
void addUserGuideItem(QMainWindow& window);

// Where the guide's HTML is (empty when it is nowhere); the dialogs name it too.
using ui::userGuideFile;

// Opens the guide in front of `parent` (or says where it was looked for).
void openUserGuide(QWidget* parent);

}  // namespace tevusb::app
