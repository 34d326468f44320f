#pragma once
// The texts the box viewer shows for its state: cursor readouts, channel legends and the trigger
// description.
#include <array>
#include <string>

// Cursor A's time: /100 in Single and Cycle mode; in other modes the time itself, or /10 when
// dn-04 is above 54. fromPosition false: the stored time (no dn-04 rule: /100 or the time itself).
std::string TimeReadoutAText(float time, int traceMode, int statusValueD4, bool fromPosition);
// Cursor B's time and the difference: always /100.
std::string TimeReadoutBText(float time);
std::string ValueReadoutText(float value);

// "name [unit]" for word signals (code 0 and 21 up), the bare name for bit signals.
std::string BoxChannelLegend(int code, const std::array<int, 24>& dioWords, int modelCode);

struct BoxTriggerDescription {
    std::string method, level, edge, position;
};
// The four texts of the "Trigger Condition" group. The level is kept only for sources 1..4; for
// any other source it becomes 0.
BoxTriggerDescription DescribeBoxTrigger(int source, int& level, int edge, int position,
                                         const std::array<int, 24>& dioWords, int modelCode);
