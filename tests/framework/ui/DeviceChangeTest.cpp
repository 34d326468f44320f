// Port arrivals and removals reach registered windows as WM_DEVICECHANGE.
#include "UiTestSupport.h"

#include "framework/ui/DeviceChange.h"

#include <gtest/gtest.h>

namespace {

class CPortWatcher : public CWnd {
public:
    const MessageMap* GetMessageMap() const override {
        static const MessageMap map(CWnd::GetMessageMap(),
                                    {msg::DeviceChange(&CPortWatcher::OnDeviceChange)});
        return &map;
    }
    BOOL OnDeviceChange(UINT event, DWORD_PTR data) {
        const auto* port = reinterpret_cast<const DEV_BROADCAST_PORT*>(data);
        seen.push_back(std::string(event == DBT_DEVICEARRIVAL ? "+" : "-") + port->dbcp_name + " " +
                       port->devicePath);
        return TRUE;
    }
    std::vector<std::string> seen;
};

TEST(DeviceChange, RegisteredWindowsHearOfArrivalsAndRemovals) {
    CPortWatcher first, second, bystander;
    ASSERT_TRUE(CreateTopWindow(first));
    ASSERT_TRUE(CreateTopWindow(second));
    ASSERT_TRUE(CreateTopWindow(bystander));
    RegisterDeviceChangeWindow(&first); // the real monitor may be missing in a container; injection works
    RegisterDeviceChangeWindow(&second);
    RegisterDeviceChangeWindow(&second); // twice is once

    InjectDeviceChange(true, "ttyUSB0");
    UnregisterDeviceChangeWindow(&second);
    InjectDeviceChange(false, "ttyUSB0");

    EXPECT_EQ(first.seen, (std::vector<std::string>{"+ttyUSB0 /dev/ttyUSB0", "-ttyUSB0 /dev/ttyUSB0"}));
    EXPECT_EQ(second.seen, (std::vector<std::string>{"+ttyUSB0 /dev/ttyUSB0"}));
    EXPECT_TRUE(bystander.seen.empty());

    // A registered window that goes is simply skipped.
    first.DestroyWindow();
    InjectDeviceChange(true, "ttyACM1");
    EXPECT_EQ(first.seen.size(), 2u);
}

} // namespace
