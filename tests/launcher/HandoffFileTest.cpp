#include "link/handoff/HandoffFile.h"

#include "tests/launcher/LauncherTestSupport.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

class HandoffFileTest : public ::testing::Test {
protected:
    TempRuntimeFolder temp;
};

TEST_F(HandoffFileTest, LivesInThePerUserTemporaryFolder) {
    EXPECT_EQ(HandoffFilePath(), temp.Path() + "curfile.ini");
}

TEST_F(HandoffFileTest, LauncherLinesAreWrittenByteExactAndReadBackThenDeleted) {
    ASSERT_TRUE(WriteHandoffFile(4, 1, "ttyUSB1 : USB-SERIAL CH340", 1));
    EXPECT_EQ(ReadBytes(HandoffFilePath()), "5\r\n1\r\nttyUSB1 : USB-SERIAL CH340\r\n1\r\n");
    struct stat info {};
    ASSERT_EQ(stat(HandoffFilePath().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);

    auto request = ReadHandoffFile();
    ASSERT_TRUE(request.has_value());
    EXPECT_EQ(request->seriesCode, 8);
    EXPECT_TRUE(request->autoConnect);
    EXPECT_EQ(request->portEntry, "ttyUSB1 : USB-SERIAL CH340");
    EXPECT_EQ(request->entryIndex, 1);
    EXPECT_EQ(request->lines, (std::vector<std::string>{"5", "1", "ttyUSB1 : USB-SERIAL CH340", "1"}));
    EXPECT_FALSE(Exists(HandoffFilePath()));
    EXPECT_FALSE(ReadHandoffFile().has_value()) << "a second start finds no file";
}

TEST_F(HandoffFileTest, ManualChoiceWithoutPortAndOverwriteOfAnOldFile) {
    WriteBytes(HandoffFilePath(), "an older and much longer file that must not shine through\r\n");
    ASSERT_TRUE(WriteHandoffFile(3, 0, "", -1));
    EXPECT_EQ(ReadBytes(HandoffFilePath()), "3\r\n0\r\n\r\n-1\r\n");
    auto request = ReadHandoffFile();
    ASSERT_TRUE(request);
    EXPECT_EQ(request->seriesCode, 6);
    EXPECT_FALSE(request->autoConnect);
    EXPECT_EQ(request->portEntry, "");
    EXPECT_EQ(request->entryIndex, -1);
}

TEST_F(HandoffFileTest, SeriesIndexToCodeToSeriesCode) {
    struct Row {
        int seriesIndex;
        const char* code;
        int seriesCode;
    };
    const Row rows[] = {{0, "1", 4}, {1, "2", 5}, {2, "6", 9},   {3, "3", 6},
                        {4, "5", 8}, {5, "4", 7}, {-1, "99", 5}, {6, "99", 5}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.seriesIndex);
        EXPECT_EQ(HandoffSeriesCode(row.seriesIndex), row.code);
        ASSERT_TRUE(WriteHandoffFile(row.seriesIndex, 0, "", 0));
        auto request = ReadHandoffFile();
        ASSERT_TRUE(request);
        EXPECT_EQ(request->seriesCode, row.seriesCode);
    }
    // Compared exactly: nothing but the bare code counts.
    EXPECT_EQ(SeriesCodeFromHandoff(" 1"), 5);
    EXPECT_EQ(SeriesCodeFromHandoff("1 "), 5);
    EXPECT_EQ(SeriesCodeFromHandoff(""), 5);
}

TEST_F(HandoffFileTest, ReaderTakesShortAndForeignFilesAsTheMainProgramDoes) {
    struct Row {
        const char* bytes;
        int seriesCode;
        bool autoConnect;
        const char* entry;
        int index;
    };
    const Row rows[] = {
        {"", 5, false, "", 0},                                               // empty file: every line missing
        {"1\n", 4, false, "", 0},                                            // LF line ends, lines missing
        {"6\n7\nttyS0 : Serial Port\n2", 9, true, "ttyS0 : Serial Port", 2}, // no final line end
        {"4\r\n  -3x\r\n\r\n+12abc\r\n", 7, true, "", 12},                   // numbers read like atoi
        {"5\r\n0\r\nx\r\n99999999999\r\n", 8, false, "x", 2147483647},       // kept within int
        {"2\r\n/home/user/doc.zpf", 5, false, "", 0},                        // a document relaunch
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.bytes);
        WriteBytes(HandoffFilePath(), row.bytes);
        auto request = ReadHandoffFile();
        ASSERT_TRUE(request);
        EXPECT_EQ(request->seriesCode, row.seriesCode);
        EXPECT_EQ(request->autoConnect, row.autoConnect);
        EXPECT_EQ(request->portEntry, row.entry);
        EXPECT_EQ(request->entryIndex, row.index);
    }
}

TEST_F(HandoffFileTest, RelaunchFormHasNoLineEndAfterThePath) {
    ASSERT_TRUE(WriteHandoffLines({"2", "/home/user/my doc.zpf"}, false));
    EXPECT_EQ(ReadBytes(HandoffFilePath()), "2\r\n/home/user/my doc.zpf");
    auto request = ReadHandoffFile();
    ASSERT_TRUE(request);
    EXPECT_EQ(request->lines, (std::vector<std::string>{"2", "/home/user/my doc.zpf"}));
}

TEST_F(HandoffFileTest, LineBreaksInsideATextCannotAddLines) {
    ASSERT_TRUE(WriteHandoffFile(0, 0, std::string("ttyS0 : odd\r\n1\0x", 16), 0));
    auto request = ReadHandoffFile();
    ASSERT_TRUE(request);
    EXPECT_EQ(request->lines.size(), 4u);
    EXPECT_EQ(request->portEntry, "ttyS0 : odd  1 x");
    EXPECT_EQ(request->entryIndex, 0);
}

TEST_F(HandoffFileTest, NeverFollowsALinkNorBlocksOnAFifo) {
    const std::string victim = temp.Path() + "victim.txt";
    WriteBytes(victim, "keep me");
    ASSERT_EQ(symlink(victim.c_str(), HandoffFilePath().c_str()), 0);
    EXPECT_FALSE(WriteHandoffFile(0, 0, "", 0));
    EXPECT_EQ(ReadBytes(victim), "keep me");
    EXPECT_FALSE(ReadHandoffFile().has_value());
    EXPECT_EQ(ReadBytes(victim), "keep me");
    unlink(HandoffFilePath().c_str());

    ASSERT_EQ(mkfifo(HandoffFilePath().c_str(), 0600), 0);
    EXPECT_FALSE(WriteHandoffFile(0, 0, "", 0)); // no reader: must not wait for one
    EXPECT_FALSE(ReadHandoffFile().has_value()); // no writer: must not wait either
}

TEST(HandoffFileWithoutFolder, WriteFailsAndReadFindsNothing) {
    EXPECT_FALSE(WriteHandoffFile(0, 0, "", 0, "/nonexistent-folder/curfile.ini"));
    EXPECT_FALSE(WriteHandoffFile(0, 0, "", 0, ""));
    EXPECT_FALSE(ReadHandoffFile("/nonexistent-folder/curfile.ini").has_value());
}

} // namespace
