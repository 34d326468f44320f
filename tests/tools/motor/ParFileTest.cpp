// The self-built motor file: its bytes, the readers of the older versions, and files that are not
// what they claim.
#include "tests/support/PrivateHome.h"
#include "tools/MotorParFile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sys/stat.h>

namespace {

std::string Bytes(const std::string& header, const std::vector<int>& values) {
    std::string bytes = header;
    for (int value : values)
        for (int shift = 0; shift < 32; shift += 8)
            bytes.push_back(static_cast<char>((static_cast<uint32_t>(value) >> shift) & 0xFF));
    return bytes;
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string ReadBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// Slot k holds 100 + k, so a slot read into the wrong place shows.
std::vector<int> Numbered(int count) {
    std::vector<int> values;
    for (int k = 1; k <= count; ++k)
        values.push_back(100 + k);
    return values;
}

TEST(ParFile, WritesTheHeaderAndTheSlotsAndReadsThemBack) {
    ScratchFolder folder("kelo-par");
    ParSlots slots{};
    for (int k = 0; k < ParSlotCount; ++k)
        slots[static_cast<size_t>(k)] = k % 2 ? -(k * 1000003) : k * 7919;
    const std::string path = folder / "motor.par";
    ASSERT_EQ(WriteParFile(path, slots), "");
    std::vector<int> values(slots.begin(), slots.end());
    EXPECT_EQ(ReadBytes(path), Bytes("KeloServo(ZR3-E) V0.1.250728\n", values));

    const ParReadResult read = ReadParFile(path);
    ASSERT_TRUE(read.ok) << read.error;
    EXPECT_EQ(read.version, 728);
    EXPECT_EQ(read.values, slots);
    EXPECT_TRUE(read.RecordRead());
}

TEST(ParFile, FollowsTheVersionInTheHeader) {
    ScratchFolder folder("kelo-par");
    struct Case {
        const char* header;
        int valuesInFile;
        std::vector<int> slotsRead; // 1-based, in the order the file holds them
    } cases[] = {
        {"X V0.1.250217\n", 12, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}},
        {"X V0.1.250304\n", 14, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}},
        {"X V0.1.250313\n", 15, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}},
        {"X V0.1.250728\n", 15, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}}, // cut after 15
        {"X V0.1.250009\n", 12, {1, 2, 3, 4, 5, 6, 7, 8, 12, 9, 10, 11}},
        // An old file carries nothing past what its version knew, even when bytes follow.
        {"X V0.1.250217\n", 20, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}},
    };
    for (const Case& c : cases) {
        const std::string path = folder / "old.par";
        WriteBytes(path, Bytes(c.header, Numbered(c.valuesInFile)));
        const ParReadResult read = ReadParFile(path);
        ASSERT_TRUE(read.ok) << c.header << read.error;
        ParSlots expected{};
        for (size_t i = 0; i < c.slotsRead.size(); ++i)
            expected[static_cast<size_t>(c.slotsRead[i] - 1)] = 100 + static_cast<int>(i) + 1;
        EXPECT_EQ(read.values, expected) << c.header;
        EXPECT_EQ(read.slotsRead, static_cast<int>(c.slotsRead.size())) << c.header;
        EXPECT_FALSE(read.RecordRead());
    }
}

TEST(ParFile, RefusesFilesThatAreNoMotorFile) {
    ScratchFolder folder("kelo-par");
    struct Case {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"empty", ""},
        {"no version", Bytes("KeloServo(ZR3-E) V0.1.25072x\n", Numbered(34))},
        {"binary without a line end", std::string(5000, '\x01')},
        {"over-long header", std::string(300, 'A') + "728\n" + Bytes("", Numbered(34))},
        {"short header", Bytes("12\n", Numbered(34))},
    };
    for (const Case& c : cases) {
        const std::string path = folder / "bad.par";
        WriteBytes(path, c.bytes);
        const ParReadResult read = ReadParFile(path);
        EXPECT_FALSE(read.ok) << c.what;
        EXPECT_FALSE(read.error.empty()) << c.what;
    }
    EXPECT_FALSE(ReadParFile(folder / "missing.par").ok);
}

TEST(ParFile, SaveThatCannotBeWrittenIsReported) {
    ScratchFolder folder("kelo-par");
    EXPECT_TRUE(HasParExtension("a.PaR"));
    EXPECT_FALSE(HasParExtension("a.txt"));
    EXPECT_FALSE(HasParExtension("ar"));
    EXPECT_NE(WriteParFile(folder / "no-such-folder/motor.par", ParSlots{}), "");
    // A folder in the way is not replaced.
    const std::string path = folder / "taken.par";
    ASSERT_EQ(mkdir(path.c_str(), 0700), 0);
    EXPECT_NE(WriteParFile(path, ParSlots{}), "");
    struct stat info {};
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode));
}

} // namespace
