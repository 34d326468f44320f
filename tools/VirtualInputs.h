#pragma once
// The drive's virtual inputs as the position pages use them: Hn617 says which digital inputs are
// taken from Hn618 instead of their terminals, Hn618 holds their states (bit n is DI(n+1)). The
// system page assigns fixed functions to the inputs it drives; these are the words it writes.
#include <optional>
#include <string>
#include <vector>

// Hn618 bits of the functions the system page puts on the inputs.
enum VirtualInputBit : int {
    BitServoOn = 0, // DI1 SON
    BitShome = 1,   // DI2 SHOME
    BitPtrg = 2,    // DI3 PTRG
    BitPot = 3,     // DI4 POT
    BitNot = 4,     // DI5 NOT
    BitOrg = 5,     // DI6 ORG
    BitPhold = 11,  // DI12 PHOLD
};

// The enable checks of the system page's rows.
struct VirtualInputChecks {
    bool servoOn = false, shome = false, ptrg = false, pot = false, notLimit = false, org = false,
         phold = false;
};

// Hn617 of "Set": DI7..DI12 always virtual (0xFC0), plus the checked rows of DI1..DI6.
int VirtualInputMask(const VirtualInputChecks& checks);

struct PositionWrite {
    std::string code;
    int value = 0;
    bool operator==(const PositionWrite&) const = default;
};

// The writes of "Set" in their order: Hn617, Hn601 (only with the servo-on row), then the fixed
// function assignment of DI2..DI6, DI10..DI12 and DO4.
std::vector<PositionWrite> SystemPageAssignment(const VirtualInputChecks& checks);

// The states of the rows that have an Hn618 bit.
struct VirtualInputStates {
    bool servoOn = false, shome = false, ptrg = false, pot = false, notLimit = false, org = false,
         phold = false;
    bool operator==(const VirtualInputStates&) const = default;
};

// Hn618 of the system page: each row's state counts only while its enable check is set.
int SystemPageInputWord(const VirtualInputStates& states, const VirtualInputChecks& checks);
VirtualInputStates DecodeInputWord(int hn618);

// Hn618 of the homing page: SHOME, POT, NOT and ORG only; every other input is switched off.
int HomingInputWord(bool shome, bool pot, bool notLimit, bool org);

// A read-modify-write of one bit. Without a value read on this link there is nothing to modify:
// nothing is written.
std::optional<int> WithBit(std::optional<int> word, int bit, bool on);

// Pn317 after the homing page's "Write": hex digit 2 set to 2.
int HomingConfigWord(int pn317);

// Hn617 after a path program's "Write": DI1 and DI3 from the PC (virtual) or from the terminals.
int PathInputMask(int hn617, bool virtualInputs);
