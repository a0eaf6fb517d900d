// SPDX-License-Identifier: MIT
#include "report/png_encoder.h"

#include <png.h>
#include <zlib.h>

#include <QImage>
#include <csetjmp>

namespace tevusb::report {

namespace {

void appendBytes(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<QByteArray*>(png_get_io_ptr(png));
    out->append(reinterpret_cast<const char*>(data), static_cast<qsizetype>(length));
}

void noFlush(png_structp) {}

// libpng reports errors by longjmp; nothing in this frame has a destructor to skip.
bool writeRows(png_structp png, png_infop info, const QImage& image, QByteArray* out) {
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    png_set_write_fn(png, out, appendBytes, noFlush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width()),
                 static_cast<png_uint_32>(image.height()), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_compression_level(png, 1);
    png_write_info(png, info);
    // Rows are 0xFFRRGGBB words: in memory B, G, R, filler on a little-endian machine.
    png_set_filler(png, 0, Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? PNG_FILLER_AFTER : PNG_FILLER_BEFORE);
    if (Q_BYTE_ORDER == Q_LITTLE_ENDIAN) {
        png_set_bgr(png);
    }
    for (int y = 0; y < image.height(); ++y) {
        png_write_row(png, const_cast<png_bytep>(image.constScanLine(y)));
    }
    png_write_end(png, info);
    return true;
}

}  // namespace

QByteArray encodeFastPng(const QImage& image) {
    if (image.isNull()) {
        return {};
    }
    const QImage rgb = image.format() == QImage::Format_RGB32
                           ? image
                           : image.convertToFormat(QImage::Format_RGB32);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (png == nullptr) {
        return {};
    }
    png_infop info = png_create_info_struct(png);
    QByteArray out;
    const bool ok = info != nullptr && writeRows(png, info, rgb, &out);
    png_destroy_write_struct(&png, info != nullptr ? &info : nullptr);
    return ok ? out : QByteArray();
}

}  // namespace tevusb::report
