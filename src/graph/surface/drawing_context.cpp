// SPDX-License-Identifier: MIT
#include "graph/surface/drawing_context.h"

#include <utility>

namespace tevusb::surface {

DrawingContext::DrawingContext(std::unique_lock<std::mutex> lock, QImage* image, QSize size)
    : m_lock(std::move(lock)), m_image(image), m_size(size) {}

// The painter must end before the lock is given up.
DrawingContext::~DrawingContext() {
    m_painter.reset();
}

DrawingContext::DrawingContext(DrawingContext&&) noexcept = default;

DrawingContext& DrawingContext::operator=(DrawingContext&& other) noexcept {
    if (this != &other) {
        m_painter.reset();
        m_painter = std::move(other.m_painter);
        m_image = std::exchange(other.m_image, nullptr);
        m_size = other.m_size;
        m_lock = std::move(other.m_lock);
    }
    return *this;
}

void DrawingContext::fill(std::uint32_t pixel) {
    if (m_image == nullptr) {
        return;
    }
    const QRgb rgb = pixel | 0xFF000000u;
    if (m_painter) {
        m_painter->save();
        m_painter->setCompositionMode(QPainter::CompositionMode_Source);
        // The painter counts in units; the device rectangle covers the buffer at any ratio.
        m_painter->fillRect(m_image->rect(), QColor::fromRgb(rgb));
        m_painter->restore();
    } else {
        m_image->fill(rgb);
    }
}

QPainter* DrawingContext::painter() {
    if (m_image == nullptr) {
        return nullptr;
    }
    if (!m_painter) {
        auto painter = std::make_unique<QPainter>();
        if (!painter->begin(m_image)) {
            return nullptr;
        }
        // Lines stay hard-edged; text keeps the platform's usual smoothing.
        painter->setRenderHint(QPainter::Antialiasing, false);
        painter->setRenderHint(QPainter::TextAntialiasing, true);
        m_painter = std::move(painter);
    }
    return m_painter.get();
}

}  // namespace tevusb::surface
