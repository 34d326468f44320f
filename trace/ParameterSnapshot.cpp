#include "trace/ParameterSnapshot.h"

#include "catalogue/ParamCode.h"

#include <string>

namespace {

constexpr int FirstTNumber = 38;
constexpr int LastTNumber = 63;
constexpr std::array<int, 3> DItems{4, 8, 9};

// Where a Cn parameter of the snapshot lives: the list (2 or 3) and the entry.
struct CnPlace {
    int number;
    int list;
    int entry;
};
constexpr std::array<CnPlace, 6> CnPlaces{
    {{13, 2, 13}, {14, 2, 14}, {65, 3, 45}, {66, 3, 46}, {67, 3, 47}, {68, 3, 48}}};

template <typename Snapshot> auto& SlotOf(Snapshot& snapshot, const CnPlace& place) {
    const auto entry = static_cast<size_t>(place.entry - 1);
    return place.list == 2 ? snapshot.second[entry] : snapshot.third[entry];
}

} // namespace

std::optional<ParameterSnapshot> ReadSnapshotParameters(const SnapshotReader& read) {
    ParameterSnapshot snapshot;
    for (int n = FirstTNumber; n <= LastTNumber; ++n) {
        const auto value = read(ParamCodeFromIndex(800 + n));
        if (!value)
            return std::nullopt;
        snapshot.first[static_cast<size_t>(n - 1)] = *value;
    }
    // The Cn items are read again after each d item, as the drive's own tool does; the last
    // successful read of each is kept.
    for (int item : DItems) {
        if (const auto value = read(ParamCodeFromIndex(1100 + item)))
            snapshot.second[static_cast<size_t>(item - 1)] = *value;
        for (const CnPlace& place : CnPlaces) {
            const auto value = read(ParamCodeFromIndex(place.number));
            if (!value) {
                if (place.number == 68)
                    return std::nullopt;
                continue;
            }
            SlotOf(snapshot, place) = *value;
        }
    }
    snapshot.valid = 1;
    return snapshot;
}

const std::array<int, 35>& SnapshotListIndexes() {
    static const std::array<int, 35> indexes = [] {
        std::array<int, 35> list{1104, 1108, 1109, 13, 14, 65, 66, 67, 68};
        for (int n = FirstTNumber; n <= LastTNumber; ++n)
            list[static_cast<size_t>(9 + n - FirstTNumber)] = 800 + n;
        return list;
    }();
    return indexes;
}

int SnapshotValue(const ParameterSnapshot& snapshot, std::string_view code) {
    // By index, so the prefixed code forms find their entry too.
    const int index = ParamIndexFromCode(code);
    if (index >= 800 + FirstTNumber && index <= 800 + LastTNumber)
        return snapshot.first[static_cast<size_t>(index - 800 - 1)];
    for (int item : DItems)
        if (index == 1100 + item)
            return snapshot.second[static_cast<size_t>(item - 1)];
    for (const CnPlace& place : CnPlaces)
        if (index == place.number)
            return SlotOf(snapshot, place);
    return 0;
}
