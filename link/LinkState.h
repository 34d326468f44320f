#pragma once
// State of the drive link that the whole program shares.
#include <atomic>
#include <functional>

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

// The one way an exchange gives the link up (a reply that is no reply of the drive, a block read
// that failed, a drive that stopped answering a thread): ConnectedFlag is cleared and the owner of
// the link is told through the notice, on the thread whose exchange found it. Clearing the flag
// alone would leave the rest of the program showing a link that is gone: the owner closes the port
// and shows the link as down everywhere.
void LinkLost();
// Installs the notice (an empty function removes it). It runs on any thread, so it only hands the
// news on (the view posts itself a message). Returns once no call of the old notice is running.
void SetLinkLostNotice(std::function<void()> notice);
