#pragma once
// The launcher's list of port entries ("<name> : <description>") and the tests that decide which
// entry can lead to a drive. No windows here.
#include <string>
#include <vector>

// Kind of port an entry names, as far as the launcher cares. At most one applies to an entry.
enum class AdapterKind {
    None,
    Zr2,         // the drive's own USB port ("USB" and "ZR2")
    Ch34,        // a CH34x USB-serial adapter ("USB" and "CH34", not "ZR2")
    PlainSerial, // qualified by "Serial" alone
};

// Adds the entry of one port to a list kept in port order (letters of the name, then its number), at
// most one entry per name: an entry whose name is already listed is dropped, so the first port met
// under a name keeps it. The entry is name + " : " + description, each trimmed of blanks.
// A port without a name gives no entry.
void AddPortEntry(std::vector<std::string>& entries, const std::string& name, const std::string& description);

// Whether an entry can lead to a drive: it holds "USB" and also "ZR2" or "CH34", or it holds
// "Serial". Case-sensitive.
bool IsSuitableEntry(const std::string& entry);
// The adapter kind of a suitable entry ("ZR2" before "CH34" before plain serial); None for an entry
// that is not suitable.
AdapterKind AdapterOfEntry(const std::string& entry);
