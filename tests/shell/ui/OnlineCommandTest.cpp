// Edit Online Parameter in the running program: its rule, the one editor the view keeps, editors of
// the tool windows that the view does not keep, and the editor's read-back through the view.
#include "ShellUiFixture.h"

#include "framework/core/Format.h"
#include "online/OnlineSelection.h"
#include "online/ui/OnLineParaEditDlg.h"
#include "paramedit/ParaEditDlg.h"

namespace {

struct OnlineCommand : ShellUiFixture {
    void TearDown() override {
        OnlineSelection = {};
        ShellUiFixture::TearDown();
    }
};

TEST_F(OnlineCommand, OneEditorIsKeptAndOnlyItsCloseIsTheViewsBusiness) {
    StartDrive();
    ASSERT_TRUE(StartApp()); // unlinked, with the parameter editor open
    EXPECT_FALSE(CommandEnabled(ID_EDIT_ONLINE_PARAMETER));
    app->AutoConnect = {true, Entry(), 0};
    View()->SendMessage(WM_COMMAND, ID_CONNECT);
    ASSERT_EQ(ConnectedFlag.load(), 1);
    EXPECT_FALSE(CommandEnabled(ID_EDIT_ONLINE_PARAMETER)) << "the parameter editor is open";
    CloseParameterEditor();
    ASSERT_TRUE(CommandEnabled(ID_EDIT_ONLINE_PARAMETER));

    View()->SendMessage(WM_COMMAND, ID_EDIT_ONLINE_PARAMETER);
    COnLineParaEditDlg* kept = View()->OnlineEditorWindow;
    ASSERT_NE(kept, nullptr);
    EXPECT_TRUE(kept->IsWindowVisible());
    EXPECT_TRUE(View()->ToolWindowOpenFlags[ToolOnline]);
    EXPECT_FALSE(CommandEnabled(ID_EDIT_PARAMETER)) << "the parameter editor waits for the online editor";
    View()->SendMessage(WM_COMMAND, ID_EDIT_ONLINE_PARAMETER);
    EXPECT_EQ(View()->OnlineEditorWindow, kept) << "the command only brings it to the front";

    // A jog window's editor is a new one each time, and its close leaves the view's alone.
    COnLineParaEditDlg* jogs = View()->OpenOnlineEditor(View());
    ASSERT_NE(jogs, nullptr);
    EXPECT_NE(jogs, kept);
    const std::weak_ptr<int> jogsLife = jogs->Life();
    jogs->SendMessage(WM_CLOSE);
    EXPECT_TRUE(jogsLife.expired()) << "the closed editor is freed";
    EXPECT_EQ(View()->OnlineEditorWindow, kept);
    EXPECT_TRUE(View()->ToolWindowOpenFlags[ToolOnline]);
    View()->SendMessage(WM_COMMAND, ID_EDIT_ONLINE_PARAMETER);
    EXPECT_EQ(View()->OnlineEditorWindow, kept) << "still no second editor";

    kept->SendMessage(WM_CLOSE);
    EXPECT_EQ(View()->OnlineEditorWindow, nullptr);
    EXPECT_FALSE(View()->ToolWindowOpenFlags[ToolOnline]);
    EXPECT_TRUE(CommandEnabled(ID_EDIT_PARAMETER));
}

TEST_F(OnlineCommand, TheEditorReadsThroughTheView) {
    StartLinked();
    OnlineSelection = {"Cn025", "", "Cn034"};
    drive.SetRegister(0x1101, 2500);
    View()->SendMessage(WM_COMMAND, ID_EDIT_ONLINE_PARAMETER);
    COnLineParaEditDlg* editor = View()->OnlineEditorWindow;
    ASSERT_NE(editor, nullptr);
    drive.ClearLog();
    ASSERT_TRUE(FireTimerForTest(editor, OnlineRefreshTimer));
    const std::vector<std::string> expected = {Read1(0x1101), Read1(0x001C), Read1(0x0025)};
    EXPECT_EQ(Requests(), expected);
    EXPECT_EQ(MotorMaxSpeed, 2500);
    EXPECT_EQ(View()->ViewBusyFlag, 0);
    // A write through the editor's own protocol object reaches the same drive.
    drive.ClearLog();
    editor->StepRow(0, 0, true);
    ASSERT_EQ(Requests().size(), 1u);
    EXPECT_EQ(Requests()[0].substr(0, 6), "W1001C");
}

} // namespace
