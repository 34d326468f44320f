#pragma once
// What the parameter editor keeps beyond one window: the display set and current tab, the Select
// All choice and the three mark tables. The closing editor leaves them here and the next one starts
// from them; the display set also travels through the settings file's display values.
#include "paramedit/DisplaySet.h"
#include "paramedit/TwinParameters.h"

#include <array>

struct ParaEditMemory {
    EditorDisplaySet displaySet;
    int currentTab = 0;
    int selectAll = 0;
    ParamMarkTables marks;
};

// The program-wide copy.
extern ParaEditMemory ParaEditKept;

// The settings file's 19 display values: mode, All and the ten group flags, the current tab (kept in
// memory only), the control-mode mask, the five control-mode flags.
constexpr int DisplayValueCount = 19;
void DisplaySetFromValues(const std::array<int, DisplayValueCount>& values, EditorDisplaySet& set, int& tab);
void DisplaySetToValues(const EditorDisplaySet& set, int tab, std::array<int, DisplayValueCount>& values);
