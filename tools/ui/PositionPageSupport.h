#pragma once
// What the position pages share: the PC servo-on command and its state, the ON/OFF colour buttons,
// the short waits between a command and its read-back, and the run messages.
#include "framework/ui/MFCButton.h"

#include <string>

class CRegisterServices;

// Register 0x1703 (non-zero while the servo is on); 0 when the read fails.
int ReadServoOnState(CRegisterServices& services);
// Register 0x170E = state; true when the drive accepted it.
bool WriteServoOnCommand(CRegisterServices& services, int state);
// The path-program run's stop: Hn618 read now, DI1 (servo on) and DI3 (PTRG) cleared, written back;
// the other virtual inputs keep their states. False when the read or the write failed.
bool WritePathRunInputsOff(CRegisterServices& services);

inline constexpr unsigned long StateOnColour = 0x0000FF00;  // RGB(0, 255, 0)
inline constexpr unsigned long StateOffColour = 0x000000FF; // RGB(255, 0, 0)
// "ON" on green, "OFF" on red.
void PaintStateButton(CMFCButton& button, bool on);

// The drive needs a moment between a command and the state that follows from it.
void PauseMs(int ms);

std::string ToolText(int id);
// "Communicate Error!" captioned "Communication Message", stop icon.
void ShowLinkLost();
// The codes of the refused writes, then "Write Failed!".
void ShowWritesRefused(const std::string& codes);
