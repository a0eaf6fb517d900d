// SPDX-License-Identifier: MIT
#include "app/library_menu.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>

#include "app/main_menu.h"
#include "app/main_window.h"
#include "app/shown_flight_name.h"
#include "ui/library/library_window.h"
#include "ui/library_service.h"
#include "ui/native_path.h"

namespace tevusb::app {

LibraryMenu::LibraryMenu(MainWindow& window) : QObject(&window), m_window(window) {
    QAction* open = menuAction(window, command::kOpen);
    auto* file = window.menuBar()->findChild<QMenu*>(QStringLiteral("File"));
    if (open == nullptr || file == nullptr) {
        return;
    }
    const QList<QAction*> actions = file->actions();
    const qsizetype at = actions.indexOf(open);
    QAction* before = at + 1 < actions.size() ? actions[at + 1] : nullptr;

    m_recent = new QMenu(QStringLiteral("Open Recent"), file);
    m_recent->setObjectName(QStringLiteral("OpenRecent"));
    QAction* recentAction = file->insertMenu(before, m_recent);
    recentAction->setObjectName(QString::number(command::kOpenRecent));
    connect(m_recent, &QMenu::aboutToShow, this, &LibraryMenu::refreshRecent);

    auto* library = new QAction(QStringLiteral("Flight Library..."), file);
    library->setObjectName(QString::number(command::kFlightLibrary));
    file->insertAction(before, library);
    connect(library, &QAction::triggered, this, [this] { openLibraryWindow(); });

    window.fileCommands().setOpenedHandler([this](const QString& path) { m_files.add(path); });
    refreshRecent();
}

// Destroyed with the main window, after its file commands: nothing to undo there.
LibraryMenu::~LibraryMenu() = default;

ui::LibraryWindow& LibraryMenu::openLibraryWindow() {
    if (!m_libraryWindow) {
        m_libraryWindow = new ui::LibraryWindow(ui::libraryService(), &m_window);
        connect(m_libraryWindow, &ui::LibraryWindow::openRequested, this,
                [this](const QString& path) {
                    if (m_window.fileCommands().openFile(path)) {
                        m_window.raise();
                        m_window.activateWindow();
                    }
                });
    }
    m_libraryWindow->open();
    return *m_libraryWindow;
}

void LibraryMenu::refreshRecent() {
    if (m_recent == nullptr) {
        return;
    }
    m_recent->clear();
    const QStringList paths = m_files.paths();
    const QString libraryFolder =
        QFileInfo(ui::toQString(ui::libraryService().folder())).absoluteFilePath();
    for (int i = 0; i < paths.size(); ++i) {
        const QString& path = paths[i];
        const bool inLibrary =
            !libraryFolder.isEmpty() && path.startsWith(libraryFolder + QLatin1Char('/'));
        // A library flight by the library's name for it, not by its archive file's hash name.
        const QString archived = inLibrary ? libraryFlightName(ui::toPath(path)) : QString();
        const QString name = QFileInfo(path).fileName();
        QAction* entry =
            m_recent->addAction(!archived.isEmpty() ? QStringLiteral("Library: %1").arg(archived)
                                : inLibrary         ? QStringLiteral("Library: %1").arg(name)
                                                    : name);
        entry->setObjectName(QString::number(command::kFirstRecent + i));
        entry->setToolTip(path);
        entry->setStatusTip(path);
        connect(entry, &QAction::triggered, this, [this, path] { openRecent(path); });
    }
    if (paths.isEmpty()) {
        m_recent->addAction(QStringLiteral("No recent files"))->setEnabled(false);
    }
}

void LibraryMenu::openRecent(const QString& path) {
    // A file gone since is reported by the open, and leaves the list.
    if (!m_window.fileCommands().openFile(path)) {
        m_files.remove(path);
    }
    refreshRecent();
}

}  // namespace tevusb::app
