// SPDX-License-Identifier: MIT
#include "graph/surface/display_surface.h"

#include <QPainter>
#include <cmath>
#include <utility>

namespace tevusb::surface {

bool DisplaySurface::create(int width, int height, qreal ratio) {
    std::lock_guard lock(m_mutex);
    m_image = QImage();
    m_size = QSize();
    if (!(ratio > 0.0 && ratio <= kMaxRatio) || width <= 0 || height <= 0) {
        return false;
    }
    // A fractional ratio rounds up, so the last unit's pixels are inside the buffer.
    const double deviceWidth = std::ceil(width * ratio);
    const double deviceHeight = std::ceil(height * ratio);
    if (deviceWidth > kMaxSide || deviceHeight > kMaxSide ||
        deviceWidth * deviceHeight > static_cast<double>(kMaxPixels)) {
        return false;
    }
    QImage image(static_cast<int>(deviceWidth), static_cast<int>(deviceHeight),
                 QImage::Format_RGB32);
    if (image.isNull()) {
        return false;
    }
    image.setDevicePixelRatio(ratio);
    image.fill(0xFF000000u);
    m_image = std::move(image);
    m_size = QSize(width, height);
    return true;
}

void DisplaySurface::release() {
    std::lock_guard lock(m_mutex);
    m_image = QImage();
    m_size = QSize();
}

bool DisplaySurface::hasBuffer() const {
    std::lock_guard lock(m_mutex);
    return !m_image.isNull();
}

QSize DisplaySurface::size() const {
    std::lock_guard lock(m_mutex);
    return m_image.isNull() ? QSize(0, 0) : m_size;
}

qreal DisplaySurface::devicePixelRatio() const {
    std::lock_guard lock(m_mutex);
    return m_image.isNull() ? 1.0 : m_image.devicePixelRatio();
}

bool DisplaySurface::fill(std::uint32_t pixel) {
    DrawingContext context = open();
    if (!context) {
        return false;
    }
    context.fill(pixel);
    return true;
}

DrawingContext DisplaySurface::open() {
    std::unique_lock lock(m_mutex);
    QImage* image = m_image.isNull() ? nullptr : &m_image;
    return DrawingContext(std::move(lock), image, m_size);
}

bool DisplaySurface::PresentGraph(QPainter& target, int width, int height) {
    std::lock_guard lock(m_mutex);
    if (m_image.isNull()) {
        return false;
    }
    if (width <= 0 || height <= 0) {
        return true;
    }
    target.save();
    target.setRenderHint(QPainter::SmoothPixmapTransform, false);
    target.drawImage(QRect(0, 0, width, height), m_image);
    target.restore();
    return true;
}

bool DisplaySurface::PresentGraph() {
    if (!hasBuffer()) {
        return false;
    }
    requestRepaint();
    return true;
}

void DisplaySurface::setRepaintRequest(std::function<void()> request) {
    std::lock_guard lock(m_requestMutex);
    m_repaintRequest = std::move(request);
}

void DisplaySurface::requestRepaint() {
    std::function<void()> request;
    {
        std::lock_guard lock(m_requestMutex);
        request = m_repaintRequest;
    }
    if (request) {
        request();
    }
}

QImage DisplaySurface::snapshot() const {
    std::lock_guard lock(m_mutex);
    return m_image.copy();
}

}  // namespace tevusb::surface
