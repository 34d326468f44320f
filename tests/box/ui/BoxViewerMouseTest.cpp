// The box viewer under the user's mouse and what it shows on the screen: cursor lines dragged with
// real mouse events (the pointer first comes to the line, as a hand brings it there), and the
// channel labels after new colours were confirmed.
#include "BoxViewerFixture.h"

#include "box/ui/BOXSetupDlg.h"
#include "resources/ids/box.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/Screenshot.h"

#include <QCoreApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QWidget>

#include <gtest/gtest.h>

#include <string>

namespace {

using BoxViewerMouse = BoxViewerFixture;

// What the screen shows of a control: its rectangle in the top-level window's backing store, as the
// last paints left it (no paint is forced, unlike a grab).
QImage OnScreen(CWnd& control) {
    QWidget* widget = control.GetWidget();
    QWidget* top = widget->window();
    const QPoint at = widget->mapTo(top, QPoint(0, 0));
    return top->screen()
        ->grabWindow(top->winId(), at.x(), at.y(), widget->width(), widget->height())
        .toImage();
}

int PixelsOf(const QImage& image, COLORREF colour) {
    const QRgb wanted = qRgb(GetRValue(colour), GetGValue(colour), GetBValue(colour));
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += (image.pixel(x, y) & 0xFFFFFF) == (wanted & 0xFFFFFF) ? 1 : 0;
    return n;
}

TEST_F(BoxViewerMouse, ACursorLineFollowsEveryDragFromIt) {
    // The client point of a plot point (pixels from the grid's top-left corner).
    const auto clientOfGrid = [&](int gx, int gy) {
        const CPoint corner = PictureRect().TopLeft();
        return CPoint(corner.x + GridMarginLeft + gx, corner.y + GridMarginTop + gy);
    };
    Open();
    viewer->MoveWindow(0, 0, 1000, 700);
    ConfirmSettings({21, 2, 23, 25});
    RecordOnDrive();
    ui::Press(*viewer, IDC_BOX_START);
    RunRecordRead();
    ASSERT_EQ(viewer->AcquisitionRunning, 0);
    ui::SetChecked(*viewer, IDC_BOX_CURSOR, true);
    ui::Choose(*viewer, IDC_BOX_CURSOR_SHAPE, 1); // full lines
    QCoreApplication::processEvents();
    ASSERT_TRUE(viewer->TimeCursorsOn && viewer->ValueCursorsOn);
    const int division = static_cast<int>(viewer->DivisionPx());
    // Half way between the two value lines, so only the time line is under the pointer.
    const int gy = (viewer->CursorAY + viewer->CursorBY) / 2;

    // Time cursor A two divisions right, then B two divisions left, then A back: each drag starts
    // where the pointer last came to rest, off the line it picks next.
    struct Step {
        const char* name;
        int CBOXDlg::*x;
        int by;
        int readout;
    };
    for (const Step step : {Step{"A", &CBOXDlg::CursorAX, 2 * division, IDC_BOX_TIME_A},
                            Step{"B", &CBOXDlg::CursorBX, -2 * division, IDC_BOX_TIME_B},
                            Step{"A", &CBOXDlg::CursorAX, -division, IDC_BOX_TIME_A}}) {
        const int before = viewer->*step.x;
        const std::string shownBefore = ui::Text(*viewer, step.readout);
        ui::Drag(*viewer, clientOfGrid(before, gy), clientOfGrid(before + step.by, gy));
        EXPECT_NEAR(viewer->*step.x, before + step.by, 2) << "time cursor " << step.name;
        EXPECT_NE(ui::Text(*viewer, step.readout), shownBefore) << "readout of time cursor " << step.name;
        EXPECT_EQ(viewer->DragTimeA + viewer->DragTimeB + viewer->DragValueA + viewer->DragValueB, 0)
            << "the release ends the drag";
    }
    ui::Screenshot(*viewer, "box-cursors-dragged");
}

TEST_F(BoxViewerMouse, ConfirmedColoursReachTheChannelLabelsOnTheScreen) {
    Open();
    QCoreApplication::processEvents();
    const std::array<int, 4> chosen = {5, 6, 7, 8};
    const std::array<int, 4> kinds = {21, 2, 23, 25};
    ui::ModalScript script(
        {{IDD_BOX_SET, [&](CDialog& dialog) {
              auto& setup = static_cast<CBOXSetupDlg&>(dialog);
              ui::Type(setup, IDC_BS_INTERVAL, "50");
              for (size_t k = 0; k < 4; ++k) {
                  const int row = static_cast<int>(k);
                  ui::Choose(setup, IDC_BS_TYPE1 + row,
                             BoxDataTypeItemOf(BoxDataTypeList(setup.DioFunctionWords), kinds[k]));
                  ui::Choose(setup, IDC_BS_COLOR1 + row, chosen[k]);
              }
              ui::Press(setup, IDOK);
          }}});
    const std::array<COLORREF, 4> before = viewer->ChannelColorValue;
    ui::Press(*viewer, IDC_BOX_TRACE_SETTING);
    ASSERT_EQ(viewer->ChannelColorIndex, chosen);
    QCoreApplication::processEvents();
    for (size_t k = 0; k < 4; ++k) {
        const QImage shown = OnScreen(*viewer->GetDlgItem(IDC_BOX_LABEL1 + static_cast<int>(k)));
        ASSERT_FALSE(shown.isNull());
        EXPECT_GT(PixelsOf(shown, viewer->ChannelColorValue[k]), 0)
            << "label " << k + 1 << " in its new colour";
        if (before[k] != viewer->ChannelColorValue[k]) {
            EXPECT_EQ(PixelsOf(shown, before[k]), 0) << "label " << k + 1 << " still in its old colour";
        }
    }
}

} // namespace
