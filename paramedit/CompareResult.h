#pragma once
// The result of a parameter comparison and the comparison runs that need no drive: the document
// against its defaults, against a document file, and two document files against each other. For
// the comparison with the drive, the walk's slots and the decisions on each read are here; the
// traffic belongs to the editor window, which hands each read's outcome to DriveComparison. Pure
// code over the document and the catalogue.
#include "catalogue/CatalogueContext.h"
#include "catalogue/ParamCode.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class CKeloServoDoc;

// The 18 groups of a comparison in their fixed order (the order of the comparison archive).
constexpr int CompareGroupCount = 18;
// Groups 0..10 are the classic groups, 11..17 the newer-model groups.
constexpr int CompareClassicGroupCount = 11;
extern const std::array<ParamGroup, CompareGroupCount> WholeTablePass;

// Parameters of the group at position g of WholeTablePass (99 for Cn, 16 for MAb, ...).
int CompareGroupSize(int g);
// Global index of element k (number k + 1) of group g.
int CompareIndex(int g, int k);
// Whether a run may flag a difference in group g: always the classic groups, in Project Mode also
// onT, onS, ond and onC; never ono, onA or onE.
bool CompareGroupFlaggable(int g, bool projectMode);
// Whether the result carries the values of group g: the classic groups, and all newer-model groups in
// Project Mode.
bool CompareGroupCarried(int g, bool projectMode);

enum CompareMode : int { CompareDrive = 0, CompareDefaults = 1, CompareFile = 2, CompareTwoFiles = 3 };

struct CompareGroupValues {
    std::vector<std::int32_t> a;       // left value column
    std::vector<std::int32_t> b;       // right value column
    std::vector<std::uint8_t> differs; // 1 when the element is flagged
    bool operator==(const CompareGroupValues&) const = default;
};

struct CompareResult {
    CompareResult(); // every value and flag 0, both names empty

    int mode = 0;
    int seriesCode = 0;
    std::string file1; // bare file names
    std::string file2;
    std::array<CompareGroupValues, CompareGroupCount> groups;

    int DifferenceCount() const;
    bool operator==(const CompareResult&) const = default;
};

// Values of a parameter document file, per group of WholeTablePass, element k for number k + 1.
struct DocumentValueSet {
    DocumentValueSet();
    std::array<std::vector<std::int32_t>, CompareGroupCount> values;
};

// Reads the value blocks of a parameter document file (.zpf). Counts are checked against the file's
// length before anything is read, a block that claims more elements than its group holds is read and
// its surplus dropped, and a file that ends before its last value block is refused. On failure
// returns false with the reason in *error and leaves *set as it was.
bool ReadDocumentValues(const std::string& path, DocumentValueSet& set, std::string* error = nullptr);

// The runs. The context gives the series (only parameters of that series are flagged).
CompareResult CompareWithDefaults(const CKeloServoDoc& doc, const CatalogueContext& context,
                                  bool projectMode);
CompareResult CompareWithFile(const CKeloServoDoc& doc, const DocumentValueSet& file,
                              const std::string& fileName, const CatalogueContext& context, bool projectMode);
CompareResult CompareFiles(const DocumentValueSet& first, const std::string& firstName,
                           const DocumentValueSet& second, const std::string& secondName,
                           const CatalogueContext& context, bool projectMode);

// One slot of the drive walk.
struct DriveCompareSlot {
    std::string code;
    char letter = 0; // register map letter ('o' for the newer-model groups)
    int number = 0;  // number within the group; for the newer-model groups the running count
    int index = 0;   // global index
    int group = 0;   // position in WholeTablePass
    int element = 0; // element within the group
};

// 498 slots, 657 in Project Mode.
int DriveCompareSlotCount(bool projectMode);
// Slot s (0 <= s < 657).
DriveCompareSlot DriveCompareSlotAt(int s);

// The drive comparison's bookkeeping: which slots are read, the values they gave, and the decision
// after a failed read.
class DriveComparison {
public:
    DriveComparison(const CKeloServoDoc& doc, const CatalogueContext& context, bool projectMode);

    int SlotCount() const { return DriveCompareSlotCount(projectMode_); }
    // Whether slot s is read at all (the parameter exists in the series).
    bool IsRead(int s) const;
    // Takes the outcome of one slot's read: the converted value, or nothing when the read failed.
    // sixteenBitPath tells whether the value came from a single word. False means the run must stop
    // (a failed read outside the newer-model groups); a failed newer-model read takes the default.
    bool Take(int s, std::optional<int> value, bool sixteenBitPath);
    // The result after the walk: document values as A, read values as B, flags of the read slots.
    CompareResult Finish() const;

private:
    const CKeloServoDoc& doc_;
    CatalogueContext context_;
    bool projectMode_;
    CompareResult read_;                                              // value B of the read slots
    std::array<std::vector<std::uint8_t>, CompareGroupCount> marked_; // read slots
};
