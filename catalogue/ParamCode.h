#pragma once
// Parameter codes ("Cn025", "Pn412", "onC07", "Un-05") and the global parameter index: one integer per
// parameter, the group's base (a multiple of 100) plus the two-digit number. Every conversion here is
// a pure function; an unknown or malformed code gives "", 0 or -1 and never reads past its text.
#include <string>
#include <string_view>

// The groups in the order of their index bases: the id of a group is its base / 100.
enum ParamGroup : int {
    GroupCn = 0,
    GroupTn = 1,
    GroupSn = 2,
    GroupPn3 = 3,
    GroupPn4 = 4,
    Groupqn = 5,
    GroupHn = 6,
    GroupEn = 7,
    Grouptn = 8,
    GroupEC = 9,
    GroupUn = 10,
    Groupdn = 11,
    GroupAL = 12,
    GrouponT = 13,
    GrouponS = 14,
    Groupond = 15,
    GrouponC = 16,
    Groupono = 17,
    GrouponA = 18,
    GrouponE = 19,
    GrouponU = 20,
    GroupMAb = 21,
    ParamGroupCount = 22,
};

struct ParamGroupInfo {
    ParamGroup group;
    int base;           // index of number 00: group * 100
    const char* prefix; // the code text before the two digits: "Cn0", "Un-", "AL", "onC", "MAb"
    int count;          // numbers 01..count are the group's items (array size in the document)
    char letter;        // the catalogue's group letter of the produced code form
};

// One row per group, indexed by ParamGroup. Counts: Cn 99, Tn 18, Sn 29, Pn3 85, Pn4 99, qn 7, Hn 24,
// En 24, tn 63, EC 34, Un 97, dn 15, AL 10, onT 24, onS 18, ond 2, onC 69, ono 26, onA 38, onE 17,
// onU 52, MAb 16.
const ParamGroupInfo& ParamGroupTable(ParamGroup group);

// The group of an index (index / 100), or -1 for a negative index or one beyond the last group.
int ParamGroupOfIndex(int index);

// base + number; no range check (callers iterate 1..count).
inline int ParamIndexOf(ParamGroup group, int number) {
    return static_cast<int>(group) * 100 + number;
}

// The code of an index ("Cn025", "Pn412", "Un-05", "MAb05"); "" for a negative index or one whose
// hundreds name no group.
std::string ParamCodeFromIndex(int index);

// The index of a code: -1 for a code shorter than its form (five characters, four for "ALnn"), 0 for
// an unknown group letter. Also reads the prefixed forms ("FnC05", "FnL12", "Err03").
int ParamIndexFromCode(std::string_view code);

// Character 0 of the code ('\0' for an empty code). 'o' for every newer "on" group.
char ParamGroupLetter(std::string_view code);

// The number of a code: the decimal value of its last two characters, leading digits only
// ("Cn025" -> 25, "Un-5x" -> 5). 0 for a code shorter than two characters.
int ParamNumber(std::string_view code);

// The code that the register map and the document understand for a displayed code. Every code the
// system displays is already in that form, so this is the identity.
std::string ParamText(std::string_view code);

// True for indexes of items that the document holds as parameters (not Un, dn, AL, onU; not numbers 00).
bool IsDocumentParameterIndex(int index);

// Group id of the defined-parameter list (1 Cn, 2 Tn, 3 Sn, 4 Pn3, 5 qn, 6 Hn, 8 Pn4, 9 En, 10 tn,
// 11 EC, 12 MAb) for a catalogue group, or 0 for a group that the list cannot hold.
int DefiniteGroupId(ParamGroup group);
// The reverse: the catalogue group of a defined-list group id, or -1 for an unknown id.
int ParamGroupFromDefiniteId(int definiteId);
