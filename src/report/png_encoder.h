// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>

class QImage;

namespace tevusb::report {

// The image as a PNG file (8-bit RGB), made with libpng for speed: no row filter and
// zlib's fastest level, which for a flight graph's large flat areas costs a quarter of
// the time of the adaptive default at about twice the bytes. Lossless either way.
// Empty for a null image or when libpng fails.
QByteArray encodeFastPng(const QImage& image);

}  // namespace tevusb::report
