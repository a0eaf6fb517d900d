// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QWidget>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

#include "library/flight_library.h"
#include "ui/library/flight_table_model.h"
#include "ui/worker_thread.h"

class QAction;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableView;

namespace tevusb::ui {

class FlightFilterProxy;
class LibraryService;

// File > Flight Library: a non-modal window over every archived flight. The table sorts
// by any column and filters as the flyer types; the flyer's fields are edited in place.
// Loading, import, export, delete and rebuild run on one worker, with progress shown and
// the window thread never waiting on them.
class LibraryWindow : public QWidget {
    Q_OBJECT
  public:
    explicit LibraryWindow(LibraryService& service, QWidget* parent = nullptr);
    ~LibraryWindow() override;

    // Shows the window and loads the flights afresh.
    void open();
    // Loads the flights afresh; a library that cannot be opened is said once, with the
    // offer to rebuild it.
    void reload();

    // The commands of the buttons, for the menu and tests. Each does nothing while the
    // worker is busy.
    void openSelected();
    void importFile();
    void importFolder();
    void importPaths(std::vector<std::filesystem::path> paths);
    void exportSelected(library::ExportFormat format);
    void deleteSelected();
    // Asks first (No by default), then rebuilds the index on the worker and says what it did.
    void rebuild();
    void cancelWork();

    std::vector<std::int64_t> selectedIds() const;
    // True from the start of a job until its results are all shown.
    bool busy() const { return m_jobActive; }
    QString statusText() const;
    FlightTableModel& model() { return *m_model; }
    FlightFilterProxy& proxy() { return *m_proxy; }
    QTableView* table() const { return m_table; }
    QLineEdit* filterEdit() const { return m_filter; }
    // Checked: exported files are named by download time, not by the flight's name.
    QAction* exportByTimeAction() const { return m_nameByTime; }
    // What the table says while it shows no row ("No flight matches ..."); empty while it
    // shows rows.
    QString emptyTableText() const;

  signals:
    // The flyer asked to see this archived data-set file in the main window.
    void openRequested(const QString& path);
    // Rows are on screen: the first screen of a large library, then all of them.
    void rowsShown();
    // A reload has shown all its rows, or found the library cannot be opened.
    void loaded();
    // A piece of work (import, export, delete, rebuild) has ended and its summary is shown.
    void workDone();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void showPreflight();
    void buildLayout();
    // Runs `job` on the worker; the buttons stay disabled until it has ended. The end it
    // hands back runs on the window thread once the buttons are usable again.
    bool startJob(const QString& what, std::function<WorkerThread::JobEnd()> job);
    // From the worker: runs `task` on the window thread.
    void post(std::function<void()> task) { m_worker.post(std::move(task)); }
    // A progress callback for the library that shows (done, total) and honours Cancel.
    library::Progress progressReporter();
    void showRows(std::vector<FlightTableModel::Row> rows);
    void showOpenFailure(const library::Outcome& outcome);
    void finishJob();
    void askRebuild();
    void updateButtons();
    QString editFlight(std::int64_t id, const library::FlightFields& fields);
    void showSummary(const QString& text, bool problem);
    // Rebuilds the index once the flyer has said yes; `tellInBox`: the result is also a box.
    void startRebuild(bool tellInBox);
    // The status line of the list as it stands: its count, or what the search found.
    QString listStatus() const;
    // A result (a saved change, a rebuild) stays until the flyer searches or selects.
    void showResult(const QString& text);
    void searchChanged();
    void updateEmptyNote();

    LibraryService& m_service;
    std::shared_ptr<library::FlightLibrary> m_library;
    FlightTableModel* m_model;
    FlightFilterProxy* m_proxy;
    QLineEdit* m_filter = nullptr;
    QTableView* m_table = nullptr;
    QLabel* m_status = nullptr;
    QLabel* m_preflight = nullptr;  // the check that preceded the one selected flight
    QLabel* m_emptyNote = nullptr;  // over the table while it shows no row
    QProgressBar* m_progress = nullptr;
    QPushButton* m_openButton = nullptr;
    QPushButton* m_exportButton = nullptr;
    QPushButton* m_deleteButton = nullptr;
    QPushButton* m_importFileButton = nullptr;
    QPushButton* m_importFolderButton = nullptr;
    QPushButton* m_rebuildButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
    QAction* m_nameByTime = nullptr;  // export names by download time instead of flight name
    std::atomic<int> m_lastPercent{-1};
    bool m_jobActive = false;  // window thread only
    bool m_failureTold = false;
    bool m_openFailed = false;
    bool m_askRebuild = false;
    bool m_loadedOnce = false;
    bool m_resultShown = false;  // the status line holds a result, not the list's state
    QString m_afterLoad;         // a result the next full load adds under the count
    library::LibraryStatus m_openStatus = library::LibraryStatus::Ok;
    QString m_openFailure;
    // Last member: it goes first, and its thread with it, while the rest is still there.
    WorkerThread m_worker{this};
};

}  // namespace tevusb::ui
