// SPDX-License-Identifier: MIT
#pragma once

class QMainWindow;

namespace tevusb::app {

// The usual keys on the menus, once every menu is built: Ctrl+O Open, Ctrl+P Print,
// Ctrl+Q Exit, Ctrl+L Flight Library, F1 User Guide, and Alt + the first letter of each
// menu to open it. The menus' captions stay as written: the keys are shortcuts beside
// them, not mnemonics inside them.
void addKeyboardAccess(QMainWindow& window);

}  // namespace tevusb::app
