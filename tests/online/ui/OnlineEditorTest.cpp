// The online editor against the simulated drive: the read-back pass, the displays and buttons each
// row offers, the live steps with their exact requests, refusals, a lost link and rows never read
// on the current link.
#include "OnlineFixture.h"

#include "tests/support/DialogDriver.h"
#include "tests/support/Screenshot.h"

#include "framework/core/Format.h"
#include "link/LinkState.h"
#include "online/OnlineSelection.h"
#include "resources/ids/online.h"
#include "sim/SimProtocol.h"

#include <QApplication>
#include <QScrollBar>
#include <QStyle>

namespace {

std::string Digits(COnLineParaEditDlg& editor, int row, bool enabled) {
    std::string digits;
    for (int d = 0; d < OnlineDigitCount; ++d) {
        CWnd* up = editor.GetDlgItem(OnlineUpButtons[static_cast<size_t>(row - 1)][static_cast<size_t>(d)]);
        CWnd* down =
            editor.GetDlgItem(OnlineDownButtons[static_cast<size_t>(row - 1)][static_cast<size_t>(d)]);
        const bool on = enabled ? up->IsWindowEnabled() && down->IsWindowEnabled()
                                : (up->GetStyle() & WS_VISIBLE) && (down->GetStyle() & WS_VISIBLE);
        if (on)
            digits += static_cast<char>('1' + d);
    }
    return digits;
}

const std::string kMotorSpeedRead = sim::WithMakerChecksum("R11101");

} // namespace

TEST_F(OnlineFixture, ATickReadsTheMotorSpeedThenTheActiveRowsInOrder) {
    OnlineSelection = {"Cn025", "", "Sn211", "", "", "", "", "Cn034"};
    SetDrive("Cn025", 123);
    SetDrive("Sn211", 40);
    SetDrive("Cn034", 160);
    Open();
    EXPECT_EQ(editor->TimerInterval(OnlineRefreshTimer), 2000);
    EXPECT_EQ(Shown(1), 123) << "the rows are read as the window opens";
    drive->SetRegister(0x1101, 4500);
    SetDrive("Sn211", 41);
    drive->ClearLog();
    Tick();
    EXPECT_EQ(Requests(),
              (std::vector<std::string>{kMotorSpeedRead, Read1("Cn025"), Read1("Sn211"), Read1("Cn034")}));
    EXPECT_EQ(view.motorMaxSpeed, 4500);
    EXPECT_EQ(Shown(3), 41);
    EXPECT_EQ(Shown(8), 160);
    EXPECT_EQ(view.services.ViewBusyFlag, 0);
}

TEST_F(OnlineFixture, AnEmptySelectionSendsNothingAndOffersNoStep) {
    Open();
    drive->ClearLog();
    Tick();
    EXPECT_TRUE(Requests().empty());
    for (int row = 1; row <= OnlineRowCount; ++row) {
        EXPECT_EQ(Digits(*editor, row, false), "12345") << row;
        EXPECT_EQ(Digits(*editor, row, true), "") << row;
        EXPECT_EQ(VisibleWidth(row), 5) << row;
    }
}

TEST_F(OnlineFixture, AFailedReadInRowTwoEndsThePassInRowFiveSkipsOnlyThatRow) {
    const OnlineCodes codes = {"Cn025", "Cn034", "Cn010", "Sn211", "Sn212", "Tn103", "", ""};
    OnlineSelection = codes;
    Open();
    drive->RefuseAddress(Register("Cn034"));
    drive->ClearLog();
    Tick();
    EXPECT_EQ(Requests(), (std::vector<std::string>{kMotorSpeedRead, Read1("Cn025"), Read1("Cn034")}));
    drive->RefuseAddress(Register("Cn034"), false);
    drive->RefuseAddress(Register("Sn212"));
    drive->ClearLog();
    Tick();
    std::vector<std::string> expected = {kMotorSpeedRead};
    for (int i = 0; i < 6; ++i)
        expected.push_back(Read1(codes[static_cast<size_t>(i)]));
    EXPECT_EQ(Requests(), expected);
}

TEST_F(OnlineFixture, ACodeOfAnotherSeriesShowsAnEmptyRow) {
    OnlineSelection = {"Cn036", "Cn025"}; // Cn036 exists in series 7 only
    Open();
    EXPECT_EQ(editor->GetDlgItemText(OnlineRowTexts[0][0]), "");
    EXPECT_EQ(editor->GetDlgItemText(OnlineRowTexts[0][1]), "");
    EXPECT_EQ(editor->GetDlgItemText(OnlineRowTexts[1][0]), "Cn025");
    EXPECT_EQ(OnlineSelection[0], "Cn036") << "the selection keeps it for its series";
    drive->ClearLog();
    Tick();
    EXPECT_EQ(Requests(), (std::vector<std::string>{kMotorSpeedRead, Read1("Cn025")}));
}

TEST_F(OnlineFixture, EachRowShowsTheDisplayAndButtonsItsLimitsReach) {
    struct Case {
        const char* code;
        int minimum;
        int maximum;
        int width;
        bool sixDigit;
        const char* digits;
    };
    const Case cases[] = {
        {"Cn025", -200, 200, 5, false, "123"},          {"Cn034", -20000, 20000, 6, true, "12345"},
        {"Cn010", -200000, 200000, 7, false, "123456"}, {"Sn212", 0, 500000, 5, false, "12345"},
        {"Pn301", 0, 0xFFFF, 5, false, "1234"},      // hexadecimal
        {"Cn024", 0, 41943040, 8, true, "12345678"}, // an 8-digit code
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        OnlineSelection[i] = cases[i].code;
        Limits(cases[i].code, cases[i].minimum, cases[i].maximum);
    }
    Open();
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        const int row = static_cast<int>(i) + 1;
        EXPECT_EQ(VisibleWidth(row), c.width) << c.code;
        EXPECT_EQ(editor->Row(row - 1).sixDigit, c.sixDigit) << c.code;
        EXPECT_EQ(Digits(*editor, row, false), c.digits) << c.code;
        EXPECT_EQ(Digits(*editor, row, true), c.digits) << c.code;
    }
    EXPECT_TRUE(editor->Display(4, 0).m_bHex);
    EXPECT_FALSE(editor->Display(0, 0).m_bHex);
    EXPECT_EQ(editor->GetDlgItemText(OnlineRowTexts[0][3]), "-200~200");
    ui::Screenshot(*editor, "online-editor");
}

TEST_F(OnlineFixture, AStepIsWrittenAtOnceAndStopsAtTheLimit) {
    OnlineSelection = {"Cn025"};
    Limits("Cn025", 0, 1000);
    SetDrive("Cn025", 995);
    Open();
    drive->ClearLog();
    Up(1, 2);
    EXPECT_EQ(Requests(), (std::vector<std::string>{Write1("Cn025", 1000)}));
    EXPECT_EQ(Shown(1), 1000);
    EXPECT_EQ(drive->GetRegister(Register("Cn025")), 1000);
    drive->ClearLog();
    Up(1, 1);
    EXPECT_TRUE(Requests().empty());
    ASSERT_EQ(messages->Shown().size(), 1u);
    EXPECT_EQ(messages->Shown()[0].text, "Over Range!!\n\n");
    EXPECT_EQ(messages->Shown()[0].caption, "Error Message");
    EXPECT_EQ(messages->Shown()[0].type, MB_OK | MB_ICONEXCLAMATION);

    SetDrive("Cn025", 1200); // above the maximum, as a drive may hold it
    Tick();
    drive->ClearLog();
    Up(1, 3);
    EXPECT_EQ(Requests(), (std::vector<std::string>{Write1("Cn025", 1000)}));
    Down(1, 4);
    Down(1, 1);
    EXPECT_EQ(Shown(1), 0);
}

TEST_F(OnlineFixture, HexadecimalDigitsStepWithinTheMaximumsDigit) {
    OnlineSelection = {"Pn301"};
    Limits("Pn301", 0, 0x0F3F);
    SetDrive("Pn301", 0x0925);
    Open();
    drive->ClearLog();
    Up(1, 2);
    EXPECT_EQ(Requests(), (std::vector<std::string>{Write1("Pn301", 0x0935)}));
    Up(1, 2);
    EXPECT_EQ(messages->Shown().size(), 1u);
    SetDrive("Pn301", 0x0955);
    Tick();
    drive->ClearLog();
    Up(1, 2);
    EXPECT_EQ(Requests(), (std::vector<std::string>{Write1("Pn301", 0x0935)}));
}

TEST_F(OnlineFixture, Cn008TravelsMappedAndTheRigidityLevelBringsItsGains) {
    OnlineSelection = {"Cn008", "Cn026"};
    Limits("Cn008", 0, 15);
    Limits("Cn026", -5, 30);
    SetDrive("Cn008", 4);
    SetDrive("Cn026", 6);
    Open();
    drive->ClearLog();
    Up(1, 1); // 5 goes out as 7
    EXPECT_EQ(Requests(), (std::vector<std::string>{Write1("Cn008", 7)}));

    drive->ClearLog();
    Up(2, 1);
    EXPECT_EQ(Requests(),
              (std::vector<std::string>{Write1("Cn026", 7), Write1("Pn310", 20), Write1("Sn211", 20),
                                        Write1("Sn212", 4500), Write1("Cn034", 160)}));
    SetDrive("Cn026", 20);
    Tick();
    drive->ClearLog();
    Up(2, 1);
    EXPECT_EQ(Requests(),
              (std::vector<std::string>{Write1("Cn026", 21), Write1("Pn310", 250), Write1("Sn211", 250),
                                        Write1("Sn212", 400), Write1("Cn034", 2000)}));
    // The drive refuses level 22: the row shows 21 again and no gain follows.
    drive->ClearLog();
    messages->Clear();
    Up(2, 1);
    EXPECT_EQ(Requests(), (std::vector<std::string>{Write1("Cn026", 22)}));
    ASSERT_EQ(messages->Shown().size(), 1u);
    EXPECT_EQ(messages->Shown()[0].text, "Online parameter edit failed!!");
    EXPECT_EQ(messages->Shown()[0].caption, "Communication Message");
    EXPECT_EQ(messages->Shown()[0].type, MB_OK | MB_ICONSTOP);
    EXPECT_EQ(Shown(2), 21);
    EXPECT_EQ(editor->Row(1).value, 21);
    // A level below 1, accepted by a drive without the range, writes no gain.
    drive->ClearRule(Register("Cn026"));
    SetDrive("Cn026", 1);
    Tick();
    drive->ClearLog();
    Down(2, 1);
    Down(2, 1);
    EXPECT_EQ(Requests(), (std::vector<std::string>{Write1("Cn026", 0), Write1("Cn026", -1)}));
}

// The forced-action digit above the brake mode, set by the wizard or the parameter editor, reaches
// the drive with every step of the brake mode.
TEST_F(OnlineFixture, Cn008StepKeepsTheDigitsAboveTheBrakeMode) {
    OnlineSelection = {"Cn008"};
    Limits("Cn008", 0, 0x15);
    SetDrive("Cn008", 0x16); // forced action 1, brake mode 4
    Open();
    EXPECT_EQ(Shown(1), 0x14);
    drive->ClearLog();
    Down(1, 1);
    Up(1, 1);
    Up(1, 1);
    EXPECT_EQ(Requests(), (std::vector<std::string>{Write1("Cn008", 0x13), Write1("Cn008", 0x16),
                                                    Write1("Cn008", 0x17)}));
    EXPECT_EQ(drive->GetRegister(Register("Cn008")), 0x17);
    EXPECT_EQ(Shown(1), 0x15);
}

// The drive numbers brake modes 4 and 5 as 6 and 7: the editor reads them back as 4 and 5, as every
// other reading of Cn008 does, so a step writes the mode next to the one shown and never a value
// past the parameter's range.
TEST_F(OnlineFixture, Cn008IsReadAsTheBrakeModeItStandsFor) {
    OnlineSelection = {"Cn008"};
    SetDrive("Cn008", 7);
    Open();
    EXPECT_EQ(editor->GetDlgItemText(OnlineRowTexts[0][3]), "0000~0005");
    EXPECT_EQ(Shown(1), 5);
    drive->ClearLog();
    Down(1, 1);
    EXPECT_EQ(Requests(), (std::vector<std::string>{Write1("Cn008", 6)}));
    Tick();
    EXPECT_EQ(Shown(1), 4);
    EXPECT_EQ(editor->Row(0).value, 4);
    Up(1, 1);
    Tick();
    EXPECT_EQ(Shown(1), 5);
    drive->ClearLog();
    Up(1, 1);
    EXPECT_EQ(MessageTexts(), (std::vector<std::string>{"Over Range!!\n\n"}));
    EXPECT_TRUE(Requests().empty());
    EXPECT_EQ(drive->GetRegister(Register("Cn008")), 7);
}

TEST_F(OnlineFixture, AThirtyTwoBitValueGoesOutAsOneW2Frame) {
    OnlineSelection = {"Cn024"};
    SetDrive("Cn024", 0x0001FFFF);
    Open();
    drive->ClearLog();
    Up(1, 1);
    EXPECT_EQ(Requests(), (std::vector<std::string>{Maker("W2001A0000001B0002")}));
    EXPECT_EQ(drive->GetRegister32(Register("Cn024")), 0x00020000u);
}

TEST_F(OnlineFixture, ALostLinkClosesTheEditorAtTheNextPress) {
    OnlineSelection = {"Cn025"};
    SetDrive("Cn025", 100);
    Open();
    // An answer no drive gives: the exchange declares the link lost.
    drive->AddFault({.kind = SimFaultKind::Garbage, .requestKind = SimRequestKind::MakerWrite, .count = 1});
    Up(1, 1);
    EXPECT_EQ(MessageTexts(), (std::vector<std::string>{"Online parameter edit failed!!"}));
    EXPECT_EQ(Shown(1), 100);
    EXPECT_EQ(ConnectedFlag.load(), 0);
    EXPECT_TRUE(IsOpen()) << "the window stays until the next press";
    messages->Clear();
    Up(1, 1);
    EXPECT_EQ(MessageTexts(), (std::vector<std::string>{"Communicate Error!"}));
    EXPECT_EQ(messages->Shown()[0].caption, "Communication Message");
    EXPECT_FALSE(IsOpen());
    EXPECT_EQ(view.closed, (std::vector<COnLineParaEditDlg*>{editor}));
    editor = nullptr;
}

TEST_F(OnlineFixture, ARowNeverReadOnThisLinkIsReadBeforeItIsStepped) {
    OnlineSelection = {"Cn025"};
    SetDrive("Cn025", 500);
    ConnectedFlag = 0; // opened before the connect
    Open();
    EXPECT_FALSE(editor->HasTimer(OnlineRefreshTimer));
    ConnectedFlag = 1;
    ++LinkEpoch;
    drive->ClearLog();
    Up(1, 1);
    EXPECT_EQ(Requests(), (std::vector<std::string>{Read1("Cn025"), Write1("Cn025", 501)}));
    // After another link the row is read again; a read that fails writes nothing.
    ++LinkEpoch;
    drive->RefuseAddress(Register("Cn025"));
    drive->ClearLog();
    Up(1, 1);
    EXPECT_EQ(Requests(), (std::vector<std::string>{Read1("Cn025")}));
    EXPECT_EQ(MessageTexts(), (std::vector<std::string>{"Online parameter edit failed!!"}));
    EXPECT_EQ(Shown(1), 501);
}

// Esc pressed in the editor, as a user presses it on one of its buttons, leaves it open.
TEST_F(OnlineFixture, EscapeLeavesTheEditorOpen) {
    OnlineSelection = {"Cn025"};
    Open();
    editor->SetActiveWindow();
    DispatchPendingMessages();
    editor->GetDlgItem(IDC_OE_SET)->SetFocus();
    SimulateKeyPress(VK_ESCAPE);
    for (int i = 0; i < 5; ++i)
        DispatchPendingMessages();
    EXPECT_TRUE(IsOpen());
    EXPECT_TRUE(view.closed.empty());
}

TEST_F(OnlineFixture, ModbusLinksGetNoMakerFrames) {
    OnlineSelection = {"Cn025"};
    Open();
    ModbusMode = 1;
    drive->ClearLog();
    Up(1, 1);
    Tick();
    ModbusMode = 0;
    EXPECT_TRUE(Requests().empty());
    EXPECT_EQ(MessageTexts(), (std::vector<std::string>{"Online parameter edit failed!!"}));
}

// At its own size the editor shows all it holds and no scroll bar; made smaller, its bars reach
// the last control.
TEST_F(OnlineFixture, ScrollBarsOnlyWhenTheEditorIsTooSmallForItsRows) {
    Open();
    const auto barsShown = [this] {
        int shown = 0;
        for (const QScrollBar* bar : editor->GetWidget()->findChildren<QScrollBar*>())
            shown += bar->isVisible() ? 1 : 0;
        return shown;
    };
    // How far the controls reach beyond the client area, right and down.
    const auto overhang = [this] {
        CRect client;
        editor->GetClientRect(&client);
        CSize over(-client.Width(), -client.Height());
        for (const CWnd* control : editor->GetChildren()) {
            CRect r;
            control->GetWindowRect(&r);
            editor->ScreenToClient(&r);
            over.cx = std::max(over.cx, r.right - client.Width());
            over.cy = std::max(over.cy, r.bottom - client.Height());
        }
        return over;
    };
    EXPECT_EQ(barsShown(), 0);
    EXPECT_LE(overhang().cx, 0);
    EXPECT_LE(overhang().cy, 0);

    CRect window;
    editor->GetWindowRect(&window);
    editor->MoveWindow(window.left, window.top, window.Width() / 2, window.Height() / 2);
    DispatchPendingMessages();
    EXPECT_EQ(barsShown(), 2);
    EXPECT_GT(overhang().cx, 0);
    EXPECT_GT(overhang().cy, 0);
    // Page by page to the end of both bars.
    for (int page = 0; page < 4; ++page) {
        editor->SendMessage(WM_HSCROLL, SB_PAGEDOWN);
        editor->SendMessage(WM_VSCROLL, SB_PAGEDOWN);
    }
    // (The scroller counts its page without the bars, so a bar's width may stay covered.)
    const int bar = QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    EXPECT_LE(overhang().cx, bar);
    EXPECT_LE(overhang().cy, bar);
}
