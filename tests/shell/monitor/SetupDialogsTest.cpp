#include "shell/SetupDialogs.h"
#include "shell/RamWordsCsv.h"
#include "shell/ShellGlobals.h"

#include "framework/core/Format.h"
#include "framework/core/MessageSeam.h"
#include "tests/shell/ShellTestSupport.h"
#include "tests/shell/monitor/MonitorTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace {

TEST(ProjectMode, AcceptsOnlyTheBrandsCodeExactly) {
    struct Case {
        int brand;
        const char* typed;
        bool accepted;
    };
    const Case cases[] = {
        {BrandNormal, "QUARVELM", true}, {BrandNormal, "QUARVELm", false}, {BrandNormal, "QUARVELM ", false},
        {BrandNormal, "ZENTOB", false},  {BrandNormal, "", false},         {BrandOem, "ZENTOB", true},
        {BrandOem, "QUARVELM", false},   {BrandOem, "zentob", false},      {BrandOem, "ZENTOBX", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.typed) + " brand " + std::to_string(c.brand));
        const ProjectModeAnswer answer = CheckProjectModeCode(c.typed, c.brand);
        EXPECT_EQ(answer.debugModeFlag, c.accepted ? 1 : 0);
        EXPECT_EQ(answer.message, c.accepted ? "Enter Debug Mode!" : "Security Code Error!");
    }
}

TEST(StatusbarSet, ChoicesFollowThePaneKinds) {
    EXPECT_STREQ(StatusbarChoiceNames[0], "Servo Status");
    EXPECT_STREQ(StatusbarChoiceNames[6], "Alarm Message");
    EXPECT_STREQ(StatusbarChoiceNames[10], "Motor Type");
    EXPECT_EQ(StatusbarChoiceIndex(10), 10);
    EXPECT_EQ(StatusbarChoiceIndex(11), -1); // a pane left alone shows no choice
    EXPECT_EQ(StatusbarChoiceIndex(-3), -1);
}

class RamWordsCsvTest : public ::testing::Test {
protected:
    static RamValues Sample() {
        RamValues values{};
        for (int k = 0; k < RamPairCount; ++k)
            values[k] = k * 65537 - 1000;
        values[1] = -1;
        values[2] = INT32_MIN;
        values[3] = INT32_MAX;
        return values;
    }
    ScratchFolder dir;
    ScriptedMessages messages;
};

TEST_F(RamWordsCsvTest, WritesAddressAndSignedValueAndReadsThemBack) {
    const RamValues values = Sample();
    ASSERT_EQ(WriteRamWordsFile(dir / "ram.csv", values), UserFileResult::Done);
    const std::string text = ReadAll(dir / "ram.csv");
    EXPECT_TRUE(text.starts_with("6000,-1000\n6002,-1\n6004,-2147483648\n6006,2147483647\n6008,"));
    EXPECT_TRUE(text.ends_with(Format("67D2,%d\n", 1001 * 65537 - 1000)));
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), RamPairCount);

    UserFileResult result = UserFileResult::Refused;
    const std::optional<RamValues> back = ReadRamWordsFile(dir / "ram.csv", &result);
    EXPECT_EQ(result, UserFileResult::Done);
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, values);
    EXPECT_TRUE(messages.Shown().empty());
}

TEST_F(RamWordsCsvTest, PairsSplitIntoHighAndLowWords) {
    EXPECT_EQ(RamHighWord(-1), 0xFFFF);
    EXPECT_EQ(RamLowWord(-1), 0xFFFF);
    EXPECT_EQ(RamHighWord(0x12345678), 0x1234);
    EXPECT_EQ(RamLowWord(0x12345678), 0x5678);
    EXPECT_EQ(RamPairValue(0xFFFF, 0xFFFE), -2);
    EXPECT_EQ(RamPairAddress(1), 0x6002);
    EXPECT_EQ(RamPairAddress(1001), 0x67D2);
}

TEST_F(RamWordsCsvTest, ShortOrDamagedFilesAreRefusedWhole) {
    std::vector<std::string> good;
    for (int k = 0; k < RamPairCount; ++k)
        good.push_back(Format("%04X,%d", RamPairAddress(k), k));
    ASSERT_TRUE(ParseRamWordsCsv(good).values);

    struct Case {
        const char* name;
        int line;
        std::string text; // replaces that line; "<cut>" ends the file before it
        const char* why;
    };
    const Case cases[] = {
        {"ten lines", 10, "<cut>", "Line 11: missing (the file has 10 of 1002 lines)."},
        {"one line short", 1001, "<cut>", "Line 1002: missing"},
        {"no comma", 5, "600A", "Line 6: address 600A expected."},
        {"wrong address", 7, "6000,1", "Line 8: address 600E expected."},
        {"no number", 3, "6006,", "Line 4: no signed 32-bit value"},
        {"junk after number", 3, "6006,12abc", "Line 4: no signed 32-bit value"},
        {"too large", 0, "6000,4294967295", "Line 1: no signed 32-bit value"},
        {"empty line", 2, "", "Line 3: address 6004 expected."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> lines = good;
        if (c.text == "<cut>")
            lines.resize(c.line);
        else
            lines[c.line] = c.text;
        const RamCsvParse parse = ParseRamWordsCsv(lines);
        EXPECT_FALSE(parse.values);
        EXPECT_NE(parse.error.find(c.why), std::string::npos) << parse.error;
        EXPECT_NE(parse.error.find("Nothing was written"), std::string::npos);
    }

    // Lower-case hex, blanks round the value and lines after the 1002nd are accepted.
    std::vector<std::string> relaxed = good;
    relaxed[1] = "6002, -1 ";
    relaxed[0x7D2 / 2] = "67d2,5";
    relaxed.push_back("trailing words");
    const RamCsvParse parse = ParseRamWordsCsv(relaxed);
    ASSERT_TRUE(parse.values) << parse.error;
    EXPECT_EQ((*parse.values)[1], -1);
    EXPECT_EQ((*parse.values)[1001], 5);
}

TEST_F(RamWordsCsvTest, FilesAreCheckedBeforeAnythingIsCreatedOrWritten) {
    // A short file gives no values at all and says why.
    WriteAll(dir / "short.csv", "6000,1\n6002,-1\n");
    UserFileResult result = UserFileResult::Done;
    EXPECT_FALSE(ReadRamWordsFile(dir / "short.csv", &result));
    EXPECT_EQ(result, UserFileResult::Refused);
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_EQ(messages.Shown()[0].caption, "Open");
    EXPECT_NE(messages.Shown()[0].text.find("Line 3: missing"), std::string::npos);

    // Another extension is ignored on open and refused on save, leaving the file as it was.
    messages.Clear();
    WriteAll(dir / "ram.dat", "precious");
    EXPECT_FALSE(ReadRamWordsFile(dir / "ram.dat", &result));
    EXPECT_EQ(result, UserFileResult::Ignored);
    EXPECT_EQ(WriteRamWordsFile(dir / "ram.dat", Sample()), UserFileResult::Refused);
    EXPECT_EQ(ReadAll(dir / "ram.dat"), "precious");
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_EQ(messages.Shown()[0].text, "The file name must end in .csv.\nNothing was saved.");

    // A file far too large to be a RAM file is refused even when it starts well.
    std::string big = RamWordsCsvText(Sample());
    big.pop_back();
    big += std::string(300 * 1024, '7');
    WriteAll(dir / "big.csv", big);
    EXPECT_FALSE(ReadRamWordsFile(dir / "big.csv", &result));
    EXPECT_EQ(result, UserFileResult::Refused);
}

} // namespace
