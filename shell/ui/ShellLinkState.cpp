#include "shell/ui/ShellLinkState.h"

int DriveFeatureLevel = 6;
int DriveSoftwareVersion = 0;
int CurrentAlarmCode = 0;
int EncoderPulsesPerTurn = 2500;
int RegisterC12Nibble = 1;
int DriveIdentifiedFlag = 0;
