#include "LogicTestSupport.h"

#include "catalogue/KeloServoDoc.h"
#include "framework/core/MessageSeam.h"
#include "paramedit/CompareArchive.h"

#include <gtest/gtest.h>

namespace {

const std::string Golden = std::string(KELO_FIXTURES) + "/compare-tiny.cmp";
const std::string DocVersion = CKeloServoDoc::VersionLiteral;

CompareGroupValues& Group(CompareResult& r, int g) {
    return r.groups[static_cast<std::size_t>(g)];
}

// The result the golden file holds (see make_compare_fixture.py).
CompareResult Tiny() {
    CompareResult r;
    r.mode = CompareTwoFiles;
    r.seriesCode = 4;
    r.file1 = "a.zpf";
    r.file2 = "b.zpf";
    Group(r, 0).differs[0] = 1, Group(r, 0).a[0] = 1, Group(r, 0).b[0] = 2;
    Group(r, 10).a[15] = -1, Group(r, 10).b[15] = 0x12345678;
    Group(r, 17).differs[16] = 1, Group(r, 17).a[16] = 5, Group(r, 17).b[16] = 6;
    return r;
}

// The archive bytes up to the first block, then blocks with the given Cn count.
ArchiveBytes ArchiveWithCnCount(int cnCount, const std::string& header = "ParaComp Kelo Servo Ver:0.1.220713",
                                int mode = 1) {
    ArchiveBytes b;
    b.Text(header).Text(DocVersion).Int(4).Int(mode).Text("---").Text("---");
    const int sizes[] = {99, 18, 29, 85, 99, 7, 24, 24, 63, 34, 16, 24, 18, 2, 69, 26, 38, 17};
    for (int g = 0; g < 18; ++g) {
        const int count = g == 0 ? cnCount : sizes[g];
        b.Int(count);
        for (int k = 0; k < count && k < 200; ++k)
            b.Byte(k == 0).Int(g * 1000 + k).Int(-(g * 1000 + k));
    }
    return b;
}

class CompareArchiveTest : public ::testing::Test {
protected:
    ScratchFolder scratch;
    ScriptedMessages messages;
    std::string path = scratch.Path("r.cmp");
};

} // namespace

TEST_F(CompareArchiveTest, WriterMatchesTheGoldenFileAndReadsBack) {
    ASSERT_TRUE(WriteCompareArchiveFile(path, Tiny(), DocVersion));
    EXPECT_EQ(ReadBytes(path), ReadBytes(Golden));
    EXPECT_EQ(ReadBytes(path).size(), 1u + 34 + 1 + 25 + 8 + 6 + 6 + 6300);

    CompareResult read;
    ASSERT_TRUE(OpenCompareArchive(Golden, read));
    EXPECT_EQ(read, Tiny());
    EXPECT_TRUE(messages.Shown().empty());
}

TEST_F(CompareArchiveTest, UnusedFileNamesAreStoredAsDashes) {
    CompareResult result = Tiny();
    for (int mode : {CompareDrive, CompareDefaults, CompareFile}) {
        result.mode = mode;
        ASSERT_TRUE(WriteCompareArchiveFile(path, result, DocVersion));
        CompareResult read;
        ASSERT_TRUE(OpenCompareArchive(path, read));
        EXPECT_EQ(read.file1, "---") << mode;
        EXPECT_EQ(read.file2, mode == CompareFile ? "b.zpf" : "---") << mode;
        EXPECT_EQ(read.groups, result.groups);
    }
}

TEST_F(CompareArchiveTest, SurplusEntriesAreDroppedAndTheNextBlockStaysInStep) {
    WriteBytes(path, ArchiveWithCnCount(120).Data());
    CompareResult read;
    ASSERT_TRUE(OpenCompareArchive(path, read)) << testing::PrintToString(messages.Shown().size());
    EXPECT_EQ(Group(read, 0).a[98], 98);
    EXPECT_EQ(Group(read, 1).a[0], 1000);
    EXPECT_EQ(Group(read, 17).b[16], -17016);
    EXPECT_EQ(read.DifferenceCount(), 18);

    WriteBytes(path, ArchiveWithCnCount(3).Data());
    ASSERT_TRUE(OpenCompareArchive(path, read));
    EXPECT_EQ(Group(read, 0).a[2], 2);
    EXPECT_EQ(Group(read, 0).a[3], 0) << "a short block leaves the rest at 0";
}

TEST_F(CompareArchiveTest, BrokenArchivesAreRefusedWithTheFormatMessage) {
    const Bytes good = ArchiveWithCnCount(99).Data();
    std::vector<Bytes> broken = {
        ArchiveWithCnCount(99, "ParaComp Other Ver:0.1").Data(),    // lacks "Kelo Servo"
        ArchiveWithCnCount(99, "KELO Servo Ver:0.1.260123").Data(), // a document, not a comparison
        ArchiveWithCnCount(-1).Data(),                              // negative count
        ArchiveWithCnCount(0x7FFFFFFF).Data(),                      // count beyond the file
        ArchiveWithCnCount(99, "ParaComp Kelo Servo Ver:0.1.220713", 9).Data(), // no such mode
        Bytes{},
        Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F}, // a header length far past the end
    };
    for (std::size_t cut :
         {std::size_t{1}, std::size_t{40}, std::size_t{80}, good.size() / 2, good.size() - 1})
        broken.emplace_back(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(cut));

    for (std::size_t i = 0; i < broken.size(); ++i) {
        WriteBytes(path, broken[i]);
        messages.Clear();
        CompareResult kept = Tiny();
        EXPECT_FALSE(OpenCompareArchive(path, kept)) << i;
        EXPECT_EQ(kept, Tiny()) << "a refused archive changes nothing: " << i;
        ASSERT_EQ(messages.Shown().size(), 1u) << i;
        EXPECT_EQ(messages.Shown()[0].text, "Error: Failed to open file! \nThe file format is incorrect! \n");
        EXPECT_EQ(messages.Shown()[0].caption, "Open");
        EXPECT_EQ(messages.Shown()[0].type, MB_OK | MB_ICONSTOP);
    }
}

TEST_F(CompareArchiveTest, MissingFileIsReportedAndLeavesTheResult) {
    CompareResult kept = Tiny();
    const std::string missing = scratch.Path("none.cmp");
    EXPECT_FALSE(OpenCompareArchive(missing, kept));
    EXPECT_EQ(kept, Tiny());
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_EQ(messages.Shown()[0].text, "Cannot open the file \"" + missing + "\".");
}

namespace {

// Titles as "T<id>"; the column headers have no entry, so their English texts are used.
std::string Loader(int id) {
    return id >= 61447 && id <= 61894 ? std::string() : "T" + std::to_string(id);
}

} // namespace

TEST(CompareCsv, HeadersByMode) {
    CompareResult r = Tiny();
    const struct {
        int mode;
        const char* left;
        const char* right;
    } cases[] = {{CompareDrive, "Edit Value", "Read Value"},
                 {CompareDefaults, "Edit Value", "Default"},
                 {CompareFile, "Edit Value", "b.zpf"},
                 {CompareTwoFiles, "a.zpf", "b.zpf"}};
    for (const auto& c : cases) {
        r.mode = c.mode;
        EXPECT_EQ(CompareColumnHeader(r, 2, Loader), c.left) << c.mode;
        EXPECT_EQ(CompareColumnHeader(r, 3, Loader), c.right) << c.mode;
    }
    EXPECT_EQ(CompareColumnHeader(r, 2, [](int) { return std::string("Mine"); }), "a.zpf");
    r.mode = CompareDrive;
    EXPECT_EQ(CompareColumnHeader(r, 2, [](int) { return std::string("Mine"); }), "Mine");
}

TEST(CompareCsv, TextFormIsByteExact) {
    ScratchFolder scratch;
    CompareResult r = Tiny();
    r.mode = CompareDrive;
    const std::string expected = "ParaComp Kelo Servo Ver:0.1.220713\n"
                                 "Code,Parameter Name,Edit Value,Read Value,\n"
                                 "Cn001," +
                                 ParamTitle("Cn001", Loader) + "," + FormatParamValue("Cn001", 1, Series4()) +
                                 "," + FormatParamValue("Cn001", 2, Series4()) +
                                 ",\n"
                                 "onE17," +
                                 ParamTitle("onE17", Loader) + ",5,6,\n";
    ASSERT_FALSE(ParamTitle("Cn001", Loader).empty());

    for (const char* name : {"r.csv", "r.CSV", "r.Csv"}) {
        std::string error;
        ASSERT_TRUE(SaveCompareResult(scratch.Path(name), r, DocVersion, Series4(), Loader, &error)) << error;
        EXPECT_EQ(ReadText(scratch.Path(name)), expected) << name;
    }
    for (const char* name : {"r.cmp", "r", "r.txt"}) {
        ASSERT_TRUE(SaveCompareResult(scratch.Path(name), r, DocVersion, Series4(), Loader));
        EXPECT_EQ(ReadBytes(scratch.Path(name)).size(), 6381u - 10 + 6) << name << " is an archive";
    }

    CompareResult none; // nothing flagged: just the two header lines
    EXPECT_EQ(CompareCsvText(none, Series4(), Loader),
              "ParaComp Kelo Servo Ver:0.1.220713\nCode,Parameter Name,Edit Value,Read Value,\n");

    EXPECT_FALSE(SaveCompareResult(scratch.Path("no/such/folder.csv"), r, DocVersion, Series4(), Loader));
}
