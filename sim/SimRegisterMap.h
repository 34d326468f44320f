#pragma once
// Where the simulated drive keeps its parameters, and what it holds when it starts.
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace sim {

// Register of parameter (group base, number) as the drive addresses it over Modbus: group bases
// C 0x000, T 0x100, S 0x200, P 0x300, q 0x400, H 0x500, U 0x600, E 0x700. Cn, Pn3xx and En are
// packed around their 32-bit parameters, Un follows its address list; numbers that name no
// parameter give no register.
std::optional<uint16_t> ParameterRegister(uint16_t modbusAddress);

// The contact block: word n (1..24) at ContactBlockBase + n holds the function the drive runs
// input or output n with, in the form of Hn6nn. Read-only.
inline constexpr uint16_t ContactBlockBase = 0x1A00;
inline constexpr int ContactBlockWords = 24;

// Modbus group base of a group letter that is no hex digit ('T', 'S', 'P', 'q', 'H', 'U').
std::optional<uint16_t> LetterGroupBase(char group);

// Model code of register 0x171D for a series (the program maps it back to the series).
uint16_t ModelCodeForSeries(int series);

// The control mode a drive of the series starts in (register 0x1702, dn01 and the Cn001 default):
// 13 for series 3, 5, 6, 8 and 9, whose Cn001 takes no other, else 2.
int ControlModeForSeries(int series);

// Who a drive of a series is and which motor it drives. Every identity and motor-data register
// the drive reports comes from this one record, so they agree with each other: the motor's rated
// speed, maximum torque and encoder resolution are what the motor code stands for in the motor
// tables, and its pole pairs and inertia are the mechanism's (sim/SimMechanism.h).
struct DriveIdentity {
    uint16_t modelWord;         // 0x171D: the series as the program maps it back
    uint16_t version;           // dn04 (0x0F04)
    uint16_t driveId;           // 0x171E (0: no segment hand-over, no type words before version 57)
    uint16_t controlMode;       // 0x1702, dn01
    uint16_t motorCode;         // dn08 (0x0F08), Cn030 (0x0021)
    uint16_t ratedSpeed;        // rpm: ond01 (0x0B01), onU01 (0x1101)
    uint16_t maxTorque;         // % of rated torque: 0x0C1B, and negated 0x0C1C
    uint32_t encoderResolution; // pulses per turn: 0x1706 (low), 0x1707 (high)
    uint16_t polePairs;         // onU02 (0x1102)
    uint32_t motorInertia;      // 0.001 kg cm^2: onU08 (0x110D low, 0x110E high)
};
DriveIdentity IdentityForSeries(int series);

// Registers the drive reports for its identity and status when it starts, for a series. Besides
// the identity above they show a drive that has been in use for a while: the life of its wearing
// parts Un60-Un63 (0x0647-0x064A: dynamic brake, relay, fan, main capacitor; 0.01 %, each of them
// well above the window's warning levels, the fan lowest) and its hour counters Un88 and Un89
// (0x0663, 0x0664; thousands of hours). The trace and box recorder intervals (0x1507, 0x1527) hold
// 1, their factory value.
struct RegisterPreset {
    uint16_t address;
    uint16_t value;
    bool readOnly;
};
std::vector<RegisterPreset> DefaultRegisters(int series);

// Tuning registers whose range the drive enforces from the start: a write outside it is refused, as
// a real drive refuses it (the online editor's live steps meet these).
struct RegisterRange {
    uint16_t address;
    int min;
    int max;
};
std::vector<RegisterRange> DefaultRanges();

// The drive's own status and identity words (the Un, dn, onU and alarm blocks and the identity
// block around 0x1700, but not the memory image registers 0x1714-0x1718): not writable from the line.
bool IsStatusRegister(uint16_t address);

} // namespace sim
