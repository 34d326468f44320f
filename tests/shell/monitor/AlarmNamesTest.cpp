#include "shell/AlarmNames.h"

#include "framework/core/ResourceModule.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

// The alarm names as the resource library holds them.
class AlarmNamesTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::vector<ResourceError> errors;
        ASSERT_TRUE(names_.ReadHeader(Read("resources/ids/monitor.h"), "monitor.h", errors));
        std::string error;
        module_ = CResourceModule::FromScript(Read("resources/monitor.rc"), "monitor.rc", &names_, &error);
        ASSERT_TRUE(module_) << error;
    }
    StringLoader Load() const {
        return [m = module_](int id) { return m->String(id); };
    }
    static std::string Read(const std::string& file) {
        std::ifstream in(std::string(KELO_SOURCE_DIR) + "/" + file);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    ResourceIdNames names_;
    std::shared_ptr<const CResourceModule> module_;
};

TEST_F(AlarmNamesTest, NamesAndColoursOfKnownSpecialAndUnknownCodes) {
    struct Case {
        int code;
        const char* name;
    };
    const Case cases[] = {
        {0, "Normal"},
        {1, "Power Supply Voltage Too Low"},
        {5, "Encoder Signal Error"},
        {10, "Absolute Type Encoder Battery Warning"},
        {11, "Excessive Position Error"}, // string 61488 is skipped
        {24, "-----"},                    // a string of its own that reads like no name
        {51, "Motor Overload"},           // the same text as code 3
        {63, "Mapping Parameter Setting Error"},
        {64, "Software Limit Setting Error"},
        {74, "The second section of the motor is overspeeded"},
        {77, "output exceeds the rated current of the power element"},
        {85, "85"},
        {89, "89"},
        {90, "MCU and FPGA synchronization error"},
        {997, "Positive/negative driving prohibits exceptions"},
        {998, "Negative driving prohibits exceptions"},
        {999, "Positive driving prohibits exceptions"},
        {91, "-----"},
        {996, "-----"},
        {1000, "-----"},
        {-1, "-----"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(AlarmName(c.code, Load()), c.name);
        EXPECT_EQ(AlarmNameColour(c.code), c.code == 0 ? AlarmIdleColour : AlarmActiveColour);
    }
    EXPECT_EQ(AlarmNameStringId(11), 61489);
    EXPECT_EQ(AlarmNameStringId(64), 63829);
    EXPECT_EQ(AlarmNameStringId(91), 0);
}

TEST_F(AlarmNamesTest, EveryTableCodeHasItsString) {
    for (int code = 0; code <= 999; ++code) {
        const int id = AlarmNameStringId(code);
        if (code <= 90 || code >= 997) {
            EXPECT_NE(id, 0) << code;
            EXPECT_TRUE(module_->HasString(id)) << code;
        } else {
            EXPECT_EQ(id, 0) << code;
        }
    }
}

TEST_F(AlarmNamesTest, RowsStartAtNormalAndFollowTheHistory) {
    AlarmMonitorRows rows(Load());
    for (int row = 0; row < AlarmRowCount; ++row) {
        EXPECT_EQ(rows.NumberTexts()[row], "00");
        EXPECT_EQ(rows.NameTexts()[row], "   Normal");
        EXPECT_EQ(rows.NameColour(row), AlarmIdleColour);
    }

    std::array<int, AlarmRowCount> codes{5, 0, 91, 1000, 999, 0, 0, 0, 0, 0};
    std::array<std::string, AlarmRowCount> numbers{"05", "00", "91", "1000", "999",
                                                   "00", "00", "00", "00",   "00"};
    rows.SetHistory(codes, numbers);
    // Names follow only when the window redraws them.
    EXPECT_EQ(rows.NameTexts()[0], "   Normal");
    rows.UpdateNames(Load());
    EXPECT_EQ(rows.NumberTexts()[3], "1000");
    EXPECT_EQ(rows.NameTexts()[0], "   Encoder Signal Error");
    EXPECT_EQ(rows.NameTexts()[1], "   Normal");
    EXPECT_EQ(rows.NameTexts()[2], "   -----");
    EXPECT_EQ(rows.NameTexts()[3], "   -----");
    EXPECT_EQ(rows.NameTexts()[4], "   Positive driving prohibits exceptions");
    EXPECT_EQ(rows.NameColour(0), AlarmActiveColour);
    EXPECT_EQ(rows.NameColour(1), AlarmIdleColour);
    EXPECT_EQ(rows.NameColour(3), AlarmActiveColour);
}

} // namespace
