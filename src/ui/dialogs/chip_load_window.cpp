// SPDX-License-Identifier: MIT
#include "ui/dialogs/chip_load_window.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QLineEdit>
#include <array>
#include <chrono>
#include <thread>

#include "analysis/setting_warnings.h"
#include "data/data_set_store.h"
#include "data/setting_values.h"
#include "device/altimeter_device.h"
#include "device/device_tasks.h"
#include "graph/flight_graph.h"
#include "log/diagnostic_log.h"
#include "text/string_ids.h"
#include "ui/dialog_templates.h"
#include "ui/dialogs/chip_load_ids.h"
#include "ui/dialogs/erase_guard.h"
#include "ui/library_service.h"
#include "ui/message_box.h"

namespace tevusb::ui {

using namespace chip_load_ids;
namespace string_ids = text::string_ids;

namespace {

constexpr int kInhibitWarnAbove = 200;  // tenths of a second
constexpr auto kSettleAfterWrite = std::chrono::milliseconds(100);
constexpr int kFinishingWorkerMs = 100;

// The radios of one line in the order their check states are set, with the mode each
// stands for, and the line's two value fields.
struct LineControls {
    std::array<int, 4> radios;  // Disabled, Apogee, Time, Altitude
    int timeField;
    int altitudeField;
};
constexpr std::array<std::uint8_t, 4> kRadioModes{0, 2, 1, 3};
constexpr LineControls kLineA{{kDisabledA, kApogeeA, kTimeModeA, kAltModeA}, kTimeA, kAltA};
constexpr LineControls kLineB{{kDisabledB, kApogeeB, kTimeModeB, kAltModeB}, kTimeB, kAltB};

}  // namespace

CChipLoadWindow::CChipLoadWindow(QWidget* parent, graph::FlightGraph* graph)
    : CBaseWindow(kDialogProgramChip), m_parent(parent), m_graph(graph) {}

CChipLoadWindow::~CChipLoadWindow() {
    // Backstop for a dialog destroyed without its close protocol: the worker uses us.
    endWorkerBeforeDestruction();
    log::logLine("DESTRUCT");
}

bool CChipLoadWindow::handleMessage(const DialogMessage& message) {
    switch (message.message) {
        case Message::InitDialog:
            initDialog();
            return true;
        case Message::Close:
            closeWhenWorkerEnded("Reposting close message...");
            return true;
        case Message::Command:
            command(static_cast<int>(message.wParam));
            return true;
        case Message::DeviceChange:
            if (!deviceChanges().defer(
                    message, [this](const DialogMessage& change) { handleMessage(change); })) {
                handleDeviceChange(
                    message, [this] { connectCheck(); },
                    [this](bool busy) { refreshControls(busy); });
            }
            return true;
        case Message::StatusRefresh:
            refreshStatus();
            return true;
        default:
            break;
    }
    return defaultHandler(message);
}

void CChipLoadWindow::initDialog() {
    createLayout();
    anchor(kStatus, true, true, true, true);
    for (int id : {kRead, kWrite, kClose}) {
        anchor(id, false, false, true, true);
    }
    for (int id : {kDisabledA, kDisabledB, kTimeModeA, kTimeModeB, kAltModeA, kAltModeB, kApogeeA,
                   kApogeeB, kTimeA, kTimeB, kAltA, kAltB}) {
        anchor(id, true, true, false, false);
    }
    for (int id : {kInhibitLabel, kInhibit, kGroundLabel, kGround, kCalibrate, kSeparator}) {
        anchor(id, true, false, false, true);
    }
    anchor(kIcon, true, true, false, false);
    anchorGroupBox(kStatusGroup, true, true, true, true);
    anchorGroupBox(kSettingsGroup, true, true, false, true);
    anchorGroupBox(kLineAGroup, true, true, false, false);
    anchorGroupBox(kLineBGroup, true, true, false, false);
    anchorGroupBox(kGeneralGroup, true, false, false, true);

    setChecked(kDisabledA, true);
    setChecked(kDisabledB, true);
    registerDeviceNotifications();
    displaySettings(device().store.settings);
    appendStatus(QStringLiteral("Warning!\r\n"));
    appendStatus(
        QStringLiteral("Writing settings or calibrating will clear the current data on the "
                       "device!\r\n\r\n"));
    connectCheck();
    refreshControls(false);
}

void CChipLoadWindow::command(int id) {
    switch (id) {
        case kClose:
            sendMessage({Message::Close, 0, 0, {}});
            break;
        case kRead:
        case kWrite: {
            // Both clear the device's memory or replace the calibration the program's flights
            // were decoded with: the program's copy of the flights goes first.
            // A value the record cannot hold is refused before anything is touched.
            if (!checkFields()) {
                break;
            }
            data::DataSetStore& store = device().store;
            store.packets.clear();
            store.current.clear();
            if (id == kRead) {
                startDeviceWorker([this] { return readWorker(); });
            } else {
                startDeviceWorker([this] { return writeRoutine(); });
            }
            break;
        }
        case kCalibrate: {
            bool translated = false;
            const unsigned ground = getInt(kGround, &translated);
            if (!translated) {
                showError(string_ids::kNoGroundAltitude);
                break;
            }
            if (const auto checked =
                    data::checkWholeNumber(data::SettingValue::GroundAltitude, textOf(kGround));
                !checked.ok()) {
                messageBox(window(), QString::fromStdString(checked.problem), kMbOk | kMbIconHand);
                break;
            }
            // The controls are written along with the new offset.
            if (!checkFields()) {
                break;
            }
            m_groundAltitude = static_cast<std::int32_t>(ground);
            startDeviceWorker([this] { return calibrateWorker(); });
            break;
        }
        case kDisabledA:
        case kApogeeA:
            setEnabled(kTimeA, false);
            setEnabled(kAltA, false);
            break;
        case kTimeModeA:
            setEnabled(kTimeA, true);
            setEnabled(kAltA, false);
            break;
        case kAltModeA:
            setEnabled(kTimeA, false);
            setEnabled(kAltA, true);
            break;
        case kDisabledB:
        case kApogeeB:
            setEnabled(kTimeB, false);
            setEnabled(kAltB, false);
            break;
        case kTimeModeB:
            setEnabled(kTimeB, true);
            setEnabled(kAltB, false);
            break;
        case kAltModeB:
            setEnabled(kTimeB, false);
            setEnabled(kAltB, true);
            break;
        default:
            // Enter's and Escape's commands among them: the dialog stays as it is.
            break;
    }
}

void CChipLoadWindow::startDeviceWorker(std::function<int()> routine) {
    for (int id : {kRead, kWrite, kCalibrate}) {
        setEnabled(id, false);
    }
    // The previous routine has returned (we heard of it), but its thread may still be
    // on its last lines: let it finish rather than lose this click.
    worker().waitFor(kFinishingWorkerMs);
    deviceChanges().setBusy(true);
    const bool started = startWorker([this, routine = std::move(routine)] {
        const int result = routine();
        post([this] { workerEnded(); });
        return result;
    });
    if (!started) {
        deviceChanges().setBusy(false);
        refreshControls(false);
    }
}

void CChipLoadWindow::workerEnded() {
    deviceChanges().setBusy(false);
}

void CChipLoadWindow::displaySettings(const settings::DeviceSettings& s) {
    const auto showLine = [this](const LineControls& line, std::uint8_t mode, std::uint16_t value) {
        int checked = 0;
        for (std::size_t k = 0; k < line.radios.size(); ++k) {
            const bool on = kRadioModes[k] == mode;
            setChecked(line.radios[k], on);
            if (on) {
                checked = line.radios[k];
            }
        }
        if (checked != 0) {
            sendMessage({Message::Command, static_cast<std::uintptr_t>(checked), 0, {}});
        }
        setInt(line.timeField, value / 10U);
        setInt(line.altitudeField, value);
    };
    showLine(kLineA, s.lineAMode, s.lineAValue);
    showLine(kLineB, s.lineBMode, s.lineBValue);
    setInt(kInhibit, s.inhibitTime / 10U);
}

bool CChipLoadWindow::checkFields() {
    using data::SettingValue;
    struct Field {
        int radio;  // the field counts while this mode is chosen; 0: always
        int id;
        SettingValue value;
    };
    const Field fields[] = {
        {kLineA.radios[2], kTimeA, SettingValue::LineATime},
        {kLineA.radios[3], kAltA, SettingValue::LineAAltitude},
        {kLineB.radios[2], kTimeB, SettingValue::LineBTime},
        {kLineB.radios[3], kAltB, SettingValue::LineBAltitude},
        {0, kInhibit, SettingValue::InhibitTime},
    };
    for (const Field& f : fields) {
        if (f.radio != 0 && !isChecked(f.radio)) {
            continue;
        }
        const auto checked = data::checkWholeNumber(f.value, textOf(f.id));
        if (!checked.ok()) {
            messageBox(window(), QString::fromStdString(checked.problem), kMbOk | kMbIconHand);
            if (QWidget* control = item(f.id)) {
                control->setFocus();
            }
            return false;
        }
    }
    return true;
}

bool CChipLoadWindow::storeSettings() {
    settings::DeviceSettings& s = device().store.settings;
    const settings::DeviceSettings before = s;
    const auto storeLine = [this](const LineControls& line, std::uint8_t& mode,
                                  std::uint16_t& value) {
        bool ignored = false;
        if (isChecked(line.radios[0])) {
            mode = 0;
        }
        if (isChecked(line.radios[1])) {
            mode = 2;
        }
        if (isChecked(line.radios[2])) {
            mode = 1;
            value = static_cast<std::uint16_t>(getInt(line.timeField, &ignored) * 10U);
        }
        if (isChecked(line.radios[3])) {
            mode = 3;
            value = static_cast<std::uint16_t>(getInt(line.altitudeField, &ignored));
        }
    };
    storeLine(kLineA, s.lineAMode, s.lineAValue);
    storeLine(kLineB, s.lineBMode, s.lineBValue);
    bool ignored = false;
    s.inhibitTime = static_cast<std::uint16_t>(getInt(kInhibit, &ignored) * 10U);
    // Read out before the boxes: while one is open the record is not touched again.
    const bool longInhibit = s.inhibitTime > kInhibitWarnAbove;
    const bool lineDisabled = s.lineAMode == 0 || s.lineBMode == 0;
    // Each warning is a question whose default is not to write.
    const auto confirmed = [this](const QString& text) {
        return messageBox(window(), text, kMbYesNo | kMbIconExclamation) == MessageResult::Yes;
    };
    bool go = (!longInhibit || confirmed(messageText(string_ids::kInhibitLarge))) &&
              (!lineDisabled || confirmed(messageText(string_ids::kLineDisabled)));
    for (const std::string& warning : analysis::settingWarnings(s)) {
        if (!go) {
            break;
        }
        go = confirmed(QString::fromStdString(warning + " Write the settings anyway?"));
    }
    if (!go) {
        s = before;  // the record stays what the device holds
    }
    return go;
}

void CChipLoadWindow::refreshControls(bool busy) {
    const bool connected = device().link.isOpen();
    setConnectionIcon(kIcon, connected);
    for (int id : {kRead, kWrite, kCalibrate}) {
        setEnabled(id, connected && !busy);
    }
}

int CChipLoadWindow::readWorker() {
    const auto read = device::readSettings(device(), device::BadChecksum::UseDefaults,
                                           statusProgress(), operationCancel());
    if (!read.value.imageRead) {
        post([this] { setEnabled(kRead, true); });
        return -1;
    }
    showSettingsLater(read.value.settings);
    return read.ok() ? 0 : -1;
}

int CChipLoadWindow::writeRoutine() {
    device::AltimeterDevice& dev = device();
    if (!storeSettingsFromWorker() ||
        !passEraseGuard(window(), dev, libraryService(), "Writing the settings",
                        [this](const std::string& e) { out(e); })) {
        post([this] { refreshControls(false); });
        return -1;
    }
    const auto written = device::writeSettings(dev, statusProgress(), operationCancel());
    if (!written.ok()) {
        if (written.value == device::WriteStep::ClearFailed) {
            post([this] { refreshControls(false); });
        } else {
            post([this] { setEnabled(kRead, true); });
        }
        return -1;
    }
    settleAfterWrite();
    return 0;
}

bool CChipLoadWindow::storeSettingsFromWorker() {
    bool go = false;
    runOnWindowThreadAndWait([this, &go] { go = storeSettings(); });
    return go;
}

void CChipLoadWindow::settleAfterWrite() {
    std::this_thread::sleep_for(kSettleAfterWrite);
    post([this] { refreshStatus(); });
    showSettingsLater(device().store.settings);
}

int CChipLoadWindow::calibrateWorker() {
    device::AltimeterDevice& dev = device();
    post([this] { refreshControls(true); });
    // The memory is checked before calibrating clears it; the write that follows has
    // nothing left to lose.
    if (!passEraseGuard(window(), dev, libraryService(), "Calibrating",
                        [this](const std::string& e) { out(e); })) {
        post([this] { refreshControls(false); });
        return -1;
    }
    // The controls are written along with the new offset.
    const auto calibrated = device::calibrate(
        dev, static_cast<double>(m_groundAltitude), [this] { return storeSettingsFromWorker(); },
        statusProgress(), operationCancel());
    if (calibrated.value.completed) {
        settleAfterWrite();
    }
    post([this] {
        refreshControls(false);
        redrawGraph();
    });
    return calibrated.value.completed ? 0 : -1;
}

void CChipLoadWindow::out(const std::string& entry) {
    appendStatus(QString::fromStdString(entry));
}

void CChipLoadWindow::post(std::function<void()> task) {
    runOnWindowThread(std::move(task));
}

void CChipLoadWindow::showSettingsLater(const settings::DeviceSettings& settings) {
    post([this, settings] {
        displaySettings(settings);
        refreshControls(false);
        redrawGraph();
    });
}

void CChipLoadWindow::redrawGraph() {
    if (m_graph != nullptr) {
        m_graph->RedrawGraph();
    }
}

void CChipLoadWindow::setInt(int id, unsigned value) {
    if (auto* edit = qobject_cast<QLineEdit*>(item(id))) {
        edit->setText(QString::number(value));
    }
}

std::string CChipLoadWindow::textOf(int id) const {
    auto* edit = qobject_cast<QLineEdit*>(item(id));
    return edit != nullptr ? edit->text().toStdString() : std::string();
}

unsigned CChipLoadWindow::getInt(int id, bool* translated) const {
    bool ok = false;
    unsigned value = 0;
    if (auto* edit = qobject_cast<QLineEdit*>(item(id))) {
        value = edit->text().trimmed().toUInt(&ok);
    }
    *translated = ok;
    return ok ? value : 0;
}

void CChipLoadWindow::setEnabled(int id, bool enabled) {
    if (QWidget* control = item(id)) {
        control->setEnabled(enabled);
    }
}

void CChipLoadWindow::setChecked(int id, bool checked) {
    auto* button = qobject_cast<QAbstractButton*>(item(id));
    if (button == nullptr) {
        return;
    }
    // An exclusive group refuses to uncheck its checked button; each state is set as
    // asked, and the group's rule returns with the next click.
    QButtonGroup* group = button->group();
    const bool exclusive = group != nullptr && group->exclusive();
    if (exclusive) {
        group->setExclusive(false);
    }
    button->setChecked(checked);
    if (exclusive) {
        group->setExclusive(true);
    }
}

bool CChipLoadWindow::isChecked(int id) const {
    auto* button = qobject_cast<QAbstractButton*>(item(id));
    return button != nullptr && button->isChecked();
}

}  // namespace tevusb::ui
