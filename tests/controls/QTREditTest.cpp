// The edit fields as real controls: typed keys, messages, paste, text set by the program.
#include "ControlsTestSupport.h"
#include "controls/QTRHEXEdit.h"
#include "controls/QTRIntegerEdit.h"
#include "controls/QTRMaskedDOTEdit.h"
#include "controls/QTRNumericEdit.h"
#include "framework/ui/Clipboard.h"
#include "framework/ui/DC.h"

#include <QKeyEvent>

namespace {

constexpr UINT kEditId = 1200;

class QTREditTest : public ControlsWindowTest {
protected:
    void TearDown() override {
        SetEditLocaleOverride(nullptr);
        ControlsWindowTest::TearDown();
    }
    void Make(CQTREdit& edit) {
        ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(10, 10, 150, 34), &parent, kEditId));
    }
    // Keys as the keyboard delivers them, through the application's key routing.
    void Press(CWnd& edit, const std::string& keys) {
        for (char c : keys) {
            const int key = c == '\b'                ? Qt::Key_Backspace
                            : (c >= 'a' && c <= 'z') ? Qt::Key_A + (c - 'a')
                                                     : c;
            const QString text = c == '\b' ? QString() : QString(QChar(c));
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
            QApplication::sendEvent(edit.GetWidget(), &press);
            QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
            QApplication::sendEvent(edit.GetWidget(), &release);
        }
    }
    void Send(CWnd& edit, const std::string& chars) {
        for (char c : chars)
            edit.SendMessage(WM_CHAR, static_cast<unsigned char>(c), 1);
    }
};

TEST_F(QTREditTest, DotEditPadsTypedPointThroughTheKeyboard) {
    CQTRMaskedDOTEdit edit("####.#");
    Make(edit);
    Press(edit, "12.");
    EXPECT_EQ(edit.GetWindowText(), "0012.");
    int start = 0, end = 0;
    edit.GetSel(start, end);
    EXPECT_EQ(end, 5);
    Press(edit, "39");
    EXPECT_EQ(edit.GetWindowText(), "0012.3");
    Press(edit, "\b\b");
    EXPECT_EQ(edit.GetWindowText(), "0012");
}

TEST_F(QTREditTest, HexEditKeepsSetAndPastedHexDigits) {
    CQTRHEXEdit edit;
    Make(edit);
    edit.SetMask("####");
    edit.SetText("1A2B");
    EXPECT_EQ(edit.GetWindowText(), "1A2B");
    parent.seen.clear();
    edit.SetWindowText("12XY34"); // as a dialog's data exchange sets it
    EXPECT_EQ(edit.GetWindowText(), "12");
    EXPECT_GE(parent.Count(WM_COMMAND, EN_CHANGE), 1);

    edit.SetWindowText("");
    ASSERT_TRUE(OpenClipboard());
    EmptyClipboard();
    SetClipboardText("12AB");
    CloseClipboard();
    edit.SendMessage(WM_PASTE);
    EXPECT_EQ(edit.GetWindowText(), "12AB");
    edit.SetSel(4, 4);
    Send(edit, "C"); // past the mask's end
    Press(edit, "g");
    EXPECT_EQ(edit.GetWindowText(), "12AB");
}

TEST_F(QTREditTest, DigitOnLiteralTypesTheLiteralFirst) {
    CQTRHEXEdit edit("##-##");
    Make(edit);
    Send(edit, "123");
    EXPECT_EQ(edit.GetWindowText(), "12-3");
    edit.SetSel(1, 1);
    edit.SendMessage(WM_KEYDOWN, VK_DELETE, 1); // only removes from the end
    EXPECT_EQ(edit.GetWindowText(), "12-3");
    edit.SetSel(0, 5);
    edit.SendMessage(WM_CUT);
    EXPECT_EQ(edit.GetWindowText(), "");
    EXPECT_EQ(GetClipboardText(), "12-3");
}

TEST_F(QTREditTest, NumericEditFollowsTheLocaleComma) {
    const EditLocaleChars comma{U'-', U',', U'.'};
    SetEditLocaleOverride(&comma);
    CQTRNumericEdit edit(5, 2);
    Make(edit);
    Press(edit, "12,345");
    EXPECT_EQ(edit.GetWindowText(), "12,34");
    edit.SetSel(1, 1);
    Press(edit, "-");
    EXPECT_EQ(edit.GetWindowText(), "-12,34");
    edit.SetWindowText("1.234,5");
    EXPECT_EQ(edit.GetWindowText(), "1234,5");
}

TEST_F(QTREditTest, IntegerEditAndGetWindowInt) {
    CQTRIntegerEdit edit(9);
    Make(edit);
    Press(edit, "-12.345678901");
    EXPECT_EQ(edit.GetWindowText(), "-123456789");
    EXPECT_EQ(GetWindowInt(&edit), -123456789);
    edit.SetWindowText("");
    EXPECT_EQ(GetWindowInt(&edit), 0);
    EXPECT_EQ(GetWindowInt(nullptr), 0);
}

TEST_F(QTREditTest, BackgroundFlagMakesABrushInTheControlsColour) {
    CQTRIntegerEdit edit(9);
    Make(edit);
    CDC dc;
    dc.SetBkColor(RGB(1, 2, 3));
    CtlColorRequest request{&dc, &edit, CTLCOLOR_EDIT};
    LRESULT result = 0;
    EXPECT_FALSE(edit.OnChildNotify(WM_CTLCOLOR, 0, reinterpret_cast<LPARAM>(&request), &result));
    edit.m_flags = 1;
    edit.m_textColor = RGB(200, 0, 0);
    ASSERT_TRUE(edit.OnChildNotify(WM_CTLCOLOR, 0, reinterpret_cast<LPARAM>(&request), &result));
    auto* brush = reinterpret_cast<CBrush*>(result);
    ASSERT_NE(brush, nullptr);
    EXPECT_EQ(brush->Data().lbColor, RGB(1, 2, 3));
    EXPECT_EQ(dc.GetTextColor(), RGB(200, 0, 0));
}

} // namespace
