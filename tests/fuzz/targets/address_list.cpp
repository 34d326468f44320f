// The custom address window's address list (.adr): loaded pairs come back the same after a write
// and a read.
#include "tests/fuzz/FuzzSupport.h"

#include "paramedit/AddressListFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = FuzzInputFile(data, size, "input.adr");
    AddressRows rows;
    std::string error;
    if (ReadAddressList(path, rows, &error) != AddressListRead::Loaded)
        return 0;
    const std::string saved = FuzzScratchPath("saved.adr");
    FuzzCheck(WriteAddressList(saved, rows), "a loaded address list cannot be written");
    AddressRows again;
    FuzzCheck(ReadAddressList(saved, again) == AddressListRead::Loaded,
              "a written address list does not load");
    FuzzCheck(again == rows, "an address list changes through a write and a read");
    return 0;
}
