#include "shell/DiagnosticsLabels.h"

#include "catalogue/KeloServoDoc.h"
#include "catalogue/ParamTexts.h"
#include "framework/core/Format.h"

int InputAssignmentNumber(int input) {
    return 1 + input;
}

int OutputAssignmentNumber(int output) {
    return output < 4 ? 13 + output : 19 + (output - 4);
}

std::string InputTerminalLabel(int input, int setting) {
    return Format("S%d: ", input + 1) + DiFunctionName(PinFunctionNumber(setting));
}

std::string OutputTerminalLabel(int output, int setting) {
    return Format("R%d: ", output + 1) + DoFunctionName(PinFunctionNumber(setting));
}

DiagnosticsTerminalLabels TerminalLabels(const std::function<int(int hnNumber)>& hnValue) {
    DiagnosticsTerminalLabels labels;
    for (int i = 0; i < DiagInputCount; ++i)
        labels.inputs[i] = InputTerminalLabel(i, hnValue(InputAssignmentNumber(i)));
    for (int j = 0; j < DiagOutputCount; ++j)
        labels.outputs[j] = OutputTerminalLabel(j, hnValue(OutputAssignmentNumber(j)));
    return labels;
}

DiagnosticsTerminalLabels TerminalLabels(const CKeloServoDoc& doc) {
    return TerminalLabels([&doc](int number) { return doc.Value(DocHn, number); });
}

TerminalStateLook TerminalState(int state) {
    if (state != 0)
        return {"ON", RGB(0, 0, 0), DiagOnBrush};
    return {"OFF", RGB(255, 255, 255), DiagOffBrush};
}

DiagnosticsStateRows TerminalStates(const std::array<int, DiagStateCount>& states) {
    DiagnosticsStateRows rows;
    for (int i = 0; i < DiagInputCount; ++i)
        rows.inputs[i] = TerminalState(states[i]);
    for (int j = 0; j < DiagOutputCount; ++j)
        rows.outputs[j] = TerminalState(states[DiagFirstOutputState + j]);
    return rows;
}
