#include "catalogue/ParamAttributes.h"
#include "catalogue/ParamCode.h"

#include <gtest/gtest.h>

namespace {

CatalogueContext Series(int series, int controlMode = 0) {
    CatalogueContext c;
    c.seriesCode = series;
    c.driveControlMode = controlMode;
    return c;
}

constexpr unsigned ALL = 0xEF000, NO7 = 0xE7000, NO35 = 0xE9000, NO3 = 0xED000, S4689 = 0xE1000;

TEST(ParamAttributes, AttributeWords) {
    const struct {
        const char* code;
        int series;
        int mode;
        unsigned flags;
    } cases[] = {
        {"", 4, 0, 0},
        {"Cn001", 4, 0, ALL | 0xE0},
        {"Cn005", 4, 0, NO35 | 2},
        {"Cn019", 4, 0, ALL | 3},
        {"Cn042", 4, 0, 0},
        {"Cn037", 7, 0, 0x8000 | 0xE0},
        {"Cn078", 6, 0, 0xE0},
        {"Cn078", 6, 13, 0},
        {"Cn086", 4, 0, S4689},
        {"Cn086", 4, 11, 0},
        {"Cn086", 5, 0, 0},
        {"Cn100", 4, 0, 0}, // reads as Cn number 0
        {"Sn202", 4, 12, 0},
        {"Sn220", 4, 0, 0},
        {"Tn101", 4, 0, NO7 | 0xE0},
        {"Tn111", 4, 0, 0},
        {"Pn301", 4, 0, NO35 | 0xE0},
        {"Pn301", 4, 13, 0},
        {"Pn307", 5, 0, ALL | 3},
        {"Pn330", 6, 0, ALL | 2},
        {"Pn330", 6, 13, 0},
        {"Pn353", 4, 0, 2},
        {"Pn365", 4, 0, 0xE0},
        {"Pn372", 4, 0, 0},
        {"Pn386", 4, 0, 0},
        {"Pn400", 4, 0, ALL},
        {"Pn412", 4, 0, ALL},
        {"Pn413", 4, 0, ALL | 2},
        {"Pn412", 4, 12, 0},
        {"Pn498", 4, 0, S4689},
        {"Hn607", 4, 0, NO3 | 0xE0},
        {"Hn601", 4, 0, ALL | 0xE0},
        {"En724", 6, 0, 0x40000},
        {"En709", 4, 0, NO7 | 0xE0},
        {"EC902", 4, 0, NO7 | 0xE0},
        {"EC902", 5, 0, 0},
        {"EC931", 4, 0, 0},
        {"tn805", 4, 0, 0},
        {"tn830", 4, 0, ALL | 0xE0},
        {"MAb05", 4, 0, 0xE0},
        {"Un-54", 4, 11, 0},
        {"Un-54", 4, 13, NO7},
        {"dn-04", 4, 0, ALL | 0x50},
        {"dn-07", 4, 0, 0x6000},
        {"AL03", 4, 0, 0},
        {"onA36", 4, 0, 0},
        {"ono18", 4, 0, 0},
        {"ono01", 4, 0, ALL | 0xE0},
        {"onX01", 4, 0, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParamFlags(c.code, Series(c.series, c.mode)), c.flags)
            << c.code << " series " << c.series << " mode " << c.mode;
}

TEST(ParamAttributes, SeriesMembership) {
    EXPECT_FALSE(ParamInSeries("Cn001", Series(2)));
    EXPECT_FALSE(ParamInSeries("Cn001", Series(10)));
    for (int s = 3; s <= 9; ++s) {
        EXPECT_TRUE(ParamInSeries("Cn001", Series(s))) << s;
        EXPECT_TRUE(ParamInSeries("tn830", Series(s))) << s;
        EXPECT_FALSE(ParamInSeries("tn805", Series(s))) << s;
        EXPECT_FALSE(ParamInSeries("MAb05", Series(s))) << s;
        EXPECT_EQ(ParamInSeries("Tn102", Series(s)), s != 7) << s;
        EXPECT_EQ(ParamInSeries("Cn005", Series(s)), s != 3 && s != 5) << s;
    }
}

TEST(ParamAttributes, NumbersZeroOfTheOptionalGroups) {
    for (int s = 3; s <= 9; ++s) {
        EXPECT_FALSE(ParamEditable("EC900", Series(s)));
        EXPECT_FALSE(ParamEditable("MAb00", Series(s)));
        EXPECT_EQ(ParamEditable("Pn400", Series(s)), s != 5);
        EXPECT_EQ(ParamEditable("En700", Series(s)), s != 7);
        EXPECT_TRUE(ParamEditable("Cn001", Series(s)));
        EXPECT_TRUE(ParamEditable("onC01", Series(s)));
    }
}

TEST(ParamAttributes, VisibilityOfParametersAndOptions) {
    CatalogueContext c = Series(4);
    EXPECT_FALSE(ParamVisible("Un-08", -1, c));
    EXPECT_FALSE(ParamVisible("Cn078", -1, c));
    EXPECT_TRUE(ParamVisible("Cn078", -1, Series(6)));
    EXPECT_FALSE(ParamVisible("Cn037", 1, c));
    EXPECT_TRUE(ParamVisible("Cn037", 0, c));
    EXPECT_TRUE(ParamVisible("Cn037", 1, Series(7)));
    EXPECT_FALSE(ParamVisible("Cn097", 2, c));
    EXPECT_TRUE(ParamVisible("Cn097", -1, c));
    EXPECT_FALSE(ParamVisible("Cn009", 3, Series(3)));
    EXPECT_TRUE(ParamVisible("Cn009", -1, Series(3)));
    EXPECT_FALSE(ParamVisible("Pn332", 0, Series(4, 12)));
    EXPECT_TRUE(ParamVisible("Pn332", 0, Series(4, 10)));
    EXPECT_FALSE(ParamVisible("Pn360", -1, Series(5)));
    EXPECT_FALSE(ParamVisible("Hn605", 1, Series(5)));
    EXPECT_TRUE(ParamVisible("Hn605", 2, Series(5)));
    EXPECT_FALSE(ParamVisible("Hn605", 36, Series(7)));
    EXPECT_FALSE(ParamVisible("Hn620", 30, c));
    EXPECT_TRUE(ParamVisible("Hn614", 9, c));
    EXPECT_FALSE(ParamVisible("Hn614", 9, Series(3)));
    EXPECT_TRUE(ParamVisible("Hn620", 9, Series(3)));

    // Parameters that only newer drives carry follow the words read at connect.
    c.driveSoftwareVersion = 59;
    EXPECT_FALSE(ParamVisible("Cn080", -1, c));
    EXPECT_FALSE(ParamVisible("Pn382", -1, c));
    EXPECT_EQ(ParamFlags("Cn080", c), 0u); // so its value falls back to plain decimal
    c.driveIdWord = 1;
    EXPECT_TRUE(ParamVisible("Cn080", -1, c));
    EXPECT_TRUE(ParamVisible("Pn384", -1, c));
    EXPECT_FALSE(ParamVisible("Cn081", -1, c));
    EXPECT_FALSE(ParamVisible("onT19", -1, c));
    c.driveIdWord = 6;
    EXPECT_TRUE(ParamVisible("Cn081", -1, c));
    EXPECT_TRUE(ParamVisible("onT24", -1, c));

    CatalogueContext old = Series(4);
    old.extendedVersion = 907;
    EXPECT_FALSE(ParamVisible("onE17", -1, old));
    EXPECT_FALSE(ParamVisible("En709", 1, old));
    EXPECT_TRUE(ParamVisible("En709", 0, old));
    old.extendedVersion = 909;
    EXPECT_TRUE(ParamVisible("onE17", -1, old));
    EXPECT_TRUE(ParamVisible("En709", 1, old));
}

TEST(ParamAttributes, FeatureSetAndPositionRows) {
    CatalogueContext c;
    c.modelCode = 0x2157;
    EXPECT_TRUE(SeriesHasFeature(c));
    c.modelCode = 0x1157;
    EXPECT_FALSE(SeriesHasFeature(c));
    c.connected = true; // a connected drive answers through its feature status word
    EXPECT_FALSE(SeriesHasFeature(c));
    c.featureStatusWord = 3;
    EXPECT_TRUE(SeriesHasFeature(c));

    EXPECT_EQ(MapPositionIndex(0), 16);
    EXPECT_EQ(MapPositionIndex(1), 13);
    EXPECT_EQ(MapPositionIndex(2), 1);
    EXPECT_EQ(MapPositionIndex(17), 16);
}

} // namespace
