#include "catalogue/DocumentGlobals.h"

int SeriesCode = -1;
int ModelCode = StartModelCode;
int RatedSpeed = StartRatedSpeed;
int MotorEncoderResolution = StartEncoderResolution;
int ForwardTorqueLimit = 300;
int ReverseTorqueLimit = -300;
int DriveCapacityIndex = StartDriveCapacityIndex;
int DriveControlMode = 0;
int FeatureStatusWord = 0;
bool ForeignSeriesLoadedFlag = false;
