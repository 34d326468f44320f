// The auto gain poll: when a run finishes, what ends it, the lamp colours along a run and the small
// rules of the window's words.
#include "tuning/AutoGainSteps.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

AutoGainTickReads StepRead(int step, int status = 1) {
    AutoGainTickReads reads;
    reads.alarm = 0;
    reads.status = status;
    reads.step = step;
    return reads;
}

TEST(AutoGainPoll, FinishesOnlyWhenAStepUnderWayComesBackToZero) {
    AutoGainPoll poll;
    poll.Start();
    const std::vector<int> steps = {0, 0, 1, 2, 3, 0};
    std::vector<AutoGainTick> ticks;
    for (int step : steps)
        ticks.push_back(poll.Tick(StepRead(step)));
    const std::vector<AutoGainTick> expected = {AutoGainTick::Running, AutoGainTick::Running,
                                                AutoGainTick::Running, AutoGainTick::Running,
                                                AutoGainTick::Running, AutoGainTick::Finished};
    EXPECT_EQ(ticks, expected);
    EXPECT_TRUE(poll.Finished());
    EXPECT_TRUE(poll.Running()) << "running stays set until the next start";
    EXPECT_FALSE(poll.InProgress());
}

TEST(AutoGainPoll, AlarmLinkLossAndUnreadStep) {
    AutoGainPoll poll;
    poll.Start();
    EXPECT_EQ(poll.Tick(StepRead(2)), AutoGainTick::Running);
    AutoGainTickReads unread = StepRead(0);
    unread.step.reset();
    EXPECT_EQ(poll.Tick(unread), AutoGainTick::StepUnread);
    EXPECT_EQ(poll.Step(), 2) << "a failed read is no step 0";

    AutoGainTickReads alarm = StepRead(3);
    alarm.alarm = 35;
    EXPECT_EQ(poll.Tick(alarm), AutoGainTick::Alarm);
    EXPECT_FALSE(poll.Running());
    EXPECT_FALSE(poll.Finished());

    AutoGainTickReads lost;
    lost.connected = false;
    EXPECT_EQ(poll.Tick(lost), AutoGainTick::LinkLost);

    AutoGainTickReads unreadAlarm = StepRead(1);
    unreadAlarm.alarm.reset();
    poll.Start();
    EXPECT_EQ(poll.Tick(unreadAlarm), AutoGainTick::Running) << "an unread alarm word stops nothing";
}

TEST(AutoGainPoll, LampsFollowTheRun) {
    using enum LampColour;
    struct Case {
        int step;
        bool finish; // the tick that brings 0 after the steps
        int friction0A08;
        int frictionSelection;
        std::vector<LampColour> lamps; // Start, Inertia, Gain, Control, Friction, Finish
    };
    const Case cases[] = {
        {1, false, 0, 0, {Green, Yellow, Face, Face, Face, Face}},
        {2, false, 0, 0, {Green, Green, Yellow, Face, Face, Face}},
        {3, false, 0, 0, {Green, Green, Green, Yellow, Face, Face}},
        {4, false, 1, 1, {Green, Green, Green, Green, Yellow, Face}},
        {5, false, 1, 1, {Green, Green, Green, Green, Green, Face}},
        {5, true, 1, 1, {Green, Green, Green, Green, Green, Green}},
        {3, true, 0, 0, {Green, Green, Green, Green, Face, Green}},
    };
    for (const Case& c : cases) {
        AutoGainPoll poll;
        poll.Start();
        poll.SetFrictionEnable(c.friction0A08);
        poll.Tick(StepRead(c.step));
        if (c.finish)
            poll.Tick(StepRead(0));
        std::vector<LampColour> lamps;
        for (StepLamp lamp : {StepLamp::Start, StepLamp::InertiaRatio, StepLamp::GainFilter,
                              StepLamp::ControlMode, StepLamp::Friction, StepLamp::Finish})
            lamps.push_back(poll.Colour(lamp, c.frictionSelection));
        EXPECT_EQ(lamps, c.lamps) << "step " << c.step << (c.finish ? " finished" : "");
    }
    AutoGainPoll idle;
    EXPECT_EQ(idle.Colour(StepLamp::Start, 0), Face);
    EXPECT_EQ(idle.Colour(StepLamp::Finish, 1), Face);
}

TEST(AutoGainRules, PagesSpeedsAlarmsAndWords) {
    EXPECT_EQ(ResultPageForStep(1, false), 0);
    EXPECT_EQ(ResultPageForStep(2, false), 0);
    EXPECT_EQ(ResultPageForStep(3, false), 1);
    EXPECT_EQ(ResultPageForStep(4, false), 2);
    EXPECT_EQ(ResultPageForStep(4, true), std::nullopt);
    EXPECT_EQ(ResultPageForStep(0, false), std::nullopt);
    EXPECT_EQ(OperationSpeedMaximum(3000), 2000);
    EXPECT_EQ(OperationSpeedMaximum(4500), 3000);
    EXPECT_EQ(OperationSpeedMaximum(1000), 667);
    EXPECT_TRUE(IsUnclearableAlarm(4));
    EXPECT_TRUE(IsUnclearableAlarm(50));
    EXPECT_FALSE(IsUnclearableAlarm(35));
    EXPECT_EQ(TuningModeAtOpening(0x0025), 0x0015);
    EXPECT_EQ(TuningAnswer(0x0035, 1), 0x0031);
    EXPECT_EQ(TuningAnswer(0x0035, 2), 0x0032) << "No: 2 in the low nibble, bits 4..7 kept";
}

} // namespace
