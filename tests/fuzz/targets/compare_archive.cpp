// The comparison archive (.cmp): an archive that opens comes back the same after a write and a
// second open.
#include "tests/fuzz/FuzzSupport.h"

#include "paramedit/CompareArchive.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = FuzzInputFile(data, size, "input.cmp");
    CompareResult result;
    if (!OpenCompareArchive(path, result))
        return 0;
    const std::string saved = FuzzScratchPath("saved.cmp");
    FuzzCheck(WriteCompareArchiveFile(saved, result, "KELO Servo Ver:0.1.260123"),
              "an opened comparison cannot be written");
    CompareResult again;
    FuzzCheck(OpenCompareArchive(saved, again), "a written comparison does not open");
    FuzzCheck(again == result, "a comparison changes through a write and an open");
    return 0;
}
