// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>
#include <QPainter>
#include <QSize>
#include <cstdint>
#include <memory>
#include <mutex>

namespace tevusb::surface {

// Exclusive drawing access to the surface's buffer for the time of one view: it holds
// the surface's lock until it is destroyed, so a paint never sees a half-drawn picture.
class DrawingContext {
  public:
    DrawingContext() = default;
    DrawingContext(std::unique_lock<std::mutex> lock, QImage* image, QSize size);
    ~DrawingContext();
    DrawingContext(DrawingContext&&) noexcept;
    DrawingContext& operator=(DrawingContext&&) noexcept;

    // True when there is a buffer to draw on.
    explicit operator bool() const { return m_image != nullptr; }

    // Sets every pixel to a raw 0x00RRGGBB value.
    void fill(std::uint32_t pixel);
    // The buffer's size in drawing units, the painter's coordinates.
    QSize size() const { return m_size; }
    // A painter on the buffer, line antialiasing off; null when there is no buffer or the
    // painter could not be started (the view then stays as filled).
    QPainter* painter();

  private:
    std::unique_lock<std::mutex> m_lock;
    QImage* m_image = nullptr;
    QSize m_size;
    std::unique_ptr<QPainter> m_painter;
};

}  // namespace tevusb::surface
