// SPDX-License-Identifier: MIT
#include <QWidget>

#include "device/altimeter_device.h"
#include "device/device_tasks.h"
#include "graph/flight_graph.h"
#include "log/diagnostic_log.h"
#include "text/string_ids.h"
#include "ui/dialogs/capture_ids.h"
#include "ui/dialogs/capture_window.h"
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
    startWorker([this] { return readWorker(); });
}

int CCaptureWindow::readWorker() {
    postRefresh(true);
    postMemoryMap({});
    device::AltimeterDevice& dev = device();
    const int r = device::downloadFlights(dev, &CCaptureWindow::progress, this,
                                          [this](const std::string& s) { status(s); });
    postMemoryMap(storeTypes());
    if (r < 0) {
        const bool cancelled = r == device::result::kCancelled;
        runOnWindowThread([this, cancelled] {
            m_live->stop();
            if (!cancelled) {
                if (QWidget* w = item(kReadData)) {
                    w->setEnabled(true);
                }
            }
            workerFailed();
        });
        return r;
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
    return r;
}

void CCaptureWindow::progress(void* context, int packet, int inProgress, int beginsSet) {
    auto* self = static_cast<CCaptureWindow*>(context);
    data::DataSetStore& store = self->device().store;
    if (inProgress != 0) {
        if (beginsSet != 0) {
            store.fast.clear();
        } else if (self->m_liveUpdate) {
            self->m_live->offer(store.fast);
        }
        return;
    }
    self->status("Packet Read: " + std::to_string(packet) + "\r\n");
    self->postMemoryMap(self->storeTypes());
    log::logLine("Read Packet @ Address: ", packet);
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
    startWorker([this] { return clearWorker(); });
}

int CCaptureWindow::clearWorker() {
    device::AltimeterDevice& dev = device();
    if (!dev.link.isOpen()) {
        postRefresh(false);
        status(device::kAltimeterNotFound);
        return -1;
    }
    if (!passEraseGuard(window(), dev, libraryService(), "Clearing the device",
                        [this](const std::string& e) { status(e); })) {
        postRefresh(false);
        return -1;
    }
    if (dev.clearMemory() != device::result::kSuccess) {
        postRefresh(false);
        status("Failed to clear data.\r\n");
        return -1;
    }
    dev.store.packets.clear();
    postMemoryMap({});
    status("Data cleared successfully.\r\n");
    postRefresh(false);
    return 0;
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

void CCaptureWindow::status(const std::string& entry) {
    appendStatus(QString::fromStdString(entry));
}

void CCaptureWindow::workerFailed() {
    // The buttons the download disabled stay so, but the dialog must not stay see-through
    // nor keep the live view's tick box out of reach after a failure.
    if (!m_closing) {
        setTranslucent(false);
        if (QWidget* w = item(kLiveUpdate)) {
            w->setEnabled(true);
        }
    }
    if (m_arrivalPending && !m_closing) {
        m_arrivalPending = false;
        connectCheck();
    }
}

void CCaptureWindow::workerDone() {
    refreshControls(false);
    if (m_arrivalPending && !m_closing) {
        m_arrivalPending = false;
        connectCheck();
        refreshControls(false);
    }
}

}  // namespace tevusb::ui
