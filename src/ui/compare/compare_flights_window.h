// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>
#include <algorithm>
#include <functional>
#include <vector>

#include "analysis/units.h"
#include "graph/comparison_view.h"
#include "ui/worker_thread.h"

class QCheckBox;
class QComboBox;
class QPushButton;
class QTableWidget;

namespace tevusb::ui {

class ComparisonGraph;
struct LoadedFlights;

// "Compare Flights": several flights on one graph, lined up at launch or apogee, each in
// its colour, and their statistics side by side with the differences to the first.
class CompareFlightsWindow : public QWidget {
    Q_OBJECT
  public:
    static constexpr const char* kObjectName = "CompareFlightsWindow";
    // One colour each, told apart in the legend and the table.
    static constexpr std::size_t kMaxFlights = 10;

    explicit CompareFlightsWindow(QWidget* parent = nullptr);
    ~CompareFlightsWindow() override;

    // Adds a flight; false (and nothing changes) when the comparison is full.
    bool addFlight(graph::ComparedFlight flight);
    // Adds every set of each data-set file. Files that cannot be read are named in one
    // message; the others are added. Returns how many flights were added.
    int addFiles(const QStringList& paths);
    // Adds flights read elsewhere (by a worker) while there is room; the files that could
    // not be read and the flights left out for want of room are named in one message.
    // Returns how many were added.
    int addLoaded(LoadedFlights loaded);
    // Asks for files through the prompt service; they are read on a worker and added
    // when read. One choice is read at a time.
    void chooseFiles();
    // True once the files chosen last have been read (at most `ms` waited); they are
    // added at the window thread's next turn.
    bool waitForLoading(int ms);
    // How flights are picked from the flight library; "Add from Library..." is shown only
    // once there is one.
    void setLibraryChooser(std::function<void()> chooser);
    void chooseFromLibrary();
    // Room left for more flights.
    std::size_t room() const { return kMaxFlights - std::min(kMaxFlights, m_flights.size()); }
    void removeFlight(std::size_t index);

    void setAlignAt(analysis::AlignAt at);
    void setQuantities(bool altitude, bool velocity);
    void setUnits(analysis::UnitSystem units);

    const std::vector<graph::ComparedFlight>& flights() const { return m_flights; }
    ComparisonGraph* graph() const { return m_graph; }
    QTableWidget* table() const { return m_table; }

  private:
    void refresh();
    void fillTable();
    void removeSelected();
    // True when another flight fits; else says so.
    bool haveRoom();

    std::vector<graph::ComparedFlight> m_flights;
    analysis::UnitSystem m_units = analysis::UnitSystem::Metric;
    ComparisonGraph* m_graph;
    QTableWidget* m_table;
    QComboBox* m_alignAt;
    QCheckBox* m_altitude;
    QCheckBox* m_velocity;
    QPushButton* m_addFromLibrary;
    std::function<void()> m_libraryChooser;
    // Last member: it goes first, and its thread with it, while the rest is still there.
    WorkerThread m_loader{this};
};

}  // namespace tevusb::ui
