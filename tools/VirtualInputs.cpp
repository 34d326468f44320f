#include "tools/VirtualInputs.h"

namespace {
constexpr int AlwaysVirtual = 0xFC0; // DI7..DI12
constexpr int DigitTwoMask = 0xF0FF;
constexpr int HomingDigitTwo = 0x200;
constexpr int ServoAndTrigger = (1 << BitServoOn) | (1 << BitPtrg);

int Bit(bool on, int bit) {
    return on ? 1 << bit : 0;
}
} // namespace

int VirtualInputMask(const VirtualInputChecks& c) {
    return AlwaysVirtual + Bit(c.servoOn, 0) + Bit(c.shome, 1) + Bit(c.ptrg, 2) + Bit(c.pot, 3) +
           Bit(c.notLimit, 4) + Bit(c.org, 5);
}

std::vector<PositionWrite> SystemPageAssignment(const VirtualInputChecks& checks) {
    std::vector<PositionWrite> writes{{"Hn617", VirtualInputMask(checks)}};
    if (checks.servoOn)
        writes.push_back({"Hn601", 0x01});
    // SHOME, ORG, POT and NOT (the next digit set for the limits), PTRG, PHOLD, DO4 INP.
    const std::vector<PositionWrite> fixed = {{"Hn602", 0x14}, {"Hn610", 0},     {"Hn606", 0x15},
                                              {"Hn611", 0},    {"Hn604", 0x104}, {"Hn605", 0x105},
                                              {"Hn603", 0x12}, {"Hn612", 0x13},  {"Hn616", 6}};
    writes.insert(writes.end(), fixed.begin(), fixed.end());
    return writes;
}

int SystemPageInputWord(const VirtualInputStates& s, const VirtualInputChecks& c) {
    return Bit(s.servoOn && c.servoOn, BitServoOn) + Bit(s.shome && c.shome, BitShome) +
           Bit(s.ptrg && c.ptrg, BitPtrg) + Bit(s.pot && c.pot, BitPot) +
           Bit(s.notLimit && c.notLimit, BitNot) + Bit(s.org && c.org, BitOrg) +
           Bit(s.phold && c.phold, BitPhold);
}

VirtualInputStates DecodeInputWord(int w) {
    auto bit = [w](int b) { return ((w >> b) & 1) != 0; };
    return {bit(BitServoOn), bit(BitShome), bit(BitPtrg), bit(BitPot),
            bit(BitNot),     bit(BitOrg),   bit(BitPhold)};
}

int HomingInputWord(bool shome, bool pot, bool notLimit, bool org) {
    return Bit(shome, BitShome) + Bit(pot, BitPot) + Bit(notLimit, BitNot) + Bit(org, BitOrg);
}

std::optional<int> WithBit(std::optional<int> word, int bit, bool on) {
    if (!word || bit < 0 || bit > 15)
        return std::nullopt;
    return on ? (*word | (1 << bit)) : (*word & ~(1 << bit));
}

int HomingConfigWord(int pn317) {
    return (pn317 & DigitTwoMask) | HomingDigitTwo;
}

int PathInputMask(int hn617, bool virtualInputs) {
    const int cleared = hn617 & 0xFFFA;
    return virtualInputs ? cleared + ServoAndTrigger : cleared;
}
