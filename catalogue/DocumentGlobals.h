#pragma once
// Program-wide words of the document side: the drive series, the motor and the words the connect
// routine and the document archive carry. Declared once here; the shell, the wizard and the tools
// read and set them.

// Drive series code of the connected drive or of the open document (-1 before any is known).
extern int SeriesCode;
// Motor code (the Cn030 value): family in bits 12-15, capacity class in bits 8-11, encoder kind in
// bits 0-3. 0x1157 when the program starts without a document.
extern int ModelCode;
// Rated speed of the current motor in rpm.
extern int RatedSpeed;
// Encoder resolution of the current motor in pulses per revolution.
extern int MotorEncoderResolution;
// Sources of the Cn010 and Cn011 defaults: what the drive reports, 300 and -300 until it does.
extern int ForwardTorqueLimit;
extern int ReverseTorqueLimit;
// Motor family index word; its low four bits hold the capacity class of drive and motor.
extern int DriveCapacityIndex;
// Control mode the drive reported at connect (register 0x1702).
extern int DriveControlMode;
// Feature status word (register 0x170A) as the status poll last read it.
extern int FeatureStatusWord;
// Set once a document of another series has been loaded; a new document then returns the motor
// words to their start values.
extern bool ForeignSeriesLoadedFlag;

// Start values of the motor words.
constexpr int StartModelCode = 0x1157;
constexpr int NewDocumentModelCode = 0x1121;
constexpr int StartRatedSpeed = 3000;
constexpr int StartDriveCapacityIndex = 2500;
constexpr int StartEncoderResolution = 131072;
