// The texts the box viewer paints into its plot (value, time and legend labels) stand apart and
// inside the window, clear of its controls, each scale beside its axis and at its lines: before a
// record, with a record on all four channels, as the window opens and at the smallest window.
#include "BoxViewerFixture.h"

#include "framework/core/ChannelColours.h"
#include "resources/ids/box.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/LabelFit.h"
#include "tests/support/Screenshot.h"

#include <QCoreApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QWidget>

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using BoxViewerLabels = BoxViewerFixture;

const PaintedLabels& Paint(CBOXDlg& viewer) {
    QCoreApplication::processEvents();
    viewer.GetWidget()->grab();
    return viewer.PlotLabels();
}

// The controls of channels 3 and 4 stand right of the picture, not on its black ground, which
// would hide their texts and be hidden by them.
::testing::AssertionResult RightColumnsClearOf(CBOXDlg& viewer, const CRect& picture) {
    ::testing::AssertionResult result = ::testing::AssertionSuccess();
    // 1039 and 1040 are the "CH3" and "CH4" headers.
    for (int id : {IDC_BOX_CHANNEL3, IDC_BOX_CHANNEL4, 1039, 1040, IDC_BOX_UP3, IDC_BOX_UP4, IDC_BOX_SLIDER3,
                   IDC_BOX_SLIDER4}) {
        CRect rect;
        viewer.GetDlgItem(id)->GetWindowRect(&rect);
        viewer.ScreenToClient(&rect);
        if (rect.left < picture.right && rect.right > picture.left && rect.top < picture.bottom &&
            rect.bottom > picture.top) {
            if (result)
                result = ::testing::AssertionFailure()
                         << "the picture ends at x " << picture.right << ", under";
            result << " " << id << " \"" << viewer.GetDlgItem(id)->GetWindowText() << "\" (from x "
                   << rect.left << ")";
        }
    }
    return result;
}

// The scales of channels 1 to 3 stand in the margin left of the plot, channel 4's right of it; each
// label at the line it names.
::testing::AssertionResult ScalesBesideTheirLines(CBOXDlg& viewer, const CRect& picture) {
    const float d = viewer.DivisionPx();
    const int p = static_cast<int>(viewer.GridSize());
    const CRect plot(picture.left + GridMarginLeft, picture.top + GridMarginTop,
                     picture.left + GridMarginLeft + p + 1, picture.top + GridMarginTop + p + 1);
    std::vector<int> lines;
    for (int j = 0; j <= 10; ++j)
        lines.push_back(plot.top + static_cast<int>(static_cast<float>(j) * d));
    for (size_t k = 0; k < 4; ++k)
        if (auto fit = ui::ScaleLabelsBesideTheirLines(viewer.PlotLabels(), viewer.ChannelColorValue[k],
                                                       k < 3 ? ui::PlotSide::Left : ui::PlotSide::Right, plot,
                                                       lines, static_cast<int>(d) / 2);
            !fit)
            return fit << "\n  (channel " << k + 1 << ")";
    return ::testing::AssertionSuccess();
}

TEST_F(BoxViewerLabels, BeforeARecordAndWithOneOnAllChannelsAtEverySize) {
    Open();
    CRect opened;
    viewer->GetWindowRect(&opened);
    EXPECT_TRUE(ui::LabelsFit(Paint(*viewer), *viewer)) << "before a record";
    EXPECT_TRUE(RightColumnsClearOf(*viewer, PictureRect())) << "as it opens";
    ConfirmSettings({21, 2, 23, 25});
    RecordOnDrive();
    ui::Press(*viewer, IDC_BOX_START);
    RunRecordRead();
    ASSERT_EQ(viewer->AcquisitionRunning, 0);
    // As it opens, then the smallest, a larger and a wide but low window.
    for (const CSize size :
         {opened.Size(), CSize(900, 609), CSize(1000, 700), CSize(1200, 850), CSize(1400, 650)}) {
        viewer->MoveWindow(0, 0, size.cx, size.cy);
        EXPECT_TRUE(ui::LabelsFit(Paint(*viewer), *viewer)) << size.cx << " x " << size.cy;
        EXPECT_TRUE(RightColumnsClearOf(*viewer, PictureRect())) << size.cx << " x " << size.cy;
        EXPECT_TRUE(ScalesBesideTheirLines(*viewer, PictureRect())) << size.cx << " x " << size.cy;
        ui::Screenshot(*viewer, "box-" + std::to_string(size.cx));
    }
}

// How many pixels of a control, as the window shows it, have the colour (each of red, green and
// blue within 48 of it): the strokes of a label's text drawn in that colour.
int PixelsOfColour(CBOXDlg& viewer, int id, COLORREF colour) {
    QCoreApplication::processEvents();
    QWidget* window = viewer.GetWidget();
    QWidget* control = viewer.GetDlgItem(id)->GetWidget();
    const QImage image = window->screen()->grabWindow(window->winId()).toImage();
    const QRect area(control->mapTo(window, QPoint(0, 0)), control->size());
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (std::abs(qRed(pixel) - GetRValue(colour)) <= 48 &&
                std::abs(qGreen(pixel) - GetGValue(colour)) <= 48 &&
                std::abs(qBlue(pixel) - GetBValue(colour)) <= 48)
                ++count;
        }
    return count;
}

// "Data1" to "Data4" are written in the colours of their channels: those the view kept as the
// window opens, and those chosen in BOX Set after its OK.
TEST_F(BoxViewerLabels, ChannelCaptionsTakeTheirChannelsColours) {
    const auto shown = [&](std::array<int, 4> indices, const char* when) {
        for (size_t k = 0; k < 4; ++k) {
            const int id = IDC_BOX_LABEL1 + static_cast<int>(k);
            const COLORREF colour = kChannelColours[static_cast<size_t>(indices[k])];
            EXPECT_GE(PixelsOfColour(*viewer, id, colour), 6) << when << ": Data" << k + 1;
            for (COLORREF old : {RGB(255, 0, 0), RGB(255, 255, 0), RGB(0, 0, 255), RGB(255, 0, 255)}) {
                if (old != colour) {
                    EXPECT_EQ(PixelsOfColour(*viewer, id, old), 0) << when << ": Data" << k + 1;
                }
            }
        }
    };
    view.keptFlag = true;
    view.kept.channelSignals = {21, 22, 23, 24};
    view.kept.colorIndices = {1, 5, 6, 13};
    view.kept.sampleInterval = 50;
    view.kept.samplePeriodRaw = 500000;
    view.kept.pointCount = 512;
    RecordPointCount = 512;
    Open();
    shown(view.kept.colorIndices, "at opening");
    ui::Screenshot(*viewer, "box-caption-colours-opened");

    const std::array<int, 4> chosen = {3, 14, 0, 7};
    ui::ModalScript script({{IDD_BOX_SET, [&](CDialog& dialog) {
                                 ui::Type(dialog, IDC_BS_INTERVAL, "50");
                                 for (size_t k = 0; k < 4; ++k)
                                     ui::Choose(dialog, IDC_BS_COLOR1 + static_cast<int>(k), chosen[k]);
                                 ui::Press(dialog, IDOK);
                             }}});
    ui::Press(*viewer, IDC_BOX_TRACE_SETTING);
    ASSERT_EQ(script.Opened(), std::vector<UINT>{IDD_BOX_SET});
    ASSERT_EQ(viewer->ChannelColorIndex, chosen) << "the set-up was taken";
    shown(chosen, "after BOX Set OK");
    ui::Screenshot(*viewer, "box-caption-colours-set");
}

} // namespace
