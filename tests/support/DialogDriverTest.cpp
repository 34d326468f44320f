// ui::Press clicks with the mouse: it reaches a button a user can click, and fails (as the user's
// click would) on one that is covered, hidden, disabled or behind a modal window.
#include "tests/support/DialogDriver.h"
#include "framework/ui/App.h"

#include <gtest/gtest-spi.h>

#include <string>
#include <vector>

namespace {

constexpr int kFree = 100, kCovered = 101, kCover = 102, kHidden = 103, kDisabled = 104, kCheck = 105;

class ClickTarget : public CDialog {
public:
    const MessageMap* GetMessageMap() const override {
        static const MessageMap map(CDialog::GetMessageMap(),
                                    {msg::CommandRange(kFree, kCheck, &ClickTarget::OnButton)});
        return &map;
    }
    void OnButton(UINT id) { clicked.push_back(static_cast<int>(id)); }
    std::vector<int> clicked;
};

DialogControlTemplate Button(int id, const char* text, int x, int y, int cx, int cy,
                             DWORD extra = WS_VISIBLE) {
    return {id, "BUTTON", text, x, y, cx, cy, WS_CHILD | WS_TABSTOP | extra, 0};
}

DialogTemplate Buttons() {
    DialogTemplate t;
    t.caption = "Clicks";
    t.cx = 200;
    t.cy = 120;
    t.style = WS_POPUP | WS_CAPTION;
    t.controls = {Button(kFree, "Free", 10, 10, 50, 14), Button(kCovered, "Covered", 10, 30, 50, 14),
                  // Made later, so it lies over the covered button.
                  Button(kCover, "Cover", 5, 25, 80, 24), Button(kHidden, "Hidden", 100, 10, 50, 14, 0),
                  Button(kDisabled, "Disabled", 100, 30, 50, 14, WS_VISIBLE | WS_DISABLED),
                  // Wide, as templates make check boxes: only its box and text take the click.
                  Button(kCheck, "Check", 10, 60, 180, 10, WS_VISIBLE | BS_AUTOCHECKBOX)};
    return t;
}

// The failures a press reports, caught so that this test can look at them.
std::vector<std::string> PressFailures(CWnd& window, int id) {
    ::testing::TestPartResultArray results;
    {
        ::testing::ScopedFakeTestPartResultReporter reporter(
            ::testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &results);
        ui::Press(window, id);
    }
    std::vector<std::string> messages;
    for (int i = 0; i < results.size(); ++i)
        messages.push_back(results.GetTestPartResult(i).message());
    return messages;
}

class DialogDriver : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureQtApplication();
        ASSERT_TRUE(window.CreateIndirect(Buttons()));
        window.ShowWindow(SW_SHOW);
    }
    void TearDown() override { window.DestroyWindow(); }
    ClickTarget window;
};

TEST_F(DialogDriver, PressReachesAFreeButtonAndACheckBoxWithTheMouse) {
    EXPECT_TRUE(PressFailures(window, kFree).empty());
    ui::SetChecked(window, kCheck, true);
    EXPECT_TRUE(ui::Checked(window, kCheck));
    ui::SetChecked(window, kCheck, false);
    EXPECT_FALSE(ui::Checked(window, kCheck));
    EXPECT_EQ((std::vector<int>{kFree, kCheck, kCheck}), window.clicked);
}

TEST_F(DialogDriver, PressFailsWhereTheUsersClickWouldNotArrive) {
    const struct {
        int id;
        std::string why;
    } cases[] = {{kCovered, "button 101 is covered by QPushButton id 102 \"Cover\""},
                 {kHidden, "button 103 is not on the screen"},
                 {kDisabled, "button 104 is disabled"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        const std::vector<std::string> failures = PressFailures(window, c.id);
        ASSERT_EQ(1u, failures.size());
        EXPECT_NE(std::string::npos, failures[0].find(c.why)) << failures[0];
    }
    EXPECT_TRUE(window.clicked.empty());
}

TEST_F(DialogDriver, PressFailsBehindAModalWindow) {
    DialogTemplate question;
    question.caption = "Question";
    question.cx = 80;
    question.cy = 40;
    question.style = WS_POPUP | WS_CAPTION;
    CDialog modal;
    ASSERT_TRUE(modal.CreateIndirect(question));
    modal.GetWidget()->setWindowModality(Qt::ApplicationModal);
    modal.ShowWindow(SW_SHOW);
    const std::vector<std::string> failures = PressFailures(window, kFree);
    modal.DestroyWindow();
    ASSERT_EQ(1u, failures.size());
    EXPECT_NE(std::string::npos, failures[0].find("lies behind the modal window \"Question\""))
        << failures[0];
    EXPECT_TRUE(window.clicked.empty());
}

} // namespace
