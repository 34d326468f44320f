#include "valueedit/EditDispatch.h"

#include "catalogue/ParamCode.h"

#include <algorithm>
#include <array>
#include <string>

namespace {

// Codes of the digit-option editor that the late rule reaches (Cn078 and Tn101 are taken early).
constexpr std::array<std::string_view, 48> kDigitOptionCodes = {
    "EC902", "Cn008", "Cn009", "Cn030", "onC18", "ono23", "onE01", "Cn084", "Cn090", "Cn097",
    "Sn205", "Pn314", "Pn315", "Pn332", "Pn346", "onT07", "onT08", "onT10", "onT14", "onS02",
    "onS06", "onS08", "onS11", "onC02", "onC09", "onC12", "onC30", "onC37", "onC42", "onC54",
    "onC59", "onC60", "onC19", "onC61", "ono19", "ono24", "ono26", "onA01", "Pn350", "Cn041",
    "tn830", "tn832", "tn837", "tn845", "Cn004", "Cn091", "En709", "Pn381"};

// Compared with the row's own text rather than the standard form.
constexpr std::array<std::string_view, 4> kRowTextCodes = {"Cn030", "onC18", "ono23", "onE01"};

constexpr std::array<std::string_view, 29> kLongCodes = {
    "Pn302", "Pn303", "Pn304", "Pn305", "Pn306", "Pn307", "Pn347", "Pn357", "Pn358", "Pn359",
    "Cn019", "Cn024", "En701", "En702", "En703", "En704", "En705", "En706", "En710", "En711",
    "En712", "En713", "En717", "Pn352", "EC907", "EC908", "EC926", "EC928", "EC932"};

template <std::size_t N> bool Contains(const std::array<std::string_view, N>& list, std::string_view code) {
    return std::find(list.begin(), list.end(), code) != list.end();
}

bool IsAny(std::string_view code, std::initializer_list<std::string_view> codes) {
    return std::find(codes.begin(), codes.end(), code) != codes.end();
}

} // namespace

bool IsDigitOptionCode(std::string_view code) {
    return Contains(kDigitOptionCodes, code) || IsAny(code, {"Cn078", "Tn101"});
}

bool IsLongValueCode(std::string_view code) {
    return Contains(kLongCodes, code);
}

ValueEditorKind ChooseValueEditor(std::string_view rowCode, std::string_view code) {
    using K = ValueEditorKind;
    if (code == "Cn002")
        return K::Cn002;
    if (code == "Cn005")
        return K::Cn005;
    if (code == "Cn006")
        return K::Cn006;
    if (code == "Cn015")
        return K::Cn015;
    if (code == "Cn026")
        return K::Cn026;
    if (code == "Cn031")
        return K::Cn031;
    if (code == "Cn037")
        return K::Cn037;
    if (IsAny(code, {"Cn078", "Tn101"}))
        return K::DigitOption;
    if (code == "Pn301")
        return K::Pn301;
    if (code == "Pn316")
        return K::Pn316;
    if (IsAny(code, {"Pn317", "Pn365"}))
        return K::Homing;
    const bool hnSkipped = IsAny(code, {"Hn623", "Hn624"});
    if (!hnSkipped) {
        if (IsAny(code, {"Hn617", "Hn618"}))
            return K::DiControl;
        if (!code.empty() && code.front() == 'H')
            return K::PinFunction;
    }
    if (code == "Cn001")
        return K::ControlMode;
    if (IsAny(code, {"Cn054", "Cn082"}))
        return K::AlarmMask;
    if (code == "Pn345")
        return K::Pn345;
    const bool byRowText = Contains(kRowTextCodes, rowCode);
    const bool standardOnly = Contains(kRowTextCodes, code);
    if (byRowText || (Contains(kDigitOptionCodes, code) && !standardOnly))
        return K::DigitOption;
    if (Contains(kLongCodes, code))
        return K::Long;
    if (IsAny(code, {"En718", "En719"}))
        return K::Bits16;
    if (IsAny(code, {"En720", "En721", "En722", "En723"}))
        return K::None;
    return K::Generic;
}

ValueEditorKind ChooseValueEditor(std::string_view rowCode) {
    const std::string standard = ParamText(rowCode);
    return ChooseValueEditor(rowCode, standard);
}

unsigned EditorPresets(ValueEditorKind kind) {
    using K = ValueEditorKind;
    constexpr unsigned kNumeric = PresetCode | PresetTitle | PresetUnit | PresetRange | PresetMin | PresetMax;
    switch (kind) {
    case K::Cn005:
    case K::AlarmMask:
    case K::Long:
    case K::Generic:
        return kNumeric;
    case K::Cn006:
        return PresetRange | PresetMax;
    case K::Cn037:
        return PresetMin | PresetMax;
    case K::DigitOption:
        return PresetCode | PresetTitle | PresetRange;
    case K::Homing:
        return PresetCode | PresetRange;
    case K::DiControl:
    case K::PinFunction:
    case K::Bits16:
        return PresetCode;
    case K::ControlMode:
        return PresetCode | PresetTitle | PresetUnit | PresetMin | PresetMax;
    default:
        return 0;
    }
}

bool EditCountsAsChange(ValueEditorKind kind, std::string_view standardCode) {
    if (kind == ValueEditorKind::None)
        return false;
    return kind != ValueEditorKind::Bits16 || standardCode == "En718";
}
