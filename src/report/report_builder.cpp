// SPDX-License-Identifier: MIT
#include "report/report_builder.h"

#include "analysis/flight_statistics.h"
#include "analysis/statistics_table.h"
#include "graph/simulation_overlay.h"

namespace tevusb::report {

ReportContent buildReportContent(const data::DataSet& set, const settings::DeviceSettings& settings,
                                 const std::string& comment, const ReportRequest& request) {
    ReportContent content;
    content.set = set;
    content.settings = settings;
    content.comment = comment;
    content.source = request.source;
    content.name = request.name;
    content.flight = request.flight;
    content.graph = request.graph;
    content.generated = QDateTime::currentDateTimeUtc();
    const analysis::FlightStatistics stats = analysis::computeStatistics(set);
    for (const analysis::StatisticsRow& row :
         analysis::statisticsTable(stats, request.graph.units)) {
        content.statistics.push_back({row.label, row.value});
    }
    const auto& state = request.graph.analysisState;
    if (state && state->simulation && state->simulation->comparison) {
        const simulation::FlightAgainstSimulation& c = *state->simulation->comparison;
        const analysis::StatisticsRow drag = c.dragRow(request.graph.units);
        content.simulation = SimulationSection{
            c.heading(), c.rows(request.graph.units), {drag.label, drag.value}, c.verdict};
    }
    return content;
}

}  // namespace tevusb::report
