// SPDX-License-Identifier: MIT
#include "report/report_builder.h"

#include "analysis/flight_statistics.h"
#include "analysis/statistics_table.h"

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
    return content;
}

}  // namespace tevusb::report
