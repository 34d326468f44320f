// The motor commands of the running program open their dialogs through the view, with the drive's
// feature level as the view read it at connect.
#include "tests/shell/ui/ShellUiFixture.h"

#include "resources/ids/motortools.h"
#include "tests/support/DialogDriver.h"
#include "tools/ui/AccessoriesSelectDialog.h"
#include "tools/ui/LinearParaDlg.h"
#include "tools/ui/LinearPowDlg.h"

namespace {

struct MotorCommands : ShellUiFixture {};

TEST_F(MotorCommands, OpenTheirDialogsThroughTheView) {
    drive.SetRegister(0x171E, 3);
    drive.SetRegister(0x0058, 55);
    StartLinked();
    EXPECT_EQ(DriveFeatureLevel, 3);
    ASSERT_TRUE(CommandEnabled(ID_SELF_BUILT_MOTOR));
    ASSERT_TRUE(CommandEnabled(ID_POLE_ALIGNMENT));
    std::vector<UINT> opened;
    otherModal = [&](CDialog& dialog) {
        opened.push_back(dialog.m_nIDHelp);
        if (auto* motor = dynamic_cast<CLinearParaDlg*>(&dialog)) {
            EXPECT_FALSE(ui::Enabled(*motor, IDC_MOTOR_RECORD)) << "feature level 3";
            EXPECT_TRUE(ui::Enabled(*motor, IDC_MOTOR_WRITE));
        }
        if (auto* accessories = dynamic_cast<CAccessoriesSelectDialog*>(&dialog)) {
            EXPECT_EQ(ui::SelectedText(*accessories, IDC_ACCESSORY_SERIES), "YLT2") << "brand mode 3";
            EXPECT_EQ(ui::Text(*accessories, IDC_ACCESSORY_DRIVE_TEXT), "YLT2-D01");
        }
        if (auto* pole = dynamic_cast<CLinearPowDlg*>(&dialog)) {
            EXPECT_EQ(ui::Text(*pole, IDC_POLE_LEVEL), "55");
        }
        dialog.EndDialog(IDCANCEL);
    };
    View()->SendMessage(WM_COMMAND, ID_SELF_BUILT_MOTOR);
    View()->SendMessage(WM_COMMAND, ID_POLE_ALIGNMENT);
    BrandMode = 3;
    View()->SendMessage(WM_COMMAND, ID_ACCESSORIES_SELECT);
    BrandMode = 0;
    EXPECT_EQ(opened, (std::vector<UINT>{IDD_SELF_BUILT_MOTOR, IDD_POLE_ALIGNMENT, IDD_ACCESSORIES_SELECT}));
    EXPECT_EQ(View()->ViewBusyFlag, 0);
}

} // namespace
