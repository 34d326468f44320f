#pragma once
// The texts the box viewer shows for its state: cursor readouts, channel legends and the trigger
// description.
#include <array>
#include <string>

// A cursor time or a difference of two, in ms: a box record's times go by its own sample period
// (BoxTimeDivisor), whatever mode the trace window last ran in.
std::string BoxTimeReadoutText(float time);
std::string ValueReadoutText(float value);

// "name [unit]" for word signals (code 0 and 21 up), the bare name for bit signals.
std::string BoxChannelLegend(int code, const std::array<int, 24>& dioWords, int modelCode);

struct BoxTriggerDescription {
    std::string method, level, edge, position;
};
// The four texts of the "Trigger Condition" group. The source is a data type: a word signal (21 up)
// keeps its level and shows it with its unit; no source (0) and the bit signals 1..20 trigger on
// their edge alone, so their level is 0 and not shown.
BoxTriggerDescription DescribeBoxTrigger(int source, int& level, int edge, int position,
                                         const std::array<int, 24>& dioWords, int modelCode);
