#pragma once
// The auto gain run as the window follows it: the 500 ms poll of the drive's tuning step, when the
// run has finished, the colours of the six step lamps and which result page a step shows. Pure state;
// the window does the reads and the drawing.
#include <optional>
#include <string>

namespace autogainreg {
inline constexpr int TuningEnable = 0x003E; // Cn059
inline constexpr int DriveStatus = 0x1703;
inline constexpr int RunModeA = 0x1704;
inline constexpr int RunModeB = 0x1705;
inline constexpr int RunCommand = 0x170E;
inline constexpr int TuningStep = 0x1710;
inline constexpr int AlarmCode = 0x1711;
inline constexpr int AlarmPresent = 0x1712;
inline constexpr int AlarmClear = 0x1713;
inline constexpr int ModeWord = 0x171A;
inline constexpr int JogModeWord = 0x0C25;
inline constexpr int MaximumSpeed = 0x0B01;
inline constexpr int MotorKind = 0x0F08;
inline constexpr int FrictionEnable = 0x0A08;
inline constexpr int InertiaRatio = 0x001C;   // Cn025
inline constexpr int Rigidity = 0x001D;       // Cn026
inline constexpr int CommandNumber = 0x003F;  // Cn060
inline constexpr int OperationSpeed = 0x0040; // Cn061
inline constexpr int StopTime = 0x0C0B;
inline constexpr int ResponseMode = 0x131E;
inline constexpr int InertiaEstimate = 0x131F;
inline constexpr int DetectionLevel = 0x032F; // Pn338
inline constexpr int FrictionSelect = 0x1719;
inline constexpr int SpeedObserver = 0x0A0B;
} // namespace autogainreg

enum class StepLamp { Start, InertiaRatio, GainFilter, ControlMode, Friction, Finish };
enum class LampColour { Face, Green, Yellow };

// What one poll tick read.
struct AutoGainTickReads {
    bool connected = true;
    std::optional<int> alarm;  // 0x1712; a failed read is no alarm
    std::optional<int> status; // 0x1703; a failed read keeps the last status
    std::optional<int> step;   // 0x1710; a failed read ends the tick
};

enum class AutoGainTick {
    LinkLost,   // the window closes
    Alarm,      // the run stopped on an alarm
    StepUnread, // the tick ends without news
    Finished,   // the step came back to 0 after a running step
    Running,    // still under way (the pages follow the step)
};

class AutoGainPoll {
public:
    void Start();
    // Stop or an alarm: back to idle.
    void Stop();
    AutoGainTick Tick(const AutoGainTickReads& reads);

    bool Running() const { return running_; }
    bool Finished() const { return finished_; }
    int Step() const { return step_; }
    int DriveStatus() const { return status_; }
    // A run in progress: Start is ignored.
    bool InProgress() const { return running_ && !finished_; }

    // Register 0x0A08 as the tick read it (the friction lamp follows it).
    void SetFrictionEnable(int value) { friction_ = value; }
    // The lamp's colour; frictionSelection is the friction choice of the condition page (0 or 1).
    LampColour Colour(StepLamp lamp, int frictionSelection) const;

private:
    bool running_ = false;
    bool finished_ = false;
    int status_ = 0;
    int step_ = 0;
    int previousStep_ = 0;
    int friction_ = 0;
};

// The result page (0, 1, 2) a step brings to the front, or nothing; the third page only for rotary
// motors.
std::optional<int> ResultPageForStep(int step, bool linearMotor);

// The operation-speed maximum: 2/3 of the drive's maximum speed, rounded.
int OperationSpeedMaximum(int maximumSpeed);

// Alarm codes Alarm Clear must not clear (the drive needs a power cycle or a repair).
bool IsUnclearableAlarm(int code);

// The word written back into 0x171A: its other nibble kept, `low` or `high` set.
int TuningModeAtOpening(int word);
int TuningAnswer(int word, int answer);

// The fourteen tuned values the result pages and the confirmation list show, in the list's row order.
enum class ResultFormat { Tenth, Whole, Validity };
struct AutoGainResult {
    const char* parameter; // the list's parameter cell
    int address;
    ResultFormat format;
};
inline constexpr int AutoGainResultCount = 14;
extern const AutoGainResult AutoGainResults[AutoGainResultCount];
// "%.1f" of value / 10, "%d", or "0: Invalid" / "1: Valid".
std::string FormatAutoGainResult(ResultFormat format, int value);
