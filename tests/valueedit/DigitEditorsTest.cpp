// The digit and bit editors' layouts and compositions, driven through the pure layer: choose an
// entry in a combo, read the composed value.
#include "resources/ids/valueedit.h"
#include "tests/valueedit/TestResources.h"
#include "valueedit/DigitOptionTable.h"
#include "valueedit/FixedEditorRules.h"

#include <gtest/gtest.h>

namespace {

OptionVisibility AllVisible() {
    return [](std::string_view, int) { return true; };
}

FixedLayout Fixed(ValueEditorKind kind, const std::string& code, int value, int max = 0xFFFF, int series = 4,
                  int controlMode = 0, OptionVisibility visible = AllVisible()) {
    FixedEditorInput in;
    in.code = code;
    in.value = value;
    in.min = 0;
    in.max = max;
    in.seriesCode = series;
    in.controlMode = controlMode;
    in.rangeText = "(0000-FFFF)";
    in.visible = std::move(visible);
    return BuildFixedLayout(kind, in, ValueEditStrings());
}

std::string Shown(const DigitComposer& c, std::size_t combo) {
    const int sel = c.Selection(combo);
    return sel < 0 ? "<none>" : c.Combos()[combo].entries[static_cast<std::size_t>(sel)];
}

} // namespace

TEST(DigitOptionEditor, Tn830ListsFromOne) {
    auto layout = BuildDigitOptions("tn830", 0x1012, AllVisible(), 0, ValueEditStrings());
    auto& c = layout.composer;
    EXPECT_EQ(layout.valueText, "1012");
    EXPECT_EQ(c.Selection(0), 1); // value 2 is the second entry
    EXPECT_EQ(Shown(c, 3), " 1: Rigidity difference 1");
    EXPECT_FALSE(c.Combos()[1].enabled);
    EXPECT_TRUE(c.Combos()[1].entries.empty());
    EXPECT_EQ(layout.descriptions[0], "OFFLine-tuning Load Gain Selection");
    EXPECT_EQ(layout.digitLabels[2], "tn830.2");
    // Changing digit 2 keeps digits 0 and 3 as they were.
    EXPECT_EQ(c.Choose(2, 1), 0x1112);
    EXPECT_EQ(c.Choose(0, 2), 0x1113);
}

TEST(DigitOptionEditor, OnC42Digit3AndUnchangedOk) {
    auto layout = BuildDigitOptions("onC42", 0x1234, AllVisible(), 0, ValueEditStrings());
    EXPECT_EQ(layout.composer.Selection(3), 0);
    EXPECT_EQ(Shown(layout.composer, 3), " 1: Rigidity difference 1");
    EXPECT_EQ(layout.composer.Value(), 0x1234);
    EXPECT_EQ(layout.composer.Choose(3, 0), 0x1234);
}

// Digits whose options are named elsewhere (the wizard pages, the position control window, a
// twin's row) list those names instead of "0".."F"; the value picks its own entry.
TEST(DigitOptionEditor, NamedOptionsWhereTheyAreKnown) {
    const struct {
        const char* code;
        int value;
        std::size_t digit;
        std::size_t entries;
        const char* shown;
    } cases[] = {
        {"Pn315", 0x0002, 0, 3,
         "2: When the digital input contact CLR triggers, cancel position command to interrupt the motor "
         "operation,  and clear the pulse error."},
        {"Pn315", 0x0010, 1, 2, "1: Do not move; the position feedback holds the offset"},
        {"Tn101", 0x0003, 0, 4, "3: Use torque command linear acceleration and deceleration separation"},
        {"Tn101", 0x0010, 1, 2, "1: Use the digital torque command. ( Tn113 )"},
        {"Tn101", 0x0000, 2, 2, "0: Use SPD1, SPD2 to switch the speed limit value."},
        {"Pn381", 0x0200, 2, 3, "2: Cyclic Path"},
        {"onC42", 0x0102, 0, 3, " 2: Enable load inertia gain judgment (Stantard response mode)"},
        {"onC42", 0x0102, 2, 2,
         " 1: Enable automatic tuning model tracking function (when enabled, the friction compensation "
         "function will also be tuned; otherwise, it will not be tuned)"},
    };
    for (const auto& c : cases) {
        auto layout = BuildDigitOptions(c.code, c.value, AllVisible(), 0, ValueEditStrings());
        const FieldCombo& combo = layout.composer.Combos()[c.digit];
        EXPECT_EQ(combo.entries.size(), c.entries) << c.code << "." << c.digit;
        EXPECT_EQ(Shown(layout.composer, c.digit), c.shown) << c.code << "." << c.digit;
        EXPECT_EQ(layout.composer.Value(), c.value) << c.code;
    }
    // Where nothing names the options, the digit keeps "0".."F".
    auto pn315 = BuildDigitOptions("Pn315", 0xA000, AllVisible(), 0, ValueEditStrings());
    EXPECT_EQ(pn315.composer.Combos()[3].entries.size(), 16u);
    EXPECT_EQ(Shown(pn315.composer, 3), "A");
    // Choosing a named option composes the value like any other digit.
    auto tn101 = BuildDigitOptions("Tn101", 0x0000, AllVisible(), 0, ValueEditStrings());
    EXPECT_EQ(tn101.composer.Choose(1, 1), 0x0010);
    EXPECT_EQ(tn101.composer.Choose(0, 2), 0x0012);
}

TEST(DigitOptionEditor, Cn030ComposesFourHexDigits) {
    auto layout = BuildDigitOptions("Cn030", 0, AllVisible(), 0, ValueEditStrings());
    auto& c = layout.composer;
    for (std::size_t n = 0; n < 4; ++n)
        ASSERT_EQ(c.Combos()[n].entries.size(), 16u);
    c.Choose(0, 0xA);
    c.Choose(1, 0);
    c.Choose(2, 3);
    EXPECT_EQ(c.Choose(3, 0xF), 0xF30A);
}

TEST(DigitOptionEditor, VisibilityAndControlMode) {
    const auto load = ValueEditStrings();
    // Digit 3 of Cn009 needs a control mode other than 11, 12 and 13.
    for (int mode : {11, 12, 13})
        EXPECT_FALSE(BuildDigitOptions("Cn009", 0, AllVisible(), mode, load).composer.Combos()[3].enabled)
            << mode;
    EXPECT_TRUE(BuildDigitOptions("Cn009", 0, AllVisible(), 0, load).composer.Combos()[3].enabled);
    // "If visible" digits follow the document's answer for (code, digit).
    auto hideDigit1 = [](std::string_view code, int n) { return !(code == "Cn009" && n == 1); };
    auto layout = BuildDigitOptions("Cn009", 0x0120, hideDigit1, 0, load);
    EXPECT_TRUE(layout.composer.Combos()[0].enabled);
    EXPECT_FALSE(layout.composer.Combos()[1].enabled);
    EXPECT_TRUE(layout.composer.Combos()[2].enabled);
    // A hidden digit keeps its value in the composition.
    EXPECT_EQ(layout.composer.Choose(0, 2), 0x0122);
    // Pn314 shares the row of Cn004.
    EXPECT_EQ(BuildDigitOptions("Pn314", 1, AllVisible(), 0, load).composer.Combos()[0].entries.size(), 2u);
    // An unknown code: four empty, disabled combos.
    auto unknown = BuildDigitOptions("Xx999", 0x12, AllVisible(), 0, load);
    for (const auto& combo : unknown.composer.Combos())
        EXPECT_FALSE(combo.enabled);
    EXPECT_EQ(unknown.valueText, "0012");
}

TEST(DigitOptionEditor, DigitWithoutEntryShowsNoSelectionAndKeepsValue) {
    auto layout = BuildDigitOptions("Cn008", 0x0009, AllVisible(), 0, ValueEditStrings());
    EXPECT_EQ(layout.composer.Selection(0), -1);
    EXPECT_EQ(layout.composer.Value(), 9);
}

TEST(FixedEditors, Compositions) {
    struct Case {
        ValueEditorKind kind;
        const char* code;
        int value;
        int combo;
        int entry;
        int expected;
    };
    const Case cases[] = {
        // The reserved digit 2 of Cn002 is cleared by any change.
        {ValueEditorKind::Cn002, "Cn002", 0x0101, 0, 0, 0x0000},
        {ValueEditorKind::Cn002, "Cn002", 0x1101, 1, 0, 0x1001},
        {ValueEditorKind::Cn015, "Cn015", 0x0F21, 1, 4, 0x0041},
        {ValueEditorKind::Cn031, "Cn031", 0x0113, 0, 2, 0x0112},
        {ValueEditorKind::Pn301, "Pn301", 0x7113, 3, 2, 0x2113},
        {ValueEditorKind::Homing, "Pn317", 0x0000, 2, 2, 0x0200},
        {ValueEditorKind::Pn345, "Pn345", 0xFFFA, 0, 4, 0xFFF4},
        {ValueEditorKind::DiControl, "Hn617", 0x0000, 11, 1, 0x0800},
        {ValueEditorKind::Bits16, "En718", 0x0001, 0, 0, 0x0000},
        {ValueEditorKind::Bits16, "En718", 0x0000, 13, 1, 0x2000},
    };
    for (const auto& c : cases) {
        auto layout = Fixed(c.kind, c.code, c.value);
        EXPECT_EQ(layout.composer.Choose(static_cast<std::size_t>(c.combo), c.entry), c.expected) << c.code;
    }
}

TEST(FixedEditors, Cn002ReservedDigitShownButDisabled) {
    auto layout = Fixed(ValueEditorKind::Cn002, "Cn002", 0x0101);
    EXPECT_EQ(Shown(layout.composer, 2), "1: Reserved");
    EXPECT_FALSE(layout.composer.Combos()[2].enabled);
    EXPECT_FALSE(Fixed(ValueEditorKind::Cn002, "Cn002", 0, 0xFFFF, 4, 12).composer.Combos()[0].enabled);
}

TEST(FixedEditors, EnableRules) {
    EXPECT_TRUE(Fixed(ValueEditorKind::Cn037, "Cn037", 0, 0x0135).composer.Combos()[1].enabled);
    EXPECT_FALSE(Fixed(ValueEditorKind::Cn037, "Cn037", 0, 0x0105).composer.Combos()[1].enabled);
    EXPECT_FALSE(Fixed(ValueEditorKind::Cn037, "Cn037", 0, 0x0135).composer.Combos()[3].enabled);
    EXPECT_FALSE(Fixed(ValueEditorKind::Pn316, "Pn316", 0, 0x1111, 5).composer.Combos()[2].enabled);
    EXPECT_TRUE(Fixed(ValueEditorKind::Pn316, "Pn316", 0, 0x1111, 4).composer.Combos()[2].enabled);
    auto hn617 = Fixed(ValueEditorKind::DiControl, "Hn617", 0, 0x0FFF, 3);
    for (int k = 0; k < 12; ++k)
        EXPECT_EQ(hn617.composer.Combos()[static_cast<std::size_t>(k)].enabled, k < 6) << k;
    auto en719 = Fixed(ValueEditorKind::Bits16, "En719", 0x0003);
    for (const auto& combo : en719.composer.Combos())
        EXPECT_FALSE(combo.enabled);
    auto en718 = Fixed(ValueEditorKind::Bits16, "En718", 0);
    EXPECT_EQ(en718.composer.Combos()[11].entries.size(), 1u);
    EXPECT_TRUE(en718.composer.Combos()[3].entries.empty());
}

TEST(FixedEditors, Pn301FilterListSplitBeforeBlanks) {
    auto layout = Fixed(ValueEditorKind::Pn301, "Pn301", 0);
    const auto& entries = layout.composer.Combos()[3].entries;
    ASSERT_EQ(entries.size(), 8u);
    EXPECT_EQ(entries[0], " 0:4500KHz\n");
    EXPECT_EQ(entries[7], " 7:40KHz");
}

TEST(FixedEditors, Cn006KeepsUpperDigitsUntilChanged) {
    auto layout = Fixed(ValueEditorKind::Cn006, "Cn006", 0x3421, 0x0B);
    auto& c = layout.composer;
    ASSERT_EQ(c.Combos()[0].entries.size(), 12u);
    EXPECT_EQ(c.Combos()[0].entries[11], "B: Torque Feedback Detection (+10V/3.5x rated torque)");
    EXPECT_EQ(c.Value(), 0x3421);
    EXPECT_EQ(c.Choose(0, 5), 0x0025);
    auto small = Fixed(ValueEditorKind::Cn006, "Cn006", 0, 0x03);
    EXPECT_EQ(small.composer.Combos()[1].entries.size(), 4u);
    EXPECT_EQ(small.texts.front().second, "(0-3)");
}

TEST(FixedEditors, PinFunctionHn605) {
    // A series in which function 0A is offered.
    auto layout = Fixed(ValueEditorKind::PinFunction, "Hn605", 0x0103, 0x012D);
    auto& c = layout.composer;
    EXPECT_EQ(Shown(c, 0), "03: PCNT - PI/P Switching\n");
    EXPECT_EQ(Shown(c, 1), "1: When the pin is open, the function activates.\n");
    const int spd1 = c.Combos()[0].EntryOfField(0x0A);
    ASSERT_GE(spd1, 0);
    EXPECT_EQ(c.Choose(0, spd1), 0x010A);
    // Texts set at start.
    auto text = [&](int id) {
        for (const auto& [static_id, value] : layout.texts)
            if (static_id == id)
                return value;
        return std::string("<missing>");
    };
    EXPECT_EQ(text(IDC_VE_FUNCTION_LABEL), "Hn605.1 && Hn605.0");
    EXPECT_EQ(text(IDC_VE_CODE), "Hn605.2");
    EXPECT_EQ(text(IDC_VE_PIN_LABEL), " DI-5 Pin Function Planning");
    EXPECT_EQ(text(IDC_VE_RANGE_DIGIT0), "(00-2D)");
}

TEST(FixedEditors, PinFunctionHiddenForSeriesOpensWithoutSelection) {
    auto hide3 = [](std::string_view, int f) { return f != 3; };
    auto layout = Fixed(ValueEditorKind::PinFunction, "Hn605", 0x0003, 0x012D, 5, 0, hide3);
    EXPECT_EQ(layout.composer.Selection(0), -1);
    EXPECT_EQ(layout.composer.Combos()[0].entries.size(), 45u); // NULL + 45 - the hidden one
    // An output pin lists the output functions and drops digit 3 on a change.
    auto out = Fixed(ValueEditorKind::PinFunction, "Hn614", 0x1102, 0x0121);
    EXPECT_EQ(Shown(out.composer, 0), "02: ALM - Servo Abnormality\n");
    EXPECT_EQ(out.composer.Choose(1, 0), 0x0002);
}
