#pragma once
// The range checks of the self-built motor pages: each failing field contributes its label, and all
// of them are reported together in one message. A field whose text is no number (or too long for an
// int) is out of range; so is a combo without a selection.
#include <array>
#include <optional>
#include <string>
#include <vector>

enum class SelfBuiltMotorType { Rotary = 0, Linear = 1, EncoderRecord = 2 };

// The six motor constants (x 1000): rated current, resistance, inductance, ke, kt, Jm (or mass).
using MotorConstants = std::array<std::optional<int>, 6>;

struct RotaryFields {
    std::optional<int> motorId, ratedSpeed, polePairs;
    MotorConstants constants;
    std::optional<int> maxCurrent, maxSpeed;
    int encoderIndex = 0; // -1: nothing chosen
};

struct LinearFields {
    std::optional<int> motorId, ratedSpeed;
    MotorConstants constants;
    std::optional<int> maxCurrent;
    std::optional<int> polePitch;  // x 10
    std::optional<int> resolution; // x 100
};

struct RecordFields {
    std::optional<int> manufacturer, productSeries, year, week, motorId, version, ratedSpeed, polePairs;
    MotorConstants constants;
    std::optional<int> maxCurrent, maxSpeed;
    int voltageIndex = 0; // -1: nothing chosen
    int encoderIndex = 0;
};

// Labels of the fields that are out of range, in the order of the checks.
std::vector<std::string> RangeFailures(const RotaryFields& fields);
std::vector<std::string> RangeFailures(const LinearFields& fields);
std::vector<std::string> RangeFailures(const RecordFields& fields);

// Each label and "\n", then "Over Range!!\n\n" and "\n".
std::string OverRangeMessage(const std::vector<std::string>& labels);

// String ids of the labels that only the program's own string table holds.
inline constexpr int IDS_MOTOR_MANUFACTURER = 242;
inline constexpr int IDS_MOTOR_PRODUCT_SERIES = 243;
inline constexpr int IDS_MOTOR_YEAR_WEEK = 244;
inline constexpr int IDS_MOTOR_VERSION = 245;
inline constexpr int IDS_MOTOR_VOLTAGE_LEVEL = 246;
inline constexpr int IDS_MOTOR_ENCODER_MODEL = 247;
inline constexpr int IDS_MOTOR_RATED_SPEED = 248;
inline constexpr int IDS_MOTOR_JM = 249;
inline constexpr int IDS_MOTOR_MAX_CURRENT = 250;
inline constexpr int IDS_MOTOR_MAX_SPEED = 251;
