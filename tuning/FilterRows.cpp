#include "tuning/FilterRows.h"

namespace {

constexpr int NoRange = 0; // minimum 1 > maximum 0

FilterRow Row(const char* code, int current, int set, int write, int typingMax, int limit, int minimum,
              int maximum, bool zeroRule, int original = 0) {
    return {code, current, set, write, typingMax, limit, minimum, maximum, zeroRule, original};
}

} // namespace

const FilterTable& NotchTable() {
    static const FilterTable table = {
        {
            Row("Cn063", 6085, 6086, 6047, 5, 1, 1, NoRange, true),
            Row("Cn064", 6087, 6088, 6048, 1000, 4, 1, 1000, false),
            Row("Cn013", 6089, 6090, 6049, 5000, 4, 50, 5000, false, 6052),
            Row("Cn014", 6099, 6100, 6054, 100, 3, 1, 100, false),
            Row("Cn065", 6101, 6102, 6055, 1000, 4, 1, NoRange, true),
            Row("Cn066", 6046, 6092, 6050, 5000, 4, 50, 5000, false, 6053),
            Row("Cn067", 6103, 6104, 6056, 100, 3, 1, 100, false),
            Row("Cn068", 6105, 6106, 6057, 1000, 4, 1, NoRange, true),
            Row("Cn069", 6093, 6094, 6051, 5000, 4, 50, 5000, false, 6060),
            Row("Cn070", 6107, 6108, 6058, 100, 3, 1, 100, false),
            Row("Cn071", 6109, 6110, 6059, 1000, 4, 1, NoRange, true),
            Row("Cn072", 6095, 6096, 6061, 5000, 4, 50, 5000, false, 6064),
            Row("Cn073", 6111, 6112, 6062, 100, 3, 1, 100, false),
            Row("Cn074", 6113, 6114, 6063, 1000, 4, 1, NoRange, true),
            Row("Cn075", 6097, 6098, 6065, 5000, 4, 50, 5000, false, 6068),
            Row("Cn076", 6115, 6116, 6066, 100, 3, 1, 100, false),
            Row("Cn077", 6117, 6118, 6067, 1000, 4, 1, NoRange, true),
        },
        // Cn063, Cn064, Cn013, Cn066, Cn069, Cn014, Cn072, Cn075, Cn065, Cn067, Cn068, Cn070, Cn071,
        // Cn073, Cn074, Cn076, Cn077.
        {0, 1, 2, 5, 8, 3, 11, 14, 4, 6, 7, 9, 10, 12, 13, 15, 16},
        // Cn064, Cn013, Cn014, Cn066, Cn067, Cn069, Cn070, Cn072, Cn073, Cn075, Cn076.
        {1, 2, 3, 5, 6, 8, 9, 11, 12, 14, 15},
        0,
    };
    return table;
}

const FilterTable& LowFrequencyTable() {
    static const FilterTable table = {
        {
            Row("Pn336", 6099, 6100, 6047, 3, 1, 1, NoRange, true),
            Row("Pn337", 6103, 6104, 6049, 1000, 4, 1, NoRange, true),
            Row("Pn338", 6105, 6031, 6050, 1000, 4, 1, 1000, false),
            Row("Pn339", 6043, 6108, 6051, 1000, 4, 10, 1000, false, 6053),
            Row("Pn340", 6044, 6112, 6054, 30, 2, 1, NoRange, true, 6056),
            Row("Pn341", 6109, 6110, 6052, 1000, 4, 10, 1000, false, 6057),
            Row("Pn342", 6113, 6114, 6055, 30, 2, 1, NoRange, true, 6058),
            Row("Pn343", 6115, 6116, 6059, 1000, 4, 10, 1000, false, 6061),
            Row("Pn344", 6117, 6118, 6060, 30, 2, 1, NoRange, true, 6062),
        },
        {0, 1, 2, 3, 4, 5, 6, 7, 8},
        {2, 3, 5, 7},
        0,
    };
    return table;
}

std::string FilterRangeMessage(const FilterRow& row, const std::string& overRange) {
    return std::string(row.code) + " " + overRange + "\n";
}

std::optional<int> FirstOutOfRange(const FilterTable& table, const std::vector<int>& values) {
    for (int index : table.validateOrder)
        if (!table.rows[static_cast<size_t>(index)].InRange(values[static_cast<size_t>(index)]))
            return index;
    return std::nullopt;
}
