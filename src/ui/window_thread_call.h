// SPDX-License-Identifier: MIT
#pragma once

#include <functional>

class QObject;

namespace tevusb::ui {

// Runs `task` on the thread of `context` and waits until it has run. On that thread itself
// it runs at once. If `context` goes away before the task could run, the wait ends
// without it, rather than never.
void runAndWait(QObject* context, const std::function<void()>& task);

}  // namespace tevusb::ui
