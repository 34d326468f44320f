#include "sim/SimRegisterMap.h"

#include "catalogue/MotorTables.h"
#include "catalogue/ParamTexts.h"
#include "sim/SimMechanism.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace sim {

namespace {

struct Range {
    int first, last;
};

bool InRanges(int number, std::initializer_list<Range> ranges) {
    return std::any_of(ranges.begin(), ranges.end(),
                       [number](const Range& r) { return number >= r.first && number <= r.last; });
}

int CountBelow(int number, std::initializer_list<Range> ranges) {
    int count = 0;
    for (const Range& r : ranges)
        for (int n = r.first; n <= r.last && n < number; ++n)
            ++count;
    return count;
}

// A packed group: every 32-bit parameter pushes the registers of the later numbers up by one.
std::optional<uint16_t> Packed(uint16_t base, int number, std::initializer_list<Range> mapped,
                               std::initializer_list<Range> doubles) {
    if (!InRanges(number, mapped))
        return std::nullopt;
    return static_cast<uint16_t>(base + number + CountBelow(number, doubles));
}

std::optional<uint16_t> Plain(uint16_t base, int number, std::initializer_list<Range> mapped) {
    if (!InRanges(number, mapped))
        return std::nullopt;
    return static_cast<uint16_t>(base + number);
}

// Un: runs of numbers on consecutive registers, each run from its own start.
std::optional<uint16_t> UnRegister(int number) {
    struct Run {
        int first, last;
        uint16_t start;
    };
    static const Run runs[] = {{1, 7, 0x0601},   {8, 8, 0x0609},   {9, 14, 0x060B},  {15, 16, 0x0612},
                               {17, 18, 0x0615}, {19, 20, 0x0618}, {21, 22, 0x061B}, {23, 25, 0x061E},
                               {26, 31, 0x0622}, {39, 50, 0x062F}, {51, 52, 0x063C}, {53, 56, 0x063F},
                               {57, 63, 0x0644}, {71, 76, 0x0652}, {84, 84, 0x065F}, {88, 94, 0x0663},
                               {95, 96, 0x066B}, {97, 97, 0x066E}};
    for (const Run& run : runs)
        if (number >= run.first && number <= run.last)
            return static_cast<uint16_t>(run.start + (number - run.first));
    return std::nullopt;
}

} // namespace

std::optional<uint16_t> ParameterRegister(uint16_t modbusAddress) {
    int number = modbusAddress & 0xFF;
    switch (modbusAddress >> 8) {
    case 0x0: // Cn
        return Packed(0x0000, number, {{1, 41}, {43, 44}, {48, 87}, {89, 91}, {94, 99}},
                      {{5, 5}, {19, 19}, {24, 24}});
    case 0x1: // Tn
        return Plain(0x0100, number, {{1, 18}});
    case 0x2: // Sn
        return Plain(0x0200, number, {{1, 18}, {26, 29}});
    case 0x3: // Pn3xx
        return Packed(0x0300, number, {{1, 71}, {78, 85}},
                      {{2, 7}, {21, 21}, {25, 25}, {31, 31}, {47, 48}, {52, 52}, {54, 54}, {57, 59}});
    case 0x4: // qn
        return Plain(0x0400, number, {{1, 7}});
    case 0x5: // Hn
        return Plain(0x0500, number, {{1, 24}});
    case 0x6: // Un
        return UnRegister(number);
    case 0x7: // En
        return Packed(0x1400, number, {{1, 24}}, {{1, 6}, {10, 13}, {17, 17}, {20, 23}});
    default:
        return std::nullopt;
    }
}

std::optional<uint16_t> LetterGroupBase(char group) {
    switch (group) {
    case 'T':
        return 0x0100;
    case 'S':
        return 0x0200;
    case 'P':
        return 0x0300;
    case 'q':
        return 0x0400;
    case 'H':
        return 0x0500;
    case 'U':
        return 0x0600;
    default:
        return std::nullopt;
    }
}

bool IsStatusRegister(uint16_t address) {
    // The memory image window and the alarm history's clear command take writes among the status words.
    if ((address >= 0x1714 && address <= 0x1718) || address == 0x1713)
        return false;
    // The run mode words, the run command, the friction choice and the auto tuning answer word of
    // the tuning runs.
    if (address == 0x1704 || address == 0x1705 || address == 0x170E || address == 0x1719 || address == 0x171A)
        return false;
    return (address >= 0x0600 && address <= 0x06FF) || (address >= 0x0F00 && address <= 0x0FFF) ||
           (address >= 0x1100 && address <= 0x11FF) || (address >= 0x1200 && address <= 0x120F) ||
           (address >= 0x1700 && address <= 0x171F);
}

uint16_t ModelCodeForSeries(int series) {
    switch (series) {
    case 0:
        return 0;
    case 4:
        return 0x0202;
    case 5:
        return 0x0204;
    case 6:
        return 0x0400;
    case 7:
        return 0x0303;
    case 8:
        return 0x0302;
    case 9:
        return 0x0502;
    default:
        // A code the program does not know: it keeps the series it runs with.
        return static_cast<uint16_t>(0x0100 + (series & 0xFF));
    }
}

int ControlModeForSeries(int series) {
    return series == 3 || series == 5 || series == 6 || series == 8 || series == 9 ? 13 : 2;
}

DriveIdentity IdentityForSeries(int series) {
    // One motor for every series: a 0.4 kW, 3000 rpm motor with a 17-bit incremental encoder.
    constexpr uint16_t motorCode = 0x1157;
    MotorTables tables;
    tables.MotorModelAt(MotorCodeToGroup(motorCode), MotorCodeToRow(motorCode));
    const SimMechanismParams mechanism;
    DriveIdentity identity{};
    identity.modelWord = ModelCodeForSeries(series);
    // Older firmware (series 3) reports a version below the one that has the type words.
    identity.version = series == 3 ? 52 : static_cast<uint16_t>(100 + 5 * std::clamp(series, 0, 9));
    identity.driveId = series == 3 ? 0 : 6;
    identity.controlMode = static_cast<uint16_t>(ControlModeForSeries(series));
    identity.motorCode = motorCode;
    identity.ratedSpeed = static_cast<uint16_t>(tables.m_RatedSpeed);
    identity.maxTorque = static_cast<uint16_t>(tables.m_MaxTorque);
    identity.encoderResolution = static_cast<uint32_t>(EncoderPulses(motorCode));
    identity.polePairs = static_cast<uint16_t>(mechanism.polePairs);
    identity.motorInertia = static_cast<uint32_t>(std::lround(mechanism.motorInertia * 1e7));
    return identity;
}

std::vector<RegisterPreset> DefaultRegisters(int series) {
    const DriveIdentity id = IdentityForSeries(series);
    const auto low = [](uint32_t value) { return static_cast<uint16_t>(value & 0xFFFF); };
    const auto high = [](uint32_t value) { return static_cast<uint16_t>(value >> 16); };
    return {
        {0x171D, id.modelWord, true},
        {0x171E, id.driveId, true},
        {0x171B, 0, true},
        {0x171C, 1, true},
        {0x1702, id.controlMode, true},
        {0x1703, 0, true}, // servo status: bit 0 servo on
        {0x170A, 0, true}, // feature status
        {0x1706, low(id.encoderResolution), true},
        {0x1707, high(id.encoderResolution), true},
        {0x1711, 0, true},                    // current alarm
        {0x0F01, id.controlMode, true},       // dn01 control mode
        {0x0F02, 0x0005, true},               // dn02 outputs
        {0x0F03, 0x0003, true},               // dn03 inputs
        {0x0F04, id.version, true},           // dn04 software version
        {0x0F08, id.motorCode, true},         // dn08 motor code
        {0x0F09, 101, true},                  // dn09 version
        {0x0F0E, 100, true},                  // dn14 version
        {0x113B, 0x0102, true},               // onU48 extended version
        {0x1101, id.ratedSpeed, true},        // onU01 motor speed (rpm)
        {0x1102, id.polePairs, true},         // onU02 pole pairs
        {0x110D, low(id.motorInertia), true}, // onU08 motor inertia
        {0x110E, high(id.motorInertia), true},
        // A drive that has run for a while: the remaining life of its wearing parts (0.01 %, 10000
        // when new; the fan wears first) and its two hour counters.
        {0x0647, 9615, true},           // Un60 dynamic brake
        {0x0648, 8840, true},           // Un61 relay
        {0x0649, 7385, true},           // Un62 fan
        {0x064A, 9170, true},           // Un63 main capacitor
        {0x0663, 6240, true},           // Un88
        {0x0664, 4415, true},           // Un89
        {0x066C, 0, true},              // Un96
        {0x1507, 1, false},             // trace interval, its factory value
        {0x1527, 1, false},             // box recorder interval, its factory value
        {0x0021, id.motorCode, false},  // Cn030 motor code parameter
        {0x0B01, id.ratedSpeed, false}, // ond01 rated speed
        {0x0C12, 1, false},             // onC18
        {0x0C1B, id.maxTorque, false},  // torque limits
        {0x0C1C, static_cast<uint16_t>(-id.maxTorque), false},
    };
}

std::vector<RegisterRange> DefaultRanges() {
    return {
        {0x001D, 1, 21},     // Cn026 rigidity level
        {0x0025, 0, 5000},   // Cn034 torque command smoothing filter
        {0x020B, 2, 3200},   // Sn211 speed loop gain
        {0x020C, 40, 50000}, // Sn212 speed loop integral time constant
    };
}

} // namespace sim
