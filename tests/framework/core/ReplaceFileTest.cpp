// Writing over a file: the old one stays whole until the new one is complete, whatever happens to the
// save, and nothing is left beside it.
#include "framework/core/StdioFile.h"

#include "tests/framework/core/TestSupport.h"
#include "tests/support/SaveFaults.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string Text(const std::string& path) {
    const std::vector<unsigned char> bytes = ReadBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

void WriteText(const std::string& path, const std::string& text) {
    WriteBytes(path, std::vector<unsigned char>(text.begin(), text.end()));
}

// Every name in the folder, hidden ones included.
std::vector<std::string> Names(const std::string& folder) {
    std::vector<std::string> names;
    DIR* dir = opendir(folder.c_str());
    while (const dirent* entry = dir ? readdir(dir) : nullptr)
        if (std::string(entry->d_name) != "." && std::string(entry->d_name) != "..")
            names.push_back(entry->d_name);
    if (dir)
        closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

unsigned ModeOf(const std::string& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

// A process id that is certainly not running: a child that has ended and been reaped.
pid_t EndedProcess() {
    const pid_t pid = fork();
    if (pid == 0)
        _exit(0);
    waitpid(pid, nullptr, 0);
    return pid;
}

// Both ways of making the new file: nameless where the file system allows, named elsewhere.
class ReplaceFile : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override { SetNamedReplacementsForTesting(GetParam()); }
    void TearDown() override { SetNamedReplacementsForTesting(false); }
    std::string Old() const { return folder / "doc.zpf"; }

    ScratchFolder folder;
};

INSTANTIATE_TEST_SUITE_P(Ways, ReplaceFile, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Named" : "Nameless"; });

} // namespace

TEST_P(ReplaceFile, TheNewFileTakesTheOldOnesPlaceOnCloseWithItsMode) {
    WriteText(Old(), "old contents");
    ASSERT_EQ(chmod(Old().c_str(), 0640), 0);
    {
        CStdioFile file(Old(), CFile::modeReplace | CFile::modeWrite | CFile::typeText);
        file.WriteString(std::string(10000, 'n') + "\n");
        file.Flush();
        EXPECT_EQ(Text(Old()), "old contents") << "a save under way leaves the old file alone";
        file.Close();
    }
    EXPECT_EQ(Text(Old()), std::string(10000, 'n') + "\r\n");
    EXPECT_EQ(ModeOf(Old()), 0640u);
    EXPECT_EQ(Names(folder.Path()), std::vector<std::string>{"doc.zpf"});

    // New files: the usual mode, or the owner's alone.
    const mode_t mask = umask(022);
    EXPECT_TRUE(ReplaceFileContents(folder / "new.ini", "a"));
    EXPECT_TRUE(ReplaceFileContents(folder / "private.ini", "b", nullptr, CFile::modePrivate));
    umask(mask);
    EXPECT_EQ(ModeOf(folder / "new.ini"), 0644u);
    EXPECT_EQ(ModeOf(folder / "private.ini"), 0600u);
}

TEST_P(ReplaceFile, AFailedOrAbandonedSaveLeavesTheOldFileAndNothingElse) {
    const struct {
        const char* what;
        std::function<void(CFile&)> end;
    } cases[] = {
        {"a write beyond a full disk",
         [](CFile& file) {
             FileSizeLimit full(4096);
             const std::string block(8192, 'x');
             EXPECT_THROW(file.Write(block.data(), block.size()), CFileException);
             file.Abort();
         }},
        {"abandoned", [](CFile& file) { file.Abort(); }},
        {"dropped without Close", [](CFile&) {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        WriteText(Old(), "old contents");
        {
            CFile file(Old(), CFile::modeReplace | CFile::modeWrite);
            file.Write("new", 3);
            c.end(file);
        }
        EXPECT_EQ(Text(Old()), "old contents");
        EXPECT_EQ(Names(folder.Path()), std::vector<std::string>{"doc.zpf"});
    }

    // The helper says what went wrong, naming the file.
    std::string error;
    {
        FileSizeLimit full(4096);
        EXPECT_FALSE(ReplaceFileContents(Old(), std::string(100000, 'x'), &error));
    }
    EXPECT_NE(error.find(Old()), std::string::npos) << error;
    EXPECT_EQ(Text(Old()), "old contents");
    EXPECT_EQ(Names(folder.Path()), std::vector<std::string>{"doc.zpf"});
}

TEST_P(ReplaceFile, LinksPipesFoldersAndReadOnlyFiles) {
    // A link keeps naming its file, which is the one replaced; with modeNoFollow it is refused.
    ASSERT_EQ(mkdir((folder / "real").c_str(), 0700), 0);
    WriteText(folder / "real/target.ini", "old");
    ASSERT_EQ(symlink("real/target.ini", Old().c_str()), 0);
    EXPECT_TRUE(ReplaceFileContents(Old(), "new"));
    EXPECT_EQ(ModeOf(Old()), 0777u) << "still a link";
    EXPECT_EQ(Text(folder / "real/target.ini"), "new");
    EXPECT_FALSE(ReplaceFileContents(Old(), "newer", nullptr, CFile::modeNoFollow));
    EXPECT_EQ(Text(folder / "real/target.ini"), "new");
    EXPECT_EQ(Names(folder / "real"), std::vector<std::string>{"target.ini"});
    unlink(Old().c_str());

    // Things that are not a plain file are never replaced, and a pipe without a reader does not
    // hold the save up.
    ASSERT_EQ(mkfifo(Old().c_str(), 0600), 0);
    CFileException error;
    CFile file;
    EXPECT_FALSE(file.Open(Old(), CFile::modeReplace | CFile::modeWrite, &error));
    unlink(Old().c_str());
    EXPECT_FALSE(file.Open(folder.Path(), CFile::modeReplace | CFile::modeWrite, &error));
    EXPECT_EQ(error.GetCause(), CFileException::badPath);
    EXPECT_FALSE(file.Open(folder / "missing/doc.zpf", CFile::modeReplace | CFile::modeWrite, &error));
    EXPECT_EQ(error.GetCause(), CFileException::fileNotFound);
    EXPECT_EQ(Names(folder.Path()), std::vector<std::string>{"real"});

    // A file the user made read-only stays so, although its folder would allow the rename.
    if (geteuid() != 0) {
        WriteText(Old(), "keep");
        ASSERT_EQ(chmod(Old().c_str(), 0444), 0);
        EXPECT_FALSE(file.Open(Old(), CFile::modeReplace | CFile::modeWrite, &error));
        EXPECT_EQ(error.GetCause(), CFileException::accessDenied);
        EXPECT_EQ(Text(Old()), "keep");
    }
}

TEST_P(ReplaceFile, AKilledSaveLeavesTheOldFileWholeAndItsLeftoverGoesWithTheNextSave) {
    const std::string old(30000, 'o');
    WriteText(Old(), old);
    const std::string others[] = {ReplacementName("doc.zpf", 1, 0),                // a running process's
                                  ReplacementName("other.zpf", EndedProcess(), 0), // another file's
                                  ".doc.zpf~12x-0.saving"};                        // not one of ours
    for (const std::string& name : others)
        WriteText(folder / name, "");

    const bool killed = KillSaveMidWrite(
        16384, [&] { ReplaceFileContents(Old(), std::string(1 << 20, 'n')); },
        [&](pid_t child) {
            EXPECT_EQ(FilesOpenIn(child, folder.Path()), std::vector<off_t>{16384})
                << "stopped with its new file half written";
            EXPECT_EQ(Text(Old()), old);
        });
    ASSERT_TRUE(killed);
    EXPECT_EQ(Text(Old()), old);
    std::vector<std::string> expected = {"doc.zpf"};
    expected.insert(expected.end(), std::begin(others), std::end(others));
    std::sort(expected.begin(), expected.end());
    std::vector<std::string> left = Names(folder.Path());
    if (GetParam()) {
        // A named new file outlives its killed process; the next save of the file removes it.
        ASSERT_EQ(left.size(), expected.size() + 1);
        EXPECT_TRUE(ReplaceFileContents(Old(), "next"));
        left = Names(folder.Path());
    }
    EXPECT_EQ(left, expected);
}
