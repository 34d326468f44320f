#include "valueedit/EditDispatch.h"

#include <gtest/gtest.h>

#include <string>

using K = ValueEditorKind;

TEST(EditDispatch, EveryNamedCodeReachesItsEditor) {
    struct Case {
        const char* code;
        K kind;
    };
    const Case cases[] = {
        {"Cn002", K::Cn002},
        {"Cn005", K::Cn005},
        {"Cn006", K::Cn006},
        {"Cn015", K::Cn015},
        {"Cn026", K::Cn026},
        {"Cn031", K::Cn031},
        {"Cn037", K::Cn037},
        {"Cn078", K::DigitOption},
        {"Tn101", K::DigitOption},
        {"Pn301", K::Pn301},
        {"Pn316", K::Pn316},
        {"Pn317", K::Homing},
        {"Pn365", K::Homing},
        {"Hn617", K::DiControl},
        {"Hn618", K::DiControl},
        {"Hn601", K::PinFunction},
        {"Hn605", K::PinFunction},
        {"Hn616", K::PinFunction},
        {"Hn619", K::PinFunction},
        {"Hn622", K::PinFunction},
        // The last two of the group fall through to the generic editor.
        {"Hn623", K::Generic},
        {"Hn624", K::Generic},
        {"Cn001", K::ControlMode},
        {"Cn054", K::AlarmMask},
        {"Cn082", K::AlarmMask},
        {"Pn345", K::Pn345},
        {"En718", K::Bits16},
        {"En719", K::Bits16},
        {"En720", K::None},
        {"En721", K::None},
        {"En722", K::None},
        {"En723", K::None},
        // Plain numbers, and 32-bit parameters the long list leaves out.
        {"Cn003", K::Generic},
        {"Pn321", K::Generic},
        {"Pn331", K::Generic},
        {"Pn354", K::Generic},
        {"MAb05", K::Generic},
        {"onE05", K::Generic},
        {"En700", K::Generic},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ChooseValueEditor(c.code, c.code), c.kind) << c.code;

    for (const char* code :
         {"EC902", "Cn008", "Cn009", "Cn030", "onC18", "ono23", "onE01", "Cn084", "Cn090", "Cn097",
          "Sn205", "Pn314", "Pn315", "Pn332", "Pn346", "onT07", "onT08", "onT10", "onT14", "onS02",
          "onS06", "onS08", "onS11", "onC02", "onC09", "onC12", "onC30", "onC37", "onC42", "onC54",
          "onC59", "onC60", "onC19", "onC61", "ono19", "ono24", "ono26", "onA01", "Pn350", "Cn041",
          "tn830", "tn832", "tn837", "tn845", "Cn004", "Cn091", "En709", "Pn381"})
        EXPECT_EQ(ChooseValueEditor(code, code), K::DigitOption) << code;

    for (const char* code :
         {"Pn302", "Pn303", "Pn304", "Pn305", "Pn306", "Pn307", "Pn347", "Pn357", "Pn358", "Pn359",
          "Cn019", "Cn024", "En701", "En702", "En703", "En704", "En705", "En706", "En710", "En711",
          "En712", "En713", "En717", "Pn352", "EC907", "EC908", "EC926", "EC928", "EC932"})
        EXPECT_EQ(ChooseValueEditor(code, code), K::Long) << code;
}

TEST(EditDispatch, RowTextComparisons) {
    // Four codes are recognised by the row's own text, all others by the standard form.
    for (const std::string std : {"Cn030", "onC18", "ono23", "onE01"}) {
        const std::string row = "Fx" + std.substr(2);
        EXPECT_EQ(ChooseValueEditor(row, std), K::Generic) << std;
        EXPECT_EQ(ChooseValueEditor(std, std), K::DigitOption) << std;
    }
    EXPECT_EQ(ChooseValueEditor("FnC08", "Cn008"), K::DigitOption);
    EXPECT_EQ(ChooseValueEditor("FnC02", "Cn002"), K::Cn002);
    EXPECT_EQ(ChooseValueEditor("FnL05", "Hn605"), K::PinFunction);
    // The catalogue's standard form of a normal code is the code itself.
    EXPECT_EQ(ChooseValueEditor("Cn030"), K::DigitOption);
    EXPECT_EQ(ChooseValueEditor("En720"), K::None);
}

TEST(EditDispatch, PresetsAndChangeRule) {
    EXPECT_EQ(EditorPresets(K::Cn002), 0u);
    EXPECT_EQ(EditorPresets(K::Cn006), PresetRange | PresetMax);
    EXPECT_EQ(EditorPresets(K::Cn037), PresetMin | PresetMax);
    EXPECT_EQ(EditorPresets(K::ControlMode), PresetCode | PresetTitle | PresetUnit | PresetMin | PresetMax);
    EXPECT_EQ(EditorPresets(K::Homing), PresetCode | PresetRange);
    EXPECT_TRUE(EditCountsAsChange(K::Bits16, "En718"));
    EXPECT_FALSE(EditCountsAsChange(K::Bits16, "En719"));
    EXPECT_FALSE(EditCountsAsChange(K::None, "En720"));
}
