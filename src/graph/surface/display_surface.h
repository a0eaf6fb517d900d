// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>
#include <QSize>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string_view>

#include "graph/surface/drawing_context.h"

class QPainter;

namespace tevusb::surface {

// What the window shows when the buffer cannot be created at start-up.
inline constexpr std::string_view kInitFailedText = "Failed to Initialize Direct Draw";
inline constexpr std::string_view kInitFailedCaption = "Direct Draw Init Failed!";

// The off-screen picture of the main window: views are drawn into it completely and
// painting the window only copies it, so the window never shows a half-drawn view.
// A worker may draw while the window thread paints; one mutex guards the buffer.
class DisplaySurface {
  public:
    // Sizes beyond these are refused instead of attempting a huge allocation.
    static constexpr int kMaxSide = 32767;
    static constexpr std::int64_t kMaxPixels = std::int64_t{1} << 28;
    static constexpr qreal kMaxRatio = 8.0;

    // Releases any buffer, then creates a black one of width x height drawing units. On a
    // HiDPI screen `ratio` is the screen's device pixels per unit: the buffer then holds
    // width x ratio by height x ratio pixels and views draw at that resolution, while
    // every coordinate they use stays in units. False (and no buffer) for an empty,
    // negative or absurd size or ratio or when memory runs out; the caller then shows
    // kInitFailedText at start-up and ends the program.
    bool create(int width, int height, qreal ratio = 1.0);
    // Frees the buffer; harmless when there is none.
    void release();
    bool hasBuffer() const;
    // The size in drawing units (the window's client size), whatever the ratio.
    QSize size() const;
    // Device pixels per drawing unit; 1 without a buffer.
    qreal devicePixelRatio() const;

    // Sets every pixel to a raw 0x00RRGGBB value. False without a buffer.
    bool fill(std::uint32_t pixel);

    // Exclusive access for drawing one view; empty (false) without a buffer.
    DrawingContext open();

    // Window side: copies the whole buffer, scaled, onto (0, 0, width, height) of the
    // window's painter. False without a buffer (the caller leaves its area as it is).
    bool PresentGraph(QPainter& target, int width, int height);
    // Drawing side: asks whoever shows the buffer to repaint soon. False without a buffer.
    bool PresentGraph();

    // The window installs a callback that schedules a repaint of its graph; it is called
    // from any thread, so it must only post (never touch a widget directly).
    void setRepaintRequest(std::function<void()> request);
    void requestRepaint();

    // A deep copy of the picture at its full resolution (its device-pixel ratio kept),
    // for screenshots and checks.
    QImage snapshot() const;

  private:
    mutable std::mutex m_mutex;
    QImage m_image;
    QSize m_size;

    std::mutex m_requestMutex;
    std::function<void()> m_repaintRequest;
};

}  // namespace tevusb::surface
