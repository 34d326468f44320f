#pragma once
// The legs of a multi-position test run, as a machine of timer events: Start moves to target 1; with
// a second target the in-position poll waits for the drive's in-position bit, the dwell runs, the
// run moves to target 2 (one cycle counted), polls, dwells and returns to target 1, until the cycle
// count is reached (the motor then stays at target 2; a count of 0 never ends). A dwell of 0 never
// leaves the current target. PHOLD suspends the poll.
#include <optional>
#include <vector>

// 1 while the timer-driven page has the servo enabled or a run started; 1 while the path-program
// page has switched the virtual servo on or started PTRG. Each page refuses to act while the other's
// run is on.
extern int MultiPositionRunFlag;
extern int MultiPositionIoRunFlag;

// The window's timers of a run.
enum MultiPositionTimer : int {
    PollTimer = 1,           // in-position poll, 100 ms
    PtrgPulseTimer = 3,      // end of the PTRG pulse, 50 ms
    LeaveForSecondTimer = 4, // dwell at target 1 over
    ReturnToFirstTimer = 5,  // dwell at target 2 over
    ServoWatchTimer = 100,   // servo state watch, 1000 ms
};
inline constexpr int PollPeriodMs = 100;
inline constexpr int PtrgPulseMs = 50;
inline constexpr int ServoWatchPeriodMs = 1000;
inline constexpr int DwellStepMs = 100;

// What the window does after an event, in this order: kill the timers, move to the target (write
// its command and pulse PTRG), start the timer.
struct LegAction {
    std::vector<int> kill;
    int moveTo = 0; // 0 none, 1 target 1, 2 target 2
    std::optional<int> startTimer;
    int startPeriodMs = 0;
    bool operator==(const LegAction&) const = default;
};
inline LegAction Leg(std::vector<int> kill, int moveTo = 0, std::optional<int> startTimer = std::nullopt,
                     int startPeriodMs = 0) {
    return LegAction{std::move(kill), moveTo, startTimer, startPeriodMs};
}

class MultiPositionLegs {
public:
    // After Start's move to target 1: the poll runs only with a second target and the servo on.
    LegAction Started(bool secondTarget, bool servoOn);
    // The poll's tick with the in-position bit (nothing while held or when it could not be read).
    LegAction Poll(std::optional<bool> inPosition, int dwellSteps) const;
    // The dwell timer ran out: the next leg's move, and the poll again unless the run is over.
    LegAction DwellOver(int timer, int cycles);
    // EMC or a failure: every run timer goes, no leg is pending.
    LegAction Stop();

    void SetHeld(bool held) { held_ = held; }
    bool Held() const { return held_; }
    int NextLeg() const { return nextLeg_; }
    int Cycles() const { return counter_; }

private:
    int nextLeg_ = 0; // 0 none, 1 go to target 2, 2 back to target 1
    int counter_ = 0;
    bool held_ = false;
};
