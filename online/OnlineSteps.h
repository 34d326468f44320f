#pragma once
// What one press of a digit button of the online editor does to a value, and how a value travels to
// the drive: the step of each digit position, the two step routines, the value map of Cn008 and the
// four writes that follow a rigidity level. Pure functions.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Digit positions are numbered by their power of ten: 0 (units) .. 8.
constexpr int OnlineDigitCount = 9;
// Positions 0..3 step one hexadecimal digit for a hexadecimal parameter.
constexpr int OnlineHexDigitCount = 4;

struct DigitStep {
    int step = 1;
    bool hex = false;
    int hexDigit = 0; // 1..4 when hex, else 0
};

// The step of a position (0..8) for a decimal or a hexadecimal parameter.
DigitStep StepOfPosition(int position, bool hexParameter);

// One step up towards the maximum: false (and the value unchanged) when the value already stands at
// the limit, the whole value in decimal, the digit's place in hexadecimal. Decimal: a value above the
// maximum comes down to it. Hexadecimal: each of the four low digits is bounded by the same digit of
// the maximum; a step past it sets the digit to the maximum's and clears everything above bit 15.
// Sums are taken in 64 bits, so no value near the 32-bit limits wraps round.
bool StepValueUp(std::int32_t& value, int step, std::int32_t maximum, bool hex, int hexDigit);
// The mirror image towards the minimum.
bool StepValueDown(std::int32_t& value, int step, std::int32_t minimum, bool hex, int hexDigit);

// The word the drive takes for a Cn008 value: the brake modes 4 and 5 of the low digit become 6 and
// 7, every other digit stays (as every other writer of Cn008 sends it).
int Cn008WireValue(int value);

// The four rigidity tables, in the order of the parameters they feed: Pn310, Sn211, Sn212, Cn034.
// Entry n - 1 belongs to rigidity level n.
constexpr int RigidityLevelCount = 21;
using RigidityTable = std::array<const char*, RigidityLevelCount>;
using RigidityTableSet = std::array<const RigidityTable*, 4>;
inline constexpr std::array<const char*, 4> RigidityDependentCodes = {"Pn310", "Sn211", "Sn212", "Cn034"};

struct ParameterWrite {
    std::string code;
    int value = 0;
    bool operator==(const ParameterWrite&) const = default;
};

// The writes that follow an accepted write of code with value: the four dependent gains after
// "Cn026" with a level from 1 to 21, nothing otherwise (a level outside the tables names no row).
std::vector<ParameterWrite> RigidityFollowUpWrites(std::string_view code, int value,
                                                   const RigidityTableSet& tables);
