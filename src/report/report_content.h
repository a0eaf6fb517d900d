// SPDX-License-Identifier: MIT
#pragma once

#include <QDateTime>
#include <optional>
#include <string>
#include <vector>

#include "data/data_set.h"
#include "report/graph_picture.h"
#include "settings/device_settings.h"
#include "simulation/comparison_rows.h"

namespace tevusb::report {

// One line of a table on the page: what it is and its value, already in display units.
struct ReportRow {
    std::string label;
    std::string value;
};

// What the flyer wrote about a flight in the library; empty fields are left out.
struct FlightFields {
    std::string rocket;
    std::string motor;
    std::string site;
    std::string date;
};

// The flight against the simulation drawn over it, as the statistics panel shows it.
struct SimulationSection {
    std::string heading;  // "Simulation "NAME" (FILE)"
    std::vector<simulation::ComparisonRow> rows;
    ReportRow drag;
    std::string verdict;
};

// Everything one report page shows. It owns copies, so a page can be drawn on another
// thread while the window goes on with its own data.
struct ReportContent {
    data::DataSet set;
    settings::DeviceSettings settings;
    std::string comment;
    std::string source;  // the file the flight came from, shown in the header; may be empty
    std::string name;    // the flight's name; when given it stands for set number and file
    std::optional<FlightFields> flight;
    GraphOptions graph;
    std::vector<ReportRow> statistics;
    // With a simulation shown over the flight, a second page compares them.
    std::optional<SimulationSection> simulation;
    QDateTime generated;  // shown in the footer; UTC
};

}  // namespace tevusb::report
