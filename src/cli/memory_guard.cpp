// SPDX-License-Identifier: MIT
#include "cli/memory_guard.h"

#include <algorithm>
#include <cctype>

#include "cli/cli_path.h"
#include "cli/library_option.h"
#include "device/altimeter_device.h"
#include "device/memory_image.h"
#include "library/kept_flights.h"
#include "text/safety_texts.h"

namespace tevusb::cli {

namespace {

std::string flights(int n) {
    return std::to_string(n) + (n == 1 ? " flight" : " flights");
}

// The library's messages are sentences; inside ours they lose their final stop.
std::string clause(std::string message) {
    while (!message.empty() && (message.back() == '.' || message.back() == ' ')) {
        message.pop_back();
    }
    return message.empty() ? "unknown error" : message;
}

bool sameName(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// Which sets an erase would lose and why they count as not kept, in one sentence.
std::string unkeptText(const library::UnkeptFlights& unkept, const OpenedLibrary& lib) {
    const std::string sets = library::setListText(unkept.setNumbers);
    if (!unkept.library.ok()) {
        return "None of the " + flights(unkept.setCount) + " on the altimeter (" + sets +
               ") counts as kept: " + libraryWithFolder(lib) + " could not be " +
               (lib.library ? "read: " : "opened: ") + clause(unkept.library.message) + ".";
    }
    const int n = static_cast<int>(unkept.setNumbers.size());
    return std::to_string(n) + " of the " + flights(unkept.setCount) + " on the altimeter (" +
           sets + ") " + (n == 1 ? "is" : "are") + " not in " + libraryWithFolder(lib) + ".";
}

}  // namespace

OpenedLibrary openLibrary() {
    OpenedLibrary lib;
    lib.folder = libraryFolder();
    auto flights = std::make_unique<library::FlightLibrary>(lib.folder);
    lib.opened = flights->open();
    // An open that could not finish its tidying still answers questions.
    if (flights->isOpen()) {
        lib.library = std::move(flights);
    }
    return lib;
}

std::string libraryWithFolder(const OpenedLibrary& lib) {
    return std::string(text::libraryName(simulatorLibrary())) + " (" + toText(lib.folder) + ")";
}

bool eraseAllowed(device::AltimeterDevice& device, const OpenedLibrary& lib, bool force,
                  std::ostream& err) {
    const auto read = device::readMemoryImage(device);
    if (!read.ok()) {
        err << "Could not read the altimeter's flight memory to check its flights against "
            << libraryWithFolder(lib) << "; nothing was erased.\n";
        return false;
    }
    const library::UnkeptFlights unkept =
        library::findUnkeptFlights(lib.library.get(), read.value.packets, lib.opened);
    if (!unkept.any()) {
        return true;
    }
    if (force) {
        err << unkeptText(unkept, lib) << " Erasing them anyway (--force).\n";
        return true;
    }
    err << unkeptText(unkept, lib)
        << " Nothing was erased. Download them first with `tevusb-cli download`, or add "
           "--force to erase them.\n";
    return false;
}

std::optional<double> highestRocketApogee(const OpenedLibrary& lib, const std::string& rocket) {
    if (!lib.library) {
        return std::nullopt;
    }
    std::optional<double> highest;
    for (const library::FlightRecord& flight : lib.library->list()) {
        if (flight.apogeeAglM && sameName(flight.rocket, rocket)) {
            highest = std::max(highest.value_or(*flight.apogeeAglM), *flight.apogeeAglM);
        }
    }
    return highest;
}

}  // namespace tevusb::cli
