// The Display Digital I/O page: its lists and its painted diagram.
#include "WizardFixture.h"

#include "framework/ui/ListCtrl.h"
#include "resources/ids/wizard.h"
#include "tests/support/LabelFit.h"
#include "tests/support/Screenshot.h"
#include "wizard/DioDisplay.h"
#include "wizard/ui/DispDIOSetPageDialog.h"

#include <QImage>
#include <QWidget>

namespace {

using DisplayDio = WizardFixture;

constexpr int InputFunctions = 46, OutputFunctions = 34; // the codes with a name text

// Gives the pins the functions from `first` on, in order (the last function repeated at the end).
void AssignFunctionsFrom(CDispDIOSetPageDialog& page, int first) {
    for (int pin = 0; pin < DiCount; ++pin)
        page.m_DiAssign[static_cast<size_t>(pin)] = std::min(first + pin, InputFunctions - 1) | 0x100;
    for (int pin = 0; pin < DoCount; ++pin)
        page.m_DoAssign[static_cast<size_t>(pin)] = std::min(first + pin, OutputFunctions - 1);
}

TEST(DioDisplayRules, ContactTextBladeAndShortName) {
    EXPECT_STREQ(DioContactText(0x104), "B");
    EXPECT_STREQ(DioContactText(0x204), "A");
    EXPECT_TRUE(DioBladeClosed(0x204));
    EXPECT_FALSE(DioBladeClosed(0x004));
    EXPECT_EQ(DioShortName("01: SON - Servo On"), "SON");
    EXPECT_EQ(DioShortName("NoBlank"), "");
}

TEST_F(DisplayDio, ListsShowThePinsOnceAfterRepeatedRefreshes) {
    doc->Value(DocCn, 1) = SpeedMode;
    CSetupWizardDialog& w = Open();
    ui::Press(w, IDC_WZ_STEP_DISPLAY_DIO);
    ui::Press(w, IDC_WZ_CANCEL_PAGE);
    ui::Press(w, IDC_WZ_STEP_DISPLAY_DIO);
    CWizardPage& page = *w.Page(WizardPage::DisplayDio);
    auto* inputs = dynamic_cast<CListCtrl*>(page.GetDlgItem(IDC_WZ_DI_LIST));
    auto* outputs = dynamic_cast<CListCtrl*>(page.GetDlgItem(IDC_WZ_DO_LIST));
    ASSERT_TRUE(inputs && outputs);
    EXPECT_EQ(inputs->GetItemCount(), 12);
    EXPECT_EQ(outputs->GetItemCount(), 8);
    EXPECT_EQ(inputs->GetItemText(3, 0), "DI-4");
    EXPECT_EQ(inputs->GetItemText(3, 2), doc->Value(DocHn, 4) & 0x100 ? "B" : "A");
    EXPECT_EQ(outputs->GetItemText(7, 0), "DO-8");
}

TEST_F(DisplayDio, PictureShowsThePanelBladesAndDots) {
    CSetupWizardDialog& w = Open();
    ui::Press(w, IDC_WZ_STEP_DISPLAY_DIO);
    auto& page = dynamic_cast<CDispDIOSetPageDialog&>(*w.Page(WizardPage::DisplayDio));
    page.m_DiAssign.fill(0x01);
    page.m_DiAssign[2] = 0x104; // DI-3 contact B: closed
    page.RefreshLists();
    ui::Press(page, IDC_WZ_PICTURE);
    EXPECT_TRUE(page.PictureMode());
    EXPECT_EQ(ui::Text(page, IDC_WZ_PICTURE), "List");
    EXPECT_FALSE(page.GetDlgItem(IDC_WZ_DI_LIST)->IsWindowVisible());
    const QImage image = page.GetWidget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const CPoint offset = page.DiagramOffset();
    const auto colour = [&](int x, int y) { return image.pixelColor(offset.x + x, offset.y + y); };
    EXPECT_EQ(colour(250, 130), QColor(200, 225, 255)); // the panel
    ui::Screenshot(page, "dio-wiring");
    const int closed = CDispDIOSetPageDialog::InputY(2);
    const int open = CDispDIOSetPageDialog::InputY(1);
    EXPECT_EQ(colour(120, closed - 1), QColor(0, 0, 255));
    EXPECT_NE(colour(120, open - 1), QColor(0, 0, 255));
    EXPECT_EQ(colour(117, open - 9).blue(), 255); // the open blade slants up
    // Junction dots on every input but the last.
    EXPECT_EQ(colour(91, open + 1), QColor(0, 0, 0));
    EXPECT_NE(colour(91, CDispDIOSetPageDialog::InputY(11) + 1), QColor(0, 0, 0));
    ui::Press(page, IDC_WZ_PICTURE);
    EXPECT_EQ(ui::Text(page, IDC_WZ_PICTURE), "Picture");
    EXPECT_TRUE(page.GetDlgItem(IDC_WZ_DI_LIST)->IsWindowVisible());
}

// Every function's name reads whole on one line of the lists, those whose name text ends in a line
// break too.
TEST_F(DisplayDio, ListsShowEveryNameWhole) {
    CSetupWizardDialog& w = Open();
    ui::Press(w, IDC_WZ_STEP_DISPLAY_DIO);
    auto& page = dynamic_cast<CDispDIOSetPageDialog&>(*w.Page(WizardPage::DisplayDio));
    for (int first = 0; first < InputFunctions; first += DiCount) {
        AssignFunctionsFrom(page, first);
        page.RefreshLists();
        EXPECT_TRUE(ui::TextsFit(page)) << "functions from " << first;
        if (first == 0)
            ui::Screenshot(page, "dio-lists");
    }
}

// The diagram's labels stand apart inside the page, clear of the page's button, and the diagram as a
// whole stays off the button: with the collected values and with every function's short name. The
// wizard has a fixed size, so its default size is also its smallest.
TEST_F(DisplayDio, PictureLabelsFitThePage) {
    CSetupWizardDialog& w = Open();
    ui::Press(w, IDC_WZ_STEP_DISPLAY_DIO);
    auto& page = dynamic_cast<CDispDIOSetPageDialog&>(*w.Page(WizardPage::DisplayDio));
    ui::Press(page, IDC_WZ_PICTURE);
    CRect client, button;
    page.GetClientRect(&client);
    page.GetDlgItem(IDC_WZ_PICTURE)->GetWindowRect(&button);
    page.ScreenToClient(&button);
    CRect diagram = CDispDIOSetPageDialog::DiagramBounds;
    diagram.OffsetRect(page.DiagramOffset().x, page.DiagramOffset().y);
    EXPECT_TRUE(client.left <= diagram.left && client.top <= diagram.top && diagram.right <= client.right &&
                diagram.bottom <= client.bottom);
    EXPECT_TRUE(diagram.bottom <= button.top || diagram.right <= button.left)
        << "the button covers the diagram";

    const auto paint = [&] {
        page.GetWidget()->grab();
        return ui::LabelsFit(page.Labels(), client, {button});
    };
    EXPECT_TRUE(paint()) << "collected values";
    EXPECT_EQ(page.Labels().size(), 2u * DiCount + 3u * DoCount + 1u) << "pins, names, loads and DOCOM";
    ui::Screenshot(page, "dio-wiring-fitted");
    for (int first = 0; first < InputFunctions; first += DiCount) {
        AssignFunctionsFrom(page, first);
        EXPECT_TRUE(paint()) << "functions from " << first;
    }
}

} // namespace
