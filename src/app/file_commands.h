// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <filesystem>
#include <functional>

#include "text/string_ids.h"

class QWidget;

namespace tevusb::data {
class DataSetStore;
}
namespace tevusb::graph {
class FlightGraph;
}

namespace tevusb::app {

enum class ExportFormat { Csv, Xml };

// String-table entries of the file commands.
inline constexpr int kSaveFailedText = text::string_ids::kSaveFailed;
inline constexpr int kLoadFailedText = text::string_ids::kLoadFailed;

// The menu's file commands. Questions and file dialogs go through the prompt service and
// are owned by `owner`; the work is done on the program's one store and graph.
class FileCommands {
  public:
    FileCommands(QWidget* owner, data::DataSetStore& store, graph::FlightGraph& graph);

    // File > Open: asks for a data-set file and shows its first set. A file that cannot be
    // loaded is reported and leaves store and graph as they were.
    void openDataSet();
    // What File > Open does once the file is chosen; also for a file named on the command
    // line, dropped onto the window, picked from Open Recent or from the flight library.
    // A file that cannot be loaded is reported. True when shown.
    bool openFile(const std::filesystem::path& path);
    bool openFile(const QString& path);
    // Called with the path of every file shown by openFile.
    void setOpenedHandler(std::function<void(const QString&)> handler) {
        m_opened = std::move(handler);
    }

    // File > Export CSV / Export XML of the current set; nothing at all when it is empty.
    // After the designed steps the notice handler hears what was written, or which file
    // failed and why.
    void exportCurrentSet(ExportFormat format);
    void setNoticeHandler(std::function<void(const QString& text, bool problem)> notice) {
        m_notice = std::move(notice);
    }

    // After the Download Data dialog: shows the chosen set (set 0 when none was chosen).
    void showSelectedSet(int k);

    // Called after every set these commands show (a file opened, a download closed).
    void setShowHook(std::function<void()> hook) { m_shown = std::move(hook); }

    // The data-set file the window shows; empty once a download replaced it.
    const std::filesystem::path& shownFile() const { return m_shownFile; }

  private:
    QWidget* m_owner;
    data::DataSetStore& m_store;
    graph::FlightGraph& m_graph;
    std::function<void()> m_shown;
    std::function<void(const QString&)> m_opened;
    std::function<void(const QString&, bool)> m_notice;
    std::filesystem::path m_shownFile;
};

}  // namespace tevusb::app
