#include "paramedit/ParameterChangedFlags.h"

#include <gtest/gtest.h>

// Each group lands on its own base; codes outside the table touch nothing.
TEST(ChangedFlags, CodesMapOntoTheTableBases) {
    const struct {
        const char* code;
        int index;
    } cases[] = {{"Cn001", 0},   {"Cn099", 98},  {"Tn101", 100}, {"Sn201", 200},  {"Pn301", 300},
                 {"qn501", 400}, {"Hn601", 500}, {"tn001", 900}, {"onS01", 1100}, {"onC69", 1368},
                 {"Cn000", -1},  {"Un-05", -1},  {"", -1},       {"xx", -1}};
    for (const auto& c : cases) {
        EXPECT_EQ(ParameterChangedFlags::IndexOf(c.code), c.index) << c.code;
    }
    ParameterChangedFlags flags;
    flags.Set("Un-05");
    flags.SetIndex(ParameterChangedFlags::Size);
    EXPECT_FALSE(flags.Any());
    flags.Set("Hn601");
    EXPECT_TRUE(flags.IsSet("Hn601"));
    EXPECT_TRUE(flags.IsSetIndex(500));
    flags.ClearAll();
    EXPECT_FALSE(flags.Any());
}
