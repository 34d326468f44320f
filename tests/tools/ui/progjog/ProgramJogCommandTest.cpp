// The program jog opened by the program's own command: once per view, refused while the servo is on,
// and forgotten by the view when it closes.
#include "tests/shell/ui/ShellUiFixture.h"

#include "resources/ids/tuningwindows.h"
#include "tests/support/DialogDriver.h"
#include "tools/ui/ProgramJogDlg.h"

namespace {

using ProgramJogCommand = ShellUiFixture;

TEST_F(ProgramJogCommand, OpensOnceRefusesWithTheServoOnAndIsForgottenOnClose) {
    StartLinked();
    View()->SendMessage(WM_COMMAND, ID_PROGRAM_JOG);
    CProgramJogDlg* window = View()->ProgramJogWindow;
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(View()->ToolWindowOpenFlags[ToolProgJog]);
    EXPECT_EQ(window->GetWindowText(), "Program Jog");
    View()->SendMessage(WM_COMMAND, ID_PROGRAM_JOG);
    EXPECT_EQ(View()->ProgramJogWindow, window) << "a second command only activates it";
    window->SendMessage(WM_COMMAND, IDCANCEL);
    EXPECT_EQ(View()->ProgramJogWindow, nullptr);
    EXPECT_FALSE(View()->ToolWindowOpenFlags[ToolProgJog]);

    drive.SetServoOn(true);
    messages.Clear();
    View()->SendMessage(WM_COMMAND, ID_PROGRAM_JOG);
    EXPECT_EQ(View()->ProgramJogWindow, nullptr);
    ASSERT_FALSE(messages.Shown().empty());
    EXPECT_EQ(messages.Shown().back().text, "System Servo ON!\nPlease Servo Off again!");
}

} // namespace
