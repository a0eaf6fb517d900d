// SPDX-License-Identifier: MIT
#pragma once

#include <functional>

class QWidget;

namespace tevusb::app {

// Runs `action` on the window thread just after `widget` has been painted for the first
// time: work the user does not need to see the first picture is kept off the path to it.
// Nothing runs if the widget goes before it is painted.
void afterFirstPaint(QWidget& widget, std::function<void()> action);

}  // namespace tevusb::app
