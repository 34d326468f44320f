// Controls: notifications fire as the rest of the program expects them to.
#include "UiTestSupport.h"

#include "framework/ui/Button.h"
#include "framework/ui/ComboBox.h"
#include "framework/ui/Edit.h"
#include "framework/ui/ListBox.h"
#include "framework/ui/ProgressCtrl.h"
#include "framework/ui/SliderCtrl.h"
#include "framework/ui/SpinButtonCtrl.h"
#include "framework/ui/TabCtrl.h"
#include "framework/ui/ToolTipCtrl.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QProxyStyle>
#include <QScrollBar>
#include <QSlider>
#include <QTabBar>
#include <QToolButton>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

enum : UINT { kEdit = 100, kCombo = 101, kList = 102, kTab = 103, kSlider = 104, kSpin = 105, kBuddy = 106 };

// Records every notification it gets, in order.
class CPanel : public CWnd {
public:
    const MessageMap* GetMessageMap() const override {
        static const MessageMap map(CWnd::GetMessageMap(),
                                    {
                                        msg::Control(EN_CHANGE, kEdit, &CPanel::OnEditChange),
                                        msg::Control(CBN_SELCHANGE, kCombo, &CPanel::OnComboChange),
                                        msg::Control(LBN_SELCHANGE, kList, &CPanel::OnListChange),
                                        msg::Notify(TCN_SELCHANGE, kTab, &CPanel::OnTabChange),
                                        msg::Notify(UDN_DELTAPOS, kSpin, &CPanel::OnDelta),
                                        msg::HScroll(&CPanel::OnHScroll),
                                        msg::VScroll(&CPanel::OnVScroll),
                                    });
        return &map;
    }
    void OnEditChange() {
        log.push_back("EN_CHANGE " + edit.GetWindowText());
        if (onEditChange)
            onEditChange();
    }
    void OnComboChange() { log.push_back("CBN_SELCHANGE " + std::to_string(combo.GetCurSel())); }
    void OnListChange() { log.push_back("LBN_SELCHANGE " + std::to_string(list.GetCurSel())); }
    void OnTabChange(NMHDR*, LRESULT*) { log.push_back("TCN_SELCHANGE " + std::to_string(tab.GetCurSel())); }
    void OnDelta(NMHDR* header, LRESULT* result) {
        auto* change = reinterpret_cast<NMUPDOWN*>(header);
        log.push_back("UDN_DELTAPOS " + std::to_string(change->iPos) + " " + std::to_string(change->iDelta));
        if (refuseAt && change->iPos == *refuseAt)
            *result = 1;
        change->iDelta *= deltaFactor;
    }
    void OnHScroll(UINT code, UINT pos, CScrollBar* bar) {
        // The position is read from the control, so it must have moved already.
        log.push_back("WM_HSCROLL " + std::to_string(code) + " " + std::to_string(pos) + " " +
                      std::to_string(reinterpret_cast<CWnd*>(bar) == &slider ? slider.GetPos() : -1));
    }
    void OnVScroll(UINT code, UINT pos, CScrollBar* bar) {
        if (reinterpret_cast<CWnd*>(bar) == &spin)
            log.push_back("WM_VSCROLL " + std::to_string(code) + " " + std::to_string(static_cast<int>(pos)));
    }

    CEdit edit;
    CComboBox combo;
    CListBox list;
    CTabCtrl tab;
    CSliderCtrl slider;
    CSpinButtonCtrl spin;
    CEdit buddy;
    std::vector<std::string> log;
    std::function<void()> onEditChange;
    std::optional<int> refuseAt;
    int deltaFactor = 1;
};

class ControlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(CreateTopWindow(panel));
        const DWORD child = WS_CHILD | WS_VISIBLE;
        ASSERT_TRUE(panel.edit.Create(child | WS_BORDER, CRect(0, 0, 80, 20), &panel, kEdit));
        ASSERT_TRUE(panel.combo.Create(child | CBS_DROPDOWNLIST, CRect(0, 30, 80, 130), &panel, kCombo));
        ASSERT_TRUE(panel.list.Create(child | LBS_NOTIFY, CRect(100, 0, 180, 80), &panel, kList));
        ASSERT_TRUE(panel.tab.Create(child, CRect(0, 150, 200, 250), &panel, kTab));
        ASSERT_TRUE(panel.slider.Create(child, CRect(200, 0, 300, 30), &panel, kSlider));
        ASSERT_TRUE(panel.buddy.Create(child, CRect(200, 50, 260, 70), &panel, kBuddy));
        ASSERT_TRUE(panel.spin.Create(child | UDS_SETBUDDYINT | UDS_NOTHOUSANDS, CRect(260, 50, 276, 70),
                                      &panel, kSpin));
        for (const char* item : {"alpha", "beta", "Gamma", "delta"}) {
            panel.combo.AddString(item);
            panel.list.AddString(item);
        }
        panel.tab.InsertItem(0, "one");
        panel.tab.InsertItem(1, "two");
        panel.log.clear();
    }
    CPanel panel;
};

TEST_F(ControlsTest, ProgrammaticTextSendsEnChangeAndAHandlerMaySetTheTextAgain) {
    panel.edit.SetWindowText("abc");
    ASSERT_EQ(panel.log, (std::vector<std::string>{"EN_CHANGE abc"}));

    // The handler rewrites the text (as a masked field does); the nested change arrives inside.
    panel.onEditChange = [&] {
        const std::string text = panel.edit.GetWindowText();
        std::string upper = text;
        for (char& c : upper)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (upper != text)
            panel.edit.SetWindowText(upper);
    };
    panel.log.clear();
    panel.edit.SetWindowText("xyz");
    EXPECT_EQ(panel.log, (std::vector<std::string>{"EN_CHANGE xyz", "EN_CHANGE XYZ"}));
    EXPECT_EQ(panel.edit.GetWindowText(), "XYZ");

    // Typing goes the same way, and the re-entered text stands.
    auto* line = qobject_cast<QLineEdit*>(panel.edit.GetWidget());
    line->clear();
    panel.log.clear();
    line->insert("q");
    EXPECT_EQ(panel.log, (std::vector<std::string>{"EN_CHANGE q", "EN_CHANGE Q"}));
    EXPECT_EQ(panel.edit.GetWindowText(), "Q");
}

TEST_F(ControlsTest, SelectionsSetByCodeSendNoChangeButUserSelectionsDo) {
    EXPECT_EQ(panel.combo.SetCurSel(2), 2);
    EXPECT_EQ(panel.list.SetCurSel(1), 1);
    EXPECT_EQ(panel.tab.SetCurSel(1), 0);
    panel.slider.SetPos(40);
    EXPECT_EQ(panel.combo.SelectString(-1, "DEL"), 3);
    EXPECT_TRUE(panel.log.empty());
    EXPECT_EQ(panel.combo.GetCurSel(), 3);
    EXPECT_EQ(panel.combo.SetCurSel(9), CB_ERR);
    EXPECT_EQ(panel.combo.GetCurSel(), CB_ERR);

    // The same changes made through the widgets, as the user makes them, do notify.
    qobject_cast<QComboBox*>(panel.combo.GetWidget())->setCurrentIndex(1);
    qobject_cast<QListWidget*>(panel.list.GetWidget())->setCurrentRow(3);
    panel.tab.GetWidget()->findChild<QTabBar*>()->setCurrentIndex(0);
    EXPECT_EQ(panel.log, (std::vector<std::string>{"CBN_SELCHANGE 1", "LBN_SELCHANGE 3", "TCN_SELCHANGE 0"}));
}

TEST_F(ControlsTest, ATabClickAsksFirstAndARefusalKeepsTheTab) {
    struct CVeto : CWnd {
        const MessageMap* GetMessageMap() const override {
            static const MessageMap map(CWnd::GetMessageMap(),
                                        {msg::Notify(TCN_SELCHANGING, kTab, &CVeto::OnChanging)});
            return &map;
        }
        void OnChanging(NMHDR*, LRESULT* result) {
            ++asked;
            *result = refuse;
        }
        int asked = 0;
        LRESULT refuse = 1;
    } owner;
    ASSERT_TRUE(CreateTopWindow(owner));
    CTabCtrl tab;
    ASSERT_TRUE(tab.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 100), &owner, kTab));
    tab.InsertItem(0, "one");
    tab.InsertItem(1, "two");
    owner.ShowWindow(SW_SHOW);
    auto* bar = tab.GetWidget()->findChild<QTabBar*>();
    auto click = [&] {
        const QPoint at = bar->tabRect(1).center();
        QMouseEvent press(QEvent::MouseButtonPress, at, bar->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(bar, &press);
    };
    click();
    EXPECT_EQ(owner.asked, 1);
    EXPECT_EQ(tab.GetCurSel(), 0);
    owner.refuse = 0;
    click();
    EXPECT_EQ(owner.asked, 2);
    EXPECT_EQ(tab.GetCurSel(), 1);
}

TEST_F(ControlsTest, TrackbarHasMovedWhenItsScrollMessageArrives) {
    panel.slider.SetRange(0, 1000);
    panel.slider.SetPageSize(100);
    panel.slider.SetPos(200);
    panel.log.clear();
    qobject_cast<QSlider*>(panel.slider.GetWidget())->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(panel.log, (std::vector<std::string>{"WM_HSCROLL 3 300 300", "WM_HSCROLL 8 300 300"}));
    EXPECT_EQ(panel.slider.GetPos(), 300);
}

TEST_F(ControlsTest, SpinAsksBeforeEachStepAndWritesItsBuddyInBase16) {
    panel.spin.SetBuddy(&panel.buddy);
    panel.spin.SetRange32(0, 0xFFFF);
    EXPECT_EQ(panel.spin.SetBase(16), 10);
    panel.spin.SetPos32(0x000F);
    EXPECT_EQ(panel.buddy.GetWindowText(), "0x000F");
    panel.log.clear();

    panel.spin.Step(+1);
    EXPECT_EQ(panel.buddy.GetWindowText(), "0x0010");
    EXPECT_EQ(panel.spin.GetPos32(), 16);
    EXPECT_EQ(panel.log, (std::vector<std::string>{"UDN_DELTAPOS 15 1", "WM_VSCROLL 4 16"}));

    // A refused step changes nothing; a handler may also change the step.
    panel.log.clear();
    panel.refuseAt = 16;
    panel.spin.Step(+1);
    EXPECT_EQ(panel.spin.GetPos32(), 16);
    EXPECT_EQ(panel.log, (std::vector<std::string>{"UDN_DELTAPOS 16 1"}));
    panel.refuseAt.reset();
    panel.deltaFactor = 16;
    panel.spin.Step(-1);
    EXPECT_EQ(panel.spin.GetPos32(), 0);

    // Text typed into the buddy is where the next step starts.
    panel.buddy.SetWindowText("0x0100");
    panel.deltaFactor = 1;
    panel.spin.Step(+1);
    EXPECT_EQ(panel.spin.GetPos32(), 0x101);
}

TEST(SpinText, BuddyTextsInBothBases) {
    struct Case {
        int pos;
        int base;
        bool noThousands;
        const char* text;
    } cases[] = {
        {15, 16, false, "0x000F"},    {0x12345, 16, false, "0x12345"}, {1234567, 10, false, "1,234,567"},
        {-1234, 10, false, "-1,234"}, {1234, 10, true, "1234"},        {0, 10, false, "0"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SpinBuddyText(c.pos, c.base, c.noThousands), c.text);
        int back = -1;
        EXPECT_TRUE(ParseSpinBuddyText(c.text, c.base, &back)) << c.text;
        EXPECT_EQ(back, c.pos);
    }
    int value = 0;
    EXPECT_FALSE(ParseSpinBuddyText("12g", 10, &value));
    EXPECT_FALSE(ParseSpinBuddyText("", 16, &value));
}

TEST_F(ControlsTest, SpinRangeGivenBackwardsMakesTheUpArrowCountDown) {
    panel.spin.SetRange32(100, 0);
    panel.spin.SetPos32(50);
    panel.spin.Step(+1);
    EXPECT_EQ(panel.spin.GetPos32(), 49);
    panel.spin.SetPos32(0);
    panel.spin.Step(+1); // stops at the end of the range
    EXPECT_EQ(panel.spin.GetPos32(), 0);
}

TEST_F(ControlsTest, ComboItemsKeepTheirDataAndPrefixSearchWrapsAround) {
    for (int i = 0; i < panel.combo.GetCount(); ++i)
        panel.combo.SetItemData(i, static_cast<DWORD_PTR>(100 + i));
    EXPECT_EQ(panel.combo.FindString(-1, "g"), 2); // case does not matter
    EXPECT_EQ(panel.combo.FindString(2, "a"), 0);  // starts after 2 and wraps
    EXPECT_EQ(panel.combo.FindString(-1, "zz"), CB_ERR);
    EXPECT_EQ(panel.combo.FindStringExact(-1, "BETA"), 1);
    EXPECT_EQ(panel.combo.DeleteString(0), 3);
    EXPECT_EQ(panel.combo.GetItemData(0), 101u); // data moves with its item
    EXPECT_EQ(panel.combo.GetLBText(0), "beta");
}

// A style whose combo boxes open a plain list drawn by the list's item delegate, as several desktop
// styles do; the program's own style opens a menu-like list.
class PlainListStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* answer) const override {
        return hint == SH_ComboBox_Popup ? 0 : QProxyStyle::styleHint(hint, option, widget, answer);
    }
};

// The application's style replaced for a scope; the program's own comes back after it.
class ScopedApplicationStyle {
public:
    explicit ScopedApplicationStyle(QStyle* style) : kept_(QApplication::style()) {
        kept_->setParent(nullptr); // not deleted by the swap
        QApplication::setStyle(style);
    }
    ~ScopedApplicationStyle() { QApplication::setStyle(kept_); }

private:
    QStyle* kept_;
};

// Resource texts end in a line break. Such an item is drawn exactly as the same text without it, in
// the closed box and in its open list, and the program still reads back the text it gave.
TEST(ComboLines, AnItemEndingInALineBreakIsDrawnOnOneLine) {
    EnsureQtApplication();
    for (const bool plainList : {false, true}) {
        SCOPED_TRACE(plainList ? "a plain open list" : "the program's style");
        std::optional<ScopedApplicationStyle> style;
        if (plainList)
            style.emplace(new PlainListStyle(QApplication::style()->name()));
        CWnd window;
        ASSERT_TRUE(CreateTopWindow(window));
        CComboBox broken, plain;
        const DWORD comboStyle = WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | WS_VSCROLL;
        ASSERT_TRUE(broken.Create(comboStyle, CRect(0, 0, 160, 120), &window, kCombo));
        ASSERT_TRUE(plain.Create(comboStyle, CRect(0, 40, 160, 160), &window, kCombo + 1));
        for (const char* item : {"Servo on\r\n", "Alarm reset\n"})
            broken.AddString(item);
        for (const char* item : {"Servo on", "Alarm reset"})
            plain.AddString(item);
        broken.SetCurSel(0);
        plain.SetCurSel(0);
        window.ShowWindow(SW_SHOW);

        auto* brokenBox = qobject_cast<QComboBox*>(broken.GetWidget());
        auto* plainBox = qobject_cast<QComboBox*>(plain.GetWidget());
        EXPECT_TRUE(brokenBox->grab().toImage() == plainBox->grab().toImage()) << "the closed box";

        // The open list: every row as high and as painted as the plain text's.
        const auto rows = [](CComboBox& combo, QComboBox* box) {
            combo.ShowDropDown(TRUE);
            EXPECT_TRUE(SpinUntil([&] { return combo.GetDroppedState() == TRUE; }));
            std::vector<QImage> images;
            QAbstractItemView* view = box->view();
            for (int i = 0; i < box->count(); ++i)
                images.push_back(
                    view->viewport()->grab(view->visualRect(box->model()->index(i, 0))).toImage());
            combo.ShowDropDown(FALSE);
            return images;
        };
        const std::vector<QImage> brokenRows = rows(broken, brokenBox);
        const std::vector<QImage> plainRows = rows(plain, plainBox);
        ASSERT_EQ(brokenRows.size(), plainRows.size());
        for (size_t i = 0; i < plainRows.size(); ++i) {
            EXPECT_EQ(brokenRows[i].height(), plainRows[i].height()) << "row " << i;
            EXPECT_TRUE(brokenRows[i] == plainRows[i]) << "row " << i;
        }

        EXPECT_EQ(broken.GetLBText(0), "Servo on\r\n");
        EXPECT_EQ(broken.GetLBText(1), "Alarm reset\n");
        EXPECT_EQ(broken.GetLBTextLen(1), 12);
        EXPECT_EQ(broken.GetWindowText(), "Servo on\r\n");
        EXPECT_EQ(broken.FindStringExact(-1, "alarm reset\n"), 1);
        window.DestroyWindow();
    }
}

TEST(Buttons, AutomaticRadiosUncheckTheirGroupOnly) {
    CPanel panel;
    ASSERT_TRUE(CreateTopWindow(panel));
    CButton a, b, c, d;
    const DWORD radio = WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON;
    ASSERT_TRUE(a.Create("a", radio | WS_GROUP, CRect(0, 0, 50, 20), &panel, 1));
    ASSERT_TRUE(b.Create("b", radio, CRect(0, 20, 50, 40), &panel, 2));
    ASSERT_TRUE(c.Create("c", radio | WS_GROUP, CRect(0, 40, 50, 60), &panel, 3));
    ASSERT_TRUE(d.Create("d", radio, CRect(0, 60, 50, 80), &panel, 4));
    EXPECT_EQ(RadioGroupOf(&b), (std::vector<CWnd*>{&a, &b}));
    c.SetCheck(BST_CHECKED);
    a.Click();
    b.Click();
    EXPECT_EQ(a.GetCheck(), BST_UNCHECKED);
    EXPECT_EQ(b.GetCheck(), BST_CHECKED);
    EXPECT_EQ(c.GetCheck(), BST_CHECKED); // another group
    // Code may leave a group with nothing checked.
    b.SetCheck(BST_UNCHECKED);
    EXPECT_EQ(panel.GetCheckedRadioButton(1, 2), 0);
}

TEST(Progress, StepItWrapsPastTheTopOfA32BitRange) {
    CPanel panel;
    ASSERT_TRUE(CreateTopWindow(panel));
    CProgressCtrl progress;
    ASSERT_TRUE(progress.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 100, 10), &panel, 1));
    progress.SetRange32(100000, 100050);
    progress.SetStep(20);
    EXPECT_EQ(progress.GetPos(), 100000);
    progress.StepIt();
    progress.StepIt();
    EXPECT_EQ(progress.StepIt(), 100040);
    EXPECT_EQ(progress.GetPos(), 100010);
    EXPECT_EQ(progress.SetPos(999999), 100010);
    EXPECT_EQ(progress.GetPos(), 100050);
}

} // namespace

namespace {

TEST(WindowScrollBars, TheOwnerMovesThePositionInItsScrollHandler) {
    class CScroller : public CWnd {
    public:
        const MessageMap* GetMessageMap() const override {
            static const MessageMap map(CWnd::GetMessageMap(), {msg::VScroll(&CScroller::OnVScroll)});
            return &map;
        }
        void OnVScroll(UINT code, UINT, CScrollBar* bar) {
            codes.push_back(code);
            EXPECT_EQ(bar, nullptr); // the window's own bar
            if (code == SB_LINEDOWN && move)
                SetScrollPos(SB_VERT, GetScrollPos(SB_VERT) + 10);
        }
        std::vector<UINT> codes;
        bool move = false;
    } window;
    ASSERT_TRUE(CreateTopWindow(window));
    SCROLLINFO info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = 0;
    info.nMax = 499;
    info.nPage = 100;
    info.nPos = 0;
    window.SetScrollInfo(SB_VERT, &info);
    CRect client;
    window.GetClientRect(&client);
    EXPECT_LT(client.Width(), 400); // the bar takes its width from the client area
    SCROLLINFO back;
    ASSERT_TRUE(window.GetScrollInfo(SB_VERT, &back));
    EXPECT_EQ(back.nMax, 499);
    EXPECT_EQ(back.nPage, 100u);

    QScrollBar* bar = nullptr;
    for (QScrollBar* b : window.GetWidget()->findChildren<QScrollBar*>())
        bar = b;
    ASSERT_NE(bar, nullptr);
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(window.GetScrollPos(SB_VERT), 0); // nobody moved it
    window.move = true;
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(window.GetScrollPos(SB_VERT), 10);
    EXPECT_EQ(window.codes, (std::vector<UINT>{SB_LINEDOWN, SB_LINEDOWN}));
    window.SetScrollPos(SB_VERT, 1000); // beyond the range: the last page
    EXPECT_EQ(window.GetScrollPos(SB_VERT), 400);
}

TEST(ToolTips, TipsFollowUpdatesAndActivation) {
    CPanel panel;
    ASSERT_TRUE(CreateTopWindow(panel));
    CButton button;
    ASSERT_TRUE(button.Create("b", WS_CHILD | WS_VISIBLE, CRect(0, 0, 40, 20), &panel, 1));
    CToolTipCtrl tips;
    ASSERT_TRUE(tips.Create(&panel));
    ASSERT_TRUE(tips.AddTool(&button, "Starts & stops"));
    EXPECT_EQ(button.GetWidget()->toolTip(), "Starts & stops");
    tips.UpdateTipText("Stops", &button);
    EXPECT_EQ(tips.GetText(&button), "Stops");
    tips.Activate(FALSE);
    EXPECT_TRUE(button.GetWidget()->toolTip().isEmpty());
    tips.Activate(TRUE);
    EXPECT_EQ(button.GetWidget()->toolTip(), "Stops");
}

} // namespace
