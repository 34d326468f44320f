// The status display list's selection file (.unp): what a read takes in survives a write and a
// second read unchanged.
#include "tests/fuzz/FuzzSupport.h"

#include "shell/UnSelectionFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = FuzzInputFile(data, size, "input.unp");
    UnCodes codes{};
    if (ReadUnSelectionFile(path, codes) != UnFileResult::Done)
        return 0;
    const std::string saved = FuzzScratchPath("saved.unp");
    FuzzCheck(WriteUnSelectionFile(saved, codes) == UnFileResult::Done, "a read selection cannot be written");
    UnCodes again{};
    FuzzCheck(ReadUnSelectionFile(saved, again) == UnFileResult::Done, "a written selection does not read");
    FuzzCheck(again == codes, "a selection changes through a write and a read");
    return 0;
}
