#include "launcher/ClientFlow.h"

#include "framework/core/Format.h"
#include "link/InternalCode.h"

#include <cstring>

namespace {

// Request and reply lengths of the model code read: "R1" + address + checksum, and "%" + word +
// checksum.
constexpr int kRequestLength = 8;
constexpr int kReplyLength = 7;

// The four digits after the lead character; -1 when one is not a hex digit.
int ReplyWord(const char* reply) {
    int value = 0;
    for (int i = 1; i <= 4; ++i) {
        int digit = ParseHexChar(reply[i]);
        if (digit < 0)
            return -1;
        value = value * 16 + digit;
    }
    return value;
}

} // namespace

int ModelCodeToSeries(int modelCode) {
    switch (modelCode) {
    case 0x0202:
        return 0;
    case 0x0204:
        return 1;
    case 0x0502:
        return 2;
    case 0x0400:
        return 3;
    case 0x0302:
        return 4;
    case 0x0303:
        return 5;
    default:
        return -1;
    }
}

bool IsSerialPortName(const std::string& name) {
    return name.size() > 3 && name.compare(0, 3, "tty") == 0;
}

int CClientFlow::EnumerateSerialPorts() {
    PortEntryList.clear();
    for (const PortInfo& port : ListPorts())
        AddPortEntry(PortEntryList, port.name, port.description);
    Adapter = AdapterKind::None;
    for (std::size_t i = 0; i < PortEntryList.size(); ++i) {
        if (IsSuitableEntry(PortEntryList[i])) {
            Adapter = AdapterOfEntry(PortEntryList[i]);
            SelectedEntryText = PortEntryList[i];
            return static_cast<int>(i);
        }
    }
    return -1;
}

void CClientFlow::ProbeDrive() {
    char request[80];
    char reply[80];
    std::memset(request, 0, sizeof request);
    std::memset(reply, 0, sizeof reply);
    std::string lastEntry;
    int answering = -1;
    for (std::size_t i = 0; i < PortEntryList.size() && answering < 0; ++i) {
        const std::string& entry = PortEntryList[i];
        Adapter = AdapterKind::None;
        if (!IsSuitableEntry(entry))
            continue;
        Adapter = AdapterOfEntry(entry);
        lastEntry = entry;
        if (!OpenProbePort(PortNameFromEntry(entry)))
            continue;
        ShowWaitCursor(true);
        CInternalCode::BuildReadWord(request, kModelCodeRegister);
        int result = ProbeExchange(request, kRequestLength, reply, kReplyLength);
        // A plain serial port gets a second chance: a converter may swallow the first request.
        if (result != ReplyRead && Adapter == AdapterKind::PlainSerial) {
            CInternalCode::BuildReadWord(request, kModelCodeRegister);
            result = ProbeExchange(request, kRequestLength, reply, kReplyLength);
        }
        if (result == ReplyRead) {
            answering = static_cast<int>(i);
            break;
        }
        ShowWaitCursor(false);
        CloseProbePort();
    }
    if (answering < 0) {
        SelectedEntryIndex = -1;
        SeriesIndex = -1;
        SelectedEntryText = lastEntry;
        return;
    }
    SeriesIndex = ModelCodeToSeries(ReplyWord(reply));
    ShowWaitCursor(false);
    CloseProbePort();
    SelectedEntryIndex = answering;
    SelectedEntryText = PortEntryList[static_cast<std::size_t>(answering)];
}

void CClientFlow::BackToManual() {
    AutoDetectFlag = 0;
    SetAutoDetectCheck(false);
    EnableSeriesList(true);
}

void CClientFlow::AutoDetectClicked(bool checked) {
    AutoDetectFlag = checked ? 1 : 0;
    EnableSeriesList(!checked);
    if (!checked) {
        SelectedEntryIndex = EnumerateSerialPorts();
        return;
    }
    ProbeDrive();
    if (SeriesIndex != -1) {
        ShowSeries();
        return;
    }
    ReportDriveNotFound();
    BackToManual();
}

bool CClientFlow::PrepareHandOver() {
    if (AutoDetectFlag != 1) {
        TakeSeries();
        return true;
    }
    ProbeDrive();
    if (SeriesIndex == -1) {
        ReportDriveNotFound();
        return false;
    }
    ShowSeries();
    return true;
}

void CClientFlow::DeviceArrived(const std::string& portName) {
    // While ticked the user relies on the drive found; a new port changes nothing then.
    if (!IsSerialPortName(portName) || AutoDetectFlag != 0)
        return;
    SelectedEntryIndex = EnumerateSerialPorts();
    SetAutoDetectCheck(false);
    EnableAutoDetectCheck(SelectedEntryIndex != -1);
}

void CClientFlow::DeviceRemoved(const std::string& portName) {
    if (!IsSerialPortName(portName))
        return;
    if (Adapter != AdapterKind::None) {
        SelectedEntryIndex = EnumerateSerialPorts();
        if (SelectedEntryIndex != -1 && AutoDetectFlag == 1) {
            ProbeDrive();
            if (SeriesIndex != -1)
                ShowSeries();
            else
                BackToManual();
        }
    }
    if (Adapter == AdapterKind::None) {
        BackToManual();
        EnableAutoDetectCheck(false);
    }
}
