#pragma once
// CListCtrlStyled: a report list whose cells each paint with their own text colour, background and
// font style (bold, italic, underline, strike-out), with separate styles while a row is selected.
// Styles live in records on columns and cells (ListStyles.h) and apply through the list's custom draw.
// Rows and columns must be added and removed through this class so the records follow them.
#include "controls/ListStyles.h"
#include "framework/ui/Gdi.h"
#include "framework/ui/ListCtrl.h"

#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class CListCtrlStyled : public CListCtrl {
public:
    CListCtrlStyled();
    ~CListCtrlStyled() override;
    const MessageMap* GetMessageMap() const override;

    // Columns and rows.
    int InsertColumn(int column, const std::string& heading, int format = LVCFMT_LEFT, int width = -1,
                     int subItem = -1);
    int InsertColumn(int column, const LVCOLUMN* info);
    // Removing the last column deletes every row.
    bool RemoveColumn(int column);
    bool DeleteColumn(int column) { return RemoveColumn(column); }
    int InsertItem(int item, const std::string& text, int image = -1);
    int InsertItem(const LVITEM* item);
    bool SetItem(const LVITEM* item);
    int FindItem(const LVFINDINFO* find, int start = -1) const;
    bool DeleteItem(int item);
    bool DeleteAllItems();
    // The caller's own item data, kept in the row's record.
    bool SetItemData(int item, std::uintptr_t data);
    std::uintptr_t GetItemData(int item) const;

    // Style setters; false (nothing changed) for a column or cell that does not exist.
    bool SetColumnStyle(int column, std::uint32_t flags, bool redraw = false);
    bool SetColumnTextColor(int column, COLORREF colour, bool redraw = false);
    bool SetColumnBkColor(int column, COLORREF colour, bool redraw = false);
    bool SetItemStyle(int item, int subItem, std::uint32_t flags, bool redraw = false);
    bool SetItemTextColor(int item, int subItem, COLORREF colour, bool redraw = false);
    bool SetItemBkColor(int item, int subItem, COLORREF colour, bool redraw = false);
    bool SetItemSelectedStyle(int item, int subItem, std::uint32_t flags, bool redraw = false);
    bool SetItemSelectedBkColor(int item, int subItem, COLORREF colour, bool redraw = false);
    bool SetItemSelectedTextColor(int item, int subItem, COLORREF colour, bool redraw = false);

    // How a cell paints now (as selected or not), and the font it paints with (nullptr: the list's own).
    ResolvedCellStyle ResolveCell(int item, int subItem, bool selected) const;
    CFont* CellFont(int item, int subItem, bool selected);

    COLORREF m_selectedTextColor;
    COLORREF m_selectedBkColor;

protected:
    void OnCustomDraw(NMHDR* header, LRESULT* result);
    void OnReturn(NMHDR* header, LRESULT* result);
    void OnDestroy();
    void OnVScroll(UINT code, UINT position, CScrollBar* bar);

private:
    ListRowStyle* Row(int item) const;
    std::vector<ListRowStyle*> Rows() const;
    ListStyle* CellRecord(int item, int subItem) const;
    ListPalette Palette() const;
    FontFace BaseFace() const;
    CFont* FontOf(const FontFace& face);
    void RedrawAll(bool redraw);
    void RedrawRow(int item, bool redraw);
    void FreeRow(ListRowStyle* row);
    bool ChangeColumn(int column, bool redraw, const std::function<void(ListStyle&)>& change);
    bool ChangeCell(int item, int subItem, bool selected, bool redraw,
                    const std::function<void(ListStyle&)>& change);

    ListStyleTable table_;
    std::unordered_map<ListRowStyle*, std::unique_ptr<ListRowStyle>> rows_;
    LOGFONT baseLogFont_{};
    bool haveBase_ = false;
    std::vector<std::pair<LOGFONT, std::unique_ptr<CFont>>> fonts_;
    CFont* itemOldFont_ = nullptr;
    CFont* subOldFont_ = nullptr;
    bool itemFontSelected_ = false;
    bool subFontSelected_ = false;
    bool paintingSelected_ = false;
};
