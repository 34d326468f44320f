// Every text the program shows fits its control at the default font.
#include "ShellUiFixture.h"

#include "framework/core/ResourceModule.h"
#include "framework/ui/Button.h"
#include "framework/ui/DC.h"
#include "framework/ui/Dialog.h"
#include "framework/ui/TextFit.h"
#include "tests/support/LabelFit.h"
#include "tests/support/WindowTestHome.h"

#include <gtest/gtest.h>

#include <QAbstractButton>

#include <algorithm>
#include <cctype>
#include <functional>
#include <set>
#include <sstream>
#include <vector>

namespace {

std::string Clipped(int dialogId, const CWnd& control, const ControlText& text) {
    std::ostringstream out;
    out << "dialog " << dialogId << " control " << control.GetDlgCtrlID() << " \"" << text.text << "\" needs "
        << text.extent.cx << "x" << text.extent.cy << ", has " << text.room.cx << "x" << text.room.cy;
    return out.str();
}

std::string Lines(const std::vector<std::string>& lines) {
    std::ostringstream all;
    for (const std::string& line : lines)
        all << line << "\n";
    return all.str();
}

// The measure counts what each kind of control draws beside its text: each control below is built
// once too small by what the control itself takes (indicator, margins, frame, a second line) and
// once large enough.
TEST(TextFit, MeasureCountsWhatTheControlDrawsBesideItsText) {
    EnsureQtApplication();
    const char* script = R"(1 DIALOG 0, 0, 400, 300
FONT 8, "MS Shell Dlg"
BEGIN
    AUTOCHECKBOX "Auto Connection Detection", 10, 4, 4, 96, 10
    AUTOCHECKBOX "Auto Connection Detection", 11, 4, 16, 110, 10
    AUTORADIOBUTTON "Position Mode", 12, 4, 28, 44, 10
    AUTORADIOBUTTON "Position Mode", 13, 4, 40, 70, 10
    PUSHBUTTON "Connect", 14, 4, 52, 26, 14
    PUSHBUTTON "Connect", 15, 4, 68, 50, 14
    GROUPBOX "Input terminals", 16, 4, 84, 46, 20
    GROUPBOX "Input terminals", 17, 4, 106, 80, 20
    LTEXT "effective after power on", 18, 4, 128, 60, 8
    LTEXT "effective after power on", 19, 4, 138, 60, 16
    LTEXT "Unbreakable-long-word", 20, 4, 156, 40, 40
    CTEXT "00", 21, 4, 198, 8, 12, SS_SUNKEN
    CTEXT "00", 22, 4, 212, 16, 12, SS_SUNKEN
    COMBOBOX 23, 4, 226, 30, 60, CBS_DROPDOWNLIST
    ITEMS 23 BEGIN "1", "115200 baud" END
    COMBOBOX 24, 4, 244, 80, 60, CBS_DROPDOWNLIST
    ITEMS 24 BEGIN "1", "115200 baud" END
END
)";
    std::string error;
    const auto module = CResourceModule::FromScript(script, "fit.rc", nullptr, &error);
    ASSERT_TRUE(module) << error;
    CDialog dialog;
    ASSERT_TRUE(dialog.CreateIndirect(*module->Dialog(1)));
    const CSize text = dialog.GetDlgItem(10)->GetTextExtent("Auto Connection Detection");
    CRect box;
    dialog.GetDlgItem(10)->GetClientRect(&box);
    ASSERT_LE(text.cx, box.Width()) << "the text alone would fit; its indicator does not";
    const std::set<int> tooSmall = {10, 12, 14, 16, 18, 20, 21, 23};
    for (int id = 10; id <= 24; ++id) {
        const std::vector<ControlText> texts = MeasureControlTexts(*dialog.GetDlgItem(id));
        ASSERT_FALSE(texts.empty()) << id;
        const ControlText& last = texts.back();
        EXPECT_EQ(std::all_of(texts.begin(), texts.end(), [](const ControlText& t) { return t.Fits(); }),
                  !tooSmall.count(id))
            << id << " \"" << last.text << "\" needs " << last.extent.cx << "x" << last.extent.cy << ", has "
            << last.room.cx << "x" << last.room.cy;
    }
    EXPECT_EQ(MeasureControlTexts(*dialog.GetDlgItem(23)).size(), 2u) << "every item of a combo box";
    dialog.DestroyWindow();
}

// The walk over a window finds each kind of cut or colliding text, and passes the same controls
// laid out apart. Each case is a small template shown as a user meets it.
TEST(TextFit, WalkFindsTextsCutOrColliding) {
    EnsureQtApplication();
    struct Case {
        const char* what;
        const char* controls;
        const char* fault; // a word of the fault found, or null when the layout is sound
    };
    const Case cases[] = {
        {"a field shorter than a line", R"(LTEXT "", 10, 4, 4, 40, 5, SS_SUNKEN)", "needs"},
        {"a field a line high", R"(LTEXT "", 10, 4, 4, 40, 12, SS_SUNKEN)", nullptr},
        {"a head under a frame's top line",
         R"(GROUPBOX "Programming", 10, 4, 4, 150, 60
            LTEXT "Rotation Number", 11, 10, 4, 70, 9)",
         "top line"},
        {"a head inside the frame",
         R"(GROUPBOX "Programming", 10, 4, 4, 150, 60
            LTEXT "Rotation Number", 11, 10, 14, 70, 9)",
         nullptr},
        {"a box too short for its last row",
         R"(GROUPBOX "Alarm Select", 10, 4, 4, 150, 30
            AUTOCHECKBOX "Drive overheat", 11, 10, 25, 80, 9)",
         "bottom line"},
        {"a legend text into the next picture",
         R"(LTEXT "Not subject to Cn029 factory reset", 10, 4, 4, 120, 8
            EDITTEXT 11, 60, 4, 40, 8)",
         "runs into"},
        {"a legend text clear of the next picture",
         R"(LTEXT "Not subject to Cn029 factory reset", 10, 4, 4, 120, 8
            EDITTEXT 11, 128, 4, 40, 8)",
         nullptr},
        {"a button on a frame around it",
         R"(CONTROL "", 10, "STATIC", SS_ETCHEDFRAME, 2, 2, 120, 40
            PUSHBUTTON "Connect", 11, 10, 10, 50, 14)",
         nullptr},
    };
    for (const Case& c : cases) {
        const std::string script = std::string("1 DIALOG 0, 0, 200, 100\nFONT 8, \"MS Shell Dlg\"\nBEGIN\n") +
                                   c.controls + "\nEND\n";
        std::string error;
        const auto module = CResourceModule::FromScript(script, "walk.rc", nullptr, &error);
        ASSERT_TRUE(module) << c.what << ": " << error;
        CDialog dialog;
        ASSERT_TRUE(dialog.CreateIndirect(*module->Dialog(1))) << c.what;
        dialog.ShowWindow(SW_SHOW);
        const std::vector<std::string> faults = ui::TextLayoutFaults(dialog);
        if (!c.fault)
            EXPECT_TRUE(faults.empty()) << c.what << ":\n" << Lines(faults);
        else
            EXPECT_TRUE(
                std::any_of(faults.begin(), faults.end(),
                            [&](const std::string& f) { return f.find(c.fault) != std::string::npos; }))
                << c.what << ":\n"
                << Lines(faults);
        dialog.DestroyWindow();
    }
}

// A dialog whose owner-drawn buttons write their captions centred on one line, as the graph
// windows' buttons do.
class CaptionedButtons : public CDialog {
public:
    const MessageMap* GetMessageMap() const override {
        static const MessageMap map(CDialog::GetMessageMap(),
                                    {msg::Message(WM_DRAWITEM, &CaptionedButtons::OnDrawItem)});
        return &map;
    }
    LRESULT OnDrawItem(WPARAM, LPARAM item) {
        auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(item);
        CRect rect = draw->rcItem;
        draw->hDC->DrawText(draw->hwndItem->GetWindowText(), &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        return TRUE;
    }
};

// The walk sees what owner-drawn controls paint: a caption in a button lower than its line is cut.
TEST(TextFit, WalkFindsOwnerDrawnTextsCut) {
    EnsureQtApplication();
    for (const int height : {5, 14}) {
        const std::string script =
            "1 DIALOG 0, 0, 200, 100\nFONT 8, \"MS Shell Dlg\"\nBEGIN\n"
            "CONTROL \"Online Parameter Editing\", 10, \"BUTTON\", BS_OWNERDRAW, 4, 4, 120, " +
            std::to_string(height) + "\nEND\n";
        std::string error;
        const auto module = CResourceModule::FromScript(script, "owner.rc", nullptr, &error);
        ASSERT_TRUE(module) << error;
        CaptionedButtons dialog;
        ASSERT_TRUE(dialog.CreateIndirect(*module->Dialog(1)));
        dialog.ShowWindow(SW_SHOW);
        const std::vector<std::string> faults = ui::TextLayoutFaults(dialog);
        if (height < 10)
            EXPECT_TRUE(std::any_of(faults.begin(), faults.end(), [](const std::string& f) {
                return f.find("is cut") != std::string::npos;
            })) << Lines(faults);
        else
            EXPECT_TRUE(faults.empty()) << Lines(faults);
        dialog.DestroyWindow();
    }
}

// Builds every dialog template of the program's resource library, as its owner does, and hands
// each to `visit` with its template.
void ForEveryTemplate(const std::function<void(int, const DialogTemplate&, CDialog&)>& visit) {
    const auto module = ProgramResources();
    ASSERT_TRUE(module);
    ScopedResourceModule current(module);
    std::vector<int> ids;
    for (const auto& [id, t] : module->Set().dialogs)
        ids.push_back(id);
    std::sort(ids.begin(), ids.end());
    ASSERT_GT(ids.size(), 30u);
    for (int id : ids) {
        // A child template (a wizard page) is built inside a plain host window, as its owner does.
        CDialog host;
        const bool child = (module->Dialog(id)->style & (WS_CHILD | DS_CONTROL)) != 0;
        if (child) {
            DialogTemplate frame;
            frame.cx = 600;
            frame.cy = 400;
            ASSERT_TRUE(host.CreateIndirect(frame)) << id;
        }
        CDialog dialog;
        ASSERT_TRUE(dialog.Create(static_cast<UINT>(id), child ? &host : nullptr)) << id;
        visit(id, *module->Dialog(id), dialog);
        dialog.DestroyWindow();
        if (child)
            host.DestroyWindow();
    }
}

TEST(TextFit, EveryTemplateShowsItsTextsWhole) {
    std::vector<std::string> clipped;
    int measured = 0;
    ForEveryTemplate([&](int id, const DialogTemplate&, CDialog& dialog) {
        for (CWnd* control : dialog.GetChildren())
            for (const ControlText& text : MeasureControlTexts(*control)) {
                // An empty field of a shown control is the next test's subject.
                if (text.text.empty())
                    continue;
                ++measured;
                if (!text.Fits())
                    clipped.push_back(Clipped(id, *control, text));
            }
    });
    EXPECT_GT(measured, 300);
    EXPECT_TRUE(clipped.empty()) << clipped.size() << " clipped texts:\n" << Lines(clipped);
}

// Shown as a user meets it, no template cuts a text or lets one collide: no empty field shorter than a
// line, no group box line through a control, no text drawn into another control.
TEST(TextFit, EveryTemplateKeepsItsTextsApart) {
    std::vector<std::string> faults;
    ForEveryTemplate([&](int id, const DialogTemplate&, CDialog& dialog) {
        dialog.ShowWindow(SW_SHOW);
        for (const std::string& fault : ui::TextLayoutFaults(dialog))
            faults.push_back("dialog " + std::to_string(id) + ": " + fault);
    });
    EXPECT_TRUE(faults.empty()) << faults.size() << " faults:\n" << Lines(faults);
}

// A button whose template names an icon or a bitmap shows that picture and no text in its place;
// a button with a picture style that names none is a template fault too.
TEST(TemplatePictures, EveryIconAndBitmapButtonShowsItsPicture) {
    std::vector<std::string> faults;
    int pictures = 0;
    ForEveryTemplate([&](int id, const DialogTemplate& t, CDialog& dialog) {
        for (const DialogControlTemplate& control : t.controls) {
            if (StyleFamilyOfClass(control.className) != StyleFamily::Button ||
                !(control.style & (BS_ICON | BS_BITMAP)))
                continue;
            const std::string where =
                "dialog " + std::to_string(id) + " button " + std::to_string(control.id);
            const ImageResource* image = TemplateImage(control);
            auto* button = static_cast<CButton*>(dialog.GetDlgItem(control.id));
            if (!image) {
                // The program gives these buttons their pictures itself; the template only asks for
                // the style, with a plain text in its place.
                if (std::isdigit(static_cast<unsigned char>(control.text.empty() ? 'x' : control.text[0])))
                    faults.push_back(where + " names image " + control.text + ", which the library lacks");
                continue;
            }
            ++pictures;
            const auto* widget = qobject_cast<const QAbstractButton*>(button ? button->GetWidget() : nullptr);
            if (!widget || button->GetIcon() != image || widget->icon().isNull())
                faults.push_back(where + " shows no picture");
            else if (!widget->text().isEmpty())
                faults.push_back(where + " shows the text \"" + widget->text().toStdString() + "\"");
        }
    });
    EXPECT_GE(pictures, 40 * 2 + 4) << "the online editor's step pairs and the analysis window's";
    EXPECT_TRUE(faults.empty()) << Lines(faults);
}

} // namespace
