#pragma once
// The launcher's flow on the real ports: the port list comes from the port enumeration (virtual
// ports included) and the probe talks through the program's port object. Only the controls are
// left to the window (or to a test).
#include "launcher/ClientFlow.h"

// One maker exchange on PortObject as the launcher runs it: the reply is judged even when the port
// library reports an error, every "%" reply must carry a good checksum, and a reply that is neither
// good nor "!" clears *linkFlag (when given) but leaves the port open. 2 = good read reply,
// 1 = accepted write, 0 otherwise.
int ProbeSendCommand(const char* request, int requestLength, char* reply, int expectedLength,
                     unsigned char* linkFlag);

class CPortProbeFlow : public CClientFlow {
public:
    // Probe serial settings: 9600 baud, 8 data bits, no parity, one stop bit; a 200 ms turnaround.
    static constexpr int kProbeBaud = 9600;
    static constexpr int kProbeTurnaroundMs = 200;

    // The flag a failed exchange clears (nothing in the launcher reads it).
    unsigned char* LinkFlag = nullptr;

protected:
    std::vector<PortInfo> ListPorts() override;
    bool OpenProbePort(const std::string& portName) override;
    int ProbeExchange(const char* request, int requestLength, char* reply, int expectedLength) override;
    void CloseProbePort() override;
};
