#pragma once

#include <mutex>

#include "data/data_set_store.h"
#include "graph/surface/display_surface.h"

namespace tevusb::graph {

// The main window's picture: the current set (set view) or the set being downloaded
// (live view), drawn into the display surface through the store's GraphScale.
// Views, fitting and size changes are serialised by one lock, so the window thread and
// a download worker may call in at the same time; the store's series themselves are
// kept apart by the dialogs (one writer at a time).
class FlightGraph {
  public:
    FlightGraph(data::DataSetStore& store, surface::DisplaySurface& surface);

    // The client size in pixels, recorded whenever the surface is (re)built.
    void setClientSize(int width, int height);

    // Makes set k current and fits the scale to both of its curves. False for k = -1.
    bool ShowSet(int k);

    // Draws the set view and asks the window to repaint; nothing without a buffer.
    void RedrawGraph();

    // Draws the live view of the FastSet and takes its range into the scale; it neither
    // presents nor asks for a repaint (the caller presents). Nothing without a buffer.
    void DrawFastSet();
    // The same from a copy of the live series, so the window thread can draw while a
    // download worker goes on growing the store's own FastSet.
    void DrawFastSet(const data::FastSet& fast);

    data::GraphScale scale() const;

  private:
    data::DataSetStore& m_store;
    surface::DisplaySurface& m_surface;
    mutable std::mutex m_mutex;
};

}  // namespace tevusb::graph
