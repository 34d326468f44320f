// The port choice dialog over real port enumeration: order, busy ports, the remembered choice.
#include "ShellUiFixture.h"

#include "framework/core/PortEnumeration.h"

#include <algorithm>

namespace {

struct ShellPortChoice : ShellUiFixture {
    void SetUp() override {
        ShellUiFixture::SetUp();
        SetTtyDeviceSourceForTesting([] {
            std::vector<TtyDeviceInfo> devices;
            for (const char* name : {"ttyUSB10", "ttyUSB9", "ttyS0"}) {
                TtyDeviceInfo device;
                device.name = name;
                device.hasParent = true;
                device.driver = name[3] == 'U' ? "ftdi_sio" : "serial8250";
                device.bus = name[3] == 'U' ? "usb" : "";
                devices.push_back(device);
            }
            return devices;
        });
    }
    void TearDown() override {
        SetTtyDeviceSourceForTesting({});
        ShellUiFixture::TearDown();
    }
    static std::string NameOf(const std::string& entry) { return PortNameFromEntry(entry); }
    std::string SimEntry() const { return portName + " : Simulated USB CDC drive"; }
    int IndexOf(const std::string& entry) const {
        const auto found = std::find(lastPortEntries.begin(), lastPortEntries.end(), entry);
        return found == lastPortEntries.end() ? -1 : static_cast<int>(found - lastPortEntries.begin());
    }
};

TEST_F(ShellPortChoice, PortsInNumericOrderBusyPortMarkedAndTheChoiceRemembered) {
    StartDrive("Simulated USB CDC drive");
    ASSERT_TRUE(StartApp()); // the start-up dialog is cancelled
    ASSERT_EQ(portDialogs, 1);
    ASSERT_EQ(lastPortEntries.size(), 4u);
    EXPECT_EQ(NameOf(lastPortEntries[0]), "ttyS0");
    EXPECT_EQ(NameOf(lastPortEntries[1]), "ttyUSB9");
    EXPECT_EQ(NameOf(lastPortEntries[2]), "ttyUSB10") << "by number, not by text";
    EXPECT_EQ(lastPortEntries[3], SimEntry());
    EXPECT_EQ(lastPortSelection, 0) << "nothing remembered yet: the first entry";
    EXPECT_FALSE(std::filesystem::exists(ProgramFolderFile("comfile.ini"))) << "Cancel keeps no choice";

    // Held by another program, the USB virtual port is marked.
    {
        CSerial other;
        ASSERT_EQ(other.Open(server.VirtualPortPath().c_str(), 9600, 500, 2048, 2048), ErrNone);
        View()->SendMessage(WM_COMMAND, ID_CONNECT);
        EXPECT_EQ(lastPortEntries[3], SimEntry() + "(using)");
        other.Close();
    }

    // Choose the drive and connect at 115200.
    portChoice = [&](CLinkComPort& dialog) {
        EXPECT_EQ(dialog.GetDlgItemText(IDOK), "Connect");
        dialog.m_PortCombo.SetCurSel(3);
        dialog.m_BaudCombo.SetCurSel(5);
        dialog.OnOK();
    };
    View()->SendMessage(WM_COMMAND, ID_CONNECT);
    EXPECT_EQ(ConnectedFlag.load(), 1);
    EXPECT_EQ(app->Settings.BaudRateIndex, 5);
    EXPECT_EQ(PortObject.GetBaudrate(), 115200);
    EXPECT_EQ(ReadBytes(ProgramFolderFile("comfile.ini")), SimEntry() + "\r\n");

    // While linked the dialog offers Disconnect with its lists locked; OK disconnects.
    bool locked = false;
    portChoice = [&](CLinkComPort& dialog) {
        EXPECT_EQ(dialog.GetDlgItemText(IDOK), "Disconnect");
        locked = !dialog.m_PortCombo.IsWindowEnabled() && !dialog.m_BaudCombo.IsWindowEnabled();
        dialog.OnOK();
    };
    View()->SendMessage(WM_COMMAND, ID_PORT_SETTING);
    EXPECT_TRUE(locked);
    EXPECT_EQ(ConnectedFlag.load(), 0);
    EXPECT_FALSE(PortObject.IsOpen());

    // Next time the remembered port is preselected.
    portChoice = nullptr;
    View()->SendMessage(WM_COMMAND, ID_CONNECT);
    EXPECT_EQ(lastPortSelection, IndexOf(SimEntry()));
    EXPECT_TRUE(messages.Shown().empty());
}

} // namespace
