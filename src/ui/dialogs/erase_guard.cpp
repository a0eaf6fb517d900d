// SPDX-License-Identifier: MIT
#include "ui/dialogs/erase_guard.h"

#include <QStringList>

#include "device/altimeter_device.h"
#include "device/memory_image.h"
#include "library/kept_flights.h"
#include "log/diagnostic_log.h"
#include "ui/dialogs/download_archive.h"
#include "ui/library_service.h"
#include "ui/message_box.h"

namespace tevusb::ui {

namespace {

std::string flights(std::size_t n) {
    return std::to_string(n) + (n == 1 ? " flight" : " flights");
}

std::string question(const library::UnkeptFlights& unkept, const std::string& act) {
    const std::size_t n = unkept.setNumbers.size();
    const std::string which = " (" + library::setListText(unkept.setNumbers) + ")";
    std::string text;
    if (unkept.library.ok()) {
        text = "The altimeter holds " + flights(n) + which + (n == 1 ? " that is" : " that are") +
               " not in the flight library.";
    } else {
        text = "The flight library cannot be read (" + unkept.library.message +
               "), so none of the altimeter's " + flights(n) + which + " is known to be kept.";
    }
    return text + "\n\n" + act +
           " erases the altimeter's memory: " + (n == 1 ? "this flight" : "these flights") +
           " would be lost.";
}

// Archives every set of the image; true when each flight the guard found missing is now
// in the library (archived, or found there after all).
bool archiveFirst(const device::MemoryImage& image, LibraryService& service,
                  const library::UnkeptFlights& unkept,
                  const std::function<void(const std::string&)>& out) {
    const std::string folder = service.folder().string();
    library::Outcome opened;
    const auto lib = service.configured() ? service.acquire(&opened) : nullptr;
    if (!lib) {
        out("Could not save the flights to the flight library" +
            (folder.empty() ? std::string() : " (" + folder + ")") + ": " +
            (opened.message.empty() ? "the program keeps no flight library" : opened.message) +
            " Nothing was erased.\r\n");
        return false;
    }
    library::DownloadInput input;
    input.packets = image.packets;
    input.settings = image.settings;
    input.firmwareVersion = image.firmwareVersion;
    const auto outcomes = lib->archiveDownload(input);
    out(archiveStatusLine(outcomes, folder));
    for (const int set : unkept.setNumbers) {
        const auto slot = static_cast<std::size_t>(set - 1);
        if (slot >= outcomes.size() ||
            !(outcomes[slot].outcome.ok() ||
              outcomes[slot].outcome.status == library::LibraryStatus::Duplicate)) {
            out("Nothing was erased.\r\n");
            return false;
        }
    }
    return true;
}

}  // namespace

bool passEraseGuard(QWidget* owner, device::AltimeterDevice& device, LibraryService& service,
                    const std::string& act, const std::function<void(const std::string&)>& out) {
    if (!device.link.isOpen()) {
        return true;
    }
    auto read = device::readMemoryImage(device);
    if (!read.ok()) {
        out("Could not read the altimeter's memory to check it for flights not yet in the "
            "flight library. Nothing was erased.\r\n");
        return false;
    }
    device::MemoryImage& image = read.value;
    // Flights are archived with the settings they were recorded under; a device whose
    // settings image fails its checksum gives the program's defaults, as a download does.
    if (!image.settingsValid) {
        image.settings.setDefaults();
        image.settings.parse();
    }
    library::Outcome opened;
    std::shared_ptr<library::FlightLibrary> lib;
    if (service.configured()) {
        lib = service.acquire(&opened);
    }
    const library::UnkeptFlights unkept =
        library::findUnkeptFlights(lib.get(), image.packets, opened);
    log::logLine("Flights on the device: ", unkept.setCount,
                 ", not in the library: ", static_cast<int>(unkept.setNumbers.size()));
    if (!unkept.any()) {
        return true;
    }
    const QStringList buttons{QStringLiteral("Download them first"), QStringLiteral("Erase them"),
                              QStringLiteral("Cancel")};
    const auto answer = static_cast<EraseAnswer>(
        chooseAnswer(owner, QString::fromStdString(question(unkept, act)), buttons,
                     static_cast<int>(EraseAnswer::Cancel), static_cast<int>(EraseAnswer::Cancel)));
    switch (answer) {
        case EraseAnswer::DownloadFirst:
            return archiveFirst(image, service, unkept, out);
        case EraseAnswer::Erase:
            return true;
        case EraseAnswer::Cancel:
            break;
    }
    return false;
}

}  // namespace tevusb::ui
