#include "tuning/AutoGainSteps.h"

#include "framework/core/Format.h"

#include <algorithm>
#include <array>

void AutoGainPoll::Start() {
    running_ = true;
    finished_ = false;
    previousStep_ = 0;
}

void AutoGainPoll::Stop() {
    running_ = false;
    finished_ = false;
    previousStep_ = 0;
}

AutoGainTick AutoGainPoll::Tick(const AutoGainTickReads& reads) {
    if (!reads.connected)
        return AutoGainTick::LinkLost;
    if (reads.alarm && *reads.alarm != 0) {
        Stop();
        return AutoGainTick::Alarm;
    }
    if (reads.status)
        status_ = *reads.status;
    previousStep_ = step_;
    if (!reads.step)
        return AutoGainTick::StepUnread;
    step_ = *reads.step;
    // Only a step that was under way and came back to 0 ends the run: two idle ticks at the start
    // finish nothing.
    if (step_ == 0 && previousStep_ > 0) {
        finished_ = true;
        return AutoGainTick::Finished;
    }
    return AutoGainTick::Running;
}

LampColour AutoGainPoll::Colour(StepLamp lamp, int frictionSelection) const {
    switch (lamp) {
    case StepLamp::Start:
        return running_ && status_ == 1 ? LampColour::Green : LampColour::Face;
    case StepLamp::InertiaRatio:
    case StepLamp::GainFilter:
    case StepLamp::ControlMode: {
        if (!running_)
            return LampColour::Face;
        const int lampStep = lamp == StepLamp::InertiaRatio ? 1 : lamp == StepLamp::GainFilter ? 2 : 3;
        if (step_ == lampStep)
            return LampColour::Yellow;
        return step_ > lampStep || finished_ ? LampColour::Green : LampColour::Face;
    }
    case StepLamp::Friction: {
        LampColour colour = LampColour::Face;
        if (running_ && friction_ == 1) {
            if (step_ == 4)
                colour = LampColour::Yellow;
            else if (step_ >= 5)
                colour = LampColour::Green;
        }
        if (running_ && finished_)
            colour = frictionSelection == 1 ? LampColour::Green : LampColour::Face;
        return colour;
    }
    case StepLamp::Finish:
        return running_ && finished_ ? LampColour::Green : LampColour::Face;
    }
    return LampColour::Face;
}

std::optional<int> ResultPageForStep(int step, bool linearMotor) {
    switch (step) {
    case 1:
    case 2:
        return 0;
    case 3:
        return 1;
    case 4:
        return linearMotor ? std::nullopt : std::optional<int>(2);
    default:
        return std::nullopt;
    }
}

int OperationSpeedMaximum(int maximumSpeed) {
    return static_cast<int>(maximumSpeed * 2.0 / 3.0 + 0.5);
}

bool IsUnclearableAlarm(int code) {
    static constexpr std::array<int, 24> codes = {4,  5,  6,  7,  13, 17, 18, 19, 20, 21, 23, 25,
                                                  26, 28, 33, 38, 39, 40, 41, 42, 43, 45, 46, 50};
    return std::find(codes.begin(), codes.end(), code) != codes.end();
}

int TuningModeAtOpening(int word) {
    return (word & 0x0F) | 0x10;
}

int TuningAnswer(int word, int answer) {
    return (word & 0xF0) | (answer & 0x0F);
}

const AutoGainResult AutoGainResults[AutoGainResultCount] = {
    {"Cn025", 0x001C, ResultFormat::Tenth}, {"qn501", 0x0401, ResultFormat::Whole},
    {"qn502", 0x0402, ResultFormat::Whole}, {"qn505", 0x0405, ResultFormat::Whole},
    {"Cn034", 0x0025, ResultFormat::Whole}, {"Cn013", 0x000E, ResultFormat::Whole},
    {"Cn066", 0x0045, ResultFormat::Whole}, {" ", 0x0A06, ResultFormat::Validity},
    {" ", 0x0A07, ResultFormat::Whole},     {"Pn339", 0x0330, ResultFormat::Tenth},
    {"Pn340", 0x0331, ResultFormat::Whole}, {"", 0x0A08, ResultFormat::Validity},
    {"", 0x0A09, ResultFormat::Whole},      {"", 0x0A0A, ResultFormat::Whole},
};

std::string FormatAutoGainResult(ResultFormat format, int value) {
    switch (format) {
    case ResultFormat::Tenth:
        return Format("%.1f", value / 10.0);
    case ResultFormat::Validity:
        return value == 0 ? "0: Invalid" : "1: Valid";
    case ResultFormat::Whole:
        break;
    }
    return Format("%d", value);
}
