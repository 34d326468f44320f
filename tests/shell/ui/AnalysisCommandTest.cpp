// Mechanical Characteristic Analysis from the view: refused while the servo is on, otherwise the
// modal analysis window, kept by the view while it runs so a link that goes disables its Start.
#include "ShellUiFixture.h"

#include "resources/ids/tuning.h"
#include "tests/support/DialogDriver.h"
#include "tuning/ui/FRADlg.h"

namespace {

using AnalysisCommand = ShellUiFixture;

TEST_F(AnalysisCommand, ServoOnRefusesAndOtherwiseTheWindowRunsWhileTheViewKeepsIt) {
    StartLinked();
    ASSERT_TRUE(CommandEnabled(ID_MECHANICAL_ANALYSIS));

    ServoOnFlag = 1;
    int opened = 0;
    otherModal = [&](CDialog&) { ++opened; };
    View()->SendMessage(WM_COMMAND, ID_MECHANICAL_ANALYSIS);
    EXPECT_EQ(opened, 0);
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_EQ(messages.Shown()[0].text,
              "It is currently in Servo ON state and cannot perform Mechanical Characteristic Analysis.");
    EXPECT_EQ(messages.Shown()[0].caption, "Mechanical Characteristic Analysis");
    EXPECT_EQ(messages.Shown()[0].type & MB_ICONINFORMATION, unsigned(MB_ICONINFORMATION));

    ServoOnFlag = 0;
    bool startWhileLinked = false, startAfterDisconnect = true;
    otherModal = [&](CDialog& dialog) {
        ++opened;
        EXPECT_EQ(dialog.m_nIDHelp, UINT(IDD_FRA));
        EXPECT_EQ(static_cast<CDialog*>(View()->AnalysisWindow), &dialog);
        startWhileLinked = ui::Enabled(dialog, IDOK);
        View()->Disconnect();
        startAfterDisconnect = ui::Enabled(dialog, IDOK);
        dialog.EndDialog(IDCANCEL);
    };
    View()->SendMessage(WM_COMMAND, ID_MECHANICAL_ANALYSIS);
    EXPECT_EQ(opened, 1);
    EXPECT_TRUE(startWhileLinked);
    EXPECT_FALSE(startAfterDisconnect);
    EXPECT_EQ(View()->AnalysisWindow, nullptr);
}

} // namespace
