#include "valueedit/FixedEditorRules.h"

#include "catalogue/ParamCode.h"
#include "resources/ids/valueedit.h"
#include "valueedit/FixedOptionLists.h"

#include <cstdio>

namespace {

FieldCombo Digit(int n, std::vector<std::string> entries, bool enabled = true) {
    FieldCombo combo;
    combo.controlId = IDC_VE_COMBO0 + n;
    combo.shift = 4 * n;
    combo.mask = 0xF;
    combo.entries = std::move(entries);
    combo.enabled = enabled;
    return combo;
}

FieldCombo Bit(int k, std::vector<std::string> entries, bool enabled = true) {
    FieldCombo combo;
    combo.controlId = IDC_VE_COMBO0 + k;
    combo.shift = k;
    combo.mask = 1;
    combo.entries = std::move(entries);
    combo.enabled = enabled;
    return combo;
}

std::string Hex2(int value) {
    char text[8];
    std::snprintf(text, sizeof text, "%.2X", static_cast<unsigned>(value & 0xFF));
    return text;
}

std::string HnText(int index, const StringLoader& load) {
    return load ? load(kHnTexts.first + index) : "";
}

// The entry of pin function f: the catalogue's description, or the bare code for functions beyond
// the named ones.
std::string PinFunctionEntry(int f, bool input, const StringLoader& load) {
    std::string text = input ? CodeNameText(f, load) : TypeNameText(f, load);
    return text.empty() ? Hex2(f) + ":" : text;
}

FixedLayout PinFunctionLayout(const FixedEditorInput& in, const StringLoader& load) {
    FixedLayout layout;
    const int nn = ParamNumber(in.code);
    const bool input = nn >= 1 && nn <= 12;
    const int pin = input ? nn : (nn <= 16 ? nn - 12 : nn - 14);
    FieldCombo function;
    function.controlId = IDC_VE_COMBO0;
    function.shift = 0;
    function.mask = 0xFF;
    function.entries.push_back(load ? load(62193) : "00: NULL - Not Used");
    function.entryValues.push_back(0);
    for (int f = 1; f <= (in.max & 0xFF); ++f) {
        if (in.visible && !in.visible(in.code, f))
            continue;
        function.entries.push_back(PinFunctionEntry(f, input, load));
        function.entryValues.push_back(f);
    }
    FieldCombo level = Digit(2, LoadOptions(input ? kHnDiLevel : kHnDoLevel, load));
    level.controlId = IDC_VE_COMBO0 + 1;
    layout.composer = DigitComposer({function, level}, in.value);

    std::string pinLabel;
    if (nn <= 16)
        pinLabel = FormatIntText(HnText(input ? 4 : 5, load), {pin});
    else
        pinLabel = ParamTitle(in.code, load);
    layout.texts = {
        {IDC_VE_CODE2, in.code},
        {IDC_VE_FUNCTION_LABEL, FillCode(HnText(2, load), in.code)},
        {IDC_VE_CODE, FillCode(HnText(3, load), in.code)},
        {IDC_VE_PIN_LABEL, " " + pinLabel},
        {IDC_VE_FUNCTION_CAPTION, FormatIntText(HnText(input ? 6 : 7, load), {pin})},
        {IDC_VE_LEVEL_CAPTION, FormatIntText(HnText(input ? 8 : 9, load), {pin})},
        {IDC_VE_RANGE, in.limitRangeText},
        {IDC_VE_RANGE_DIGIT0, "(" + Hex2(in.min) + "-" + Hex2(in.max) + ")"},
    };
    return layout;
}

} // namespace

std::vector<std::string> SplitBeforeBlanks(const std::string& text) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t i = 1; i < text.size(); ++i) {
        if (text[i] == ' ') {
            parts.push_back(text.substr(start, i - start));
            start = i;
        }
    }
    if (start < text.size())
        parts.push_back(text.substr(start));
    return parts;
}

std::string FillCode(const std::string& format, std::string_view code) {
    std::string out;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size() && format[i + 1] == 's') {
            out += code;
            ++i;
        } else {
            out += format[i];
        }
    }
    return out;
}

FixedLayout BuildFixedLayout(ValueEditorKind kind, const FixedEditorInput& in, const StringLoader& load) {
    using K = ValueEditorKind;
    auto opts = [&](const OptionList& list) { return LoadOptions(list, load); };
    FixedLayout layout;
    std::vector<FieldCombo> combos;
    switch (kind) {
    case K::Cn002: {
        const bool sonUsed = in.controlMode != 11 && in.controlMode != 12 && in.controlMode != 13;
        FieldCombo reserved = Digit(2, opts(kCn002Digit2), false);
        reserved.composes = false;
        combos = {Digit(0, opts(kCn002Digit0), sonUsed), Digit(1, opts(kCn002Digit1)), reserved,
                  Digit(3, opts(kCn002Digit3))};
        break;
    }
    case K::Cn031:
        combos = {Digit(0, opts(kCn031Digit0)), Digit(1, opts(kCn031Digit1)), Digit(2, opts(kCn031Digit2)),
                  Digit(3, opts(kCn031Digit3))};
        layout.texts = {{IDC_VE_RANGE, "0000-0113"}};
        break;
    case K::Cn015:
        combos = {Digit(0, opts(kCn015Digit0)), Digit(1, opts(kCn015Digit1))};
        break;
    case K::Cn037:
        combos = {Digit(0, opts(kCn037Digit0)), Digit(1, opts(kCn037Digit1), (in.max & 0xF0) == 0x30),
                  Digit(2, opts(kCn037Digit2)), Digit(3, opts(kCn037Digit3), false)};
        layout.texts = {{IDC_VE_RANGE, "(0000-0135)"}};
        break;
    case K::Cn006: {
        // Twelve monitor choices exist; a larger maximum offers no more than those.
        const int last = std::min(in.max & 0xF, 0xB);
        const OptionList monitors{IDS_VE_CN006_OPTION0, last + 1};
        combos = {Digit(0, opts(monitors)), Digit(1, opts(monitors))};
        char limit[16];
        std::snprintf(limit, sizeof limit, "(0-%X)", static_cast<unsigned>(in.max & 0xF));
        layout.texts = {
            {IDC_VE_RANGE_DIGIT0, limit}, {IDC_VE_RANGE_DIGIT1, limit}, {IDC_VE_RANGE, in.rangeText}};
        break;
    }
    case K::Pn301:
        combos = {Digit(0, opts(kPn301Digit0)), Digit(1, opts(kPn301Digit1)), Digit(2, opts(kPn301Digit2)),
                  Digit(3, SplitBeforeBlanks(load ? load(kPn301Digit3.first) : std::string()))};
        break;
    case K::Pn316:
        combos = {Digit(0, opts(kPn316Digit0)), Digit(1, opts(kPn316Digit1)),
                  Digit(2, opts(kPn316Digit2), in.seriesCode != 5), Digit(3, opts(kPn316Digit3), false)};
        break;
    case K::Homing:
        combos = {Digit(0, opts(kPn317Digit0)), Digit(1, opts(kPn317Digit1)), Digit(2, opts(kPn317Digit2)),
                  Digit(3, opts(kPn317Digit3))};
        layout.texts = {{IDC_VE_CODE2, in.code},
                        {IDC_VE_CODE, in.code + ".0"},
                        {IDC_VE_HEX, in.code + ".1"},
                        {IDC_VE_DIGIT2_LABEL, in.code + ".2"},
                        {IDC_VE_DIGIT3_LABEL, in.code + ".3"},
                        {IDC_VE_RANGE, in.rangeText}};
        break;
    case K::Pn345: {
        auto first = HexEntries();
        first.resize(11);
        combos = {Digit(0, first), Digit(1, HexEntries()), Digit(2, HexEntries()), Digit(3, HexEntries())};
        break;
    }
    case K::PinFunction:
        return PinFunctionLayout(in, load);
    case K::DiControl: {
        const bool control = in.code == "Hn617";
        for (int k = 0; k < 12; ++k)
            combos.push_back(Bit(k, opts(control ? kHn617 : kHn618), !(in.seriesCode == 3 && k >= 6)));
        layout.texts = {{IDC_VE_CODE2, in.code}, {IDC_VE_PIN_LABEL, HnText(control ? 0 : 1, load)}};
        break;
    }
    case K::Bits16: {
        const bool set = in.code == "En718";
        for (int k = 0; k < 16; ++k) {
            const OptionList list = set ? kEn718Bits[k] : kEn719Bits[k];
            const bool reserved = k == 3 || k == 6 || k == 7 || k == 14 || k == 15;
            combos.push_back(Bit(k, opts(list), set && !reserved));
        }
        layout.texts = {{IDC_VE_COMBO_TEXT_CODE, in.code},
                        {IDC_VE_COMBO_TEXT_TITLE, load ? load(set ? kEn718Title : kEn719Title) : ""}};
        break;
    }
    default:
        break;
    }
    layout.composer = DigitComposer(std::move(combos), in.value);
    return layout;
}
