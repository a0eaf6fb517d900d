// SPDX-License-Identifier: MIT
#include <cstdio>

#include "device/altimeter_device.h"

namespace tevusb::device {

// Major in the high byte without leading zeros, minor as exactly two digits: 0x0150
// reads 1.50 and 0x011A reads 1.1a, as the versions are printed on the device.
std::wstring versionText(std::uint16_t version) {
    wchar_t text[16];
    std::swprintf(text, sizeof text / sizeof text[0], L"%x.%02x", unsigned(version >> 8),
                  unsigned(version & 0xFF));
    return text;
}

// The family a version belongs to, e.g. 1.5x: the low nibble never matters.
std::wstring versionPatternText(std::uint16_t version) {
    std::wstring text = versionText(version);
    text.back() = L'x';
    return text;
}

}  // namespace tevusb::device
