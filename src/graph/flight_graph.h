// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <mutex>
#include <optional>

#include "analysis/flight_statistics.h"
#include "analysis/units.h"
#include "data/data_set_store.h"
#include "graph/analysis_layout.h"
#include "graph/analysis_view_state.h"
#include "graph/cursor_readout.h"
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

    // The analysis view replaces the set view in RedrawGraph while it is on (off at
    // first); the live view and the store's GraphScale are the same either way.
    void setAnalysisView(bool on);
    bool analysisView() const;
    void setUnits(analysis::UnitSystem units);
    analysis::UnitSystem units() const;

    // Changes the analysis view's state (zoom, extra markers) under the graph's lock;
    // the caller redraws. ShowSet resets it to the whole new flight without markers.
    void changeView(const std::function<void(AnalysisViewState&)>& change);
    AnalysisViewState viewState() const;
    // The statistics of the set ShowSet made current.
    analysis::FlightStatistics statistics() const;

    // What the cursor at buffer column x reads while the buffer holds the analysis view;
    // nothing otherwise (set view, live view, outside the plot).
    struct CursorView {
        AnalysisLayout layout;
        ReadoutSample sample;
    };
    std::optional<CursorView> cursorAt(double x) const;
    // The layout of the analysis view in the buffer; invalid while it shows another view.
    AnalysisLayout shownLayout() const;

  private:
    data::DataSetStore& m_store;
    surface::DisplaySurface& m_surface;
    mutable std::mutex m_mutex;

    bool m_analysisOn = false;
    bool m_showsAnalysis = false;
    analysis::UnitSystem m_units = analysis::UnitSystem::Metric;
    AnalysisViewState m_view;
    analysis::FlightStatistics m_statistics;
    AnalysisLayout m_layout;
};

}  // namespace tevusb::graph
