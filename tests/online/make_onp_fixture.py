#!/usr/bin/env python3
"""Writes tests/fixtures/online-selection.onp straight from the selection file's layout,
independently of the program's writer: the header line, then the code of each of the eight rows
(an empty line for an empty row), every line ended by CR LF."""
import pathlib
import sys

HEADER = "ZR2 Online Parameter v0001"
ROWS = ["Cn025", "", "Pn310", "qn501", "", "En724", "EC901", "tn830"]


def main(out):
    lines = [HEADER] + ROWS
    assert len(lines) == 9
    pathlib.Path(out).write_bytes("".join(line + "\r\n" for line in lines).encode("ascii"))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else
         pathlib.Path(__file__).resolve().parents[1] / "fixtures" / "online-selection.onp")
