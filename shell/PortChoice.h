#pragma once
// The pure part of the port choice: the port list entries in their order, the "(using)" mark of a
// busy USB virtual port, the preselected entry, the baud-rate list, and the one-line port choice
// file "comfile.ini" (program folder, else the temporary folder).
#include "framework/core/PortEnumeration.h"

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

inline constexpr const char* PortChoiceFileName = "comfile.ini";
inline constexpr const char* PortBusyMark = "(using)";

inline constexpr std::array<int, 6> BaudRates{4800, 9600, 19200, 38400, 57600, 115200};
constexpr int DefaultBaudRateIndex = 1;
// The baud rate of an index; 9600 for an index outside the list.
int BaudRateFromIndex(int index);
// The index itself, or the default index (9600) for one outside the list.
int BoundedBaudRateIndex(int index);

// Whether a port can be opened now (tries to open it and closes it again).
using PortFreeTest = std::function<bool(const std::string& portName)>;

// The entries of the port list, in the order of the ports given ("<name> : <description>"). A port
// name listed twice is listed once. An entry that mentions "CDC" (a USB virtual port) is tested
// with isFree; when the port cannot be opened, "(using)" is appended directly.
std::vector<std::string> PortListEntries(const std::vector<PortInfo>& ports, const PortFreeTest& isFree);

// Whether a port can be a drive's USB interface: the enumeration words the description of every USB
// adapter and CDC device so that it mentions "USB" or "CDC".
bool IsUsbPort(const PortInfo& port);

// What the dialog preselects: the entry index (-1 for none) and its text.
struct PortSelection {
    int index = -1;
    std::string text;
};

// The preselection over the entries of the list. First the entry whose port name equals portText
// (else entry 0); then, when the port choice file gave a line: the first entry beginning with the
// line when some entry equals it exactly, else entry 0.
PortSelection ChoosePortSelection(const std::vector<std::string>& entries, const std::string& portText,
                                  const std::optional<std::string>& fileLine);

// The port choice file lives in the program folder; when it cannot be opened there, in the
// temporary folder.
// The first line of the first port choice file that opens; empty when none does.
std::optional<std::string> ReadPortChoice();
// Writes entry + "\n" into the first candidate that can be created. false when none could.
bool SavePortChoice(const std::string& entry);
