#pragma once
// The drive parameters captured with a trace when it stops, kept with the recording so a technician
// can see later with which tuning the curves were taken. Three lists laid out as the recording file
// stores them; entry n of a list is at position n - 1 (entries count from 1).
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

struct ParameterSnapshot {
    uint8_t valid = 0;
    std::array<int32_t, 63> first{};  // tn838..tn863 in entries 38..63
    std::array<int32_t, 20> second{}; // dn-04, dn-08, dn-09 in entries 4, 8, 9; Cn013, Cn014 in 13, 14
    std::array<int32_t, 99> third{};  // Cn065..Cn068 in entries 45..48
};

// Reads one parameter by code; no value when the read failed.
using SnapshotReader = std::function<std::optional<int>(std::string_view code)>;

// Reads every snapshot parameter. No value when a t-group parameter or Cn068 could not be read;
// another item that fails stays 0 (never a value of an earlier recording).
std::optional<ParameterSnapshot> ReadSnapshotParameters(const SnapshotReader& read);

// The global parameter indexes the parameter list shows, in order (35 rows).
const std::array<int, 35>& SnapshotListIndexes();

// The snapshot value of a parameter code ("tn838", "dn-04", "Cn013"); 0 for a code the snapshot
// does not hold.
int SnapshotValue(const ParameterSnapshot& snapshot, std::string_view code);
