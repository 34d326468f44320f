// In-place hex cell editing: typing, refused keys, arrow moves, leaving a cell, the cleared-cell message.
#include "ControlsTestSupport.h"
#include "controls/Beep.h"
#include "controls/DtextEditCell.h"
#include "controls/DtextListCtrl.h"
#include "framework/core/MessageSeam.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QTableWidget>

namespace {

constexpr UINT kListId = 1061;

class DtextListTest : public ControlsWindowTest {
protected:
    void SetUp() override {
        ControlsWindowTest::SetUp();
        SetControlBeepHook([this](unsigned type) { beeps.push_back(type); });
        ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, CRect(0, 0, 420, 280), &parent, kListId));
        list.SetNarrowColumn(1);
        list.InsertColumn(0, "", LVCFMT_CENTER, 0);
        list.InsertColumn(1, "No.", LVCFMT_LEFT, 80);
        list.InsertColumn(2, "Address", LVCFMT_LEFT, 120);
        list.InsertColumn(3, "Value", LVCFMT_LEFT, 160);
        for (int row = 0; row < 10; ++row) {
            list.InsertItem(row, "");
            list.SetItemText(row, 1, std::to_string(row + 1));
            list.SetItemText(row, 2, "0000");
            list.SetItemText(row, 3, "0");
        }
    }
    void TearDown() override {
        SetControlBeepHook({});
        ControlsWindowTest::TearDown();
    }
    void Type(CWnd* editor, const std::string& text) {
        for (char c : text)
            editor->SendMessage(WM_CHAR, static_cast<unsigned char>(c), 1);
    }
    CDtextListCtrl list{"addresses"};
    std::vector<unsigned> beeps;
};

TEST_F(DtextListTest, EditorOpensOverTheCellOnlyWhereItCan) {
    EXPECT_EQ(list.EditSubItem(3, 0), nullptr);
    EXPECT_EQ(list.EditSubItem(3, 4), nullptr);
    EXPECT_EQ(list.EditSubItem(12, 2), nullptr);
    CDtextEditCell* editor = list.EditSubItem(3, 2);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->GetDlgCtrlID(), static_cast<int>(kCellEditorId));
    EXPECT_EQ(editor->GetWindowText(), "0000");
    CRect cell, rect;
    list.GetSubItemRect(3, 2, LVIR_BOUNDS, cell);
    editor->GetWindowRect(&rect);
    list.ScreenToClient(&rect);
    EXPECT_EQ(rect.left, cell.left);
    EXPECT_EQ(rect.Width(), 120);
    CDtextEditCell* value = list.EditSubItem(3, 3);
    ASSERT_NE(value, nullptr);
    value->GetWindowRect(&rect);
    EXPECT_EQ(rect.Width(), 160 - 18); // the narrow-column flag
}

TEST_F(DtextListTest, TypedHexFollowsIntoTheCellAndTheRowValue) {
    CDtextEditCell* editor = list.EditSubItem(3, 2);
    ASSERT_NE(editor, nullptr);
    editor->SetSel(0, -1);
    Type(editor, "1a");
    EXPECT_EQ(list.GetItemText(3, 2), "1a"); // the cell follows while typing
    Type(editor, "G ");
    EXPECT_EQ(beeps, (std::vector<unsigned>{MB_ICONEXCLAMATION, MB_ICONEXCLAMATION}));
    EXPECT_EQ(editor->GetWindowText(), "1a");
    editor->SendMessage(WM_KILLFOCUS);
    EXPECT_EQ(list.GetRowValue(3), 0x001A);
    EXPECT_EQ(list.GetItemText(3, 2), "1a");
    EXPECT_EQ(list.CurrentEditor(), nullptr);
    EXPECT_EQ(parent.Count(WM_USER + 60), 0);
}

TEST_F(DtextListTest, KeyboardTypingAndArrowsReachTheEditor) {
    CDtextEditCell* editor = list.EditSubItem(1, 2);
    ASSERT_NE(editor, nullptr);
    editor->SetSel(0, -1);
    for (auto [key, text] : {std::pair{Qt::Key_B, "b"}, {Qt::Key_Q, "q"}, {Qt::Key_7, "7"}}) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(editor->GetWidget(), &press);
    }
    EXPECT_EQ(editor->GetWindowText(), "b7");
    EXPECT_EQ(beeps.size(), 1u);
    const HWND first = editor->GetSafeHwnd();
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(editor->GetWidget(), &down);
    ASSERT_NE(list.CurrentEditor(), nullptr);
    EXPECT_EQ(list.CurrentEditor()->Item(), 2);
    if (IsWindow(first))
        CWnd::FromHandle(first)->SendMessage(WM_KILLFOCUS);
    EXPECT_EQ(list.GetRowValue(1), 0x00B7);
    EXPECT_EQ(list.GetItemText(1, 2), "b7");
}

TEST_F(DtextListTest, ArrowsMoveTheEditorBetweenRows) {
    CDtextEditCell* editor = list.EditSubItem(3, 2);
    ASSERT_NE(editor, nullptr);
    const HWND first = editor->GetSafeHwnd();
    editor->SetSel(0, -1);
    Type(editor, "BEEF");
    editor->SendMessage(WM_KEYDOWN, VK_DOWN, 1);
    CDtextEditCell* below = list.CurrentEditor();
    ASSERT_NE(below, nullptr);
    EXPECT_EQ(below->Item(), 4);
    EXPECT_EQ(below->Column(), 2);
    if (IsWindow(first)) // the focus did not move on this platform: leave the first cell as the user would
        CWnd::FromHandle(first)->SendMessage(WM_KILLFOCUS);
    EXPECT_EQ(list.GetRowValue(3), 0xBEEF);
    below->SendMessage(WM_KEYDOWN, VK_UP, 1);
    ASSERT_NE(list.CurrentEditor(), nullptr);
    EXPECT_EQ(list.CurrentEditor()->Item(), 3);
}

TEST_F(DtextListTest, ClearedCellIsReportedToTheParent) {
    CDtextEditCell* editor = list.EditSubItem(5, 3);
    ASSERT_NE(editor, nullptr);
    editor->SetSel(0, -1);
    editor->SendMessage(WM_CHAR, VK_BACK, 1);
    ASSERT_EQ(editor->GetWindowText(), "");
    editor->SendMessage(WM_KILLFOCUS);
    ASSERT_GE(parent.Count(WM_USER + 60), 1);
    const Recorded& cleared = parent.seen.back();
    EXPECT_EQ(cleared.message, WM_USER + 60);
    EXPECT_EQ(cleared.wParam, 5u);
    EXPECT_EQ(cleared.lParam, 3);
    EXPECT_EQ(list.GetItemText(5, 3), "");
}

TEST_F(DtextListTest, EscStillStoresTheTypedValue) {
    CDtextEditCell* editor = list.EditSubItem(2, 2);
    ASSERT_NE(editor, nullptr);
    editor->SetSel(0, -1);
    Type(editor, "12");
    editor->SendMessage(WM_CHAR, VK_ESCAPE, 1);
    EXPECT_EQ(list.GetRowValue(2), 0x0012);
    EXPECT_EQ(list.GetItemText(2, 2), "12"); // the live updates had already set it
    EXPECT_EQ(list.CurrentEditor(), nullptr);
}

TEST_F(DtextListTest, ClicksGoToTheParentWhichFindsTheCell) {
    int hitItem = -2, hitColumn = -2;
    bool forwarded = false;
    parent.onClick = [&](CPoint p) {
        forwarded = list.IsForwardingClick();
        hitItem = list.HitTestEx(p, &hitColumn);
    };
    CRect cell;
    list.GetSubItemRect(6, 3, LVIR_BOUNDS, cell);
    auto* table = qobject_cast<QTableWidget*>(list.GetWidget());
    ASSERT_NE(table, nullptr);
    const QPoint at = table->viewport()->mapFrom(table, QPoint(cell.left + 10, cell.top + 3));
    QMouseEvent press(QEvent::MouseButtonPress, at, table->viewport()->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(table->viewport(), &press);
    EXPECT_TRUE(forwarded);
    EXPECT_EQ(hitItem, 6);
    EXPECT_EQ(hitColumn, 3);
    EXPECT_EQ(list.HitTestEx(CPoint(cell.left + 10, 5000), &hitColumn), -1);
}

} // namespace

namespace {

class DtextAttachTest : public ControlsWindowTest {};

TEST_F(DtextAttachTest, ListAttachedByDataExchangeForwardsClicksOnceShown) {
    CListCtrl plain;
    ASSERT_TRUE(plain.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, CRect(0, 0, 300, 200), &parent, kListId));
    CDtextListCtrl list;
    ASSERT_TRUE(list.CWnd::SubclassDlgItem(kListId, &parent));
    list.InsertColumn(0, "No.", LVCFMT_LEFT, 100);
    list.InsertItem(0, "1");
    Grab(list);
    int clicks = 0;
    parent.onClick = [&](CPoint) { ++clicks; };
    auto* table = qobject_cast<QTableWidget*>(list.GetWidget());
    ASSERT_NE(table, nullptr);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), table->viewport()->mapToGlobal(QPointF(5, 5)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(table->viewport(), &press);
    EXPECT_EQ(clicks, 1);
}

} // namespace
