// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QSize>
#include <QString>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

#include "app/library_report_fields.h"

#include "ui/worker_thread.h"

class QMainWindow;
class QPrinter;
class QWidget;

namespace tevusb::data {
class DataSetStore;
}
namespace tevusb::graph {
class FlightGraph;
}
namespace tevusb::report {
struct GraphOptions;
}

namespace tevusb::app {

namespace command {
inline constexpr int kExportImage = 41040;
inline constexpr int kExportReport = 41041;
inline constexpr int kPrint = 41042;
}  // namespace command

// File > Export Image..., Export Report... and Print... of the current set. Questions go
// through the prompt service; files are rendered and written on a worker thread, and a
// failure is reported in a message box once it is known.
class ReportCommands : public QObject {
    Q_OBJECT
  public:
    using SizeChooser = std::function<std::optional<QSize>(QWidget* owner, const QSize& initial)>;
    using PrintSetup = std::function<bool(QWidget* owner, QPrinter& printer)>;

    // `graphWidget` is the widget whose size a picture takes by default; `graph` says
    // which view, units and zoom the window shows.
    ReportCommands(QWidget* owner, QWidget* graphWidget, graph::FlightGraph& graph,
                   data::DataSetStore& store);

    void exportImage();
    void exportReport();
    void print();

    // How the picture size and the printer are asked for (tests answer them).
    void setSizeChooser(SizeChooser chooser) { m_chooseSize = std::move(chooser); }
    void setPrintSetup(PrintSetup setup) { m_setUpPrinter = std::move(setup); }
    // Which data-set file the window shows (empty: none, as after a download). A report of
    // one of the library's archive files carries the library's fields and comment.
    void setShownFile(std::function<std::filesystem::path()> shownFile) {
        m_shownFile = std::move(shownFile);
    }

    // How a report finds the library's fields for the shown file (tests hold it up).
    using LibraryLookup =
        std::function<std::optional<LibraryReportFields>(const std::filesystem::path& file)>;
    void setLibraryLookup(LibraryLookup lookup) { m_libraryLookup = std::move(lookup); }

    // True when no file is being written any more, after waiting at most `ms`.
    bool waitForWriting(int ms) { return m_worker.waitFor(ms); }
    // True when the library's fields for a print are no longer being looked up, after
    // waiting at most `ms`.
    bool waitForLookup(int ms) { return m_lookup.waitFor(ms); }

  private:
    bool haveFlight();
    // What the window's graph shows now; for a report, the whole flight in the analysis
    // view (axes and markers) in the window's units.
    report::GraphOptions shownGraph() const;
    report::GraphOptions reportGraph() const;
    void complain(const QString& text);
    // Runs `write` (returning an error line, empty for success) on the worker.
    void writeInBackground(std::function<std::string()> write);
    std::filesystem::path shownFile() const {
        return m_shownFile ? m_shownFile() : std::filesystem::path();
    }

    QWidget* m_owner;
    QWidget* m_graphWidget;
    graph::FlightGraph& m_graph;
    data::DataSetStore& m_store;
    SizeChooser m_chooseSize;
    PrintSetup m_setUpPrinter;
    std::function<std::filesystem::path()> m_shownFile;
    LibraryLookup m_libraryLookup = &libraryReportFields;
    // Reads the library's fields for a print while the print dialog is up.
    ui::WorkerThread m_lookup{this};
    // Last member: going, it waits for a file being written (a bounded piece of work), so
    // no stray temporary is left and its result message goes with this object.
    ui::WorkerThread m_worker{this};
};

// Adds the three commands to the File menu after "Export XML..." and connects them.
ReportCommands* buildReportMenu(QMainWindow& window, QWidget* graphWidget,
                                graph::FlightGraph& graph, data::DataSetStore& store);

}  // namespace tevusb::app
