// SPDX-License-Identifier: MIT
#include "simulation/simulation_builder.h"

#include <algorithm>
#include <cmath>
#include <set>

#include "simulation/import_limits.h"

namespace tevusb::simulation {

namespace {

// Keeps the rows whose `keep` flag is set, in every series that is not empty.
void keepRows(Simulation& sim, const std::vector<bool>& keep) {
    for (auto* series :
         {&sim.timeS, &sim.altitudeM, &sim.verticalVelocityMs, &sim.verticalAccelerationMs2,
          &sim.totalVelocityMs, &sim.massKg, &sim.dragCoefficient, &sim.referenceAreaM2,
          &sim.referenceLengthM, &sim.machNumber, &sim.airDensityKgM3}) {
        if (series->size() != keep.size()) {
            continue;
        }
        std::size_t out = 0;
        for (std::size_t i = 0; i < keep.size(); ++i) {
            if (keep[i]) {
                (*series)[out++] = (*series)[i];
            }
        }
        series->resize(out);
    }
}

// Central differences of altitude, for a file that left vertical velocity out.
std::vector<double> differentiate(const std::vector<double>& t, const std::vector<double>& h) {
    const std::size_t n = t.size();
    std::vector<double> v(n, 0.0);
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t a = i == 0 ? 0 : i - 1;
        const std::size_t b = i + 1 < n ? i + 1 : i;
        const double dt = t[b] - t[a];
        v[i] = dt > 0.0 ? (h[b] - h[a]) / dt : 0.0;
    }
    return v;
}

}  // namespace

SimulationBuilder::SimulationBuilder(std::vector<Column> columns)
    : m_columns(std::move(columns)), m_used(m_columns.size(), false) {
    std::set<ColumnKind> seen;
    for (std::size_t i = 0; i < m_columns.size(); ++i) {
        const auto kind = m_columns[i].kind;
        // The first column of a kind counts; a repeat (RASAero's horizontal twins) not.
        if (kind && seen.insert(*kind).second) {
            m_used[i] = true;
            m_usedEnd = i + 1;
        }
    }
}

std::vector<double>& SimulationBuilder::series(ColumnKind kind) {
    switch (kind) {
        case ColumnKind::Time:
            return m_sim.timeS;
        case ColumnKind::Altitude:
            return m_sim.altitudeM;
        case ColumnKind::VerticalVelocity:
            return m_sim.verticalVelocityMs;
        case ColumnKind::VerticalAcceleration:
            return m_sim.verticalAccelerationMs2;
        case ColumnKind::TotalVelocity:
            return m_sim.totalVelocityMs;
        case ColumnKind::Mass:
            return m_sim.massKg;
        case ColumnKind::DragCoefficient:
            return m_sim.dragCoefficient;
        case ColumnKind::ReferenceArea:
            return m_sim.referenceAreaM2;
        case ColumnKind::ReferenceLength:
            return m_sim.referenceLengthM;
        case ColumnKind::MachNumber:
            return m_sim.machNumber;
        case ColumnKind::AirDensity:
            return m_sim.airDensityKgM3;
    }
    return m_sim.timeS;
}

bool SimulationBuilder::has(ColumnKind kind) const {
    for (std::size_t i = 0; i < m_columns.size(); ++i) {
        if (m_used[i] && m_columns[i].kind == kind) {
            return true;
        }
    }
    return false;
}

bool SimulationBuilder::addRow(const std::vector<double>& values) {
    if (m_rows >= ImportLimits::kMaxRows) {
        return false;
    }
    for (std::size_t i = 0; i < m_columns.size() && i < values.size(); ++i) {
        if (m_used[i]) {
            series(*m_columns[i].kind).push_back(values[i] * m_columns[i].factor);
        }
    }
    ++m_rows;
    return true;
}

std::string SimulationBuilder::eventWord(std::string_view type) {
    std::string word;
    for (char c : type) {
        if (c == '_' || c == ' ' || c == '\t') {
            continue;
        }
        word += c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return word;
}

bool SimulationBuilder::addEvent(std::string_view type, double timeS) {
    if (m_sim.events.size() >= ImportLimits::kMaxEvents) {
        return false;
    }
    if (std::isfinite(timeS)) {
        m_sim.events.push_back({eventWord(type), timeS});
    }
    return true;
}

ImportResult<Simulation> SimulationBuilder::finish(std::string name, const std::string& where) {
    if (!has(ColumnKind::Time)) {
        return ImportError{where + "no time column"};
    }
    if (!has(ColumnKind::Altitude)) {
        return ImportError{where + "no altitude column"};
    }
    if (m_rows == 0) {
        return ImportError{where + "no data rows"};
    }
    std::vector<bool> keep(m_rows);
    bool any = false;
    for (std::size_t i = 0; i < m_rows; ++i) {
        keep[i] = std::isfinite(m_sim.timeS[i]) && std::isfinite(m_sim.altitudeM[i]);
        any = any || keep[i];
    }
    if (!any) {
        return ImportError{where + "no row has a number for both time and altitude"};
    }
    keepRows(m_sim, keep);
    for (std::size_t i = 1; i < m_sim.timeS.size(); ++i) {
        if (m_sim.timeS[i] < m_sim.timeS[i - 1]) {
            return ImportError{where + "time runs backwards at " + std::to_string(m_sim.timeS[i]) +
                               " s"};
        }
    }
    if (!has(ColumnKind::VerticalVelocity)) {
        m_sim.verticalVelocityMs = differentiate(m_sim.timeS, m_sim.altitudeM);
    }
    std::stable_sort(m_sim.events.begin(), m_sim.events.end(),
                     [](const SimEvent& a, const SimEvent& b) { return a.timeS < b.timeS; });
    m_sim.name = std::move(name);
    return std::move(m_sim);
}

}  // namespace tevusb::simulation
