#include "trace/TraceArming.h"

#include "framework/core/ResourceModule.h"
#include "link/InternalCode.h"

namespace {

constexpr int IdsServoTriggerParameters = 192;
constexpr int IdsTriggerParameters = 193;
constexpr int IdsOverRange = 61551;

std::string WriteWord(uint16_t address, int value) {
    char frame[12];
    CInternalCode::BuildWriteWord(frame, address, value);
    return std::string(frame, sizeof frame);
}

std::string WritePair(uint16_t first, int firstValue, uint16_t second, int secondValue) {
    const uint16_t addresses[2] = {first, second};
    const int values[2] = {firstValue, secondValue};
    char frame[20];
    CInternalCode::BuildWriteWords(frame, 2, addresses, values);
    return std::string(frame, sizeof frame);
}

int PairWord(int low, int high) {
    return high * 256 + low;
}

} // namespace

std::vector<ArmingRequest> BuildArmingRequests(const TraceArmingSettings& s) {
    const TraceChannelPlacement placement = PlaceTraceChannels(s.sources, s.eightChannels);
    const auto& c = placement.driveCodes;
    std::vector<ArmingRequest> requests;
    requests.push_back({WriteWord(TraceRunRegister, 0)});
    requests.push_back({WriteWord(TraceStatusRegister, 0)});
    requests.push_back({WriteWord(TraceChannelCountRegister, s.eightChannels ? 8 : 4)});
    requests.push_back({WriteWord(TraceModeRegister, s.traceMode), ArmingFailure::Silent});
    requests.push_back({WritePair(TraceChannels12Register, PairWord(c[0], c[1]), TraceChannels34Register,
                                  PairWord(c[2], c[3])),
                        ArmingFailure::ChannelSetup});
    requests.push_back(
        {WritePair(TraceIntervalRegister, s.interval, TraceStateRegister, 0), ArmingFailure::Range});
    if (s.eightChannels)
        requests.push_back({WritePair(TraceChannels56Register, PairWord(c[4], c[5]), TraceChannels78Register,
                                      PairWord(c[6], c[7])),
                            ArmingFailure::Range});
    if (s.traceMode != TraceModeMonitor) {
        requests.push_back(
            {WritePair(TraceTriggerSourceRegister, s.triggerSource, TracePositionRegister, s.triggerPosition),
             ArmingFailure::TriggerRange, true});
        requests.push_back({WritePair(TraceLevelRegister, s.triggerLevel, TraceEdgeRegister, s.triggerEdge),
                            ArmingFailure::TriggerRange});
    }
    requests.push_back({WriteWord(TraceRunRegister, 1), ArmingFailure::StartCommand});
    return requests;
}

std::array<int, 3> ArmingHighCodes(const TraceArmingSettings& settings) {
    return PlaceTraceChannels(settings.sources, settings.eightChannels).highCodes;
}

ArmingOutcome RunArmingRequests(CInternalCode& link, const std::vector<ArmingRequest>& requests) {
    ArmingOutcome outcome;
    bool pendingFailure = false;
    for (const ArmingRequest& request : requests) {
        char reply[4] = {};
        const bool accepted = link.SendCommand(request.frame.data(), static_cast<int>(request.frame.size()),
                                               reply, 1) == ReplyWritten;
        ++outcome.requestsSent;
        if (request.onFailure == ArmingFailure::None)
            continue;
        if (request.judgedWithNext) {
            pendingFailure = !accepted;
            continue;
        }
        if (accepted && !pendingFailure)
            continue;
        outcome.failure = request.onFailure;
        outcome.portRefusal = request.onFailure == ArmingFailure::ChannelSetup && reply[0] == '#';
        // A refused channel pair or start command leaves the window running without a timer; the
        // next press takes the stop path.
        outcome.running = request.onFailure == ArmingFailure::ChannelSetup ||
                          request.onFailure == ArmingFailure::StartCommand;
        return outcome;
    }
    return outcome;
}

std::string ArmingFailureText(const ArmingOutcome& outcome) {
    switch (outcome.failure) {
    case ArmingFailure::ChannelSetup:
        return outcome.portRefusal ? "Error Communication Port ,Please Use USB Port"
                                   : "setup command send error!";
    case ArmingFailure::Range:
        return LoadResString(IdsServoTriggerParameters) + LoadResString(IdsOverRange);
    case ArmingFailure::TriggerRange:
        return LoadResString(IdsServoTriggerParameters) + LoadResString(IdsTriggerParameters) +
               LoadResString(IdsOverRange);
    case ArmingFailure::StartCommand:
        return "start command send error!";
    case ArmingFailure::None:
    case ArmingFailure::Silent:
        break;
    }
    return {};
}

std::vector<ArmingRequest> BuildStopRequests() {
    return {{WriteWord(TraceRunRegister, 0)}, {WriteWord(TraceStatusRegister, 0)}};
}
