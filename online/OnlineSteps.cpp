#include "online/OnlineSteps.h"

#include <cstdlib>

namespace {

constexpr std::array<int, OnlineDigitCount> kDecimalSteps = {1,      10,      100,      1000,     10000,
                                                             100000, 1000000, 10000000, 100000000};
constexpr std::array<std::int64_t, OnlineHexDigitCount> kHexSteps = {0x1, 0x10, 0x100, 0x1000};
constexpr std::array<std::int64_t, OnlineHexDigitCount> kDigitMasks = {0x000F, 0x00F0, 0x0F00, 0xF000};

bool ValidHexDigit(int digit) {
    return digit >= 1 && digit <= OnlineHexDigitCount;
}

// One hexadecimal digit towards the limit's digit; direction +1 up, -1 down.
bool StepHexDigit(std::int32_t& value, std::int32_t limit, int digit, int direction) {
    if (!ValidHexDigit(digit))
        return false;
    const std::int64_t mask = kDigitMasks[static_cast<size_t>(digit - 1)];
    const std::int64_t others = 0xFFFF & ~mask;
    const std::int64_t current = value & mask;
    const std::int64_t bound = limit & mask;
    if (current == bound)
        return false;
    const std::int64_t next = current + direction * kHexSteps[static_cast<size_t>(digit - 1)];
    const bool within = direction > 0 ? next <= bound : next >= bound;
    if (within)
        value = static_cast<std::int32_t>(static_cast<std::int64_t>(value) + (next - current));
    else
        value = static_cast<std::int32_t>((value & others) | bound);
    return true;
}

} // namespace

DigitStep StepOfPosition(int position, bool hexParameter) {
    if (position < 0 || position >= OnlineDigitCount)
        return {};
    if (hexParameter && position < OnlineHexDigitCount)
        return {static_cast<int>(kHexSteps[static_cast<size_t>(position)]), true, position + 1};
    return {kDecimalSteps[static_cast<size_t>(position)], false, 0};
}

bool StepValueUp(std::int32_t& value, int step, std::int32_t maximum, bool hex, int hexDigit) {
    if (hex)
        return StepHexDigit(value, maximum, hexDigit, +1);
    if (value == maximum)
        return false;
    const std::int64_t next = static_cast<std::int64_t>(value) + step;
    value = next > maximum ? maximum : static_cast<std::int32_t>(next);
    return true;
}

bool StepValueDown(std::int32_t& value, int step, std::int32_t minimum, bool hex, int hexDigit) {
    if (hex)
        return StepHexDigit(value, minimum, hexDigit, -1);
    if (value == minimum)
        return false;
    const std::int64_t next = static_cast<std::int64_t>(value) - step;
    value = next < minimum ? minimum : static_cast<std::int32_t>(next);
    return true;
}

int Cn008WireValue(int value) {
    // Only the brake mode digit is numbered differently on the drive; the digits above it (the
    // forced action) go out as shown, or a step would clear what the wizard or the editor set.
    const int low = value & 0xF;
    return (value & ~0xF) | (low == 4 || low == 5 ? low + 2 : low);
}

std::vector<ParameterWrite> RigidityFollowUpWrites(std::string_view code, int value,
                                                   const RigidityTableSet& tables) {
    std::vector<ParameterWrite> writes;
    if (code != "Cn026" || value < 1 || value > RigidityLevelCount)
        return writes;
    for (size_t i = 0; i < tables.size(); ++i) {
        if (!tables[i])
            continue;
        const char* entry = (*tables[i])[static_cast<size_t>(value - 1)];
        writes.push_back({RigidityDependentCodes[i], entry ? std::atoi(entry) : 0});
    }
    return writes;
}
