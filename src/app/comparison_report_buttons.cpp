// SPDX-License-Identifier: MIT
#include "app/comparison_report_buttons.h"

#include <QBoxLayout>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>

#include "app/file_commands.h"
#include "graph/flight_graph.h"
#include "report/comparison_report.h"
#include "report/report_printer.h"
#include "text/string_table.h"
#include "ui/compare/compare_flights_window.h"
#include "ui/compare/comparison_graph.h"
#include "ui/native_path.h"
#include "ui/user_prompts.h"

namespace tevusb::app {

namespace {

bool askPrinter(QWidget* owner, QPrinter& printer) {
    QPrintDialog dialog(&printer, owner);
    return dialog.exec() == QDialog::Accepted;
}

ComparisonPrintSetup& printSetup() {
    static ComparisonPrintSetup setup = &askPrinter;
    return setup;
}

QString caption() {
    return QString::fromUtf8(text::kCaption.data(), static_cast<qsizetype>(text::kCaption.size()));
}

report::ComparisonContent contentOf(const ui::CompareFlightsWindow& window,
                                    const graph::FlightGraph& graph) {
    report::ComparisonContent content;
    const std::vector<graph::ComparedFlight>& flights = window.flights();
    const std::size_t shown = std::min(flights.size(), report::kMaxComparedFlights);
    content.flights.assign(flights.begin(), flights.begin() + static_cast<std::ptrdiff_t>(shown));
    const graph::ComparisonState& state = window.graph()->state();
    content.alignAt = state.alignAt;
    content.altitude = state.altitude;
    content.velocity = state.velocity;
    content.units = graph.units();
    content.generated = QDateTime::currentDateTimeUtc();
    return content;
}

// A page of nothing helps nobody; say what is missing instead.
bool haveFlights(ui::CompareFlightsWindow& window) {
    if (!window.flights().empty()) {
        return true;
    }
    ui::userPrompts().messageBox(&window, QStringLiteral("Add flights to compare first."),
                                 caption(), ui::kMbOk | ui::kMbIconInformation);
    return false;
}

void exportReport(ui::CompareFlightsWindow& window, const graph::FlightGraph& graph) {
    if (!haveFlights(window)) {
        return;
    }
    ui::FileDialogRequest request;
    request.mode = ui::FileDialogRequest::Mode::Save;
    request.title = QStringLiteral("Export Comparison Report");
    request.filterName = QStringLiteral("PDF document");
    request.pattern = QStringLiteral("*.pdf");
    request.defaultSuffix = QStringLiteral("pdf");
    request.overwritePrompt = true;
    const QString chosen = ui::userPrompts().fileDialog(&window, request);
    if (chosen.isEmpty()) {
        return;
    }
    // One page of at most ten flights takes some tens of milliseconds: written right here.
    const std::string problem =
        report::writeComparisonPdf(ui::toPath(chosen), contentOf(window, graph));
    if (!problem.empty()) {
        ui::userPrompts().messageBox(&window, QString::fromStdString(problem), caption(),
                                     ui::kMbOk | ui::kMbIconHand);
    }
}

void print(ui::CompareFlightsWindow& window, const graph::FlightGraph& graph) {
    if (!haveFlights(window)) {
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QStringLiteral("Flights compared"));
    if (!printSetup()(&window, printer)) {
        return;
    }
    if (!report::printComparison(printer, contentOf(window, graph))) {
        ui::userPrompts().messageBox(&window, QStringLiteral("The printer could not be started."),
                                     caption(), ui::kMbOk | ui::kMbIconHand);
    }
}

}  // namespace

void setComparisonPrintSetup(ComparisonPrintSetup setup) {
    printSetup() = setup ? std::move(setup) : ComparisonPrintSetup(&askPrinter);
}

void addComparisonReportButtons(ui::CompareFlightsWindow& window, graph::FlightGraph& graph) {
    auto* exportButton = new QPushButton(QStringLiteral("Export Report..."), &window);
    exportButton->setObjectName(QString::fromLatin1(kCompareExportReport));
    auto* printButton = new QPushButton(QStringLiteral("Print..."), &window);
    printButton->setObjectName(QString::fromLatin1(kComparePrint));
    QObject::connect(exportButton, &QPushButton::clicked, &window,
                     [&window, &graph] { exportReport(window, graph); });
    QObject::connect(printButton, &QPushButton::clicked, &window,
                     [&window, &graph] { print(window, graph); });
    // At the end of the window's row of controls; below them if it has no such row.
    QLayout* top = window.layout();
    auto* row = top != nullptr && top->count() > 0
                    ? qobject_cast<QHBoxLayout*>(top->itemAt(0)->layout())
                    : nullptr;
    if (row != nullptr) {
        row->addWidget(exportButton);
        row->addWidget(printButton);
    } else if (auto* column = qobject_cast<QBoxLayout*>(top)) {
        auto* buttons = new QHBoxLayout;
        buttons->addStretch(1);
        buttons->addWidget(exportButton);
        buttons->addWidget(printButton);
        column->addLayout(buttons);
    }
}

}  // namespace tevusb::app
