#pragma once
// Per-column and per-cell styles of the styled list: the style records, how they follow the list's
// columns and rows, and which colours and font a cell is painted with.
#include "framework/core/Geometry.h"

#include <cstdint>
#include <memory>
#include <vector>

// Style flags of a record.
enum : std::uint32_t {
    LIS_BOLD = 0x01,
    LIS_ITALIC = 0x02,
    LIS_UNDERLINE = 0x04,
    LIS_STRIKEOUT = 0x08,
    LIS_TXTCOLOR = 0x10,   // the record's text colour applies
    LIS_BKCOLOR = 0x20,    // the record's background colour applies
    LIS_NOCOLSTYLE = 0x40, // on a cell: its column's style does not apply
    LIS_FIXED = 0x80,      // kept, changes nothing in the painting
    LIS_FONTBITS = 0x0F,
};

// One style record: a column's, a cell's, or the state used while a row is selected.
struct ListStyle {
    std::uint32_t flags = 0;
    COLORREF text = 0;
    COLORREF back = 0;
    std::unique_ptr<ListStyle> selected; // made on demand
    bool HasFontStyle() const { return (flags & LIS_FONTBITS) != 0; }
    ListStyle& Selected() {
        if (!selected)
            selected = std::make_unique<ListStyle>();
        return *selected;
    }
};

// A row: its first cell's record, one record per further column, and the caller's item data.
struct ListRowStyle {
    ListStyle first;
    std::vector<ListStyle> cells; // columns 1 .. n-1
    std::intptr_t lParam = 0;
    bool lParamSet = false;
    // The record of a cell; nullptr when the sub-item lies beyond the row's records.
    ListStyle* Cell(int subItem) {
        if (subItem == 0)
            return &first;
        if (subItem < 0 || subItem > static_cast<int>(cells.size()))
            return nullptr;
        return &cells[static_cast<std::size_t>(subItem - 1)];
    }
};

// The parts of a font a style sets; everything else comes from the list's own font.
struct FontFace {
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    bool operator==(const FontFace&) const = default;
};

// The face a record's style bits make from the base font.
FontFace FaceOfStyle(std::uint32_t flags);

struct ResolvedCellStyle {
    COLORREF text = 0;
    COLORREF back = 0;
    bool hasFont = false; // false: the list's own font
    FontFace font;
    int fontLevels = 0; // how many records gave a font (2: column and cell merged)
};

struct ListPalette {
    COLORREF text = 0; // the list's text colour
    COLORREF back = 0; // the list's text background colour
    COLORREF selectedText = 0;
    COLORREF selectedBack = 0;
};

// The style of one cell: cell is the cell's record (the row record for column 0), column the column's
// record (nullptr when the column has none). The merged font starts from base and takes every field
// in which the column's face differs from base, then every such field of the cell's face.
ResolvedCellStyle ResolveCellStyle(const ListStyle* cell, const ListStyle* column, bool paintingSelected,
                                   const ListPalette& palette, const FontFace& base);

// The records of a list, kept in step with its columns.
class ListStyleTable {
public:
    int ColumnSlots() const { return static_cast<int>(columns_.size()); }
    // The column record, made on demand; nullptr when column lies outside the slots.
    ListStyle* Column(int column, bool make);
    // A new column at `column` with the list now holding `columnCount` columns: a slot for it and a
    // cell record in every row given.
    void ColumnInserted(int column, int columnCount, const std::vector<ListRowStyle*>& rows);
    // Drops the column's record and, in every row, the cell record of that column (for the first
    // column the second column's record goes and the row record stays). False when out of range.
    bool ColumnRemoved(int column, const std::vector<ListRowStyle*>& rows);
    // A new row record for a list with columnCount columns.
    static std::unique_ptr<ListRowStyle> MakeRow(int columnCount);

private:
    std::vector<std::unique_ptr<ListStyle>> columns_;
};
