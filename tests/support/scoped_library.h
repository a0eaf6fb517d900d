// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <vector>

#include "data/memory_packet.h"
#include "library/flight_library.h"
#include "support/temp_dir.h"
#include "ui/library_service.h"

namespace tevusb::testing {

// The program's flight library in a fresh folder for one test, and no library after it.
class ScopedLibrary {
  public:
    ScopedLibrary() { ui::libraryService().setFolder(m_dir.path()); }
    ~ScopedLibrary() { ui::libraryService().setFolder({}); }
    ScopedLibrary(const ScopedLibrary&) = delete;
    ScopedLibrary& operator=(const ScopedLibrary&) = delete;

    const std::filesystem::path& folder() const { return m_dir.path(); }

    // Archives these packets as one download would have; true when every set went in.
    bool keep(const std::vector<data::MemoryPacket>& packets) {
        library::DownloadInput input;
        input.packets = packets;
        input.firmwareVersion = "1.50";
        bool all = true;
        for (const auto& item : open()->archiveDownload(input)) {
            all = all && item.outcome.ok();
        }
        return all;
    }
    std::size_t flightCount() { return open()->list().size(); }

  private:
    std::shared_ptr<library::FlightLibrary> open() { return ui::libraryService().acquire(); }

    TempDir m_dir;
};

}  // namespace tevusb::testing
