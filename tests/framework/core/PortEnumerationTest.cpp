#include "framework/core/PortEnumeration.h"

#include "framework/core/Paths.h"

#include "tests/framework/core/TestSupport.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <unistd.h>

TEST(Ports, SortByLettersThenTrailingNumber) {
    std::vector<std::string> names = {"ttyUSB10", "ttyS1",  "ttyUSB9", "ttyACM0",
                                      "ttyUSB0",  "ttyS10", "ttyS2",   "ttyAMA0"};
    std::sort(names.begin(), names.end(), PortNameLess);
    EXPECT_EQ(names, (std::vector<std::string>{"ttyACM0", "ttyAMA0", "ttyS1", "ttyS2", "ttyS10", "ttyUSB0",
                                               "ttyUSB9", "ttyUSB10"}));
    EXPECT_TRUE(PortNameLess("ttyS", "ttyS0"));
    EXPECT_FALSE(PortNameLess("ttyS1", "ttyS1"));
    EXPECT_TRUE(PortNameLess("ttyS1", "ttyS99999999999999999999999")); // long numbers do not overflow
}

TEST(Ports, DescriptionsCarryTheWordsCallersLookFor) {
    struct Case {
        TtyDeviceInfo device;
        std::string description;
    };
    const Case cases[] = {
        {{"ttyUSB0", true, "FT232 Serial (UART) IC", "FT232R_USB_UART", "ftdi_sio", "usb", "usb-serial"},
         "FT232 Serial (UART) IC (USB)"},
        {{"ttyUSB1", true, "HL-340 USB-Serial adapter", "USB2.0-Serial", "ch341", "usb", "usb-serial"},
         "HL-340 USB-Serial adapter (CH340)"},
        {{"ttyUSB2", true, "", "USB2.0-Serial", "ch341-uart", "usb", "usb-serial"}, "USB2.0-Serial (CH340)"},
        {{"ttyACM0", true, "", "Servo Drive", "cdc_acm", "usb", "usb"}, "Servo Drive (USB CDC)"},
        {{"ttyACM1", true, "", "", "cdc_acm", "usb", "usb"}, "cdc_acm (USB)"},
        {{"ttyUSB3", true, "", "", "", "usb", ""}, "USB Serial Port"},
        {{"ttyS0", true, "", "", "serial", "", "pnp"}, "Communications Port"},
        {{"ttyS4", true, "", "", "serial", "pci", "pci"}, "Communications Port"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DescribeTtyDevice(c.device), c.description) << c.device.name;
}

TEST(Ports, EntriesAndNamesFromEntries) {
    EXPECT_EQ(PortEntry({"ttyUSB0", "USB Serial Port", false}), "ttyUSB0 : USB Serial Port");
    EXPECT_EQ(PortNameFromEntry("ttyUSB0 : USB Serial Port"), "ttyUSB0");
    EXPECT_EQ(PortNameFromEntry("  ttyS1:Communications Port: x"), "ttyS1");
    EXPECT_EQ(PortNameFromEntry(" ttyACM0 "), "ttyACM0");
    EXPECT_EQ(PortNameFromEntry(""), "");
}

class VirtualPortsTest : public ::testing::Test {
protected:
    ScratchFolder folder;
    EnvOverride runtime{"XDG_RUNTIME_DIR", folder.Path()};
    std::string ports = folder / "ports";

    void SetUp() override {
        ASSERT_EQ(EnsureVirtualPortsFolder(), ports + "/");
        for (const char* name : {"ttySIM10", "ttySIM2"})
            ASSERT_EQ(symlink("/dev/null", (ports + "/" + name).c_str()), 0);
        std::string text = "  Simulated drive  \nsecond line\n";
        WriteBytes(ports + "/ttySIM2.description", std::vector<unsigned char>(text.begin(), text.end()));
        WriteBytes(ports + "/notalink", {});
        ASSERT_EQ(symlink("/dev/null", (ports + "/ttySIM3.new.77").c_str()), 0); // being put in place
    }
    void TearDown() override { SetTtyDeviceSourceForTesting(nullptr); }
};

TEST_F(VirtualPortsTest, ListedAfterTheRealPortsInOrder) {
    SetTtyDeviceSourceForTesting([] {
        return std::vector<TtyDeviceInfo>{
            {"ttyUSB10", true, "", "Adapter", "ftdi_sio", "usb", "usb-serial"},
            {"tty1", false, "", "", "", "", ""},                   // virtual console: no parent
            {"ttyS3", true, "", "", "serial8250", "", "platform"}, // placeholder legacy UART
            {"ttyUSB9", true, "", "Adapter", "ftdi_sio", "usb", "usb-serial"},
            {"ttyS0", true, "", "", "serial", "", "pnp"},
        };
    });
    std::vector<std::string> entries;
    for (const PortInfo& port : EnumeratePorts())
        entries.push_back(PortEntry(port));
    EXPECT_EQ(entries, (std::vector<std::string>{"ttyS0 : Communications Port", "ttyUSB9 : Adapter (USB)",
                                                 "ttyUSB10 : Adapter (USB)", "ttySIM2 : Simulated drive",
                                                 "ttySIM10 : Virtual Port"}));
}

TEST_F(VirtualPortsTest, DevicePathIsTheLinkForAVirtualPort) {
    EXPECT_EQ(PortDevicePath("ttySIM2"), ports + "/ttySIM2");
    EXPECT_EQ(PortDevicePath("ttyUSB0"), "/dev/ttyUSB0");
    EXPECT_EQ(PortDevicePath("notalink"), "/dev/notalink");
}

TEST(Ports, RealUdevEnumerationAndMonitorDoNotFail) {
    // Whatever the machine has: every listed device has a name and a description.
    for (const PortInfo& port : CombinePorts(UdevTtyDevices(), ""))
        EXPECT_FALSE(port.name.empty() || port.description.empty());
    CPortMonitor monitor;
    if (monitor.Open()) {
        EXPECT_GE(monitor.Fd(), 0);
        EXPECT_FALSE(monitor.ReadEvent()); // nothing plugged in during the test
    }
}
