#!/usr/bin/env python3
"""Writes the self-built motor record fixture straight from the record's byte layout.

motor_record.bin: the 44-byte record of the values below, followed by its CRC-16/MODBUS
(computed bit by bit here, low byte first). Run from anywhere; writes into tests/fixtures.
"""
import os
import struct

VALUES = dict(
    manufacturer=0xA5, product_series=0x1234, rated_speed=3000, pole_pairs=5,
    rated_current=2500, resistance=1234567, inductance=536870911, ke=30000, kt=640,
    jm=0x01020304, max_current=300, max_speed=120, encoder_code=10, voltage_level=2,
    year=26, week=50, motor_id=0xBEEF, version=0x0102,
)


def record(v):
    return (bytes([0x52, v["manufacturer"]])
            + struct.pack("<HHH", v["product_series"], v["rated_speed"], v["pole_pairs"])
            + struct.pack("<iiiiii", v["rated_current"], v["resistance"], v["inductance"],
                          v["ke"], v["kt"], v["jm"])
            + struct.pack("<HH", v["max_current"], v["max_speed"])
            + bytes([v["encoder_code"], v["voltage_level"], v["year"], v["week"]])
            + struct.pack("<HH", v["motor_id"], v["version"]))


def crc16_modbus(data):
    crc = 0xFFFF
    for byte in data:
        crc ^= byte
        for _ in range(8):
            crc = (crc >> 1) ^ 0xA001 if crc & 1 else crc >> 1
    return crc


def main():
    data = record(VALUES)
    assert len(data) == 44
    here = os.path.dirname(os.path.abspath(__file__))
    out = os.path.join(here, "..", "..", "fixtures", "motor_record.bin")
    with open(out, "wb") as f:
        f.write(data + struct.pack("<H", crc16_modbus(data)))


if __name__ == "__main__":
    main()
