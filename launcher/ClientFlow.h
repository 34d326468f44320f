#pragma once
// What the launcher's dialog does, without the window: the port list and the chosen entry, the
// drive probe, the series found, and the reactions to the check box, to OK and to plugged and
// unplugged devices. The dialog derives from this class and supplies the hooks (ports, the probe's
// exchange, its controls); tests supply them directly.
#include "framework/core/PortEnumeration.h"
#include "launcher/PortEntries.h"

#include <string>
#include <vector>

// Register that holds the drive's model code.
inline constexpr int kModelCodeRegister = 0x171D;

// Series index (position in the series list) of a drive model code: 0x0202 0, 0x0204 1, 0x0502 2,
// 0x0400 3, 0x0302 4, 0x0303 5; -1 for any other code.
int ModelCodeToSeries(int modelCode);

// Whether a device event names a serial port (a tty device) at all.
bool IsSerialPortName(const std::string& name);

class CClientFlow {
public:
    virtual ~CClientFlow() = default;

    // Port entries of the present ports, in port order (AddPortEntry).
    std::vector<std::string> PortEntryList;
    // Index of the chosen series in the series list; -1 = none (no drive or an unknown model).
    int SeriesIndex = 0;
    // 1 while "Auto Connection Detection" is ticked.
    int AutoDetectFlag = 0;
    // The entry chosen by the last enumeration or probe, and its index (-1: no suitable port).
    std::string SelectedEntryText;
    int SelectedEntryIndex = 0;
    // Kind of the chosen entry (or of the entry the probe tried last).
    AdapterKind Adapter = AdapterKind::None;

    // Rebuilds the port list and chooses its first suitable entry; returns that entry's index, or -1
    // (the chosen text then keeps its previous value).
    int EnumerateSerialPorts();
    // Asks each suitable port in list order for the model code; the first that answers is chosen.
    // Sets SeriesIndex (-1 when no port answered or the code is unknown), the chosen entry and index.
    void ProbeDrive();

    // The check box was clicked; `checked` is its new state. A failed detection is reported and
    // returns the dialog to manual mode.
    void AutoDetectClicked(bool checked);
    // OK, before anything is handed over: probes again in automatic mode (false, after reporting it,
    // when no drive answers: the dialog stays open), else takes the series from the list.
    bool PrepareHandOver();
    // A device arrived or went. Events that name no serial port change nothing.
    void DeviceArrived(const std::string& portName);
    void DeviceRemoved(const std::string& portName);

protected:
    // Ports present now.
    virtual std::vector<PortInfo> ListPorts() = 0;
    // Opens the port by name and sets it up for the probe; false when it cannot be opened.
    virtual bool OpenProbePort(const std::string& portName) = 0;
    // One maker exchange on the open port; 2 is a good read reply.
    virtual int ProbeExchange(const char* request, int requestLength, char* reply, int expectedLength) = 0;
    virtual void CloseProbePort() = 0;
    // The wait cursor while a port is being asked.
    virtual void ShowWaitCursor(bool /*wait*/) {}

    // The controls.
    virtual void SetAutoDetectCheck(bool checked) = 0;
    virtual void EnableAutoDetectCheck(bool enable) = 0;
    virtual void EnableSeriesList(bool enable) = 0;
    // Shows SeriesIndex in the series list / takes SeriesIndex from it.
    virtual void ShowSeries() = 0;
    virtual void TakeSeries() = 0;
    // "Servo drive not found!!"
    virtual void ReportDriveNotFound() = 0;

private:
    // Leaves automatic mode: unticked, the series list usable again.
    void BackToManual();
};
