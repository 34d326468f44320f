// Which style a cell of the styled list paints with: the rules alone, then on a rendered list.
#include "controls/ListStyles.h"
#include "ControlsTestSupport.h"
#include "controls/ListCtrlStyled.h"

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0), kGreen = RGB(0, 200, 0), kBlue = RGB(0, 0, 255),
                   kYellow = RGB(255, 255, 0), kText = RGB(1, 1, 1), kBack = RGB(250, 250, 250),
                   kSelText = RGB(255, 255, 254), kSelBack = RGB(0, 0, 128);
const ListPalette kPalette{kText, kBack, kSelText, kSelBack};

ListStyle Style(std::uint32_t flags, COLORREF text = 0, COLORREF back = 0) {
    ListStyle s;
    s.flags = flags;
    s.text = text;
    s.back = back;
    return s;
}

TEST(ListStyleRules, CellThatExcludesItsColumnKeepsTheListTextColour) {
    const ListStyle cell = Style(0xE0, 0, kGreen);
    const ListStyle column = Style(LIS_TXTCOLOR, kRed);
    const ResolvedCellStyle s = ResolveCellStyle(&cell, &column, false, kPalette, {});
    EXPECT_EQ(s.text, kText);
    EXPECT_EQ(s.back, kGreen);
    EXPECT_FALSE(s.hasFont);
}

TEST(ListStyleRules, ColumnColourAppliesUnlessSelected) {
    ListStyle cell;
    const ListStyle column = Style(LIS_TXTCOLOR | LIS_BKCOLOR, kRed, kYellow);
    ResolvedCellStyle s = ResolveCellStyle(&cell, &column, false, kPalette, {});
    EXPECT_EQ(s.text, kRed);
    EXPECT_EQ(s.back, kYellow);
    s = ResolveCellStyle(&cell, &column, true, kPalette, {});
    EXPECT_EQ(s.text, kSelText);
    EXPECT_EQ(s.back, kSelBack);
    cell.Selected() = Style(LIS_TXTCOLOR, kBlue);
    s = ResolveCellStyle(&cell, &column, true, kPalette, {});
    EXPECT_EQ(s.text, kBlue);
    EXPECT_EQ(s.back, kSelBack);
    s = ResolveCellStyle(nullptr, nullptr, false, kPalette, {});
    EXPECT_EQ(s.text, kText);
}

TEST(ListStyleRules, FontsOfColumnAndCellMerge) {
    const ListStyle column = Style(LIS_ITALIC);
    ListStyle cell = Style(LIS_BOLD);
    ResolvedCellStyle s = ResolveCellStyle(&cell, &column, false, kPalette, {});
    EXPECT_EQ(s.fontLevels, 2);
    EXPECT_EQ(s.font, (FontFace{700, true, false, false}));
    cell.flags = LIS_UNDERLINE;
    s = ResolveCellStyle(&cell, &column, false, kPalette, {});
    EXPECT_EQ(s.font, (FontFace{400, true, true, false}));
    cell.flags = LIS_BOLD | LIS_NOCOLSTYLE;
    s = ResolveCellStyle(&cell, &column, false, kPalette, {});
    EXPECT_EQ(s.fontLevels, 1);
    EXPECT_EQ(s.font, (FontFace{700, false, false, false}));
    // A bold base font: a cell that only asks for italic is made at normal weight.
    cell.flags = LIS_ITALIC;
    s = ResolveCellStyle(&cell, nullptr, false, kPalette, FontFace{700, false, false, false});
    EXPECT_EQ(s.font, (FontFace{400, true, false, false}));
}

TEST(ListStyleRules, SelectedStateWithoutFontTakesTheNormalFont) {
    ListStyle cell = Style(LIS_STRIKEOUT);
    cell.Selected() = Style(LIS_TXTCOLOR, kBlue);
    const ResolvedCellStyle s = ResolveCellStyle(&cell, nullptr, true, kPalette, {});
    EXPECT_TRUE(s.hasFont);
    EXPECT_TRUE(s.font.strikeOut);
    EXPECT_EQ(s.text, kBlue);
}

TEST(ListStyleRules, RecordsFollowInsertedAndRemovedColumns) {
    ListStyleTable table;
    auto row = ListStyleTable::MakeRow(0);
    std::vector<ListRowStyle*> rows{row.get()};
    table.ColumnInserted(0, 1, rows);
    table.ColumnInserted(1, 2, rows);
    table.ColumnInserted(2, 3, rows);
    ASSERT_EQ(row->cells.size(), 2u);
    row->Cell(2)->flags = LIS_BOLD;
    table.Column(2, true)->flags = LIS_ITALIC;
    table.ColumnInserted(1, 4, rows); // a new column in front of them shifts both
    EXPECT_EQ(row->Cell(3)->flags, LIS_BOLD);
    EXPECT_EQ(table.Column(3, false)->flags, LIS_ITALIC);
    EXPECT_TRUE(table.ColumnRemoved(1, rows));
    EXPECT_EQ(row->Cell(2)->flags, LIS_BOLD);
    EXPECT_FALSE(table.ColumnRemoved(7, rows));
    EXPECT_EQ(row->Cell(9), nullptr);
}

// ---- on a real list

class StyledListTest : public ControlsWindowTest {
protected:
    void SetUp() override {
        ControlsWindowTest::SetUp();
        ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, CRect(0, 0, 460, 200), &parent, 1400));
        list.SetExtendedStyle(LVS_EX_FULLROWSELECT);
        list.InsertColumn(0, "Code", LVCFMT_LEFT, 80);
        list.InsertColumn(1, "Value", LVCFMT_LEFT, 140);
        list.InsertColumn(2, "Range", LVCFMT_LEFT, 140);
        for (int row = 0; row < 3; ++row) {
            list.InsertItem(row, "Cn00" + std::to_string(row));
            list.SetItemText(row, 1, "WWWW");
            list.SetItemText(row, 2, "WWWW");
        }
    }
    CRect Cell(int row, int column) {
        CRect r;
        list.GetSubItemRect(row, column, LVIR_LABEL, r);
        return r;
    }
    QColor Back(const QImage& image, int row, int column) {
        const CRect r = Cell(row, column);
        return image.pixelColor(r.right - 3, r.top + 2);
    }
    int Ink(const QImage& image, int row, int column, QColor colour) {
        const CRect r = Cell(row, column);
        int n = 0;
        for (int x = r.left; x < r.right; ++x)
            for (int y = r.top; y < r.bottom; ++y)
                n += image.pixelColor(x, y) == colour ? 1 : 0;
        return n;
    }
    int Dark(const QImage& image, int row, int column) {
        const CRect r = Cell(row, column);
        int n = 0;
        for (int x = r.left; x < r.right; ++x)
            for (int y = r.top; y < r.bottom; ++y)
                n += image.pixelColor(x, y).lightness() < 128 ? 1 : 0;
        return n;
    }
    CListCtrlStyled list;
};

TEST_F(StyledListTest, ColumnAndCellColoursPaint) {
    ASSERT_TRUE(list.SetColumnStyle(1, LIS_TXTCOLOR));
    ASSERT_TRUE(list.SetColumnTextColor(1, kRed));
    ASSERT_TRUE(list.SetColumnStyle(2, LIS_TXTCOLOR | LIS_BKCOLOR));
    ASSERT_TRUE(list.SetColumnTextColor(2, kBlue));
    ASSERT_TRUE(list.SetColumnBkColor(2, kYellow));
    ASSERT_TRUE(list.SetItemStyle(0, 2, 0xE0));
    ASSERT_TRUE(list.SetItemBkColor(0, 2, kGreen));
    const QImage image = list.Render();
    EXPECT_GT(Ink(image, 0, 1, QColor(255, 0, 0)), 0);
    EXPECT_EQ(Back(image, 0, 2), QColor(0, 200, 0));
    EXPECT_EQ(Ink(image, 0, 2, QColor(0, 0, 255)), 0); // the column does not apply to this cell
    EXPECT_EQ(Back(image, 1, 2), QColor(255, 255, 0));
    EXPECT_GT(Ink(image, 1, 2, QColor(0, 0, 255)), 0);
}

TEST_F(StyledListTest, SelectedRowTakesHighlightUnlessItsCellSaysOtherwise) {
    list.SetColumnStyle(1, LIS_TXTCOLOR);
    list.SetColumnTextColor(1, kRed);
    list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
    list.SetItemSelectedStyle(1, 2, LIS_BKCOLOR);
    list.SetItemSelectedBkColor(1, 2, kGreen);
    const QImage image = list.Render();
    EXPECT_EQ(Back(image, 1, 1), ToQColor(list.m_selectedBkColor));
    EXPECT_EQ(Ink(image, 1, 1, QColor(255, 0, 0)), 0);
    EXPECT_EQ(Back(image, 1, 2), QColor(0, 200, 0));
    EXPECT_GT(Ink(image, 0, 1, QColor(255, 0, 0)), 0);
    // The selection survives the painting.
    EXPECT_TRUE(list.GetItemState(1, LVIS_SELECTED) & LVIS_SELECTED);
}

TEST_F(StyledListTest, BoldCellInItalicColumnGetsOneMergedFont) {
    list.SetColumnStyle(1, LIS_ITALIC);
    list.SetItemStyle(0, 1, LIS_BOLD);
    LOGFONT lf{};
    CFont* font = list.CellFont(0, 1, false);
    ASSERT_NE(font, nullptr);
    font->GetLogFont(&lf);
    EXPECT_EQ(lf.lfWeight, 700);
    EXPECT_TRUE(lf.lfItalic);
    CFont* italicOnly = list.CellFont(1, 1, false);
    ASSERT_NE(italicOnly, nullptr);
    italicOnly->GetLogFont(&lf);
    EXPECT_EQ(lf.lfWeight, 400);
    EXPECT_TRUE(lf.lfItalic);
    const QImage image = list.Render();
    EXPECT_GT(Dark(image, 0, 1), Dark(image, 1, 1) + 10); // bold ink is heavier
    list.SetItemStyle(0, 1, LIS_UNDERLINE);
    list.CellFont(0, 1, false)->GetLogFont(&lf);
    EXPECT_EQ(lf.lfWeight, 400);
    EXPECT_TRUE(lf.lfItalic);
    EXPECT_TRUE(lf.lfUnderline);
    EXPECT_EQ(list.CellFont(2, 0, false), nullptr);
}

TEST_F(StyledListTest, ItemDataLiveInTheRecordsAndRowsFollowColumns) {
    list.SetItemData(2, 77);
    EXPECT_EQ(list.GetItemData(2), 77u);
    LVFINDINFO find;
    find.flags = LVFI_PARAM;
    find.lParam = 77;
    EXPECT_EQ(list.FindItem(&find), 2);
    EXPECT_EQ(list.FindItem(&find, 2), -1);
    EXPECT_FALSE(list.SetItemStyle(0, 3, LIS_BOLD)); // no such cell: nothing changes
    EXPECT_FALSE(list.SetColumnStyle(5, LIS_BOLD));
    EXPECT_TRUE(list.RemoveColumn(2));
    EXPECT_TRUE(list.RemoveColumn(1));
    EXPECT_EQ(list.GetItemCount(), 3);
    EXPECT_TRUE(list.RemoveColumn(0)); // the only column: the rows go with it
    EXPECT_EQ(list.GetItemCount(), 0);
    EXPECT_EQ(list.GetColumnCount(), 0);
}

} // namespace
