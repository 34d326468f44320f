#include "paramedit/ParaEditState.h"

ParaEditMemory ParaEditKept;

namespace {
constexpr int kGroupFirst = 1;
constexpr int kTabSlot = 12;
constexpr int kMaskSlot = 13;
constexpr int kModeFirst = 14;
} // namespace

void DisplaySetFromValues(const std::array<int, DisplayValueCount>& values, EditorDisplaySet& set, int& tab) {
    set.mode = values[0];
    if (set.mode < DisplayGroups || set.mode > DisplayDefined)
        set.mode = DisplayGroups; // a value from an edited file must not pick a mode that does not exist
    for (int i = 0; i < DisplayGroupFlagCount; ++i)
        set.groups[static_cast<size_t>(i)] = values[static_cast<size_t>(kGroupFirst + i)] != 0;
    tab = values[kTabSlot] < 0 ? 0 : values[kTabSlot];
    set.mask = static_cast<unsigned>(values[kMaskSlot]) & ModeBitsAll;
    for (int i = 0; i < DisplayModeFlagCount; ++i)
        set.modes[static_cast<size_t>(i)] = values[static_cast<size_t>(kModeFirst + i)] != 0;
}

void DisplaySetToValues(const EditorDisplaySet& set, int tab, std::array<int, DisplayValueCount>& values) {
    values[0] = set.mode;
    for (int i = 0; i < DisplayGroupFlagCount; ++i)
        values[static_cast<size_t>(kGroupFirst + i)] = set.groups[static_cast<size_t>(i)];
    values[kTabSlot] = tab;
    values[kMaskSlot] = static_cast<int>(set.mask);
    for (int i = 0; i < DisplayModeFlagCount; ++i)
        values[static_cast<size_t>(kModeFirst + i)] = set.modes[static_cast<size_t>(i)];
}
