// The trace window's recording (.trd) through the file reader. A file that reads holds values the
// window can use, every sample list it names in full, and reads back the same after a save.
#include "tests/fuzz/RecordingChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CheckRecordingReader(data, size, TraceFileForm::Trace);
    return 0;
}
