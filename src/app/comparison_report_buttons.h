// SPDX-License-Identifier: MIT
#pragma once

#include <functional>

class QPrinter;
class QWidget;

namespace tevusb::graph {
class FlightGraph;
}
namespace tevusb::ui {
class CompareFlightsWindow;
}

namespace tevusb::app {

// Object names of the two buttons the comparison window gains.
inline constexpr const char* kCompareExportReport = "exportComparisonReport";
inline constexpr const char* kComparePrint = "printComparison";

// How the printer is asked for; tests set their own (a PDF file printer).
using ComparisonPrintSetup = std::function<bool(QWidget* owner, QPrinter& printer)>;
void setComparisonPrintSetup(ComparisonPrintSetup setup);

// Gives the Compare Flights window "Export Report..." (PDF through the prompt service)
// and "Print..." of the flights as it lines them up, in the units `graph` shows.
void addComparisonReportButtons(ui::CompareFlightsWindow& window, graph::FlightGraph& graph);

}  // namespace tevusb::app
