// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QPointer>

#include "app/recent_files.h"

class QMenu;

namespace tevusb::ui {
class LibraryWindow;
}

namespace tevusb::app {

class MainWindow;

namespace command {
inline constexpr int kFlightLibrary = 41020;
inline constexpr int kOpenRecent = 41021;
inline constexpr int kFirstRecent = 41022;  // entries 41022-41031, newest first
}  // namespace command

// File > "Open Recent" and File > "Flight Library...": puts them after Open..., keeps the
// recent list, and owns the library window, whose flights open in the main window the way
// File > Open shows a file.
class LibraryMenu : public QObject {
    Q_OBJECT
  public:
    explicit LibraryMenu(MainWindow& window);
    ~LibraryMenu() override;

    // Shows the library window (made on first use) and loads it.
    ui::LibraryWindow& openLibraryWindow();
    // Rebuilds the Open Recent entries from the saved list.
    void refreshRecent();
    QMenu* recentMenu() const { return m_recent; }

  private:
    void openRecent(const QString& path);

    MainWindow& m_window;
    QMenu* m_recent = nullptr;
    RecentFiles m_files;
    QPointer<ui::LibraryWindow> m_libraryWindow;
};

}  // namespace tevusb::app
