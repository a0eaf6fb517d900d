// SPDX-License-Identifier: MIT
#include "ui/library_service.h"

namespace tevusb::ui {

void LibraryService::setFolder(const std::filesystem::path& folder, bool simulator) {
    std::lock_guard lock(m_mutex);
    if (folder != m_folder) {
        m_library.reset();
    }
    m_folder = folder;
    m_simulator = simulator;
}

std::filesystem::path LibraryService::folder() const {
    std::lock_guard lock(m_mutex);
    return m_folder;
}

bool LibraryService::configured() const {
    std::lock_guard lock(m_mutex);
    return !m_folder.empty();
}

bool LibraryService::simulatorLibrary() const {
    std::lock_guard lock(m_mutex);
    return m_simulator;
}

std::shared_ptr<library::FlightLibrary> LibraryService::acquire(library::Outcome* outcome) {
    std::lock_guard lock(m_mutex);
    library::Outcome result;
    if (m_folder.empty()) {
        result = {library::LibraryStatus::NotOpen, "No flight library folder is set.", 0};
    } else {
        if (!m_library) {
            m_library = std::make_shared<library::FlightLibrary>(m_folder);
        }
        if (!m_library->isOpen()) {
            result = m_library->open();
        }
    }
    if (outcome != nullptr) {
        *outcome = result;
    }
    // An open that could not finish its tidying (a full disk) still gives a usable library.
    return m_library && m_library->isOpen() ? m_library : nullptr;
}

library::Outcome LibraryService::rebuild(const library::Progress& progress) {
    std::lock_guard lock(m_mutex);
    if (m_folder.empty()) {
        return {library::LibraryStatus::NotOpen, "No flight library folder is set.", 0};
    }
    if (!m_library) {
        m_library = std::make_shared<library::FlightLibrary>(m_folder);
    }
    library::Outcome rebuilt = m_library->rebuild(progress);
    if (!rebuilt.ok()) {
        return rebuilt;
    }
    return m_library->isOpen() ? rebuilt : m_library->open();
}

LibraryService& libraryService() {
    static LibraryService service;
    return service;
}

}  // namespace tevusb::ui
