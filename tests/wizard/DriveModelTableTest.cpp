// The drive model table and the texts the drive page builds from it, with the real resource library.
#include "wizard/DriveModelTable.h"

#include "framework/core/ResourceModule.h"

#include <gtest/gtest.h>

namespace {

class DriveModelTexts : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(AfxLoadResourceLibrary()); }
};

TEST_F(DriveModelTexts, ItemsByFamily) {
    struct Case {
        int family;
        int row;
        const char* item;
    };
    const Case cases[] = {
        {2, 0, "HBVZR3 - D01"}, {2, 19, "HBVZR3 - D20"}, {3, 0, "YLT2 - D01"}, {3, 19, "YLT2 - D20"},
        {5, 4, " - D05 - EL"},  {4, 7, " - D08"},        {0, 1, " - D02"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DriveModelItemText(c.family, c.row), c.item) << c.family << "/" << c.row;
}

TEST_F(DriveModelTexts, DetailsAndRowsOutsideTheTable) {
    EXPECT_EQ(DriveModelDetailsText(2, 5),
              "Model: D06\nOutput Power: 2.0kW\nInput voltage: Three-phase AC 200~230V");
    EXPECT_EQ(DriveModelDetailsText(5, 0),
              "Model: D01 - EL\nOutput Power: 100W\nInput voltage: Single-phase/Three-phase AC 200~230V");
    EXPECT_EQ(DriveModelDetailsText(3, 19),
              "Model: D20\nOutput Power: 22.0kW\nInput voltage: Three-phase AC 380~480V");
    // A motor code of a large family names capacity groups past the table: nothing is read there.
    for (int row : {-1, 20, 25}) {
        EXPECT_EQ(DriveModelTable(row), nullptr);
        EXPECT_EQ(DriveModelItemText(2, row), "");
        EXPECT_EQ(DriveModelDetailsText(2, row), "");
    }
}

TEST_F(DriveModelTexts, CapacityCodesMatchTheStringTable) {
    int singleOrThree = 0;
    for (int row = 0; row < DriveModelCount; ++row) {
        EXPECT_EQ(LoadResString(DriveCapacityStringId(row)), DriveModelTable(row)->capacityCode) << row;
        singleOrThree += DriveModelTable(row)->phasesStringId == 1053;
    }
    EXPECT_EQ(singleOrThree, 5);
    EXPECT_STREQ(DriveModelTable(2)->outputPower, DriveModelTable(11)->outputPower);
}

} // namespace
