// SPDX-License-Identifier: MIT
#include "ui/dialogs/control_options_window.h"

#include <QWidget>

#include "device/altimeter_device.h"
#include "device/device_tasks.h"
#include "device/settings_snapshot.h"
#include "graph/emulation_markers.h"
#include "graph/flight_graph.h"
#include "log/diagnostic_log.h"
#include "text/safety_texts.h"
#include "text/string_ids.h"
#include "text/string_table.h"
#include "ui/dialog_templates.h"
#include "ui/emulation_report_window.h"
#include "ui/message_box.h"

namespace tevusb::ui {

namespace {

constexpr int kOptionsGroup = 1008;
constexpr int kEmulate = 1039;
constexpr int kReadPressure = 1040;
constexpr int kReadBattery = 1041;
constexpr int kFireLines = 1042;
constexpr int kStatusGroup = 1007;
constexpr int kStatus = 1003;
constexpr int kIcon = 1033;
constexpr int kClose = 1004;

QString fromText(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Asked before the lines are fired: a slip of the mouse must not set off live charges.
QString fireQuestion() {
    return QStringLiteral("Fire both ejection lines for 2 seconds?\n\n") +
           fromText(text::kFireHint);
}

}  // namespace

CControlOptionsWindow::CControlOptionsWindow(QWidget* parent, graph::FlightGraph* graph)
    : CBaseWindow(kDialogControlOptions), m_parent(parent), m_graph(graph) {}

CControlOptionsWindow::~CControlOptionsWindow() {
    // Backstop for a dialog destroyed without its close protocol: the worker uses us.
    endWorkerBeforeDestruction();
    log::logLine("DESTRUCT");
}

int CControlOptionsWindow::exec() {
    return show(m_parent);
}

bool CControlOptionsWindow::handleMessage(const DialogMessage& message) {
    switch (message.message) {
        case Message::InitDialog:
            initialise();
            return true;
        case Message::Command:
            switch (message.wParam) {
                case kEmulate:
                    emulate();
                    break;
                case kReadPressure:
                    readPressure();
                    break;
                case kReadBattery:
                    readBattery();
                    break;
                case kFireLines:
                    fireLines();
                    break;
                case kClose:
                    sendMessage({Message::Close, 0, 0, {}});
                    break;
                default:
                    break;
            }
            return true;
        case Message::KeyDown:
            if (message.wParam == kKeyEscape) {
                sendMessage({Message::Close, 0, 0, {}});
                return true;
            }
            break;
        case Message::DeviceChange:
            deviceChange(message);
            return true;
        case Message::StatusRefresh:
            refreshStatus();
            return true;
        case Message::Close:
            close();
            return true;
        default:
            break;
    }
    return defaultHandler(message);
}

void CControlOptionsWindow::initialise() {
    createLayout();
    anchorGroupBox(kOptionsGroup, true, true, false, true);
    for (int id : {kEmulate, kReadPressure, kReadBattery, kFireLines}) {
        anchor(id, true, true, false, false);
    }
    anchorGroupBox(kStatusGroup, true, true, true, true);
    anchor(kStatus, true, true, true, true);
    anchor(kClose, false, false, true, true);
    registerDeviceNotifications();
    if (!m_closing) {
        connectCheck();
    }
    refreshControls(false);
}

void CControlOptionsWindow::refreshControls(bool busy) {
    if (m_closing) {
        return;
    }
    const bool connected = device().link.isOpen();
    if (!busy) {
        m_hasFlight = !device().store.current.adcCounts.empty();
    }
    setConnectionIcon(kIcon, connected);
    auto enable = [this](int id, bool on) {
        if (QWidget* w = item(id)) {
            w->setEnabled(on);
        }
    };
    enable(kEmulate, !busy && connected && m_hasFlight);
    enable(kReadPressure, !busy && connected);
    enable(kReadBattery, !busy && connected);
    enable(kFireLines, !busy && connected);
}

void CControlOptionsWindow::startDeviceWorker(std::function<int()> body,
                                              std::function<void()> afterIdle) {
    if (m_worker.running()) {
        return;
    }
    // Disabled at once, so a second click cannot queue a second operation.
    refreshControls(true);
    startWorker([this, body = std::move(body), afterIdle = std::move(afterIdle)] {
        postRefresh(true);
        if (!device().link.isOpen()) {
            status(device::kAltimeterNotFound);
            postRefresh(false);
            return -1;
        }
        const int r = body();
        postRefresh(false);
        if (r == 0 && afterIdle) {
            runOnWindowThread(afterIdle);
        }
        return r;
    });
}

void CControlOptionsWindow::emulate() {
    if (m_worker.running()) {
        return;
    }
    // Whatever the answer: it only gives the user the moment to connect the battery. The
    // replay makes the flight logic fire the lines, hence the reminder after the invitation.
    userPrompts().messageBox(window(),
                             messageText(text::string_ids::kConnectBattery) +
                                 QStringLiteral("\n\n") + fromText(text::kEmulateHint),
                             fromText(text::kCaption), kMbOk | kMbIconInformation);
    startDeviceWorker([this] {
        m_recorder.clear();
        const auto emulated =
            device::emulateLaunch(device(), statusProgress([this](const device::Progress& event) {
                                      m_recorder.add(event.flag, event.done);
                                      if (!event.entry.empty()) {
                                          status(event.entry);
                                      }
                                  }),
                                  operationCancel());
        reportEmulation(emulated.ok());
        return emulated.ok() ? 0 : -1;
    });
}

void CControlOptionsWindow::reportEmulation(bool succeeded) {
    // A cancel comes from closing the dialog: the user has left, so nothing pops up.
    if (m_worker.cancelled() || device().cancelRequested()) {
        return;
    }
    // The device's settings are what its flight logic flew with; a device that failed
    // the emulation is not asked again, and the flight's own settings stand in.
    const auto onDevice = succeeded ? device::readSettingsSnapshot(device())
                                    : std::optional<settings::DeviceSettings>{};
    auto report = std::make_shared<const analysis::EmulationReport>(analysis::buildEmulationReport(
        device().store.current, onDevice.value_or(device().store.settings),
        m_recorder.finish(succeeded, false), onDevice.has_value()));
    runOnWindowThread([this, report] {
        if (m_closing) {
            return;
        }
        // The report reads in the units the main window's graph shows.
        EmulationReportWindow::present(
            *report, m_graph ? m_graph->units() : analysis::UnitSystem::Metric, m_parent);
        if (m_graph != nullptr) {
            const auto markers = graph::emulationMarkers(*report);
            m_graph->changeView(
                [&markers](graph::AnalysisViewState& view) { view.extraMarkers = markers; });
            m_graph->RedrawGraph();
        }
        if (m_reportListener) {
            m_reportListener(*report);
        }
    });
}

void CControlOptionsWindow::readPressure() {
    startDeviceWorker(
        [this] {
            return device::readPressure(device(), statusProgress(), operationCancel()).ok() ? 0
                                                                                            : -1;
        },
        [this] {
            if (m_graph != nullptr) {
                m_graph->RedrawGraph();
            }
        });
}

void CControlOptionsWindow::readBattery() {
    startDeviceWorker(
        [this] {
            if (!device::readBattery(device(), statusProgress(), operationCancel()).ok()) {
                return -1;
            }
            log::logLine("Notifying connection...");
            return 0;
        },
        [] { log::logLine("Done."); });
}

void CControlOptionsWindow::fireLines() {
    if (m_worker.running()) {
        return;
    }
    if (userPrompts().messageBox(window(), fireQuestion(), fromText(text::kCaption),
                                 kMbYesNo | kMbIconExclamation) != MessageResult::Yes) {
        return;
    }
    startDeviceWorker([this] {
        return device::fireLines(device(), statusProgress(), operationCancel()).ok() ? 0 : -1;
    });
}

void CControlOptionsWindow::close() {
    m_closing = true;
    cancelOperation();
    closeWhenWorkerEnded("reposting close message...");
}

void CControlOptionsWindow::deviceChange(const DialogMessage& message) {
    if (m_closing) {
        return;
    }
    // Under a running operation the base holds the connect check back until the worker has
    // ended; the dialog may be closing by then.
    handleDeviceChange(
        message,
        [this] {
            if (!m_closing) {
                connectCheck();
            }
        },
        [this](bool busy) { refreshControls(busy); });
}

void CControlOptionsWindow::status(const std::string& entry) {
    appendStatus(QString::fromStdString(entry));
}

void CControlOptionsWindow::postRefresh(bool busy) {
    runOnWindowThread([this, busy] { refreshControls(busy); });
}

}  // namespace tevusb::ui
