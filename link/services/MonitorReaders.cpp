#include "link/services/MonitorReaders.h"

#include "catalogue/KeloServoDoc.h"
#include "catalogue/ParamCode.h"
#include "catalogue/RegisterMap.h"
#include "framework/core/Format.h"
#include "link/LinkState.h"
#include "link/services/MonitorTexts.h"

namespace {

constexpr int kDnBase = 0x0F00;
constexpr int kLifeBase = 0x0647;

} // namespace

int CMonitorReaders::ReadAlarmHistory() {
    if (!ConnectedFlag)
        return 0;
    if (!AlarmReadRequest)
        return 1;
    ITransferProgress* progress = services_.Progress;
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
            return 0;
        }
        codes[i] = *code;
        if (progress)
            progress->SetPosition(i + 1, true); // a few steps: each one shown
    }
    if (progress)
        progress->Close();
    AlarmHistory = codes;
    if (AlarmWindow) {
        std::array<std::string, AlarmHistoryCount> texts;
        for (int i = 0; i < AlarmHistoryCount; ++i)
            texts[i] = AlarmNumberText(codes[i]);
        AlarmWindow->ShowAlarmHistory(codes, texts);
    }
    AlarmReadRequest = 0;
    return 1;
}

int CMonitorReaders::RefreshDiagnosticsDisplay() {
    if (!ConnectedFlag)
        return 0;
    const bool contactRead = ContactReadRequest != 0;
    if (contactRead && !services_.ReadDioContactParameters())
        return 0;
    for (int i = 0; i < DiagnosticsItemCount; ++i) {
        const int n = i + 1;
        const std::optional<int> word = services_.ReadDriveRegister16(kDnBase + n);
        if (!word)
            return 0;
        DnValues[i] = ConvertRawParameterValue('d', n, static_cast<int16_t>(*word), Groupdn * 100 + n);
    }
    if (DiagnosticsWindow) {
        DiagnosticsFrame frame;
        for (int i = 0; i < DiagnosticsItemCount; ++i)
            frame.texts[i] = DiagnosticsText(i + 1, DnValues[i]);
        frame.outputRow = OutputBitRow(DnValues[1]);
        frame.inputRow = InputBitRow(DnValues[2]);
        for (int k = 0; k < DiagnosticsOutputCount; ++k)
            frame.outputStates[k] = OutputTerminalOn(DnValues[1], k) ? 1 : 0;
        for (int k = 0; k < DiagnosticsInputCount; ++k)
            frame.inputStates[k] = InputTerminalOn(DnValues[2], k) ? 1 : 0;
        DiagnosticsWindow->SetDiagnostics(frame);
        if (ConnectedFlag) {
            if (contactRead)
                DiagnosticsWindow->ShowIoLabels();
            DiagnosticsWindow->ShowIoStates();
        }
    }
    ContactReadRequest = 0;
    return 1;
}

int CMonitorReaders::RefreshLifeData() {
    if (!ConnectedFlag)
        return 0;
    std::array<int, LifeItemCount> values{};
    for (int i = 0; i < LifeItemCount; ++i) {
        const std::optional<int> value = services_.ReadDriveRegister(kLifeBase + i);
        if (!value)
            return 0;
        values[i] = *value;
    }
    LifeCycleCounter = 0;
    if (LifeWindow)
        LifeWindow->SetLifeValues(values, LifeRepaintFlag);
    return 1;
}

int CMonitorReaders::RefreshMonitorDisplay() {
    if (!ConnectedFlag)
        return 0;
    CKeloServoDoc* doc = services_.Document;
    // The document's slot of a status item, or nullptr for an index it keeps no value for.
    auto slot = [doc](int index) -> int* {
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
    };
    std::array<std::string, MonitorRowCount> texts;
    if (!MonitorListWindow)
        return 1;
    for (int row = 0; row < MonitorRowCount; ++row) {
        const int index = MonitorListWindow->RowItemIndex(row);
        int* value = slot(index);
        if (!value || !MonitorListWindow->RowEnabled(row))
            continue;
        // A failed read leaves the row at the value it had.
        if (const std::optional<int> read = services_.ReadDriveParameter(ParamCodeFromIndex(index)))
            *value = *read;
        texts[row] = MonitorRowText(index, *value);
    }
    if (!ConnectedFlag)
        return 0;
    MonitorListWindow->SetRowTexts(texts);
    return 1;
}
