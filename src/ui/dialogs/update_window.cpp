// SPDX-License-Identifier: MIT
#include "ui/dialogs/update_window.h"

#include <QFile>
#include <QProgressBar>
#include <atomic>
#include <filesystem>

#include "device/altimeter_device.h"
#include "device/device_tasks.h"
#include "log/diagnostic_log.h"
#include "text/string_ids.h"
#include "ui/connect_check.h"
#include "ui/dialog_templates.h"
#include "ui/dialogs/device_hints.h"
#include "ui/dialogs/update_ids.h"
#include "ui/native_path.h"

namespace tevusb::ui {

using namespace update_ids;
namespace string_ids = text::string_ids;

namespace {

constexpr int kFinishingWorkerMs = 100;
// The bar's place in dialog units: the free strip left of "Update...", level with it.
constexpr QRect kProgressRect(7, 102, 163, 14);

// Program-wide, as the tens already shown belong to the run rather than to one dialog.
std::atomic<int> g_lastShownPercent{0};

}  // namespace

CUpdateWindow::CUpdateWindow(QWidget* parent)
    : CBaseWindow(kDialogUpdateFirmware), m_parent(parent) {}

CUpdateWindow::~CUpdateWindow() {
    // Backstop for a dialog destroyed without its close protocol: the worker uses us.
    endWorkerBeforeDestruction();
    // Also clears the cancel flag our close set, so it cannot stop the next operation.
    device().disconnect();
    log::logLine("DESTRUCT");
}

bool CUpdateWindow::handleMessage(const DialogMessage& message) {
    switch (message.message) {
        case Message::InitDialog:
            addProgressBar();
            createLayout();
            anchor(kStatus, true, true, true, true);
            anchor(kIcon, true, true, false, false);
            anchor(kUpdate, false, false, true, true);
            anchor(kClose, false, false, true, true);
            anchorGroupBox(kStatusGroup, true, true, true, true);
            anchor(kProgress, false, true, true, true);
            registerDeviceNotifications();
            connectBootloader();
            refreshControls(false);
            return true;
        case Message::Close:
            close();
            return true;
        case Message::KeyDown:
            if (message.wParam == kKeyEscape) {
                close();
                return true;
            }
            break;
        case Message::Command:
            if (message.wParam == static_cast<std::uintptr_t>(kUpdate)) {
                startUpdate();
            } else if (message.wParam == static_cast<std::uintptr_t>(kClose)) {
                close();
            }
            return true;
        case Message::DeviceChange:
            if (!deviceChanges().defer(
                    message, [this](const DialogMessage& change) { handleMessage(change); })) {
                handleDeviceChange(
                    message, [this] { connectBootloader(); },
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

void CUpdateWindow::refreshControls(bool busy) {
    const bool connected = device().link.isOpen();
    setConnectionIcon(kIcon, connected);
    if (QWidget* update = item(kUpdate)) {
        update->setEnabled(connected && !busy);
    }
    if (QWidget* closeButton = item(kClose)) {
        closeButton->setEnabled(!busy);
    }
}

void CUpdateWindow::connectBootloader() {
    const auto found = connectCheckBootloader(*this, device());
    // No bootloader answered (nothing did, or the application firmware did): say how to
    // get there.
    setStatusHint(found.result == device::DeviceResult::NoDevice ? bootloaderHint() : QString());
}

void CUpdateWindow::addProgressBar() {
    DialogHost* dialog = window();
    if (dialog == nullptr) {
        return;
    }
    auto* bar = new QProgressBar(dialog);
    bar->setObjectName(QString::number(kProgress));
    bar->setRange(0, 100);
    bar->setValue(0);
    bar->setGeometry(DialogUnits(dialog->font()).rect(kProgressRect));
    bar->setAccessibleName(QStringLiteral("Firmware update progress"));
    bar->show();
}

void CUpdateWindow::close() {
    if (deviceChanges().busy() || worker().running()) {
        showWarning(string_ids::kUpdateRunning);
        return;
    }
    cancelOperation();
    log::logLine("Canceled IO.");
    closeWhenWorkerEnded("reposting close message...");
}

void CUpdateWindow::startUpdate() {
    if (deviceChanges().busy()) {
        return;
    }
    FileDialogRequest request;
    request.mode = FileDialogRequest::Mode::Open;
    request.title = QStringLiteral("Load Firmware file");
    request.filterName = QStringLiteral("Firmware Code");
    request.pattern = QStringLiteral("*.dat");
    request.defaultSuffix = QStringLiteral("dat");
    const QString path = userPrompts().fileDialog(window(), request);
    if (path.isEmpty()) {
        return;
    }
    m_firmwarePath = path;
    refreshControls(true);
    if (auto* bar = qobject_cast<QProgressBar*>(item(kProgress))) {
        bar->setValue(0);
    }
    m_barPercent = 0;
    // A previous update's thread may still be on its last lines: let it finish.
    worker().waitFor(kFinishingWorkerMs);
    deviceChanges().setBusy(true);
    const bool started = startWorker([this] {
        const int result = updateWorker();
        runOnWindowThread([this] { workerEnded(); });
        return result;
    });
    if (!started) {
        deviceChanges().setBusy(false);
        refreshControls(false);
    }
}

int CUpdateWindow::updateWorker() {
    log::logLine("Firmware file: ", m_firmwarePath.toStdString());
    const std::filesystem::path path = toPath(m_firmwarePath);
    const auto updated = device::updateFirmware(
        device(), path, statusProgress([this](const device::Progress& step) { progress(step); }),
        operationCancel());
    return updated.ok() ? 0 : -1;
}

void CUpdateWindow::workerEnded() {
    deviceChanges().setBusy(false);
    refreshControls(false);
}

void CUpdateWindow::progress(const device::Progress& step) {
    log::logLine(step.percent);
    if (m_barPercent.exchange(step.percent) != step.percent) {
        const int percent = step.percent;
        runOnWindowThread([this, percent] {
            if (auto* bar = qobject_cast<QProgressBar*>(item(kProgress))) {
                bar->setValue(percent);
            }
        });
    }
    const int tens = step.percent / 10 * 10;
    if (g_lastShownPercent.exchange(tens) == tens) {
        return;
    }
    out(std::to_string(tens) + "%\r\n");
}

void CUpdateWindow::resetShownProgress() {
    g_lastShownPercent = 0;
}

void CUpdateWindow::out(const std::string& entry) {
    appendStatus(QString::fromStdString(entry));
}

}  // namespace tevusb::ui
