#include "framework/core/MessageSeam.h"
#include "framework/core/ResourceModule.h"
#include "framework/ui/App.h"
#include "framework/ui/Button.h"
#include "paramedit/ProgressDlg.h"
#include "paramedit/ProgressParaEdit.h"
#include "paramedit/RWProgressDlg.h"
#include "resources/ids/paramedit.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class ProgressWindows : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureQtApplication();
        module_ = CResourceModule::LoadLibrary(kResourceLibraryName);
        ASSERT_NE(module_, nullptr) << "libVimbra.so beside the test";
        scope_ = std::make_unique<ScopedResourceModule>(module_);
    }

    // Creates the window as a transfer does: on the heap, modeless, shown, kept in the owner's link.
    template <typename Window> Window* Open(Window* window, UINT templateId) {
        EXPECT_TRUE(window->Create(templateId, nullptr));
        window->ShowWindow(SW_SHOW);
        return window;
    }

    std::shared_ptr<const CResourceModule> module_;
    std::unique_ptr<ScopedResourceModule> scope_;
    ProgressOwnerLink link_;
};

TEST_F(ProgressWindows, AlarmHistoryWindowShowsItsTextAndStepsByOne) {
    auto* window = Open(new CProgressDlg(nullptr, &link_), IDD_PROGRESS);
    link_.window = window;
    EXPECT_TRUE(window->IsWindowVisible());
    EXPECT_EQ(window->GetWindowText(), "");

    window->SetProgressText("Reading the alarm history");
    EXPECT_EQ(window->GetDlgItemText(IDC_PROGRESS_TEXT), "Reading the alarm history");
    window->m_progress.SetRange32(0, 10);
    window->m_progress.SetPos(0);
    window->m_progress.StepIt();
    EXPECT_EQ(window->m_progress.GetPos(), 1) << "the step is set to 1 when the window is made";

    window->SetProgressText("");
    EXPECT_EQ(window->GetDlgItemText(IDC_PROGRESS_TEXT), "") << "an empty text clears the line";

    // Esc (a Cancel command) does not end a window that the transfer still uses.
    window->SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_EQ(link_.window, window);
    EXPECT_TRUE(window->GetSafeHwnd());

    window->DestroyWindow(); // the transfer's end; the window deletes itself
    EXPECT_EQ(link_.window, nullptr);
    EXPECT_EQ(link_.cancelRequest, 0);
}

TEST_F(ProgressWindows, CancelOfTheMemoryImageWindowReachesTheOwnerAtOnce) {
    auto* window = Open(new CRWProgressDlg(nullptr, &link_), IDD_RW_PROGRESS);
    link_.window = window;
    window->SetProgressText("Reading the memory image");
    EXPECT_EQ(window->GetDlgItemText(IDC_PROGRESS_TEXT), "Reading the memory image");

    auto* cancel = dynamic_cast<CButton*>(window->GetDlgItem(IDCANCEL));
    ASSERT_NE(cancel, nullptr);
    EXPECT_EQ(cancel->GetWindowText(), "Cancel");
    cancel->Click();

    // What the owner sees before its next request: the request set and no window left.
    EXPECT_EQ(link_.cancelRequest, 1);
    EXPECT_EQ(link_.window, nullptr);
}

TEST_F(ProgressWindows, ParameterEditorWindowTakesItsCaptionFromTheUser) {
    auto* window = new CProgressParaEdit(nullptr);
    window->m_caption = "Read";
    Open(window, IDD_PROGRESS_PARAEDIT);
    EXPECT_EQ(window->GetWindowText(), "Read") << "not the template's \"Waiting ....\"";
    window->SetProgressText("Cn001");
    EXPECT_EQ(window->GetDlgItemText(IDC_PARAEDIT_PROGRESS_TEXT), "Cn001");
    window->DestroyWindow();
}

TEST_F(ProgressWindows, OwnerLinkIsLeftAloneWhenItAlreadyHoldsTheNextWindow) {
    auto* first = Open(new CProgressDlg(nullptr, &link_), IDD_PROGRESS);
    auto* second = Open(new CProgressDlg(nullptr, &link_), IDD_PROGRESS);
    link_.window = second;
    first->DestroyWindow();
    EXPECT_EQ(link_.window, second);
    second->DestroyWindow();
    EXPECT_EQ(link_.window, nullptr);
}

} // namespace
