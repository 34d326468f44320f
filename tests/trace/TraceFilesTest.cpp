// Recordings (.trd, CSV) and trace.ini against fixtures written from the layout tables by
// make_trace_fixtures.py, whose value rules the builders below repeat.
#include "trace/GraphServices.h"
#include "trace/RecordingFile.h"
#include "trace/TraceDataFile.h"
#include "trace/TraceIni.h"

#include "tests/support/SaveFaults.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <sstream>
#include <unistd.h>

namespace {

const std::string kFixtures = std::string(KELO_SOURCE_DIR) + "/tests/fixtures/trace/";

std::string Fixture(const std::string& name) {
    std::ifstream in(kFixtures + name, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

int32_t Sample(int k, int i) {
    return (k + 1) * 100000 + i * (k + 1) - 50000;
}

// The recording the fixtures hold (the box forms use channels 1..4 and front channel 1).
TraceRecording Built(int points, bool box) {
    TraceRecording r;
    r.traceMode = 1;
    r.sources = {1, 2, 3, 4, 36, 6, 7, 51};
    r.colorIndices = {2, 1, 12, 0, 3, 9, 14, 5};
    r.timeBase = 200.0f;
    r.interval = 2;
    r.pointCount = points;
    r.scaleSelections = {0, 3, 4, 5, 6, 7, 8, 9};
    r.timeDivisionSelection = 2;
    r.baseScales = {100, 200, 300, 400};
    r.sliderPositions = {10, 11, 12, 13, 14, 15, 16, 17};
    r.baseOffsets = {-1, -2, -3, -4};
    r.baseScroll = 3;
    r.frontChannel = box ? 1 : 5;
    for (int k = 0; k < 8; ++k)
        for (int i = 0; i <= points; ++i)
            r.samples[k].push_back(Sample(k, i));
    for (int i = 0; i < 22; ++i)
        r.dioCodes[i] = i + 1;
    r.triggerSource = 2;
    r.triggerLevel = -150;
    r.seriesCode = 4;
    r.triggerEdge = 1;
    r.triggerPosition = 25;
    r.cursors = {1.5f, 2.5f, -3.25f, 4.0f};
    r.snapshotValid = 1;
    for (int i = 0; i < 63; ++i)
        r.snapshot1[i] = 1000 + i;
    for (int i = 0; i < 20; ++i)
        r.snapshot2[i] = 2000 + i;
    r.zoomed = 1;
    r.timePerDivision = 0.5f;
    r.scales = {10, 20, 30, 40};
    r.leftTime = 1.25f;
    r.offsets = {5, 6, 7, 8};
    r.scroll = 2;
    r.baseTimePerDivision = 2.0f;
    r.baseLeftTime = 0.0f;
    r.upperOffsets = {9, 10, 11, 12};
    r.upperScales = {50, 60, 70, 80};
    r.channelCountMode = 1;
    r.colors = {0x0000FF, 0x00FFFF, 0xFF8080, 0xFF00FF, 0xFF0000, 0x80FFFF, 0x4080FF, 0xFFFF00};
    for (int i = 0; i < 99; ++i)
        r.snapshot3[i] = 3000 + i;
    return r;
}

// A record a window might hold before it opens a file: every field distinct from the fixtures'.
TraceRecording Prior() {
    TraceRecording r;
    r.traceMode = 2;
    r.sources = {40, 40, 40, 40, 40, 40, 40, 40};
    r.scaleSelections.fill(11);
    r.baseScales.fill(77);
    r.baseOffsets.fill(77);
    r.triggerEdge = 2;
    r.triggerPosition = 9;
    r.dioCodes.fill(99);
    r.cursors.fill(9.0f);
    r.snapshotValid = 1;
    r.snapshot2.fill(55);
    r.colors.fill(0x123456);
    r.snapshot3.fill(66);
    for (auto& list : r.samples)
        list.assign(3, 7);
    return r;
}

std::string Encoded(const TraceRecording& r, TraceFileForm form = TraceFileForm::Trace) {
    return EncodeTraceFile(r, form);
}

} // namespace

TEST(TraceFiles, WritersMatchTheGoldenFiles) {
    EXPECT_EQ(Encoded(Built(1024, false)), Fixture("trace-260416.trd"));
    EXPECT_EQ(Encoded(Built(512, true), TraceFileForm::Box), Fixture("box-240126.trd"));
    EXPECT_EQ(Encoded(Built(512, true), TraceFileForm::BoxStopTime), Fixture("box-stoptime-240126.trd"));

    const TraceRecording r = Built(1024, false);
    TraceCsvTable trace;
    trace.titles = {"ch1 Speed Command(rpm)",
                    "ch2 Speed Feedback Detection(rpm)",
                    "ch3 Torque Command(%)",
                    "ch4 Torque Feedback Detection(%)",
                    CsvColumnTitle(5, "Main Loop (Vdc Bus) Voltage ", "V"),
                    "ch6 Electrical Angle(degree)",
                    "ch7 Pulse Reference Value(rpm)",
                    "ch8 Following Error(pulse)"};
    for (const auto& list : r.samples)
        trace.columns.push_back(&list);
    trace.rows = 1024;
    trace.times = CsvRowTimes(0, 1024, 200.0f, 100);
    EXPECT_EQ(EncodeTraceCsv(trace), Fixture("trace-260416.csv"));

    const TraceRecording b = Built(512, true);
    TraceCsvTable box;
    box.version = BoxFileVersion;
    box.titles = {CsvColumnTitle(1, "Speed Command", "rpm"), CsvColumnTitle(2, "Position Error", "pulse"),
                  CsvColumnTitle(3, "none", " "), CsvColumnTitle(4, "Debug1 - ", "pulse")};
    for (int k = 0; k < 4; ++k)
        box.columns.push_back(&b.samples[k]);
    box.rows = 512;
    box.times = CsvRowTimes(0, 512, 200.0f, BoxTimeDivisor);
    EXPECT_EQ(EncodeTraceCsv(box), Fixture("box-240126.csv"));
}

TEST(TraceFiles, ReadersRestoreWhatTheWritersWrote) {
    TraceRecording read = Prior();
    const TraceFileRead result = DecodeTraceFile(Fixture("trace-260416.trd"), TraceFileForm::Trace, read);
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(result.version, 260416);
    EXPECT_EQ(Encoded(read), Fixture("trace-260416.trd"));

    TraceRecording box = Prior();
    ASSERT_TRUE(DecodeTraceFile(Fixture("box-240126.trd"), TraceFileForm::Box, box).ok);
    EXPECT_EQ(Encoded(box, TraceFileForm::Box), Fixture("box-240126.trd"));
    EXPECT_EQ(box.dioCodes[22], 99) << "assignment words 23 and 24 keep their values";
}

namespace {

// The trace fixture with one int32 of the body replaced.
std::string WithBodyInt(const std::string& file, size_t offset, int32_t value) {
    std::string bytes = file;
    const size_t body = bytes.find("[Trace Data]\n") + 13;
    std::memcpy(bytes.data() + body + offset, &value, 4);
    return bytes;
}

std::string WithBodyFloat(const std::string& file, size_t offset, float value) {
    int32_t bits;
    std::memcpy(&bits, &value, 4);
    return WithBodyInt(file, offset, bits);
}

} // namespace

TEST(TraceFiles, OlderVersionsReadByTheirRules) {
    const TraceRecording prior = Prior();
    struct Case {
        const char* file;
        TraceFileForm reader;
        std::function<void(const TraceRecording&)> check;
    } cases[] = {
        {"trace-250318.trd", TraceFileForm::Trace,
         [&](const TraceRecording& r) {
             EXPECT_EQ(r.pointCount, 100);
             EXPECT_EQ(r.samples[7][100], Sample(7, 100)) << "channels 5..8 from 240215 on";
             EXPECT_EQ(r.colors, prior.colors) << "no line colours before 250319";
             EXPECT_EQ(r.snapshot3, prior.snapshot3) << "no third list before 260416";
             EXPECT_EQ(r.zoomed, 1);
         }},
        {"box-240126.trd", TraceFileForm::Trace,
         [&](const TraceRecording& r) {
             EXPECT_EQ(r.samples[3][512], Sample(3, 512));
             EXPECT_EQ(r.cursors[2], -3.25f);
             EXPECT_EQ(r.snapshot2[19], 2019);
             EXPECT_EQ(r.zoomed, 0);
             EXPECT_EQ(r.samples[4], prior.samples[4]) << "channels 5..8 keep what the window had";
         }},
        {"box-stoptime-240126.trd", TraceFileForm::Box,
         [&](const TraceRecording& r) {
             EXPECT_EQ(r.dioCodes[21], 22);
             EXPECT_EQ(r.cursors, prior.cursors);
             EXPECT_EQ(r.snapshotValid, 1) << "the extra flag keeps its value";
             EXPECT_EQ(r.snapshot2, decltype(r.snapshot2){}) << "extra words B become zeros";
         }},
        {"trace-181115.trd", TraceFileForm::Trace,
         [&](const TraceRecording& r) {
             EXPECT_EQ((std::array<int, 4>{r.sources[0], r.sources[1], r.sources[2], r.sources[3]}),
                       (std::array<int, 4>{1, 34, 9, 4}))
                 << "codes of files before 181116 are converted";
             EXPECT_EQ(r.triggerEdge, 1);
             EXPECT_EQ(r.dioCodes[21], 22);
             EXPECT_EQ(r.snapshotValid, 0);
             EXPECT_EQ(r.cursors, prior.cursors);
         }},
        {"trace-160800.trd", TraceFileForm::Trace,
         [&](const TraceRecording& r) {
             EXPECT_EQ(r.traceMode, prior.traceMode) << "no mode field: the first word is channel 1's source";
             EXPECT_EQ(r.sources[0], 1);
             EXPECT_EQ(r.triggerEdge, prior.triggerEdge);
             EXPECT_EQ(r.baseScales[2], 300);
         }},
        {"trace-160800.trd", TraceFileForm::Box,
         [&](const TraceRecording& r) {
             EXPECT_EQ(r.traceMode, 0);
             EXPECT_EQ(r.triggerEdge, 0);
             EXPECT_EQ(r.triggerPosition, 0);
         }},
        {"trace-160200.trd", TraceFileForm::Trace,
         [&](const TraceRecording& r) {
             EXPECT_EQ(r.baseScales[2], prior.baseScales[2]);
             EXPECT_EQ(r.sources[2], 9);
             EXPECT_EQ(r.samples[3][50], Sample(3, 50));
         }},
        {"trace-160200.trd", TraceFileForm::Box,
         [&](const TraceRecording& r) {
             EXPECT_EQ(r.baseScales[2], 1);
             EXPECT_EQ(r.baseOffsets[3], 0);
             EXPECT_EQ(r.scaleSelections[2], 0);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        TraceRecording r = prior;
        std::string bytes = Fixture(c.file);
        // The trace fixtures put channel 6 in front; a box file can only name channels 1..4.
        if (c.reader == TraceFileForm::Box && std::string(c.file).rfind("trace-16", 0) == 0)
            bytes = WithBodyInt(bytes, 68, 1);
        const TraceFileRead result = DecodeTraceFile(bytes, c.reader, r);
        ASSERT_TRUE(result.ok) << result.error;
        c.check(r);
    }
}

TEST(TraceFiles, BadFilesAreRefusedAndChangeNothing) {
    const std::string trace = Fixture("trace-260416.trd");
    const std::string box = Fixture("box-240126.trd");
    const size_t L = 4 * 1025;
    const size_t boxC = 8420;
    const size_t boxL = 4 * 513;
    struct Case {
        const char* name;
        std::string bytes;
        TraceFileForm reader = TraceFileForm::Trace;
    } cases[] = {
        {"empty", ""},
        {"no semicolon", "Kelo Servo ZR3 v0.1.260416\n[Trace Data]\n"},
        {"name too far after the semicolon", ";                        Kelo Servo 260416\n[Trace Data]\n"},
        {"second line", "; Kelo Servo ZR3 v0.1.260416\n[Trace data]\n" + trace.substr(trace.find("]\n") + 2)},
        {"truncated in the header fields", trace.substr(0, 80)},
        {"truncated in a sample list", trace.substr(0, trace.size() - 7000)},
        {"truncated by one byte", trace.substr(0, trace.size() - 1)},
        {"box truncated inside the cursors", box.substr(0, box.size() - 370)},
        {"point count -1", WithBodyInt(trace, 28, -1)},
        {"point count 300,000", WithBodyInt(trace, 28, 300000)},
        {"box point count 30,000", WithBodyInt(box, 28, 30000), TraceFileForm::Box},
        {"time base 0", WithBodyFloat(trace, 20, 0.0f)},
        {"time base negative", WithBodyFloat(trace, 20, -200.0f)},
        {"time base not a number", WithBodyFloat(trace, 20, std::nanf(""))},
        // No set-up gives a time base below 1 or above the largest interval x 10000, nor an
        // interval outside 1 .. 1250.
        {"time base 1e-30", WithBodyFloat(trace, 20, 1e-30f)},
        {"time base the smallest float", WithBodyFloat(box, 20, 1.4e-45f), TraceFileForm::Box},
        {"time base 0.5", WithBodyFloat(trace, 20, 0.5f)},
        {"time base above 12,500,000", WithBodyFloat(trace, 20, 12500001.0f)},
        {"time base 3e38", WithBodyFloat(box, 20, 3e38f), TraceFileForm::Box},
        {"interval 0", WithBodyInt(trace, 24, 0)},
        {"interval 1251", WithBodyInt(trace, 24, 1251)},
        {"box interval 805371904", WithBodyInt(box, 24, 805371904), TraceFileForm::Box},
        {"mode 3", WithBodyInt(trace, 0, 3)},
        {"front channel 8", WithBodyInt(trace, 72, 8)},
        {"box front channel 4", WithBodyInt(box, 72, 4), TraceFileForm::Box},
        {"first word block too long", WithBodyInt(trace, 257 + 4 * L, 64)},
        {"second word block too long", WithBodyInt(trace, 513 + 4 * L, 21)},
        {"box extra words A too long", WithBodyInt(box, boxC + 45, 1000000), TraceFileForm::Box},
        {"third word block too long", WithBodyInt(trace, 766 + 8 * L, 100)},
        {"time per division 0", WithBodyFloat(trace, 598 + 4 * L, 0.0f)},
        {"base time per division infinite", WithBodyFloat(trace, 642 + 4 * L, INFINITY)},
        {"channel count negative", WithBodyInt(trace, 730 + 4 * L, -1)},
        {"cursor A not a number", WithBodyFloat(trace, 240 + 4 * L, std::nanf(""))},
        {"cursor D infinite", WithBodyFloat(trace, 252 + 4 * L, -INFINITY)},
        {"box cursor B time beyond any sample", WithBodyFloat(box, boxC + 32, 1e30f), TraceFileForm::Box},
        {"box cursor A time before the start", WithBodyFloat(box, boxC + 28, -1.0f), TraceFileForm::Box},
        {"box cursor A time beyond the longest record", WithBodyFloat(box, boxC + 28, 4.2e8f),
         TraceFileForm::Box},
        {"cursor B time before the start", WithBodyFloat(trace, 244 + 4 * L, -0.5f)},
        {"time per division beyond the longest record", WithBodyFloat(trace, 598 + 4 * L, 5e9f)},
        {"left edge beyond the longest record", WithBodyFloat(trace, 618 + 4 * L, 5e9f)},
        {"base left edge before the start", WithBodyFloat(trace, 646 + 4 * L, -1.0f)},
        {"base scale of channel 1 at the largest int", WithBodyInt(trace, 44, 2147483647)},
        {"box base scale of channel 4 above 100M", WithBodyInt(box, 88 + 2 * boxL, 100000001),
         TraceFileForm::Box},
        {"current scale above 100M", WithBodyInt(trace, 602 + 4 * L, 2147483647)},
        {"upper scale above 100M", WithBodyInt(trace, 714 + 4 * L, 200000000)},
        {"trace form cut after DI/DO word 22", trace.substr(0, trace.find("]\n") + 2 + 240 + 4 * L)},
        {"trace form cut after DI/DO word 22, box reader",
         WithBodyInt(trace, 72, 1).substr(0, trace.find("]\n") + 2 + 240 + 4 * L), TraceFileForm::Box},
        {"larger than any recording", trace + std::string(TraceFileMaxBytes, '\0')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TraceRecording r = Prior();
        const std::string before = Encoded(r);
        const TraceFileRead result = DecodeTraceFile(c.bytes, c.reader, r);
        EXPECT_FALSE(result.ok);
        EXPECT_FALSE(result.error.empty());
        EXPECT_EQ(Encoded(r), before);
    }
}

// The ends of what the set-ups give, and cursor readings left from an earlier, longer record (a
// window saves the readings it last showed), are taken.
TEST(TraceFiles, TheSetUpsLimitsAndReadingsOfEarlierRecordsAreTaken) {
    const std::string trace = Fixture("trace-260416.trd");
    const std::string box = Fixture("box-240126.trd");
    const size_t L = 4 * 1025;
    const size_t boxC = 8420;
    struct Case {
        const char* name;
        std::string bytes;
        TraceFileForm reader = TraceFileForm::Trace;
    } cases[] = {
        {"time base 1", WithBodyFloat(trace, 20, 1.0f)},
        {"time base 12,500,000", WithBodyFloat(box, 20, 12500000.0f), TraceFileForm::Box},
        {"interval 1", WithBodyInt(trace, 24, 1)},
        {"interval 1250", WithBodyInt(box, 24, 1250), TraceFileForm::Box},
        {"box cursor A time of a longer record", WithBodyFloat(box, boxC + 28, 1e8f), TraceFileForm::Box},
        {"box cursor B value far down", WithBodyFloat(box, boxC + 40, -2e9f), TraceFileForm::Box},
        {"cursor A time of a long record", WithBodyFloat(trace, 240 + 4 * L, 2e9f)},
        {"left edge 0", WithBodyFloat(trace, 618 + 4 * L, 0.0f)},
    };
    for (const Case& c : cases) {
        TraceRecording r;
        const TraceFileRead result = DecodeTraceFile(c.bytes, c.reader, r);
        EXPECT_TRUE(result.ok) << c.name << ": " << result.error;
    }
}

TEST(TraceFiles, ValuesTheWindowCannotUseAreMadeSafe) {
    const size_t L = 4 * 1025;
    std::string bytes = WithBodyInt(Fixture("trace-260416.trd"), 730 + 4 * L, 5);
    bytes = WithBodyInt(bytes, 44, 0);
    bytes = WithBodyInt(bytes, 606 + 4 * L, -3);
    TraceRecording r;
    ASSERT_TRUE(DecodeTraceFile(bytes, TraceFileForm::Trace, r).ok);
    EXPECT_EQ(r.channelCountMode, 1);
    EXPECT_EQ(r.baseScales[0], 1);
    EXPECT_EQ(r.scales[1], 1);
}

TEST(TraceFiles, DamagedFilesNeverReadOutOfBounds) {
    std::mt19937 random(17);
    for (const char* name : {"trace-260416.trd", "box-240126.trd"}) {
        const std::string file = Fixture(name);
        for (int round = 0; round < 400; ++round) {
            std::string bytes = file;
            if (round % 2 == 0) {
                bytes.resize(std::uniform_int_distribution<size_t>(0, file.size())(random));
            } else {
                for (int flips = 0; flips < 4; ++flips)
                    bytes[std::uniform_int_distribution<size_t>(0, file.size() - 1)(random)] ^=
                        static_cast<char>(1 << (round % 8));
            }
            for (TraceFileForm reader : {TraceFileForm::Trace, TraceFileForm::Box}) {
                TraceRecording r;
                if (!DecodeTraceFile(bytes, reader, r).ok)
                    continue;
                ASSERT_GE(r.pointCount, 0);
                ASSERT_LE(r.pointCount, 299999);
                ASSERT_TRUE(std::isfinite(r.timeBase) && r.timeBase > 0);
                for (int k = 0; k < 4; ++k)
                    ASSERT_EQ(r.samples[k].size(), static_cast<size_t>(r.pointCount) + 1);
            }
        }
    }
}

class TraceFileSaving : public ::testing::Test {
protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() /
                 ("kelo-trace-files-" + std::to_string(getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }
    std::string Path(const std::string& name) const { return (folder / name).string(); }
    std::filesystem::path folder;
};

TEST_F(TraceFileSaving, TheNameChoosesTheFormAndOtherNamesAreRefusedBeforeAnythingIsMade) {
    const TraceRecording r = Built(10, false);
    TraceCsvTable csv;
    csv.titles = {"ch1 a(b)"};
    csv.columns = {&r.samples[0]};
    csv.rows = 10;
    csv.times = CsvRowTimes(0, 10, 200.0f, 100);
    std::string error;
    EXPECT_TRUE(SaveTraceFile(Path("a.Trd"), r, TraceFileForm::Trace, csv, &error)) << error;
    EXPECT_TRUE(SaveTraceFile(Path("a.cSv"), r, TraceFileForm::Trace, csv, &error)) << error;
    EXPECT_FALSE(SaveTraceFile(Path("a.txt"), r, TraceFileForm::Trace, csv, &error));
    EXPECT_FALSE(SaveTraceFile(Path("tr"), r, TraceFileForm::Trace, csv, &error));
    EXPECT_FALSE(std::filesystem::exists(Path("a.txt")));
    EXPECT_FALSE(SaveTraceFile(Path("missing/a.trd"), r, TraceFileForm::Trace, csv, &error));
    EXPECT_FALSE(error.empty());

    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"a.Trd", "a.cSv"})) << "nothing left beside them";

    TraceRecording back;
    ASSERT_TRUE(ReadTraceFile(Path("a.Trd"), TraceFileForm::Trace, back).ok);
    EXPECT_EQ(Encoded(back), Encoded(r));
    EXPECT_FALSE(ReadTraceFile(Path("a.cSv"), TraceFileForm::Trace, back).ok) << "only .trd names are read";
    EXPECT_FALSE(ReadTraceFile(Path("gone.trd"), TraceFileForm::Trace, back).ok);
}

TEST_F(TraceFileSaving, ASaveKilledWhileItWritesLeavesTheOldRecordingWhole) {
    const auto bytes = [](const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    };
    const TraceRecording small = Built(100, false), large = Built(20000, false);
    TraceCsvTable csv;
    csv.titles = {"ch1", "ch2"};
    csv.columns = {&large.samples[0], &large.samples[1]};
    csv.rows = 20000;
    csv.times = CsvRowTimes(0, 20000, 200.0f, 100);
    for (const char* name : {"run.trd", "run.csv"}) {
        SCOPED_TRACE(name);
        TraceCsvTable oldCsv = csv;
        oldCsv.rows = 100;
        ASSERT_TRUE(SaveTraceFile(Path(name), small, TraceFileForm::Trace, oldCsv));
        const std::string old = bytes(Path(name));
        const bool killed = KillSaveMidWrite(
            65536, [&] { SaveTraceFile(Path(name), large, TraceFileForm::Trace, csv); },
            [&](pid_t child) {
                EXPECT_EQ(FilesOpenIn(child, folder.string()), std::vector<off_t>{65536}) << "half written";
                EXPECT_EQ(bytes(Path(name)), old);
            });
        ASSERT_TRUE(killed);
        EXPECT_EQ(bytes(Path(name)), old);
    }
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"run.csv", "run.trd"})) << "nothing left beside them";
}

TEST_F(TraceFileSaving, HugeFilesAreRefusedBeforeTheyAreRead) {
    // Sparse files of 512 MB that start right: the readers look at the size before the contents.
    const std::string recording = Path("huge.trd");
    std::ofstream(recording, std::ios::binary) << Fixture("trace-260416.trd");
    std::filesystem::resize_file(recording, 512u << 20);
    TraceRecording r = Prior();
    const std::string before = Encoded(r);
    const TraceFileRead read = ReadTraceFile(recording, TraceFileForm::Trace, r);
    EXPECT_FALSE(read.ok);
    EXPECT_EQ(read.error, "the file is too large to be a recording");
    EXPECT_EQ(Encoded(r), before);

    const std::string settings = Path("trace.ini");
    std::ofstream(settings, std::ios::binary) << Fixture("trace-v5.ini");
    std::filesystem::resize_file(settings, 512u << 20);
    TraceSettings s;
    s.interval = 9;
    const TraceIniLoad load = LoadTraceIni(settings, s);
    EXPECT_TRUE(load.opened);
    EXPECT_FALSE(load.recognised);
    EXPECT_EQ(s.interval, 9);

    // The largest recording the window can make still opens.
    TraceRecording largest = Built(299999, false);
    const std::string bytes = Encoded(largest);
    EXPECT_LE(bytes.size(), TraceFileMaxBytes);
    TraceRecording back;
    EXPECT_TRUE(DecodeTraceFile(bytes, TraceFileForm::Trace, back).ok);
}

// The export takes the recording's own samples: the rows the .trd holds, from the first row a run
// reached, one column per title.
TEST(TraceFiles, TheCsvOfARecordingHoldsItsOwnSamples) {
    TraceRecording r;
    r.pointCount = 4;
    r.timeBase = 10000.0f;
    r.samples[0] = {0, 0, 7, -8, 9};
    r.samples[1] = {0, 0, 70, 80, 90};
    const TraceCsvTable csv = RecordingCsvTable(r, {"ch1 a(x)", "ch2 b(y)"}, 2, 1);
    ASSERT_EQ(csv.columns.size(), 2u);
    EXPECT_EQ(csv.rows, 2) << "rows 2 and 3; the value after the last row is no sample";
    const std::string text = EncodeTraceCsv(csv);
    EXPECT_NE(text.find("20.00  ,7  ,70  ,\n30.00  ,-8  ,80  ,\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("9  ,"), std::string::npos);
    EXPECT_EQ(RecordingCsvTable(r, {"t"}, 9, 1).rows, 0) << "a first row past the end leaves none";
}

TEST(TraceFiles, NumberedRecordingNamesFormatOnlyTheNumbers) {
    EXPECT_EQ(NumberedRecordingPath("/data/100%d", "run%s_", 7, 12), "/data/100%d/run%s_007_012.trd");
    EXPECT_EQ(NumberedRecordingPath("/data/", "", 1000, 0), "/data/1000_000.trd");
}

// A recording belongs to the file it was saved to or read from until a new run or new settings;
// only then does Save ask for a path again.
TEST(RecordingFileOfAWindow, NamesTheFileInTheCaptionUntilTheRecordingIsNew) {
    RecordingFile file;
    file.SetInitialCaption("Wave Trace");
    EXPECT_FALSE(file.SaveTarget());
    EXPECT_EQ(file.Name("/data/run a.trd"), "Wave Trace - [/data/run a.trd]");
    EXPECT_TRUE(file.Named());
    EXPECT_EQ(file.SaveTarget(), "/data/run a.trd");
    EXPECT_EQ(file.Name("/data/b.trd"), "Wave Trace - [/data/b.trd]");
    EXPECT_EQ(file.SaveTarget(), "/data/b.trd");
    EXPECT_EQ(file.Unname(), "Wave Trace");
    EXPECT_FALSE(file.Named());
    EXPECT_FALSE(file.SaveTarget());
    EXPECT_TRUE(file.Path().empty());
}

// ---- trace.ini ---------------------------------------------------------------------------------

TEST(TraceIniFile, VersionsReadTheirLines) {
    TraceSettings prior;
    prior.cursorColors = {1, 2, 3, 4};
    prior.scaleSelections = {9, 9, 9, 9, 8, 8, 8, 8};

    TraceSettings v5 = prior;
    TraceIniLoad load = DecodeTraceIni(Fixture("trace-v5.ini"), v5);
    ASSERT_TRUE(load.recognised);
    EXPECT_EQ(load.version, 5);
    EXPECT_EQ(v5.valid, 1);
    EXPECT_EQ(v5.dioCodes[23], 123);
    EXPECT_EQ(v5.points, 1024);
    EXPECT_EQ(v5.triggerEdge, 2);
    EXPECT_EQ(v5.carried, 77);
    EXPECT_EQ(v5.interval, 20);
    EXPECT_EQ(v5.triggerLevel, -40);
    EXPECT_EQ(v5.traceMode, 1);
    EXPECT_EQ(v5.timeBase, 200000);
    EXPECT_EQ(v5.sources, (std::array<int, 8>{1, 2, 3, 5, 34, 35, 0, 0}))
        << "47 and 51 cannot sit on 7 and 8";
    EXPECT_EQ(v5.scaleSelections, (std::array<int, 8>{0, 1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(v5.colors[2], 16744576u);
    EXPECT_EQ(v5.cursorColorUsed, (std::array<uint8_t, 4>{1, 0, 1, 0}));
    EXPECT_EQ(v5.cursorColors, (std::array<COLORREF, 4>{65280, 0, 16711680, 123}));

    TraceSettings v2 = prior;
    ASSERT_TRUE(DecodeTraceIni(Fixture("trace-v2.ini"), v2).recognised);
    EXPECT_EQ(v2.scaleSelections[3], 3) << "lines 46..49 from version 2";
    EXPECT_EQ(v2.sources, (std::array<int, 8>{1, 2, 3, 5, 6, 7, 36, 37}));
    EXPECT_EQ(v2.colorIndices, (std::array<int, 8>{2, 1, 12, 0, 4, 5, 12, 14}));
    for (int k = 0; k < 8; ++k)
        EXPECT_EQ(v2.colors[k], ChannelColor(static_cast<unsigned>(v2.colorIndices[k])));
    EXPECT_EQ(v2.cursorColors, prior.cursorColors);

    TraceSettings v0 = prior;
    load = DecodeTraceIni(Fixture("trace-v0.ini"), v0);
    ASSERT_TRUE(load.recognised);
    EXPECT_EQ(load.version, 0) << "a second line of five characters or fewer";
    EXPECT_EQ(v0.scaleSelections, prior.scaleSelections);
    EXPECT_EQ(v0.sources[6], 36);
    EXPECT_EQ(v0.cursorColors, prior.cursorColors);
}

TEST(TraceIniFile, SavedFilesHave78LinesAndReadBackTheSame) {
    TraceSettings s;
    ASSERT_TRUE(DecodeTraceIni(Fixture("trace-v5.ini"), s).recognised);
    const std::string text = EncodeTraceIni(s);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 78);
    EXPECT_EQ(text.find("\n\n"), std::string::npos);
    TraceSettings again;
    ASSERT_TRUE(DecodeTraceIni(text, again).recognised);
    EXPECT_EQ(EncodeTraceIni(again), text);
    // The fixture differs only where 47 and 51 were taken off channels 7 and 8.
    std::string expected = Fixture("trace-v5.ini");
    expected.replace(expected.find("\r\n47\r\n51\r\n"), 10, "\r\n0\r\n0\r\n");
    EXPECT_EQ(text, expected);
}

TEST(TraceIniFile, ValuesOutOfRangeKeepTheFieldAndWrongFilesChangeNothing) {
    std::string text = Fixture("trace-v5.ini");
    // Interval (line 32), trace mode (35), first colour index (42), first colour (62).
    std::vector<std::string> lines;
    std::stringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    lines[31] = "0\r";
    lines[34] = "7\r";
    lines[41] = "15\r";
    lines[61] = "-5\r";
    std::string changed;
    for (const std::string& line : lines)
        changed += line + "\n";
    TraceSettings s;
    s.interval = 3;
    s.traceMode = 2;
    s.colorIndices[0] = 6;
    s.colors[0] = 0xABCDEF;
    ASSERT_TRUE(DecodeTraceIni(changed, s).recognised);
    EXPECT_EQ(s.interval, 3);
    EXPECT_EQ(s.traceMode, 2);
    EXPECT_EQ(s.colorIndices[0], 6);
    EXPECT_EQ(s.colors[0], 0xABCDEFu);

    TraceSettings untouched;
    untouched.interval = 9;
    const TraceIniLoad wrong = DecodeTraceIni("[Other]\r\n[0005]\r\n", untouched);
    EXPECT_TRUE(wrong.opened);
    EXPECT_FALSE(wrong.recognised);
    EXPECT_EQ(untouched.interval, 9);
    EXPECT_FALSE(LoadTraceIni("/nonexistent/trace.ini", untouched).opened);
}
