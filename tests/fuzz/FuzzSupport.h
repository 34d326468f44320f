#pragma once
// What the fuzz targets share: the input as a file of its own (every reader takes a path) and a
// message seam that answers every box at once. A target aborts through FuzzCheck when a property
// of its reader fails, so libFuzzer and the replay both report it as a crash.
#include <cstddef>
#include <cstdint>
#include <string>

// Writes the input to <scratch>/<name>, replacing what was there, and returns the path. The scratch
// folder is made once per process and removed at exit; message boxes are answered silently.
std::string FuzzInputFile(const std::uint8_t* data, std::size_t size, const std::string& name);
// A second file in the scratch folder, for what a target writes back.
std::string FuzzScratchPath(const std::string& name);
// Aborts with the message when the condition does not hold.
void FuzzCheck(bool condition, const char* what);

// libFuzzer's entry point; each target defines it.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
