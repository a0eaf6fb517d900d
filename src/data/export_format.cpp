// SPDX-License-Identifier: MIT
#include "data/export_format.h"

#include "data/reading.h"
#include "log/diagnostic_log.h"

namespace tevusb::data::export_format {

namespace {

void number(std::string& out, double v) {
    log::DiagnosticLog::appendNumber(out, v);
}

}  // namespace

void writeCsv(const DataSet& set, BufferedWriter& out) {
    std::string& b = out.buffer();
    b.append(kCsvHeader);
    b.push_back('\n');
    for (std::size_t i = 0; i < set.size(); ++i) {
        number(b, reading::timeOfSample(i));
        b.push_back(',');
        b.append(std::to_string(set.adcCounts[i]));
        b.push_back(',');
        number(b, set.voltage[i]);
        b.push_back(',');
        number(b, set.pressure[i]);
        b.push_back(',');
        number(b, set.altitudeMsl[i]);
        b.push_back(',');
        number(b, set.altitudeAgl[i]);
        b.push_back(',');
        number(b, set.smoothedVelocity[i] * 3.6);
        b.push_back(',');
        if (set.lineFlags[i] & reading::kLineAFlag) {
            b.append("Line A");
        }
        b.push_back(',');
        if (set.lineFlags[i] & reading::kLineBFlag) {
            b.append("Line B");
        }
        b.push_back('\n');
        out.maybeFlush();
    }
}

void writeXml(const DataSet& set, const std::string* comment, BufferedWriter& out) {
    std::string& b = out.buffer();
    b.append("<xml>\n\t<flightdata version=\"1.0\">\n\t\t<device name=\"TEV USB 1.2\" />\n");
    if (comment != nullptr) {
        b.append("\t\t<comments>\n\t\t\t");
        b.append(escapeXml(*comment));
        b.append("\n\t\t</comments>\n");
    }
    b.append("\t\t<data format=\"MSL\">\n");
    for (std::size_t i = 0; i < set.size(); ++i) {
        b.append("\t\t\t<MSL t=\"");
        number(b, reading::timeOfSample(i));
        b.append("\" z=\"");
        number(b, set.altitudeMsl[i]);
        b.append("\" />\n");
        out.maybeFlush();
    }
    b.append("\t\t</data>\n\t</flightdata>\n</xml>");
}

std::string escapeXml(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '<':
                out.append("&lt;");
                break;
            case '>':
                out.append("&gt;");
                break;
            case '&':
                out.append("&amp;");
                break;
            case '"':
                out.append("&quot;");
                break;
            default:
                out.push_back(c);
        }
    }
    return out;
}

}  // namespace tevusb::data::export_format
