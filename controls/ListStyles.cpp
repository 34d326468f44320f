#include "controls/ListStyles.h"

FontFace FaceOfStyle(std::uint32_t flags) {
    FontFace face;
    face.weight = (flags & LIS_BOLD) ? 700 : 400;
    face.italic = (flags & LIS_ITALIC) != 0;
    face.underline = (flags & LIS_UNDERLINE) != 0;
    face.strikeOut = (flags & LIS_STRIKEOUT) != 0;
    return face;
}

namespace {

const ListStyle* StateRecord(const ListStyle* record, bool selected) {
    if (!selected)
        return record;
    return record ? record->selected.get() : nullptr;
}

// For the font, a selected state that sets no font falls back to the normal record.
const ListStyle* FontRecord(const ListStyle* record, bool selected) {
    const ListStyle* state = StateRecord(record, selected);
    return state && state->HasFontStyle() ? state : record;
}

} // namespace

ResolvedCellStyle ResolveCellStyle(const ListStyle* cell, const ListStyle* column, bool paintingSelected,
                                   const ListPalette& palette, const FontFace& base) {
    ResolvedCellStyle out;
    const ListStyle* k = StateRecord(cell, paintingSelected);
    const ListStyle* c = StateRecord(column, paintingSelected);
    const bool columnApplies = !(k && (k->flags & LIS_NOCOLSTYLE));

    out.text = paintingSelected ? palette.selectedText : palette.text;
    if (k && (k->flags & LIS_TXTCOLOR))
        out.text = k->text;
    else if (columnApplies && c && (c->flags & LIS_TXTCOLOR))
        out.text = c->text;

    out.back = paintingSelected ? palette.selectedBack : palette.back;
    if (k && (k->flags & LIS_BKCOLOR))
        out.back = k->back;
    else if (columnApplies && c && (c->flags & LIS_BKCOLOR))
        out.back = c->back;

    const ListStyle* fk = FontRecord(cell, paintingSelected);
    const ListStyle* fc = FontRecord(column, paintingSelected);
    const bool fontColumnApplies = !(fk && (fk->flags & LIS_NOCOLSTYLE));
    const bool columnFont = fontColumnApplies && fc && fc->HasFontStyle();
    const bool cellFont = fk && fk->HasFontStyle();
    out.fontLevels = (columnFont ? 1 : 0) + (cellFont ? 1 : 0);
    if (out.fontLevels == 0)
        return out;
    out.hasFont = true;
    if (out.fontLevels == 1) {
        out.font = FaceOfStyle(columnFont ? fc->flags : fk->flags);
        return out;
    }
    const FontFace columnFace = FaceOfStyle(fc->flags);
    const FontFace cellFace = FaceOfStyle(fk->flags);
    FontFace merged = base;
    for (const FontFace* face : {&columnFace, &cellFace}) {
        if (face->weight != base.weight)
            merged.weight = face->weight;
        if (face->italic != base.italic)
            merged.italic = face->italic;
        if (face->underline != base.underline)
            merged.underline = face->underline;
        if (face->strikeOut != base.strikeOut)
            merged.strikeOut = face->strikeOut;
    }
    out.font = merged;
    return out;
}

ListStyle* ListStyleTable::Column(int column, bool make) {
    if (column < 0 || column >= ColumnSlots())
        return nullptr;
    auto& slot = columns_[static_cast<std::size_t>(column)];
    if (!slot && make)
        slot = std::make_unique<ListStyle>();
    return slot.get();
}

void ListStyleTable::ColumnInserted(int column, int columnCount, const std::vector<ListRowStyle*>& rows) {
    if (column < 0)
        column = 0;
    if (column > ColumnSlots())
        column = ColumnSlots();
    columns_.insert(columns_.begin() + column, nullptr);
    while (ColumnSlots() < columnCount)
        columns_.push_back(nullptr);
    for (ListRowStyle* row : rows) {
        // The first column's style is the row record itself; every further column has a cell record.
        if (static_cast<int>(row->cells.size()) + 1 >= columnCount)
            continue;
        std::size_t at = static_cast<std::size_t>(column > 0 ? column - 1 : 0);
        if (at > row->cells.size())
            at = row->cells.size();
        row->cells.insert(row->cells.begin() + static_cast<std::ptrdiff_t>(at), ListStyle());
    }
}

bool ListStyleTable::ColumnRemoved(int column, const std::vector<ListRowStyle*>& rows) {
    if (column < 0 || column >= ColumnSlots())
        return false;
    columns_.erase(columns_.begin() + column);
    for (ListRowStyle* row : rows) {
        const std::size_t at = static_cast<std::size_t>(column > 0 ? column - 1 : 0);
        if (at < row->cells.size())
            row->cells.erase(row->cells.begin() + static_cast<std::ptrdiff_t>(at));
    }
    return true;
}

std::unique_ptr<ListRowStyle> ListStyleTable::MakeRow(int columnCount) {
    auto row = std::make_unique<ListRowStyle>();
    row->cells.resize(static_cast<std::size_t>(columnCount > 1 ? columnCount - 1 : 0));
    return row;
}
