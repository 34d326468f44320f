#include "link/LinkState.h"

std::atomic<int> ConnectedFlag{0};
std::atomic<unsigned> LinkEpoch{0};
int ModbusMode = 0;
int ModbusAsciiFlag = 0;
int StationNumber = 1;
