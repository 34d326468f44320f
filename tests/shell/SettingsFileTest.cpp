#include "shell/SettingsFile.h"

#include "shell/ShellGlobals.h"
#include "tests/shell/ShellTestSupport.h"
#include "tests/support/SaveFaults.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

namespace {

std::string Lines(int count, const std::string& value) {
    std::string text;
    for (int i = 0; i < count; ++i)
        text += value + "\n";
    return text;
}

// The file a fresh program writes: every setting at its default.
const std::string kDefaultFile = "[Kelo Servo]\n"
                                 "Version=v0.1.240117\n"
                                 "[System]\n"
                                 "ComPort=0\n"
                                 "[Definite Parameter]\n"
                                 "0\n"
                                 "[Display Setting]\n"
                                 "0\n" +
                                 Lines(11, "1") + "69905\n" + Lines(5, "1") +
                                 "StationID=1\n"
                                 "RS485Port=0\n"
                                 "BaudRateIndex=1\n"
                                 "RTUMode=0\n"
                                 "SerialNum=4\n"
                                 "StatusbarSet=10\n"
                                 "0\n1\n2\n3\n4\n5\n6\n7\n8\n9\n"
                                 "MonitorUnSet=20\n" +
                                 Lines(20, "0");

// A file with something of its own in every section.
const std::string kUsedFile = "[Kelo Servo]\n"
                              "Version=v0.1.240117\n"
                              "[System]\n"
                              "ComPort=3\n"
                              "[Definite Parameter]\n"
                              "3\n"
                              "1\n04\n"
                              "12\n15\n"
                              "8\n98\n"
                              "[Display Setting]\n"
                              "2\n1\n0\n1\n1\n0\n1\n1\n1\n1\n0\n1\n"
                              "4369\n"
                              "0\n1\n1\n0\n1\n"
                              "StationID=17\n"
                              "RS485Port=1\n"
                              "BaudRateIndex=5\n"
                              "RTUMode=7\n"
                              "SerialNum=6\n"
                              "StatusbarSet=10\n"
                              "3\n0\n6\n10\n4\n5\n1\n2\n9\n8\n"
                              "MonitorUnSet=20\n"
                              "5\n0\n12\n3\n4\n5\n6\n7\n8\n9\n10\n11\n12\n13\n14\n15\n16\n17\n18\n96\n";

class SettingsFileTest : public ::testing::Test {
protected:
    std::string Path() const { return dir / "KeloServo.ini"; }

    ShellSettings Read(const std::string& text, int brand = BrandNormal, bool* ok = nullptr) {
        WriteText(Path(), Crlf(text));
        ShellSettings settings;
        bool read = ReadSettingsFile(Path(), brand, settings);
        if (ok)
            *ok = read;
        return settings;
    }

    ScratchFolder dir;
};

TEST_F(SettingsFileTest, FreshSettingsWriteTheDefaultFileWithCrLf) {
    ASSERT_TRUE(WriteSettingsFile(Path(), ShellSettings(), BrandNormal, 4));
    EXPECT_EQ(ReadText(Path()), Crlf(kDefaultFile));
}

TEST_F(SettingsFileTest, ReadingAndWritingBackGivesTheSameBytes) {
    for (const std::string& text : {kDefaultFile, kUsedFile}) {
        ShellSettings settings = Read(text);
        const int series = text == kUsedFile ? 6 : 4;
        ASSERT_TRUE(WriteSettingsFile(Path(), settings, BrandNormal, series));
        EXPECT_EQ(ReadText(Path()), Crlf(text));
    }
}

TEST_F(SettingsFileTest, ReadsEverySection) {
    ShellSettings s = Read(kUsedFile);
    EXPECT_EQ(s.ComPort, 3);
    ASSERT_EQ(s.DefiniteListSize, 3);
    EXPECT_EQ(s.DefiniteGroup[0], 1);
    EXPECT_EQ(s.DefiniteNumber[0], 4);
    EXPECT_EQ(s.DefiniteGroup[2], 8);
    EXPECT_EQ(s.DefiniteNumber[2], 98);
    EXPECT_EQ(s.DisplaySettings[0], 2);
    EXPECT_EQ(s.DisplaySettings[DisplayMemoryOnlySlot], 0);
    EXPECT_EQ(s.DisplaySettings[DisplayPackedSlot], 4369);
    EXPECT_EQ(s.DisplaySettings[18], 1);
    EXPECT_EQ(s.StationNumber, 17);
    EXPECT_EQ(s.ModbusMode, 1);
    EXPECT_EQ(s.BaudRateIndex, 5);
    EXPECT_EQ(s.ModbusFormat, 7);
    EXPECT_EQ(s.ModbusAsciiFlag, 0);
    EXPECT_EQ(s.StatusbarSet[3], 10);
    EXPECT_EQ(s.StatusbarSet[10], 10); // the memory-only entry keeps its default
    EXPECT_EQ(s.MonitorUnSet[19], 96);
}

TEST_F(SettingsFileTest, LineFeedOnlyFilesReadTheSame) {
    WriteText(Path(), kUsedFile);
    ShellSettings s;
    ASSERT_TRUE(ReadSettingsFile(Path(), BrandNormal, s));
    EXPECT_EQ(SettingsText(s, BrandNormal, 6), kUsedFile);
}

TEST_F(SettingsFileTest, HeaderMustMatchTheBrand) {
    bool ok = true;
    ShellSettings s = Read(kUsedFile, BrandOem, &ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(s.ComPort, 0);

    std::string oem = kUsedFile;
    oem.replace(0, 12, "[Ombrix]");
    s = Read(oem, BrandNormal, &ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(s.StationNumber, 1);
    s = Read(oem, BrandOem, &ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(s.StationNumber, 17);

    ASSERT_TRUE(WriteSettingsFile(Path(), s, BrandOem, 6));
    EXPECT_EQ(ReadText(Path()), Crlf(oem));
}

TEST_F(SettingsFileTest, MissingFileChangesNothing) {
    ShellSettings s;
    s.ComPort = 5;
    EXPECT_FALSE(ReadSettingsFile(dir / "absent.ini", BrandNormal, s));
    EXPECT_EQ(s.ComPort, 5);
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    text.replace(at, from.size(), to);
    return text;
}

TEST_F(SettingsFileTest, ValueRules) {
    struct Case {
        const char* from;
        const char* to;
        int comPort, format, ascii;
    } cases[] = {
        {"ComPort=3", "ComPort=9", 0, 7, 0},  {"ComPort=3", "ComPort=-1", 0, 7, 0},
        {"ComPort=3", "ComPort=7", 7, 7, 0},  {"RTUMode=7", "RTUMode=9", 3, 0, 1},
        {"RTUMode=7", "RTUMode=6", 3, 6, 0},  {"RTUMode=7", "RTUMode=5", 3, 5, 1},
        {"RTUMode=7", "RTUMode=-2", 3, 0, 1}, {"RTUMode=7", "xxRTUMode=4", 3, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.to);
        ShellSettings s = Read(Replaced(kUsedFile, c.from, c.to));
        EXPECT_EQ(s.ComPort, c.comPort);
        EXPECT_EQ(s.ModbusFormat, c.format);
        EXPECT_EQ(s.ModbusAsciiFlag, c.ascii);
    }
}

TEST_F(SettingsFileTest, MissingLinesShiftTheSectionsAsTheReaderWalks) {
    // Without its section line the definite list is not read and the line after it is consumed:
    // here that is "[Display Setting]", so the display values keep their defaults too.
    ShellSettings s = Read(Replaced(kUsedFile, "[Definite Parameter]\n3\n1\n04\n12\n15\n8\n98\n", ""));
    EXPECT_EQ(s.DefiniteListSize, 0);
    EXPECT_EQ(s.DisplaySettings, ShellSettings().DisplaySettings);
    EXPECT_EQ(s.ComPort, 3);

    // Without "StationID=" the Modbus keys on the following lines are still read.
    s = Read(Replaced(kUsedFile, "StationID=17\n", ""));
    EXPECT_EQ(s.StationNumber, 1);
    EXPECT_EQ(s.ModbusMode, 1);
    EXPECT_EQ(s.BaudRateIndex, 5);
    EXPECT_EQ(s.ModbusFormat, 7);

    // A missing "[System]" or "ComPort=" line leaves everything at its default.
    EXPECT_EQ(SettingsText(Read(Replaced(kUsedFile, "[System]", "[Other]")), BrandNormal, 4), kDefaultFile);
    EXPECT_EQ(SettingsText(Read(Replaced(kUsedFile, "ComPort=3", "Port=3")), BrandNormal, 4), kDefaultFile);

    // The version line may hold anything.
    EXPECT_EQ(Read(Replaced(kUsedFile, "Version=v0.1.240117", "whatever")).StationNumber, 17);
}

TEST_F(SettingsFileTest, FileCutShortKeepsTheDefaultsOfWhatIsMissing) {
    const std::string cut = kUsedFile.substr(0, kUsedFile.find("4369\n")); // inside the display values
    ShellSettings s = Read(cut);
    EXPECT_EQ(s.DefiniteListSize, 3);
    EXPECT_EQ(s.DisplaySettings[0], 2);
    EXPECT_EQ(s.DisplaySettings[11], 1);
    EXPECT_EQ(s.DisplaySettings[DisplayPackedSlot], 0x11111);
    EXPECT_EQ(s.StationNumber, 1);
    EXPECT_EQ(s.StatusbarSet[0], 0);

    // A list whose count promises more pairs than the file holds keeps the pairs it has.
    s = Read("[Kelo Servo]\nv\n[System]\nComPort=1\n[Definite Parameter]\n2147483647\n1\n05\n2\n");
    EXPECT_EQ(s.DefiniteListSize, 1);
    EXPECT_EQ(s.DefiniteNumber[0], 5);
}

TEST_F(SettingsFileTest, InvalidDefiniteEntriesAreDropped) {
    const std::string head = "[Kelo Servo]\nv\n[System]\nComPort=0\n[Definite Parameter]\n";
    // Group 7 does not exist; Tn has 18 numbers (index 17 is Tn118); MAb has 16; negative numbers.
    ShellSettings s = Read(head + "7\n7\n01\n2\n18\n2\n17\n12\n16\n12\n15\n3\n-1\n1\n98\n0\n00\n");
    ASSERT_EQ(s.DefiniteListSize, 3);
    EXPECT_EQ(s.DefiniteGroup[0], 2);
    EXPECT_EQ(s.DefiniteNumber[0], 17);
    EXPECT_EQ(s.DefiniteGroup[1], 12);
    EXPECT_EQ(s.DefiniteNumber[1], 15);
    EXPECT_EQ(s.DefiniteGroup[2], 1);
    EXPECT_EQ(s.DefiniteNumber[2], 98);
    EXPECT_EQ(s.DefiniteGroup[3], 0);

    struct Entry {
        int group, number;
        bool valid;
    } entries[] = {{1, 0, true},    {1, 98, true},   {1, 99, false}, {2, 17, true},   {3, 28, true},
                   {3, 29, false},  {4, 84, true},   {4, 85, false}, {5, 6, true},    {5, 7, false},
                   {6, 23, true},   {7, 0, false},   {8, 98, true},  {9, 23, true},   {9, 24, false},
                   {10, 62, true},  {10, 63, false}, {11, 33, true}, {11, 34, false}, {12, 15, true},
                   {12, 16, false}, {0, 0, false},   {13, 0, false}, {1, -1, false}};
    for (const Entry& e : entries)
        EXPECT_EQ(IsValidDefiniteEntry(e.group, e.number), e.valid) << e.group << " " << e.number;
}

TEST_F(SettingsFileTest, ListCountIsBoundedAndTheNextSectionsStillFollow) {
    std::string text = "[Kelo Servo]\nv\n[System]\nComPort=0\n[Definite Parameter]\n600\n";
    for (int i = 0; i < 600; ++i)
        text += "1\n" + std::to_string(i % 99) + "\n";
    text += kUsedFile.substr(kUsedFile.find("[Display Setting]"));
    ShellSettings s = Read(text);
    EXPECT_EQ(s.DefiniteListSize, DefiniteListCapacity);
    EXPECT_EQ(s.DefiniteNumber[499], 499 % 99);
    EXPECT_EQ(s.StationNumber, 17);
    EXPECT_EQ(s.MonitorUnSet[19], 96);

    // The writer never writes more entries than the arrays hold.
    s.DefiniteListSize = 100000;
    EXPECT_EQ(Read(SettingsText(s, BrandNormal, 4)).DefiniteListSize, DefiniteListCapacity);
}

TEST_F(SettingsFileTest, PaneKindsOutsideTheKnownKindsShowNothing) {
    ShellSettings s = Read(Replaced(kUsedFile, "3\n0\n6\n10\n4\n", "3\n-4\n6\n2147483647\n11\n"));
    EXPECT_EQ(s.StatusbarSet[0], 3);
    EXPECT_EQ(s.StatusbarSet[1], StatusPaneKindNone);
    EXPECT_EQ(s.StatusbarSet[3], StatusPaneKindNone);
    EXPECT_EQ(s.StatusbarSet[4], StatusPaneKindNone);
}

TEST_F(SettingsFileTest, FailedWriteIsReportedAndKeepsTheOldFile) {
    WriteText(Path(), Crlf(kUsedFile));
    std::string error;
    {
        FileSizeLimit full(16); // the disk fills half-way through the new file
        EXPECT_FALSE(WriteSettingsFile(Path(), ShellSettings(), BrandNormal, 4, &error));
    }
    EXPECT_NE(error.find("KeloServo.ini"), std::string::npos) << error;
    EXPECT_EQ(ReadText(Path()), Crlf(kUsedFile));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1) << "nothing beside it";

    error.clear();
    EXPECT_FALSE(WriteSettingsFile(dir / "missing/KeloServo.ini", ShellSettings(), BrandNormal, 4, &error));
    EXPECT_FALSE(error.empty());
}

TEST(SettingsFilePath, FollowsTheBrand) {
    ShellFolders folders;
    EXPECT_EQ(SettingsFilePath(BrandNormal), folders.program / "KeloServo.ini");
    EXPECT_EQ(SettingsFilePath(BrandOem), folders.program / "Ombrix.ini");
    EXPECT_EQ(SettingsHeader(BrandOem), "[Ombrix]");
}

} // namespace
