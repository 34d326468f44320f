#include "shell/PortChoice.h"

#include "tests/shell/ShellTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <unistd.h>

namespace {

std::vector<PortInfo> Ports() {
    return {{"ttyS0", "Communications Port", false}, {"ttyACM0", "USB CDC Device", false},
            {"ttyACM1", "USB CDC Device", false},    {"ttyUSB9", "USB Serial Port", false},
            {"ttyUSB9", "USB Serial Port", false},   {"ttyUSB10", "USB Serial Port CH340", false},
            {"ttySIM0", "Virtual Port", true}};
}

TEST(PortChoice, EntriesKeepTheOrderAndMarkBusyUsbVirtualPorts) {
    std::set<std::string> asked;
    auto isFree = [&asked](const std::string& name) {
        asked.insert(name);
        return name != "ttyACM1";
    };
    EXPECT_EQ(PortListEntries(Ports(), isFree),
              (std::vector<std::string>{"ttyS0 : Communications Port", "ttyACM0 : USB CDC Device",
                                        "ttyACM1 : USB CDC Device(using)", "ttyUSB9 : USB Serial Port",
                                        "ttyUSB10 : USB Serial Port CH340", "ttySIM0 : Virtual Port"}));
    // Only the USB virtual ports are tried.
    EXPECT_EQ(asked, (std::set<std::string>{"ttyACM0", "ttyACM1"}));
}

TEST(PortChoice, EnumeratedPortsSortByTheirNumber) {
    SetTtyDeviceSourceForTesting([] {
        std::vector<TtyDeviceInfo> devices(2);
        devices[0].name = "ttyUSB10";
        devices[1].name = "ttyUSB9";
        for (TtyDeviceInfo& d : devices) {
            d.hasParent = true;
            d.driver = "ftdi_sio";
            d.bus = "usb";
            d.parentSubsystem = "usb-serial";
        }
        return devices;
    });
    ShellFolders folders; // an empty virtual ports folder
    std::vector<std::string> entries = PortListEntries(EnumeratePorts(), nullptr);
    SetTtyDeviceSourceForTesting(nullptr);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(PortNameFromEntry(entries[0]), "ttyUSB9");
    EXPECT_EQ(PortNameFromEntry(entries[1]), "ttyUSB10");
}

TEST(PortChoice, Preselection) {
    const std::vector<std::string> entries = {"ttyS0 : Communications Port",
                                              "ttyACM0 : USB CDC Device(using)", "ttyUSB0 : USB Serial Port",
                                              "TCPIP"};
    struct Case {
        const char* name;
        std::vector<std::string> entries;
        std::string portText;
        std::optional<std::string> fileLine;
        int index;
    } cases[] = {
        {"no file, no preset", entries, "", std::nullopt, 0},
        {"no file, preset port name", entries, "ttyUSB0", std::nullopt, 2},
        {"no file, whole entry is not a port name", entries, "ttyUSB0 : USB Serial Port", std::nullopt, 0},
        {"an entry taken whole", entries, "TCPIP", std::nullopt, 3},
        {"file names a listed entry", entries, "", std::string("ttyUSB0 : USB Serial Port"), 2},
        {"file wins over the preset", entries, "ttyS0", std::string("ttyUSB0 : USB Serial Port"), 2},
        {"file names a port now busy", entries, "ttyUSB0", std::string("ttyACM0 : USB CDC Device"), 0},
        {"file names a gone port", entries, "", std::string("ttyUSB7 : USB Serial Port"), 0},
        {"empty file", entries, "ttyUSB0", std::string(), 0},
        {"empty list", {}, "ttyUSB0", std::string("ttyUSB0 : USB Serial Port"), -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PortSelection selection = ChoosePortSelection(c.entries, c.portText, c.fileLine);
        EXPECT_EQ(selection.index, c.index);
        EXPECT_EQ(selection.text, c.index >= 0 ? c.entries[static_cast<size_t>(c.index)] : "");
    }
}

TEST(PortChoice, BaudRates) {
    const std::pair<int, int> rates[] = {{0, 4800},  {1, 9600},   {2, 19200}, {3, 38400},
                                         {4, 57600}, {5, 115200}, {6, 9600},  {-1, 9600}};
    for (auto [index, rate] : rates)
        EXPECT_EQ(BaudRateFromIndex(index), rate) << index;
    EXPECT_EQ(BoundedBaudRateIndex(7), 1);
    EXPECT_EQ(BoundedBaudRateIndex(5), 5);
}

TEST(PortChoiceFile, WrittenInTheProgramFolderAsOneTextLine) {
    ShellFolders folders;
    EXPECT_FALSE(ReadPortChoice().has_value());
    ASSERT_TRUE(SavePortChoice("ttyUSB0 : USB Serial Port"));
    EXPECT_EQ(ReadText(folders.program / "comfile.ini"), "ttyUSB0 : USB Serial Port\r\n");
    EXPECT_EQ(ReadPortChoice(), "ttyUSB0 : USB Serial Port");
    ASSERT_TRUE(SavePortChoice("ttyS0 : Communications Port"));
    EXPECT_EQ(ReadText(folders.program / "comfile.ini"), "ttyS0 : Communications Port\r\n");
}

TEST(PortChoiceFile, FallsBackToTheTemporaryFolder) {
    ShellFolders folders;
    // The program folder's file cannot be opened (a folder stands in its place).
    std::filesystem::create_directory(folders.program / "comfile.ini");
    ASSERT_TRUE(SavePortChoice("ttyACM0 : USB CDC Device"));
    EXPECT_EQ(ReadText(folders.temp / "comfile.ini"), "ttyACM0 : USB CDC Device\r\n");
    EXPECT_EQ(ReadPortChoice(), "ttyACM0 : USB CDC Device");
}

TEST(PortChoiceFile, TemporaryFileIsNeverReachedThroughALink) {
    ShellFolders folders;
    std::filesystem::create_directory(folders.program / "comfile.ini");
    const std::string target = folders.program / "elsewhere.txt";
    WriteText(target, "ttyS0 : Communications Port\n");
    ASSERT_EQ(symlink(target.c_str(), (folders.temp / "comfile.ini").c_str()), 0);
    EXPECT_FALSE(ReadPortChoice().has_value());
    EXPECT_FALSE(SavePortChoice("ttyUSB0 : USB Serial Port"));
    EXPECT_EQ(ReadText(target), "ttyS0 : Communications Port\n");
}

} // namespace
