#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Writes resources/samples/sample-flight.tev: a made-up flight of about 90 s (boost,
coast, apogee near 760 m, drogue descent, main at 150 m) in the data-set file format,
with Line A at apogee and Line B at 150 m on the way down."""
import math
import random
import struct
import sys

MAGIC = bytes([0x78, 0x5A, 0xA7, 0xFF, 0x32, 0x04, 0x82, 0x4C,
               0x93, 0x9F, 0x89, 0x2D, 0x31, 0xA4, 0x7A, 0xBC])


def count_for_altitude(alt):
    p = 101.325 * (1 - alt / 44330.321) ** (1 / 0.190263)
    v = (0.009 * p - 0.095) * 5.0
    return int(16384 * v / 5.0)


def flight():
    rng = random.Random(7)
    ground = 420.0  # field elevation, metres above sea level
    alt, vel, t, dt = 0.0, 0.0, 0.0, 0.1
    samples, apogee_seen, main_fired = [], False, False
    line_a_left, line_b_left = 0, 0  # samples each output keeps firing
    pad = 15
    for _ in range(pad):
        samples.append((ground, 0))
    while True:
        if t < 1.6:
            acc = 110.0 - 9.81 - 0.0012 * vel * abs(vel)
        elif not apogee_seen:
            acc = -9.81 - 0.0012 * vel * abs(vel)
        else:
            drag = 0.09 if not main_fired else 0.6
            acc = -9.81 + drag * vel * vel
        vel += acc * dt
        if apogee_seen and not main_fired:
            vel = max(vel, -22.0)
        if main_fired:
            vel = max(vel, -6.0)
        alt += vel * dt
        t += dt
        if not apogee_seen and vel < 0:
            apogee_seen = True
            line_a_left = 10
        elif apogee_seen and not main_fired and alt < 150:
            main_fired = True
            line_b_left = 10
        flags = (2 if line_a_left > 0 else 0) | (1 if line_b_left > 0 else 0)
        line_a_left, line_b_left = max(line_a_left - 1, 0), max(line_b_left - 1, 0)
        if alt <= 0:
            break
        samples.append((ground + alt + rng.gauss(0, 0.6), flags))
    for _ in range(20):
        samples.append((ground + rng.gauss(0, 0.6), 0))
    return samples


def main(out):
    words = []
    for msl, flags in flight():
        words.append((count_for_altitude(msl) & 0x3FFF) | (flags << 14))
    packets = []
    for p in range(0, len(words), 31):
        chunk = words[p:p + 31] + [0xFFFF] * (31 - len(words[p:p + 31]))
        packets.append(bytes([2 if p == 0 else 0, 0]) + struct.pack('<31H', *chunk))
    image = bytes([0xE0, 0x03, 0xFF, 0x3C, 0x00, 0x14, 0x00, 0x50, 0x00, 0x00,
                   0x32, 0x96, 0x00, 0x96, 0x00])
    image += struct.pack('<H', (105 + sum(image)) & 0xFFFF)
    comment = b"Sample flight: H motor, dual deploy"
    data = MAGIC + struct.pack('<5H', 0x0110, 0x0120, 0x0150, 0x0150, len(packets))
    data += b''.join(packets) + image + struct.pack('<I', len(comment) + 1) + comment + b'\0'
    with open(out, 'wb') as f:
        f.write(data)


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else 'resources/samples/sample-flight.tev')
