// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <filesystem>
#include <optional>
#include <string>

#include "report/graph_picture.h"

namespace tevusb::report {

enum class ImageFormat { Png, Svg };

// Sizes a picture may have; beyond this a PNG would need gigabytes of memory.
inline constexpr int kMinImageSide = 64;
inline constexpr int kMaxImageSide = 10000;

// Whether this build writes SVG pictures: the Windows build is made without Qt Svg.
bool svgAvailable();

// The format a file name asks for by its extension (.png, .svg, any case), or none.
std::optional<ImageFormat> imageFormatFor(const std::filesystem::path& path);

// True for a size whose sides lie within kMinImageSide..kMaxImageSide.
bool validImageSize(const QSize& size);

// The graph as the window would show it at `size` (RGB32, the window's own pixels).
QImage renderGraphImage(const data::DataSet& set, const QSize& size, const GraphOptions& options);

// The encoded file contents; empty for an invalid size.
QByteArray encodePng(const data::DataSet& set, const QSize& size, const GraphOptions& options);
QByteArray encodeSvg(const data::DataSet& set, const QSize& size, const GraphOptions& options);

// Renders and writes the picture in one piece. Empty on success, else one line why.
std::string writeGraphImage(const std::filesystem::path& path, ImageFormat format,
                            const data::DataSet& set, const QSize& size,
                            const GraphOptions& options);

}  // namespace tevusb::report
