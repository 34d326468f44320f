#include "launcher/ClientFlow.h"

#include "link/InternalCode.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>

namespace {

// How a scripted port behaves.
struct FakePort {
    std::string description;
    bool opens = true;
    std::vector<int> answers; // model code per exchange; -1 = silent
};

// The flow with scripted ports and controls: it records what the window would show.
class FakeFlow : public CClientFlow {
public:
    std::map<std::string, FakePort> ports;
    std::vector<std::string> opened;
    std::map<std::string, int> exchanges;
    bool checked = false;
    bool checkEnabled = true;
    bool listEnabled = true;
    int listSelection = 0;
    int shownSeries = -100;
    int notFoundReports = 0;
    bool portOpen = false;

    void Plug(const std::string& name, const std::string& description, std::vector<int> answers = {}) {
        ports[name] = {description, true, std::move(answers)};
    }

protected:
    std::vector<PortInfo> ListPorts() override {
        std::vector<PortInfo> list;
        for (auto& [name, port] : ports)
            list.push_back({name, port.description, false});
        return list;
    }
    bool OpenProbePort(const std::string& name) override {
        EXPECT_FALSE(portOpen) << "the previous port was left open";
        auto it = ports.find(name);
        if (it == ports.end() || !it->second.opens)
            return false;
        opened.push_back(name);
        portOpen = true;
        return true;
    }
    int ProbeExchange(const char* request, int length, char* reply, int expected) override {
        EXPECT_TRUE(portOpen);
        EXPECT_EQ(std::string(request, length), "R1171D60");
        EXPECT_EQ(expected, 7);
        const std::string& name = opened.back();
        int n = exchanges[name]++;
        const auto& answers = ports[name].answers;
        int code = n < static_cast<int>(answers.size()) ? answers[n] : -1;
        if (code < 0)
            return ReplyFailed;
        char text[16];
        std::snprintf(text, sizeof text, "%%%04X", static_cast<unsigned>(code) & 0xFFFFu);
        std::memcpy(reply, text, 5);
        CInternalCode::AppendChecksum(reply, 5);
        return ReplyRead;
    }
    void CloseProbePort() override { portOpen = false; }
    void SetAutoDetectCheck(bool on) override { checked = on; }
    void EnableAutoDetectCheck(bool on) override { checkEnabled = on; }
    void EnableSeriesList(bool on) override { listEnabled = on; }
    void ShowSeries() override { shownSeries = SeriesIndex; }
    void TakeSeries() override { SeriesIndex = listSelection; }
    void ReportDriveNotFound() override { ++notFoundReports; }
};

TEST(ModelCodeToSeries, TableOfTheSixSeries) {
    const std::pair<int, int> rows[] = {{0x0202, 0}, {0x0204, 1},  {0x0502, 2}, {0x0400, 3}, {0x0302, 4},
                                        {0x0303, 5}, {0x0201, -1}, {0, -1},     {-1, -1},    {0x10202, -1}};
    for (auto [code, series] : rows)
        EXPECT_EQ(ModelCodeToSeries(code), series) << std::hex << code;
}

TEST(ClientFlow, EnumerationChoosesTheFirstSuitablePort) {
    FakeFlow flow;
    flow.Plug("ttyS4", "Communications Port");
    flow.Plug("ttyUSB3", "USB-SERIAL CH340");
    flow.Plug("ttyS10", "Serial Port");
    flow.Plug("ttyUSB1", "USB-SERIAL CH340");
    EXPECT_EQ(flow.EnumerateSerialPorts(), 1);
    EXPECT_EQ(flow.PortEntryList,
              (std::vector<std::string>{"ttyS4 : Communications Port", "ttyS10 : Serial Port",
                                        "ttyUSB1 : USB-SERIAL CH340", "ttyUSB3 : USB-SERIAL CH340"}));
    EXPECT_EQ(flow.SelectedEntryText, "ttyS10 : Serial Port");
    EXPECT_EQ(flow.Adapter, AdapterKind::PlainSerial);

    flow.ports.clear();
    flow.Plug("ttyS4", "Communications Port");
    EXPECT_EQ(flow.EnumerateSerialPorts(), -1);
    EXPECT_EQ(flow.SelectedEntryText, "ttyS10 : Serial Port") << "kept from the last choice";
    EXPECT_EQ(flow.Adapter, AdapterKind::None);
}

TEST(ClientFlow, ProbeTakesTheFirstPortThatAnswers) {
    FakeFlow flow;
    flow.Plug("ttyS4", "Communications Port", {0x0302}); // never asked: not suitable
    flow.Plug("ttyUSB0", "USB-SERIAL CH340");            // silent: asked once
    flow.Plug("ttyUSB1", "ZR2 drive USB", {0x0302});
    flow.EnumerateSerialPorts();
    flow.ProbeDrive();
    EXPECT_EQ(flow.SeriesIndex, 4);
    EXPECT_EQ(flow.SelectedEntryIndex, 2);
    EXPECT_EQ(flow.SelectedEntryText, "ttyUSB1 : ZR2 drive USB");
    EXPECT_EQ(flow.Adapter, AdapterKind::Zr2);
    EXPECT_EQ(flow.opened, (std::vector<std::string>{"ttyUSB0", "ttyUSB1"}));
    EXPECT_EQ(flow.exchanges["ttyUSB0"], 1);
    EXPECT_FALSE(flow.portOpen);
}

TEST(ClientFlow, OnlyAPlainSerialPortIsAskedTwice) {
    FakeFlow flow;
    flow.Plug("ttyS0", "Serial Port", {-1, 0x0400});
    flow.Plug("ttyUSB0", "USB-SERIAL CH340", {-1, 0x0202});
    flow.EnumerateSerialPorts();
    flow.ProbeDrive();
    EXPECT_EQ(flow.SeriesIndex, 3);
    EXPECT_EQ(flow.SelectedEntryIndex, 0);
    EXPECT_EQ(flow.exchanges["ttyS0"], 2);
    EXPECT_EQ(flow.exchanges.count("ttyUSB0"), 0u);

    FakeFlow usbOnly;
    usbOnly.Plug("ttyUSB0", "USB-SERIAL CH340", {-1, 0x0202});
    usbOnly.EnumerateSerialPorts();
    usbOnly.ProbeDrive();
    EXPECT_EQ(usbOnly.SeriesIndex, -1);
    EXPECT_EQ(usbOnly.exchanges["ttyUSB0"], 1);
}

TEST(ClientFlow, FailedProbeLeavesTheLastTriedEntryAndNoSeries) {
    struct Row {
        const char* what;
        std::vector<std::pair<const char*, FakePort>> ports;
        int series;
        int index;
        const char* text;
        AdapterKind adapter;
    };
    const Row rows[] = {
        {"unknown model code: a port answered, yet no drive",
         {{"ttyUSB0", {"USB-SERIAL CH340", true, {0x0201}}}},
         -1,
         0,
         "ttyUSB0 : USB-SERIAL CH340",
         AdapterKind::Ch34},
        {"silent ports: the last suitable one is remembered",
         {{"ttyS0", {"Serial Port", true, {}}}, {"ttyUSB0", {"USB-SERIAL CH340", true, {}}}},
         -1,
         -1,
         "ttyUSB0 : USB-SERIAL CH340",
         AdapterKind::Ch34},
        {"a port that does not open is passed over",
         {{"ttyUSB0", {"USB-SERIAL CH340", false, {0x0202}}}},
         -1,
         -1,
         "ttyUSB0 : USB-SERIAL CH340",
         AdapterKind::Ch34},
        {"last entry not suitable: no adapter",
         {{"ttyS0", {"Serial Port", true, {}}}, {"ttyS9", {"Communications Port", true, {}}}},
         -1,
         -1,
         "ttyS0 : Serial Port",
         AdapterKind::None},
        {"nothing suitable: empty text",
         {{"ttyS9", {"Communications Port", true, {}}}},
         -1,
         -1,
         "",
         AdapterKind::None},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        FakeFlow flow;
        for (auto& [name, port] : row.ports)
            flow.ports[name] = port;
        flow.SelectedEntryText = "stale";
        flow.EnumerateSerialPorts();
        flow.ProbeDrive();
        EXPECT_EQ(flow.SeriesIndex, row.series);
        EXPECT_EQ(flow.SelectedEntryIndex, row.index);
        EXPECT_EQ(flow.SelectedEntryText, row.text);
        EXPECT_EQ(flow.Adapter, row.adapter);
        EXPECT_FALSE(flow.portOpen);
    }
}

TEST(ClientFlow, TickingTheBoxDetectsOrFallsBackToManual) {
    FakeFlow flow;
    flow.Plug("ttyUSB0", "USB-SERIAL CH340", {0x0303});
    flow.SelectedEntryIndex = flow.EnumerateSerialPorts();
    flow.checked = true;
    flow.AutoDetectClicked(true);
    EXPECT_EQ(flow.AutoDetectFlag, 1);
    EXPECT_FALSE(flow.listEnabled);
    EXPECT_EQ(flow.shownSeries, 5);
    EXPECT_EQ(flow.notFoundReports, 0);

    flow.checked = false;
    flow.AutoDetectClicked(false);
    EXPECT_EQ(flow.AutoDetectFlag, 0);
    EXPECT_TRUE(flow.listEnabled);
    EXPECT_EQ(flow.SelectedEntryIndex, 0);

    flow.ports["ttyUSB0"].answers.clear(); // the drive went quiet
    flow.checked = true;
    flow.AutoDetectClicked(true);
    EXPECT_EQ(flow.notFoundReports, 1);
    EXPECT_EQ(flow.AutoDetectFlag, 0);
    EXPECT_FALSE(flow.checked);
    EXPECT_TRUE(flow.listEnabled);
}

TEST(ClientFlow, HandOverProbesAgainInAutomaticModeOnly) {
    FakeFlow flow;
    flow.Plug("ttyUSB0", "USB-SERIAL CH340", {0x0502});
    flow.listSelection = 3;
    EXPECT_TRUE(flow.PrepareHandOver());
    EXPECT_EQ(flow.SeriesIndex, 3);
    EXPECT_TRUE(flow.opened.empty()) << "manual mode asks no drive";

    flow.EnumerateSerialPorts();
    flow.AutoDetectFlag = 1;
    flow.checked = true;
    EXPECT_TRUE(flow.PrepareHandOver());
    EXPECT_EQ(flow.SeriesIndex, 2);
    EXPECT_EQ(flow.shownSeries, 2);

    flow.ports.clear(); // unplugged since the box was ticked
    EXPECT_FALSE(flow.PrepareHandOver());
    EXPECT_EQ(flow.notFoundReports, 1);
    EXPECT_EQ(flow.AutoDetectFlag, 1) << "the dialog stays open in automatic mode";
    EXPECT_TRUE(flow.checked);
}

// The device watch as a scripted sequence of events.
TEST(ClientFlow, DeviceEventsFollowPlugAndUnplug) {
    FakeFlow flow;
    flow.SelectedEntryIndex = flow.EnumerateSerialPorts();
    flow.checkEnabled = false;
    ASSERT_EQ(flow.SelectedEntryIndex, -1);

    // Arrival in manual mode: re-enumerate, box usable.
    flow.Plug("ttyUSB0", "USB-SERIAL CH340", {0x0202});
    flow.DeviceArrived("ttyUSB0");
    EXPECT_EQ(flow.SelectedEntryIndex, 0);
    EXPECT_TRUE(flow.checkEnabled);
    EXPECT_FALSE(flow.checked);

    // A non-serial event changes nothing.
    flow.Plug("ttyS0", "Serial Port");
    flow.DeviceArrived("");
    flow.DeviceArrived("sda1");
    flow.DeviceRemoved("hidraw0");
    EXPECT_EQ(flow.PortEntryList.size(), 1u);

    // Arrival in automatic mode changes nothing either.
    flow.checked = true;
    flow.AutoDetectClicked(true);
    ASSERT_EQ(flow.AutoDetectFlag, 1);
    flow.DeviceArrived("ttyS0");
    EXPECT_EQ(flow.PortEntryList.size(), 1u);
    EXPECT_TRUE(flow.checked);

    // Removal in automatic mode with a drive still present: probed again, still automatic.
    flow.ports.erase("ttyS0");
    flow.Plug("ttyUSB5", "ZR2 drive USB", {0x0204});
    flow.ports.erase("ttyUSB0");
    flow.DeviceRemoved("ttyUSB0");
    EXPECT_EQ(flow.AutoDetectFlag, 1);
    EXPECT_EQ(flow.SeriesIndex, 1);
    EXPECT_EQ(flow.shownSeries, 1);
    EXPECT_EQ(flow.SelectedEntryText, "ttyUSB5 : ZR2 drive USB");

    // Removal of the last drive port: back to manual, box disabled, no message.
    flow.ports.clear();
    flow.DeviceRemoved("ttyUSB5");
    EXPECT_EQ(flow.AutoDetectFlag, 0);
    EXPECT_FALSE(flow.checked);
    EXPECT_FALSE(flow.checkEnabled);
    EXPECT_TRUE(flow.listEnabled);
    EXPECT_EQ(flow.notFoundReports, 0);
}

TEST(ClientFlow, RemovalInAutomaticModeWhenTheDriveStopsAnswering) {
    FakeFlow flow;
    flow.Plug("ttyUSB0", "USB-SERIAL CH340", {0x0202});
    flow.Plug("ttyUSB1", "USB-SERIAL CH340");
    flow.EnumerateSerialPorts();
    flow.checked = true;
    flow.AutoDetectClicked(true);
    ASSERT_EQ(flow.SelectedEntryIndex, 0);
    flow.ports.erase("ttyUSB0");
    flow.DeviceRemoved("ttyUSB0");
    EXPECT_EQ(flow.AutoDetectFlag, 0);
    EXPECT_FALSE(flow.checked);
    EXPECT_TRUE(flow.listEnabled);
    // The silent adapter is still there, so the box stays usable.
    EXPECT_TRUE(flow.checkEnabled);
    EXPECT_EQ(flow.notFoundReports, 0);
}

} // namespace
