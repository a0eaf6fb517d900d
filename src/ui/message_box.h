// SPDX-License-Identifier: MIT
#pragma once

#include "ui/user_prompts.h"

class QWidget;

namespace tevusb::ui {

// The program's message box: string-table entry `stringId` (at most 255 characters) as the
// text, caption "TEV USB 1.50", buttons and icon from `type`. Callable from any thread: a
// worker's question is put to the window thread, and the worker waits for the answer.
MessageResult messageBox(QWidget* owner, int stringId, unsigned type);

// The text messageBox shows for a string id.
QString messageText(int stringId);

}  // namespace tevusb::ui
