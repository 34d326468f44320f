// The mechanism calculators driven as a user drives them: typing the mechanics, reading the steps,
// clicking Reduction and OK, and what reaches the page after OK.
#include "framework/core/MessageSeam.h"
#include "resources/ids/wizardref.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/WindowTestHome.h"
#include "wizard/ui/MechanismCalculatorDialogs.h"

#include <gtest/gtest.h>

namespace {

using ui::Press;
using ui::Text;
using ui::Type;

class CalcDialogs : public ::testing::Test {
protected:
    void SetUp() override {
        module = ProgramResources();
        ASSERT_TRUE(module);
        current = std::make_unique<ScopedResourceModule>(module);
    }
    // Runs the calculator with `user` acting inside it; the dialog's answer comes back.
    INT_PTR Run(CDialog& calculator, std::function<void(CDialog&)> user) {
        ui::ModalScript script({}, std::move(user));
        return calculator.DoModal();
    }
    std::vector<std::string> Shown() const {
        std::vector<std::string> texts;
        for (const MessageRequest& request : messages.Shown())
            texts.push_back(request.text);
        return texts;
    }

    std::shared_ptr<const CResourceModule> module;
    std::unique_ptr<ScopedResourceModule> current;
    ScriptedMessages messages;
};

TEST_F(CalcDialogs, BallScrewPulsesOkOnlyWithinTheRange) {
    CSetBallScrew1Dialog screw;
    screw.m_MaxPulses = 131072;
    EXPECT_EQ(IDOK, Run(screw, [](CDialog& d) {
                  Type(d, IDC_CALC_INPUT1, "10");
                  Type(d, IDC_CALC_INPUT2, "1");
                  EXPECT_EQ("10", Text(d, IDC_CALC_MIRROR_LOAD));
                  EXPECT_EQ("10000", Text(d, IDC_CALC_RESULT));
                  Press(d, IDOK);
              }));
    EXPECT_EQ(10000, screw.m_Result);

    CSetBallScrew1Dialog small;
    small.m_MaxPulses = 131072;
    EXPECT_EQ(IDCANCEL, Run(small, [](CDialog& d) {
                  Type(d, IDC_CALC_INPUT1, "1");
                  Type(d, IDC_CALC_INPUT2, "100");
                  EXPECT_EQ("10", Text(d, IDC_CALC_RESULT));
                  Press(d, IDOK); // refused: below 64; the dialog stays until cancelled
              }));
    EXPECT_EQ(std::vector<std::string>{"Out of range!"}, Shown());
}

TEST_F(CalcDialogs, ConveyorGearReductionAndTheCircumference) {
    CSetConveyorBelt2Dialog belt;
    belt.m_EncoderResolution = 131072;
    EXPECT_EQ(IDOK, Run(belt, [](CDialog& d) {
                  EXPECT_EQ("131072", Text(d, IDC_CALC_RESOLUTION1));
                  Type(d, IDC_CALC_INPUT1, "1");
                  EXPECT_EQ("3.14", Text(d, IDC_CALC_CIRCUMFERENCE));
                  Type(d, IDC_CALC_INPUT1, "10");
                  EXPECT_EQ("31.4", Text(d, IDC_CALC_MIRROR_LOAD));
                  Type(d, IDC_CALC_INPUT1, "100");
                  EXPECT_EQ("314", Text(d, IDC_CALC_CIRCUMFERENCE));
                  Type(d, IDC_CALC_INPUT2, "10");
                  Type(d, IDC_CALC_INPUT3, "1");
                  Type(d, IDC_CALC_INPUT4, "10");
                  EXPECT_EQ("1310720", Text(d, IDC_CALC_NUMERATOR));
                  EXPECT_EQ("31400", Text(d, IDC_CALC_DENOMINATOR));
                  for (int click = 0; click < 6; ++click)
                      Press(d, IDC_CALC_REDUCTION);
                  EXPECT_EQ("32768", Text(d, IDC_CALC_NUMERATOR));
                  EXPECT_EQ("785", Text(d, IDC_CALC_DENOMINATOR));
                  EXPECT_EQ("1310720", Text(d, IDC_CALC_FORMULA_NUMERATOR));
                  ui::Choose(d, IDC_CALC_SLOT, 2);
                  Press(d, IDOK); // the reduction survives OK
              }));
    EXPECT_EQ(32768, belt.m_ResultNumerator);
    EXPECT_EQ(785, belt.m_ResultDenominator);
    EXPECT_EQ(2, belt.m_NumeratorSlot);
    EXPECT_TRUE(Shown().empty());
}

TEST_F(CalcDialogs, EditingAfterAReductionDropsIt) {
    CSetIndexPlate2Dialog plate;
    plate.m_EncoderResolution = 131072;
    EXPECT_EQ(IDOK, Run(plate, [](CDialog& d) {
                  Type(d, IDC_CALC_INPUT1, "360");
                  Type(d, IDC_CALC_INPUT2, "1");
                  Type(d, IDC_CALC_INPUT3, "1");
                  Type(d, IDC_CALC_INPUT4, "10");
                  EXPECT_EQ("3600", Text(d, IDC_CALC_RESULT));
                  Press(d, IDC_CALC_REDUCTION);
                  EXPECT_EQ("655360", Text(d, IDC_CALC_NUMERATOR));
                  Type(d, IDC_CALC_INPUT4, "5");
                  Type(d, IDC_CALC_INPUT4, "10"); // recalculated: the reduction is gone
                  EXPECT_EQ("1310720", Text(d, IDC_CALC_NUMERATOR));
                  Press(d, IDOK);
              }));
    EXPECT_EQ(1310720, plate.m_ResultNumerator);
    EXPECT_EQ(3600, plate.m_ResultDenominator);
}

TEST_F(CalcDialogs, OversizedAndEmptyInputsAreRefused) {
    struct Case {
        const char* what;
        int resolution;
        const char* motorTurns;
    };
    // 8388608 x 513 wraps to 8388608 in 32 bits and would pass.
    for (const Case& c : {Case{"x 100", 8388608, "100"}, Case{"x 513", 8388608, "513"}}) {
        SCOPED_TRACE(c.what);
        messages.Clear();
        CSetIndexPlate2Dialog plate;
        plate.m_EncoderResolution = c.resolution;
        EXPECT_EQ(IDCANCEL, Run(plate, [&](CDialog& d) {
                      Type(d, IDC_CALC_INPUT1, "360");
                      Type(d, IDC_CALC_INPUT2, "1");
                      Type(d, IDC_CALC_INPUT3, "100");
                      Type(d, IDC_CALC_INPUT4, c.motorTurns);
                      Press(d, IDOK);
                  }));
        EXPECT_EQ(std::vector<std::string>{"Out of range!"}, Shown());
    }
    messages.Clear();
    CSetConveyorBelt2Dialog empty;
    EXPECT_EQ(IDCANCEL, Run(empty, [](CDialog& d) { Press(d, IDOK); }));
    EXPECT_EQ(std::vector<std::string>{"Out of range!"}, Shown());
}

TEST_F(CalcDialogs, AnInputOutsideItsBoundComesBack) {
    CSetConveyorBelt1Dialog belt;
    Run(belt, [](CDialog& d) {
        Type(d, IDC_CALC_INPUT3, "12");
        EXPECT_EQ("12", Text(d, IDC_CALC_MIRROR_N));
        Type(d, IDC_CALC_INPUT3, "-1");
        EXPECT_EQ("12", Text(d, IDC_CALC_INPUT3));
        Type(d, IDC_CALC_INPUT3, "1a");
        EXPECT_EQ("12", Text(d, IDC_CALC_INPUT3));
        EXPECT_EQ("12", Text(d, IDC_CALC_MIRROR_N));
    });
    EXPECT_EQ(12, belt.m_LoadTurns);
}

} // namespace
