// The comparison archive (.cmp): an archive that opens comes back the same after a write and a
// second open (its file names where its mode has them).
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
    FuzzCheck(again.mode == result.mode && again.seriesCode == result.seriesCode &&
                  again.groups == result.groups,
              "a comparison changes through a write and an open");
    // The file names are kept only where the mode has them (the archive holds "---" otherwise).
    if (result.mode == CompareTwoFiles)
        FuzzCheck(again.file1 == result.file1, "the first file name changes");
    if (result.mode == CompareFile || result.mode == CompareTwoFiles)
        FuzzCheck(again.file2 == result.file2, "the second file name changes");
    return 0;
}
