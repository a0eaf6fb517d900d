// SPDX-License-Identifier: MIT
#pragma once

#include <QMainWindow>
#include <QTimer>
#include <memory>

#include "app/file_commands.h"
#include "graph/flight_graph.h"
#include "graph/surface/display_surface.h"

namespace tevusb::data {
class DataSetStore;
}
namespace tevusb::device::sim {
class SimBackend;
}

namespace tevusb::app {

class AnalysisFront;
class SimulationFront;
class GraphWidget;

// The program's one top-level window "TEV USB 1.50": menu 102 and, filling the client
// area, the flight graph drawn into the display surface. It holds no flight data of its
// own; it works on the program's one store.
class MainWindow : public QMainWindow {
    Q_OBJECT
  public:
    // How long the size must stay still before the buffer is rebuilt: the end of a
    // border drag, which the window system does not announce.
    static constexpr int kResizeSettleMs = 150;
    static constexpr int kMinimumWidth = 420;
    static constexpr int kMinimumHeight = 320;

    // With `simulator`, the window also offers the Simulator menu that drives it.
    explicit MainWindow(data::DataSetStore& store,
                        std::shared_ptr<device::sim::SimBackend> simulator = nullptr);
    ~MainWindow() override;

    // Creates the buffer at the present client size (a black picture). When that fails the
    // user is warned and the program ends: false, and the caller must not go on.
    bool createSurface();
    // Rebuilds the buffer at the present client size and redraws the set; a client area
    // of zero width or height leaves the window without a buffer until the next rebuild.
    void RebuildSurface();

    // The Tools and Help commands; each shows its dialog modally over this window.
    void openDownloadDialog();
    void openDeviceSettingsDialog();
    void openControlDialog();
    void openFirmwareDialog();
    void openAboutDialog();

    // What the window does with the set chosen in the Download Data dialog.
    void showSelectedSet(int k);

    FileCommands& fileCommands() { return m_files; }
    graph::FlightGraph& graph() { return m_graph; }
    surface::DisplaySurface& surface() { return m_surface; }
    GraphWidget* graphWidget() const { return m_graphWidget; }
    AnalysisFront* analysis() const { return m_analysis; }
    SimulationFront* simulation() const { return m_simulation; }
    // True once the program has decided to end without asking (a failed buffer).
    bool ending() const { return m_ending; }

  protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void connectCommands();
    void onClientResized();
    void endProgram();

    surface::DisplaySurface m_surface;
    graph::FlightGraph m_graph;
    FileCommands m_files;
    GraphWidget* m_graphWidget;
    AnalysisFront* m_analysis = nullptr;
    SimulationFront* m_simulation = nullptr;
    std::shared_ptr<device::sim::SimBackend> m_simulator;
    QTimer m_resizeSettle;
    bool m_ending = false;
    bool m_downloading = false;  // the live view may be drawing: no hint over it
};

}  // namespace tevusb::app
