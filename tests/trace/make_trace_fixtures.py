#!/usr/bin/env python3
"""Writes the recording and settings fixtures of tests/fixtures/trace straight from the layout
tables, independently of the program's own writer: the trace form (260416) and its older versions,
the box viewer's form and its stop-time form (240126), the CSV exports and trace.ini of versions 0,
2 and 5. The values follow simple rules that the tests repeat (see TraceFilesTest.cpp)."""
import pathlib
import struct
import sys


def i32(*values):
    return b"".join(struct.pack("<i", v) for v in values)


def f32(*values):
    return b"".join(struct.pack("<f", v) for v in values)


def sample(k, i):
    # Channel k (0..7), index i: distinct, with negative values.
    return (k + 1) * 100000 + i * (k + 1) - 50000


def header(version):
    return b"; Kelo Servo ZR3 v0.1.%06d\n[Trace Data]\n" % version


def recording(version, points, channels_1_to_4_only=False, stop_time=False):
    """The body fields present in a file of this version, in the order of the layout table."""
    n = points + 1
    sources = [1, 2, 3, 4, 36, 6, 7, 51] if version > 181115 else [1, 9, 11, 4, 36, 6, 7, 51]
    colours = [2, 1, 12, 0, 3, 9, 14, 5]
    body = b""
    if version > 160800:
        body += i32(1)                               # trace mode
    body += i32(sources[0], sources[1], colours[0], colours[1])
    body += f32(200.0) + i32(2, points)              # time base, interval, N
    body += i32(0, 3, 2)                             # scale selections 1, 2; time division selection
    body += i32(100, 200)                            # base scales 1, 2
    body += i32(10, -1, 11, -2)                      # slider 1, offset 1, slider 2, offset 2
    body += i32(3, 1 if channels_1_to_4_only else 5)  # base scroll, front channel
    for k in (0, 1):
        body += i32(*[sample(k, i) for i in range(n)])
    if version > 160200:
        body += i32(4, 5, 300, 400, 12, -3, 13, -4)  # channel 3 and 4 scale block
    body += i32(sources[2], sources[3], colours[2], colours[3])
    body += i32(-3, -4)                              # offsets 3 and 4 again
    body += i32(*range(1, 21))                       # DI/DO codes 1..20
    for k in (2, 3):
        body += i32(*[sample(k, i) for i in range(n)])
    body += i32(2, -150, 4)                          # trigger source, level, series
    if version > 181114:
        body += i32(1, 25, 21, 22)                   # edge, position, DI/DO 21 and 22
    if version >= 240126 and not stop_time:
        body += f32(1.5, 2.5, -3.25, 4.0)            # cursors
        body += bytes([1])                           # snapshot valid
        body += i32(63, *[1000 + i for i in range(63)])
        body += i32(20, *[2000 + i for i in range(20)])
    if version >= 240215 and not channels_1_to_4_only:
        body += bytes([1]) + f32(0.5) + i32(10, 20, 30, 40)   # zoom, time/div, scales 1..4
        body += f32(1.25) + i32(5, 6, 7, 8) + i32(2)          # left time, offsets 1..4, scroll
        body += f32(2.0, 0.0)                                 # base time/div, base left time
        body += i32(6, 7, 8, 9)                               # scale selections 5..8
        body += i32(14, 15, 16, 17)                           # sliders 5..8
        body += i32(*sources[4:])                             # sources 5..8
        body += i32(9, 10, 11, 12)                            # offsets 5..8
        body += i32(50, 60, 70, 80)                           # scales 5..8
        body += i32(1)                                        # channel-count mode
        for k in range(4, 8):
            body += i32(*[sample(k, i) for i in range(n)])
    if version > 250318 and not channels_1_to_4_only:
        body += i32(0x0000FF, 0x00FFFF, 0xFF8080, 0xFF00FF, 0xFF0000, 0x80FFFF, 0x4080FF, 0xFFFF00)
    if version > 260415 and not channels_1_to_4_only:
        body += i32(99, *[3000 + i for i in range(99)])
    return header(version) + body


def csv(version, points, channels, titles, times):
    text = header(version) + b"time(ms),"
    for title in titles[:channels]:
        text += title.encode() + b","
    text += b"\n"
    for i in range(points):
        text += b"%.2f  ," % times[i]
        for k in range(channels):
            text += b"%d  ," % sample(k, i)
        text += b"\n"
    return text


def single(value):
    return struct.unpack("<f", struct.pack("<f", value))[0]


def trace_ini(version_line, colours, cursors, short=False):
    lines = ["[Kelo Servo]", version_line, "[bsetok]", "1"]
    lines += [str(100 + i) for i in range(24)]                # DI/DO codes
    lines += ["1024", "2", "77", "20", "3", "-40", "1", "26", "200000"]
    lines += ["1", "2", "3", "5", "2", "1", "12", "0", "0", "1", "2", "3"]
    if not short:
        lines += ["34", "35", "47", "51", "3", "9", "14", "5", "4", "5", "6", "7"]
    if colours:
        lines += [str(c) for c in (255, 65535, 16744576, 16711935, 16711680, 8454143, 4227327, 16776960)]
    if cursors:
        lines += ["[CurserSet]", "1", "65280", "0", "0", "1", "16711680", "0", "123"]
    return "".join(line + "\r\n" for line in lines).encode()


def main(folder):
    out = pathlib.Path(folder)
    out.mkdir(parents=True, exist_ok=True)
    files = {
        "trace-260416.trd": recording(260416, 1024),
        "trace-250318.trd": recording(250318, 100),
        "trace-181115.trd": recording(181115, 50),
        "trace-160800.trd": recording(160800, 50),
        "trace-160200.trd": recording(160200, 50),
        "box-240126.trd": recording(240126, 512, channels_1_to_4_only=True),
        "box-stoptime-240126.trd": recording(240126, 512, channels_1_to_4_only=True, stop_time=True),
    }
    trace_titles = ["ch1 Speed Command(rpm)", "ch2 Speed Feedback Detection(rpm)", "ch3 Torque Command(%)",
                    "ch4 Torque Feedback Detection(%)", "ch5 Main Loop (Vdc Bus) Voltage (V)",
                    "ch6 Electrical Angle(degree)", "ch7 Pulse Reference Value(rpm)", "ch8 Following Error(pulse)"]
    # Single precision as the program computes the times: i x (200 / 1000) / 100 in Cycle mode.
    step = single(200.0 / 1000.0)
    trace_times = [single(single(i * step) / 100.0) for i in range(1024)]
    files["trace-260416.csv"] = csv(260416, 1024, 8, trace_titles, trace_times)
    box_titles = ["ch1 Speed Command(rpm)", "ch2 Position Error(pulse)", "ch3 none( )", "ch4 Debug1 - (pulse)"]
    # The box record's rows count from its first sample whatever part of it the plot shows.
    box_times = [single(single(i * step) / 100.0) for i in range(512)]
    files["box-240126.csv"] = csv(240126, 512, 4, box_titles, box_times)
    files["trace-v5.ini"] = trace_ini("[0005]", True, True)
    files["trace-v2.ini"] = trace_ini("[0002]", False, False, short=True)
    files["trace-v0.ini"] = trace_ini("[05]", False, False)
    for name, data in files.items():
        (out / name).write_bytes(data)
        print(f"{out / name}: {len(data)} bytes")


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "tests/fixtures/trace")
