#pragma once
// The rules of the trace set-up: which channels may carry a 32-bit ("long word") source, the
// trigger level's range by the trigger channel's source, and the sampling figures of a set-up.
#include <array>
#include <string>

// The trigger level goes to the drive as one 16-bit word; wider ranges are cut to it.
constexpr int TriggerLevelWordMin = -32768;
constexpr int TriggerLevelWordMax = 32767;

struct TriggerLevelRange {
    int minimum = 0;
    int maximum = 0;
    int editLimit = 0;         // characters the level edit takes (0: unchanged)
    std::string text;          // the unit and range shown beside the level
    bool levelEnabled = false; // level edit and its spin
    bool edgeEnabled = false;  // edge and position
    bool clampLevel = false;   // a level outside the range becomes 0
    bool zeroLevel = false;    // the level is set to 0 (digital sources)
};

// source: the trigger channel's source code (0 when no trigger channel); monitor: Monitor mode;
// linearMotor: speeds in mm/s; highVoltage: the series measures the bus up to 1000 V.
TriggerLevelRange TriggerRangeFor(int source, bool monitor, bool linearMotor, bool highVoltage);
// The level the range leaves: 0 where the range resets it or it lies outside a clamped range.
int LevelWithin(const TriggerLevelRange& range, int level);

// Whether channel (0..7) may take a long-word source with the other channels' codes as they are.
// Channel 4 of four never may: its word carries the high words of channels 1..3 and has no room for
// a high word of its own.
bool LongWordAllowed(const std::array<int, 8>& codes, int channel, bool eightChannels);

// Which channels' display controls (scale, offset slider and buttons, shown check) the trace window
// enables: channels 5..8 only in eight-channel mode, and no channel whose word carries the high
// word of a 32-bit source (channel 4 of four behind a wide channel 1..3; channels 8, 7 and 6 behind
// the first, second and third wide channel of eight).
std::array<bool, 8> ChannelControlsEnabled(const std::array<int, 8>& sources, bool eightChannels);

// Samples per channel and the interval's upper bound of a set-up.
int SetupPoints(int traceMode, bool eightChannels);
int SetupIntervalMaximum(int traceMode);
// The time base the window derives its time axis from: interval x 10000 (eight channels, Monitor)
// or x 5000 (four channels).
int SetupTimeBase(int interval, int traceMode, bool eightChannels);
