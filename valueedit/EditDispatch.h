#pragma once
// Which special editor a parameter code opens, and which members the caller gives it. Pure: the
// parameter editor calls ChooseValueEditor with the row's code text and runs the editor it names.
#include <string_view>

enum class ValueEditorKind {
    None,        // the command opens nothing
    Cn002,       // CCn002Dlg
    Cn005,       // CCn005Dialog
    Cn006,       // CCn006Dlg
    Cn015,       // CEditCn015Dialog
    Cn026,       // CCn026ComDlg
    Cn031,       // CCn031APDlg
    Cn037,       // CEditCn037Dialog
    DigitOption, // CParaComboDlg
    Pn301,       // CFnP01APDlg
    Pn316,       // CPn316APDlg
    Homing,      // CFnP65Dlg (Pn317, Pn365)
    DiControl,   // CFnH17Dlg (Hn617, Hn618)
    PinFunction, // CFnH01Dlg
    ControlMode, // CEditValueEPDialog (Cn001)
    AlarmMask,   // CEditCn054Dialog (Cn054, Cn082)
    Pn345,       // CPn345Dlg
    Long,        // CEditValueLongDialog
    Bits16,      // CPara16BITDlg (En718, En719)
    Generic,     // CEditValueDialog
};

// The members an editor receives besides the value.
enum : unsigned {
    PresetCode = 1u << 0,
    PresetTitle = 1u << 1,
    PresetUnit = 1u << 2,
    PresetRange = 1u << 3, // "(" + range text + ")"
    PresetMin = 1u << 4,
    PresetMax = 1u << 5,
};
unsigned EditorPresets(ValueEditorKind kind);

// The editor of a row. rowCode is the code as the row shows it, standardCode the same code in its
// standard form (ParamText); Cn030, onC18, ono23 and onE01 are recognised by the row's own text, every
// other test uses the standard form. The first matching rule wins.
ValueEditorKind ChooseValueEditor(std::string_view rowCode, std::string_view standardCode);
// The same with the catalogue's standard form of the row's code.
ValueEditorKind ChooseValueEditor(std::string_view rowCode);

// Whether the codes belong to the lists the dispatch tests.
bool IsDigitOptionCode(std::string_view code);
bool IsLongValueCode(std::string_view code);

// Whether an accepted edit of this code may count as a change (the status word En719 is shown only).
bool EditCountsAsChange(ValueEditorKind kind, std::string_view standardCode);
