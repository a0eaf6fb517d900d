// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>
#include <QString>
#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "device/operation.h"
#include "ui/base_window.h"

class QWidget;

namespace tevusb::graph {
class FlightGraph;
}
namespace tevusb::surface {
class DisplaySurface;
}

namespace tevusb::ui {

class LiveUpdate;
class MemoryMapControl;

// "Download Data": reads the altimeter's flight memory into the store (optionally showing
// the growing flight live in the main window), shows the memory as a strip of sets to pick
// from, keeps a comment per set, saves one or every set (with a CSV beside each if asked),
// clears the device, and ends with the set the main window is to show.
class CCaptureWindow : public CBaseWindow {
  public:
    // `graph` and `surface` are the main window's; without them there is no live view.
    CCaptureWindow(QWidget* parent, graph::FlightGraph* graph, surface::DisplaySurface* surface);
    ~CCaptureWindow() override;

    // Runs the dialog modally over the parent given at construction.
    int exec();

    bool handleMessage(const DialogMessage& message) override;

    // The set chosen in the dialog, -1 for none; read by the main window afterwards.
    int selectedSet() const { return m_selectedSet; }

    // Sets the controls from the connection and the busy state; nothing once closing.
    void refreshControls(bool busy);
    // Repaints the memory-map bitmap from the image and the selection.
    void drawMemoryMap();
    const QImage& memoryMap() const { return m_memoryMap; }
    // A left click at client x of the memory map.
    void clickMemoryMap(int x);

    // The CSV name that goes with a data-set file name: the file name's extension becomes
    // ".csv"; a name without one (or one already ending in ".csv") gets ".csv" appended.
    static QString csvNameFor(const QString& setFileName);
    // A chosen save name without an extension gets ".tev".
    static QString withSetSuffix(const QString& name);

    // Longest comment a set keeps.
    static constexpr int kMaxComment = 1023;

  private:
    void initialise();
    void readData();
    void clearDevice();
    void saveComment();
    void saveSelected();
    void saveAll();
    // Asks for a name for set k and writes it (and its CSV). Cancelled or failed: false,
    // after the failure's message.
    enum class SaveOutcome { Saved, Cancelled, Failed };
    SaveOutcome saveSet(int k);
    void close();
    void deviceChange(const DialogMessage& message);

    // Worker side. Everything a worker wants shown goes to the window thread.
    int readWorker();
    int clearWorker();
    // The download's words (the live view) and packets (status line, memory map).
    void progress(const device::Progress& step);
    void postMemoryMap(std::vector<std::uint8_t> types);
    void postRefresh(bool busy);
    void status(const std::string& entry);
    // The line after the status lines, set from a worker.
    void postHint(const QString& hint);
    // Window thread, when a worker is done: the controls as a failed worker leaves them.
    void workerFailed();
    void workerDone();

    std::vector<std::uint8_t> storeTypes() const;
    void setTranslucent(bool translucent);

    QWidget* m_parent;
    graph::FlightGraph* m_graph;
    std::unique_ptr<LiveUpdate> m_live;
    MemoryMapControl* m_mapControl = nullptr;
    QImage m_memoryMap;
    // The type bytes the map shows; the window thread's own copy, so it never reads the
    // image while a download fills it.
    std::vector<std::uint8_t> m_mapTypes;
    std::atomic<int> m_selectedSet{-1};
    std::atomic<bool> m_liveUpdate{false};
    bool m_closing = false;
    // A download was running when the close began.
    bool m_workerSeenRunning = false;
    // The last worker started is the download (not the clear); window thread only.
    bool m_workerDownloads = false;
    // The last worker ended in failure (its buttons stay as it left them); window thread.
    bool m_workerFailed = false;
};

}  // namespace tevusb::ui
