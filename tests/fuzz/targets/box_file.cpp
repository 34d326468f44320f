// The box viewer's recording (.trd, both of its forms) through the file reader, with the checks of
// the trace window's form and the box's own bounds.
#include "tests/fuzz/RecordingChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CheckRecordingReader(data, size, TraceFileForm::Box);
    return 0;
}
