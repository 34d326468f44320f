#include "LogicTestSupport.h"

#include "framework/core/MessageSeam.h"
#include "paramedit/CompareArchive.h"
#include "paramedit/CompareSelection.h"

#include <gtest/gtest.h>

namespace {

const std::string GoldenDocument = std::string(KELO_FIXTURES) + "/document-current.zpf"; // series 4
const std::string GoldenCompare = std::string(KELO_FIXTURES) + "/compare-tiny.cmp";

CompareChoices Filled(int mode) {
    return {mode, "/d/f.zpf", "f.zpf", "/d/1.zpf", "1.zpf", "/d/2.zpf", "2.zpf"};
}

} // namespace

TEST(CompareChoicesTest, OkKeepsOnlyTheTextsOfTheChosenMode) {
    struct Case {
        int mode;
        CompareChoices expected;
    };
    const Case cases[] = {
        {CompareDrive, {CompareDrive, "", "", "", "", "", ""}},
        {CompareDefaults, {CompareDefaults, "", "", "", "", "", ""}},
        {CompareFile, {CompareFile, "/d/f.zpf", "f.zpf", "", "", "", ""}},
        {CompareTwoFiles, {CompareTwoFiles, "", "", "/d/1.zpf", "1.zpf", "/d/2.zpf", "2.zpf"}},
    };
    for (const Case& c : cases) {
        CompareChoices remembered = Filled(CompareDrive);
        remembered.filePath = "old";
        remembered.file2Name = "old";
        AcceptCompareChoices(remembered, Filled(c.mode));
        EXPECT_EQ(remembered, c.expected) << c.mode;
    }
    CompareChoices remembered = Filled(CompareFile);
    AcceptCompareChoices(remembered, CompareChoices{7, "x", "x", "x", "x", "x", "x"});
    EXPECT_EQ(remembered.mode, 7);
    EXPECT_EQ(remembered.filePath, "/d/f.zpf") << "an unknown mode changes no text";
}

TEST(CompareChoicesTest, DialogStateFollowsLinkAndMode) {
    EXPECT_EQ(InitialCompareMode(CompareDrive, false), CompareDefaults);
    EXPECT_EQ(InitialCompareMode(CompareDrive, true), CompareDrive);
    EXPECT_EQ(InitialCompareMode(CompareTwoFiles, false), CompareTwoFiles);
    const CompareSelectionControls offlineFile = CompareSelectionState(CompareFile, false);
    EXPECT_FALSE(offlineFile.driveMode);
    EXPECT_TRUE(offlineFile.file);
    EXPECT_FALSE(offlineFile.file1);
    const CompareSelectionControls two = CompareSelectionState(CompareTwoFiles, true);
    EXPECT_TRUE(two.driveMode && two.file1 && two.file2 && !two.file);
    EXPECT_EQ(BareFileName("/a/b/c.zpf"), "c.zpf");
    EXPECT_EQ(BareFileName("c.zpf"), "c.zpf");
}

TEST(CompareDocumentCheck, RefusalsAreShownWithTheirMessage) {
    ScratchFolder scratch;
    ScriptedMessages messages;
    EXPECT_TRUE(CheckComparisonDocument(GoldenDocument, 4));
    EXPECT_TRUE(messages.Shown().empty());

    const std::string shortFile = scratch.Path("short.zpf");
    WriteBytes(shortFile, ArchiveBytes().Text("KELO Servo Ver:0.1.260123").Data()); // no series
    const std::string other = scratch.Path("other.zpf");
    WriteBytes(other, ArchiveBytes().Text("OTHR Servo Ver:0.1.260123").Int(4).Data());
    struct Case {
        std::string path;
        int series;
        const char* text;
    };
    const Case cases[] = {
        {GoldenDocument, 5, "Series do not match! Could not open file!"},
        {GoldenCompare, 4, CompareFileFormatText}, // a comparison archive
        {other, 4, CompareFileFormatText},
        {shortFile, 4, CompareFileFormatText},
        {scratch.Path("missing.zpf"), 4, CompareFileFormatText},
    };
    for (const Case& c : cases) {
        messages.Clear();
        EXPECT_FALSE(CheckComparisonDocument(c.path, c.series)) << c.path;
        ASSERT_EQ(messages.Shown().size(), 1u) << c.path;
        EXPECT_EQ(messages.Shown()[0].text, c.text);
        EXPECT_EQ(messages.Shown()[0].caption, "Open");
        EXPECT_EQ(messages.Shown()[0].type, MB_OK | MB_ICONSTOP);
    }
}

TEST(CompareDocumentCheck, UnreadableDocumentsAreReported) {
    ScratchFolder scratch;
    ScriptedMessages messages;
    DocumentValueSet set;
    EXPECT_TRUE(LoadComparisonDocument(GoldenDocument, set));
    const std::string cut = scratch.Path("cut.zpf");
    const Bytes whole = ReadBytes(GoldenDocument);
    WriteBytes(cut, Bytes(whole.begin(), whole.begin() + 300));
    EXPECT_FALSE(LoadComparisonDocument(cut, set));
    EXPECT_FALSE(LoadComparisonDocument(scratch.Path("missing.zpf"), set));
    ASSERT_EQ(messages.Shown().size(), 2u);
    EXPECT_EQ(messages.Shown()[0].text, "Unexpected file format.");
    EXPECT_NE(messages.Shown()[1].text.find("missing.zpf"), std::string::npos);
}
