// The texts the box viewer paints into its plot (value, time and legend labels) stand apart and
// inside the window, clear of its controls: before a record, with a record on all four channels,
// and at the smallest window.
#include "BoxViewerFixture.h"

#include "resources/ids/box.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/LabelFit.h"
#include "tests/support/Screenshot.h"

#include <QCoreApplication>
#include <QWidget>

#include <gtest/gtest.h>

#include <string>

namespace {

using BoxViewerLabels = BoxViewerFixture;

const PaintedLabels& Paint(CBOXDlg& viewer) {
    QCoreApplication::processEvents();
    viewer.GetWidget()->grab();
    return viewer.PlotLabels();
}

TEST_F(BoxViewerLabels, BeforeARecordAndWithOneOnAllChannelsAtEverySize) {
    Open();
    viewer->MoveWindow(0, 0, 1000, 700);
    EXPECT_TRUE(ui::LabelsFit(Paint(*viewer), *viewer)) << "before a record";
    ConfirmSettings({21, 2, 23, 25});
    RecordOnDrive();
    ui::Press(*viewer, IDC_BOX_START);
    RunRecordRead();
    ASSERT_EQ(viewer->AcquisitionRunning, 0);
    for (const CSize size : {CSize(1000, 700), CSize(900, 609), CSize(1200, 850)}) {
        viewer->MoveWindow(0, 0, size.cx, size.cy);
        EXPECT_TRUE(ui::LabelsFit(Paint(*viewer), *viewer)) << size.cx << " x " << size.cy;
        ui::Screenshot(*viewer, "box-" + std::to_string(size.cx));
    }
}

} // namespace
