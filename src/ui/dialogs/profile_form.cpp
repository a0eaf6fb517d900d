// SPDX-License-Identifier: MIT
#include "ui/dialogs/profile_form.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <cmath>

#include "data/setting_values.h"

namespace tevusb::ui {

namespace {

using settings::LineMode;

// The combo's entries in the order a flyer reads them, with the mode each stands for.
const LineMode kModes[] = {LineMode::Disabled, LineMode::Time, LineMode::Apogee,
                           LineMode::Altitude};

int modeIndex(std::uint8_t mode) {
    for (int i = 0; i < 4; ++i) {
        if (static_cast<std::uint8_t>(kModes[i]) == mode) {
            return i;
        }
    }
    return 2;
}

std::uint8_t modeAt(int index) {
    return static_cast<std::uint8_t>(kModes[index < 0 || index > 3 ? 2 : index]);
}

QString tenths(std::uint16_t value) {
    return QString::number(value / 10) + QLatin1Char('.') + QString::number(value % 10);
}

std::optional<double> number(const QString& text) {
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    return ok && std::isfinite(v) ? std::optional<double>(v) : std::nullopt;
}

}  // namespace

ProfileForm::ProfileForm(QWidget* parent) : QWidget(parent) {
    auto* form = new QFormLayout(this);
    form->setContentsMargins(0, 0, 0, 0);
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("ProfileName"));
    form->addRow(QStringLiteral("Rocket"), m_name);
    addLine(form, QStringLiteral("Line A"), m_lineA);
    addLine(form, QStringLiteral("Line B"), m_lineB);
    m_lineA.mode->setObjectName(QStringLiteral("LineAMode"));
    m_lineA.value->setObjectName(QStringLiteral("LineAValue"));
    m_lineB.mode->setObjectName(QStringLiteral("LineBMode"));
    m_lineB.value->setObjectName(QStringLiteral("LineBValue"));
    m_inhibit = new QLineEdit(this);
    m_inhibit->setObjectName(QStringLiteral("Inhibit"));
    form->addRow(QStringLiteral("Inhibit [s]"), m_inhibit);
    m_battery = new QLineEdit(this);
    m_battery->setObjectName(QStringLiteral("MinBattery"));
    form->addRow(QStringLiteral("Lowest battery [V]"), m_battery);
    auto* apogeeRow = new QHBoxLayout;
    m_apogee = new QLineEdit(this);
    m_apogee->setObjectName(QStringLiteral("ExpectedApogee"));
    m_apogee->setPlaceholderText(QStringLiteral("optional"));
    m_apogeeUnit = new QLabel(this);
    apogeeRow->addWidget(m_apogee);
    apogeeRow->addWidget(m_apogeeUnit);
    form->addRow(QStringLiteral("Expected apogee"), apogeeRow);
    m_notes = new QPlainTextEdit(this);
    m_notes->setObjectName(QStringLiteral("Notes"));
    m_notes->setMaximumHeight(60);
    form->addRow(QStringLiteral("Notes"), m_notes);
    setUnits(m_units);
    show(m_shown);
}

void ProfileForm::addLine(QFormLayout* form, const QString& label, LineFields& line) {
    auto* row = new QHBoxLayout;
    line.mode = new QComboBox(this);
    line.mode->addItems({QStringLiteral("Disabled"), QStringLiteral("Time"),
                         QStringLiteral("Apogee"), QStringLiteral("Altitude")});
    line.value = new QLineEdit(this);
    line.value->setMaximumWidth(80);
    line.unit = new QLabel(this);
    row->addWidget(line.mode);
    row->addWidget(line.value);
    row->addWidget(line.unit);
    row->addStretch();
    form->addRow(label, row);
    connect(line.mode, &QComboBox::currentIndexChanged, this, [this, &line] { followMode(line); });
}

void ProfileForm::followMode(LineFields& line) {
    const std::uint8_t mode = modeAt(line.mode->currentIndex());
    const bool time = mode == static_cast<std::uint8_t>(LineMode::Time);
    line.value->setEnabled(settings::modeUsesValue(mode));
    line.unit->setText(
        !settings::modeUsesValue(mode) ? QString()
        : time                         ? QStringLiteral("s")
               : QString::fromUtf8(analysis::unitSymbol(analysis::Quantity::Altitude, m_units)));
}

void ProfileForm::setUnits(analysis::UnitSystem units) {
    // Each altitude the flyer typed is converted where it stands; everything else, and a
    // field that is not a number yet, stays as typed, so no edit is lost to the change.
    const analysis::UnitSystem from = m_units;
    const auto convert = [from, units](QLineEdit* field) {
        if (const auto shown = number(field->text()); shown && from != units) {
            const double metres = analysis::fromDisplay(analysis::Quantity::Altitude, *shown, from);
            field->setText(QString::number(
                std::lround(analysis::toDisplay(analysis::Quantity::Altitude, metres, units))));
        }
    };
    for (const LineFields* line : {&m_lineA, &m_lineB}) {
        if (modeAt(line->mode->currentIndex()) != static_cast<std::uint8_t>(LineMode::Time)) {
            convert(line->value);
        }
    }
    convert(m_apogee);
    m_units = units;
    m_apogeeUnit->setText(
        QString::fromUtf8(analysis::unitSymbol(analysis::Quantity::Altitude, units)));
    followMode(m_lineA);
    followMode(m_lineB);
}

void ProfileForm::show(const settings::RocketProfile& p) {
    m_shown = p;
    m_name->setText(QString::fromStdString(p.name));
    const auto fill = [this](LineFields& line, const settings::ProfileLine& value) {
        line.mode->setCurrentIndex(modeIndex(value.mode));
        followMode(line);
        if (!value.value || !settings::modeUsesValue(value.mode)) {
            line.value->clear();
        } else if (value.mode == static_cast<std::uint8_t>(LineMode::Time)) {
            line.value->setText(tenths(*value.value));
        } else {
            line.value->setText(QString::number(std::lround(
                analysis::toDisplay(analysis::Quantity::Altitude, *value.value, m_units))));
        }
    };
    fill(m_lineA, p.lineA);
    fill(m_lineB, p.lineB);
    m_inhibit->setText(tenths(p.inhibitTime));
    m_battery->setText(QString::number(p.minBatteryV, 'f', 1));
    m_apogee->setText(p.expectedApogeeM
                          ? QString::number(std::lround(analysis::toDisplay(
                                analysis::Quantity::Altitude, *p.expectedApogeeM, m_units)))
                          : QString());
    m_notes->setPlainText(QString::fromStdString(p.notes));
}

QString ProfileForm::name() const {
    return m_name->text().trimmed();
}

std::optional<settings::ProfileLine> ProfileForm::readLine(const LineFields& line, bool lineA,
                                                           std::string& problem) const {
    const std::uint8_t mode = modeAt(line.mode->currentIndex());
    if (!settings::modeUsesValue(mode)) {
        return settings::ProfileLine{mode, std::nullopt};
    }
    const bool time = mode == static_cast<std::uint8_t>(LineMode::Time);
    using data::SettingValue;
    const SettingValue field =
        time ? (lineA ? SettingValue::LineATime : SettingValue::LineBTime)
             : (lineA ? SettingValue::LineAAltitude : SettingValue::LineBAltitude);
    std::string text = line.value->text().trimmed().toStdString();
    if (!time && m_units != analysis::UnitSystem::Metric) {
        // Feet are turned into the whole metres the altimeter keeps, then checked as such.
        if (const auto feet = number(line.value->text())) {
            text = std::to_string(
                std::lround(analysis::fromDisplay(analysis::Quantity::Altitude, *feet, m_units)));
        }
    }
    const data::CheckedValue checked =
        time ? data::checkDecimal(field, text) : data::checkWholeNumber(field, text);
    if (!checked.ok()) {
        problem = checked.problem;
        return std::nullopt;
    }
    return settings::ProfileLine{mode, checked.stored};
}

std::optional<settings::RocketProfile> ProfileForm::profile(std::string& problem) const {
    settings::RocketProfile p = m_shown;
    p.name = name().toStdString();
    const auto a = readLine(m_lineA, true, problem);
    if (!a) {
        return std::nullopt;
    }
    const auto b = readLine(m_lineB, false, problem);
    if (!b) {
        return std::nullopt;
    }
    p.lineA = *a;
    p.lineB = *b;
    const data::CheckedValue inhibit =
        data::checkDecimal(data::SettingValue::InhibitTime, m_inhibit->text().toStdString());
    if (!inhibit.ok()) {
        problem = inhibit.problem;
        return std::nullopt;
    }
    p.inhibitTime = *inhibit.stored;
    const auto volts = number(m_battery->text());
    if (!volts) {
        problem =
            "Lowest battery voltage: \"" + m_battery->text().toStdString() + "\" is not a number.";
        return std::nullopt;
    }
    p.minBatteryV = *volts;
    p.expectedApogeeM.reset();
    if (!m_apogee->text().trimmed().isEmpty()) {
        const auto shown = number(m_apogee->text());
        if (!shown) {
            problem =
                "Expected apogee: \"" + m_apogee->text().toStdString() + "\" is not a number.";
            return std::nullopt;
        }
        p.expectedApogeeM = analysis::fromDisplay(analysis::Quantity::Altitude, *shown, m_units);
    }
    p.notes = m_notes->toPlainText().toStdString();
    if (std::string why = settings::profileProblem(p); !why.empty()) {
        problem = why;
        return std::nullopt;
    }
    return p;
}

}  // namespace tevusb::ui
