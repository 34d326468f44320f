#include "tuning/NotchFilterSet.h"

#include "framework/core/Format.h"

const std::array<NotchField, NotchFieldCount> NotchFields = {{
    {"Cn013", 50, 5000, 4},
    {"Cn014", 1, 100, 3},
    {"Cn065", 0, 1000, 4},
    {"Cn066", 50, 5000, 4},
    {"Cn067", 1, 100, 3},
    {"Cn068", 0, 1000, 4},
    {"Cn069", 50, 5000, 4},
    {"Cn070", 1, 100, 3},
    {"Cn071", 0, 1000, 4},
    {"Cn072", 50, 5000, 4},
    {"Cn073", 1, 100, 3},
    {"Cn074", 0, 1000, 4},
    {"Cn075", 50, 5000, 4},
    {"Cn076", 1, 100, 3},
    {"Cn077", 0, 1000, 4},
}};

std::optional<int> FirstBadNotchField(const std::array<std::string, NotchFieldCount>& texts,
                                      std::array<int, NotchFieldCount>& values) {
    for (int i = 0; i < NotchFieldCount; ++i) {
        const std::optional<int> value = texts[i].empty() ? std::optional<int>(0) : ParseInt(texts[i]);
        if (!value || *value < NotchFields[i].minimum || *value > NotchFields[i].maximum)
            return i;
        values[i] = *value;
    }
    return std::nullopt;
}
