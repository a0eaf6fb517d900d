// SPDX-License-Identifier: MIT
#include "app/report_menu.h"

#include <QAction>
#include <QGuiApplication>
#include <QMainWindow>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>

#include "app/file_commands.h"
#include "app/image_size_dialog.h"
#include "app/main_menu.h"
#include "data/data_set_store.h"
#include "graph/flight_graph.h"
#include "log/diagnostic_log.h"
#include "report/image_export.h"
#include "report/pdf_report.h"
#include "report/report_builder.h"
#include "report/report_printer.h"
#include "text/string_table.h"
#include "ui/native_path.h"
#include "ui/user_prompts.h"

namespace tevusb::app {

namespace {

// Longest the window waits, after the print dialog, for the library's fields: the close
// protocol's bound on any wait of the window thread.
constexpr int kLibraryLookupMs = 100;

const QString kNoFlightText = QStringLiteral(
    "There is no flight to show. Open a data-set file or download the altimeter first.");

QString caption() {
    return QString::fromUtf8(text::kCaption.data(), static_cast<qsizetype>(text::kCaption.size()));
}

ui::FileDialogRequest saveRequest(const QString& title, const QString& filter,
                                  const QString& pattern, const QString& suffix) {
    ui::FileDialogRequest request;
    request.mode = ui::FileDialogRequest::Mode::Save;
    request.title = title;
    request.filterName = filter;
    request.pattern = pattern;
    request.defaultSuffix = suffix;
    request.overwritePrompt = true;
    return request;
}

bool askPrinter(QWidget* owner, QPrinter& printer) {
    QPrintDialog dialog(&printer, owner);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace

ReportCommands::ReportCommands(QWidget* owner, QWidget* graphWidget, graph::FlightGraph& graph,
                               data::DataSetStore& store)
    : QObject(owner),
      m_owner(owner),
      m_graphWidget(graphWidget),
      m_graph(graph),
      m_store(store),
      m_chooseSize(&ImageSizeDialog::ask),
      m_setUpPrinter(&askPrinter) {}

bool ReportCommands::haveFlight() {
    if (m_store.current.size() != 0) {
        return true;
    }
    ui::userPrompts().messageBox(m_owner, kNoFlightText, caption(),
                                 ui::kMbOk | ui::kMbIconInformation);
    return false;
}

report::GraphOptions ReportCommands::shownGraph() const {
    report::GraphOptions options;
    options.units = m_graph.units();
    if (m_graph.analysisView()) {
        options.view = report::GraphView::Analysis;
        options.analysisState = m_graph.viewState();
    }
    return options;
}

report::GraphOptions ReportCommands::reportGraph() const {
    report::GraphOptions options;
    options.view = report::kReportDefaultView;
    options.units = m_graph.units();
    graph::AnalysisViewState state = m_graph.viewState();
    state.window.reset();
    options.analysisState = state;
    return options;
}

void ReportCommands::complain(const QString& text) {
    ui::userPrompts().messageBox(m_owner, text, caption(), ui::kMbOk | ui::kMbIconHand);
}

void ReportCommands::writeInBackground(std::function<std::string()> write) {
    const bool started =
        m_worker.run([this, write = std::move(write)]() -> ui::WorkerThread::JobEnd {
            const std::string problem = write();
            if (problem.empty()) {
                return {};
            }
            return [this, problem] { complain(QString::fromStdString(problem)); };
        });
    if (!started) {
        complain(QStringLiteral("The last file is still being written; try again in a moment."));
    }
}

void ReportCommands::exportImage() {
    if (!haveFlight()) {
        return;
    }
    // A build without SVG offers only what it can write.
    const bool svg = report::svgAvailable();
    const QString chosen = ui::userPrompts().fileDialog(
        m_owner, saveRequest(QStringLiteral("Export Image"),
                             svg ? QStringLiteral("PNG or SVG image") : QStringLiteral("PNG image"),
                             svg ? QStringLiteral("*.png *.svg") : QStringLiteral("*.png"),
                             QStringLiteral("png")));
    if (chosen.isEmpty()) {
        return;
    }
    const std::filesystem::path path = ui::toPath(chosen);
    const auto format = report::imageFormatFor(path);
    if (!format) {
        complain(svg ? QStringLiteral("Choose a file name ending in .png or .svg.")
                     : QStringLiteral("Choose a file name ending in .png."));
        return;
    }
    const auto size = m_chooseSize(m_owner, m_graphWidget->size());
    if (!size) {
        return;
    }
    const report::GraphOptions options = shownGraph();
    writeInBackground([path, format = *format, size = *size, options, set = m_store.current] {
        return report::writeGraphImage(path, format, set, size, options);
    });
}

void ReportCommands::exportReport() {
    if (!haveFlight()) {
        return;
    }
    const QString chosen = ui::userPrompts().fileDialog(
        m_owner, saveRequest(QStringLiteral("Export Report"), QStringLiteral("PDF document"),
                             QStringLiteral("*.pdf"), QStringLiteral("pdf")));
    if (chosen.isEmpty()) {
        return;
    }
    const std::filesystem::path path = ui::toPath(chosen);
    report::ReportRequest request;
    request.graph = reportGraph();
    const int k = m_store.current.setIndex;
    writeInBackground([path, request, set = m_store.current, settings = m_store.settings,
                       comment = m_store.comment(k), file = shownFile(),
                       lookup = m_libraryLookup]() mutable {
        if (const auto library = lookup(file)) {
            request.flight = library->fields;
            comment = library->comment;
        }
        return report::writePdfReport(path,
                                      report::buildReportContent(set, settings, comment, request));
    });
}

void ReportCommands::print() {
    if (!haveFlight()) {
        return;
    }
    // The library's fields are read from the moment Print is chosen, while the flyer
    // answers the print dialog; a library that has not answered by the time the dialog
    // closes (and 100 ms more) leaves them off rather than hold up the window.
    auto library = std::make_shared<std::optional<LibraryReportFields>>();
    const bool looking = m_lookup.run([library, file = shownFile(), lookup = m_libraryLookup] {
        *library = lookup(file);
        return ui::WorkerThread::JobEnd{};
    });
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(
        QStringLiteral("Flight report, data set %1").arg(m_store.current.setIndex + 1));
    if (!m_setUpPrinter(m_owner, printer)) {
        return;
    }
    report::ReportRequest request;
    request.graph = reportGraph();
    std::string comment = m_store.comment(m_store.current.setIndex);
    if (looking && !m_lookup.waitFor(kLibraryLookupMs)) {
        log::logLine("Print without library fields: the library did not answer in time.");
    } else if (looking && library->has_value()) {
        request.flight = (*library)->fields;
        comment = (*library)->comment;
    }
    const report::ReportContent content =
        report::buildReportContent(m_store.current, m_store.settings, comment, request);
    // The printer belongs to this thread; one page is drawn in well under a second.
    if (!report::printReport(printer, content)) {
        complain(QStringLiteral("The printer could not be started."));
    }
}

ReportCommands* buildReportMenu(QMainWindow& window, QWidget* graphWidget,
                                graph::FlightGraph& graph, data::DataSetStore& store) {
    auto* commands = new ReportCommands(&window, graphWidget, graph, store);
    QAction* after = menuAction(window, command::kExportXml);
    QMenu* file = window.findChild<QMenu*>(QStringLiteral("File"));
    if (after == nullptr || file == nullptr) {
        return commands;
    }
    const QList<QAction*> actions = file->actions();
    const qsizetype at = actions.indexOf(after);
    QAction* before = at + 1 < actions.size() ? actions[at + 1] : nullptr;
    const auto add = [&](int id, const char* text, void (ReportCommands::*slot)()) {
        auto* action = new QAction(QString::fromLatin1(text), file);
        action->setObjectName(QString::number(id));
        file->insertAction(before, action);
        QObject::connect(action, &QAction::triggered, commands, slot);
    };
    add(command::kExportImage, "Export Image...", &ReportCommands::exportImage);
    add(command::kExportReport, "Export Report...", &ReportCommands::exportReport);
    add(command::kPrint, "Print...", &ReportCommands::print);
    return commands;
}

}  // namespace tevusb::app
