// SPDX-License-Identifier: MIT
#include "ui/resource_images.h"

#include <QIcon>
#include <QPainter>
#include <algorithm>
#if defined(TEVUSB_HAVE_SVG)
#include <QSvgRenderer>
#endif

#include "ui/svg_icon_engine.h"

// Outside any namespace, as the resource initialiser requires.
static void initResources() {
    Q_INIT_RESOURCE(tevusb);
}

namespace tevusb::ui {

namespace {

void ensureResources() {
    static const bool once = [] {
        initResources();
        return true;
    }();
    (void)once;
}

#if defined(TEVUSB_HAVE_SVG)
QPixmap renderSvg(const QString& path, QSize size) {
    ensureResources();
    QSvgRenderer renderer(path);
    if (!renderer.isValid()) {
        return {};
    }
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    return QPixmap::fromImage(image);
}
#else
// Without Qt Svg the build drew each picture beforehand: the About picture at its own
// size (bitmap_111.png), each icon at the sizes a window system asks for (icon_105_32.png).
QPixmap renderSvg(const QString& path, QSize size) {
    ensureResources();
    const QString base = path.chopped(4);
    QImage image(base + QStringLiteral(".png"));
    if (image.isNull()) {
        const int wanted = std::max(size.width(), size.height());
        for (int side : {16, 24, 32, 48, 64, 128, 256}) {
            if (side >= wanted || side == 256) {
                image.load(base + QStringLiteral("_%1.png").arg(side));
                break;
            }
        }
    }
    if (image.isNull()) {
        return {};
    }
    if (image.size() != size) {
        image = image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    return QPixmap::fromImage(image.convertToFormat(QImage::Format_ARGB32_Premultiplied));
}
#endif

QString iconPath(int id) {
    switch (id) {
        case kIconProgram:
        case kIconNotConnected:
        case kIconConnected:
            return QStringLiteral(":/tevusb/icon_%1.svg").arg(id);
        default:
            return {};
    }
}

}  // namespace

QPixmap iconPixmap(int id, int size) {
    const QString path = iconPath(id);
    return path.isEmpty() ? QPixmap() : renderSvg(path, QSize(size, size));
}

QPixmap bitmapPixmap(int id) {
    if (id != kBitmapAbout) {
        return {};
    }
    // The picture is a 24-bit bitmap: opaque, whatever the drawing leaves transparent.
    QPixmap drawn = renderSvg(QStringLiteral(":/tevusb/bitmap_111.svg"), QSize(386, 109));
    if (drawn.isNull()) {
        return drawn;
    }
    QImage opaque = drawn.toImage().convertToFormat(QImage::Format_RGB32);
    return QPixmap::fromImage(opaque);
}

QIcon programIcon() {
    // Drawn size by size when the window system asks, not all seven at start-up.
    return QIcon(new SvgIconEngine([](int size) { return iconPixmap(kIconProgram, size); },
                                   {16, 24, 32, 48, 64, 128, 256}));
}

}  // namespace tevusb::ui
