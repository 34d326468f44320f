#include "framework/core/PaintedLabels.h"

#include <gtest/gtest.h>

namespace {

// Touching edges are no overlap (right and bottom lie outside a rectangle); a shared pixel is; the
// client area's own edges count as inside.
TEST(PaintedLabels, OverlapsAndLabelsOutsideTheClientAreaAreFaults) {
    const CRect client(0, 0, 100, 50);
    struct Case {
        const char* name;
        PaintedLabels labels;
        size_t faults;
    };
    const Case cases[] = {
        {"apart", {{"10Hz", {0, 0, 30, 12}}, {"100Hz", {40, 0, 70, 12}}}, 0},
        {"side by side", {{"a", {0, 0, 30, 12}}, {"b", {30, 0, 60, 12}}}, 0},
        {"one above the other", {{"a", {0, 0, 30, 12}}, {"b", {0, 12, 30, 24}}}, 0},
        {"one shared column", {{"1000Hz", {0, 0, 31, 12}}, {"2000Hz", {30, 0, 60, 12}}}, 1},
        {"inside another", {{"a", {0, 0, 60, 30}}, {"b", {10, 10, 20, 20}}}, 1},
        {"client edges", {{"a", {0, 38, 30, 50}}, {"b", {70, 0, 100, 12}}}, 0},
        {"cut at the bottom", {{"a", {0, 40, 30, 52}}}, 1},
        {"left of the window", {{"a", {-1, 0, 30, 12}}}, 1},
        {"three in a heap", {{"a", {0, 0, 30, 12}}, {"b", {5, 0, 35, 12}}, {"c", {10, 0, 40, 12}}}, 3},
        {"under a control", {{"5000Hz", {60, 30, 96, 42}}}, 1},
        {"beside a control", {{"2000Hz", {20, 30, 56, 42}}}, 0},
        {"inside its rectangle", {{"Load", {10, 4, 30, 17}, 0, {0, 0, 40, 20}}}, 0},
        {"a rectangle lower than its line", {{"Setting", {10, 4, 50, 17}, 0, {0, 8, 60, 13}}}, 1},
    };
    const std::vector<CRect> controls = {{70, 28, 100, 50}};
    for (const Case& c : cases)
        EXPECT_EQ(LabelLayoutFaults(c.labels, client, controls).size(), c.faults) << c.name;
    const auto faults = LabelLayoutFaults({{"1000Hz", {0, 0, 31, 12}}, {"2000Hz", {30, 0, 60, 12}}}, client);
    ASSERT_EQ(faults.size(), 1u);
    EXPECT_NE(faults[0].find("\"1000Hz\""), std::string::npos);
    EXPECT_NE(faults[0].find("\"2000Hz\""), std::string::npos);
}

} // namespace
