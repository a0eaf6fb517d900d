// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>
#include <optional>
#include <string>

#include "analysis/units.h"
#include "settings/rocket_profile.h"

class QComboBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace tevusb::ui {

// The fields of one rocket profile, in the flyer's units. Values are checked the way the
// Device Settings dialog checks them before anything is kept.
class ProfileForm : public QWidget {
    Q_OBJECT
  public:
    explicit ProfileForm(QWidget* parent = nullptr);

    // Shows the altitudes in `units`, converting what the fields hold (typed or shown).
    void setUnits(analysis::UnitSystem units);
    void show(const settings::RocketProfile& profile);
    // The profile the fields describe; nothing, with the sentence that says why in
    // `problem`, when a field holds what the altimeter cannot take.
    std::optional<settings::RocketProfile> profile(std::string& problem) const;
    QString name() const;

  private:
    struct LineFields {
        QComboBox* mode = nullptr;
        QLineEdit* value = nullptr;
        QLabel* unit = nullptr;
    };
    void addLine(QFormLayout* form, const QString& label, LineFields& line);
    void followMode(LineFields& line);
    std::optional<settings::ProfileLine> readLine(const LineFields& line, bool lineA,
                                                  std::string& problem) const;

    analysis::UnitSystem m_units = analysis::UnitSystem::Metric;
    QLineEdit* m_name = nullptr;
    LineFields m_lineA, m_lineB;
    QLineEdit* m_inhibit = nullptr;
    QLineEdit* m_battery = nullptr;
    QLineEdit* m_apogee = nullptr;
    QLabel* m_apogeeUnit = nullptr;
    QPlainTextEdit* m_notes = nullptr;
    settings::RocketProfile m_shown;
};

}  // namespace tevusb::ui
