#include "LogicTestSupport.h"

#include "catalogue/DocumentGlobals.h"
#include "catalogue/KeloServoDoc.h"
#include "catalogue/ParamAttributes.h"
#include "paramedit/CompareResult.h"

#include <gtest/gtest.h>

namespace {

const std::string Golden = std::string(KELO_FIXTURES) + "/document-current.zpf";

// Position of a code in a result: group and element.
std::pair<int, int> Where(const std::string& code) {
    const int index = ParamIndexFromCode(code);
    for (int g = 0; g < CompareGroupCount; ++g)
        if (ParamGroupOfIndex(index) == WholeTablePass[static_cast<std::size_t>(g)])
            return {g, index % 100 - 1};
    ADD_FAILURE() << code;
    return {0, 0};
}

bool Flagged(const CompareResult& r, const std::string& code) {
    const auto [g, k] = Where(code);
    return r.groups[static_cast<std::size_t>(g)].differs[static_cast<std::size_t>(k)] != 0;
}

int ValueA(const CompareResult& r, const std::string& code) {
    const auto [g, k] = Where(code);
    return r.groups[static_cast<std::size_t>(g)].a[static_cast<std::size_t>(k)];
}

int ValueB(const CompareResult& r, const std::string& code) {
    const auto [g, k] = Where(code);
    return r.groups[static_cast<std::size_t>(g)].b[static_cast<std::size_t>(k)];
}

// The first classic parameter that series 4 does not have.
std::string CodeOutsideSeries() {
    for (int g = 0; g < CompareClassicGroupCount; ++g)
        for (int k = 0; k < CompareGroupSize(g); ++k) {
            const std::string code = ParamCodeFromIndex(CompareIndex(g, k));
            if (!ParamInSeries(code, Series4()))
                return code;
        }
    return {};
}

class CompareTest : public ::testing::Test {
protected:
    void SetUp() override {
        SeriesCode = 4;
        ClearDocument(doc);
    }
    int& Value(const std::string& code) { return *doc.FindValue(code); }
    int& Default(const std::string& code) { return *doc.FindDefault(code); }
    CKeloServoDoc doc; // every value and default 0 (SetUp)
};

} // namespace

TEST(CompareTables, GroupsAndDriveSlots) {
    int total = 0;
    for (int g = 0; g < CompareGroupCount; ++g)
        total += CompareGroupSize(g);
    EXPECT_EQ(total, 692);
    EXPECT_EQ(DriveCompareSlotCount(false), 498);
    EXPECT_EQ(DriveCompareSlotCount(true), 657);

    struct Case {
        int slot;
        const char* code;
        char letter;
        int number;
        int index;
    };
    for (const Case& c :
         {Case{0, "Cn001", 'C', 1, 1}, Case{98, "Cn099", 'C', 99, 99}, Case{99, "Tn101", 'T', 1, 101},
          Case{231, "Pn401", 'P', 1, 401}, Case{337, "Hn601", 'H', 1, 601}, Case{448, "EC901", 'E', 1, 901},
          Case{497, "MAb16", 'M', 16, 2116}, Case{498, "onT01", 'o', 1, 1301},
          Case{522, "onS01", 'o', 25, 1401}, Case{540, "ond01", 'o', 43, 1501},
          Case{542, "onC01", 'o', 45, 1601}, Case{611, "ono01", 'o', 114, 1701},
          Case{637, "onA01", 'o', 140, 1801}, Case{654, "onE01", 'o', 157, 1901},
          Case{656, "onE03", 'o', 159, 1903}}) {
        const DriveCompareSlot slot = DriveCompareSlotAt(c.slot);
        EXPECT_EQ(slot.code, c.code) << c.slot;
        EXPECT_EQ(slot.letter, c.letter) << c.slot;
        EXPECT_EQ(slot.number, c.number) << c.slot;
        EXPECT_EQ(slot.index, c.index) << c.slot;
    }
    EXPECT_TRUE(DriveCompareSlotAt(657).code.empty());
    EXPECT_TRUE(DriveCompareSlotAt(-1).code.empty());
}

TEST_F(CompareTest, DefaultsFlagOnlyParametersOfTheSeriesAndGroupsThatCount) {
    const std::string outside = CodeOutsideSeries();
    ASSERT_FALSE(outside.empty());
    for (const char* code : {"Cn005", "Tn102", "onC10", "ono05", "onA02", "onE01"})
        ASSERT_TRUE(ParamInSeries(code, Series4())) << code;
    Value("Cn005") = 7;
    Default("Tn102") = -3;
    Value(outside) = 9;
    Value("onC10") = 4;
    Value("ono05") = 5;
    Value("onA02") = 6;
    Value("onE01") = 1;

    const CompareResult plain = CompareWithDefaults(doc, Series4(), false);
    EXPECT_EQ(plain.mode, CompareDefaults);
    EXPECT_EQ(plain.seriesCode, 4);
    EXPECT_EQ(plain.DifferenceCount(), 2);
    EXPECT_TRUE(Flagged(plain, "Cn005"));
    EXPECT_TRUE(Flagged(plain, "Tn102"));
    EXPECT_EQ(ValueA(plain, "Cn005"), 7);
    EXPECT_EQ(ValueB(plain, "Tn102"), -3);
    EXPECT_FALSE(Flagged(plain, outside));
    EXPECT_EQ(ValueA(plain, outside), 9) << "values of other series are still carried";
    EXPECT_EQ(ValueA(plain, "onC10"), 0) << "newer groups are carried only in Project Mode";

    const CompareResult project = CompareWithDefaults(doc, Series4(), true);
    EXPECT_EQ(project.DifferenceCount(), 3);
    EXPECT_TRUE(Flagged(project, "onC10"));
    for (const char* code : {"ono05", "onA02", "onE01"}) {
        EXPECT_FALSE(Flagged(project, code)) << code;
        EXPECT_NE(ValueA(project, code), 0) << code;
    }
}

TEST_F(CompareTest, EqualDocumentGivesNoDifference) {
    Value("Cn005") = Default("Cn005") = 12;
    EXPECT_EQ(CompareWithDefaults(doc, Series4(), true).DifferenceCount(), 0);
}

TEST_F(CompareTest, FileValuesComeFromTheDocumentFile) {
    DocumentValueSet file;
    ASSERT_TRUE(ReadDocumentValues(Golden, file));
    // The fixture holds row * 1000 + position, every seventh value negative; Cn is row 7, MAb row 27.
    const auto fixture = [](int row, int i) { return (i % 7 == 6 ? -1 : 1) * (row * 1000 + i); };
    EXPECT_EQ(file.values[0][0], fixture(7, 0));
    EXPECT_EQ(file.values[0][98], fixture(7, 98));
    EXPECT_EQ(file.values[4][6], fixture(13, 6)) << "Pn4 is the 7th block of the file";
    EXPECT_EQ(file.values[5][2], fixture(11, 2)) << "qn";
    EXPECT_EQ(file.values[8][62], fixture(24, 62)) << "tn";
    EXPECT_EQ(file.values[10][15], fixture(27, 15)) << "MAb after the name list";
    EXPECT_EQ(file.values[17][16], fixture(21, 16)) << "onE";

    Value("Cn001") = fixture(7, 0);
    const CompareResult withFile = CompareWithFile(doc, file, "a.zpf", Series4(), false);
    EXPECT_EQ(withFile.mode, CompareFile);
    EXPECT_EQ(withFile.file2, "a.zpf");
    EXPECT_TRUE(withFile.file1.empty());
    EXPECT_FALSE(Flagged(withFile, "Cn001"));
    EXPECT_TRUE(Flagged(withFile, "Cn002"));
    EXPECT_EQ(ValueB(withFile, "Cn002"), fixture(7, 1));

    DocumentValueSet second = file;
    second.values[1][0] += 1; // Tn101
    const CompareResult files = CompareFiles(file, "one.zpf", second, "two.zpf", Series4(), false);
    EXPECT_EQ(files.mode, CompareTwoFiles);
    EXPECT_EQ(files.file1, "one.zpf");
    EXPECT_EQ(files.file2, "two.zpf");
    EXPECT_EQ(files.DifferenceCount(), 1);
    EXPECT_TRUE(Flagged(files, "Tn101"));
}

namespace {

// A document file with the Cn block given explicitly and every other block of its group's size.
// At most 120 Cn values are written, whatever the count claims.
ArchiveBytes DocumentBytes(int cnCount) {
    ArchiveBytes b;
    b.Text("KELO Servo Ver:0.1.260123").Int(4).Block(97, 0).Block(20, 0).Int(5).Block(20, 0);
    b.Int(cnCount);
    for (int i = 0; i < cnCount && i < 120; ++i)
        b.Int(100 + i);
    for (int size : {18, 29, 85, 7, 24, 99, 24, 24, 18, 2, 69, 26, 38, 17})
        b.Block(size, 1);
    b.Int(1).Int(2).Block(63, 1).Block(34, 1).Int(2).Text("a").Text("b").Block(16, 500);
    return b;
}

} // namespace

TEST(DocumentValues, SurplusIsDroppedAndBrokenFilesAreRefused) {
    ScratchFolder scratch;
    const std::string path = scratch.Path("f.zpf");

    WriteBytes(path, DocumentBytes(120).Data());
    DocumentValueSet set;
    ASSERT_TRUE(ReadDocumentValues(path, set));
    EXPECT_EQ(set.values[0][98], 100 + 98);
    EXPECT_EQ(set.values[1][0], 1) << "the block after the surplus is read where it starts";
    EXPECT_EQ(set.values[10][0], 500);

    WriteBytes(path, DocumentBytes(50).Data());
    ASSERT_TRUE(ReadDocumentValues(path, set));
    EXPECT_EQ(set.values[0][49], 149);
    EXPECT_EQ(set.values[0][50], 0) << "a short block leaves the rest at 0";

    const Bytes good = DocumentBytes(99).Data();
    DocumentValueSet kept;
    kept.values[0][0] = 4242;
    for (std::size_t cut : {std::size_t{0}, std::size_t{10}, std::size_t{600}, good.size() - 1}) {
        WriteBytes(path, Bytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(cut)));
        std::string error;
        EXPECT_FALSE(ReadDocumentValues(path, kept, &error)) << cut;
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(kept.values[0][0], 4242) << "a refused file changes nothing";
    }

    for (int count : {-1, 0x7FFFFFFF}) {
        WriteBytes(path, DocumentBytes(count).Data());
        EXPECT_FALSE(ReadDocumentValues(path, kept)) << count;
    }
    EXPECT_FALSE(ReadDocumentValues(scratch.Path("missing.zpf"), kept));
}

TEST_F(CompareTest, DriveWalkDecisions) {
    const std::string outside = CodeOutsideSeries();
    Value("Cn008") = 0x14;
    Value("Cn010") = 300;
    Value("onC10") = 1;
    Default("onC10") = 2;
    Value("ono05") = 5;

    DriveComparison drive(doc, Series4(), true);
    const auto slotOf = [](const std::string& code) {
        for (int s = 0; s < DriveCompareSlotCount(true); ++s)
            if (DriveCompareSlotAt(s).code == code)
                return s;
        return -1;
    };
    int outsideSlot = slotOf(outside);
    ASSERT_GE(outsideSlot, 0);
    EXPECT_FALSE(drive.IsRead(outsideSlot));
    EXPECT_TRUE(drive.Take(outsideSlot, 1234, true)) << "a slot the series lacks is passed over";

    EXPECT_TRUE(drive.Take(slotOf("Cn008"), 0x16, true));
    EXPECT_TRUE(drive.Take(slotOf("Cn010"), 301, true));
    EXPECT_TRUE(drive.Take(slotOf("onC10"), std::nullopt, true)) << "a newer-model read falls back";
    EXPECT_TRUE(drive.Take(slotOf("ono05"), 6, true));
    EXPECT_FALSE(drive.Take(slotOf("Cn011"), std::nullopt, true)) << "a classic read failure ends the run";

    const CompareResult result = drive.Finish();
    EXPECT_EQ(result.mode, CompareDrive);
    EXPECT_FALSE(Flagged(result, "Cn008")) << "0x16 read through one word is 0x14";
    EXPECT_TRUE(Flagged(result, "Cn010"));
    EXPECT_EQ(ValueB(result, "onC10"), 2);
    EXPECT_TRUE(Flagged(result, "onC10"));
    EXPECT_FALSE(Flagged(result, "ono05"));
    EXPECT_EQ(ValueB(result, "ono05"), 6);
    EXPECT_FALSE(Flagged(result, outside));
    EXPECT_FALSE(Flagged(result, "Cn020")) << "slots never read are never flagged";
    EXPECT_EQ(result.DifferenceCount(), 2);

    DriveComparison wide(doc, Series4(), false);
    EXPECT_TRUE(wide.Take(slotOf("Cn008"), 0x16, false));
    EXPECT_TRUE(Flagged(wide.Finish(), "Cn008")) << "the fix-up applies only to a single-word read";
    EXPECT_EQ(ValueA(wide.Finish(), "ono05"), 0) << "without Project Mode the newer groups stay 0";
}
