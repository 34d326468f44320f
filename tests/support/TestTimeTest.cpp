// The time scale of test waits: a setting wins, else the load per core stretches them, within bounds.
#include "tests/support/TestTime.h"

#include <gtest/gtest.h>

TEST(TestTime, ScaleFollowsTheSettingOrTheLoadPerCore) {
    const struct {
        const char* setting;
        double load;
        unsigned cores;
        double scale;
    } cases[] = {{"4", 0.0, 8, 4.0},      {"2.5", 80.0, 8, 2.5},     {nullptr, 0.5, 8, 1.0625},
                 {nullptr, 16.0, 8, 3.0}, {nullptr, 400.0, 8, 10.0}, {"", 8.0, 8, 2.0},
                 {"fast", 8.0, 8, 2.0},   {"0.5", 0.0, 8, 1.0},      {nullptr, 4.0, 0, 1.0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.setting ? c.setting : "<unset>");
        EXPECT_DOUBLE_EQ(c.scale, TestTimeScaleFrom(c.setting, c.load, c.cores))
            << c.load << " on " << c.cores;
    }
}
