#pragma once
// What the self-built motor dialog writes into the drive, in order, and how it finds out whether it
// really happened. Every write's answer is looked at: a refusal stops the run with the message of
// that step, and registers already written stay written. The encoder record is read back after it
// was written and compared word by word.
#include "tools/SelfBuiltMotorRecord.h"

#include <array>
#include <functional>
#include <string>
#include <vector>

class CRegisterServices;

// The field whose current-value static shows a value once its write was accepted.
enum class MotorField {
    None,
    MotorCode,
    RatedSpeed,
    PolePairs,
    RatedCurrent,
    Resistance,
    Inductance,
    Ke,
    Kt,
    Mass,
    MaxCurrent,
    MaxSpeed,
    PolePitch,
    Resolution,
};

struct MotorWriteStep {
    enum class Kind {
        Register,   // "W1" of the low 16 bits
        Register32, // "W2": low word at the address, high word at the next one
        Parameter,  // by parameter code
        // onE01 = the low 12 bits of register 0x1001, read now; skipped (and reported) when that
        // read fails.
        OnE01FromDrive,
    };
    Kind kind = Kind::Register;
    int address = 0;
    std::string code;
    int value = 0;
    std::string failure; // the message when the drive refuses
    MotorField shown = MotorField::None;
};

struct MotorReadBack {
    int address = 0;
    bool wide = false; // 32-bit pair
    int expected = 0;
};

struct MotorWritePlan {
    std::vector<MotorWriteStep> steps;
    std::vector<MotorReadBack> readBack; // compared after every step was accepted
};

struct RotaryMotorValues {
    int motorId = 0, ratedSpeed = 0, polePairs = 0;
    std::array<int, 6> constants{}; // x 1000: current, resistance, inductance, ke, kt, Jm
    int maxCurrent = 0, maxSpeed = 0;
    int encoderCode = 1;
};

struct LinearMotorValues {
    int motorId = 0, ratedSpeed = 0;
    std::array<int, 6> constants{};
    int maxCurrent = 0;
    int polePitch = 0;  // x 10
    int resolution = 0; // x 100
};

// Register 0x0021: prefix + type code x 256 + motor id x 16 + encoder code. The prefix follows
// register 0x170A (0 when its read failed): rotary 0xF000 for 0 else 0xE000, linear 0x3000 for 0
// else 0x4000.
int MotorCodeWord(int prefix, int typeCode, int motorId, int encoderCode);
int RotaryMotorCodePrefix(int word170A);
int LinearMotorCodePrefix(int word170A);

MotorWritePlan RotaryWritePlan(const RotaryMotorValues& values, int word170A, int typeCode);
MotorWritePlan LinearWritePlan(const LinearMotorValues& values, int word170A, int typeCode);
// The record's registers 0x1003..0x101F, onE01 with the encoder factory, Cn029, and the read-back.
MotorWritePlan EncoderRecordWritePlan(const EncoderRecordValues& values, int encoderFactoryIndex);

inline constexpr const char* MotorWriteFinished = "Write Finish!";
inline constexpr const char* MotorWriteFailed = "Write Failed!";

struct MotorWriteOutcome {
    bool finished = false; // every step accepted and the read-back (if any) equal
    // True when the run got past its last write (finished, or only the read-back differed).
    bool reachedEnd = false;
    std::string message; // "Write Finish!" or what stopped the run
};

// Runs the plan step by step through the register services; `accepted` hears each accepted step.
MotorWriteOutcome RunMotorWritePlan(CRegisterServices& services, const MotorWritePlan& plan,
                                    const std::function<void(const MotorWriteStep&)>& accepted = {});
