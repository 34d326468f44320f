#pragma once
// The box viewer's resize layout: its table (one entry per listed control of template 6140) and
// the records its class shares.
#include "layout/LayoutControls.h"

#include <array>

inline constexpr std::size_t kBoxLayoutEntries = 88;

extern const std::array<LayoutEntry, kBoxLayoutEntries> BoxLayoutTable;

// Zero until the first box viewer records; the last viewer to record wins.
std::array<LayoutRecord, kBoxLayoutEntries>& BoxLayoutRecords();
