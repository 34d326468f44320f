// Box Function in the running program: its rule, the one viewer the view keeps, the online editor
// button through the view, and the exit that closes the viewer (its thread stopped) before the view
// and the link go.
#include "trace/AcquisitionStore.h"

#include "ShellUiFixture.h"

#include "box/ui/BOXDlg.h"
#include "resources/ids/box.h"
#include "trace/AcquisitionThreads.h"

namespace {

using BoxCommand = ShellUiFixture;

TEST_F(BoxCommand, OneViewerIsKeptAndExitClosesItWithItsThreadFirst) {
    StartDrive();
    ASSERT_TRUE(StartApp());
    CloseParameterEditor();
    EXPECT_FALSE(CommandEnabled(ID_BOX_FUNCTION)) << "not linked";
    app->AutoConnect = {true, Entry(), 0};
    View()->SendMessage(WM_COMMAND, ID_CONNECT);
    ASSERT_EQ(ConnectedFlag.load(), 1);
    ASSERT_TRUE(CommandEnabled(ID_BOX_FUNCTION));

    View()->SendMessage(WM_COMMAND, ID_BOX_FUNCTION);
    CBOXDlg* viewer = View()->BoxWindow;
    ASSERT_NE(viewer, nullptr);
    EXPECT_TRUE(viewer->IsWindowVisible());
    EXPECT_TRUE(View()->ToolWindowOpenFlags[ToolBox]);
    EXPECT_FALSE(CommandEnabled(ID_WAVE_TRACE)) << "the trace window waits for the box viewer";
    View()->SendMessage(WM_COMMAND, ID_BOX_FUNCTION);
    EXPECT_EQ(View()->BoxWindow, viewer) << "the command only brings it to the front";

    // The online editor button opens the view's editor.
    viewer->SendMessage(WM_COMMAND, IDC_BOX_ONLINE_EDIT);
    EXPECT_NE(View()->OnlineEditorWindow, nullptr);

    // A read waits for a record that does not come: its thread polls the drive.
    viewer->OnStart();
    ASSERT_TRUE(FireTimerForTest(viewer, ThreadStartTimer));
    CBOXThread* thread = viewer->ReadThread;
    ASSERT_NE(thread, nullptr);
    EXPECT_EQ(thread->ExitCode(), static_cast<DWORD>(STILL_ACTIVE));
    const std::weak_ptr<int> life = viewer->Life();
    StopApp();
    EXPECT_TRUE(life.expired()) << "closed and freed before the view went";
}

TEST_F(BoxCommand, ALostLinkClosesTheViewer) {
    StartLinked();
    View()->SendMessage(WM_COMMAND, ID_BOX_FUNCTION);
    ASSERT_NE(View()->BoxWindow, nullptr);
    const std::weak_ptr<int> life = View()->BoxWindow->Life();
    View()->CloseToolDialogs();
    EXPECT_TRUE(life.expired());
    EXPECT_EQ(View()->BoxWindow, nullptr);
    EXPECT_FALSE(View()->ToolWindowOpenFlags[ToolBox]);
}

} // namespace
