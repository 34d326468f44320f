#pragma once
// What the two recording targets check of a file the reader took.
#include "tests/fuzz/FuzzSupport.h"

#include "trace/TraceDataFile.h"

void CheckRecordingReader(const std::uint8_t* data, std::size_t size, TraceFileForm reader);
