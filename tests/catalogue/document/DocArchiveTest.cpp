#include "DocumentTestSupport.h"

#include "catalogue/DocArchive.h"
#include "catalogue/DocumentGlobals.h"
#include "framework/core/Archive.h"

#include "tests/support/SaveFaults.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

namespace {

const std::string Golden = std::string(KELO_FIXTURES) + "/document-current.zpf";

// The value the fixture generator puts at position i of the block of a row.
int FixtureValue(int row, int i) {
    return (i % 7 == 6 ? -1 : 1) * (row * 1000 + i);
}

// Builds a file in the layout up to and including `lastRow` (13 = ends after Pn4, 27 = before the
// motor words), with the given version text and series.
ZpfBuilder OlderFile(const std::string& version, int series, int lastRow, int cn030 = 0x1121) {
    ZpfBuilder b;
    b.Text(version).Int(series).Block(97, 3000).Block(20, 4000).Int(5).Block(20, 6000);
    std::vector<int> cn(99);
    for (int i = 0; i < 99; ++i)
        cn[i] = 7000 + i;
    cn[29] = cn030;
    cn[79] = 2; // Cn080
    cn[80] = 4; // Cn081
    b.Values(cn).Block(18, 8000).Block(29, 9000).Block(85, 10000).Block(7, 11000).Block(24, 12000);
    b.Block(99, 13000);
    if (lastRow >= 14)
        b.Block(24, 14000);
    if (lastRow >= 21) {
        const int sizes[] = {24, 18, 2, 69, 26, 38, 17};
        for (int k = 0; k < 7; ++k)
            b.Block(sizes[k], (15 + k) * 1000);
    }
    if (lastRow >= 27)
        b.Int(22).Int(23).Block(63, 24000).Block(34, 25000).Int(1).Text("first").Block(16, 27000);
    return b;
}

// Motor words that agree with the motor tables' answer for 0x1121, so that rebuilding the defaults
// after an old file leaves them as they were.
void MotorOf1121() {
    ModelCode = 0x1121;
    RatedSpeed = 3000;
    MotorEncoderResolution = 10000;
    ForwardTorqueLimit = 300;
    ReverseTorqueLimit = -300;
    DriveCapacityIndex = 0x9C1;
}

} // namespace

TEST_F(DocumentTest, GoldenFileLoadsAndStoresByteForByte) {
    SeriesCode = -1; // no series known yet: no checks
    CKeloServoDoc doc(&host);
    ASSERT_TRUE(doc.OnOpenDocument(Golden)) << testing::PrintToString(MessageTexts());
    EXPECT_TRUE(messages.Shown().empty());

    EXPECT_EQ(doc.m_VersionText, "KELO Servo Ver:0.1.260123");
    EXPECT_EQ(SeriesCode, 4);
    EXPECT_EQ(host.seriesChanges, std::vector<int>{4});
    EXPECT_EQ(doc.m_Un[96], FixtureValue(3, 96));
    EXPECT_EQ(doc.m_Reserved1[6], FixtureValue(4, 6));
    EXPECT_EQ(doc.m_CarriedWord, 4242);
    EXPECT_EQ(doc.m_Reserved2[19], FixtureValue(6, 19));
    EXPECT_EQ(doc.Value(DocCn, 1), FixtureValue(7, 0));
    EXPECT_EQ(doc.Value(DocCn, 99), FixtureValue(7, 98));
    EXPECT_EQ(doc.Value(Docqn, 7), FixtureValue(11, 6));
    EXPECT_EQ(doc.Value(DocPn4, 99), FixtureValue(13, 98));
    EXPECT_EQ(doc.Value(DocEn, 24), FixtureValue(14, 23));
    EXPECT_EQ(doc.Value(DoconT, 1), FixtureValue(15, 0));
    EXPECT_EQ(doc.Value(Docond, 2), FixtureValue(17, 1));
    EXPECT_EQ(doc.Value(DoconE, 17), FixtureValue(21, 16));
    EXPECT_EQ(doc.m_ArchivedWord1, 2222);
    EXPECT_EQ(doc.m_ArchivedWord2, 2323);
    EXPECT_EQ(doc.Value(Doctn, 63), FixtureValue(24, 62));
    EXPECT_EQ(doc.Value(DocEC, 34), FixtureValue(25, 33));
    EXPECT_TRUE(doc.m_Names.empty());
    EXPECT_EQ(doc.Value(DocMAb, 16), FixtureValue(27, 15));
    EXPECT_EQ(FeatureStatusWord, 1);
    EXPECT_EQ(MotorEncoderResolution, 131072);
    EXPECT_EQ(ForwardTorqueLimit, 250);
    EXPECT_EQ(ReverseTorqueLimit, -250);
    EXPECT_EQ(ModelCode, 0x2257);
    EXPECT_EQ(DriveCapacityIndex, 0x123);
    EXPECT_EQ(RatedSpeed, 2000);
    EXPECT_EQ(DriveControlMode, 6);
    // Defaults were rebuilt from the file's motor words.
    EXPECT_EQ(doc.Default(DocCn, 30), 0x2257);
    EXPECT_EQ(doc.Default(DocCn, 10), 250);
    EXPECT_EQ(doc.Default(DocTn, 9), 2000);

    ASSERT_TRUE(doc.OnSaveDocument(Scratch("again.zpf")));
    EXPECT_EQ(ReadBytes(Scratch("again.zpf")), ReadBytes(Golden));
}

TEST_F(DocumentTest, ASaveKilledWhileItWritesLeavesTheOldFileWhole) {
    const std::string path = Scratch("drive.zpf");
    std::filesystem::copy_file(Golden, path);
    const std::vector<unsigned char> old = ReadBytes(path);
    const auto names = [this] {
        std::set<std::string> found;
        for (const auto& entry : std::filesystem::directory_iterator(Scratch("")))
            found.insert(entry.path().filename().string());
        return found;
    };
    const std::set<std::string> before = names();

    SeriesCode = 4;
    CKeloServoDoc doc(&host);
    doc.OnNewDocument();
    const bool killed = KillSaveMidWrite(
        1024, [&] { doc.OnSaveDocument(path); },
        [&](pid_t child) {
            EXPECT_EQ(FilesOpenIn(child, Scratch("")), std::vector<off_t>{1024}) << "half written";
            EXPECT_EQ(ReadBytes(path), old);
        });
    ASSERT_TRUE(killed);
    EXPECT_EQ(ReadBytes(path), old);
    EXPECT_EQ(names(), before) << "nothing left beside it";
}

TEST_F(DocumentTest, ASaveThatFailsSaysWhyAndLeavesTheOldFile) {
    const std::string path = Scratch("drive.zpf");
    std::filesystem::copy_file(Golden, path);
    const std::vector<unsigned char> old = ReadBytes(path);
    SeriesCode = 4;
    CKeloServoDoc doc(&host);
    doc.OnNewDocument();
    doc.SetModifiedFlag(true);
    {
        FileSizeLimit fullDisk(1024);
        EXPECT_FALSE(doc.OnSaveDocument(path));
    }
    ASSERT_EQ(messages.Shown().size(), 1u);
    const std::string text = messages.Shown()[0].text;
    EXPECT_EQ(text.rfind("The parameter file could not be saved.\nThe previous file is unchanged.\n\n", 0),
              0u)
        << text;
    EXPECT_NE(text.find(std::strerror(EFBIG)), std::string::npos) << "the system's reason: " << text;
    EXPECT_EQ(ReadBytes(path), old);
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(DocumentTest, SaveAndLoadGiveBackEveryValue) {
    SeriesCode = 5;
    CKeloServoDoc doc(&host);
    doc.OnNewDocument();
    int k = 1;
    for (int g = 0; g < DocGroupCount; ++g)
        for (int n = 1; n <= DocGroupSize(DocGroup(g)); ++n)
            doc.Value(DocGroup(g), n) = -(k++);
    doc.m_Names = {"one", std::string(300, 'x'), ""};
    ModelCode = 0x1357;
    RatedSpeed = 1500;
    ASSERT_TRUE(doc.OnSaveDocument(Scratch("doc.zpf")));

    CKeloServoDoc other(&host);
    ModelCode = 0x1121;
    RatedSpeed = 3000;
    ASSERT_TRUE(other.OnOpenDocument(Scratch("doc.zpf")));
    for (int g = 0; g < DocGroupCount; ++g)
        for (int n = 1; n <= DocGroupSize(DocGroup(g)); ++n)
            ASSERT_EQ(other.Value(DocGroup(g), n), doc.Value(DocGroup(g), n)) << DocParamCode(DocGroup(g), n);
    EXPECT_EQ(other.m_Names, doc.m_Names);
    EXPECT_EQ(ModelCode, 0x1357);
    EXPECT_EQ(RatedSpeed, 1500);
    EXPECT_FALSE(other.IsModified());
}

TEST_F(DocumentTest, FileEndingAfterPn4KeepsDefaultsOfEverythingLater) {
    SeriesCode = 4;
    MotorOf1121();
    OlderFile("KELO Servo Ver:0.1.210101", 4, 13).Save(Scratch("old.zpf"));
    CKeloServoDoc doc(&host);
    doc.OnNewDocument();
    doc.Value(DocEn, 3) = 999;
    doc.Value(DoconC, 3) = 999;
    ASSERT_TRUE(doc.OnOpenDocument(Scratch("old.zpf"))) << testing::PrintToString(MessageTexts());
    EXPECT_EQ(doc.Value(DocPn4, 1), 13000);
    for (DocGroup g : {DocEn, DoconT, DoconS, Docond, DoconC, Docono, DoconA, DoconE, Doctn, DocEC, DocMAb})
        for (int n = 1; n <= DocGroupSize(g); ++n)
            ASSERT_EQ(doc.Value(g, n), doc.Default(g, n)) << DocParamCode(g, n);
}

TEST_F(DocumentTest, FileEndingAfterEnLoadsNewerGroupsAtDefaults) {
    SeriesCode = 4;
    MotorOf1121();
    OlderFile("KELO Servo Ver:0.1.210101", 4, 14).Save(Scratch("old.zpf"));
    CKeloServoDoc doc(&host);
    ASSERT_TRUE(doc.OnOpenDocument(Scratch("old.zpf")));
    EXPECT_EQ(doc.Value(DocEn, 24), 14023);
    for (DocGroup g : {DoconT, DoconS, Docond, DoconC, Docono, DoconA, DoconE})
        for (int n = 1; n <= DocGroupSize(g); ++n)
            ASSERT_EQ(doc.Value(g, n), doc.Default(g, n)) << DocParamCode(g, n);
}

TEST_F(DocumentTest, FileWithoutMotorWordsTakesThemFromTheMotorTables) {
    SeriesCode = 4;
    MotorEncoderResolution = 10000;
    // 0x2612 is group 17 row 3 (7.5 kW, 1500 rpm, 260 %), encoder kind 2.
    OlderFile("KELO Servo Ver:0.1.220101", 4, 27, 0x2612).Save(Scratch("old.zpf"));
    CKeloServoDoc doc(&host);
    ASSERT_TRUE(doc.OnOpenDocument(Scratch("old.zpf")));
    EXPECT_EQ(ModelCode, 0x2612);
    EXPECT_EQ(RatedSpeed, 1500);
    EXPECT_EQ(MotorEncoderResolution, 32768);
    EXPECT_EQ(ForwardTorqueLimit, 260);
    EXPECT_EQ(ReverseTorqueLimit, -260);
    EXPECT_EQ(doc.Default(DocCn, 10), 260);
    EXPECT_EQ(doc.Default(DocCn, 5), 8192);
    EXPECT_EQ(doc.Default(DocCn, 7), 500);
    EXPECT_EQ(doc.m_Names, std::vector<std::string>{"first"});
    EXPECT_EQ(doc.Value(DocMAb, 16), 27015);
    EXPECT_EQ(doc.Value(DocCn, 80), 0); // repaired: stamp 220101
    EXPECT_EQ(doc.Value(DocCn, 81), 0);

    // Saved again, it is a current file: the motor words are stored and read back, and values the
    // user sets now are not "repaired".
    doc.Value(DocCn, 80) = 2;
    ASSERT_TRUE(doc.OnSaveDocument(Scratch("resaved.zpf")));
    RatedSpeed = 3000;
    CKeloServoDoc again(&host);
    ASSERT_TRUE(again.OnOpenDocument(Scratch("resaved.zpf")));
    EXPECT_EQ(again.Value(DocCn, 80), 2);
    EXPECT_EQ(RatedSpeed, 1500);
}

TEST_F(DocumentTest, MotorFamilyIndexFromOldFiles) {
    // Without the feature set class 4 reads 10, 5 reads 4, above 6 two less.
    struct Case {
        int cn030;
        int index;
    } cases[] = {{0x1457, 10}, {0x1557, 4}, {0x1657, 6}, {0x1957, 7}, {0x1357, 3}};
    for (const Case& c : cases) {
        SeriesCode = 4;
        DriveCapacityIndex = 0x9C0;
        OlderFile("KELO Servo Ver:0.1.220101", 4, 27, c.cn030).Save(Scratch("old.zpf"));
        CKeloServoDoc doc(&host);
        ASSERT_TRUE(doc.OnOpenDocument(Scratch("old.zpf")));
        EXPECT_EQ(DriveCapacityIndex, 0x9C0 | c.index) << std::hex << c.cn030;
    }
}

TEST_F(DocumentTest, DateStampsDecideRow28AndRepairs) {
    struct Case {
        const char* version;
        bool row28Read;
        int cn080, cn081;
    } cases[] = {
        {"KELO Servo Ver:0.1.230820", false, 0, 0},
        {"KELO Servo Ver:0.1.230821", true, 2, 0},
        {"KELO Servo Ver:0.1.230822", true, 2, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version);
        SeriesCode = 4;
        ModelCode = 0x1121;
        RatedSpeed = 3000;
        ZpfBuilder b = OlderFile(c.version, 4, 27);
        b.Values({0, 10000, 200, -200, 0x1357, 0x9C3, 2500, 1, 10, 10});
        b.Save(Scratch("stamp.zpf"));
        CKeloServoDoc doc(&host);
        ASSERT_TRUE(doc.OnOpenDocument(Scratch("stamp.zpf")));
        EXPECT_EQ(ModelCode, c.row28Read ? 0x1357 : 0x1121);
        EXPECT_EQ(RatedSpeed, c.row28Read ? 2500 : 3000);
        EXPECT_EQ(doc.Value(DocCn, 80), c.cn080);
        EXPECT_EQ(doc.Value(DocCn, 81), c.cn081);
    }
}

TEST_F(DocumentTest, MotorChangeWhileConnectedKeepsDefaults) {
    SeriesCode = 4;
    ModelCode = 0x1121;
    host.connected = true;
    ZpfBuilder b = OlderFile("KELO Servo Ver:0.1.260123", 4, 27);
    b.Values({0, 10000, 200, -200, 0x1357, 0x9C3, 2500, 1, 10, 10});
    b.Save(Scratch("motor.zpf"));
    CKeloServoDoc doc(&host);
    const int cn030Default = doc.Default(DocCn, 30);
    ASSERT_TRUE(doc.OnOpenDocument(Scratch("motor.zpf")));
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{"Motor Type changed!"});
    EXPECT_EQ(doc.Default(DocCn, 30), cn030Default);
}

TEST_F(DocumentTest, ForeignSeriesWhileConnectedKeepsTheSeries) {
    SeriesCode = 4;
    host.connected = true;
    host.documentGiven = true; // the series check is skipped for command-line documents
    OlderFile("KELO Servo Ver:0.1.260123", 7, 27).Save(Scratch("s7.zpf"));
    CKeloServoDoc doc(&host);
    ASSERT_TRUE(doc.OnOpenDocument(Scratch("s7.zpf")));
    EXPECT_EQ(SeriesCode, 4);
    EXPECT_TRUE(host.seriesChanges.empty());

    host.connected = false;
    ASSERT_TRUE(doc.OnOpenDocument(Scratch("s7.zpf")));
    EXPECT_EQ(SeriesCode, 7);
    EXPECT_EQ(host.seriesChanges, std::vector<int>{7});
    EXPECT_TRUE(ForeignSeriesLoadedFlag);
}

TEST_F(DocumentTest, RefusedFilesChangeNothing) {
    SeriesCode = 4;
    OlderFile("ABCD Servo Ver:0.1.260123", 4, 27).Save(Scratch("magic.zpf"));
    OlderFile("KELO Servo Ver:0.1.260123", 5, 27).Save(Scratch("series.zpf"));
    std::vector<unsigned char> golden = ReadBytes(Golden);
    struct Case {
        std::string name;
        std::vector<unsigned char> bytes;
        std::string message;
    } cases[] = {
        {"magic.zpf", {}, "Series do not match! Could not open file!"},
        {"series.zpf", {}, "Series do not match! Could not open file!"},
        {"short-value.zpf", {golden.begin(), golden.begin() + 1000}, "Unexpected file format."},
        {"short-tail.zpf", {golden.begin(), golden.end() - 2}, "Unexpected file format."},
        {"header-only.zpf", {golden.begin(), golden.begin() + 28}, "Unexpected file format."},
        {"empty.zpf", {golden.begin(), golden.begin()}, "Unexpected file format."},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.name != "magic.zpf" && c.name != "series.zpf")
            WriteBytes(Scratch(c.name), c.bytes);
        SeriesCode = 4;
        ModelCode = 0x1157;
        CKeloServoDoc doc(&host);
        doc.OnNewDocument();
        doc.Value(DocCn, 2) = 1234;
        doc.m_Names = {"kept"};
        messages.Clear();
        EXPECT_FALSE(doc.OnOpenDocument(Scratch(c.name)));
        EXPECT_EQ(MessageTexts(), std::vector<std::string>{c.message});
        EXPECT_EQ(doc.Value(DocCn, 2), 1234);
        EXPECT_EQ(doc.m_Names, std::vector<std::string>{"kept"});
        EXPECT_EQ(SeriesCode, 4);
        EXPECT_EQ(ModelCode, 0x1157);
    }
}

TEST_F(DocumentTest, OversizedCountsAreBoundedAndTheSurplusDropped) {
    SeriesCode = 4;
    ZpfBuilder b;
    b.Text("KELO Servo Ver:0.1.260123").Int(4).Block(120, 1).Block(20, 0).Int(0).Block(20, 0);
    b.Block(150, 500); // Cn: 150 values, 99 kept
    b.Block(18, 0).Block(29, 0).Block(85, 0).Block(7, 0).Block(24, 0).Block(99, 0);
    b.Save(Scratch("big.zpf"));
    CKeloServoDoc doc(&host);
    doc.m_HnSecond[0] = 0;
    ASSERT_TRUE(doc.OnOpenDocument(Scratch("big.zpf"))) << testing::PrintToString(MessageTexts());
    EXPECT_EQ(doc.m_Un[96], 97);
    EXPECT_EQ(doc.Value(DocCn, 99), 598);
    EXPECT_EQ(doc.Value(DocTn, 1), 0);

    // A count far beyond what the file holds is a damaged file.
    ZpfBuilder huge;
    huge.Text("KELO Servo Ver:0.1.260123").Int(4).Int(0x7FFFFFFF).Int(1);
    huge.Save(Scratch("huge.zpf"));
    EXPECT_FALSE(doc.OnOpenDocument(Scratch("huge.zpf")));
    ZpfBuilder negative;
    negative.Text("KELO Servo Ver:0.1.260123").Int(4).Int(-1).Int(1);
    negative.Save(Scratch("negative.zpf"));
    EXPECT_FALSE(doc.OnOpenDocument(Scratch("negative.zpf")));
}

TEST_F(DocumentTest, NameListIsBounded) {
    SeriesCode = 4;
    MotorOf1121();
    // The list up to its count, then `count` empty names (one zero byte each) and the MAb block.
    const auto withNames = [](int count) {
        ZpfBuilder b = OlderFile("KELO Servo Ver:0.1.220101", 4, 21);
        b.Int(22).Int(23).Block(63, 24000).Block(34, 25000).Int(count);
        std::vector<unsigned char> bytes = b.Bytes();
        bytes.insert(bytes.end(), static_cast<std::size_t>(count), 0);
        ZpfBuilder mab;
        mab.Block(16, 27000);
        bytes.insert(bytes.end(), mab.Bytes().begin(), mab.Bytes().end());
        return bytes;
    };
    WriteBytes(Scratch("most.zpf"), withNames(DocNameListMax));
    WriteBytes(Scratch("more.zpf"), withNames(DocNameListMax + 1));
    CKeloServoDoc doc(&host);
    ASSERT_TRUE(doc.OnOpenDocument(Scratch("most.zpf"))) << testing::PrintToString(MessageTexts());
    EXPECT_EQ(doc.m_Names.size(), static_cast<std::size_t>(DocNameListMax));
    EXPECT_EQ(doc.Value(DocMAb, 16), 27015);

    doc.m_Names = {"kept"};
    messages.Clear();
    EXPECT_FALSE(doc.OnOpenDocument(Scratch("more.zpf")));
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{UnexpectedFormatText});
    EXPECT_EQ(doc.m_Names, std::vector<std::string>{"kept"});

    // A list grown past the bound is saved as its newest names, so the file loads again.
    doc.m_Names.clear();
    for (int i = 0; i <= DocNameListMax; ++i)
        doc.m_Names.push_back(std::to_string(i));
    ASSERT_TRUE(doc.OnSaveDocument(Scratch("grown.zpf")));
    CKeloServoDoc other(&host);
    ASSERT_TRUE(other.OnOpenDocument(Scratch("grown.zpf"))) << testing::PrintToString(MessageTexts());
    ASSERT_EQ(other.m_Names.size(), static_cast<std::size_t>(DocNameListMax));
    EXPECT_EQ(other.m_Names.front(), "1");
    EXPECT_EQ(other.m_Names.back(), std::to_string(DocNameListMax));
}

TEST_F(DocumentTest, SeriesSixDates) {
    struct Case {
        const char* stamp;
        bool opens;
    } cases[] = {{"110316", true}, {"110315", false}, {"110326", false}, {"110327", true}};
    for (const Case& c : cases) {
        SeriesCode = 6;
        OlderFile(std::string("KELO Servo Ver:0.1.") + c.stamp, 6, 27).Save(Scratch("six.zpf"));
        const DocumentOpenCheck check = CheckDocumentOpen(Scratch("six.zpf"), 6, false);
        EXPECT_EQ(check.outcome == DocumentOpenCheck::Load, c.opens) << c.stamp;
        // From the command line no date check is made.
        EXPECT_EQ(CheckDocumentOpen(Scratch("six.zpf"), 6, true).outcome, DocumentOpenCheck::Load);
    }
    EXPECT_EQ(VersionTextTailStamp("V.1234"), 0);
    EXPECT_EQ(VersionTextStamp("KELO Servo Ver:0.1.230821"), 230821);
    EXPECT_EQ(VersionTextStamp("no stamp"), 0);
}

TEST_F(DocumentTest, ForeignMagicFromTheCommandLineIsHandedOn) {
    SeriesCode = 4;
    host.documentGiven = true;
    OlderFile("ABCD Servo Ver:0.1.260123", 4, 27).Save(Scratch("foreign.zpf"));
    CKeloServoDoc doc(&host);
    doc.OnNewDocument();
    EXPECT_FALSE(doc.OnOpenDocument(Scratch("foreign.zpf")));
    EXPECT_EQ(host.starts, 1);
    EXPECT_TRUE(messages.Shown().empty());
    const std::vector<unsigned char> handOff = ReadBytes(Scratch("curfile.ini"));
    const std::string expected = "2\r\n" + Scratch("foreign.zpf");
    EXPECT_EQ(std::string(handOff.begin(), handOff.end()), expected);

    // A failed start is reported and the foreign file is still not read.
    host.startSucceeds = false;
    doc.Value(DocCn, 2) = 77;
    EXPECT_FALSE(doc.OnOpenDocument(Scratch("foreign.zpf")));
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{"process failed!"});
    EXPECT_EQ(doc.Value(DocCn, 2), 77);
}

TEST_F(DocumentTest, MissingFileUsesTheStandInAndStops) {
    SeriesCode = 4;
    CKeloServoDoc doc(&host);
    // Neither the file nor the stand-in: an error, nothing read.
    EXPECT_FALSE(doc.OnOpenDocument(Scratch("missing.zpf")));
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_NE(messages.Shown()[0].text.find("missing.zpf"), std::string::npos);

    // The stand-in of another series refuses the open as the file itself would.
    OlderFile("KELO Servo Ver:0.1.260123", 5, 27).Save(Scratch("zq2comfile.ini"));
    messages.Clear();
    EXPECT_FALSE(doc.OnOpenDocument(Scratch("missing.zpf")));
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{"Series do not match! Could not open file!"});

    // A matching stand-in passes the checks, but the missing file still cannot be read.
    OlderFile("KELO Servo Ver:0.1.260123", 4, 27).Save(Scratch("zq2comfile.ini"));
    messages.Clear();
    EXPECT_FALSE(doc.OnOpenDocument(Scratch("missing.zpf")));
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_NE(messages.Shown()[0].text.find("Cannot open"), std::string::npos);
}

TEST_F(DocumentTest, WideTextsAreRead) {
    SeriesCode = -1;
    // The version text in the wide form: 0xFF, 0xFFFE, count, UTF-16 units.
    std::vector<unsigned char> bytes = {0xFF, 0xFE, 0xFF, 4, 'K', 0, 'E', 0, 'L', 0, 'O', 0};
    ZpfBuilder rest = OlderFile("x", 4, 27);
    bytes.insert(bytes.end(), rest.Bytes().begin() + 2, rest.Bytes().end());
    WriteBytes(Scratch("wide.zpf"), bytes);
    CKeloServoDoc doc(&host);
    ASSERT_TRUE(doc.OnOpenDocument(Scratch("wide.zpf"))) << testing::PrintToString(MessageTexts());
    EXPECT_EQ(doc.m_Names, std::vector<std::string>{"first"});
    EXPECT_EQ(doc.Value(DocMAb, 1), 27000);
}

TEST_F(DocumentTest, SaveQuestionOnClose) {
    CKeloServoDoc doc(&host);
    doc.OnNewDocument();
    int asked = 0;
    const auto choose = [&](std::string answer) {
        return [&asked, answer] {
            ++asked;
            return answer;
        };
    };
    EXPECT_TRUE(doc.SaveModified("", choose("x")));
    EXPECT_TRUE(messages.Shown().empty());

    struct Case {
        int reply;
        std::string fileName, chosen;
        bool result;
        int asks;
    } cases[] = {
        {IDYES, Scratch("held.zpf"), "", true, 0},
        {IDYES, "", Scratch("chosen.zpf"), true, 1},
        {IDYES, "", "", false, 1},
        {IDYES, Scratch("no/such/folder.zpf"), "", false, 0},
        {IDNO, "", "", true, 0},
        {IDCANCEL, Scratch("held.zpf"), "", false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.reply << " " << c.fileName << " " << c.chosen);
        doc.SetModifiedFlag(true);
        messages.Clear();
        asked = 0;
        messages.Answer(c.reply);
        EXPECT_EQ(doc.SaveModified(c.fileName, choose(c.chosen)), c.result);
        EXPECT_EQ(asked, c.asks);
        ASSERT_GE(messages.Shown().size(), 1u);
        EXPECT_EQ(messages.Shown()[0].text, "The parameter content has changed, do you want to save it?");
        EXPECT_EQ(messages.Shown()[0].type, unsigned(MB_YESNOCANCEL | MB_ICONINFORMATION));
    }
    EXPECT_EQ(ReadBytes(Scratch("chosen.zpf")).size(), 3490u);
}
