// SPDX-License-Identifier: MIT
#pragma once

#include "report/report_content.h"

class QPainter;

namespace tevusb::report {

// The report's page of the flight against its simulation (content.simulation must be
// set): both curves over the whole flight, what the flyer takes home in words, the
// comparison table (flight, simulation, difference) and the coast drag.
void paintSimulationPage(QPainter& painter, const ReportContent& content, int page, int pages);

}  // namespace tevusb::report
