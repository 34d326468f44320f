#include "framework/ui/ListCtrl.h"
#include "framework/ui/App.h"
#include "framework/ui/DC.h"
#include "framework/ui/Dialog.h"
#include "framework/ui/ImageList.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QHelpEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTableWidget>

#include <cstring>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace {

constexpr UINT kListId = 1000;
constexpr COLORREF kGreen = RGB(0, 240, 0);
constexpr COLORREF kYellow = RGB(255, 255, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);

// A parent that colours row 1 and, in cell (1, 1), draws red on yellow in a bold font; it can also
// take the selection away while a row paints, as styled lists do.
class ListParent : public CWnd {
public:
    const MessageMap* GetMessageMap() const override {
        static const MessageMap map(CWnd::GetMessageMap(),
                                    {
                                        msg::Notify(NM_CUSTOMDRAW, kListId, &ListParent::OnCustomDraw),
                                        msg::Notify(LVN_ITEMCHANGED, kListId, &ListParent::OnItemChanged),
                                        msg::Notify(NM_CLICK, kListId, &ListParent::OnClick),
                                        msg::Notify(HDN_ENDTRACK, 0, &ListParent::OnEndTrack),
                                        msg::Notify(LVN_ENDLABELEDIT, kListId, &ListParent::OnEndLabelEdit),
                                        msg::Notify(LVN_GETINFOTIP, kListId, &ListParent::OnInfoTip),
                                    });
        return &map;
    }

    void OnCustomDraw(NMHDR* header, LRESULT* result) {
        auto* cd = reinterpret_cast<NMLVCUSTOMDRAW*>(header);
        const int row = static_cast<int>(cd->nmcd.dwItemSpec);
        stages.push_back(cd->nmcd.dwDrawStage);
        switch (cd->nmcd.dwDrawStage) {
        case CDDS_PREPAINT:
            *result = CDRF_NOTIFYITEMDRAW;
            return;
        case CDDS_ITEMPREPAINT:
            if (unselectWhilePainting && (cd->nmcd.uItemState & CDIS_SELECTED)) {
                list->SetItemState(row, 0, LVIS_SELECTED);
                cd->clrTextBk = kGreen;
                *result = CDRF_NOTIFYPOSTPAINT;
                unselected = row;
                return;
            }
            if (row == 1)
                cd->clrTextBk = kGreen;
            *result = row == 1 ? CDRF_NOTIFYSUBITEMDRAW : CDRF_DODEFAULT;
            return;
        case CDDS_ITEMPOSTPAINT:
            if (row == unselected)
                list->SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
            return;
        case CDDS_ITEMPREPAINT | CDDS_SUBITEM:
            if (cd->iSubItem == 1) {
                cd->clrText = kRed;
                cd->clrTextBk = kYellow;
                baseFont = cd->nmcd.hdc->GetCurrentFont();
                previous = cd->nmcd.hdc->SelectObject(&bold);
                *result = CDRF_NEWFONT | CDRF_NOTIFYPOSTPAINT;
                return;
            }
            *result = CDRF_DODEFAULT;
            return;
        case CDDS_ITEMPOSTPAINT | CDDS_SUBITEM:
            if (previous)
                cd->nmcd.hdc->SelectObject(previous);
            restoredFont = cd->nmcd.hdc->GetCurrentFont();
            return;
        default:
            return;
        }
    }
    void OnItemChanged(NMHDR* header, LRESULT*) { changes.push_back(*reinterpret_cast<NMLISTVIEW*>(header)); }
    void OnClick(NMHDR* header, LRESULT*) {
        clicks.push_back(reinterpret_cast<NMITEMACTIVATE*>(header)->iItem);
    }
    void OnEndTrack(NMHDR* header, LRESULT*) {
        auto* nm = reinterpret_cast<NMHEADER*>(header);
        endTracks.push_back({nm->iItem, nm->pitem ? nm->pitem->cxy : -1});
    }

    void OnEndLabelEdit(NMHDR* header, LRESULT* result) {
        auto* info = reinterpret_cast<NMLVDISPINFO*>(header);
        edits.push_back(info->item.pszText ? std::string(info->item.pszText) : std::string("<cancelled>"));
        *result = TRUE;
    }

    void OnInfoTip(NMHDR* header, LRESULT*) {
        auto* tip = reinterpret_cast<NMLVGETINFOTIP*>(header);
        tips.push_back({tip->iItem, tip->iSubItem});
        tip->text = "Explanation of " + list->GetItemText(tip->iItem, 0);
    }

    CListCtrl* list = nullptr;
    std::vector<std::string> edits;
    std::vector<std::pair<int, int>> tips;
    CFont bold;
    CFont* baseFont = nullptr;
    CFont* previous = nullptr;
    CFont* restoredFont = nullptr;
    bool unselectWhilePainting = false;
    int unselected = -1;
    std::vector<DWORD> stages;
    std::vector<NMLISTVIEW> changes;
    std::vector<int> clicks;
    std::vector<std::pair<int, int>> endTracks;
};

class ListCtrlTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureQtApplication();
        ASSERT_TRUE(parent.Create(nullptr, "list parent", WS_OVERLAPPED, CRect(0, 0, 400, 200), nullptr, 0));
        ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS, CRect(0, 0, 400, 200),
                                &parent, kListId));
        parent.list = &list;
        LOGFONT lf{};
        lf.lfHeight = -14;
        lf.lfWeight = FW_BOLD;
        std::strcpy(lf.lfFaceName, "Arial");
        parent.bold.CreateFontIndirect(&lf);
        list.SetExtendedStyle(LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_CHECKBOXES | LVS_EX_INFOTIP);
        list.InsertColumn(0, "Code", LVCFMT_LEFT, 80);
        list.InsertColumn(1, "Value", LVCFMT_LEFT, 120);
        list.InsertColumn(2, "Unit", LVCFMT_RIGHT, 60);
        for (int row = 0; row < 3; ++row) {
            list.InsertItem(row, "Cn00" + std::to_string(row));
            list.SetItemText(row, 1, "WWWW");
            list.SetItemData(row, 100 + static_cast<std::uintptr_t>(row));
        }
        parent.changes.clear();
    }
    void TearDown() override { parent.DestroyWindow(); }

    QColor At(const QImage& image, int row, int column, int dx, int dy) {
        CRect cell;
        list.GetSubItemRect(row, column, LVIR_LABEL, cell);
        return image.pixelColor(cell.left + dx, cell.top + dy);
    }
    // Horizontal extent of the red ink inside a cell.
    int RedInkWidth(const QImage& image, int row, int column) {
        CRect cell;
        list.GetSubItemRect(row, column, LVIR_LABEL, cell);
        int first = -1, last = -1;
        for (int x = cell.left; x < cell.right; ++x)
            for (int y = cell.top; y < cell.bottom; ++y)
                if (image.pixelColor(x, y) == QColor(Qt::red)) {
                    if (first < 0)
                        first = x;
                    last = x;
                }
        return first < 0 ? 0 : last - first + 1;
    }

    ListParent parent;
    CListCtrl list;
};

TEST_F(ListCtrlTest, CustomDrawColoursAndFontsReachThePaintedCells) {
    list.SetItemText(0, 1, "WWWW");
    QImage image = list.Render();
    ASSERT_FALSE(image.isNull());
    // Row 0: the list's own white background; row 1: green from the item stage, yellow in cell 1.
    EXPECT_EQ(At(image, 0, 1, 3, 2), QColor(Qt::white));
    EXPECT_EQ(At(image, 1, 0, 40, 2), QColor(0, 240, 0));
    EXPECT_EQ(At(image, 1, 2, 3, 2), QColor(0, 240, 0)) << "the item stage's colour applies to every cell";
    EXPECT_EQ(At(image, 1, 1, 3, 2), QColor(Qt::yellow));
    EXPECT_GT(RedInkWidth(image, 1, 1), 0) << "text in the sub-item's colour";
    EXPECT_EQ(RedInkWidth(image, 0, 1), 0);

    // The font selected at the sub-item stage is the one painted with: bold is wider than the base.
    ASSERT_NE(parent.baseFont, nullptr);
    EXPECT_EQ(parent.restoredFont, parent.baseFont) << "post-paint put the base font back";
    LOGFONT base;
    parent.baseFont->GetLogFont(&base);
    EXPECT_EQ(base.lfWeight, FW_NORMAL);
    // Stages arrive in order: control, item, sub-items, sub-item post-paint.
    ASSERT_GE(parent.stages.size(), 4u);
    EXPECT_EQ(parent.stages.front(), CDDS_PREPAINT);
    EXPECT_NE(std::find(parent.stages.begin(), parent.stages.end(), DWORD(CDDS_ITEMPREPAINT | CDDS_SUBITEM)),
              parent.stages.end());
}

TEST_F(ListCtrlTest, NewFontChangesTheTextWidth) {
    // Same text in a normal and a bold cell: compare ink widths in the same colour.
    parent.stages.clear();
    list.SetTextColor(kRed);
    QImage image = list.Render();
    const int normal = RedInkWidth(image, 0, 1);
    const int bold = RedInkWidth(image, 1, 1);
    EXPECT_GT(normal, 0);
    EXPECT_GT(bold, normal);
}

TEST_F(ListCtrlTest, SelectionTakenAwayWhilePaintingIsNeitherPaintedNorReported) {
    list.SetItemState(2, LVIS_SELECTED, LVIS_SELECTED);
    QImage plain = list.Render();
    EXPECT_EQ(At(plain, 2, 1, 3, 2), ToQColor(GetSysColor(COLOR_HIGHLIGHT))) << "full-row highlight";
    parent.changes.clear();
    parent.unselectWhilePainting = true;
    QImage styled = list.Render();
    EXPECT_EQ(At(styled, 2, 1, 3, 2), QColor(0, 240, 0));
    EXPECT_TRUE(parent.changes.empty());
    EXPECT_EQ(list.GetItemState(2, LVIS_SELECTED), UINT(LVIS_SELECTED));
}

TEST_F(ListCtrlTest, StateChangesSendItemChanged) {
    list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
    ASSERT_EQ(parent.changes.size(), 1u);
    EXPECT_EQ(parent.changes[0].iItem, 1);
    EXPECT_TRUE(parent.changes[0].uNewState & LVIS_SELECTED);
    EXPECT_FALSE(parent.changes[0].uOldState & LVIS_SELECTED);
    EXPECT_EQ(parent.changes[0].lParam, 101);
    EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), 1);
    EXPECT_EQ(list.GetSelectedCount(), 1);

    parent.changes.clear();
    list.SetCheck(2, true);
    ASSERT_EQ(parent.changes.size(), 1u);
    EXPECT_EQ(parent.changes[0].uNewState & LVIS_STATEIMAGEMASK, INDEXTOSTATEIMAGEMASK(2));
    EXPECT_TRUE(list.GetCheck(2));
    EXPECT_FALSE(list.GetCheck(0));
    parent.changes.clear();
    list.SetItemText(2, 1, "changed text");
    list.SetCheck(2, true);
    EXPECT_TRUE(parent.changes.empty()) << "neither a text change nor an unchanged check is reported";
}

TEST_F(ListCtrlTest, ItemsTextsDataAndFind) {
    EXPECT_EQ(list.GetItemCount(), 3);
    EXPECT_EQ(list.GetItemText(1, 0), "Cn001");
    EXPECT_EQ(list.GetItemText(1, 5), "") << "a column that does not exist";
    LVFINDINFO byData;
    byData.flags = LVFI_PARAM;
    byData.lParam = 102;
    EXPECT_EQ(list.FindItem(&byData), 2);
    EXPECT_EQ(list.FindItem(&byData, 2), -1) << "the search starts after the start item";
    LVFINDINFO byText;
    byText.flags = LVFI_STRING;
    byText.psz = "cn000";
    EXPECT_EQ(list.FindItem(&byText), 0);
    EXPECT_TRUE(list.DeleteItem(0));
    EXPECT_EQ(list.GetItemData(0), 101u);
    LVCOLUMN column;
    column.mask = LVCF_FMT | LVCF_WIDTH;
    ASSERT_TRUE(list.GetColumn(2, &column));
    EXPECT_EQ(column.fmt, LVCFMT_RIGHT);
    EXPECT_EQ(column.cx, 60);
    EXPECT_TRUE(list.DeleteAllItems());
    EXPECT_EQ(list.GetItemCount(), 0);
}

TEST_F(ListCtrlTest, ClicksAndHitTestsUseClientCoordinates) {
    parent.GetWidget()->show();
    list.GetWidget()->show();
    CRect cell;
    ASSERT_TRUE(list.GetSubItemRect(1, 2, LVIR_BOUNDS, cell));
    LVHITTESTINFO hit;
    hit.pt = CPoint(cell.left + 5, cell.top + 3);
    EXPECT_EQ(list.SubItemHitTest(&hit), 1);
    EXPECT_EQ(hit.iSubItem, 2);
    EXPECT_EQ(list.HitTest(CPoint(5, 190)), -1);

    auto* table = static_cast<QTableWidget*>(list.GetWidget());
    const QPoint inViewport = QPoint(cell.left + 5, cell.top + 3) - table->viewport()->geometry().topLeft();
    QMouseEvent press(QEvent::MouseButtonPress, inViewport, table->viewport()->mapToGlobal(inViewport),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(table->viewport(), &press);
    ASSERT_EQ(parent.clicks.size(), 1u);
    EXPECT_EQ(parent.clicks[0], 1);
    EXPECT_EQ(list.GetSelectionMark(), 1);
}

TEST_F(ListCtrlTest, HeaderEndTrackReachesTheParentOnce) {
    parent.GetWidget()->show();
    auto* table = static_cast<QTableWidget*>(list.GetWidget());
    QWidget* header = table->horizontalHeader()->viewport();
    const int edge = table->horizontalHeader()->sectionViewportPosition(0) + 80 - 1;
    auto send = [&](QEvent::Type type, int x, Qt::MouseButtons buttons) {
        QPoint p(x, 5);
        QMouseEvent event(type, p, header->mapToGlobal(p), Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(header, &event);
    };
    send(QEvent::MouseButtonPress, edge, Qt::LeftButton);
    send(QEvent::MouseMove, edge + 20, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, edge + 20, Qt::NoButton);
    if (list.GetColumnWidth(0) == 80)
        GTEST_SKIP() << "the style offers no resize handle at the section edge";
    ASSERT_EQ(parent.endTracks.size(), 1u);
    EXPECT_EQ(parent.endTracks[0].first, 0);
    EXPECT_EQ(parent.endTracks[0].second, list.GetColumnWidth(0));
    list.SetColumnWidth(0, 50);
    EXPECT_EQ(parent.endTracks.size(), 1u) << "a width set by code is no drag";
}

TEST_F(ListCtrlTest, ADisabledHeaderCanBeNeitherDraggedNorClicked) {
    parent.GetWidget()->show();
    CHeaderCtrl* header = list.GetHeaderCtrl();
    ASSERT_NE(header, nullptr);
    EXPECT_TRUE(header->IsWindowEnabled());
    header->EnableWindow(false);
    EXPECT_FALSE(header->IsWindowEnabled());
    auto* table = static_cast<QTableWidget*>(list.GetWidget());
    QWidget* viewport = table->horizontalHeader()->viewport();
    const int edge = table->horizontalHeader()->sectionViewportPosition(0) + 80 - 1;
    for (auto [type, x, buttons] :
         {std::tuple{QEvent::MouseButtonPress, edge, Qt::MouseButtons(Qt::LeftButton)},
          std::tuple{QEvent::MouseMove, edge + 20, Qt::MouseButtons(Qt::LeftButton)},
          std::tuple{QEvent::MouseButtonRelease, edge + 20, Qt::MouseButtons()}}) {
        const QPoint p(x, 5);
        QMouseEvent event(type, p, viewport->mapToGlobal(p), Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(viewport, &event);
    }
    EXPECT_EQ(list.GetColumnWidth(0), 80);
    EXPECT_TRUE(parent.endTracks.empty());
}

TEST_F(ListCtrlTest, LabelEditingReportsTheTextAndKeepsItWhenAccepted) {
    ASSERT_TRUE(list.EditLabel(1));
    auto* edit = list.GetWidget()->findChild<QLineEdit*>();
    ASSERT_NE(edit, nullptr);
    edit->setText("Cn099");
    EXPECT_TRUE(list.EndLabelEdit(true));
    EXPECT_EQ(list.GetItemText(1, 0), "Cn099");
    ASSERT_TRUE(list.EditLabel(2));
    EXPECT_TRUE(list.EndLabelEdit(false));
    EXPECT_EQ(list.GetItemText(2, 0), "Cn002") << "Esc keeps the old text";
    EXPECT_EQ(parent.edits, (std::vector<std::string>{"Cn099", "<cancelled>"}));
    EXPECT_FALSE(list.EndLabelEdit(true)) << "no edit runs";
    EXPECT_FALSE(list.EditLabel(7));
}

TEST_F(ListCtrlTest, InfoTipsAskTheParentForTheHoveredCell) {
    parent.GetWidget()->show();
    CRect cell;
    ASSERT_TRUE(list.GetSubItemRect(1, 2, LVIR_BOUNDS, cell));
    auto* table = static_cast<QTableWidget*>(list.GetWidget());
    const QPoint inViewport = QPoint(cell.left + 3, cell.top + 3) - table->viewport()->geometry().topLeft();
    QHelpEvent help(QEvent::ToolTip, inViewport, table->viewport()->mapToGlobal(inViewport));
    QApplication::sendEvent(table->viewport(), &help);
    ASSERT_EQ(parent.tips.size(), 1u);
    EXPECT_EQ(parent.tips[0], std::make_pair(1, 2));

    list.SetExtendedStyle(list.GetExtendedStyle() & ~DWORD(LVS_EX_INFOTIP));
    QApplication::sendEvent(table->viewport(), &help);
    EXPECT_EQ(parent.tips.size(), 1u) << "without info tips the parent is not asked";
}

// A derived class taking over a control made earlier keeps what the control holds.
class DerivedList : public CListCtrl {};

TEST_F(ListCtrlTest, SubclassingKeepsColumnsItemsAndSettings) {
    DerivedList derived;
    ASSERT_TRUE(derived.SubclassWindow(list.GetSafeHwnd()));
    EXPECT_EQ(derived.GetItemCount(), 3);
    EXPECT_EQ(derived.GetColumnCount(), 3);
    EXPECT_EQ(derived.GetItemData(2), 102u);
    EXPECT_TRUE(derived.GetExtendedStyle() & LVS_EX_CHECKBOXES);
    derived.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
    ASSERT_EQ(parent.changes.size(), 1u) << "notifications now come from the derived object";
    derived.UnsubclassWindow();
}

// A list that takes clicks itself, as the hex cell list does.
class ClickList : public CListCtrl {
public:
    const MessageMap* GetMessageMap() const override {
        static const MessageMap map(CListCtrl::GetMessageMap(),
                                    {msg::Mouse(WM_LBUTTONDOWN, &ClickList::OnLButtonDown)});
        return &map;
    }
    void OnLButtonDown(UINT, CPoint point) { clicks.push_back(point); }
    std::vector<CPoint> clicks;
};

TEST_F(ListCtrlTest, TheControlsOwnMouseHandlerSeesClicksInClientCoordinates) {
    ClickList clicking;
    ASSERT_TRUE(clicking.SubclassWindow(list.GetSafeHwnd()));
    CRect cell;
    ASSERT_TRUE(clicking.GetSubItemRect(2, 1, LVIR_BOUNDS, cell));
    auto* table = static_cast<QTableWidget*>(clicking.GetWidget());
    const QPoint client(cell.left + 4, cell.top + 2);
    const QPoint inViewport = client - table->viewport()->geometry().topLeft();
    QMouseEvent press(QEvent::MouseButtonPress, inViewport, table->viewport()->mapToGlobal(inViewport),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(table->viewport(), &press);
    ASSERT_EQ(clicking.clicks.size(), 1u);
    EXPECT_EQ(clicking.clicks[0], CPoint(client.x(), client.y()));
    EXPECT_TRUE(parent.clicks.empty()) << "the handler kept the click from the list";
    EXPECT_EQ(clicking.GetSelectedCount(), 0);
    clicking.UnsubclassWindow();
}

TEST(ListCtrlTemplateTest, AListViewInADialogTemplateIsAListControl) {
    EnsureQtApplication();
    DialogTemplate t;
    t.id = 300;
    t.cx = 200;
    t.cy = 100;
    DialogControlTemplate control;
    control.id = static_cast<int>(kListId);
    control.className = "SysListView32";
    control.style = WS_CHILD | WS_VISIBLE | LVS_REPORT;
    control.cx = 180;
    control.cy = 80;
    t.controls.push_back(control);
    CDialog dialog;
    ASSERT_TRUE(dialog.CreateIndirect(t));
    auto* list = dynamic_cast<CListCtrl*>(dialog.GetDlgItem(static_cast<int>(kListId)));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->InsertColumn(0, "Code", LVCFMT_LEFT, 60), 0);
    EXPECT_EQ(list->InsertItem(0, "Cn001"), 0);
    DerivedList derived;
    ASSERT_TRUE(derived.SubclassDlgItem(kListId, &dialog));
    EXPECT_EQ(derived.GetItemText(0, 0), "Cn001");
    dialog.DestroyWindow();
}

TEST(ImageListTest, BitmapStripsAreCutAndMasked) {
    EnsureQtApplication();
    CBitmap strip;
    ASSERT_TRUE(strip.CreateCompatibleBitmap(nullptr, 32, 16));
    {
        CDC dc;
        dc.CreateCompatibleDC(nullptr);
        dc.SelectObject(&strip);
        CBrush red(RGB(255, 0, 0)), blue(RGB(0, 0, 255));
        dc.FillRect(CRect(0, 0, 32, 16), &red);
        dc.FillRect(CRect(20, 4, 28, 12), &blue);
    }
    CImageList images;
    ASSERT_TRUE(images.Create(16, 16, ILC_COLOR32 | ILC_MASK, 4, 4));
    EXPECT_EQ(images.Add(&strip, RGB(255, 0, 0)), 0);
    EXPECT_EQ(images.GetImageCount(), 2);
    EXPECT_EQ(qAlpha(images.Image(1).pixel(0, 0)), 0) << "mask colour is transparent";
    EXPECT_EQ(images.Image(1).pixelColor(8, 8), QColor(Qt::blue));
    EXPECT_TRUE(images.Image(5).isNull());
    CImageList never;
    EXPECT_EQ(never.Add(&strip, 0), -1);
}

} // namespace
