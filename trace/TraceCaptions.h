#pragma once
// Names and units of the signals a graph channel shows: the trace window's source codes and the
// box viewer's signal codes. Names come from the resource library's string table, function names
// of the digital inputs and outputs from the catalogue.
#include <array>
#include <string>

// Title of a trace source code. dioCodes are the window's 24 DI/DO function codes (inputs 1..12,
// outputs 1..4 at 13..16, outputs 5..8 at 19..22).
std::string ChannelSourceTitle(int sourceCode, const std::array<int, 24>& dioCodes);
// Unit of a trace source code; speeds are "mm/s" for a linear motor (model code family 3 or 4).
std::string ChannelSourceUnit(int sourceCode, int modelCode);

// Name of a box signal code; dioWords are the viewer's assignment words (entry c - 1 names code c).
std::string BoxChannelSignalName(int signalCode, const std::array<int, 24>& dioWords);
// Unit of a box signal code.
std::string BoxChannelUnitName(int signalCode, int modelCode);
