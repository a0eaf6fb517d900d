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

// The caption of every message box: "TEV USB 1.50".
QString programCaption();

// A message box with the program's caption and a text of its own; any thread, as above.
MessageResult messageBox(QWidget* owner, const QString& text, unsigned type);

// A question answered with one of `buttons` (see UserPrompts::choose), with the program's
// caption; any thread, as above.
int chooseAnswer(QWidget* owner, const QString& text, const QStringList& buttons, int defaultIndex,
                 int cancelIndex);

}  // namespace tevusb::ui
