#include "valueedit/ValueEditorRunner.h"

#include "catalogue/ParamCode.h"
#include "framework/core/MessageSeam.h"
#include "valueedit/Cn002Dlg.h"
#include "valueedit/Cn006Dlg.h"
#include "valueedit/Cn026ComDlg.h"
#include "valueedit/Cn031APDlg.h"
#include "valueedit/EditCn015Dialog.h"
#include "valueedit/EditCn037Dialog.h"
#include "valueedit/EditCn054Dialog.h"
#include "valueedit/EditValueEPDialog.h"
#include "valueedit/FnH01Dlg.h"
#include "valueedit/FnH17Dlg.h"
#include "valueedit/FnP01APDlg.h"
#include "valueedit/FnP65Dlg.h"
#include "valueedit/Para16BITDlg.h"
#include "valueedit/ParaComboDlg.h"
#include "valueedit/Pn316APDlg.h"
#include "valueedit/Pn345Dlg.h"
#include "valueedit/ValueEntryDlg.h"

#include <memory>

namespace {

std::optional<int> RunDigitEditor(CDigitEditorDlg& dlg, const ValueEditRequest& r, unsigned presets) {
    dlg.m_Value = r.value;
    if (presets & PresetCode)
        dlg.m_Code = r.rowCode;
    if (presets & PresetTitle)
        dlg.m_Title = r.title;
    if (presets & PresetRange)
        dlg.m_RangeText = "(" + r.rangeText + ")";
    if (presets & PresetMin)
        dlg.m_Min = r.min;
    if (presets & PresetMax)
        dlg.m_Max = r.max;
    if (dlg.DoModal() != IDOK)
        return std::nullopt;
    return dlg.m_Value;
}

std::optional<int> RunEntryEditor(CValueEntryDlg& dlg, const ValueEditRequest& r) {
    dlg.m_Code = r.rowCode;
    dlg.m_Title = r.title;
    dlg.m_Unit = r.unit;
    dlg.m_RangeText = "(" + r.rangeText + ")";
    dlg.m_Min = r.min;
    dlg.m_Max = r.max;
    dlg.m_Value = r.value;
    if (dlg.DoModal() != IDOK)
        return std::nullopt;
    return dlg.m_Result;
}

std::unique_ptr<CDigitEditorDlg> MakeDigitEditor(ValueEditorKind kind) {
    using K = ValueEditorKind;
    switch (kind) {
    case K::Cn002:
        return std::make_unique<CCn002Dlg>();
    case K::Cn006:
        return std::make_unique<CCn006Dlg>();
    case K::Cn015:
        return std::make_unique<CEditCn015Dialog>();
    case K::Cn031:
        return std::make_unique<CCn031APDlg>();
    case K::Cn037:
        return std::make_unique<CEditCn037Dialog>();
    case K::DigitOption:
        return std::make_unique<CParaComboDlg>();
    case K::Pn301:
        return std::make_unique<CFnP01APDlg>();
    case K::Pn316:
        return std::make_unique<CPn316APDlg>();
    case K::Homing:
        return std::make_unique<CFnP65Dlg>();
    case K::DiControl:
        return std::make_unique<CFnH17Dlg>();
    case K::PinFunction:
        return std::make_unique<CFnH01Dlg>();
    case K::Pn345:
        return std::make_unique<CPn345Dlg>();
    case K::Bits16:
        return std::make_unique<CPara16BITDlg>();
    default:
        return nullptr;
    }
}

std::unique_ptr<CValueEntryDlg> MakeEntryEditor(ValueEditorKind kind) {
    using K = ValueEditorKind;
    switch (kind) {
    case K::Cn005:
        return std::make_unique<CCn005Dialog>();
    case K::AlarmMask:
        return std::make_unique<CEditCn054Dialog>();
    case K::Long:
        return std::make_unique<CEditValueLongDialog>();
    case K::Generic:
        return std::make_unique<CEditValueDialog>();
    default:
        return nullptr;
    }
}

} // namespace

ValueEditOutcome RunValueEditor(const ValueEditRequest& r) {
    ValueEditOutcome outcome;
    const std::string standard = ParamText(r.rowCode);
    outcome.editor = ChooseValueEditor(r.rowCode, standard);
    const unsigned presets = EditorPresets(outcome.editor);
    if (auto digit = MakeDigitEditor(outcome.editor)) {
        outcome.value = RunDigitEditor(*digit, r, presets);
    } else if (auto entry = MakeEntryEditor(outcome.editor)) {
        outcome.value = RunEntryEditor(*entry, r);
    } else if (outcome.editor == ValueEditorKind::ControlMode) {
        CEditValueEPDialog dlg;
        dlg.m_Code = r.rowCode;
        dlg.m_Title = r.title;
        dlg.m_Unit = r.unit;
        dlg.m_Min = r.min;
        dlg.m_Max = r.max;
        dlg.m_Value = r.value;
        if (dlg.DoModal() == IDOK)
            outcome.value = dlg.m_Value;
    } else if (outcome.editor == ValueEditorKind::Cn026) {
        CCn026ComDlg dlg;
        dlg.m_Value = r.value;
        if (dlg.DoModal() == IDOK)
            outcome.value = dlg.m_Value;
    }
    outcome.changed =
        outcome.value && *outcome.value != r.value && EditCountsAsChange(outcome.editor, standard);
    return outcome;
}
