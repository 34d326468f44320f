// GetDlgItem answers from a remembered map of child ids: the answer must stay what a walk over the
// children gives while controls come, go and change their ids.
#include "framework/ui/Button.h"
#include "framework/ui/Wnd.h"
#include "tests/framework/ui/UiTestSupport.h"

#include <gtest/gtest.h>

#include <memory>

TEST(DlgItemLookup, FollowsControlsThatComeGoAndChangeTheirIds) {
    CWnd parent;
    ASSERT_TRUE(CreateTopWindow(parent));
    auto first = std::make_unique<CButton>();
    ASSERT_TRUE(first->Create("first", WS_CHILD | WS_VISIBLE, CRect(0, 0, 40, 20), &parent, 100));
    CButton second;
    ASSERT_TRUE(second.Create("second", WS_CHILD | WS_VISIBLE, CRect(0, 30, 40, 50), &parent, 200));
    EXPECT_EQ(parent.GetDlgItem(100), first.get());
    EXPECT_EQ(parent.GetDlgItem(200), &second);
    EXPECT_EQ(parent.GetDlgItem(300), nullptr);

    // A control that went is not found any more; one made later under the same id is.
    first->DestroyWindow();
    first.reset();
    EXPECT_EQ(parent.GetDlgItem(100), nullptr);
    CButton again;
    ASSERT_TRUE(again.Create("again", WS_CHILD | WS_VISIBLE, CRect(0, 60, 40, 80), &parent, 100));
    EXPECT_EQ(parent.GetDlgItem(100), &again);

    // A changed id moves the control to its new id.
    second.SetDlgCtrlID(300);
    EXPECT_EQ(parent.GetDlgItem(200), nullptr);
    EXPECT_EQ(parent.GetDlgItem(300), &second);

    // Another window's child is never this window's control.
    CWnd other;
    ASSERT_TRUE(CreateTopWindow(other));
    EXPECT_EQ(other.GetDlgItem(300), nullptr);
    EXPECT_EQ(other.GetDlgItem(100), nullptr);
    parent.DestroyWindow();
    other.DestroyWindow();
}
