#include "framework/core/MessageSeam.h"

#include <gtest/gtest.h>

TEST(Seam, ScriptedFileDialogAnswersFromItsQueueAndRecordsTheRequest) {
    ScriptedMessages script;
    script.AnswerFile("/home/tech/run1");
    script.AnswerFile("/home/tech/run2.csv", 2);
    FileDialogRequest request;
    request.open = false;
    request.defaultExt = "trd";
    request.flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    request.filter = "Wave Trace Data Files (*.trd)|*.trd|Text Files (*.csv)|*.csv||";

    FileDialogResult first = ShowFileDialog(request);
    EXPECT_TRUE(first.ok);
    EXPECT_EQ(first.path, "/home/tech/run1.trd");
    FileDialogResult second = ShowFileDialog(request);
    EXPECT_EQ(second.path, "/home/tech/run2.csv");
    EXPECT_EQ(second.filterIndex, 2);
    EXPECT_FALSE(ShowFileDialog(request).ok); // queue empty: cancelled

    ASSERT_EQ(script.FileRequests().size(), 3u);
    EXPECT_FALSE(script.FileRequests()[0].open);
    EXPECT_EQ(script.FileRequests()[0].flags, unsigned(OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT));
    EXPECT_EQ(script.FileRequests()[0].filter, request.filter);
}

TEST(Seam, ColourAndFolderDialogsAnswerOrCancel) {
    ScriptedMessages script;
    script.AnswerColor(RGB(1, 2, 3));
    script.CancelColor();
    script.AnswerFolder("/data/traces");
    EXPECT_EQ(ShowColorDialog({RGB(9, 9, 9), 0}), RGB(1, 2, 3));
    EXPECT_EQ(ShowColorDialog({}), std::nullopt);
    EXPECT_EQ(ShowFolderDialog({"Select the folder", ""}), "/data/traces");
    EXPECT_EQ(ShowFolderDialog({}), std::nullopt);
    ASSERT_EQ(script.ColorRequests().size(), 2u);
    EXPECT_EQ(script.ColorRequests()[0].initial, RGB(9, 9, 9));
    EXPECT_EQ(script.FolderRequests()[0].title, "Select the folder");
}

TEST(Seam, WithoutAPresenterDialogsAreCancelled) {
    EXPECT_FALSE(ShowFileDialog({}).ok);
    EXPECT_EQ(ShowColorDialog({}), std::nullopt);
    EXPECT_EQ(ShowFolderDialog({}), std::nullopt);
}

TEST(Seam, FilterStringsSplitIntoLabelsAndPatterns) {
    auto filters = ParseFileFilter("Kelo Servo Files (*.zpf)|*.zpf|All Files (*.*)|*.*;*|Dangling||");
    ASSERT_EQ(filters.size(), 2u);
    EXPECT_EQ(filters[0].label, "Kelo Servo Files (*.zpf)");
    EXPECT_EQ(filters[0].patterns, (std::vector<std::string>{"*.zpf"}));
    EXPECT_EQ(filters[1].patterns, (std::vector<std::string>{"*.*", "*"}));
    EXPECT_TRUE(ParseFileFilter("").empty());
}

TEST(Seam, DefaultExtensionOnlyForNamesWithoutOne) {
    EXPECT_EQ(ApplyDefaultExtension("/a.b/run", "trd"), "/a.b/run.trd");
    EXPECT_EQ(ApplyDefaultExtension("/a/run.csv", "trd"), "/a/run.csv");
    EXPECT_EQ(ApplyDefaultExtension("/a/run", ".cmp"), "/a/run.cmp");
    EXPECT_EQ(ApplyDefaultExtension("/a/run", ""), "/a/run");
}
