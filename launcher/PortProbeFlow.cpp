#include "launcher/PortProbeFlow.h"

#include "link/InternalCode.h"
#include "link/SerialExt.h"

#include <string>

namespace {

// The last two characters are the checksum of the ones before them.
bool ChecksumHolds(const char* reply, int length) {
    if (length < 3)
        return false;
    std::string recomputed(reply, static_cast<std::size_t>(length));
    CInternalCode::AppendChecksum(recomputed.data(), length - 2);
    return recomputed.compare(0, recomputed.size(), reply, static_cast<std::size_t>(length)) == 0;
}

} // namespace

int ProbeSendCommand(const char* request, int requestLength, char* reply, int expectedLength,
                     unsigned char* linkFlag) {
    reply[0] = 0;
    PortObject.AwaitQuietLine(); // a late reply to an earlier probe is not this one's
    if (PortObject.CommandSend(request, requestLength, reply, expectedLength) != ErrNone) {
        PortObject.NoteUnfinishedExchange();
        PortObject.PortMutex.Unlock(); // the library leaves its lock to us after a failure
    }
    if (reply[0] == '%') {
        if (request[0] == 'W' || request[0] == 'M')
            return ReplyWritten;
        if (ChecksumHolds(reply, expectedLength))
            return ReplyRead;
    } else if (reply[0] == '!') {
        return ReplyFailed;
    }
    if (linkFlag)
        *linkFlag = 0;
    return ReplyFailed;
}

std::vector<PortInfo> CPortProbeFlow::ListPorts() {
    return EnumeratePorts();
}

bool CPortProbeFlow::OpenProbePort(const std::string& portName) {
    if (PortObject.Open(PortDevicePath(portName).c_str(), kProbeBaud, 500, 20000, 20000) != ErrNone)
        return false;
    PortObject.Setup(kProbeBaud, 8, 0, 0);
    PortObject.SetupReadTimeouts(ReadEndsAtGap);
    PortObject.SetupHandshaking(HandshakeOff);
    PortObject.SetupReadTimer(kProbeBaud, kProbeTurnaroundMs);
    return true;
}

int CPortProbeFlow::ProbeExchange(const char* request, int requestLength, char* reply, int expectedLength) {
    return ProbeSendCommand(request, requestLength, reply, expectedLength, LinkFlag);
}

void CPortProbeFlow::CloseProbePort() {
    PortObject.Close();
}
