// SPDX-License-Identifier: MIT
#include "ui/dialogs/capture_window.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QPlainTextEdit>

#include "device/altimeter_device.h"
#include "log/diagnostic_log.h"
#include "ui/dialog_templates.h"
#include "ui/dialogs/capture_ids.h"
#include "ui/dialogs/device_hints.h"
#include "ui/dialogs/live_update.h"
#include "ui/dialogs/memory_map.h"
#include "ui/dialogs/memory_map_control.h"
#include "ui/dialogs/memory_map_tips.h"

namespace tevusb::ui {

using namespace capture_ids;

CCaptureWindow::CCaptureWindow(QWidget* parent, graph::FlightGraph* graph,
                               surface::DisplaySurface* surface)
    : CBaseWindow(kDialogDownloadData),
      m_parent(parent),
      m_graph(graph),
      m_live(std::make_unique<LiveUpdate>(graph, surface)) {
    m_memoryMap = memoryMapImage({}, -1);
}

CCaptureWindow::~CCaptureWindow() {
    // The close protocol only ends the dialog once its worker has; this is the backstop
    // for a dialog destroyed without closing, so the worker never outlives what it uses.
    endWorkerBeforeDestruction();
    device().link.close();
    log::logLine("DESTRUCT");
}

int CCaptureWindow::exec() {
    return show(m_parent);
}

bool CCaptureWindow::handleMessage(const DialogMessage& message) {
    switch (message.message) {
        case Message::InitDialog:
            initialise();
            return true;
        case Message::Command:
            switch (message.wParam) {
                case kReadData:
                    readData();
                    break;
                case kSaveAll:
                    saveAll();
                    break;
                case kSaveSelected:
                    saveSelected();
                    break;
                case kSaveComment:
                    saveComment();
                    break;
                case kClearDevice:
                    clearDevice();
                    break;
                case kSelectClose:
                    sendMessage({Message::Close, 0, 0, {}});
                    break;
                default:
                    break;  // Enter, Escape's command and the rest change nothing here
            }
            return true;
        case Message::DeviceChange:
            deviceChange(message);
            return true;
        case Message::StatusRefresh:
            refreshStatus();
            return true;
        case Message::KeyDown:
            if (message.wParam == kKeyEscape) {
                sendMessage({Message::Close, 0, 0, {}});
                return true;
            }
            break;
        case Message::Close:
            close();
            return true;
        default:
            break;
    }
    return defaultHandler(message);
}

void CCaptureWindow::initialise() {
    // Taken here rather than at construction so that the device a test sets is the one read.
    m_selectedSet = device().store.current.setIndex;
    if (QWidget* w = item(kSaveSelected)) {
        w->setEnabled(false);
    }
    createLayout();
    anchor(kStatus, true, true, true, true);
    anchor(kSaveAll, false, false, true, true);
    anchor(kSelectClose, false, false, true, true);
    anchor(kReadData, false, false, true, true);
    anchor(kGenerateCsv, false, true, true, false);
    anchor(kLiveUpdate, false, true, true, false);
    anchor(kSaveSelected, true, false, false, true);
    anchor(kClearDevice, true, false, false, true);
    anchor(kComment, true, true, false, true);
    anchor(kMap, true, true, false, true);
    anchor(kIcon, true, true, false, false);
    anchorGroupBox(kDeviceGroup, true, true, false, true);
    anchorGroupBox(kStatusGroup, true, true, true, true);
    for (int id : {kSaveSelected, kSaveComment, kSaveAll}) {
        if (QWidget* w = item(id)) {
            w->setEnabled(false);
        }
    }
    if (QWidget* map = item(kMap)) {
        m_mapControl = new MemoryMapControl(map, [this](int x) { clickMemoryMap(x); });
        m_mapControl->setToolTips([this, map](int x) {
            // Never while a download fills the store.
            return m_worker.running()
                       ? QString()
                       : memoryMapTip(device().store, memoryMapColumn(x, map->width()));
        });
    }
    if (auto* live = qobject_cast<QCheckBox*>(item(kLiveUpdate))) {
        QObject::connect(live, &QCheckBox::toggled, live,
                         [this](bool checked) { m_liveUpdate = checked; });
    }
    registerDeviceNotifications();
    m_mapTypes = storeTypes();
    drawMemoryMap();
    setStatusHint(connectHint(connectCheck()));
    refreshControls(false);
}

void CCaptureWindow::refreshControls(bool busy) {
    if (m_closing) {
        return;
    }
    const device::AltimeterDevice& dev = device();
    const bool connected = dev.link.isOpen();
    setConnectionIcon(kIcon, connected);
    auto enable = [this](int id, bool on) {
        if (QWidget* w = item(id)) {
            w->setEnabled(on);
        }
    };
    enable(kReadData, connected && !busy);
    enable(kClearDevice, connected && !busy);
    enable(kLiveUpdate, !busy);
    // While busy the worker owns the image: it is not read here.
    const bool empty = busy || dev.store.packets.empty();
    enable(kSelectClose, !empty);
    const int selected = m_selectedSet;
    const bool hasSelection = !empty && selected >= 0 && selected < dev.store.setCount();
    enable(kSaveSelected, hasSelection);
    enable(kSaveComment, hasSelection);
    enable(kComment, hasSelection);
    enable(kSaveAll, !empty);
    if (!busy) {
        setTranslucent(false);
    }
}

void CCaptureWindow::drawMemoryMap() {
    m_memoryMap = memoryMapImage(m_mapTypes, m_selectedSet);
    if (m_mapControl != nullptr) {
        m_mapControl->setImage(m_memoryMap);
    }
}

void CCaptureWindow::clickMemoryMap(int x) {
    data::DataSetStore& store = device().store;
    if (m_worker.running() || store.packets.empty()) {
        return;
    }
    const QWidget* map = item(kMap);
    const int p = memoryMapColumn(x, map != nullptr ? map->width() : 0);
    log::logLine("XPos: ", x);
    log::logLine("Selected Set: ", p);
    const int k = store.setIndexOfPacket(p);
    if (k != -1) {
        m_selectedSet = k;
    }
    const int selected = m_selectedSet;
    if (selected != -1) {
        for (int id : {kSaveSelected, kSaveComment, kComment}) {
            if (QWidget* w = item(id)) {
                w->setEnabled(true);
            }
        }
        log::logLine("Size: ", store.comments.size());
        if (selected >= 0 && static_cast<std::size_t>(selected) < store.comments.size()) {
            const std::string& comment = store.comments[static_cast<std::size_t>(selected)];
            log::logLine(comment);
            if (auto* edit = qobject_cast<QPlainTextEdit*>(item(kComment))) {
                edit->setPlainText(QString::fromStdString(comment));
            }
        }
    }
    drawMemoryMap();
}

void CCaptureWindow::close() {
    m_closing = true;
    if (m_worker.running() && m_workerDownloads) {
        m_workerSeenRunning = true;
    }
    cancelOperation();
    log::logLine("Canceled IO.");
    m_live->stop();
    if (!closeWhenWorkerEnded("reposting close message...")) {
        return;
    }
    // A download cut short leaves no half-read flights behind, also one that finished
    // while we were waiting for it. A clear cut short takes nothing from the flight the
    // main window shows.
    if (m_workerSeenRunning) {
        device().store.current.clear();
        device().store.packets.clear();
    }
}

void CCaptureWindow::deviceChange(const DialogMessage& message) {
    // The base holds an arrival's connect check back until the worker is done (it would
    // pull the link from under it); meanwhile the controls stay as the worker set them, and
    // after a failed worker only the check runs.
    const bool heldArrival = message.wParam == kDeviceArrival && m_worker.running();
    handleDeviceChange(
        message,
        [this] {
            if (!m_closing) {
                setStatusHint(connectHint(connectCheck()));
            }
        },
        [this, heldArrival](bool busy) {
            if (heldArrival && (busy || m_workerFailed)) {
                return;
            }
            refreshControls(busy);
        });
}

std::vector<std::uint8_t> CCaptureWindow::storeTypes() const {
    std::vector<std::uint8_t> types;
    for (const data::MemoryPacket& packet : device().store.packets) {
        types.push_back(packet.type());
    }
    return types;
}

void CCaptureWindow::setTranslucent(bool translucent) {
    if (DialogHost* w = window()) {
        w->setWindowOpacity(translucent ? 64.0 / 255.0 : 1.0);
        w->update();
    }
}

}  // namespace tevusb::ui
