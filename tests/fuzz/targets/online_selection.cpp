// The online editor's selection file (.onp). Codes taken from a file are rows the editor can show,
// and a saved selection reads back the same.
#include "tests/fuzz/FuzzSupport.h"

#include "online/OnlineSelection.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = FuzzInputFile(data, size, "input.onp");
    const OnlineFileRead read = ReadOnlineParameterFile(path);
    FuzzCheck(read.status != OnlineFileStatus::Unreadable, "a written file reads as unreadable");
    FuzzCheck((read.status == OnlineFileStatus::TooLarge) == (size > OnlineFileMaxBytes),
              "the size bound is off");
    FuzzCheck((read.status == OnlineFileStatus::Empty) == (size == 0), "an empty file is not told apart");
    if (read.status != OnlineFileStatus::Loaded)
        return 0;
    for (const std::string& code : read.codes)
        FuzzCheck(code.size() <= OnlineFileMaxLine && code.find('\n') == std::string::npos,
                  "a row code longer than a line or holding a line end");

    const std::string saved = FuzzScratchPath("saved.onp");
    FuzzCheck(WriteOnlineParameterFile(saved, read.codes), "a selection could not be saved");
    const OnlineFileRead again = ReadOnlineParameterFile(saved);
    FuzzCheck(again.status == OnlineFileStatus::Loaded && again.codes == read.codes,
              "a saved selection reads back with other codes");
    return 0;
}
