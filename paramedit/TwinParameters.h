#pragma once
// Parameters that show one drive setting under two or three codes (twins), and the rules that keep
// them equal in the document, in the editor's mark tables and in the table rows. The rules act
// through TwinHost, which the editor window implements over its document and list; they hold no
// state of their own.
#include "catalogue/CatalogueContext.h"
#include "catalogue/ParamTexts.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

// One set of twin codes. In a digit set the tn code holds only the low hexadecimal digit of the onS
// code.
struct TwinSet {
    std::array<const char*, 3> codes;
    int count;
    bool digit;
};

// The 38 sets.
const std::vector<TwinSet>& TwinParameters();

// The other codes of the code's set; empty for a code without twins.
std::vector<std::string> TwinsOf(std::string_view code);

// The value that passes from one twin to another. present is the receiving code's current value:
// onS -> tn of a digit set passes the low digit; tn -> onS keeps the onS value's upper digits
// (present AND 0xFFF0, plus the tn value); every other pair passes the value unchanged.
int TwinTransferValue(std::string_view from, std::string_view to, int value, int present);

// The tn twin of a Cn, qn, onS or onC parameter given by its global index; "" when it has none.
std::string TnTwinOfIndex(int index);
// The source code of a tn number 26..63 (Cn, onC, onS or qn); "" for other numbers.
std::string TnTwinSource(int tnNumber);

// The qn twin of an Sn or Pn3 code, or the Sn / Pn3 twin of a qn code; "" when there is none.
std::string QnTripleTwin(std::string_view code);

// The editor's three mark tables by group slot and number: check marks, changed marks (green Value
// cell) and over-range marks (red Value cell). Slots in the order Cn, Tn, Sn, Pn3, qn, Hn, an unused
// slot, Pn4, En, tn, onT, onS, ond, onC, ono, onA, onE, EC, MAb.
constexpr int MarkSlotCount = 19;
constexpr int MarkSlotNumbers = 100;

// The slot of a code, -1 for codes without one (status items, unknown codes).
int MarkSlotOfCode(std::string_view code);

struct ParamMarkTables {
    enum Table { Check, Changed, OverRange };
    using Grid = std::array<std::array<int, MarkSlotNumbers>, MarkSlotCount>;

    Grid check{};
    Grid changed{};
    Grid overRange{};

    // The mark of a code in one table; 0 for a code without a slot.
    int Get(Table table, std::string_view code) const;
    // Sets the mark; a code without a slot is ignored.
    void Set(Table table, std::string_view code, int mark);
    void Clear(); // every mark of the three tables

    bool operator==(const ParamMarkTables&) const = default;

private:
    Grid& Of(Table table);
    const Grid& Of(Table table) const;
};

// What the twin rules act on.
class TwinHost {
public:
    virtual ~TwinHost() = default;
    // Whether the active view has a document; without one the rules change nothing in it.
    virtual bool HasDocument() const = 0;
    virtual int DocumentValue(std::string_view code) const = 0;
    virtual void SetDocumentValue(std::string_view code, int value) = 0;
    virtual void SetDocumentModified() = 0;
    virtual ParamMarkTables& Marks() = 0;
    // Row effects; each does nothing when the code has no row in the table.
    virtual void ShowRowValue(std::string_view code, int value) = 0;     // the Value cell's text
    virtual void SetRowChanged(std::string_view code, bool changed) = 0; // green, or cleared
    virtual void CheckRow(std::string_view code) = 0;
};

class TwinRules {
public:
    explicit TwinRules(TwinHost& host) : host_(host) {}

    // A value chosen by the user for one code, with its qn triple twins.
    void ApplyEditedValue(std::string_view code, int value);
    // Stores the value in the document and passes it to the tn twin.
    void StoreValueAndTwins(std::string_view code, int value);
    // An edited Cn, qn, onS or onC value to its tn twin; returns 1.
    int PropagateToTnTwin(int index, int value);
    // An edited tn value to its source code.
    void PropagateFromTnTwin(int tnNumber, int value);
    // A value read from the drive to all twins of the code: document values, cleared changed marks,
    // row values.
    void CopyValueToTwins(std::string_view code, int value);
    // Sets or clears the changed marks of the code's twins.
    void MarkTwinRows(std::string_view code, int mark);

private:
    TwinHost& host_;
};

// Row services over the table's cells and code column.
// The Value and Unit cell texts a twin's row is rewritten with, cut to 19 characters.
constexpr std::size_t RowCellTextLimit = 19;
std::string RowValueText(std::string_view code, int value, const CatalogueContext& context);
std::string RowUnitText(std::string_view code, const CatalogueContext& context, const StringLoader& load);

// The first row whose code begins with the given code (the list's partial search from the top);
// -1 when none does.
int FindRowByCode(const std::vector<std::string>& rowCodes, std::string_view code);
// The rows to rewrite after the control mode changed: every Hn6 row with a number above 0, walking
// from the top and stopping at the first code shorter than five characters. *complete is false when
// such a short code ended the walk.
std::vector<int> HnRowsToRewrite(const std::vector<std::string>& rowCodes, bool* complete = nullptr);
