// SPDX-License-Identifier: MIT
#include "report/image_export.h"

#include <QBuffer>
#include <QPainter>
#if defined(TEVUSB_HAVE_SVG)
#include <QSvgGenerator>
#endif
#include <algorithm>
#include <cctype>

#include "report/output_file.h"
#include "report/png_encoder.h"
#include "text/string_table.h"

namespace tevusb::report {

std::optional<ImageFormat> imageFormatFor(const std::filesystem::path& path) {
    std::string ext = path.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (ext == ".png") {
        return ImageFormat::Png;
    }
    if (ext == ".svg") {
        return ImageFormat::Svg;
    }
    return std::nullopt;
}

bool validImageSize(const QSize& size) {
    const auto inside = [](int side) { return side >= kMinImageSide && side <= kMaxImageSide; };
    return inside(size.width()) && inside(size.height());
}

QImage renderGraphImage(const data::DataSet& set, const QSize& size, const GraphOptions& options) {
    if (!validImageSize(size)) {
        return {};
    }
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull()) {
        return {};
    }
    QPainter painter(&image);
    drawGraph(painter, QRect(QPoint(0, 0), size), set, options);
    painter.end();
    return image;
}

QByteArray encodePng(const data::DataSet& set, const QSize& size, const GraphOptions& options) {
    const QImage image = renderGraphImage(set, size, options);
    if (image.isNull()) {
        return {};
    }
    return encodeFastPng(image);
}

bool svgAvailable() {
#if defined(TEVUSB_HAVE_SVG)
    return true;
#else
    return false;
#endif
}

QByteArray encodeSvg(const data::DataSet& set, const QSize& size, const GraphOptions& options) {
#if !defined(TEVUSB_HAVE_SVG)
    (void)set;
    (void)size;
    (void)options;
    return {};
#else
    if (!validImageSize(size)) {
        return {};
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(size);
    generator.setViewBox(QRect(QPoint(0, 0), size));
    // The same dots per inch as the window's picture, so the labels' point sizes come out
    // as large against the curves as on screen.
    generator.setResolution(QImage(1, 1, QImage::Format_RGB32).logicalDpiX());
    generator.setTitle(
        QString::fromUtf8(text::kCaption.data(), static_cast<qsizetype>(text::kCaption.size())));
    generator.setDescription(QStringLiteral("Flight graph, data set %1").arg(set.setIndex + 1));
    QPainter painter;
    if (!painter.begin(&generator)) {
        return {};
    }
    drawGraph(painter, QRect(QPoint(0, 0), size), set, options);
    painter.end();
    return bytes;
#endif
}

std::string writeGraphImage(const std::filesystem::path& path, ImageFormat format,
                            const data::DataSet& set, const QSize& size,
                            const GraphOptions& options) {
    if (!validImageSize(size)) {
        return "The picture size must lie between " + std::to_string(kMinImageSide) + " and " +
               std::to_string(kMaxImageSide) + " pixels a side.";
    }
#if !defined(TEVUSB_HAVE_SVG)
    if (format == ImageFormat::Svg) {
        return "Cannot write " + path.string() +
               ": this build of tevusb cannot write SVG pictures (it is built without Qt Svg); "
               "write a PNG picture instead.";
    }
#endif
    const QByteArray bytes =
        format == ImageFormat::Png ? encodePng(set, size, options) : encodeSvg(set, size, options);
    return writeOutputFile(path, bytes);
}

}  // namespace tevusb::report
