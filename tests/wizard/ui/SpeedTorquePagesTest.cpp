// The speed and torque pages driven as a user drives them: trial blocks, the S-curve rule, the
// selector pairs, the ranges the motor gives, and the torque speed-limit page's live step toggle.
#include "framework/core/MessageSeam.h"
#include "resources/ids/wizardref.h"
#include "tests/support/DialogDriver.h"
#include "tests/wizard/ui/RefPageHost.h"
#include "wizard/ui/SpeedPages.h"
#include "wizard/ui/TorquePages.h"

#include <QWidget>

namespace {

using ui::Enabled;
using ui::Press;
using ui::Text;
using ui::Type;

class SpeedTorquePages : public RefPageHost {};

// Shown by the page itself (the host window is never put on screen).
bool OnPage(CWnd& page, int id) {
    CWnd* control = page.GetDlgItem(id);
    return control && !control->GetWidget()->isHidden();
}

TEST_F(SpeedTorquePages, TrialBlocksFillTheirValue) {
    CSetSpeedPage5Dialog smoothing; // one-time smoothing: time / -ln(1 - p)
    Open(smoothing);
    EXPECT_FALSE(Enabled(smoothing, IDC_REF_SET));
    Type(smoothing, IDC_REF_VALUE2, "100");
    Type(smoothing, IDC_REF_VALUE3, "63");
    EXPECT_EQ("63", Text(smoothing, IDC_REF_PERCENT_MIRROR_SPEED));
    Press(smoothing, IDC_REF_CALCULATE);
    EXPECT_EQ("101", Text(smoothing, IDC_REF_TRIAL_RESULT));
    Press(smoothing, IDC_REF_SET);
    EXPECT_EQ("101", Text(smoothing, IDC_REF_VALUE1));
    EXPECT_EQ(101, smoothing.m_TimeConstant);
    Type(smoothing, IDC_REF_VALUE3, "0");
    Press(smoothing, IDC_REF_CALCULATE);
    EXPECT_EQ("", Text(smoothing, IDC_REF_TRIAL_RESULT));
    EXPECT_FALSE(Enabled(smoothing, IDC_REF_SET)) << "a percent of 0 gives no result";

    CSetTorquePage8Dialog separate; // linear, Set fills the acceleration time only
    Open(separate);
    Type(separate, IDC_REF_VALUE2, "7");
    Type(separate, IDC_REF_VALUE3, "300");
    Type(separate, IDC_REF_VALUE4, "50");
    Press(separate, IDC_REF_CALCULATE);
    EXPECT_EQ("600", Text(separate, IDC_REF_TRIAL_RESULT));
    Press(separate, IDC_REF_SET);
    EXPECT_EQ(600, separate.m_AccelTime);
    EXPECT_EQ(7, separate.m_DecelTime);
    Type(separate, IDC_REF_VALUE4, "1");
    Type(separate, IDC_REF_VALUE3, "501");
    Press(separate, IDC_REF_CALCULATE);
    EXPECT_EQ("50100", Text(separate, IDC_REF_TRIAL_RESULT));
    EXPECT_FALSE(Enabled(separate, IDC_REF_SET)) << "above 50000";
}

TEST_F(SpeedTorquePages, SCurveRule) {
    CSetSpeedPage7Dialog scurve;
    Open(scurve);
    struct Case {
        const char *ts, *ta, *td;
        std::string message;
    };
    const Case cases[] = {
        {"50", "100", "200", "Setting Rules: ta / 2 > ts\nSn209 / 2 <= Sn208 Out of Range!"},
        {"50", "101", "200", "Setting Rules: ta / 2 > ts\nSn209 / 2 <= Sn208 Out of Range!"},
        {"0", "1", "1", "Setting Rules: ta / 2 > ts\nSn209 / 2 <= Sn208 Out of Range!"},
        {"50", "102", "100", "Setting Rules: td / 2 > ts\nSn210 / 2 <= Sn208 Out of Range!"},
        {"50", "0", "200", "Out of range!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.ts) + " " + c.ta + " " + c.td);
        messages.Clear();
        Type(scurve, IDC_REF_VALUE1, c.ts);
        Type(scurve, IDC_REF_VALUE2, c.ta);
        Type(scurve, IDC_REF_VALUE3, c.td);
        EXPECT_FALSE(scurve.CheckPage());
        EXPECT_EQ(std::vector<std::string>{c.message}, Shown());
    }
    messages.Clear();
    Type(scurve, IDC_REF_VALUE2, "102");
    Type(scurve, IDC_REF_VALUE3, "102");
    EXPECT_TRUE(scurve.CheckPage());
    EXPECT_TRUE(Shown().empty());
}

TEST_F(SpeedTorquePages, InternalSpeedsRangeAndTheSpdPair) {
    CSetSpeedPage3Dialog speeds;
    Open(speeds);
    EXPECT_EQ("(-4500 ~ 4500)", Text(speeds, IDC_REF_RANGE_SPEED2)) << "1.5 x the rated 3000 rpm";
    Type(speeds, IDC_REF_VALUE2, "-4500");
    Type(speeds, IDC_REF_VALUE2, "-4501");
    EXPECT_EQ("-4500", Text(speeds, IDC_REF_VALUE2));
    ui::Choose(speeds, IDC_REF_SELECT1, 3);
    EXPECT_TRUE(OnPage(speeds, IDC_REF_OPTION1));
    ui::Choose(speeds, IDC_REF_SELECT2, 3);
    EXPECT_EQ(0, speeds.m_Spd1Input);
    EXPECT_EQ(3, speeds.m_Spd2Input);
    EXPECT_EQ(0, ui::Selected(speeds, IDC_REF_SELECT1));
    EXPECT_FALSE(OnPage(speeds, IDC_REF_OPTION1)) << "not in use hides its contacts";
    EXPECT_EQ("Not in use", ui::SelectedText(speeds, IDC_REF_SELECT1));
    const std::vector<DioAssignment> pins = speeds.DiAssignments();
    ASSERT_EQ(2u, pins.size());
    EXPECT_EQ(0, pins[0].number);
    EXPECT_EQ(3, pins[1].number);
}

TEST_F(SpeedTorquePages, SpeedLimitSwitchingTogglesTheLastPage) {
    CSetTorquePage10Dialog limits;
    Open(limits);
    EXPECT_EQ("(0 ~ 4500)", Text(limits, IDC_REF_RANGE_TN114));
    EXPECT_EQ("(-4500 ~ 0)", Text(limits, IDC_REF_RANGE_TN115));
    EXPECT_FALSE(Enabled(limits, IDC_REF_VALUE1));
    Press(limits, IDC_REF_OPTION2);
    EXPECT_TRUE(Enabled(limits, IDC_REF_VALUE1));
    EXPECT_TRUE(Enabled(limits, IDC_REF_VALUE2));
    Press(limits, IDC_REF_OPTION1);
    EXPECT_FALSE(Enabled(limits, IDC_REF_VALUE2));
    EXPECT_EQ((std::vector<int>{1, 0}), wizard.toggles) << "1: Apply shown, 0: Next shown";
    Type(limits, IDC_REF_VALUE2, "-10");
    Type(limits, IDC_REF_VALUE2, "1");
    EXPECT_EQ("-10", Text(limits, IDC_REF_VALUE2));
    const int forward = limits.m_FwdSpeedLimit;
    Type(limits, IDC_REF_VALUE1, "4501");
    EXPECT_EQ(forward, limits.m_FwdSpeedLimit);
}

TEST_F(SpeedTorquePages, TorqueSourceAndLimitsFromTheMotor) {
    CSetTorquePage1Dialog source;
    Open(source);
    EXPECT_FALSE(Enabled(source, IDC_REF_VALUE1)) << "analog command chosen";
    EXPECT_TRUE(Enabled(source, IDC_REF_OPTION1)) << "every drive has the analog input for now";
    Press(source, IDC_REF_OPTION2);
    EXPECT_TRUE(Enabled(source, IDC_REF_VALUE1));
    Type(source, IDC_REF_VALUE1, "-3000");
    Type(source, IDC_REF_VALUE1, "-3001");
    EXPECT_EQ("-3000", Text(source, IDC_REF_VALUE1));

    CSetTorquePage4Dialog torque;
    Open(torque);
    EXPECT_EQ("(0 ~ 300)", Text(torque, IDC_REF_RANGE_CN010)) << "the motor's maximum torque";
    EXPECT_EQ("(-300 ~ 0)", Text(torque, IDC_REF_RANGE_CN011));

    CSetTorquePage9Dialog reached;
    Open(reached);
    EXPECT_EQ("Not in use", ui::SelectedText(reached, IDC_REF_SELECT1)); // INT is on no output by default
    ui::Choose(reached, IDC_REF_SELECT1, 3);
    EXPECT_EQ(0, ui::SelectedText(reached, IDC_REF_SELECT1).rfind("DO-3= ", 0));
    EXPECT_TRUE(OnPage(reached, IDC_REF_OPTION1));
    ui::Choose(reached, IDC_REF_SELECT1, 0);
    EXPECT_FALSE(OnPage(reached, IDC_REF_OPTION2));
}

} // namespace
