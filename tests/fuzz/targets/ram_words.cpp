// The RAM editor's file (1002 lines "AAAA,value"): accepted values come back the same after a write
// and a read.
#include "tests/fuzz/FuzzSupport.h"

#include "shell/RamWordsCsv.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = FuzzInputFile(data, size, "input.csv");
    UserFileResult result = UserFileResult::Done;
    const std::optional<RamValues> values = ReadRamWordsFile(path, &result);
    if (!values) {
        FuzzCheck(result == UserFileResult::Refused, "a file without values was not refused");
        return 0;
    }
    const std::string saved = FuzzScratchPath("saved.csv");
    FuzzCheck(WriteRamWordsFile(saved, *values) == UserFileResult::Done, "read values cannot be written");
    FuzzCheck(ReadRamWordsFile(saved) == values, "values change through a write and a read");
    return 0;
}
