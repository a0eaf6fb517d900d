// SPDX-License-Identifier: MIT
#include "app/file_commands.h"

#include <QFile>

#include "data/data_set_store.h"
#include "graph/flight_graph.h"
#include "log/diagnostic_log.h"
#include "ui/message_box.h"
#include "ui/native_path.h"
#include "ui/user_prompts.h"

namespace tevusb::app {

namespace {

// The open command has always written these two values after its dialog; scripts that
// read the diagnostic stream may expect them.
constexpr unsigned kReportedSystemVersion = 0x501;
constexpr unsigned kReportedRequestSize = 0x58;

ui::FileDialogRequest exportRequest(ExportFormat format) {
    ui::FileDialogRequest request;
    request.mode = ui::FileDialogRequest::Mode::Save;
    request.overwritePrompt = true;
    if (format == ExportFormat::Csv) {
        request.title = "Export to CSV";
        request.filterName = "Excel CSV";
        request.pattern = "*.csv";
        request.defaultSuffix = "csv";
    } else {
        request.title = "Export to XML";
        request.filterName = "XML";
        request.pattern = "*.xml";
        request.defaultSuffix = "xml";
    }
    return request;
}

}  // namespace

FileCommands::FileCommands(QWidget* owner, data::DataSetStore& store, graph::FlightGraph& graph)
    : m_owner(owner), m_store(store), m_graph(graph) {}

void FileCommands::openDataSet() {
    const QString chosen = ui::userPrompts().fileDialog(
        m_owner, ui::FileDialogRequest::openDataSets(QStringLiteral("Load data set")));
    if (chosen.isEmpty()) {
        return;
    }
    openFile(ui::toPath(chosen));
}

bool FileCommands::openFile(const QString& path) {
    return openFile(ui::toPath(path));
}

bool FileCommands::openFile(const std::filesystem::path& path) {
    const bool loaded = m_store.loadSetFile(path);
    if (loaded) {
        m_shownFile = path;
        log::logLine("Loaded data set.");
        m_graph.ShowSet(0);
        m_graph.RedrawGraph();
    } else {
        ui::messageBox(m_owner, kLoadFailedText, ui::kMbIconHand);
    }
    log::logLine("NT Version: ", log::Hex{kReportedSystemVersion});
    log::logLine("size: ", log::Hex{kReportedRequestSize});
    if (loaded && m_shown) {
        m_shown();
    }
    if (loaded && m_opened) {
        m_opened(ui::toQString(path));
    }
    return loaded;
}

void FileCommands::exportCurrentSet(ExportFormat format) {
    if (m_store.current.size() == 0) {
        return;
    }
    const QString chosen = ui::userPrompts().fileDialog(m_owner, exportRequest(format));
    if (chosen.isEmpty()) {
        return;
    }
    const int k = m_store.current.setIndex;
    log::logLine("Current Set: ", k);
    const std::filesystem::path path = ui::toPath(chosen);
    data::SaveError error;
    const bool saved = format == ExportFormat::Csv ? m_store.exportCsv(path, k, error)
                                                   : m_store.exportXml(path, k, error);
    if (!saved) {
        ui::messageBox(m_owner, kSaveFailedText, ui::kMbIconHand);
    }
    if (!m_notice) {
        return;
    }
    if (saved) {
        m_notice(QStringLiteral("Wrote set %1 (%2 readings) to %3.")
                     .arg(k + 1)
                     .arg(m_store.readingCount())
                     .arg(chosen),
                 false);
    } else {
        m_notice(QString::fromStdString(error.message), true);
    }
}

void FileCommands::showSelectedSet(int k) {
    log::logLine("Selected Set: ", k);
    m_shownFile.clear();
    m_graph.ShowSet(k < 0 ? 0 : k);
    m_graph.RedrawGraph();
    if (m_shown) {
        m_shown();
    }
}

}  // namespace tevusb::app
