// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "library/flight_library.h"
#include "ui/compare/flight_loading.h"
#include "ui/library/flight_table_model.h"
#include "ui/worker_thread.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace tevusb::ui {

class FlightFilterProxy;
class LibraryService;

// Picks flights of the library for a comparison: the library's table, filtered as the
// flyer types, several rows at once. The index is read and the chosen flights' archive
// files are loaded on a worker; the window thread only shows the results. A library that
// cannot be opened is said in one message and the picker closes having chosen nothing.
class LibraryFlightPicker : public QDialog {
    Q_OBJECT
  public:
    // Gets the flights read (and the files that could not be read), on the window thread,
    // once "Add" has loaded them; the picker then closes.
    using Chosen = std::function<void(LoadedFlights)>;

    LibraryFlightPicker(LibraryService& service, Chosen chosen, QWidget* parent = nullptr);
    ~LibraryFlightPicker() override;

    // Shows the picker and starts reading the library.
    void start();
    // Loads the selected flights and hands them over; nothing while the worker is busy.
    void addSelected();

    // "Nova / H128W" from the flyer's fields, else "2026-12-08 08:35 set 2".
    static QString flightName(const library::FlightRecord& record);

    bool busy() const { return m_busy; }
    QTableView* table() const { return m_table; }
    QLineEdit* filterEdit() const { return m_filter; }
    FlightFilterProxy& proxy() { return *m_proxy; }
    QString statusText() const;

  signals:
    // The library's flights are on screen (or it could not be opened and the picker goes).
    void loaded();

  private:
    bool startJob(std::function<WorkerThread::JobEnd()> job);
    void post(std::function<void()> task) { m_worker.post(std::move(task)); }
    void showRows(std::shared_ptr<library::FlightLibrary> lib,
                  std::vector<FlightTableModel::Row> rows);
    void showOpenFailure(const library::Outcome& outcome);
    void updateButtons();

    LibraryService& m_service;
    Chosen m_chosen;
    std::shared_ptr<library::FlightLibrary> m_library;
    FlightTableModel* m_model;
    FlightFilterProxy* m_proxy;
    QLineEdit* m_filter;
    QTableView* m_table;
    QLabel* m_status;
    QPushButton* m_add;
    bool m_busy = false;  // window thread only
    // Last member: it goes first, and its thread with it, while the rest is still there.
    WorkerThread m_worker{this};
};

}  // namespace tevusb::ui
