#!/usr/bin/env python3
"""Writes tests/fixtures/document-current.zpf straight from the archive layout, independently of
the program's own writer: version text, series, then each block as a count and its values."""
import pathlib
import struct
import sys

VERSION = b"KELO Servo Ver:0.1.260123"
SERIES = 4


def block(row, count):
    # Distinct, recognisable values: row * 1000 + position, every seventh one negative.
    values = [(-1 if i % 7 == 6 else 1) * (row * 1000 + i) for i in range(count)]
    return [count] + values


def main(out):
    words = [SERIES]
    words += block(3, 97)      # monitor values
    words += block(4, 20)      # first reserved block
    words += [4242]            # word between the reserved blocks
    words += block(6, 20)      # second reserved block
    for row, count in zip(range(7, 22), [99, 18, 29, 85, 7, 24, 99, 24, 24, 18, 2, 69, 26, 38, 17]):
        words += block(row, count)
    words += [2222, 2323]      # the two further words
    words += block(24, 63)     # tn
    words += block(25, 34)     # EC
    words += [0]               # empty name list
    words += block(27, 16)     # MAb
    # Feature word, encoder resolution, Cn010 and Cn011 sources, motor code, motor family index
    # word, rated speed, control mode, 10, 10.
    words += [10, 1, 131072, 250, -250, 0x2257, 0x0123, 2000, 6, 10, 10]
    data = bytes([len(VERSION)]) + VERSION + b"".join(struct.pack("<i", w) for w in words)
    pathlib.Path(out).write_bytes(data)
    print(f"{out}: {len(data)} bytes")


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "tests/fixtures/document-current.zpf")
