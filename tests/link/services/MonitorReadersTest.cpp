// The monitor cycle readers against the simulated drive, with recording window sinks.
#include "ServicesFixture.h"

#include "link/services/MonitorReaders.h"

namespace {

struct AlarmSink : IAlarmSink {
    void ShowAlarmHistory(const std::array<int, AlarmHistoryCount>& c,
                          const std::array<std::string, AlarmHistoryCount>& t) override {
        codes = c;
        texts = t;
        ++shown;
    }
    std::array<int, AlarmHistoryCount> codes{};
    std::array<std::string, AlarmHistoryCount> texts;
    int shown = 0;
};

struct DiagnosticsSink : IDiagnosticsSink {
    void SetDiagnostics(const DiagnosticsFrame& f) override {
        frame = f;
        calls.push_back("texts");
    }
    void ShowIoLabels() override { calls.push_back("labels"); }
    void ShowIoStates() override { calls.push_back("states"); }
    DiagnosticsFrame frame;
    std::vector<std::string> calls;
};

struct LifeSink : ILifeSink {
    void SetLifeValues(const std::array<int, LifeItemCount>& v, bool r) override {
        values = v;
        repaint = r;
        ++shown;
    }
    std::array<int, LifeItemCount> values{};
    bool repaint = false;
    int shown = 0;
};

struct ListSink : IMonitorListSink {
    int RowItemIndex(int row) const override { return indexes[row]; }
    bool RowEnabled(int row) const override { return enabled[row]; }
    void SetRowTexts(const std::array<std::string, MonitorRowCount>& t) override {
        texts = t;
        ++shown;
    }
    std::array<int, MonitorRowCount> indexes{};
    std::array<bool, MonitorRowCount> enabled{};
    std::array<std::string, MonitorRowCount> texts;
    int shown = 0;
};

struct Readers : ServicesFixture {
    CMonitorReaders readers{services};
};

TEST_F(Readers, NothingIsReadWhileNotConnected) {
    ListSink list;
    list.indexes[0] = 1001;
    list.enabled[0] = true;
    readers.MonitorListWindow = &list;
    readers.AlarmReadRequest = 1;
    readers.ContactReadRequest = 1;
    ConnectedFlag = 0;
    EXPECT_EQ(readers.ReadAlarmHistory(), 0);
    EXPECT_EQ(readers.RefreshDiagnosticsDisplay(), 0);
    EXPECT_EQ(readers.RefreshLifeData(), 0);
    EXPECT_EQ(readers.RefreshMonitorDisplay(), 0);
    EXPECT_TRUE(Requests().empty());
    EXPECT_EQ(readers.AlarmReadRequest, 1);
}

TEST_F(Readers, AlarmHistoryWhenRequested) {
    AlarmSink sink;
    readers.AlarmWindow = &sink;
    EXPECT_EQ(readers.ReadAlarmHistory(), 1); // nothing asked: nothing read
    EXPECT_TRUE(Requests().empty());

    drive.SetRegister(0x1711, 5);
    for (int i = 1; i <= 9; ++i)
        drive.SetRegister(static_cast<uint16_t>(0x1200 + i), static_cast<uint16_t>(i == 9 ? 999 : 10 + i));
    readers.AlarmReadRequest = 1;
    ASSERT_EQ(readers.ReadAlarmHistory(), 1);
    EXPECT_EQ(readers.AlarmReadRequest, 0);
    EXPECT_EQ(sink.shown, 1);
    EXPECT_EQ(sink.codes[0], 5);
    EXPECT_EQ(sink.codes[9], 999);
    EXPECT_EQ(sink.texts[0], "05");
    EXPECT_EQ(sink.texts[1], "11");
    EXPECT_EQ(readers.AlarmHistory, sink.codes);
    EXPECT_EQ(Requests().front(), Maker("R11711"));
    EXPECT_EQ(Requests().back(), Maker("R11209"));
    EXPECT_EQ(progress.opened, std::vector<int>{ProgressDialogResource});
    EXPECT_EQ(progress.range, 10);
    EXPECT_EQ(progress.texts.front(), "Read Alarm Parameter: AL");
    EXPECT_EQ(progress.texts[5], "Read Alarm Parameter: A5");
    EXPECT_FALSE(progress.open);
}

TEST_F(Readers, FailedAlarmReadKeepsTheRequestAndStartsOverNextTime) {
    AlarmSink sink;
    readers.AlarmWindow = &sink;
    readers.AlarmReadRequest = 1;
    drive.RefuseAddress(0x1204); // A05
    EXPECT_EQ(readers.ReadAlarmHistory(), 0);
    EXPECT_EQ(readers.AlarmReadRequest, 1);
    EXPECT_FALSE(progress.open);
    EXPECT_EQ(sink.shown, 0);
    EXPECT_EQ(Requests().size(), 5u);
    EXPECT_TRUE(messages.Shown().empty());

    drive.RefuseAddress(0x1204, false);
    drive.ClearLog();
    ASSERT_EQ(readers.ReadAlarmHistory(), 1);
    EXPECT_EQ(Requests().front(), Maker("R11711"));
    EXPECT_EQ(Requests().size(), 10u);
}

TEST_F(Readers, DiagnosticsWithAndWithoutAContactRead) {
    DiagnosticsSink sink;
    readers.DiagnosticsWindow = &sink;
    drive.SetRegister(0x0F01, 0x10);
    drive.SetRegister(0x0F02, 0x0081);
    drive.SetRegister(0x0F03, 0x0403);
    drive.SetRegister(0x0F04, 105);
    drive.SetRegister(0x0F08, 0x0202);
    drive.SetRegister(0x0F0E, 1234);
    drive.SetRegister(0x0505, 0x0042); // Hn605
    readers.ContactReadRequest = 1;
    ASSERT_EQ(readers.RefreshDiagnosticsDisplay(), 1);
    EXPECT_EQ(Requests().size(), 24u + 14u);
    EXPECT_EQ(Requests()[24], Maker("R10F01"));
    EXPECT_EQ(Requests().back(), Maker("R10F0E"));
    EXPECT_EQ(doc.Value(DocHn, 5), 0x42);
    EXPECT_EQ(readers.ContactReadRequest, 0);
    EXPECT_EQ(sink.calls, (std::vector<std::string>{"texts", "labels", "states"}));
    const DiagnosticsFrame& f = sink.frame;
    EXPECT_EQ(f.texts[0], "10");
    EXPECT_EQ(f.texts[1], "0081H");
    EXPECT_EQ(f.texts[3], "A01.05");
    EXPECT_EQ(f.texts[7], "0202H");
    EXPECT_EQ(f.texts[13], "A12.34");
    EXPECT_EQ(f.texts[4], "");
    EXPECT_EQ(f.outputRow, "10000001");
    EXPECT_EQ(f.inputRow, "010000000011");
    EXPECT_EQ(f.outputStates, (std::array<int, 8>{1, 0, 0, 0, 0, 0, 0, 1}));
    EXPECT_EQ(f.inputStates, (std::array<int, 12>{1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0}));

    sink.calls.clear();
    drive.ClearLog();
    ASSERT_EQ(readers.RefreshDiagnosticsDisplay(), 1);
    EXPECT_EQ(Requests().size(), 14u);
    EXPECT_EQ(sink.calls, (std::vector<std::string>{"texts", "states"}));

    // A failed read ends the step; a pending contact read stays pending.
    readers.ContactReadRequest = 1;
    drive.RefuseAddress(0x0501);
    messages.Clear();
    EXPECT_EQ(readers.RefreshDiagnosticsDisplay(), 0);
    EXPECT_EQ(readers.ContactReadRequest, 1);
    drive.RefuseAddress(0x0501, false);
    drive.RefuseAddress(0x0F09);
    EXPECT_EQ(readers.RefreshDiagnosticsDisplay(), 0);
}

TEST_F(Readers, StepsReadAwayFromTheWindowShowOnlyWhenToldAndLeaveTheWindowsTransfers) {
    DiagnosticsSink diagnostics;
    AlarmSink alarm;
    readers.DiagnosticsWindow = &diagnostics;
    readers.AlarmWindow = &alarm;
    readers.ContactReadRequest = 1;
    readers.AlarmReadRequest = 1;
    drive.SetRegister(0x0F03, 0x0001);
    const CycleRead dn = readers.DiagnosticsStep(true)();
    const CycleRead history = readers.AlarmHistoryStep(true)();
    ASSERT_TRUE(dn.good);
    ASSERT_TRUE(history.good);
    EXPECT_EQ(Requests().size(), 14u + 10u) << "no contact group: a transfer of the window's thread";
    EXPECT_TRUE(diagnostics.calls.empty()) << "nothing reaches a window before the show";
    EXPECT_EQ(alarm.shown, 0);
    EXPECT_EQ(readers.AlarmReadRequest, 1);

    dn.show();
    history.show();
    EXPECT_EQ(diagnostics.calls, (std::vector<std::string>{"texts", "states"}));
    EXPECT_EQ(diagnostics.frame.inputStates[0], 1);
    EXPECT_EQ(readers.ContactReadRequest, 1)
        << "the contact group is read by a later step on the window's thread";
    EXPECT_EQ(alarm.shown, 1);
    EXPECT_EQ(readers.AlarmReadRequest, 0);

    // A window closed between the read and the show gets nothing.
    const CycleRead again = readers.DiagnosticsStep(true)();
    readers.DiagnosticsWindow = nullptr;
    again.show();
    EXPECT_EQ(diagnostics.calls.size(), 2u);
}

TEST_F(Readers, LifeData) {
    LifeSink sink;
    readers.LifeWindow = &sink;
    readers.LifeCycleCounter = 75;
    readers.LifeRepaintFlag = true;
    drive.SetRegister(0x0647, 10000);
    drive.SetRegister(0x0648, 2999);
    drive.SetRegister(0x0649, 0xFFFF);
    drive.SetRegister(0x064A, 49);
    ASSERT_EQ(readers.RefreshLifeData(), 1);
    EXPECT_EQ(sink.values, (std::array<int, 4>{10000, 2999, 65535, 49}));
    EXPECT_TRUE(sink.repaint);
    EXPECT_EQ(readers.LifeCycleCounter, 0);
    EXPECT_EQ(Requests(),
              (std::vector<std::string>{Maker("R10647"), Maker("R10648"), Maker("R10649"), Maker("R1064A")}));
    drive.ClearLog();
    drive.RefuseAddress(0x0648);
    EXPECT_EQ(readers.RefreshLifeData(), 0);
    EXPECT_EQ(Requests().size(), 2u);
    EXPECT_EQ(sink.shown, 1);
}

TEST_F(Readers, StatusListRowsAndAFailedRowKeepingItsValue) {
    ListSink list;
    readers.MonitorListWindow = &list;
    list.indexes = {1009, 1021, 1001, 2013, 0, 1007};
    list.enabled = {true, true, false, true, true, true};
    drive.SetRegister(0x060B, 1234);    // Un09
    drive.SetRegister(0x061B, 0x1A);    // Un21
    drive.SetRegister(0x0601, 55);      // Un01, row switched off
    drive.SetRegister32(0x0607, 70000); // Un07, 32-bit
    ASSERT_EQ(readers.RefreshMonitorDisplay(), 1);
    EXPECT_EQ(list.shown, 1);
    EXPECT_EQ(list.texts[0], "12.34");
    EXPECT_EQ(list.texts[1], "001A");
    EXPECT_EQ(list.texts[2], "");
    EXPECT_EQ(list.texts[4], "");
    EXPECT_EQ(list.texts[5], "70000");
    EXPECT_EQ(doc.m_Un[8], 1234);
    EXPECT_EQ(doc.m_Un[20], 0x1A);
    EXPECT_EQ(doc.m_Un[6], 70000);
    EXPECT_EQ(doc.m_Un[0], 0);
    EXPECT_EQ(Requests().front(), Maker("R1060B"));
    EXPECT_EQ(Requests().size(), 4u);

    // The Un21 read is refused: its row keeps 001A, not the value another row read.
    drive.RefuseAddress(0x061B);
    drive.SetRegister(0x060B, 5);
    ASSERT_EQ(readers.RefreshMonitorDisplay(), 1);
    EXPECT_EQ(list.texts[0], "00.05");
    EXPECT_EQ(list.texts[1], "001A");
    EXPECT_EQ(doc.m_Un[20], 0x1A);

    // A link lost during the rows fails the step and leaves the window's texts alone.
    drive.RefuseAddress(0x061B, false);
    drive.AddFault({.kind = SimFaultKind::Garbage, .address = 0x061B});
    EXPECT_EQ(readers.RefreshMonitorDisplay(), 0);
    EXPECT_EQ(list.shown, 2);
}

} // namespace
