// SPDX-License-Identifier: MIT
#include "ui/dialogs/memory_map.h"

#include "data/memory_packet.h"

namespace tevusb::ui {

QImage memoryMapImage(const std::vector<std::uint8_t>& packetTypes, int selectedSet) {
    QImage image(kMemoryMapColumns, kMemoryMapRows, QImage::Format_ARGB32);
    image.fill(kMapEmpty);
    int set = 0;
    bool toggle = false;
    const auto shown = std::min<std::size_t>(packetTypes.size(), kMemoryMapColumns);
    for (std::size_t j = 0; j < shown; ++j) {
        if (packetTypes[j] == data::MemoryPacket::kSetStart) {
            toggle = !toggle;
            ++set;
        }
        QRgb colour = toggle ? kMapOddSet : kMapEvenSet;
        // Compared in 64 bits so that no selection value can overflow the sum.
        if (static_cast<long long>(set) == static_cast<long long>(selectedSet) + 1) {
            colour = kMapSelected;
        }
        for (int y = 0; y < kMemoryMapRows; ++y) {
            image.setPixel(static_cast<int>(j), y, colour);
        }
    }
    return image;
}

int memoryMapColumn(int x, int clientWidth) {
    const double columnWidth = (clientWidth + 2) / 128.0;
    if (columnWidth <= 0.0) {
        return -1;
    }
    return static_cast<int>(x / columnWidth + 0.5);
}

}  // namespace tevusb::ui
