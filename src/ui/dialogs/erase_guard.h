// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <string>

class QWidget;

namespace tevusb::device {
class AltimeterDevice;
}

namespace tevusb::ui {

class LibraryService;

// The flyer's answers to the erase question, in the order of its buttons.
enum class EraseAnswer { DownloadFirst = 0, Erase = 1, Cancel = 2 };

// Run on a dialog's worker before anything that empties the altimeter's flight memory
// (`act` says what: "Writing the settings"). Reads the memory and, when it holds flights
// the library does not (or the library cannot be asked), asks the flyer: download them
// into the library first, erase them, or cancel (the default). True when the erase may go
// on: nothing to lose, "Erase them", or every flight archived. A memory that cannot be
// read stops it, with a status entry; without a connected device there is nothing to
// erase and the caller's own steps report it.
bool passEraseGuard(QWidget* owner, device::AltimeterDevice& device, LibraryService& service,
                    const std::string& act, const std::function<void(const std::string&)>& out);

}  // namespace tevusb::ui
