// SPDX-License-Identifier: MIT
#include "graph/emulation_markers.h"

#include "graph/analysis_palette.h"

namespace tevusb::graph {

namespace {

// The altimeter's view of the flight, in a colour none of the recording's markers use.
constexpr QRgb kEmulated = 0xFF007C80;

struct Look {
    const char* label;
    QRgb colour;
};

Look lookOf(int code) {
    using analysis::EmulationCode;
    switch (static_cast<EmulationCode>(code)) {
        case EmulationCode::LaunchDetected:
            return {"Emu launch", kEmulated};
        case EmulationCode::ApogeeDetected:
            return {"Emu apogee", kEmulated};
        case EmulationCode::LineAFired:
            return {"Emu A", analysis_palette::kLineA};
        case EmulationCode::LineBFired:
            return {"Emu B", analysis_palette::kLineB};
        case EmulationCode::EndOfLaunch:
            return {"Emu end", kEmulated};
    }
    return {"Emu ?", analysis_palette::kPhase};
}

}  // namespace

std::vector<ExtraMarker> emulationMarkers(const analysis::EmulationReport& report) {
    std::vector<ExtraMarker> markers;
    for (const analysis::PlacedEvent& e : report.events) {
        if (!e.at) {
            continue;
        }
        const Look look = lookOf(e.code);
        markers.push_back({e.at->timeS, QString::fromLatin1(look.label), look.colour});
    }
    return markers;
}

}  // namespace tevusb::graph
