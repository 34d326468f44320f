// The editors driven as a user drives them: the modal hook of the window layer chooses entries,
// ticks boxes, types, steps the spin and presses OK or Cancel; message boxes are answered by the
// scripted responder.
#include "framework/core/MessageSeam.h"
#include "framework/ui/App.h"
#include "framework/ui/Button.h"
#include "framework/ui/ComboBox.h"
#include "framework/ui/Dialog.h"
#include "framework/ui/SpinButtonCtrl.h"
#include "resources/ids/valueedit.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/LabelFit.h"
#include "tests/support/Screenshot.h"
#include "tests/valueedit/TestResources.h"
#include "valueedit/EditorEnvironment.h"
#include "valueedit/ValueEditorRunner.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using ui::Choose;
using ui::Press;
using ui::Selected;
using ui::SelectedText;
using ui::Type;

class EditorDialogs : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureQtApplication();
        EditorEnvironment() = {};
        EditorEnvironment().context = [this] {
            CatalogueContext context;
            context.seriesCode = series;
            context.driveControlMode = controlMode;
            return context;
        };
        EditorEnvironment().visible = [](std::string_view, int) { return true; };
    }
    void TearDown() override {
        CDialog::SetModalHookForTest(nullptr);
        EditorEnvironment() = {};
    }

    // Runs the editor of the request with `user` acting inside it.
    ValueEditOutcome Edit(const ValueEditRequest& request, std::function<void(CDialog&)> user) {
        ui::ModalScript script({}, std::move(user));
        return RunValueEditor(request);
    }

    static ValueEditRequest Request(const std::string& code, int value, int min = 0, int max = 0xFFFF) {
        ValueEditRequest r;
        r.rowCode = code;
        r.title = "Title";
        r.unit = "unit";
        r.rangeText = "0~1";
        r.min = min;
        r.max = max;
        r.value = value;
        return r;
    }

    ScopedResourceModule resources_{ValueEditResources()};
    ScriptedMessages messages_;
    int series = 4;
    int controlMode = 0;
};

} // namespace

TEST_F(EditorDialogs, DigitOptionEditorByUser) {
    // tn830: digits 0 and 3 are listed from 1; changing digit 2 keeps them.
    auto out = Edit(Request("tn830", 0x1012), [](CDialog& d) {
        EXPECT_EQ(Selected(d, IDC_VE_COMBO0), 1);
        EXPECT_EQ(SelectedText(d, IDC_VE_COMBO0 + 3), " 1: Rigidity difference 1");
        EXPECT_FALSE(d.GetDlgItem(IDC_VE_COMBO0 + 1)->IsWindowEnabled());
        EXPECT_EQ(d.GetDlgItemText(IDC_VE_VALUE), "1012");
        EXPECT_EQ(d.GetDlgItemText(6009), "tn830.0");
        Choose(d, IDC_VE_COMBO0 + 2, 1);
        EXPECT_EQ(d.GetDlgItemText(IDC_VE_VALUE), "1112");
        Press(d, IDOK);
    });
    EXPECT_EQ(out.editor, ValueEditorKind::DigitOption);
    EXPECT_EQ(out.value, 0x1112);
    EXPECT_TRUE(out.changed);

    // onC42: OK without a change hands back the value, which is no change.
    out = Edit(Request("onC42", 0x1000), [](CDialog& d) {
        EXPECT_EQ(Selected(d, IDC_VE_COMBO0 + 3), 0);
        Press(d, IDOK);
    });
    EXPECT_EQ(out.value, 0x1000);
    EXPECT_FALSE(out.changed);

    out = Edit(Request("Cn030", 0), [](CDialog& d) {
        Choose(d, IDC_VE_COMBO0, 0xA);
        Choose(d, IDC_VE_COMBO0 + 1, 0);
        Choose(d, IDC_VE_COMBO0 + 2, 3);
        Choose(d, IDC_VE_COMBO0 + 3, 0xF);
        Press(d, IDOK);
    });
    EXPECT_EQ(out.value, 0xF30A);

    controlMode = 12;
    out = Edit(Request("Cn009", 0x0000), [](CDialog& d) {
        EXPECT_FALSE(d.GetDlgItem(IDC_VE_COMBO0 + 3)->IsWindowEnabled());
        Choose(d, IDC_VE_COMBO0, 2);
        Press(d, IDCANCEL);
    });
    EXPECT_FALSE(out.value);
    EXPECT_FALSE(out.changed);
}

TEST_F(EditorDialogs, FixedEditorsByUser) {
    struct Case {
        const char* code;
        int value;
        int max;
        int combo;
        int entry;
        int expected;
    };
    const Case cases[] = {
        // Any change clears the reserved digit 2 of Cn002.
        {"Cn002", 0x0101, 0x1011, 3, 1, 0x1001},  {"Cn015", 0x0021, 0x44, 1, 4, 0x0041},
        {"Cn037", 0x0005, 0x0135, 1, 3, 0x0035},  {"Cn006", 0x3421, 0x0B, 0, 5, 0x0025},
        {"Pn301", 0x7113, 0x7113, 3, 2, 0x2113},  {"Pn316", 0x0000, 0x1111, 0, 1, 0x0001},
        {"Pn317", 0x0000, 0x1225, 2, 2, 0x0200},  {"Pn345", 0xFFFA, 0xFFFA, 0, 4, 0xFFF4},
        {"Hn617", 0x0000, 0x0FFF, 11, 1, 0x0800}, {"En718", 0x0000, 0xFFFF, 13, 1, 0x2000},
        {"Cn031", 0x0113, 0x0113, 0, 2, 0x0112},
    };
    for (const auto& c : cases) {
        auto out = Edit(Request(c.code, c.value, 0, c.max), [&](CDialog& d) {
            Choose(d, IDC_VE_COMBO0 + c.combo, c.entry);
            Press(d, IDOK);
        });
        EXPECT_EQ(out.value, c.expected) << c.code;
        // The same change left with Cancel hands back nothing.
        out = Edit(Request(c.code, c.value, 0, c.max), [&](CDialog& d) {
            Choose(d, IDC_VE_COMBO0 + c.combo, c.entry);
            Press(d, IDCANCEL);
        });
        EXPECT_FALSE(out.value) << c.code;
    }
}

// What the editor fills in when it opens (the digits' range labels, the longest list entries) fits
// beside its neighbours.
TEST_F(EditorDialogs, Cn006TextsFitAsShown) {
    Edit(Request("Cn006", 0x17, 0, 0x0B), [](CDialog& d) {
        ui::Screenshot(d, "value-editor-Cn006");
        EXPECT_EQ(d.GetDlgItemText(IDC_VE_RANGE_DIGIT0), "(0-B)");
        EXPECT_EQ(d.GetDlgItemText(IDC_VE_RANGE_DIGIT1), "(0-B)");
        EXPECT_TRUE(ui::TextsFit(d));
    });
}

TEST_F(EditorDialogs, FixedEditorEnableRules) {
    Edit(Request("Cn002", 0x0101), [](CDialog& d) {
        EXPECT_EQ(SelectedText(d, IDC_VE_COMBO0 + 2), "1: Reserved");
        EXPECT_FALSE(d.GetDlgItem(IDC_VE_COMBO0 + 2)->IsWindowEnabled());
    });
    Edit(Request("Cn037", 0, 0, 0x0105),
         [](CDialog& d) { EXPECT_FALSE(d.GetDlgItem(IDC_VE_COMBO0 + 1)->IsWindowEnabled()); });
    series = 5;
    Edit(Request("Pn316", 0),
         [](CDialog& d) { EXPECT_FALSE(d.GetDlgItem(IDC_VE_COMBO0 + 2)->IsWindowEnabled()); });
    series = 3;
    Edit(Request("Hn617", 0), [](CDialog& d) {
        EXPECT_TRUE(d.GetDlgItem(IDC_VE_COMBO0 + 5)->IsWindowEnabled());
        EXPECT_FALSE(d.GetDlgItem(IDC_VE_COMBO0 + 6)->IsWindowEnabled());
    });
    // En719 shows its bits only, and an OK never counts as a change.
    auto out = Edit(Request("En719", 0x0001), [](CDialog& d) {
        EXPECT_FALSE(d.GetDlgItem(IDC_VE_COMBO0)->IsWindowEnabled());
        Press(d, IDOK);
    });
    EXPECT_FALSE(out.changed);
}

TEST_F(EditorDialogs, PinFunctionHn605) {
    // The document's limits of the pin.
    EditorEnvironment().limits = [](std::string_view, int& min, int& max) {
        min = 0;
        max = 0x012D;
        return true;
    };
    auto out = Edit(Request("Hn605", 0x0103), [](CDialog& d) {
        EXPECT_EQ(SelectedText(d, IDC_VE_COMBO0), "03: PCNT - PI/P Switching\n");
        EXPECT_EQ(SelectedText(d, IDC_VE_COMBO0 + 1), "1: When the pin is open, the function activates.\n");
        EXPECT_EQ(d.GetDlgItemText(IDC_VE_CODE), "Hn605.2");
        Choose(d, IDC_VE_COMBO0, 0x0A);
        Press(d, IDOK);
    });
    EXPECT_EQ(out.value, 0x010A);

    EditorEnvironment().visible = [](std::string_view, int f) { return f != 3; };
    Edit(Request("Hn605", 0x0103), [](CDialog& d) { EXPECT_EQ(Selected(d, IDC_VE_COMBO0), -1); });
}

TEST_F(EditorDialogs, GenericDecimalEntry) {
    // min 1: typing 0 is not corrected; OK says "Out of range!" and stays open.
    auto out = Edit(Request("Cn003", 50, 1, 100), [this](CDialog& d) {
        EXPECT_FALSE(d.GetDlgItem(IDC_VE_HEX)->IsWindowVisible());
        Type(d, IDC_VE_VALUE, "0");
        EXPECT_EQ(d.GetDlgItemText(IDC_VE_VALUE), "0");
        Press(d, IDOK);
        ASSERT_EQ(messages_.Shown().size(), 1u);
        EXPECT_EQ(messages_.Shown()[0].text, "Out of range!");
        Type(d, IDC_VE_VALUE, "75");
        Press(d, IDOK);
    });
    EXPECT_EQ(out.value, 75);

    // min -100: typing 200 puts the previous value back at once.
    out = Edit(Request("Cn003", 5, -100, 100), [](CDialog& d) {
        Type(d, IDC_VE_VALUE, "-20");
        Type(d, IDC_VE_VALUE, "200");
        EXPECT_EQ(d.GetDlgItemText(IDC_VE_VALUE), "-20");
        Press(d, IDOK);
    });
    EXPECT_EQ(out.value, -20);

    // A text that is no number: the exchange's own prompt, and the dialog stays.
    messages_.Clear();
    out = Edit(Request("Cn003", 5, 0, 100), [this](CDialog& d) {
        Type(d, IDC_VE_VALUE, "");
        Press(d, IDOK);
        EXPECT_EQ(messages_.Shown().size(), 1u);
        EXPECT_TRUE(d.IsWindowVisible());
        Press(d, IDCANCEL);
    });
    EXPECT_FALSE(out.value);

    // Pn354: 0 is always allowed, 3 is below the minimum.
    out = Edit(Request("Pn354", 10, 5, 100), [](CDialog& d) {
        Type(d, IDC_VE_VALUE, "3");
        Press(d, IDOK);
        Type(d, IDC_VE_VALUE, "0");
        Press(d, IDOK);
    });
    EXPECT_EQ(out.value, 0);
}

TEST_F(EditorDialogs, ThirtyTwoBitValuesFitAndNeverWrap) {
    // A 32-bit parameter outside the long list keeps its whole range typeable.
    auto out = Edit(Request("Pn321", 0, -2147483647, 2147483647), [](CDialog& d) {
        Type(d, IDC_VE_VALUE, "-2147483647");
        Press(d, IDOK);
    });
    EXPECT_EQ(out.value, -2147483647);

    // A ten-digit text beyond 32 bits never wraps into the range: with min <= 0 it is put back as
    // typed, with min > 0 OK refuses it.
    out = Edit(Request("Pn302", 1, 0, 2147483647), [](CDialog& d) {
        Type(d, IDC_VE_VALUE, "4294967297");
        EXPECT_EQ(d.GetDlgItemText(IDC_VE_VALUE), "1");
        Press(d, IDOK);
    });
    EXPECT_EQ(out.editor, ValueEditorKind::Long);
    EXPECT_EQ(out.value, 1);
    messages_.Clear();
    out = Edit(Request("Pn302", 1, 1, 2147483647), [this](CDialog& d) {
        Type(d, IDC_VE_VALUE, "4294967297");
        Press(d, IDOK);
        EXPECT_EQ(messages_.Shown().size(), 1u);
        Press(d, IDCANCEL);
    });
    EXPECT_FALSE(out.value);
}

TEST_F(EditorDialogs, HexEntryAndSpin) {
    // Hexadecimal entries: a spin step from 0x000F gives 16 and the entry shows it without the
    // spin's "0x".
    struct Case {
        const char* code;
        const char* before;
        const char* after;
    };
    for (const Case& c : {Case{"MAb01", "000000F", "0000010"}, Case{"Cn054", "000F", "0010"}}) {
        auto out = Edit(Request(c.code, 0x0F, 0, 0x7FFFFFFF), [&](CDialog& d) {
            EXPECT_FALSE(d.GetDlgItem(IDC_VE_VALUE)->IsWindowVisible());
            EXPECT_EQ(d.GetDlgItemText(IDC_VE_HEX), c.before);
            dynamic_cast<CSpinButtonCtrl*>(d.GetDlgItem(IDC_VE_SPIN))->Step(1);
            EXPECT_EQ(d.GetDlgItemText(IDC_VE_HEX), c.after);
            Press(d, IDOK);
        });
        EXPECT_EQ(out.value, 16) << c.code;
    }

    ValueEditRequest r = Request("MAb01", 0x0F, 0, 0x7FFFFFFF);
    ValueEditOutcome out;
    // Eight digits above 0x7FFFFFFF are refused as typed.
    out = Edit(r, [](CDialog& d) {
        Type(d, IDC_VE_HEX, "FFFFFFFF");
        Press(d, IDOK);
    });
    EXPECT_EQ(out.value, 0x0F);
}

TEST_F(EditorDialogs, AlarmMask) {
    auto out = Edit(Request("Cn054", 0x0005), [](CDialog& d) {
        EXPECT_EQ(d.IsDlgButtonChecked(IDC_VE_ALARM_BIT0 + 2), 1u);
        Press(d, IDC_VE_ALARM_BIT0 + 2);
        EXPECT_EQ(d.GetDlgItemText(IDC_VE_HEX), "0001");
        EXPECT_EQ(d.IsDlgButtonChecked(IDC_VE_ALARM_BIT0 + 2), 0u);
        Press(d, IDC_VE_ALARM_BIT0 + 2);
        EXPECT_EQ(d.GetDlgItemText(IDC_VE_HEX), "0005");
        Press(d, IDC_VE_ALARM_BIT0 + 1);
        Press(d, IDOK);
    });
    EXPECT_EQ(out.value, 0x0007);

    out = Edit(Request("Cn082", 0, 0, 0x00FF), [](CDialog& d) {
        Type(d, IDC_VE_HEX, "0013");
        EXPECT_EQ(d.IsDlgButtonChecked(IDC_VE_ALARM_BIT0 + 4), 1u);
        Press(d, IDOK);
    });
    EXPECT_EQ(out.value, 0x0013);
}

TEST_F(EditorDialogs, ControlModeBySeries) {
    series = 7;
    auto out = Edit(Request("Cn001", 6, 0, 10), [](CDialog& d) {
        EXPECT_EQ(SelectedText(d, IDC_VE_COMBO0), "6");
        EXPECT_EQ(d.GetDlgItemText(IDC_VE_RANGE), "(2,6,A)");
        Choose(d, IDC_VE_COMBO0, 2);
        Press(d, IDOK);
    });
    EXPECT_EQ(out.value, 10);

    // Other series list min..max and store the chosen number, not its list position.
    series = 4;
    out = Edit(Request("Cn001", 3, 2, 12), [](CDialog& d) {
        EXPECT_EQ(SelectedText(d, IDC_VE_COMBO0), "3");
        Choose(d, IDC_VE_COMBO0, 4);
        Press(d, IDOK);
    });
    EXPECT_EQ(out.value, 6);
    // A value outside the list opens without a selection; OK then keeps it.
    out = Edit(Request("Cn001", 1, 2, 12), [](CDialog& d) {
        EXPECT_EQ(Selected(d, IDC_VE_COMBO0), -1);
        Press(d, IDOK);
    });
    EXPECT_EQ(out.value, 1);

    series = 3;
    out = Edit(Request("Cn001", 6, 0, 13), [](CDialog& d) {
        EXPECT_EQ(d.GetDlgItemText(IDC_VE_RANGE), "6-D");
        Press(d, IDOK);
    });
    EXPECT_EQ(out.value, 13);
}

TEST_F(EditorDialogs, RigidityLevel) {
    auto out = Edit(Request("Cn026", 0x0105), [](CDialog& d) {
        EXPECT_EQ(Selected(d, IDC_VE_COMBO0), 4);
        EXPECT_EQ(d.GetDlgItemText(IDC_VE_GAIN_PN310), "12");
        EXPECT_EQ(d.GetDlgItemText(IDC_VE_GAIN_SN211), "12");
        EXPECT_EQ(d.GetDlgItemText(IDC_VE_GAIN_SN212), "6000");
        EXPECT_EQ(d.GetDlgItemText(IDC_VE_GAIN_CN034), "96");
        Press(d, IDOK);
    });
    EXPECT_EQ(out.value, 5);

    out = Edit(Request("Cn026", 3), [](CDialog& d) {
        Choose(d, IDC_VE_COMBO0, 20);
        EXPECT_EQ(d.GetDlgItemText(IDC_VE_GAIN_CN034), "2000");
        EXPECT_EQ(d.GetDlgItemText(IDC_VE_LEVEL), "21");
        Press(d, IDOK);
    });
    EXPECT_EQ(out.value, 21);
}

TEST_F(EditorDialogs, NothingOpensForEn720To723) {
    int hookRuns = 0;
    for (const char* code : {"En720", "En721", "En722", "En723"}) {
        auto out = Edit(Request(code, 7), [&](CDialog&) { ++hookRuns; });
        EXPECT_EQ(out.editor, ValueEditorKind::None);
        EXPECT_FALSE(out.value);
    }
    EXPECT_EQ(hookRuns, 0);
}
