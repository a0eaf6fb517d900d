// SPDX-License-Identifier: MIT
#include "ui/base_window.h"

#include <QGroupBox>
#include <QLabel>
#include <utility>

#include "device/altimeter_device.h"
#include "log/diagnostic_log.h"
#include "ui/connect_check.h"
#include "ui/device_change_notifier.h"
#include "ui/dialog_host.h"
#include "ui/dialog_look.h"
#include "ui/group_box_frame.h"
#include "ui/message_box.h"
#include "ui/resource_images.h"
#include "ui/status_box.h"

namespace tevusb::ui {

namespace {

constexpr int kStatusBoxId = 1003;
constexpr int kCloseWaitMs = 100;
constexpr qsizetype kMaxCaption = 254;

}  // namespace

CBaseWindow::CBaseWindow(int resourceId)
    : CDialogWindow(resourceId), m_backgroundBrush(kBackgroundColour) {}

CBaseWindow::~CBaseWindow() {
    m_deviceNotifier.reset();
    m_groupBoxes.clear();
}

device::AltimeterDevice& CBaseWindow::device() const {
    return m_device != nullptr ? *m_device : device::theDevice();
}

void CBaseWindow::registerDeviceNotifications(std::shared_ptr<device::HidBackend> backend) {
    if (!backend) {
        // The device outlives every dialog, so its backend can be borrowed.
        backend =
            std::shared_ptr<device::HidBackend>(std::shared_ptr<void>(), &device().link.backend());
    }
    m_deviceNotifier = std::make_unique<DeviceChangeNotifier>(
        std::move(backend),
        [this](const device::DeviceWatcher::Event& event) {
            const bool arrival = event.type == device::DeviceWatcher::EventType::Arrival;
            sendMessage({Message::DeviceChange, arrival ? kDeviceArrival : kDeviceRemoveComplete, 0,
                         event.device.path});
        },
        window());
}

void CBaseWindow::handleDeviceChange(const DialogMessage& message,
                                     const std::function<void()>& connectCheck,
                                     const std::function<void(bool)>& refresh) {
    log::logLine("Device Change.");
    const bool busy = m_worker.running();
    if (message.wParam == kDeviceArrival) {
        if (busy) {
            // Connecting closes and reopens the link: under a running transfer that would
            // break a download or a settings write because some other USB device came.
            m_changes.deferUntilWorkerEnded([connectCheck, refresh] {
                if (connectCheck) {
                    connectCheck();
                }
                if (refresh) {
                    refresh(false);
                }
            });
        } else if (connectCheck) {
            connectCheck();
        }
    } else if (message.wParam == kDeviceRemoveComplete) {
        device::AltimeterDevice& dev = device();
        if (dev.link.isSameDevice(message.devicePath)) {
            appendStatus(QStringLiteral("Device disconnected.\r\n"));
            dev.link.close();
        }
    }
    // While a worker runs its buttons stay disabled: only one worker at a time.
    if (refresh) {
        refresh(busy);
    }
}

device::Operation<device::ConnectInfo> CBaseWindow::connectCheck() {
    return connectCheckApplication(*this, device());
}

QWidget* CBaseWindow::item(int id) const {
    if (window() == nullptr) {
        return nullptr;
    }
    return window()->findChild<QWidget*>(QString::number(id), Qt::FindDirectChildrenOnly);
}

int CBaseWindow::windowWidth() const {
    return window() ? window()->width() : 0;
}
int CBaseWindow::windowHeight() const {
    return window() ? window()->height() : 0;
}

QWidget* CBaseWindow::replaceGroupBox(int id) {
    auto* box = qobject_cast<QGroupBox*>(item(id));
    if (box == nullptr) {
        return nullptr;
    }
    const QString caption = box->title().left(kMaxCaption);
    auto* frame = new GroupBoxFrame(caption, window(), [this](const QWidget* w) {
        for (const auto& record : m_groupBoxes) {
            if (record->window == w) {
                return true;
            }
        }
        return false;
    });
    frame->setGeometry(box->geometry());
    // Beneath every control, as the group box was; the controls inside stay usable.
    frame->lower();
    frame->show();
    delete box;
    m_groupBoxes.push_back(std::make_unique<GroupBoxRecord>(GroupBoxRecord{frame, caption}));
    return frame;
}

MessageResult CBaseWindow::showError(int stringId) {
    return messageBox(window(), stringId, kMbOk | kMbIconHand);
}

MessageResult CBaseWindow::showWarning(int stringId) {
    return messageBox(window(), stringId, kMbOk | kMbIconExclamation);
}

void CBaseWindow::appendStatus(const QString& text) {
    m_status.append(text);
    postMessage({Message::StatusRefresh, 0, 0, {}});
}

void CBaseWindow::appendStatus(std::wstring_view text) {
    appendStatus(QString::fromWCharArray(text.data(), static_cast<qsizetype>(text.size())));
}

bool CBaseWindow::defaultHandler(const DialogMessage& message) {
    // Colours, background and the group boxes paint themselves in this port; what is left
    // is a status refresh a dialog did not handle itself.
    if (message.message == Message::StatusRefresh) {
        refreshStatus();
        return true;
    }
    return false;
}

void CBaseWindow::createLayout() {
    m_layout = std::make_unique<AnchorLayout>(window(), windowWidth(), windowHeight(), 0, 0);
}

bool CBaseWindow::anchor(int id, bool top, bool left, bool bottom, bool right) {
    QWidget* control = item(id);
    if (control == nullptr || !m_layout) {
        return false;
    }
    m_layout->add(control, top, left, bottom, right);
    return true;
}

bool CBaseWindow::anchorGroupBox(int id, bool top, bool left, bool bottom, bool right) {
    QWidget* frame = replaceGroupBox(id);
    if (frame == nullptr || !m_layout) {
        return false;
    }
    m_layout->add(frame, top, left, bottom, right);
    return true;
}

void CBaseWindow::setStatusHint(const QString& hint) {
    if (hint == m_statusHint) {
        return;
    }
    m_statusHint = hint;
    // Through the posted refresh, like every status line, so it lands after the lines
    // appended before it.
    postMessage({Message::StatusRefresh, 0, 0, {}});
}

void CBaseWindow::refreshStatus() {
    if (auto* box = qobject_cast<StatusBox*>(item(kStatusBoxId))) {
        box->showBuffer(m_status.text() + m_statusHint);
    }
}

void CBaseWindow::setConnectionIcon(int id, bool connected) {
    if (auto* label = qobject_cast<QLabel*>(item(id))) {
        label->setPixmap(iconPixmap(connected ? kIconConnected : kIconNotConnected));
    }
}

bool CBaseWindow::startWorker(std::function<int()> routine) {
    return m_worker.start(std::move(routine));
}

device::ProgressCallback CBaseWindow::statusProgress(device::ProgressCallback steps) {
    return [this, steps = std::move(steps)](const device::Progress& p) {
        if (p.kind == device::Progress::Kind::Entry) {
            appendStatus(QString::fromStdString(p.entry));
        } else if (steps) {
            steps(p);
        }
    };
}

void CBaseWindow::cancelOperation() {
    m_worker.cancel();
    device().requestCancel();
}

bool CBaseWindow::endWorkerBeforeDestruction() {
    if (!m_worker.running()) {
        return true;
    }
    cancelOperation();
    for (int step = 0; step < kEndWorkerSteps; ++step) {
        if (m_worker.waitFor(kCloseWaitMs)) {
            return true;
        }
        // A worker waiting for an answer from this thread would otherwise wait for us
        // while we wait for it.
        deliverPostedCalls();
        if (step == 0) {
            device().link.close();
        }
    }
    log::logLine("The worker did not end in time.");
    return false;
}

bool CBaseWindow::closeWhenWorkerEnded(std::string_view repostLine) {
    log::logLine("Waiting for thread to close...");
    if (!m_worker.waitFor(kCloseWaitMs)) {
        log::logLine(repostLine);
        postMessage({Message::Close, 0, 0, {}});
        return false;
    }
    log::logLine("Thread has exited.");
    endDialog(0);
    return true;
}

}  // namespace tevusb::ui
