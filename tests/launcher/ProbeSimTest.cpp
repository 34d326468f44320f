// The probe on real pseudo-terminals against the simulated drive.
#include "launcher/PortProbeFlow.h"

#include "link/InternalCode.h"
#include "link/SerialExt.h"
#include "link/handoff/HandoffFile.h"
#include "tests/launcher/LauncherTestSupport.h"

#include <gtest/gtest.h>

namespace {

// Real ports, recorded controls.
class ProbeOnly : public CPortProbeFlow {
protected:
    void SetAutoDetectCheck(bool) override {}
    void EnableAutoDetectCheck(bool) override {}
    void EnableSeriesList(bool) override {}
    void ShowSeries() override {}
    void TakeSeries() override {}
    void ReportDriveNotFound() override {}
};

class ProbeSimTest : public ::testing::Test {
protected:
    CSimDrive& Serve(int series, const std::string& name, const std::string& description) {
        return ports.Serve(series, name, description);
    }

    TempRuntimeFolder temp;
    SimPorts ports;
};

TEST_F(ProbeSimTest, EachDriveSeriesIsFoundAndHandedOverUnderItsCode) {
    // Drive series -> series index in the launcher's list -> hand-off code.
    struct Row {
        int series;
        int seriesIndex;
        const char* code;
    };
    const Row rows[] = {{4, 0, "1"}, {5, 1, "2"}, {9, 2, "6"}, {6, 3, "3"}, {8, 4, "5"}, {7, 5, "4"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.series);
        CSimDrive& drive = Serve(row.series, "ttyUSB0", "USB-SERIAL CH340");
        ProbeOnly flow;
        ASSERT_EQ(flow.EnumerateSerialPorts(), 0);
        flow.ProbeDrive();
        EXPECT_EQ(flow.SeriesIndex, row.seriesIndex);
        EXPECT_EQ(flow.SelectedEntryIndex, 0);
        EXPECT_EQ(HandoffSeriesCode(flow.SeriesIndex), row.code);
        EXPECT_EQ(drive.RequestLog(), (std::vector<std::string>{"R1171D60"}));
        EXPECT_FALSE(PortObject.IsOpen());
        // The series the main program then adopts is the drive's own.
        ASSERT_TRUE(WriteHandoffFile(flow.SeriesIndex, 1, flow.SelectedEntryText, flow.SelectedEntryIndex));
        auto request = ReadHandoffFile();
        ASSERT_TRUE(request);
        EXPECT_EQ(request->seriesCode, row.series);
        ports.Clear();
    }
}

TEST_F(ProbeSimTest, SilentPortIsSkippedAndTheSecondPortAnswers) {
    CSimDrive& silent = Serve(4, "ttyS0", "Serial Port");
    silent.AddFault({.kind = SimFaultKind::Silent});
    CSimDrive& answering = Serve(8, "ttyUSB0", "USB-SERIAL CH340");

    ProbeOnly flow;
    ASSERT_EQ(flow.EnumerateSerialPorts(), 0);
    flow.ProbeDrive();
    EXPECT_EQ(flow.SelectedEntryIndex, 1);
    EXPECT_EQ(flow.SeriesIndex, 4);
    EXPECT_EQ(flow.SelectedEntryText, "ttyUSB0 : USB-SERIAL CH340");
    EXPECT_EQ(silent.RequestLog().size(), 2u) << "a plain serial port is asked twice";
    EXPECT_EQ(answering.RequestLog().size(), 1u);

    ASSERT_TRUE(WriteHandoffFile(flow.SeriesIndex, 1, flow.SelectedEntryText, flow.SelectedEntryIndex));
    auto request = ReadHandoffFile();
    ASSERT_TRUE(request);
    EXPECT_EQ(request->lines, (std::vector<std::string>{"5", "1", "ttyUSB0 : USB-SERIAL CH340", "1"}));
}

TEST_F(ProbeSimTest, UnknownModelCodeIsNoDrive) {
    CSimDrive& drive = Serve(4, "ttyUSB0", "USB-SERIAL CH340");
    drive.SetRegister(kModelCodeRegister, 0x0201);
    ProbeOnly flow;
    flow.EnumerateSerialPorts();
    flow.ProbeDrive();
    EXPECT_EQ(flow.SeriesIndex, -1);
    EXPECT_FALSE(PortObject.IsOpen());
}

TEST_F(ProbeSimTest, OnlyAGoodReplyCounts) {
    struct Row {
        const char* what;
        SimFaultKind fault;
        int result;
        unsigned char flagAfter;
    };
    const Row rows[] = {
        {"good", SimFaultKind::Delay, ReplyRead, 1},
        {"refused", SimFaultKind::Refuse, ReplyFailed, 1},
        {"bad checksum", SimFaultKind::BadChecksum, ReplyFailed, 0},
        {"cut short", SimFaultKind::Truncate, ReplyFailed, 0},
        {"garbage", SimFaultKind::Garbage, ReplyFailed, 0},
        {"silent", SimFaultKind::Silent, ReplyFailed, 0},
    };
    CSimDrive& drive = Serve(4, "ttyUSB0", "USB-SERIAL CH340");
    ASSERT_EQ(PortObject.Open(PortDevicePath("ttyUSB0").c_str(), 9600, 500, 20000, 20000), 0);
    PortObject.SetupReadTimer(9600, 200);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        drive.ClearFaults();
        drive.AddFault({.kind = row.fault, .delay = std::chrono::milliseconds(1)});
        char request[8];
        char reply[80] = {};
        CInternalCode::BuildReadWord(request, kModelCodeRegister);
        unsigned char flag = 1;
        EXPECT_EQ(ProbeSendCommand(request, 8, reply, 7, &flag), row.result);
        EXPECT_EQ(flag, row.flagAfter);
        EXPECT_TRUE(PortObject.IsOpen()) << "the launcher never closes the port on a bad reply";
        EXPECT_FALSE(PortObject.PortMutex.IsOwnedByCaller());
    }
    PortObject.Close();
}

} // namespace
