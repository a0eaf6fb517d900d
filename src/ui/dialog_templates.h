// SPDX-License-Identifier: MIT
#pragma once

#include "ui/dialog_template.h"

namespace tevusb::ui {

// Resource ids of the dialog templates.
inline constexpr int kDialogProgramChip = 9;
inline constexpr int kDialogDownloadData = 101;
inline constexpr int kDialogUpdateFirmware = 102;
inline constexpr int kDialogAbout = 103;
inline constexpr int kDialogControlOptions = 104;

// The template of a dialog resource; null for an id the program does not have.
const DialogTemplate* findDialogTemplate(int id);

}  // namespace tevusb::ui
