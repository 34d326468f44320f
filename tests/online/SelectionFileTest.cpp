// The selection file: the bytes against a golden file written from the layout, the load cases and a
// save that fails.
#include "online/OnlineSelection.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/resource.h>
#include <unistd.h>

namespace {

std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Put(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

class SelectionFile : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "kelo-onp-XXXXXX").string();
        ASSERT_TRUE(mkdtemp(pattern.data()));
        folder_ = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }
    std::string File(const std::string& name) const { return folder_ + "/" + name; }
    std::size_t EntriesInFolder() const {
        return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder_), {}));
    }

    std::string folder_;
};

const OnlineCodes kGolden = {"Cn025", "", "Pn310", "qn501", "", "En724", "EC901", "tn830"};

TEST_F(SelectionFile, WritesAndReadsTheGoldenFile) {
    const std::string golden = Bytes(KELO_FIXTURES "/online-selection.onp");
    ASSERT_FALSE(golden.empty());
    EXPECT_EQ(OnlineParameterText(kGolden), golden);
    ASSERT_TRUE(WriteOnlineParameterFile(File("set.onp"), kGolden));
    EXPECT_EQ(Bytes(File("set.onp")), golden);
    const OnlineFileRead read = ReadOnlineParameterFile(KELO_FIXTURES "/online-selection.onp");
    EXPECT_EQ(read.status, OnlineFileStatus::Loaded);
    EXPECT_EQ(read.codes, kGolden);
}

TEST_F(SelectionFile, EmptyRowsAreEmptyLines) {
    EXPECT_EQ(OnlineParameterText({}), "ZR2 Online Parameter v0001\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n");
}

TEST_F(SelectionFile, LoadCases) {
    struct Case {
        const char* what;
        std::string bytes;
        OnlineFileStatus status;
        OnlineCodes codes;
    };
    const std::string longLine(OnlineFileMaxLine + 1, 'C');
    const Case cases[] = {
        {"header only", "ZR2 Online Parameter v0001\r\n", OnlineFileStatus::Loaded, {}},
        {"five codes, LF ends, no end on the last",
         "anything\nCn001\nCn002\nCn003\nCn004\nCn005",
         OnlineFileStatus::Loaded,
         {"Cn001", "Cn002", "Cn003", "Cn004", "Cn005", "", "", ""}},
        {"lines after the ninth are not read",
         "h\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n",
         OnlineFileStatus::Loaded,
         {"1", "2", "3", "4", "5", "6", "7", "8"}},
        {"an overlong line names nothing",
         "h\r\n" + longLine + "\r\nCn003\r\n",
         OnlineFileStatus::Loaded,
         {"", "Cn003", "", "", "", "", "", ""}},
        {"empty file", "", OnlineFileStatus::Empty, {}},
        {"oversized file", std::string(OnlineFileMaxBytes + 1, '\n'), OnlineFileStatus::TooLarge, {}},
    };
    for (const Case& c : cases) {
        Put(File("in.onp"), c.bytes);
        const OnlineFileRead read = ReadOnlineParameterFile(File("in.onp"));
        EXPECT_EQ(read.status, c.status) << c.what;
        EXPECT_EQ(read.codes, c.codes) << c.what;
    }
    const OnlineFileRead missing = ReadOnlineParameterFile(File("missing.onp"));
    EXPECT_EQ(missing.status, OnlineFileStatus::Unreadable);
    EXPECT_FALSE(missing.error.empty());
}

TEST_F(SelectionFile, AFailedSaveLeavesThePreviousFile) {
    Put(File("kept.onp"), "previous");
    // A file size limit makes every longer write fail, even for root.
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 8;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    std::string error;
    const bool written = WriteOnlineParameterFile(File("kept.onp"), kGolden, &error);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(written);
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(Bytes(File("kept.onp")), "previous");
    EXPECT_EQ(EntriesInFolder(), 1u) << "no half-written file is left beside it";

    EXPECT_FALSE(WriteOnlineParameterFile(File("no/such/folder.onp"), kGolden, &error));
}

TEST_F(SelectionFile, ExtensionByItsLastThreeCharacters) {
    EXPECT_TRUE(IsOnlineParameterPath("/a/set.onp"));
    EXPECT_TRUE(IsOnlineParameterPath("SET.ONP"));
    EXPECT_TRUE(IsOnlineParameterPath("onp"));
    EXPECT_FALSE(IsOnlineParameterPath("set.txt"));
    EXPECT_FALSE(IsOnlineParameterPath("np"));
}

} // namespace
