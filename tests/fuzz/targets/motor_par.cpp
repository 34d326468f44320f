// The self-built motor file (.par). A file that reads says which slots it held, leaves the others at
// 0, and its values come back the same after a save.
#include "tests/fuzz/FuzzSupport.h"

#include "tools/MotorParFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = FuzzInputFile(data, size, "input.par");
    const ParReadResult read = ReadParFile(path);
    if (!read.ok) {
        FuzzCheck(!read.error.empty(), "a refused file comes without a reason");
        return 0;
    }
    int held = 0;
    for (int slot = 1; slot <= ParSlotCount; ++slot) {
        if (read.Read(slot))
            ++held;
        else
            FuzzCheck(read.values[static_cast<size_t>(slot - 1)] == 0, "a slot not in the file has a value");
    }
    FuzzCheck(held == read.slotsRead, "the count of slots read disagrees with the slots");
    FuzzCheck(read.version >= 0 && read.version <= 999, "a version of more than three digits");

    const std::string saved = FuzzScratchPath("saved.par");
    FuzzCheck(WriteParFile(saved, read.values).empty(), "read values could not be saved");
    const ParReadResult again = ReadParFile(saved);
    FuzzCheck(again.ok && again.RecordRead(), "a saved file does not read in full");
    FuzzCheck(again.values == read.values, "a saved file reads back with other values");
    return 0;
}
