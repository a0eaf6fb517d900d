#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Writes resources/samples/sample-firmware.dat: a firmware file in the altimeter's format
(format 0x0100, for bootloader 1.10, firmware 1.50) whose image is a made-up 4 KiB pattern.
It exists to try the firmware update on the simulated altimeter; it is no real firmware."""
import struct
import sys

MAGIC = bytes([0x30, 0xFF, 0xBE, 0x3D, 0x61, 0xB9, 0x71, 0x4A,
               0xB1, 0xE7, 0x91, 0x36, 0x63, 0x93, 0x0E, 0xC2])


def main(out):
    image = bytearray(b'\xff' * 65536)
    length = 4096
    for i in range(length):
        image[i] = (i * 37 + (i >> 6)) & 0xFF
    scrambled = bytes(b ^ (0x1D if i % 2 == 0 else 0x6B) for i, b in enumerate(image))
    data = MAGIC + struct.pack('<3H', 0x0100, 0x0110, 0x0150) + scrambled + struct.pack('<i', length)
    with open(out, 'wb') as f:
        f.write(data)


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else 'resources/samples/sample-firmware.dat')
