#include "shell/UnSelectionFile.h"

#include "framework/core/Format.h"
#include "framework/core/MessageSeam.h"
#include "tests/shell/ShellTestSupport.h"
#include "tests/shell/monitor/MonitorTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace {

UnCodes Numbered() {
    UnCodes codes;
    for (int i = 0; i < UnRowCount; ++i)
        codes[i] = Format("Un-%02d", i + 1);
    return codes;
}

class UnSelectionFileTest : public ::testing::Test {
protected:
    ScratchFolder dir;
    ScriptedMessages messages;
};

TEST_F(UnSelectionFileTest, WritesHeaderAndTwentyCodesWithLineFeeds) {
    UnCodes codes = Numbered();
    codes[3] = "onU05";
    codes[19] = "";
    ASSERT_EQ(WriteUnSelectionFile(dir / "set.UNP", codes), UnFileResult::Done);
    std::string expected = "Un_ParaSet File Ver:0.1.231108\n";
    for (int i = 0; i < UnRowCount; ++i)
        expected += (i == 3    ? std::string("onU05")
                     : i == 19 ? std::string()
                               : Format("Un-%02d", i + 1)) +
                    "\n";
    EXPECT_EQ(ReadAll(dir / "set.UNP"), expected);

    UnCodes back{};
    EXPECT_EQ(ReadUnSelectionFile(dir / "set.UNP", back), UnFileResult::Done);
    EXPECT_EQ(back[3], "onU05");
    EXPECT_EQ(back[19], ""); // the empty line leaves the slot as it was
    EXPECT_TRUE(messages.Shown().empty());
}

TEST_F(UnSelectionFileTest, ASaveUnderAnotherExtensionTouchesNothing) {
    WriteAll(dir / "notes.txt", "keep me");
    EXPECT_EQ(WriteUnSelectionFile(dir / "notes.txt", Numbered()), UnFileResult::Refused);
    EXPECT_EQ(ReadAll(dir / "notes.txt"), "keep me");
    EXPECT_FALSE(std::filesystem::exists(dir / "notes.txt.unp"));
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_EQ(messages.Shown()[0].text, "The file name must end in .unp.\nNothing was saved.");

    // A name without an extension gets the default one.
    EXPECT_EQ(WriteUnSelectionFile(dir / "plain", Numbered()), UnFileResult::Done);
    EXPECT_TRUE(std::filesystem::exists(dir / "plain.unp"));
    EXPECT_FALSE(std::filesystem::exists(dir / "plain"));
}

TEST_F(UnSelectionFileTest, LinesFillOnlyTheSlotsTheyName) {
    struct Case {
        const char* name;
        std::vector<std::string> lines;
        bool accepted;
        std::vector<std::pair<int, std::string>> slots; // expected slots that differ from Numbered()
    };
    const Case cases[] = {
        {"third line too short",
         {"x Un_ParaSet y", "Un-50", "Un-5", "Un-52"},
         true,
         {{0, "Un-50"}, {2, "Un-52"}}},
        {"onU and wrong forms",
         {"Un_ParaSet", "onU07", "un-07", "Un-070", "dn-07", ""},
         true,
         {{0, "onU07"}}},
        {"control characters",
         {"Un_ParaSet", "Un-1\r", "Un\t01",
          "onU\x7f"
          "1",
          std::string("Un-1\0", 5), "Un-05"},
         true,
         {{4, "Un-05"}}},
        {"header only", {"Un_ParaSet File Ver:9"}, true, {}},
        {"wrong header", {"Un_Para Set", "Un-50"}, false, {}},
        {"empty file", {}, false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UnCodes codes = Numbered();
        EXPECT_EQ(ApplyUnSelectionLines(c.lines, codes), c.accepted);
        UnCodes expected = Numbered();
        for (const auto& [slot, code] : c.slots)
            expected[slot] = code;
        EXPECT_EQ(codes, expected);
    }
    // Lines after the twentieth code are not read.
    std::vector<std::string> longFile{"Un_ParaSet"};
    for (int i = 0; i < 30; ++i)
        longFile.push_back("Un-77");
    UnCodes codes = Numbered();
    ASSERT_TRUE(ApplyUnSelectionLines(longFile, codes));
    EXPECT_EQ(codes[19], "Un-77");
}

// What a read takes in, a write gives back and a second read takes in the same.
TEST_F(UnSelectionFileTest, AFileSurvivesAWriteAndARead) {
    WriteAll(dir / "in.unp", "Un_ParaSet\nUn-1\r\r\nonU\x0b"
                             "2\nUn-03\r\nUn-04\n");
    UnCodes first = Numbered();
    ASSERT_EQ(ReadUnSelectionFile(dir / "in.unp", first), UnFileResult::Done);
    EXPECT_EQ(first[0], "Un-01");
    EXPECT_EQ(first[1], "Un-02");
    EXPECT_EQ(first[2], "Un-03");
    ASSERT_EQ(WriteUnSelectionFile(dir / "out.unp", first), UnFileResult::Done);
    UnCodes second{};
    ASSERT_EQ(ReadUnSelectionFile(dir / "out.unp", second), UnFileResult::Done);
    EXPECT_EQ(second, first);
}

TEST_F(UnSelectionFileTest, MalformedFilesAreRefusedWithTheirMessage) {
    const std::string path = dir / "bad.unp";
    struct Case {
        const char* name;
        std::string bytes;
    };
    const Case cases[] = {
        {"wrong header", "Un Para Set\nUn-50\n"},
        {"empty", ""},
        {"binary", std::string("\x00\x01\xff\xfe", 4) + std::string(300, '\x00')},
        {"endless header line", "Un_ParaSet" + std::string(200000, 'x') + "\nUn-50\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteAll(path, c.bytes);
        messages.Clear();
        UnCodes codes = Numbered();
        EXPECT_EQ(ReadUnSelectionFile(path, codes), UnFileResult::Refused);
        EXPECT_EQ(codes, Numbered());
        ASSERT_EQ(messages.Shown().size(), 1u);
        EXPECT_EQ(messages.Shown()[0].text, "Error: Failed to open file! \nThe file format is incorrect! \n");
        EXPECT_EQ(messages.Shown()[0].caption, "Open");
        EXPECT_EQ(messages.Shown()[0].type, MB_OK | MB_ICONSTOP);
    }

    // A file that does not end in .unp is ignored without a word; a missing one is told.
    WriteAll(dir / "set.txt", "Un_ParaSet\nUn-50\n");
    messages.Clear();
    UnCodes codes = Numbered();
    EXPECT_EQ(ReadUnSelectionFile(dir / "set.txt", codes), UnFileResult::Ignored);
    EXPECT_EQ(ReadUnSelectionFile(dir / "gone.unp", codes), UnFileResult::Refused);
    EXPECT_EQ(codes, Numbered());
    EXPECT_EQ(messages.Shown().size(), 1u);
}

TEST_F(UnSelectionFileTest, ReadsFilesWithCarriageReturns) {
    WriteAll(dir / "dos.unp", "Un_ParaSet File Ver:0.1.231108\r\nUn-40\r\nonU02\r\n");
    UnCodes codes = Numbered();
    ASSERT_EQ(ReadUnSelectionFile(dir / "dos.unp", codes), UnFileResult::Done);
    EXPECT_EQ(codes[0], "Un-40");
    EXPECT_EQ(codes[1], "onU02");
    EXPECT_EQ(codes[2], "Un-03");
}

TEST_F(UnSelectionFileTest, CodesFindTheirComboItemOrFallBackToTheRow) {
    const std::vector<std::string> items{"Un-01", "Un-02", "Un-03", "Un-05", "onU01"};
    UnCodes codes = Numbered();
    codes[0] = "Un-05";
    codes[1] = "onU01";
    codes[2] = "Un-04"; // not offered in this series
    codes[3] = "";
    const auto choices = MatchUnSelection(items, codes);
    EXPECT_EQ(choices[0], (UnRowChoice{3, false}));
    EXPECT_EQ(choices[1], (UnRowChoice{4, false}));
    EXPECT_EQ(choices[2], (UnRowChoice{2, true}));
    EXPECT_EQ(choices[3], (UnRowChoice{3, true}));
    EXPECT_EQ(choices[19], (UnRowChoice{19, true}));
}

TEST_F(UnSelectionFileTest, ComboOffersOnUCodesOnlyInProjectMode) {
    CatalogueContext context;
    context.seriesCode = 4;
    const std::vector<std::string> normal = UnListComboCodes(context);
    ASSERT_FALSE(normal.empty());
    EXPECT_EQ(normal.front(), "Un-01");
    EXPECT_TRUE(std::none_of(normal.begin(), normal.end(),
                             [](const std::string& c) { return c.starts_with("onU"); }));
    context.debugMode = true;
    const std::vector<std::string> debug = UnListComboCodes(context);
    EXPECT_GT(debug.size(), normal.size());
    EXPECT_TRUE(std::equal(normal.begin(), normal.end(), debug.begin()));
    EXPECT_TRUE(debug.back().starts_with("onU"));
}

TEST_F(UnSelectionFileTest, CsvExportIsByteExact) {
    std::array<UnCsvRow, UnRowCount> rows;
    for (int i = 0; i < UnRowCount; ++i)
        rows[i] = {Format("Un-%02d", i + 1), "", "", ""};
    rows[0] = {"Un-01", "  Actual Motor Speed", "1500", " rpm"};
    rows[1] = {"Un-09", "   Load Rate", "12.34", " %"};
    ASSERT_EQ(WriteUnCsvFile(dir / "data.csv", rows), UnFileResult::Done);
    std::string expected = "Un-XX Status Display Parameter Ver:0.1.231108\n"
                           "Code,Parameter Name,Display Value,Unit,\n"
                           "Un-01,Actual Motor Speed,1500, rpm,\n"
                           "Un-09,Load Rate,12.34, %,\n";
    for (int i = 2; i < UnRowCount; ++i)
        expected += Format("Un-%02d,,,,\n", i + 1);
    EXPECT_EQ(ReadAll(dir / "data.csv"), expected);

    WriteAll(dir / "data.unp", "keep");
    EXPECT_EQ(WriteUnCsvFile(dir / "data.unp", rows), UnFileResult::Refused);
    EXPECT_EQ(ReadAll(dir / "data.unp"), "keep");
}

} // namespace
