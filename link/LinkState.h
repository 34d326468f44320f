#pragma once
// State of the drive link that the whole program shares.
#include <atomic>

// 1 while a drive is connected. Every transfer tests it first; the link clears it when an exchange
// shows the link is lost, the connect code sets it. Sampling threads read it, hence atomic.
extern std::atomic<int> ConnectedFlag;

// Modbus framing of parameter transfers: whether they use Modbus functions 0x03/0x06 at all, with
// ASCII (1) or RTU (0) framing, and the drive's station (0..255 on the wire).
extern int ModbusMode;
extern int ModbusAsciiFlag;
extern int StationNumber;

// Steps each time a drive link is opened, so a window can tell a value it read on this link from one
// read on an earlier link (another drive, or the same one after a lost link).
extern std::atomic<unsigned> LinkEpoch;
