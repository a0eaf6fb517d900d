// SPDX-License-Identifier: MIT
#include "graph/emulation_markers.h"

#include "graph/analysis_palette.h"

namespace tevusb::graph {

namespace {

// The altimeter's view of the flight, in a colour none of the recording's markers use.
constexpr QRgb kEmulated = 0xFF007C80;

struct Look {
    const char* label;
    const char* joined;  // the shorter name when it joins an earlier event's marker
    QRgb colour;
};

Look lookOf(int code) {
    using analysis::EmulationCode;
    switch (static_cast<EmulationCode>(code)) {
        case EmulationCode::LaunchDetected:
            return {"Emu launch", "launch", kEmulated};
        case EmulationCode::ApogeeDetected:
            return {"Emu apogee", "apogee", kEmulated};
        case EmulationCode::LineAFired:
            return {"Emu A", "A", analysis_palette::kLineA};
        case EmulationCode::LineBFired:
            return {"Emu B", "B", analysis_palette::kLineB};
        case EmulationCode::EndOfLaunch:
            return {"Emu end", "end", kEmulated};
    }
    return {"Emu ?", "?", analysis_palette::kPhase};
}

}  // namespace

std::vector<ExtraMarker> emulationMarkers(const analysis::EmulationReport& report) {
    std::vector<ExtraMarker> markers;
    int lastSample = -1;
    for (const analysis::PlacedEvent& e : report.events) {
        if (!e.at) {
            continue;
        }
        const Look look = lookOf(e.code);
        // Events of one sample (apogee and the lines it fires) share a marker, so their
        // labels do not pile up on one line.
        if (!markers.empty() && e.at->sample == lastSample) {
            markers.back().label += QStringLiteral(" + ") + QString::fromLatin1(look.joined);
            continue;
        }
        markers.push_back({e.at->timeS, QString::fromLatin1(look.label), look.colour});
        lastSample = e.at->sample;
    }
    return markers;
}

}  // namespace tevusb::graph
