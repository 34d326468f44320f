// The comparison's reading of parameter documents (.zpf as a comparison file): the series check and
// the value blocks. A refused file leaves the values as they were.
#include "tests/fuzz/FuzzSupport.h"

#include "paramedit/CompareResult.h"
#include "paramedit/CompareSelection.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = FuzzInputFile(data, size, "input.zpf");
    CheckComparisonDocument(path, 4);
    DocumentValueSet set;
    set.values[0].assign(set.values[0].size(), 7);
    std::string error;
    if (!ReadDocumentValues(path, set, &error)) {
        FuzzCheck(!error.empty(), "a refused document without a reason");
        for (std::int32_t value : set.values[0])
            FuzzCheck(value == 7, "a refused document changed the values");
        return 0;
    }
    const DocumentValueSet empty;
    for (std::size_t g = 0; g < set.values.size(); ++g)
        FuzzCheck(set.values[g].size() == empty.values[g].size(), "a group's size changed");
    return 0;
}
