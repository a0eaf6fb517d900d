// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>
#include <cstdint>
#include <vector>

namespace tevusb::ui {

// The strip of the Download Data dialog: one column per flight-memory packet, two pixels
// high, sets alternating in colour and the selected set in red.
inline constexpr int kMemoryMapColumns = 128;
inline constexpr int kMemoryMapRows = 2;

inline constexpr QRgb kMapEmpty = 0xFF000000;     // beyond the image
inline constexpr QRgb kMapSelected = 0xFFFF0000;  // the selected set
inline constexpr QRgb kMapOddSet = 0xFF4020FF;    // R 64, G 32, B 255
inline constexpr QRgb kMapEvenSet = 0xFF4060DF;   // R 64, G 96, B 223

// Paints the map from the type byte of each packet of the image. Packets before the
// first set start count as set -1 (red while nothing is selected); packets past the
// 128th are not shown.
QImage memoryMapImage(const std::vector<std::uint8_t>& packetTypes, int selectedSet);

// The packet column under client x of a map control `clientWidth` pixels wide: the
// bitmap is stretched over width + 2 pixels, and the nearest column wins.
int memoryMapColumn(int x, int clientWidth);

}  // namespace tevusb::ui
