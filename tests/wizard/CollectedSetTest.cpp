// The wizard's value sets: DI/DO defaults and merges, step Apply, the parameter list and Finish.
#include "wizard/CollectedSet.h"

#include "catalogue/DocumentGlobals.h"
#include "catalogue/KeloServoDoc.h"
#include "wizard/WizardNavigation.h"

#include <gtest/gtest.h>

#include <set>

namespace {

std::vector<std::string> Codes(const std::vector<WizardEntry>& list) {
    std::vector<std::string> codes;
    for (const WizardEntry& e : list)
        codes.push_back(e.code);
    return codes;
}

class Collected : public ::testing::Test {
protected:
    void SetUp() override {
        doc.OnNewDocument();
        set.CopyFromDocument(doc);
    }
    void Start(int mode, bool useDefaults) {
        set.UseDefaults = useDefaults;
        set.ResetDioForControlMode(mode);
        set.InitCollectedValues();
    }
    CKeloServoDoc doc;
    CollectedSet set{3000, 131072, 300};
};

TEST_F(Collected, DigitalIoDefaultsOfEachMode) {
    struct Case {
        int mode;
        int di6, di7, di8, di10, di11, do3, do4;
    };
    const Case cases[] = {{TorqueMode, 0x1B, 0x1C, 0x1A, 0x0A, 0x0B, 0x08, 0x05},
                          {SpeedMode, 0x06, 0x0E, 0x08, 0x0A, 0x0B, 0x03, 0x05},
                          {PositionMode, 0x06, 0x07, 0x0D, 0x14, 0x15, 0x07, 0x06}};
    for (const Case& c : cases) {
        Start(c.mode, true);
        SCOPED_TRACE(c.mode);
        EXPECT_EQ(set.DiList[3], 0x104); // POT, contact B
        EXPECT_EQ(set.DiList[5], c.di6);
        EXPECT_EQ(set.DiList[6], c.di7);
        EXPECT_EQ(set.DiList[7], c.di8);
        EXPECT_EQ(set.DiList[9], c.di10);
        EXPECT_EQ(set.DiList[10], c.di11);
        EXPECT_EQ(set.DoList[2], c.do3);
        EXPECT_EQ(set.DoList[3], c.do4);
        EXPECT_EQ(set.DoList[4], 0x15); // Hn619
        EXPECT_EQ(*set.Value("Hn619"), 0x15);
        EXPECT_EQ(set.DiOf(DiFunction::POT).number, 4);
        EXPECT_EQ(set.DiOf(DiFunction::POT).contact, 1);
    }
    Start(PositionMode, true);
    EXPECT_EQ(set.DiOf(DiFunction::SHOME).number, 10);
    EXPECT_EQ(set.DiOf(DiFunction::SPD1).number, 0);
    EXPECT_EQ(set.DoOf(DoFunction::INP).number, 4);
}

TEST_F(Collected, TheLowestPinCarryingAFunctionIsRemembered) {
    doc.Value(DocHn, 2) = 0x0A; // SPD1 on DI-2 and, by the defaults of speed mode, on DI-10
    doc.Value(DocHn, 10) = 0x0A;
    set.CopyFromDocument(doc);
    Start(SpeedMode, false);
    EXPECT_EQ(set.DiOf(DiFunction::SPD1).number, 2);
}

TEST_F(Collected, MergesGiveWayToSpeedSelectionInputs) {
    Start(SpeedMode, true); // SPD1 on DI-10, SPD2 on DI-11, SPDINV on DI-7
    // RS1 onto SPD1's pin: it has no previous pin, so it stays unassigned.
    set.MergeDi({{DiFunction::RS1, 10, 0}}, {DiFunction::SPD1, DiFunction::SPD2});
    EXPECT_EQ(set.DiOf(DiFunction::RS1).number, 0);
    EXPECT_EQ(set.DiList[9], 0x0A);
    // RS1 on DI-9 first, then onto SPD2's pin: it keeps DI-9.
    set.MergeDi({{DiFunction::RS1, 9, 1}}, {DiFunction::SPD1, DiFunction::SPD2});
    EXPECT_EQ(set.DiList[8], 0x100 + DiFunction::RS1);
    set.MergeDi({{DiFunction::RS1, 11, 0}}, {DiFunction::SPD1, DiFunction::SPD2});
    EXPECT_EQ(set.DiOf(DiFunction::RS1).number, 9);
    EXPECT_EQ(set.DiList[10], 0x0B);
    // Moving a function clears its previous pin.
    set.MergeDi({{DiFunction::RS1, 12, 0}}, {DiFunction::SPD1, DiFunction::SPD2});
    EXPECT_EQ(set.DiList[8], 0);
    EXPECT_EQ(set.DiList[11], DiFunction::RS1);

    // The encoder step in speed mode: SPDINV wins SPD1's pin and SPD1 falls back.
    set.SetChoice("Cn004.0", 1);
    ASSERT_FALSE(set.ApplyEncoder(SpeedMode, {{DiFunction::SPDINV, 10, 0}}, false));
    EXPECT_EQ(set.DiList[9], DiFunction::SPDINV);
    EXPECT_EQ(set.DiList[6], 0); // its old pin DI-7 is free
    EXPECT_EQ(set.DiOf(DiFunction::SPD1).number, 0);
    EXPECT_EQ(*set.Value("Hn610"), DiFunction::SPDINV);
}

TEST_F(Collected, UnsetChoiceRefusesTheApplyAndChangesNothing) {
    Start(SpeedMode, true);
    const int cn008 = *set.Value("Cn008");
    set.SetChoice("Cn008.0", -1);
    const auto refused = set.ApplyComprehensive({}, false);
    ASSERT_TRUE(refused);
    EXPECT_EQ(*refused, "Cn008.0");
    EXPECT_EQ(*set.Value("Cn008"), cn008);
}

TEST_F(Collected, ComprehensiveTakesBrakeOutputOnlyForItsModes) {
    Start(SpeedMode, true);
    *set.Default("Cn008") = 0x0030; // forced action 3 in the default
    for (int brake : {2, 3}) {
        set.SetChoice("Cn008.0", brake);
        set.SetChoice("Cn008.1", 5);
        set.SetChoice("Cn003", 77);
        ASSERT_FALSE(set.ApplyComprehensive({{DoFunction::BI, 2, 0}}, brake == 3));
        const auto codes = Codes(set.WizardParameterList(SpeedMode, {false, false, true}));
        if (brake == 2) {
            EXPECT_EQ(*set.Value("Cn008") & 0xFF, 0x32);
            EXPECT_EQ(*set.Value("Cn003"), set.DefaultOr0("Cn003"));
            EXPECT_EQ(codes.size(), 7u); // Cn001 and the six, no DO entries
        } else {
            EXPECT_EQ(*set.Value("Cn008") & 0xFF, 0x53);
            EXPECT_EQ(*set.Value("Cn003"), 77);
            EXPECT_EQ(*set.Value("Hn614"), DoFunction::BI);
            EXPECT_EQ(codes.size(), 15u);
            EXPECT_EQ(codes.back(), "Hn622");
        }
    }
}

TEST_F(Collected, ParameterListByStepsAndMode) {
    Start(PositionMode, true);
    EXPECT_EQ(Codes(set.WizardParameterList(PositionMode, {})), std::vector<std::string>{"Cn001"});
    // Position reference: 25 entries, then the 12 DI and 8 DO entries.
    EXPECT_EQ(set.WizardParameterList(PositionMode, {true, false, false}).size(), 25u + 12 + 8);
    // Homing on (Pn317 digit 2) with method 0 and reference 1 adds Cn002 after Pn309.
    *set.Value("Pn317") = 0x0101;
    *set.Value("Pn355") = 0;
    const auto codes = Codes(set.WizardParameterList(PositionMode, {true, false, false}));
    EXPECT_EQ(codes[25], "Cn002");
    EXPECT_EQ(codes.size(), 26u + 20);
    EXPECT_EQ(set.WizardParameterList(PositionMode, {true, false, true}).size(), 25u + 12 + 6 + 8);
    // Encoder in position mode: Pn314, no DI entries.
    EXPECT_EQ(Codes(set.WizardParameterList(PositionMode, {false, true, false})),
              (std::vector<std::string>{"Cn001", "Cn005", "Pn316", "Pn314"}));
    const auto speed = Codes(set.WizardParameterList(SpeedMode, {false, true, false}));
    EXPECT_EQ(speed.size(), 4u + 12);
    EXPECT_EQ(speed[3], "Cn004");
    EXPECT_EQ(set.WizardParameterList(TorqueMode, {true, false, false}).size(), 16u + 12 + 8);
}

TEST_F(Collected, GearMethodFromTheSource) {
    Start(PositionMode, true);
    EXPECT_EQ(set.Choice("GearMethod"), 1);
    for (auto [pn354, method] : {std::pair{10, 1}, std::pair{10000, 0}}) {
        doc.Value(DocPn3, 54) = pn354;
        set.CopyFromDocument(doc);
        Start(PositionMode, false);
        EXPECT_EQ(set.Choice("GearMethod"), method);
    }
}

TEST_F(Collected, LinkedFinishRightAfterOpeningHandsOverOnlyCn001) {
    Start(SpeedMode, false);
    *set.Value("Cn001") = doc.Value(DocCn, 1) == 2 ? 0 : 2;
    *set.Value("Cn005") = 1234; // not in the list without the encoder step
    std::set<std::string> marked;
    set.Finish(doc, [&](std::string_view code) { marked.insert(std::string(code)); }, true, SpeedMode, {});
    EXPECT_EQ(marked, std::set<std::string>{"Cn001"});
    EXPECT_EQ(doc.Value(DocCn, 1), *set.Value("Cn001"));
    EXPECT_NE(doc.Value(DocCn, 5), 1234);
}

TEST_F(Collected, OfflineFinishWithAndWithoutDefaults) {
    for (bool useDefaults : {false, true}) {
        SCOPED_TRACE(useDefaults);
        CKeloServoDoc target;
        target.OnNewDocument();
        target.Value(Docqn, 1) = 11;
        target.Value(Doctn, 1) = 12;
        target.Value(DoconS, 1) = target.Default(DoconS, 1) + 13;
        target.Value(DoconC, 5) = 14;
        set.CopyFromDocument(target);
        Start(SpeedMode, useDefaults);
        set.ApplyMotorDefaults(0x1231, 2000); // family 0x1000, n = 2
        *set.Value("Cn030") = 0x1231;
        *set.Value("Cn010") = 250;
        std::set<std::string> marked;
        set.Finish(target, [&](std::string_view code) { marked.insert(std::string(code)); }, false, SpeedMode,
                   {});
        EXPECT_EQ(target.Value(Docqn, 1) == 11, !useDefaults);
        EXPECT_EQ(target.Value(Doctn, 1) == 12, !useDefaults);
        EXPECT_EQ(target.Value(DoconS, 1) == target.Default(DoconS, 1), useDefaults);
        EXPECT_EQ(target.Value(DoconC, 5) == 14, !useDefaults);
        EXPECT_EQ(marked.count("onC05") == 1, useDefaults);
        EXPECT_EQ(target.Default(DocCn, 5), set.DefaultOr0("Cn005"));
        EXPECT_EQ(ModelCode, 0x1231);
        EXPECT_EQ(ForwardTorqueLimit, 250);
        EXPECT_EQ(DriveCapacityIndex & 0xF, 2);
    }
}

TEST(CollectedCapacity, DriveCapacityClassMapping) {
    struct Case {
        int cn030;
        bool feature;
        int expected;
    };
    const Case cases[] = {{0x1400, false, 10}, {0x1500, false, 4}, {0x1700, false, 5}, {0x1B00, false, 9},
                          {0x1600, false, 6},  {0x1300, false, 3}, {0x1400, true, 4},  {0x1B00, true, 11}};
    for (const Case& c : cases)
        EXPECT_EQ(CollectedSet::CapacityClass(c.cn030, c.feature), c.expected) << std::hex << c.cn030;
}

TEST(CollectedSlots, CodesOutsideTheSetsFindNothing) {
    WizardDefaultSet values;
    EXPECT_EQ(CollectedSet::Slot(values, "Cn001"), &values.Cn[0]);
    EXPECT_EQ(CollectedSet::Slot(values, "Pn385"), &values.Pn[84]);
    EXPECT_EQ(CollectedSet::Slot(values, "onC69"), &values.onC[68]);
    EXPECT_EQ(CollectedSet::Slot(values, "tn863"), &values.tn[62]);
    for (const char* bad : {"Cn000", "Tn119", "Hn625", "Xn001", "Cn", "Cn0x1", "onC70"})
        EXPECT_EQ(CollectedSet::Slot(values, bad), nullptr) << bad;
}

} // namespace
