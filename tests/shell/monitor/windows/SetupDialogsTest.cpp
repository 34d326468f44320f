// The status-bar set-up and Project Mode dialogs, and the RAM editor against the simulated drive
// with injected faults.
#include "WindowsFixture.h"

#include "framework/ui/ComboBox.h"
#include "resources/ids/monitor.h"
#include "shell/ShellGlobals.h"
#include "shell/monitor/DebugDlg.h"
#include "shell/monitor/EditRAMDlg.h"
#include "shell/monitor/StatusbarSetDlg.h"

#include <fstream>
#include <sstream>

namespace {

using SetupDialogs = WindowsFixture;

TEST_F(SetupDialogs, StatusbarSetReturnsTheChosenPaneKinds) {
    const std::array<int, 9> given{0, 1, 2, 3, 4, 5, 6, 7, 11};
    {
        CStatusbarSetDlg dialog(given);
        ui::ModalScript hook({}, [](CDialog& d) {
            auto* first = dynamic_cast<CComboBox*>(d.GetDlgItem(IDC_STATUSBAR_FIELD_FIRST));
            auto* last = dynamic_cast<CComboBox*>(d.GetDlgItem(IDC_STATUSBAR_FIELD_FIRST + 8));
            ASSERT_TRUE(first && last);
            ASSERT_EQ(first->GetCount(), 11);
            EXPECT_EQ(first->GetLBText(0), "Servo Status");
            EXPECT_EQ(first->GetLBText(10), "Motor Type");
            EXPECT_EQ(first->GetCurSel(), 0);
            EXPECT_EQ(last->GetCurSel(), CB_ERR) << "a stored kind outside the list shows no choice";
            first->SetCurSel(10);
            ui::Press(d, IDOK);
        });
        ASSERT_EQ(dialog.DoModal(), IDOK);
        EXPECT_EQ(dialog.Kinds(), (std::array<int, 9>{10, 1, 2, 3, 4, 5, 6, 7, 11}));
    }
    {
        CStatusbarSetDlg dialog(given);
        ui::ModalScript hook({}, [](CDialog& d) {
            dynamic_cast<CComboBox*>(d.GetDlgItem(IDC_STATUSBAR_FIELD_FIRST + 3))->SetCurSel(9);
            ui::Press(d, IDCANCEL);
        });
        ASSERT_EQ(dialog.DoModal(), IDCANCEL);
        EXPECT_EQ(dialog.Kinds(), given);
    }
}

TEST_F(SetupDialogs, ProjectModeTakesOnlyTheBrandsCode) {
    struct Case {
        int brand;
        const char* typed;
        bool accepted;
    };
    const Case cases[] = {
        {BrandNormal, "QUARVELM", true}, {BrandNormal, "QUARVELm", false}, {BrandNormal, "QUARVELM ", false},
        {BrandNormal, "ZENTOB", false},  {BrandOem, "ZENTOB", true},       {BrandOem, "QUARVELM", false},
        {BrandOem, "", false},
    };
    const int savedBrand = BrandMode;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.typed) + " brand " + std::to_string(c.brand));
        BrandMode = c.brand;
        DebugModeFlag = c.accepted ? 0 : 1; // a wrong code also ends a Project Mode that was on
        messages.Clear();
        CDebugDlg dialog;
        ui::ModalScript hook({}, [&c](CDialog& d) {
            d.SetDlgItemText(IDC_PROJECT_MODE_CODE, c.typed);
            ui::Press(d, IDOK);
        });
        EXPECT_EQ(dialog.DoModal(), IDOK);
        EXPECT_EQ(DebugModeFlag, c.accepted ? 1 : 0);
        ASSERT_EQ(messages.Shown().size(), 1u);
        EXPECT_EQ(messages.Shown()[0].text, c.accepted ? "Enter Debug Mode!" : "Security Code Error!");
        EXPECT_EQ(messages.Shown()[0].type, MB_OK);
    }
    // Cancel changes nothing.
    DebugModeFlag = 1;
    messages.Clear();
    CDebugDlg dialog;
    ui::ModalScript hook({}, [](CDialog& d) {
        d.SetDlgItemText(IDC_PROJECT_MODE_CODE, "wrong");
        ui::Press(d, IDCANCEL);
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(DebugModeFlag, 1);
    EXPECT_TRUE(messages.Shown().empty());
    DebugModeFlag = 0;
    BrandMode = savedBrand;
}

struct RamEditor : WindowsFixture {
    // Every pair holds a value of its own, with both words non-zero and some negative.
    static std::int32_t PatternValue(int pair) { return static_cast<std::int32_t>(0x9E3779B1u * (pair + 1)); }
    void FillDrive() {
        for (int k = 0; k < RamPairCount; ++k) {
            drive.SetRegister(static_cast<uint16_t>(RamPairAddress(k)), RamHighWord(PatternValue(k)));
            drive.SetRegister(static_cast<uint16_t>(RamPairAddress(k) + 1), RamLowWord(PatternValue(k)));
        }
    }
    std::int32_t DrivePair(int k) const {
        return RamPairValue(drive.GetRegister(static_cast<uint16_t>(RamPairAddress(k))),
                            drive.GetRegister(static_cast<uint16_t>(RamPairAddress(k) + 1)));
    }
    RamValues Pattern() const {
        RamValues values;
        for (int k = 0; k < RamPairCount; ++k)
            values[k] = PatternValue(k);
        return values;
    }
    bool AnyWrite() const {
        for (const std::string& request : drive.RequestLog())
            if (!request.empty() && request[0] == 'W')
                return true;
        return false;
    }
};

TEST_F(RamEditor, ReadAndSaveThenOpenAndWriteRoundTrip) {
    FillDrive();
    messages.AnswerFile(File("ram.csv"));
    {
        CEditRAMDlg dialog(services);
        ui::ModalScript hook({}, [](CDialog& d) {
            ui::Press(d, IDC_RAM_READ_SAVE);
            ui::Press(d, IDOK);
        });
        ASSERT_EQ(dialog.DoModal(), IDOK);
    }
    EXPECT_TRUE(messages.Shown().empty());
    ASSERT_EQ(messages.FileRequests().size(), 1u);
    EXPECT_EQ(messages.FileRequests()[0].filter, "Ram file (*.csv)|*.csv||");
    EXPECT_FALSE(messages.FileRequests()[0].open);
    std::stringstream saved;
    saved << std::ifstream(File("ram.csv"), std::ios::binary).rdbuf();
    EXPECT_EQ(saved.str(), RamWordsCsvText(Pattern()));
    EXPECT_EQ(progress.opened, 1);
    EXPECT_FALSE(progress.open);
    EXPECT_EQ(progress.range, 4096);
    EXPECT_EQ(progress.lastText, "Reading date from Servo...: 03E9H");
    EXPECT_EQ(services.ViewBusyFlag, 0);

    // The file back to a cleared drive, with pair 1 changed to -1.
    std::string text = saved.str();
    const std::size_t line2 = text.find('\n') + 1;
    text.replace(line2, text.find('\n', line2) - line2, "6002,-1");
    std::ofstream(File("edited.csv"), std::ios::binary) << text;
    for (int address = RamFirstAddress; address < RamFirstAddress + 2 * RamPairCount; ++address)
        drive.SetRegister(static_cast<uint16_t>(address), 0);
    messages.AnswerFile(File("edited.csv"));
    {
        CEditRAMDlg dialog(services);
        ui::ModalScript hook({}, [](CDialog& d) {
            ui::Press(d, IDC_RAM_WRITE); // does nothing
            ui::Press(d, IDC_RAM_OPEN_WRITE);
            ui::Press(d, IDCANCEL);
        });
        ASSERT_EQ(dialog.DoModal(), IDCANCEL);
    }
    EXPECT_TRUE(messages.Shown().empty());
    EXPECT_EQ(drive.GetRegister(0x6002), 0xFFFF);
    EXPECT_EQ(drive.GetRegister(0x6003), 0xFFFF);
    for (int k : {0, 2, 500, RamPairCount - 1})
        EXPECT_EQ(DrivePair(k), PatternValue(k)) << k;
    EXPECT_EQ(services.ViewBusyFlag, 0);
}

TEST_F(RamEditor, AFailedReadSavesNothing) {
    FillDrive();
    drive.AddFault(
        {.kind = SimFaultKind::Refuse, .address = 0x6101, .requestKind = SimRequestKind::MakerRead});
    messages.AnswerFile(File("ram.csv"));
    CEditRAMDlg dialog(services);
    dialog.OnReadAndSave();
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_EQ(messages.Shown()[0].text, "Error:\n\nReading date from Servo...: 0080H");
    EXPECT_EQ(messages.Shown()[0].caption, "Communication Message");
    EXPECT_EQ(messages.Shown()[0].type, MB_OK | MB_ICONSTOP);
    EXPECT_TRUE(messages.FileRequests().empty()) << "no file is offered for a partial read";
    EXPECT_FALSE(std::filesystem::exists(File("ram.csv")));
    EXPECT_FALSE(progress.open);
    EXPECT_EQ(services.ViewBusyFlag, 0);
    EXPECT_EQ(ConnectedFlag, 1) << "a refused read leaves the link up";
}

TEST_F(RamEditor, AShortOrDamagedFileIsRefusedBeforeAnythingIsWritten) {
    const std::string full = RamWordsCsvText(Pattern());
    std::string tenLines;
    for (std::size_t at = 0, n = 0; n < 10; ++n) {
        const std::size_t end = full.find('\n', at) + 1;
        tenLines += full.substr(at, end - at);
        at = end;
    }
    std::string damaged = full;
    damaged.replace(damaged.find("6004,"), 5, "6004;");
    for (const std::string& bytes : {tenLines, damaged}) {
        std::ofstream(File("bad.csv"), std::ios::binary) << bytes;
        messages.Clear();
        messages.AnswerFile(File("bad.csv"));
        CEditRAMDlg dialog(services);
        dialog.OnOpenAndWrite();
        ASSERT_EQ(messages.Shown().size(), 1u);
        EXPECT_EQ(messages.Shown()[0].type, MB_OK | MB_ICONSTOP);
        EXPECT_FALSE(AnyWrite());
    }
}

TEST_F(RamEditor, ARefusedOrLostWriteStopsAndIsReported) {
    std::ofstream(File("ram.csv"), std::ios::binary) << RamWordsCsvText(Pattern());
    // The low word of pair 8 refused: pairs 0..7 and the high word of pair 8 are written, nothing after.
    drive.AddFault(
        {.kind = SimFaultKind::Refuse, .address = 0x6011, .requestKind = SimRequestKind::MakerWrite});
    messages.AnswerFile(File("ram.csv"));
    CEditRAMDlg(services).OnOpenAndWrite();
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_EQ(messages.Shown()[0].text, "Write Failed!");
    EXPECT_EQ(DrivePair(7), PatternValue(7));
    EXPECT_EQ(drive.GetRegister(0x6010), RamHighWord(PatternValue(8)));
    EXPECT_EQ(drive.GetRegister(0x6011), 0);
    EXPECT_EQ(DrivePair(9), 0);
    EXPECT_EQ(services.ViewBusyFlag, 0);
    EXPECT_FALSE(progress.open);

    // A refused high word stops as well (it used to be skipped without a word).
    drive.ClearFaults();
    drive.AddFault(
        {.kind = SimFaultKind::Refuse, .address = 0x6000, .requestKind = SimRequestKind::MakerWrite});
    drive.ClearLog();
    messages.Clear();
    messages.AnswerFile(File("ram.csv"));
    CEditRAMDlg(services).OnOpenAndWrite();
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_EQ(messages.Shown()[0].text, "Write Failed!");
    EXPECT_EQ(drive.RequestLog().size(), 1u);

    // The link lost in the middle: the transfer ends and says so.
    drive.ClearFaults();
    drive.AddFault(
        {.kind = SimFaultKind::Silent, .address = 0x6041, .requestKind = SimRequestKind::MakerWrite});
    messages.Clear();
    messages.AnswerFile(File("ram.csv"));
    CEditRAMDlg(services).OnOpenAndWrite();
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_EQ(messages.Shown()[0].text, "Write Failed!");
    EXPECT_EQ(DrivePair(0x21), 0);
}

} // namespace
