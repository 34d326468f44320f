#pragma once
// The readers of the view's monitor cycle: one call per step refreshes one open monitor window
// (alarm history, diagnostics, life prediction, status list) from the drive. Each reads its
// registers through the register services, keeps the values (in the document where it has a table
// for them, here otherwise) and hands values and texts to its window through a small sink. All
// return 0 at once when ConnectedFlag is 0.
//
// Each refresh is also offered as a step in two halves, so that its reads can be made away from the
// user-interface thread while an acquisition thread holds the line: the step is made on that thread
// (it takes what the windows ask for now), its read talks only to the drive and keeps nothing, and
// the CycleRead it returns shows the result back on the user-interface thread.
#include "link/services/RegisterServices.h"

#include <array>
#include <functional>
#include <string>

constexpr int AlarmHistoryCount = 10;
constexpr int DiagnosticsItemCount = 14;
constexpr int LifeItemCount = 4;
constexpr int MonitorRowCount = 20;

// The alarm window: receives the ten codes and their number texts, then redraws its names.
class IAlarmSink {
public:
    virtual ~IAlarmSink() = default;
    virtual void ShowAlarmHistory(const std::array<int, AlarmHistoryCount>& codes,
                                  const std::array<std::string, AlarmHistoryCount>& numberTexts) = 0;
};

// What the diagnostics window gets from one refresh.
struct DiagnosticsFrame {
    std::array<std::string, DiagnosticsItemCount> texts; // text i belongs to dn(i + 1)
    std::string outputRow;                               // "00000101": R8 .. R1
    std::string inputRow;                                // "000000000011": S12 .. S1
    std::array<int, 8> outputStates{};                   // R1 .. R8
    std::array<int, 12> inputStates{};                   // S1 .. S12
};

class IDiagnosticsSink {
public:
    virtual ~IDiagnosticsSink() = default;
    virtual void SetDiagnostics(const DiagnosticsFrame& frame) = 0;
    // Relabels the terminals from the document's Hn group (after a contact read).
    virtual void ShowIoLabels() = 0;
    virtual void ShowIoStates() = 0;
};

class ILifeSink {
public:
    virtual ~ILifeSink() = default;
    // The four remaining-life values (0.01 %); repaint asks the window to redraw at once.
    virtual void SetLifeValues(const std::array<int, LifeItemCount>& values, bool repaint) = 0;
};

class IMonitorListSink {
public:
    virtual ~IMonitorListSink() = default;
    // Global parameter index of the row's code (Un 1001.., onU 2001..), 0 for a row without a code.
    virtual int RowItemIndex(int row) const = 0;
    // Whether the row is switched on (only those are read).
    virtual bool RowEnabled(int row) const = 0;
    // The new value texts, taken only while the link is up.
    virtual void SetRowTexts(const std::array<std::string, MonitorRowCount>& texts) = 0;
};

// What a step's read brought: good is false where its refresh returns 0; show keeps the values and
// hands them to the window that is open when it runs (user-interface thread only).
struct CycleRead {
    bool good = true;
    std::function<void()> show = [] {};
};
using CycleStep = std::function<CycleRead()>;

// Runs a step's read and shows it at once, on the calling thread: its refresh's result.
int RunStepHere(const CycleStep& step);

class CMonitorReaders {
public:
    explicit CMonitorReaders(CRegisterServices& services) : services_(services) {}

    // View members the readers use.
    int AlarmReadRequest = 0;   // set by the alarm commands, cleared once the history was read
    int ContactReadRequest = 0; // set when the diagnostics window opens, cleared here
    int LifeCycleCounter = 0;   // cycles since the life data were last read
    bool LifeRepaintFlag = false;
    IAlarmSink* AlarmWindow = nullptr;
    IDiagnosticsSink* DiagnosticsWindow = nullptr;
    ILifeSink* LifeWindow = nullptr;
    IMonitorListSink* MonitorListWindow = nullptr;

    // Values read last (the document has no table for these).
    std::array<int, AlarmHistoryCount> AlarmHistory{};
    std::array<int, DiagnosticsItemCount> DnValues{};

    // A01..A10 when AlarmReadRequest is set: 1 when done or nothing was asked, 0 on a failed read
    // (the request stays set, so the next cycle starts again from A01).
    int ReadAlarmHistory();
    // The contact group first when ContactReadRequest is set, then dn01..dn14; 0 when a read fails.
    int RefreshDiagnosticsDisplay();
    // The four life registers; 0 at the first failed read.
    int RefreshLifeData();
    // Every enabled row with a code; a row whose read failed keeps its previous value. 0 only when
    // the link was lost meanwhile.
    int RefreshMonitorDisplay();

    // The refreshes above as steps. Off the user-interface thread the alarm history is read without
    // its progress window, and the contact group (a transfer of that thread) is left for a step made
    // there: its request stays set.
    CycleStep AlarmHistoryStep(bool offThread);
    CycleStep DiagnosticsStep(bool offThread);
    CycleStep LifeDataStep();
    CycleStep MonitorDisplayStep();

    static constexpr const char* AlarmStepText = "Read Alarm Parameter: ";

private:
    CRegisterServices& services_;
};
