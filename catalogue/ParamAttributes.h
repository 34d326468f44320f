#pragma once
// The attribute word of every parameter (display format, series membership, two property bits), the
// series test that every table and pass uses, the finer visibility of parameters and option values,
// and the small index helpers of the position tables. Pure functions of the code and the context.
#include "catalogue/CatalogueContext.h"

#include <string_view>

// Attribute word layout.
enum : unsigned {
    AttrPropertyMask = 0x3,
    AttrFormatMask = 0xF0,
    AttrFormatHexBit = 0x20,
    AttrSeries4 = 1u << 12,
    AttrSeries3 = 1u << 13,
    AttrSeries5 = 1u << 14,
    AttrSeries7 = 1u << 15,
    AttrSeries8 = 1u << 17,
    AttrSeries6 = 1u << 18,
    AttrSeries9 = 1u << 19,
    AttrSeriesMask = 0xEF000,
};

// Display formats (bits 4-7).
enum : unsigned {
    FormatDecimal = 0x00,
    FormatHex = 0x20,
    FormatDecimal2 = 0x40,
    FormatVersion = 0x50,
    FormatHex2 = 0x60,
    FormatDecimal3 = 0x80,
    FormatHex3 = 0xA0,
    FormatDecimal4 = 0xC0,
    FormatHex4 = 0xE0,
};

// The attribute word from the table alone, before the document's visibility is applied.
unsigned ParamTableFlags(std::string_view code, const CatalogueContext& context);

// The attribute word: the table entry, or 0 when the parameter is hidden (ParamVisible(code, -1)).
unsigned ParamFlags(std::string_view code, const CatalogueContext& context);

// The series bit of a series code (0 for a code that names no series).
unsigned SeriesBit(int seriesCode);

// Whether the parameter is offered in the context's series.
bool ParamInSeries(std::string_view code, const CatalogueContext& context);

// The test for the numbers 00 of the optional groups (Pn400, En700, EC900, MAb00).
bool ParamEditable(std::string_view code, const CatalogueContext& context);

// Whether the parameter (option -1) or one option value of it (option >= 0) is available.
bool ParamVisible(std::string_view code, int option, const CatalogueContext& context);

// Whether the drive offers the extra feature set: the feature status word when connected, else the
// motor family.
bool SeriesHasFeature(const CatalogueContext& context);

// Row of the internal position tables for a position number: 0 -> 16, 1 -> 13, else n - 1.
int MapPositionIndex(int n);
