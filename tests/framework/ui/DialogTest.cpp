// Dialogs from template records: layout in dialog units, modal loops, data exchange, dialog keys.
#include "UiTestSupport.h"

#include "framework/core/MessageSeam.h"
#include "framework/ui/Button.h"
#include "framework/ui/ComboBox.h"
#include "framework/ui/DataExchangeText.h"
#include "framework/ui/Dialog.h"
#include "framework/ui/Edit.h"
#include "framework/ui/SpinButtonCtrl.h"
#include "framework/ui/Static.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

#include <gtest/gtest.h>

namespace {

enum : int {
    kCount = 1001,
    kGain = 1002,
    kName = 1003,
    kEnable = 1004,
    kModeA = 1005,
    kModeB = 1006,
    kModeC = 1007,
    kPort = 1008,
    kLimit = 1009,
    kSpin = 1010,
};

DialogControlTemplate Control(int id, const char* cls, const char* text, int x, int y, int cx, int cy,
                              DWORD style) {
    DialogControlTemplate c;
    c.id = id;
    c.className = cls;
    c.text = text;
    c.x = x, c.y = y, c.cx = cx, c.cy = cy;
    c.style = style | WS_CHILD | WS_VISIBLE;
    return c;
}

DialogTemplate SettingsTemplate() {
    DialogTemplate t;
    t.id = 200;
    t.caption = "Settings";
    t.cx = 200;
    t.cy = 120;
    t.style = WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    t.controls = {
        Control(-1, "STATIC", "&Count:", 7, 7, 40, 8, SS_LEFT),
        Control(kCount, "EDIT", "", 50, 5, 40, 14, ES_AUTOHSCROLL | WS_TABSTOP | WS_BORDER),
        Control(kGain, "EDIT", "", 50, 22, 40, 14, WS_TABSTOP),
        Control(kName, "EDIT", "", 50, 39, 80, 14, WS_TABSTOP),
        Control(kEnable, "BUTTON", "Enable", 7, 56, 60, 10, BS_AUTOCHECKBOX | WS_TABSTOP),
        Control(kModeA, "BUTTON", "A", 7, 70, 30, 10, BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP),
        Control(kModeB, "BUTTON", "B", 40, 70, 30, 10, BS_AUTORADIOBUTTON),
        Control(kModeC, "BUTTON", "C", 73, 70, 30, 10, BS_AUTORADIOBUTTON),
        Control(kPort, "COMBOBOX", "", 110, 5, 80, 60, CBS_DROPDOWNLIST | WS_GROUP | WS_TABSTOP),
        Control(kLimit, "EDIT", "", 110, 22, 40, 14, WS_TABSTOP),
        Control(kSpin, "msctls_updown32", "", 150, 22, 10, 14,
                UDS_AUTOBUDDY | UDS_SETBUDDYINT | UDS_ALIGNRIGHT),
        Control(IDOK, "BUTTON", "OK", 90, 100, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP),
        Control(IDCANCEL, "BUTTON", "Cancel", 145, 100, 50, 14, BS_PUSHBUTTON | WS_TABSTOP),
    };
    t.comboItems[kPort] = {"ttyS0", "ttyUSB0", "ttyUSB1"};
    return t;
}

class CSettingsDlg : public CDialog {
public:
    CSettingsDlg() { InitModalIndirect(SettingsTemplate()); }
    void DoDataExchange(CDataExchange* dx) override {
        DDX_Text(dx, kCount, count);
        DDV_MinMaxInt(dx, count, 0, 100);
        DDX_Text(dx, kGain, gain);
        DDX_Text(dx, kName, name);
        DDX_Check(dx, kEnable, enable);
        DDX_Radio(dx, kModeA, mode);
        DDX_CBIndex(dx, kPort, port);
        DDX_Text(dx, kLimit, limit);
        DDX_Control(dx, kSpin, spin);
    }
    int count = 12;
    double gain = 0.25;
    std::string name = "axis";
    int enable = 1;
    int mode = 2;
    int port = 1;
    unsigned limit = 4000000000u;
    CSpinButtonCtrl spin;
};

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override { EnsureQtApplication(); }
    void TearDown() override { CDialog::SetModalHookForTest(nullptr); }
    ScriptedMessages messages;
};

TEST_F(DialogTest, ControlsArePlacedInDialogUnitsOfTheDialogFont) {
    CSettingsDlg dlg;
    ASSERT_TRUE(dlg.CreateIndirect(SettingsTemplate()));
    const DialogBaseUnits base = dlg.GetBaseUnits();
    EXPECT_EQ(base.cx, BaseUnitsOfFont("MS Shell Dlg", 8).cx);
    ASSERT_GT(base.cx, 2);
    ASSERT_GT(base.cy, 8);
    // The units come from the font the dialog shows its texts in: its average letter width
    // (rounded) and its cell height, which is at least the line Qt lays out (Tahoma's cell, from its
    // platform metrics, is two pixels taller than Qt's line).
    const CSize letters = dlg.GetTextExtent("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    EXPECT_EQ(base.cx, (letters.cx / 26 + 1) / 2);
    EXPECT_GE(base.cy, letters.cy);
    EXPECT_LE(base.cy, letters.cy + 2);

    CRect client;
    dlg.GetClientRect(&client);
    EXPECT_EQ(client.Width(), 200 * base.cx / 4);
    EXPECT_EQ(client.Height(), 120 * base.cy / 8);

    CWnd* name = dlg.GetDlgItem(kName);
    ASSERT_NE(name, nullptr);
    CRect r;
    name->GetWindowRect(&r);
    dlg.ScreenToClient(&r);
    EXPECT_EQ(r, CRect(50 * base.cx / 4, 39 * base.cy / 8, 130 * base.cx / 4, 53 * base.cy / 8));

    // Each control has a wrapper of its class, and the label dropped its mnemonic marker.
    EXPECT_NE(dynamic_cast<CEdit*>(dlg.GetDlgItem(kCount)), nullptr);
    EXPECT_NE(dynamic_cast<CComboBox*>(dlg.GetDlgItem(kPort)), nullptr);
    EXPECT_NE(dynamic_cast<CButton*>(dlg.GetDlgItem(IDOK)), nullptr);
    EXPECT_EQ(static_cast<CComboBox*>(dlg.GetDlgItem(kPort))->GetCount(), 3);
    EXPECT_EQ(LOWORD(dlg.SendMessage(DM_GETDEFID)), IDOK);
    dlg.DestroyWindow();
}

TEST_F(DialogTest, DataExchangeRoundTrip) {
    CSettingsDlg dlg;
    ASSERT_TRUE(dlg.CreateIndirect(SettingsTemplate())); // OnInitDialog loads the members
    EXPECT_EQ(dlg.GetDlgItemText(kCount), "12");
    EXPECT_EQ(dlg.GetDlgItemText(kGain), "0.25");
    EXPECT_EQ(dlg.GetDlgItemText(kName), "axis");
    EXPECT_EQ(dlg.IsDlgButtonChecked(kEnable), 1u);
    EXPECT_EQ(dlg.GetCheckedRadioButton(kModeA, kModeC), kModeC);
    EXPECT_EQ(static_cast<CComboBox*>(dlg.GetDlgItem(kPort))->GetCurSel(), 1);
    EXPECT_EQ(dlg.GetDlgItemText(kLimit), "4000000000");
    // DDX_Control handed the template spin to the member, and it found its buddy.
    EXPECT_EQ(dlg.GetDlgItem(kSpin), &dlg.spin);
    EXPECT_EQ(dlg.spin.GetBuddy(), dlg.GetDlgItem(kLimit));

    dlg.SetDlgItemText(kCount, " -7 ");
    dlg.SetDlgItemText(kGain, "1e-3");
    dlg.SetDlgItemText(kName, "spindle");
    dlg.CheckDlgButton(kEnable, 0);
    dlg.CheckRadioButton(kModeA, kModeC, kModeA);
    static_cast<CComboBox*>(dlg.GetDlgItem(kPort))->SetCurSel(2);
    // -7 fails the range check: nothing after it is read, and the prompt names the range.
    EXPECT_FALSE(dlg.UpdateData(TRUE));
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_EQ(messages.Shown()[0].text, "Please enter an integer between 0 and 100.");
    EXPECT_EQ(dlg.name, "axis");

    dlg.SetDlgItemText(kCount, "7");
    EXPECT_TRUE(dlg.UpdateData(TRUE));
    EXPECT_EQ(dlg.count, 7);
    EXPECT_DOUBLE_EQ(dlg.gain, 0.001);
    EXPECT_EQ(dlg.name, "spindle");
    EXPECT_EQ(dlg.enable, 0);
    EXPECT_EQ(dlg.mode, 0);
    EXPECT_EQ(dlg.port, 2);
    EXPECT_EQ(dlg.limit, 4000000000u);
    dlg.DestroyWindow();
}

TEST_F(DialogTest, AFieldThatIsNoIntegerPromptsAndKeepsTheValue) {
    CSettingsDlg dlg;
    ASSERT_TRUE(dlg.CreateIndirect(SettingsTemplate()));
    dlg.ShowWindow(SW_SHOW);
    dlg.GetWidget()->activateWindow();
    ASSERT_TRUE(SpinUntil([&] { return dlg.GetWidget()->isActiveWindow(); }));
    for (const char* text : {"12x", "", "99999999999", "1.5"}) {
        messages.Clear();
        dlg.SetDlgItemText(kCount, text);
        EXPECT_FALSE(dlg.UpdateData(TRUE)) << text;
        ASSERT_EQ(messages.Shown().size(), 1u) << text;
        EXPECT_EQ(messages.Shown()[0].text, "Please enter an integer.");
        EXPECT_EQ(messages.Shown()[0].type, MB_OK | MB_ICONEXCLAMATION);
        EXPECT_EQ(dlg.count, 12);
    }
    // The failing field gets the focus back with its text selected.
    EXPECT_EQ(CWnd::GetFocus(), dlg.GetDlgItem(kCount));
    auto* line = qobject_cast<QLineEdit*>(dlg.GetDlgItem(kCount)->GetWidget());
    EXPECT_EQ(line->selectedText(), "1.5");
    dlg.DestroyWindow();
}

TEST_F(DialogTest, ByteFieldsPromptWithTheirRange) {
    CSettingsDlg dlg;
    ASSERT_TRUE(dlg.CreateIndirect(SettingsTemplate()));
    BYTE value = 7;
    CDataExchange load(&dlg, FALSE);
    DDX_Text(&load, kName, value);
    EXPECT_EQ(dlg.GetDlgItemText(kName), "7");
    dlg.SetDlgItemText(kName, "256");
    CDataExchange save(&dlg, TRUE);
    EXPECT_THROW(DDX_Text(&save, kName, value), CUserException);
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_EQ(messages.Shown()[0].text, "Please enter an integer between 0 and 255.");
    EXPECT_EQ(value, 7);
    dlg.DestroyWindow();
}

TEST_F(DialogTest, DataExchangeTextRules) {
    int i = 0;
    unsigned u = 0;
    double d = 0;
    EXPECT_TRUE(ParseExchangeInt(" -2147483648 ", &i));
    EXPECT_EQ(i, INT_MIN);
    EXPECT_FALSE(ParseExchangeInt("2147483648", &i));
    EXPECT_FALSE(ParseExchangeInt("+", &i));
    EXPECT_FALSE(ParseExchangeInt("0x10", &i));
    EXPECT_TRUE(ParseExchangeUInt("4294967295", &u));
    EXPECT_FALSE(ParseExchangeUInt("-1", &u));
    EXPECT_TRUE(ParseExchangeDouble("-2.5e2", &d));
    EXPECT_EQ(d, -250.0);
    EXPECT_FALSE(ParseExchangeDouble("inf", &d));
    EXPECT_FALSE(ParseExchangeDouble("1,5", &d));
    EXPECT_EQ(FormatExchangeDouble(0.1), "0.1");
    EXPECT_EQ(FormatExchangeDouble(1.0 / 3.0, 6), "0.333333");
}

// A modal dialog whose own timer ends it: the nested loop must keep timers and posted messages going.
class CTickingDlg : public CDialog {
public:
    CTickingDlg() {
        DialogTemplate t = SettingsTemplate();
        t.controls.clear();
        InitModalIndirect(t);
    }
    const MessageMap* GetMessageMap() const override {
        static const MessageMap map(CDialog::GetMessageMap(),
                                    {
                                        msg::Timer(&CTickingDlg::OnTimer),
                                        msg::Message(WM_APP + 1, &CTickingDlg::OnPosted),
                                    });
        return &map;
    }
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        SetTimer(1, 5);
        PostMessage(WM_APP + 1, 0, 0);
        return TRUE;
    }
    void OnTimer(UINT_PTR) {
        if (++ticks == 3) {
            KillTimer(1);
            EndDialog(IDOK);
        }
    }
    LRESULT OnPosted(WPARAM, LPARAM) {
        ++posted;
        return 0;
    }
    int ticks = 0;
    int posted = 0;
};

TEST_F(DialogTest, ModalLoopKeepsTimersAndPostedMessagesRunningUntilEndDialog) {
    CTickingDlg dlg;
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.ticks, 3);
    EXPECT_EQ(dlg.posted, 1);
    EXPECT_EQ(dlg.GetSafeHwnd(), nullptr); // the window is gone after DoModal
}

TEST_F(DialogTest, DialogKeysAndTheTestHook) {
    struct Case {
        int key;
        INT_PTR expected;
    } cases[] = {{Qt::Key_Return, IDOK}, {Qt::Key_Escape, IDCANCEL}};
    for (const Case& c : cases) {
        CSettingsDlg dlg;
        CDialog::SetModalHookForTest([&](CDialog& running) {
            QWidget* focus = running.GetDlgItem(kName)->GetWidget();
            QKeyEvent key(QEvent::KeyPress, c.key, Qt::NoModifier);
            QApplication::sendEvent(focus, &key);
        });
        EXPECT_EQ(dlg.DoModal(), c.expected);
    }
    // Enter runs OnOK, which refuses a bad field and keeps the dialog open; the hook then cancels.
    CSettingsDlg dlg;
    CDialog::SetModalHookForTest([&](CDialog& running) {
        running.SetDlgItemText(kCount, "abc");
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(running.GetDlgItem(kGain)->GetWidget(), &enter);
        EXPECT_NE(running.GetSafeHwnd(), nullptr);
        running.EndDialog(IDCANCEL);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_EQ(messages.Shown()[0].text, "Please enter an integer.");
}

TEST_F(DialogTest, AMissingTemplateFailsDoModal) {
    CDialog dlg(54321);
    EXPECT_EQ(dlg.DoModal(), -1);
    EXPECT_FALSE(dlg.Create(54321));
}

TEST_F(DialogTest, ChildDialogsLiveInsideTheirParent) {
    CSettingsDlg parent;
    ASSERT_TRUE(parent.CreateIndirect(SettingsTemplate()));
    DialogTemplate page;
    page.style = WS_CHILD | DS_CONTROL;
    page.x = 10;
    page.y = 20;
    page.cx = 60;
    page.cy = 30;
    page.controls = {Control(77, "EDIT", "", 2, 2, 40, 12, WS_TABSTOP)};
    CDialog child;
    ASSERT_TRUE(child.CreateIndirect(page, &parent));
    EXPECT_EQ(child.GetParent(), &parent);
    EXPECT_NE(child.GetDlgItem(77), nullptr);
    EXPECT_EQ(parent.GetDlgItem(77), nullptr); // the page's controls are the page's
    CRect r;
    child.GetWindowRect(&r);
    parent.ScreenToClient(&r);
    const DialogBaseUnits base = parent.GetBaseUnits();
    EXPECT_EQ(r.TopLeft(), DialogUnitsToPixels(CRect(10, 20, 10, 20), base).TopLeft());
    parent.DestroyWindow();
    EXPECT_EQ(child.GetSafeHwnd(), nullptr);
}

} // namespace
