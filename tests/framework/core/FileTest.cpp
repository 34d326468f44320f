#include "framework/core/StdioFile.h"

#include "tests/framework/core/TestSupport.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
std::string AsText(const std::vector<unsigned char>& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

std::vector<std::string> ReadLines(const std::string& path, unsigned mode) {
    CStdioFile file(path, CFile::modeRead | mode);
    std::vector<std::string> lines;
    std::string line;
    while (file.ReadString(line))
        lines.push_back(line);
    return lines;
}
} // namespace

class FileTest : public ::testing::Test {
protected:
    ScratchFolder folder;
};

TEST_F(FileTest, TextModeWritesCrLfAndBinaryModeKeepsLf) {
    {
        CStdioFile text(folder / "text.txt", CFile::modeCreate | CFile::modeWrite | CFile::typeText);
        text.WriteString("head\n1\n");
        text.WriteString("2");
        text.Close();
        CStdioFile binary(folder / "binary.txt", CFile::modeCreate | CFile::modeWrite | CFile::typeBinary);
        binary.WriteString("head\n1\n");
    }
    EXPECT_EQ(AsText(ReadBytes(folder / "text.txt")), "head\r\n1\r\n2");
    EXPECT_EQ(AsText(ReadBytes(folder / "binary.txt")), "head\n1\n");
}

TEST_F(FileTest, ReadStringAcceptsCrLfAndLf) {
    WriteBytes(folder / "mixed.txt", {'a', '\r', '\n', 'b', '\n', '\n', 'c', '\r', '\n', 'd'});
    EXPECT_EQ(ReadLines(folder / "mixed.txt", CFile::typeText),
              (std::vector<std::string>{"a", "b", "", "c", "d"}));
    // Binary mode strips the LF only, as the files written without translation expect.
    EXPECT_EQ(ReadLines(folder / "mixed.txt", CFile::typeBinary),
              (std::vector<std::string>{"a\r", "b", "", "c\r", "d"}));
    WriteBytes(folder / "empty.txt", {});
    EXPECT_TRUE(ReadLines(folder / "empty.txt", 0).empty());
}

TEST_F(FileTest, TextReadTranslatesCrLfAcrossTheBufferEdge) {
    std::vector<unsigned char> bytes(4095, 'x');
    bytes.push_back('\r'); // last byte of the first 4096-byte read
    bytes.push_back('\n');
    bytes.push_back('y');
    WriteBytes(folder / "edge.txt", bytes);
    CStdioFile file(folder / "edge.txt", CFile::modeRead);
    std::string all(5000, '\0');
    all.resize(file.Read(all.data(), all.size()));
    EXPECT_EQ(all, std::string(4095, 'x') + "\ny");
}

TEST_F(FileTest, OpenFailuresAreReportedNotThrown) {
    CFile file;
    CFileException error;
    EXPECT_FALSE(file.Open(folder / "missing.bin", CFile::modeRead, &error));
    EXPECT_EQ(error.GetCause(), CFileException::fileNotFound);
    EXPECT_THROW(CFile(folder / "missing.bin", CFile::modeRead), CFileException);
    EXPECT_FALSE(file.Open(folder.Path(), CFile::modeRead, &error)); // a folder is not a file
}

TEST_F(FileTest, NoFollowRefusesSymbolicLinks) {
    WriteBytes(folder / "target.ini", {'1'});
    ASSERT_EQ(symlink((folder / "target.ini").c_str(), (folder / "link.ini").c_str()), 0);
    CFile file;
    CFileException error;
    EXPECT_FALSE(
        file.Open(folder / "link.ini", CFile::modeCreate | CFile::modeWrite | CFile::modeNoFollow, &error));
    EXPECT_EQ(error.GetCause(), CFileException::isLink);
    EXPECT_EQ(AsText(ReadBytes(folder / "target.ini")), "1"); // not truncated through the link
    EXPECT_TRUE(file.Open(folder / "link.ini", CFile::modeRead));
}

TEST_F(FileTest, CreateTruncatesUnlessNoTruncate) {
    WriteBytes(folder / "f.bin", {1, 2, 3});
    {
        CFile keep(folder / "f.bin", CFile::modeCreate | CFile::modeNoTruncate | CFile::modeReadWrite);
        EXPECT_EQ(keep.GetLength(), 3u);
        keep.SeekToEnd();
        unsigned char four = 4;
        keep.Write(&four, 1);
    }
    EXPECT_EQ(ReadBytes(folder / "f.bin"), (std::vector<unsigned char>{1, 2, 3, 4}));
    CFile fresh(folder / "f.bin", CFile::modeCreate | CFile::modeWrite);
    EXPECT_EQ(fresh.GetLength(), 0u);
    EXPECT_EQ(fresh.GetFileName(), "f.bin");
}

TEST_F(FileTest, FindFilesMatchesWildcardsIgnoringCaseAndSkipsFolders) {
    for (const char* name : {"run001_000.trd", "run010_000.TRD", "run002.csv", "other.trd", "run.trd.bak"})
        WriteBytes(folder / name, {});
    ASSERT_EQ(mkdir((folder / "run_dir.trd").c_str(), 0700), 0);
    EXPECT_EQ(FindFiles(folder.Path(), "run*.trd"),
              (std::vector<std::string>{"run001_000.trd", "run010_000.TRD"}));
    EXPECT_EQ(FindFilesByPattern(folder / "*.csv"), (std::vector<std::string>{"run002.csv"}));
    EXPECT_TRUE(FindFiles(folder / "nowhere", "*").empty());
}

TEST(Wildcard, Matches) {
    struct Case {
        const char* pattern;
        const char* name;
        bool match;
    };
    const Case cases[] = {
        {"*", "", true},
        {"*.trd", "a.trd", true},
        {"*.trd", "a.trdx", false},
        {"a?c", "abc", true},
        {"a?c", "ac", false},
        {"*a*b*", "xxaYYbzz", true},
        {"*a*b", "ab_ab_a", false},
        {"A*.Trd", "abc.TRD", true},
        {"", "x", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WildcardMatch(c.pattern, c.name), c.match) << c.pattern << " / " << c.name;
}

TEST_F(FileTest, RemoveFileIsTrueOnceTheFileIsGone) {
    WriteBytes(folder / "gone.txt", {'x'});
    EXPECT_TRUE(FileExists(folder / "gone.txt"));
    EXPECT_TRUE(RemoveFile(folder / "gone.txt"));
    EXPECT_FALSE(FileExists(folder / "gone.txt"));
    EXPECT_TRUE(RemoveFile(folder / "gone.txt"));
    EXPECT_TRUE(FolderExists(folder.Path()));
}
