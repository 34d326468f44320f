#include "tools/MultiPositionRun.h"

int MultiPositionRunFlag = 0;
int MultiPositionIoRunFlag = 0;

namespace {
LegAction PollAgain(LegAction action) {
    action.startTimer = PollTimer;
    action.startPeriodMs = PollPeriodMs;
    return action;
}
} // namespace

LegAction MultiPositionLegs::Started(bool secondTarget, bool servoOn) {
    counter_ = 0;
    nextLeg_ = 0;
    if (!secondTarget || !servoOn)
        return {};
    nextLeg_ = 1;
    return PollAgain({});
}

LegAction MultiPositionLegs::Poll(std::optional<bool> inPosition, int dwellSteps) const {
    if (held_ || !inPosition || !*inPosition || dwellSteps <= 0 || nextLeg_ == 0)
        return {};
    LegAction action = Leg({PollTimer});
    action.startTimer = nextLeg_ == 1 ? LeaveForSecondTimer : ReturnToFirstTimer;
    action.startPeriodMs = dwellSteps * DwellStepMs;
    return action;
}

LegAction MultiPositionLegs::DwellOver(int timer, int cycles) {
    if (timer == LeaveForSecondTimer) {
        ++counter_;
        nextLeg_ = 2;
        LegAction action = Leg({LeaveForSecondTimer}, 2);
        if (counter_ < cycles || cycles == 0)
            return PollAgain(action);
        nextLeg_ = 0; // the run ends at target 2
        return action;
    }
    if (timer == ReturnToFirstTimer) {
        nextLeg_ = 1;
        return PollAgain(Leg({ReturnToFirstTimer}, 1));
    }
    return {};
}

LegAction MultiPositionLegs::Stop() {
    nextLeg_ = 0;
    return Leg({PollTimer, LeaveForSecondTimer, ReturnToFirstTimer, PtrgPulseTimer, 2});
}
