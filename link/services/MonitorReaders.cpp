#include "link/services/MonitorReaders.h"

#include "catalogue/KeloServoDoc.h"
#include "catalogue/ParamCode.h"
#include "catalogue/RegisterMap.h"
#include "framework/core/Format.h"
#include "link/LinkState.h"
#include "link/services/MonitorTexts.h"

#include <optional>

namespace {

constexpr int kDnBase = 0x0F00;
constexpr int kLifeBase = 0x0647;

// The document's slot of a status item, or nullptr for an index it keeps no value for.
int* DocumentSlot(CKeloServoDoc* doc, int index) {
    if (!doc)
        return nullptr;
    const int number = index % 100;
    if (number < 1)
        return nullptr;
    if (index / 100 == GroupUn && number <= DocUnCount)
        return &doc->m_Un[number - 1];
    if (index / 100 == GrouponU && number <= DocOnUCount)
        return &doc->m_OnU[number - 1];
    return nullptr;
}

CycleRead Failed() {
    return {false, [] {}};
}

} // namespace

int RunStepHere(const CycleStep& step) {
    const CycleRead read = step();
    read.show();
    return read.good ? 1 : 0;
}

int CMonitorReaders::ReadAlarmHistory() {
    return RunStepHere(AlarmHistoryStep(false));
}

int CMonitorReaders::RefreshDiagnosticsDisplay() {
    return RunStepHere(DiagnosticsStep(false));
}

int CMonitorReaders::RefreshLifeData() {
    return RunStepHere(LifeDataStep());
}

int CMonitorReaders::RefreshMonitorDisplay() {
    return RunStepHere(MonitorDisplayStep());
}

CycleStep CMonitorReaders::AlarmHistoryStep(bool offThread) {
    const bool requested = AlarmReadRequest != 0;
    ITransferProgress* progress = offThread ? nullptr : services_.Progress;
    return [this, requested, progress]() -> CycleRead {
        if (!ConnectedFlag)
            return Failed();
        if (!requested)
            return {};
        if (progress)
            progress->Open(ProgressDialogResource, AlarmHistoryCount, std::string());
        std::array<int, AlarmHistoryCount> codes{};
        for (int i = 0; i < AlarmHistoryCount; ++i) {
            const int n = i + 1;
            if (progress)
                progress->SetStepText(AlarmStepText + (i == 0 ? std::string("AL") : Format("A%d", i)));
            const std::optional<uint16_t> address = ParameterRegisterAddress('A', n, GroupAL * 100 + n);
            const std::optional<int> code = address ? services_.ReadDriveRegister(*address) : std::nullopt;
            if (!code) {
                if (progress)
                    progress->Close();
                return Failed(); // the request stays set: the next cycle starts again from A01
            }
            codes[i] = *code;
            if (progress)
                progress->SetPosition(i + 1, true); // a few steps: each one shown
        }
        if (progress)
            progress->Close();
        return {true, [this, codes] {
                    AlarmHistory = codes;
                    if (AlarmWindow) {
                        std::array<std::string, AlarmHistoryCount> texts;
                        for (int i = 0; i < AlarmHistoryCount; ++i)
                            texts[i] = AlarmNumberText(codes[i]);
                        AlarmWindow->ShowAlarmHistory(codes, texts);
                    }
                    AlarmReadRequest = 0;
                }};
    };
}

CycleStep CMonitorReaders::DiagnosticsStep(bool offThread) {
    const bool contactRead = ContactReadRequest != 0 && !offThread;
    return [this, contactRead]() -> CycleRead {
        if (!ConnectedFlag)
            return Failed();
        if (contactRead && !services_.ReadDioContactParameters())
            return Failed();
        std::array<int, DiagnosticsItemCount> values{};
        for (int i = 0; i < DiagnosticsItemCount; ++i) {
            const int n = i + 1;
            const std::optional<int> word = services_.ReadDriveRegister16(kDnBase + n);
            if (!word)
                return Failed();
            values[i] = ConvertRawParameterValue('d', n, static_cast<int16_t>(*word), Groupdn * 100 + n);
        }
        return {true, [this, values, contactRead] {
                    DnValues = values;
                    if (DiagnosticsWindow) {
                        DiagnosticsFrame frame;
                        for (int i = 0; i < DiagnosticsItemCount; ++i)
                            frame.texts[i] = DiagnosticsText(i + 1, values[i]);
                        frame.outputRow = OutputBitRow(values[1]);
                        frame.inputRow = InputBitRow(values[2]);
                        for (int k = 0; k < DiagnosticsOutputCount; ++k)
                            frame.outputStates[k] = OutputTerminalOn(values[1], k) ? 1 : 0;
                        for (int k = 0; k < DiagnosticsInputCount; ++k)
                            frame.inputStates[k] = InputTerminalOn(values[2], k) ? 1 : 0;
                        DiagnosticsWindow->SetDiagnostics(frame);
                        if (ConnectedFlag) {
                            if (contactRead)
                                DiagnosticsWindow->ShowIoLabels();
                            DiagnosticsWindow->ShowIoStates();
                        }
                    }
                    if (contactRead)
                        ContactReadRequest = 0;
                }};
    };
}

CycleStep CMonitorReaders::LifeDataStep() {
    return [this]() -> CycleRead {
        if (!ConnectedFlag)
            return Failed();
        std::array<int, LifeItemCount> values{};
        for (int i = 0; i < LifeItemCount; ++i) {
            const std::optional<int> value = services_.ReadDriveRegister(kLifeBase + i);
            if (!value)
                return Failed();
            values[i] = *value;
        }
        return {true, [this, values] {
                    LifeCycleCounter = 0;
                    if (LifeWindow)
                        LifeWindow->SetLifeValues(values, LifeRepaintFlag);
                }};
    };
}

CycleStep CMonitorReaders::MonitorDisplayStep() {
    // The rows to read as the window lists them now: an enabled row whose item the document keeps.
    std::array<int, MonitorRowCount> items{};
    if (MonitorListWindow) {
        for (int row = 0; row < MonitorRowCount; ++row) {
            const int index = MonitorListWindow->RowItemIndex(row);
            if (DocumentSlot(services_.Document, index) && MonitorListWindow->RowEnabled(row))
                items[row] = index;
        }
    }
    const bool window = MonitorListWindow != nullptr;
    return [this, items, window]() -> CycleRead {
        if (!ConnectedFlag)
            return Failed();
        if (!window)
            return {};
        std::array<std::optional<int>, MonitorRowCount> values;
        for (int row = 0; row < MonitorRowCount; ++row)
            if (items[row])
                values[row] = services_.ReadDriveParameter(ParamCodeFromIndex(items[row]));
        if (!ConnectedFlag)
            return Failed(); // the link was lost meanwhile
        return {true, [this, items, values] {
                    if (!MonitorListWindow)
                        return;
                    std::array<std::string, MonitorRowCount> texts;
                    for (int row = 0; row < MonitorRowCount; ++row) {
                        // A row given another item meanwhile waits for its own read.
                        int* value = DocumentSlot(services_.Document, items[row]);
                        if (!items[row] || !value || MonitorListWindow->RowItemIndex(row) != items[row])
                            continue;
                        // A failed read leaves the row at the value it had.
                        if (values[row])
                            *value = *values[row];
                        texts[row] = MonitorRowText(items[row], *value);
                    }
                    if (ConnectedFlag)
                        MonitorListWindow->SetRowTexts(texts);
                }};
    };
}
