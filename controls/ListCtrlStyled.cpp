#include "controls/ListCtrlStyled.h"

#include "framework/ui/DC.h"

#include <cstring>

CListCtrlStyled::CListCtrlStyled()
    : m_selectedTextColor(GetSysColor(COLOR_HIGHLIGHTTEXT)), m_selectedBkColor(GetSysColor(COLOR_HIGHLIGHT)) {
}

CListCtrlStyled::~CListCtrlStyled() = default;

const MessageMap* CListCtrlStyled::GetMessageMap() const {
    static const MessageMap map(CListCtrl::GetMessageMap(),
                                {
                                    msg::NotifyReflect(NM_CUSTOMDRAW, &CListCtrlStyled::OnCustomDraw),
                                    msg::NotifyReflect(NM_RETURN, &CListCtrlStyled::OnReturn),
                                    msg::Destroy(&CListCtrlStyled::OnDestroy),
                                    msg::VScroll(&CListCtrlStyled::OnVScroll),
                                });
    return &map;
}

// ---- records

ListRowStyle* CListCtrlStyled::Row(int item) const {
    if (item < 0 || item >= GetItemCount())
        return nullptr;
    auto* row = reinterpret_cast<ListRowStyle*>(CListCtrl::GetItemData(item));
    return rows_.count(row) ? row : nullptr;
}

std::vector<ListRowStyle*> CListCtrlStyled::Rows() const {
    std::vector<ListRowStyle*> rows;
    for (int i = 0; i < GetItemCount(); ++i)
        if (ListRowStyle* row = Row(i))
            rows.push_back(row);
    return rows;
}

ListStyle* CListCtrlStyled::CellRecord(int item, int subItem) const {
    ListRowStyle* row = Row(item);
    return row ? row->Cell(subItem) : nullptr;
}

void CListCtrlStyled::FreeRow(ListRowStyle* row) {
    rows_.erase(row);
}

// ---- columns and rows

int CListCtrlStyled::InsertColumn(int column, const std::string& heading, int format, int width,
                                  int subItem) {
    const int index = CListCtrl::InsertColumn(column, heading, format, width, subItem);
    if (index >= 0)
        table_.ColumnInserted(index, GetColumnCount(), Rows());
    return index;
}

int CListCtrlStyled::InsertColumn(int column, const LVCOLUMN* info) {
    const int index = CListCtrl::InsertColumn(column, info);
    if (index >= 0)
        table_.ColumnInserted(index, GetColumnCount(), Rows());
    return index;
}

bool CListCtrlStyled::RemoveColumn(int column) {
    if (column < 0 || column >= table_.ColumnSlots() || column >= GetColumnCount())
        return false;
    if (GetColumnCount() == 1) {
        // Rows cannot live without a column.
        DeleteAllItems();
        table_.ColumnRemoved(column, {});
        return CListCtrl::DeleteColumn(column);
    }
    table_.ColumnRemoved(column, Rows());
    return CListCtrl::DeleteColumn(column);
}

int CListCtrlStyled::InsertItem(int item, const std::string& text, int image) {
    LVITEM lv;
    lv.mask = LVIF_TEXT | (image >= 0 ? LVIF_IMAGE : 0u);
    lv.iItem = item;
    std::string copy = text;
    lv.pszText = copy.data();
    lv.iImage = image;
    return InsertItem(&lv);
}

int CListCtrlStyled::InsertItem(const LVITEM* item) {
    if (!item)
        return -1;
    std::unique_ptr<ListRowStyle> row = ListStyleTable::MakeRow(GetColumnCount());
    LVITEM lv = *item;
    if (lv.mask & LVIF_PARAM) {
        row->lParam = lv.lParam;
        row->lParamSet = true;
    }
    lv.mask |= LVIF_PARAM;
    lv.lParam = reinterpret_cast<LPARAM>(row.get());
    const int index = CListCtrl::InsertItem(&lv);
    if (index >= 0) {
        ListRowStyle* key = row.get();
        rows_[key] = std::move(row);
    }
    return index;
}

bool CListCtrlStyled::SetItem(const LVITEM* item) {
    if (!item)
        return false;
    LVITEM lv = *item;
    if (lv.mask & LVIF_PARAM) {
        ListRowStyle* row = Row(lv.iItem);
        if (!row)
            return false;
        row->lParam = lv.lParam;
        row->lParamSet = true;
        lv.mask &= ~static_cast<UINT>(LVIF_PARAM);
    }
    return CListCtrl::SetItem(&lv);
}

bool CListCtrlStyled::SetItemData(int item, std::uintptr_t data) {
    ListRowStyle* row = Row(item);
    if (!row)
        return false;
    row->lParam = static_cast<std::intptr_t>(data);
    row->lParamSet = true;
    return true;
}

std::uintptr_t CListCtrlStyled::GetItemData(int item) const {
    ListRowStyle* row = Row(item);
    return row ? static_cast<std::uintptr_t>(row->lParam) : 0;
}

int CListCtrlStyled::FindItem(const LVFINDINFO* find, int start) const {
    if (find && (find->flags & LVFI_PARAM)) {
        for (int i = start + 1; i < GetItemCount(); ++i)
            if (ListRowStyle* row = Row(i); row && row->lParam == find->lParam)
                return i;
        return -1;
    }
    return CListCtrl::FindItem(find, start);
}

bool CListCtrlStyled::DeleteItem(int item) {
    ListRowStyle* row = Row(item);
    const bool ok = CListCtrl::DeleteItem(item);
    if (ok && row)
        FreeRow(row);
    return ok;
}

bool CListCtrlStyled::DeleteAllItems() {
    while (GetItemCount() > 0)
        if (!DeleteItem(GetItemCount() - 1))
            break;
    return CListCtrl::DeleteAllItems();
}

// ---- style setters

void CListCtrlStyled::RedrawAll(bool redraw) {
    if (redraw && GetItemCount() > 0)
        RedrawItems(0, GetItemCount() - 1);
}

void CListCtrlStyled::RedrawRow(int item, bool redraw) {
    if (redraw)
        RedrawItems(item, item);
}

bool CListCtrlStyled::ChangeColumn(int column, bool redraw, const std::function<void(ListStyle&)>& change) {
    ListStyle* record = table_.Column(column, true);
    if (!record)
        return false;
    change(*record);
    RedrawAll(redraw);
    return true;
}

bool CListCtrlStyled::ChangeCell(int item, int subItem, bool selected, bool redraw,
                                 const std::function<void(ListStyle&)>& change) {
    ListStyle* record = CellRecord(item, subItem);
    if (!record)
        return false;
    change(selected ? record->Selected() : *record);
    RedrawRow(item, redraw);
    return true;
}

bool CListCtrlStyled::SetColumnStyle(int column, std::uint32_t flags, bool redraw) {
    return ChangeColumn(column, redraw, [flags](ListStyle& s) { s.flags = flags; });
}
bool CListCtrlStyled::SetColumnTextColor(int column, COLORREF colour, bool redraw) {
    return ChangeColumn(column, redraw, [colour](ListStyle& s) { s.text = colour; });
}
bool CListCtrlStyled::SetColumnBkColor(int column, COLORREF colour, bool redraw) {
    return ChangeColumn(column, redraw, [colour](ListStyle& s) { s.back = colour; });
}
bool CListCtrlStyled::SetItemStyle(int item, int subItem, std::uint32_t flags, bool redraw) {
    return ChangeCell(item, subItem, false, redraw, [flags](ListStyle& s) { s.flags = flags; });
}
bool CListCtrlStyled::SetItemTextColor(int item, int subItem, COLORREF colour, bool redraw) {
    return ChangeCell(item, subItem, false, redraw, [colour](ListStyle& s) { s.text = colour; });
}
bool CListCtrlStyled::SetItemBkColor(int item, int subItem, COLORREF colour, bool redraw) {
    return ChangeCell(item, subItem, false, redraw, [colour](ListStyle& s) { s.back = colour; });
}
bool CListCtrlStyled::SetItemSelectedStyle(int item, int subItem, std::uint32_t flags, bool redraw) {
    return ChangeCell(item, subItem, true, redraw, [flags](ListStyle& s) { s.flags = flags; });
}
bool CListCtrlStyled::SetItemSelectedBkColor(int item, int subItem, COLORREF colour, bool redraw) {
    return ChangeCell(item, subItem, true, redraw, [colour](ListStyle& s) { s.back = colour; });
}
bool CListCtrlStyled::SetItemSelectedTextColor(int item, int subItem, COLORREF colour, bool redraw) {
    return ChangeCell(item, subItem, true, redraw, [colour](ListStyle& s) { s.text = colour; });
}

// ---- painting

ListPalette CListCtrlStyled::Palette() const {
    ListPalette palette;
    palette.text = GetTextColor();
    palette.back = GetTextBkColor();
    palette.selectedText = m_selectedTextColor;
    palette.selectedBack = m_selectedBkColor;
    return palette;
}

FontFace CListCtrlStyled::BaseFace() const {
    FontFace face;
    face.weight = haveBase_ ? baseLogFont_.lfWeight : 400;
    face.italic = haveBase_ && baseLogFont_.lfItalic;
    face.underline = haveBase_ && baseLogFont_.lfUnderline;
    face.strikeOut = haveBase_ && baseLogFont_.lfStrikeOut;
    return face;
}

ResolvedCellStyle CListCtrlStyled::ResolveCell(int item, int subItem, bool selected) const {
    ListRowStyle* row = Row(item);
    const ListStyle* cell = row ? row->Cell(subItem) : nullptr;
    const ListStyle* column = const_cast<ListStyleTable&>(table_).Column(subItem, false);
    return ResolveCellStyle(cell, column, selected, Palette(), BaseFace());
}

CFont* CListCtrlStyled::FontOf(const FontFace& face) {
    LOGFONT lf = baseLogFont_;
    lf.lfWeight = face.weight;
    lf.lfItalic = face.italic ? 1 : 0;
    lf.lfUnderline = face.underline ? 1 : 0;
    lf.lfStrikeOut = face.strikeOut ? 1 : 0;
    for (auto& [key, font] : fonts_)
        if (key.lfHeight == lf.lfHeight && key.lfWidth == lf.lfWidth && key.lfWeight == lf.lfWeight &&
            key.lfItalic == lf.lfItalic && key.lfUnderline == lf.lfUnderline &&
            key.lfStrikeOut == lf.lfStrikeOut &&
            std::strncmp(key.lfFaceName, lf.lfFaceName, LF_FACESIZE) == 0)
            return font.get();
    auto font = std::make_unique<CFont>();
    font->CreateFontIndirect(&lf);
    fonts_.emplace_back(lf, std::move(font));
    return fonts_.back().second.get();
}

CFont* CListCtrlStyled::CellFont(int item, int subItem, bool selected) {
    if (!haveBase_) {
        if (CFont* font = GetFont())
            font->GetLogFont(&baseLogFont_);
        haveBase_ = true;
    }
    const ResolvedCellStyle style = ResolveCell(item, subItem, selected);
    return style.hasFont ? FontOf(style.font) : nullptr;
}

void CListCtrlStyled::OnCustomDraw(NMHDR* header, LRESULT* result) {
    auto* cd = reinterpret_cast<NMLVCUSTOMDRAW*>(header);
    CDC* dc = cd->nmcd.hdc;
    const int row = static_cast<int>(cd->nmcd.dwItemSpec);
    switch (cd->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        itemFontSelected_ = subFontSelected_ = false;
        itemOldFont_ = subOldFont_ = nullptr;
        *result = CDRF_NOTIFYITEMDRAW;
        return;
    case CDDS_ITEMPREPAINT: {
        if (dc && dc->GetCurrentFont()) {
            dc->GetCurrentFont()->GetLogFont(&baseLogFont_);
            haveBase_ = true;
        }
        const bool selected = GetItemState(row, LVIS_SELECTED) & LVIS_SELECTED;
        if (selected) {
            // The list must not paint its own highlight over the styles.
            SetItemState(row, 0, LVIS_SELECTED);
            paintingSelected_ = true;
        }
        const ResolvedCellStyle style = ResolveCell(row, 0, paintingSelected_);
        cd->clrText = style.text;
        cd->clrTextBk = style.back;
        itemFontSelected_ = false;
        if (style.hasFont && dc) {
            itemOldFont_ = dc->SelectObject(FontOf(style.font));
            itemFontSelected_ = true;
        }
        LRESULT answer = CDRF_NOTIFYSUBITEMDRAW;
        if (selected || itemFontSelected_)
            answer |= CDRF_NOTIFYPOSTPAINT;
        if (itemFontSelected_)
            answer |= CDRF_NEWFONT;
        *result = answer;
        return;
    }
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM: {
        const ResolvedCellStyle style = ResolveCell(row, cd->iSubItem, paintingSelected_);
        cd->clrText = style.text;
        cd->clrTextBk = style.back;
        CFont* font = style.hasFont ? FontOf(style.font) : (itemFontSelected_ ? itemOldFont_ : nullptr);
        if (font && dc) {
            subOldFont_ = dc->SelectObject(font);
            subFontSelected_ = true;
            *result = CDRF_NOTIFYPOSTPAINT | CDRF_NEWFONT;
        } else {
            *result = CDRF_DODEFAULT;
        }
        return;
    }
    case CDDS_ITEMPOSTPAINT | CDDS_SUBITEM:
        if (subFontSelected_ && dc)
            dc->SelectObject(subOldFont_);
        subFontSelected_ = false;
        subOldFont_ = nullptr;
        *result = CDRF_DODEFAULT;
        return;
    case CDDS_ITEMPOSTPAINT:
        if (itemFontSelected_ && dc)
            dc->SelectObject(itemOldFont_);
        itemFontSelected_ = false;
        itemOldFont_ = nullptr;
        if (paintingSelected_) {
            paintingSelected_ = false;
            SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
        }
        *result = CDRF_DODEFAULT;
        return;
    default:
        *result = CDRF_DODEFAULT;
        return;
    }
}

void CListCtrlStyled::OnReturn(NMHDR*, LRESULT* result) {
    *result = 0;
}

void CListCtrlStyled::OnDestroy() {
    DeleteAllItems();
    Default();
}

void CListCtrlStyled::OnVScroll(UINT code, UINT, CScrollBar*) {
    if (code <= 8)
        Invalidate(FALSE);
    Default();
}
