#!/usr/bin/env python3
"""Writes the golden files of the editor logic tests straight from their layouts, independently of
the program's writers:
- tests/fixtures/compare-tiny.cmp: header, document version, series, mode, two file names, then 18
  blocks of a count and 9-byte entries (flag byte, value A, value B);
- tests/fixtures/address-sample.adr: header line, LF, ten (address, value) pairs of 32-bit ints."""
import pathlib
import struct

SIZES = [99, 18, 29, 85, 99, 7, 24, 24, 63, 34, 16, 24, 18, 2, 69, 26, 38, 17]
# (group position, element): (flag, A, B)
ENTRIES = {(0, 0): (1, 1, 2), (10, 15): (0, -1, 0x12345678), (17, 16): (1, 5, 6)}


def text(s):
    data = s.encode("ascii")
    assert len(data) < 255
    return bytes([len(data)]) + data


def compare_tiny():
    data = text("ParaComp Kelo Servo Ver:0.1.220713") + text("KELO Servo Ver:0.1.260123")
    data += struct.pack("<ii", 4, 3) + text("a.zpf") + text("b.zpf")
    for g, size in enumerate(SIZES):
        data += struct.pack("<i", size)
        for k in range(size):
            flag, a, b = ENTRIES.get((g, k), (0, 0, 0))
            data += struct.pack("<Bii", flag, a, b)
    return data


def address_sample():
    data = b"KeloServo(ZR3-E) V0.1.260416\n"
    for k in range(10):
        data += struct.pack("<ii", 0x1700 + k, -k if k % 2 else k * 1000)
    return data


def main():
    folder = pathlib.Path(__file__).resolve().parents[2] / "fixtures"
    for name, data in (("compare-tiny.cmp", compare_tiny()), ("address-sample.adr", address_sample())):
        (folder / name).write_bytes(data)
        print(f"{folder / name}: {len(data)} bytes")


if __name__ == "__main__":
    main()
