// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "simulation/column_kind.h"
#include "simulation/import_error.h"
#include "simulation/simulation.h"

namespace tevusb::simulation {

// Gathers the rows and events of one simulation as a reader finds them, whatever the
// file's form, and checks the whole at the end: the one place that decides what a
// usable simulation is.
class SimulationBuilder {
  public:
    // What one field of a row is: a column we use (with the factor to SI) or one we skip.
    struct Column {
        std::optional<ColumnKind> kind;
        double factor = 1.0;
    };

    explicit SimulationBuilder(std::vector<Column> columns);

    bool has(ColumnKind kind) const;
    // True when field `index` of a row is read (false for columns we skip).
    bool uses(std::size_t index) const { return index < m_used.size() && m_used[index]; }
    // One past the last field a row needs read.
    std::size_t usedEnd() const { return m_usedEnd; }
    std::size_t columnCount() const { return m_columns.size(); }
    // False when the row limit is reached.
    bool addRow(const std::vector<double>& values);
    // False when the event limit is reached. The type is kept as a lower-case word
    // without underscores, so "RECOVERY_DEVICE_DEPLOYMENT" and "recoverydevicedeployment"
    // are one event.
    bool addEvent(std::string_view type, double timeS);

    // The simulation, or why there is none: no time or altitude column, no data rows,
    // no row with a number for both, time running backwards. `where` starts each message.
    ImportResult<Simulation> finish(std::string name, const std::string& where);

    // Lower case, underscores and blanks dropped.
    static std::string eventWord(std::string_view type);

  private:
    std::vector<double>& series(ColumnKind kind);

    std::vector<Column> m_columns;
    std::vector<bool> m_used;  // false for a skipped column or a repeated kind
    std::size_t m_usedEnd = 0;
    Simulation m_sim;
    std::size_t m_rows = 0;
};

}  // namespace tevusb::simulation
