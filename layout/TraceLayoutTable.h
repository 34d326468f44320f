#pragma once
// The wave trace window's resize layout: its table (one entry per listed control of template 150)
// and the records its class shares.
#include "layout/LayoutControls.h"

#include <array>

inline constexpr std::size_t kTraceLayoutEntries = 136;

extern const std::array<LayoutEntry, kTraceLayoutEntries> TraceLayoutTable;

// Zero until the first trace window records; the last window to record wins.
std::array<LayoutRecord, kTraceLayoutEntries>& TraceLayoutRecords();
