// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "data/atomic_file.h"
#include "data/data_set.h"

namespace tevusb::data::export_format {

inline constexpr const char* kCsvHeader =
    "Time, ADC, Voltage, Pressure, Altitude (MSL), Altitude (AGL), Smooth Velocity (km/h), "
    "Line A, Line B";

// The CSV table of a set: header, then one line per reading; every line ends with "\n".
void writeCsv(const DataSet& set, BufferedWriter& out);
// The XML track of a set; the comment block appears only when comment is non-null.
// No line feed follows the closing tag.
void writeXml(const DataSet& set, const std::string* comment, BufferedWriter& out);

// Replaces < > & and " by their entities; everything else is copied as it is.
std::string escapeXml(const std::string& text);

}  // namespace tevusb::data::export_format
