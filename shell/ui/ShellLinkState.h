#pragma once
// Drive words the connect routine and the status refresh keep for the whole program (the
// application's link members). The document's words live in catalogue/DocumentGlobals.h, the link
// flags in link/LinkState.h.
#include "catalogue/DocumentGlobals.h"

// Register 0x171E at connect; 0 when that read failed. The self-built motor dialog offers the encoder
// record from level 4 on.
extern int DriveFeatureLevel;
// dn-04 as the connect or the status refresh last read it.
extern int DriveSoftwareVersion;
// The alarm register (A01) as the status refresh last read it; shown in the message pane.
extern int CurrentAlarmCode;
// Register 0x1101 as the connect and the status refresh read it: the motor's rated speed, the bound
// the jog windows apply to speeds. The document side knows the same word as RatedSpeed (files and the
// wizard set it); one variable, so every window sees the connected drive's value.
inline int& MotorMaxSpeed = RatedSpeed;
// Encoder pulses per turn of the connected motor.
extern int EncoderPulsesPerTurn;
// Low four bits of register 0x0C12.
extern int RegisterC12Nibble;
// 1 once a drive passed the series check in this run (a USB arrival may then reconnect).
extern int DriveIdentifiedFlag;
