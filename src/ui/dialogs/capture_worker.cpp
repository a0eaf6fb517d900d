// SPDX-License-Identifier: MIT
#include <QWidget>

#include "device/altimeter_device.h"
#include "device/device_tasks.h"
#include "graph/flight_graph.h"
#include "log/diagnostic_log.h"
#include "text/string_ids.h"
#include "ui/dialogs/capture_ids.h"
#include "ui/dialogs/capture_window.h"
#include "ui/dialogs/device_hints.h"
#include "ui/dialogs/download_archive.h"
#include "ui/dialogs/erase_guard.h"
#include "ui/dialogs/live_update.h"
#include "ui/library_service.h"
#include "ui/message_box.h"

// The device side of the Download Data dialog: the read and clear workers. They own the
// store while they run; whatever they want shown (status, controls, map, graph) is handed
// to the window thread as a copy.

namespace tevusb::ui {

using namespace capture_ids;

void CCaptureWindow::readData() {
    if (m_worker.running()) {
        return;
    }
    const bool live = m_liveUpdate;
    if (live) {
        // The main window's graph shows through while the flight arrives.
        setTranslucent(true);
        m_live->start();
    }
    for (int id : {kReadData, kClearDevice, kSaveSelected, kSaveComment, kSaveAll}) {
        if (QWidget* w = item(id)) {
            w->setEnabled(false);
        }
    }
    m_workerDownloads = true;
    m_workerFailed = false;
    // What the last connect or download left to say is stale once a new one starts.
    setStatusHint({});
    startWorker([this] { return readWorker(); });
}

int CCaptureWindow::readWorker() {
    postRefresh(true);
    postMemoryMap({});
    device::AltimeterDevice& dev = device();
    const auto read = device::downloadFlights(
        dev, statusProgress([this](const device::Progress& p) { progress(p); }), operationCancel());
    postMemoryMap(storeTypes());
    if (!read.ok()) {
        const bool cancelled = read.result == device::DeviceResult::Cancelled;
        if (read.result == device::DeviceResult::NoDevice) {
            postHint(noAltimeterHint());
        }
        runOnWindowThread([this, cancelled] {
            m_live->stop();
            if (!cancelled) {
                if (QWidget* w = item(kReadData)) {
                    w->setEnabled(true);
                }
            }
            workerFailed();
        });
        return device::value(read.result);
    }
    // Before anything else can touch the store, every flight read goes into the library.
    const std::string archived = archiveDownload(dev, libraryService());
    if (!archived.empty()) {
        status(archived);
    }
    const bool empty = dev.store.packets.empty();
    if (empty) {
        dev.store.fast.clear();
    }
    if (dev.store.setCount() == 0) {
        postHint(noFlightsHint());
    }
    runOnWindowThread([this, empty] {
        const bool live = m_live->active();
        m_live->stop();
        if (empty) {
            if (m_graph != nullptr) {
                m_graph->RedrawGraph();
            }
        } else if (live) {
            // The last words may have come after the last frame: show the whole flight.
            m_live->drawNow(device().store.fast);
        }
        workerDone();
    });
    return device::value(read.result);
}

void CCaptureWindow::progress(const device::Progress& step) {
    data::DataSetStore& store = device().store;
    if (step.kind == device::Progress::Kind::Word) {
        if (step.flag != 0) {
            store.fast.clear();
        } else if (m_liveUpdate) {
            m_live->offer(store.fast);
        }
        return;
    }
    status("Packet Read: " + std::to_string(step.index) + "\r\n");
    postMemoryMap(storeTypes());
    log::logLine("Read Packet @ Address: ", step.index);
}

void CCaptureWindow::clearDevice() {
    if (m_worker.running()) {
        return;
    }
    if (messageBox(window(), text::string_ids::kAreYouSure, kMbYesNo | kMbIconExclamation) !=
        MessageResult::Yes) {
        return;
    }
    for (int id : {kReadData, kSaveSelected, kSaveComment, kSaveAll}) {
        if (QWidget* w = item(id)) {
            w->setEnabled(false);
        }
    }
    m_workerDownloads = false;
    m_workerFailed = false;
    setStatusHint({});
    startWorker([this] { return clearWorker(); });
}

int CCaptureWindow::clearWorker() {
    device::AltimeterDevice& dev = device();
    // The guard lets a missing device through: the clear then says it is not there.
    if (!passEraseGuard(window(), dev, libraryService(), "Clearing the device",
                        [this](const std::string& e) { status(e); })) {
        postRefresh(false);
        return -1;
    }
    const auto cleared = device::clearMemory(dev, statusProgress(), operationCancel());
    if (cleared.ok()) {
        postMemoryMap({});
    } else if (cleared.result == device::DeviceResult::NoDevice) {
        postHint(noAltimeterHint());
    }
    postRefresh(false);
    return device::value(cleared.result);
}

void CCaptureWindow::postMemoryMap(std::vector<std::uint8_t> types) {
    runOnWindowThread([this, types = std::move(types)]() mutable {
        m_mapTypes = std::move(types);
        drawMemoryMap();
    });
}

void CCaptureWindow::postRefresh(bool busy) {
    runOnWindowThread([this, busy] {
        if (busy) {
            refreshControls(true);
        } else {
            workerDone();
        }
    });
}

void CCaptureWindow::postHint(const QString& hint) {
    runOnWindowThread([this, hint] {
        if (!m_closing) {
            setStatusHint(hint);
        }
    });
}

void CCaptureWindow::status(const std::string& entry) {
    appendStatus(QString::fromStdString(entry));
}

void CCaptureWindow::workerFailed() {
    m_workerFailed = true;
    // The buttons the download disabled stay so, but the dialog must not stay see-through
    // nor keep the live view's tick box out of reach after a failure.
    if (!m_closing) {
        setTranslucent(false);
        if (QWidget* w = item(kLiveUpdate)) {
            w->setEnabled(true);
        }
    }
    deviceChanges().workerEnded();
}

void CCaptureWindow::workerDone() {
    m_workerFailed = false;
    refreshControls(false);
    deviceChanges().workerEnded();
}

}  // namespace tevusb::ui
