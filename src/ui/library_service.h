// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <memory>
#include <mutex>

#include "library/flight_library.h"

namespace tevusb::ui {

// The program's one flight library: where it lives, and the library object once it has
// been opened. Opening happens on first use from a worker (never the window thread), and
// a library that cannot be opened is reported to whoever asks, never fatal.
class LibraryService {
  public:
    // Chooses the folder (empty: no library, as in tests of the designed dialogs). Drops a
    // library object opened on another folder. `simulator`: the folder is the simulated
    // altimeter's own library, and the status lines say so.
    void setFolder(const std::filesystem::path& folder, bool simulator = false);
    std::filesystem::path folder() const;
    bool configured() const;
    bool simulatorLibrary() const;

    // The open library, opening it first if need be; null when it cannot be opened, with
    // the reason in `outcome`. Any thread; may take as long as the open does.
    std::shared_ptr<library::FlightLibrary> acquire(library::Outcome* outcome = nullptr);

    // Recreates the index from the archive files and opens the library again.
    library::Outcome rebuild(const library::Progress& progress = {});

  private:
    mutable std::mutex m_mutex;
    std::filesystem::path m_folder;
    bool m_simulator = false;
    std::shared_ptr<library::FlightLibrary> m_library;
};

LibraryService& libraryService();

}  // namespace tevusb::ui
