// The hand-off file the launcher leaves for the program: read once and deleted.
#include "tests/fuzz/FuzzSupport.h"

#include "link/handoff/HandoffFile.h"

#include <filesystem>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = FuzzInputFile(data, size, "curfile.ini");
    const std::optional<HandoffRequest> request = ReadHandoffFile(path);
    FuzzCheck(request.has_value(), "a plain hand-off file was not read");
    FuzzCheck(!std::filesystem::exists(path), "the hand-off file was left behind");
    const int series = request->seriesCode;
    FuzzCheck(series == 4 || series == 5 || (series >= 6 && series <= 9), "a series code outside the table");
    return 0;
}
