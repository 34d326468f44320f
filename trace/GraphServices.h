#pragma once
// Small stateless services both graph windows (trace and box viewer) and their threads share.
#include "framework/core/Geometry.h"
#include "framework/core/Types.h"

#include <cstdint>
#include <string>

class CRegisterServices;

// The private message of the graph windows' acquisition steps (wParam: the step code).
inline constexpr UINT AcquisitionMessage = 0x824;

// The folder chosen for automatic saving in either graph window; it outlives the windows.
extern std::string AutosaveFolder;

// The graph palette: the fifteen colours of the colour picker, by index; white for any other index.
COLORREF ChannelColor(unsigned index);

// The divisor that turns a recording's internal time units (time base / 1000 per sample) into the
// milliseconds every time text shows: 100 in Single and Cycle mode; in Monitor mode 10 when the
// drive's software value is 55 or more or its series is 6, 8 or 9, else 1. A box record follows the
// Single rule whatever mode the trace window last ran in.
int TimeDisplayDivisorOf(int traceMode, int driveSoftwareVersion, int seriesCode);
inline constexpr int BoxTimeDivisor = 100;
// The mode a box record's own time texts and files go by: Single (0).
inline constexpr int BoxRecordMode = 0;

// The automatic units per division for a channel whose largest absolute sample is value: the
// largest step of 5, 10, 50, 100, 500, 1000, 4000, 5000, 10000, 50000, 100000, 200000, 500000,
// 1000000, 5000000, 10000000 strictly below it; 1 up to 5; 100000000 above 50000000.
int SelectScaleStep(int32_t value);

// The divisor of an axis label: "100k" 1000; "1M", "10M", "100M" 1000000; "AUTO" by the value's
// magnitude (1000 from 1,000,000, 1000000 from 10,000,000); 1 otherwise. Case-sensitive.
int AxisUnitDivisor(const std::string& scaleText, int32_t value);
// The text of an axis label: the value over its divisor, with "k" or "M" ("250k", "3M").
std::string AxisLabelText(const std::string& scaleText, int64_t value);

// The source code that a code stored by a recording older than 181116 stands for.
int TraceFileChannelCode(int storedCode);

// The value that goes to the top of the plot when the value at the middle line is to stay there,
// moved to the nearest whole step: the multiple j x step nearest to value among j = 0, +1, -1,
// +2, -2, ... with |j| < count (the first one found wins a tie; j = 0 when count <= 0), plus half
// the divisions: step x (j + divisions - divisions / 2), held within the int range.
int NearestStepTop(int value, int count, int step, int divisions = 10);

// Trace state register 0x1501 through the register services: 0 when not connected or the read
// failed, 2 when it reads 2, else 1.
int QueryTraceState(CRegisterServices& link);

// True while connected; otherwise tells the user "Communicate Error!" (caption "Communication
// Message", stop icon) and returns false.
bool CheckConnected();
