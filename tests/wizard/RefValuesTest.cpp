// What the reference-input step's Apply takes into the collected values, checked through the
// parameter list that Finish and Write hand on, and the chains as the wizard's navigation sees them.
#include "catalogue/KeloServoDoc.h"
#include "wizard/CollectedSet.h"
#include "wizard/ReferenceInput.h"
#include "wizard/WizardBlocks.h"
#include "wizard/WizardNavigation.h"

#include <gtest/gtest.h>

#include <map>
#include <utility>
#include <vector>

namespace {

using Pairs = std::vector<std::pair<std::string, int>>;

class RefValues : public ::testing::Test {
protected:
    void SetUp() override {
        doc.OnNewDocument();
        set.CopyFromDocument(doc);
    }
    void Start(int mode) {
        set.UseDefaults = true;
        set.ResetDioForControlMode(mode);
        set.InitCollectedValues();
        *set.Value("Cn001") = mode;
    }
    void Choose(const std::map<std::string, int>& choices) {
        for (const auto& [key, value] : choices)
            set.SetChoice(key, value);
    }
    // The list up to the first DI/DO entry: what the reference step itself contributes.
    Pairs ReferenceList(int mode) const {
        WizardStepFlags flags;
        flags.referenceDone = true;
        Pairs pairs;
        for (const WizardEntry& entry : set.WizardParameterList(mode, flags)) {
            if (entry.code.rfind("Hn", 0) == 0)
                break;
            pairs.emplace_back(entry.code, entry.value);
        }
        return pairs;
    }
    int Default(const char* code) const { return set.DefaultOr0(code); }

    CKeloServoDoc doc;
    CollectedSet set{3000, 131072, 300};
};

TEST_F(RefValues, PositionWithGearAndHomingByPn317) {
    Start(PositionMode);
    Choose({{"Pn301.0", 1},    {"Pn301.1", 1}, {"Pn301.2", 0}, {"Pn301.3", 2}, {"Pn332.3", 1}, {"Pn356", 500},
            {"GearMethod", 1}, {"Pn302", 2},   {"Pn303", 3},   {"Pn304", 4},   {"Pn305", 5},   {"Pn306", 7},
            {"Pn354", 12345},  {"Pn313", 20},  {"Pn329", 3},   {"Pn330", 4},   {"Pn315.0", 1}, {"Pn317.2", 1},
            {"Pn355", 0},      {"Pn317.0", 1}, {"Pn317.1", 0}, {"Pn317.3", 1}, {"Pn318", 500}, {"Pn319", 50},
            {"Pn320", -2},     {"Pn321", 100}, {"Pn361", 30},  {"Pn362", 200}, {"Pn315.1", 1}, {"Pn307", 10},
            {"Pn308", 1000},   {"Pn309", 2000}});
    ASSERT_EQ(std::nullopt, TakeReferenceValues(set, PositionMode));
    const Pairs expected = {
        {"Cn001", 2},
        {"Pn301", 0x2011},
        {"Pn332", WithDigit(Default("Pn332"), 3, 1)},
        {"Pn356", 500},
        {"Pn354", Default("Pn354")}, // the electronic gear leaves Pn354 at its default
        {"Pn302", 2},
        {"Pn303", 3},
        {"Pn304", 4},
        {"Pn305", 5},
        {"Pn306", 7},
        {"Pn313", 20},
        {"Pn329", 3},
        {"Pn330", 4},
        {"Pn315", WithDigit(WithDigit(Default("Pn315"), 0, 1), 1, 1)},
        {"Pn317", WithDigit(0x1101, 2, 1) | (Default("Pn317") & ~0xFFFF)},
        {"Pn355", 0},
        {"Pn318", 500},
        {"Pn319", 50},
        {"Pn320", -2},
        {"Pn321", 100},
        {"Pn361", 30},
        {"Pn362", 200},
        {"Pn307", 10},
        {"Pn308", 1000},
        {"Pn309", 2000},
        // Homing by Pn317 towards a limit switch, before the comprehensive step: Cn002 goes along.
        {"Cn002", Default("Cn002")},
    };
    EXPECT_EQ(expected, ReferenceList(PositionMode));
    EXPECT_EQ(26u, ReferenceList(PositionMode).size());
}

TEST_F(RefValues, PositionWithPulsesPerRevolutionAndHomingOff) {
    Start(PositionMode);
    Choose({{"GearMethod", 0},
            {"Pn354", 10000},
            {"Pn302", 9},
            {"Pn317.2", 0},
            {"Pn355", 5},
            {"Pn318", 77},
            {"Pn317.0", 1}});
    ASSERT_EQ(std::nullopt, TakeReferenceValues(set, PositionMode));
    const Pairs list = ReferenceList(PositionMode);
    ASSERT_EQ(25u, list.size()) << "no Cn002 with homing off";
    const std::map<std::string, int> values(list.begin(), list.end());
    EXPECT_EQ(10000, values.at("Pn354"));
    EXPECT_EQ(Default("Pn302"), values.at("Pn302"))
        << "pulses per revolution leaves the gear at its defaults";
    EXPECT_EQ(0, values.at("Pn317"));
    EXPECT_EQ(0, values.at("Pn355")) << "the method typed before is not taken with homing off";
    EXPECT_EQ(Default("Pn318"), values.at("Pn318"));
    EXPECT_EQ(0, DigitAt(values.at("Pn315"), 1));
}

TEST_F(RefValues, HomingByMethodClearsThePn317Digits) {
    Start(PositionMode);
    Choose({{"Pn317.2", 2}, {"Pn355", 5}, {"Pn317.0", 7}, {"Pn317.1", 2}, {"Pn317.3", 1}});
    ASSERT_EQ(std::nullopt, TakeReferenceValues(set, PositionMode));
    EXPECT_EQ(0x0200, *set.Value("Pn317") & 0xFFFF);
    EXPECT_EQ(5, *set.Value("Pn355"));
    EXPECT_EQ(25u, ReferenceList(PositionMode).size());
}

TEST_F(RefValues, AnUnsetChoiceRefusesAndChangesNothing) {
    Start(PositionMode);
    const int before = *set.Value("Pn301");
    Choose({{"Pn301.1", -1}, {"Pn313", 55}});
    EXPECT_EQ(std::optional<std::string>("Pn301.1"), TakeReferenceValues(set, PositionMode));
    EXPECT_EQ(before, *set.Value("Pn301"));
    EXPECT_NE(55, *set.Value("Pn313"));
    Start(TorqueMode);
    Choose({{"Tn101.2", -1}});
    EXPECT_EQ(std::optional<std::string>("Tn101.2"), TakeReferenceValues(set, TorqueMode));
}

TEST_F(RefValues, SpeedTakesOnlyTheChosenAccelerationPage) {
    Start(SpeedMode);
    Choose({{"Sn216", 3000},
            {"Sn218", 3060},
            {"Sn201", 100},
            {"Sn202", -200},
            {"Sn203", 300},
            {"Sn205.0", 3},
            {"Sn206", 11},
            {"Sn207", 22},
            {"Sn208", 30},
            {"Sn209", 100},
            {"Sn210", 120},
            {"Sn215", 20},
            {"Sn204.0", 1}});
    ASSERT_EQ(std::nullopt, TakeReferenceValues(set, SpeedMode));
    const Pairs expected = {{"Cn001", 1},
                            {"Sn216", 3000},
                            {"Sn218", 3060},
                            {"Sn201", 100},
                            {"Sn202", -200},
                            {"Sn203", 300},
                            {"Sn205", WithDigit(Default("Sn205"), 0, 3)},
                            {"Sn206", Default("Sn206")},
                            {"Sn207", Default("Sn207")},
                            {"Sn208", 30},
                            {"Sn209", 100},
                            {"Sn210", 120},
                            {"Sn215", 20},
                            {"Sn204", WithDigit(Default("Sn204"), 0, 1)}};
    EXPECT_EQ(expected, ReferenceList(SpeedMode));
}

TEST_F(RefValues, TorqueBySourceMethodAndSwitching) {
    Start(TorqueMode);
    Choose({{"Tn101.0", 3},
            {"Tn101.1", 1},
            {"Tn101.2", 1},
            {"Tn113", -150},
            {"Tn103", 99},
            {"Cn010", 250},
            {"Cn011", -250},
            {"Tn102", 40},
            {"Tn110", 41},
            {"Tn117", 42},
            {"Tn108", 77},
            {"Tn114", 1000},
            {"Tn115", -1000},
            {"Tn109", 555},
            {"Tn105", 1},
            {"Tn106", 2},
            {"Tn107", 3}});
    ASSERT_EQ(std::nullopt, TakeReferenceValues(set, TorqueMode));
    const Pairs expected = {{"Cn001", 0},
                            {"Tn101", (Default("Tn101") & ~0xFFF) | 0x113},
                            {"Tn113", -150},
                            {"Tn103", Default("Tn103")},
                            {"Cn010", 250},
                            {"Cn011", -250},
                            {"Tn102", 40},
                            {"Tn110", Default("Tn110")},
                            {"Tn117", 42},
                            {"Tn108", 77},
                            {"Tn114", 1000},
                            {"Tn115", -1000},
                            {"Tn109", Default("Tn109")},
                            {"Tn105", Default("Tn105")},
                            {"Tn106", Default("Tn106")},
                            {"Tn107", Default("Tn107")}};
    EXPECT_EQ(expected, ReferenceList(TorqueMode));
}

TEST(RefChainsRegistered, EveryModeHasItsChainAndChecks) {
    WizardChains chains = WizardChains::Standard();
    AddReferenceChains(chains);
    EXPECT_EQ(60, chains.FirstPage(WizardStep::Reference, TorqueMode));
    EXPECT_EQ(31, chains.FirstPage(WizardStep::Reference, SpeedMode));
    EXPECT_EQ(40, chains.FirstPage(WizardStep::Reference, PositionMode));
    const std::map<std::string, int> choices = {{"Pn317.2", 1}, {"Pn355", 5}};
    const ChoiceReader read = [&](std::string_view key) {
        auto it = choices.find(std::string(key));
        return it == choices.end() ? 0 : it->second;
    };
    ASSERT_TRUE(chains.Find(49));
    EXPECT_EQ(52, chains.Find(49)->next(read));
    EXPECT_EQ(54, chains.Find(52)->next(read));
    EXPECT_EQ(52, chains.Find(54)->back(read));
    EXPECT_TRUE(chains.Find(69)->checkedOnApply);
    EXPECT_FALSE(chains.Find(64)->checked);
    EXPECT_EQ(nullptr, chains.Find(61)) << "torque page 2 does not exist";
}

} // namespace
