#pragma once
// Arming and stopping the drive's trace: the requests START sends, in order, each with what its
// failure means, and a runner that sends them over the drive link and reports the outcome.
#include "trace/TraceRegisters.h"

#include <array>
#include <string>
#include <vector>

class CInternalCode;

// What the trace window's START needs of its set-up (copied from the window).
struct TraceArmingSettings {
    int traceMode = TraceModeSingle;
    bool eightChannels = true;
    std::array<int, 8> sources{};
    int interval = 1;
    int triggerSource = 0;
    int triggerLevel = 0;
    int triggerEdge = 0;
    int triggerPosition = 0;
};

// What a refused request means for the window.
enum class ArmingFailure {
    None,         // not judged (the first writes of the sequence)
    Silent,       // the trace mode was refused: back to stopped, no message
    ChannelSetup, // channels 1..4 refused: port or "setup command send error!" message, stays running
    Range,        // interval or channels 5..8 refused: "servo trigger parameters" + "Over Range!!", stopped
    TriggerRange, // a trigger pair refused: the same with "trigger parameters" between, stopped
    StartCommand, // 0x1505 := 1 refused: "start command send error!", stays running without a timer
};

struct ArmingRequest {
    std::string frame; // the exact request characters
    ArmingFailure onFailure = ArmingFailure::None;
    // The first of the two trigger pairs: its failure is judged after the second pair was sent.
    bool judgedWithNext = false;
};

// The requests of START in order: 0x1505 := 0, 0x1503 := 0, 0x150E, 0x1502, the channel pair
// 0x150A/0x150B, the interval pair 0x1507/0x1501, 0x150C/0x150D (eight channels), the trigger
// pairs (not in Monitor mode), 0x1505 := 1.
std::vector<ArmingRequest> BuildArmingRequests(const TraceArmingSettings& settings);
// The high-word codes the window keeps (its wide-channel high codes).
std::array<int, 3> ArmingHighCodes(const TraceArmingSettings& settings);

struct ArmingOutcome {
    ArmingFailure failure = ArmingFailure::None; // None: armed, start the acquisition timer
    bool running = true;                         // the window's running flag afterwards
    bool portRefusal = false;                    // the channel pair was answered with "#"
    int requestsSent = 0;
};
// Sends the requests in order and stops at the first failure that ends the sequence.
ArmingOutcome RunArmingRequests(CInternalCode& link, const std::vector<ArmingRequest>& requests);

// The message a failure shows ("" for none). Texts of the resource library where it has them.
std::string ArmingFailureText(const ArmingOutcome& outcome);
// The channel-pair refusal that is not a port refusal is shown after a pause of this many ms.
constexpr int ArmingMessagePauseMs = 100;

// STOP: 0x1505 := 0, then 0x1503 := 0 (neither judged).
std::vector<ArmingRequest> BuildStopRequests();
