#include "paramedit/CompareResult.h"

#include "catalogue/KeloServoDoc.h"
#include "catalogue/ParamAttributes.h"
#include "catalogue/RegisterMap.h"
#include "framework/core/Archive.h"
#include "framework/core/File.h"
#include "paramedit/ParamPassRules.h"

#include <functional>

const std::array<ParamGroup, CompareGroupCount> WholeTablePass = {
    GroupCn, GroupTn,  GroupSn,  GroupPn3, GroupPn4, Groupqn,  GroupHn,  GroupEn,  Grouptn,
    GroupEC, GroupMAb, GrouponT, GrouponS, Groupond, GrouponC, Groupono, GrouponA, GrouponE,
};

int CompareGroupSize(int g) {
    return ParamGroupTable(WholeTablePass.at(static_cast<std::size_t>(g))).count;
}

int CompareIndex(int g, int k) {
    return ParamIndexOf(WholeTablePass.at(static_cast<std::size_t>(g)), k + 1);
}

bool CompareGroupFlaggable(int g, bool projectMode) {
    if (g < CompareClassicGroupCount)
        return true;
    const ParamGroup group = WholeTablePass.at(static_cast<std::size_t>(g));
    return projectMode && group != Groupono && group != GrouponA && group != GrouponE;
}

bool CompareGroupCarried(int g, bool projectMode) {
    return g < CompareClassicGroupCount || projectMode;
}

CompareResult::CompareResult() {
    for (int g = 0; g < CompareGroupCount; ++g) {
        const auto size = static_cast<std::size_t>(CompareGroupSize(g));
        auto& group = groups[static_cast<std::size_t>(g)];
        group.a.assign(size, 0);
        group.b.assign(size, 0);
        group.differs.assign(size, 0);
    }
}

int CompareResult::DifferenceCount() const {
    int count = 0;
    for (const auto& group : groups)
        for (std::uint8_t flag : group.differs)
            count += flag != 0;
    return count;
}

DocumentValueSet::DocumentValueSet() {
    for (int g = 0; g < CompareGroupCount; ++g)
        values[static_cast<std::size_t>(g)].assign(static_cast<std::size_t>(CompareGroupSize(g)), 0);
}

namespace {

using ValueOf = std::function<int(int g, int k)>;

// Position in WholeTablePass of a catalogue group (-1 when a comparison does not hold it).
int ComparePosition(ParamGroup group) {
    for (int g = 0; g < CompareGroupCount; ++g)
        if (WholeTablePass[static_cast<std::size_t>(g)] == group)
            return g;
    return -1;
}

int DocValue(const CKeloServoDoc& doc, int g, int k) {
    const auto group =
        static_cast<DocGroup>(DocGroupOfParamGroup(WholeTablePass[static_cast<std::size_t>(g)]));
    return doc.Value(group, k + 1);
}

int DocDefault(const CKeloServoDoc& doc, int g, int k) {
    const auto group =
        static_cast<DocGroup>(DocGroupOfParamGroup(WholeTablePass[static_cast<std::size_t>(g)]));
    return doc.Default(group, k + 1);
}

bool InSeries(int g, int k, const CatalogueContext& context) {
    return ParamInSeries(ParamCodeFromIndex(CompareIndex(g, k)), context);
}

using Counted = std::function<bool(int g, int k)>;

// The common part of the runs: carry A and B for the carried groups and flag the differences of
// the elements that count.
CompareResult Compare(int mode, const ValueOf& valueA, const ValueOf& valueB, const Counted& counted,
                      const CatalogueContext& context, bool projectMode) {
    CompareResult result;
    result.mode = mode;
    result.seriesCode = context.seriesCode;
    for (int g = 0; g < CompareGroupCount; ++g) {
        if (!CompareGroupCarried(g, projectMode))
            continue;
        auto& group = result.groups[static_cast<std::size_t>(g)];
        const bool flaggable = CompareGroupFlaggable(g, projectMode);
        for (int k = 0; k < CompareGroupSize(g); ++k) {
            const auto i = static_cast<std::size_t>(k);
            group.a[i] = valueA(g, k);
            group.b[i] = valueB(g, k);
            group.differs[i] = flaggable && group.a[i] != group.b[i] && counted(g, k);
        }
    }
    return result;
}

CompareResult Compare(int mode, const ValueOf& valueA, const ValueOf& valueB, const CatalogueContext& context,
                      bool projectMode) {
    return Compare(
        mode, valueA, valueB, [&](int g, int k) { return InSeries(g, k, context); }, context, projectMode);
}

int FileValue(const DocumentValueSet& set, int g, int k) {
    return set.values[static_cast<std::size_t>(g)][static_cast<std::size_t>(k)];
}

// The value blocks of the document archive in file order, with what lies between them.
struct DocumentFileReader {
    CArchive& ar;

    int Int() {
        int value = 0;
        ar >> value;
        return value;
    }

    int Count() {
        const int count = Int();
        if (count < 0)
            throw CArchiveException(CArchiveException::badLength, "negative count");
        return count;
    }

    // A count and its values; at most `into.size()` are kept, the surplus is read and dropped (each
    // read stops at the end of the file, so a false count cannot run past it).
    void Block(std::vector<std::int32_t>* into) {
        const int count = Count();
        for (int i = 0; i < count; ++i) {
            const int value = Int();
            if (into && static_cast<std::size_t>(i) < into->size())
                (*into)[static_cast<std::size_t>(i)] = value;
        }
    }
};

} // namespace

bool ReadDocumentValues(const std::string& path, DocumentValueSet& set, std::string* error) {
    CFile file;
    CFileException fileError;
    if (!file.Open(path, CFile::modeRead | CFile::typeBinary, &fileError)) {
        if (error)
            *error = fileError.what();
        return false;
    }
    DocumentValueSet read;
    try {
        CArchive ar(&file, CArchive::load);
        DocumentFileReader in{ar};
        const auto group = [&](ParamGroup g) {
            in.Block(&read.values[static_cast<std::size_t>(ComparePosition(g))]);
        };
        ar.ReadString();   // version text
        in.Int();          // series
        in.Block(nullptr); // monitor values
        in.Block(nullptr); // reserved
        in.Int();
        in.Block(nullptr); // reserved
        for (ParamGroup g : {GroupCn, GroupTn, GroupSn, GroupPn3, Groupqn, GroupHn, GroupPn4, GroupEn,
                             GrouponT, GrouponS, Groupond, GrouponC, Groupono, GrouponA, GrouponE})
            group(g);
        in.Int();
        in.Int();
        group(Grouptn);
        group(GroupEC);
        const int names = ar.ReadCount(DocNameListMax);
        for (int i = 0; i < names; ++i)
            ar.ReadString();
        group(GroupMAb);
        ar.Close();
    } catch (const CArchiveException& e) {
        if (error)
            *error = e.what();
        return false;
    } catch (const CFileException& e) {
        if (error)
            *error = e.what();
        return false;
    }
    set = std::move(read);
    return true;
}

CompareResult CompareWithDefaults(const CKeloServoDoc& doc, const CatalogueContext& context,
                                  bool projectMode) {
    return Compare(
        CompareDefaults, [&](int g, int k) { return DocValue(doc, g, k); },
        [&](int g, int k) { return DocDefault(doc, g, k); }, context, projectMode);
}

CompareResult CompareWithFile(const CKeloServoDoc& doc, const DocumentValueSet& file,
                              const std::string& fileName, const CatalogueContext& context,
                              bool projectMode) {
    CompareResult result = Compare(
        CompareFile, [&](int g, int k) { return DocValue(doc, g, k); },
        [&](int g, int k) { return FileValue(file, g, k); }, context, projectMode);
    result.file2 = fileName;
    return result;
}

CompareResult CompareFiles(const DocumentValueSet& first, const std::string& firstName,
                           const DocumentValueSet& second, const std::string& secondName,
                           const CatalogueContext& context, bool projectMode) {
    CompareResult result = Compare(
        CompareTwoFiles, [&](int g, int k) { return FileValue(first, g, k); },
        [&](int g, int k) { return FileValue(second, g, k); }, context, projectMode);
    result.file1 = firstName;
    result.file2 = secondName;
    return result;
}

// Drive walk ------------------------------------------------------------------------------------

namespace {

// The walk's groups: the classic ones in WholeTablePass order (498 slots), then the newer-model ones
// (159 more). Only onA01..onA17 and onE01..onE03 fit into the walk's 657 slots.
constexpr int DriveClassicSlots = 498;
constexpr int DriveProjectSlots = 657;

// Slots a group takes in the walk: its size, except onA (17) and onE (3), which the walk cuts short.
int DriveSlotsOfGroup(int g) {
    switch (WholeTablePass[static_cast<std::size_t>(g)]) {
    case GrouponA:
        return 17;
    case GrouponE:
        return 3;
    default:
        return CompareGroupSize(g);
    }
}

} // namespace

int DriveCompareSlotCount(bool projectMode) {
    return projectMode ? DriveProjectSlots : DriveClassicSlots;
}

DriveCompareSlot DriveCompareSlotAt(int s) {
    DriveCompareSlot slot;
    if (s < 0 || s >= DriveProjectSlots)
        return slot;
    int first = 0;
    for (int g = 0; g < CompareGroupCount; ++g) {
        const int size = DriveSlotsOfGroup(g);
        if (s < first + size) {
            const int k = s - first;
            const ParamGroup group = WholeTablePass[static_cast<std::size_t>(g)];
            slot.group = g;
            slot.element = k;
            slot.index = ParamIndexOf(group, k + 1);
            slot.code = ParamCodeFromIndex(slot.index);
            if (g < CompareClassicGroupCount) {
                slot.letter = ParamGroupTable(group).letter;
                slot.number = k + 1;
            } else {
                slot.letter = 'o';
                slot.number = s - (DriveClassicSlots - 1);
            }
            return slot;
        }
        first += size;
    }
    return slot;
}

DriveComparison::DriveComparison(const CKeloServoDoc& doc, const CatalogueContext& context, bool projectMode)
    : doc_(doc), context_(context), projectMode_(projectMode) {
    for (int g = 0; g < CompareGroupCount; ++g)
        marked_[static_cast<std::size_t>(g)].assign(static_cast<std::size_t>(CompareGroupSize(g)), 0);
}

bool DriveComparison::IsRead(int s) const {
    if (s < 0 || s >= SlotCount())
        return false;
    return ParamInSeries(DriveCompareSlotAt(s).code, context_);
}

bool DriveComparison::Take(int s, std::optional<int> value, bool sixteenBitPath) {
    if (!IsRead(s))
        return true;
    const DriveCompareSlot slot = DriveCompareSlotAt(s);
    const auto g = static_cast<std::size_t>(slot.group);
    const auto k = static_cast<std::size_t>(slot.element);
    int b = 0;
    if (value) {
        b = *value;
        if (sixteenBitPath && slot.code == "Cn008")
            b = Cn008FromDrive(b);
    } else if (slot.group >= CompareClassicGroupCount) {
        b = DocDefault(doc_, slot.group, slot.element);
    } else {
        return false;
    }
    marked_[g][k] = 1;
    read_.groups[g].b[k] = b;
    return true;
}

CompareResult DriveComparison::Finish() const {
    return Compare(
        CompareDrive, [this](int g, int k) { return DocValue(doc_, g, k); },
        [this](int g, int k) {
            return read_.groups[static_cast<std::size_t>(g)].b[static_cast<std::size_t>(k)];
        },
        [this](int g, int k) {
            return marked_[static_cast<std::size_t>(g)][static_cast<std::size_t>(k)] != 0;
        },
        context_, projectMode_);
}
