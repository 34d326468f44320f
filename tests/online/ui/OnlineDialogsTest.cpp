// The slot set and pick dialogs opened from the editor's Set button, and the selection files through
// the editor's Open and Save buttons.
#include "OnlineFixture.h"

#include "tests/support/DialogDriver.h"

#include "framework/ui/ListCtrl.h"
#include "online/OnlineSelection.h"
#include "online/ui/OnLineParaSetDlg.h"
#include "online/ui/SetParaSelDlg.h"
#include "resources/ids/online.h"

#include <fstream>

namespace {

// The pick dialog's entry of a code, -1 when it is not listed.
int EntryOf(CDialog& dialog, const std::string& code) {
    auto& pick = dynamic_cast<CSetParaSelDlg&>(dialog);
    for (size_t i = 0; i < pick.Entries().size(); ++i)
        if (pick.Entries()[i].code == code)
            return static_cast<int>(i);
    return -1;
}

void SendListKey(CDialog& dialog, WORD key) {
    NMLVKEYDOWN notify;
    notify.hdr.hwndFrom = dialog.GetDlgItem(IDC_OS_LIST)->GetSafeHwnd();
    notify.hdr.idFrom = IDC_OS_LIST;
    notify.hdr.code = LVN_KEYDOWN;
    notify.wVKey = key;
    dialog.SendMessage(WM_NOTIFY, IDC_OS_LIST, reinterpret_cast<LPARAM>(&notify));
}

std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

TEST_F(OnlineFixture, SetTakesTheSlotsBackOnOk) {
    OnlineSelection = {"Cn025", "", "Sn211"};
    SetDrive("Cn034", 160);
    Open();
    std::string pickedFrom;
    ui::ModalScript script({{IDD_ONLINE_SLOTS,
                             [&](CDialog& d) {
                                 auto& setDialog = dynamic_cast<COnLineParaSetDlg&>(d);
                                 EXPECT_EQ(setDialog.m_list.GetItemText(0, 0), "Cn025");
                                 EXPECT_EQ(setDialog.m_list.GetItemText(1, 0), "");
                                 EXPECT_EQ(setDialog.m_list.GetItemText(2, 0), "Sn211");
                                 EXPECT_TRUE(ui::Enabled(d, IDC_OS_CLEAR1));
                                 EXPECT_FALSE(ui::Enabled(d, IDC_OS_CLEAR2));
                                 EXPECT_TRUE(ui::Enabled(d, IDC_OS_CLEAR3));
                                 EXPECT_TRUE(ui::Enabled(d, IDC_OS_SET1 + 1));
                                 ui::Press(d, IDC_OS_SET1 + 1);
                                 EXPECT_EQ(setDialog.m_list.GetItemText(1, 0), "Cn034");
                                 EXPECT_TRUE(ui::Enabled(d, IDC_OS_CLEAR2));
                                 ui::Press(d, IDOK);
                             }},
                            {IDD_ONLINE_PICK, [&](CDialog& d) {
                                 EXPECT_EQ(EntryOf(d, "Cn025"), -1) << "held by slot 1";
                                 EXPECT_EQ(EntryOf(d, "qn501"), -1) << "Sn211's partner";
                                 EXPECT_EQ(ui::Selected(d, IDC_OP_COMBO), 0)
                                     << "an empty slot takes the first entry";
                                 ui::Choose(d, IDC_OP_COMBO, EntryOf(d, "Cn034"));
                                 ui::Press(d, IDOK);
                             }}});
    drive->ClearLog();
    ui::Press(*editor, IDC_OE_SET);
    EXPECT_EQ(script.Opened(), (std::vector<UINT>{IDD_ONLINE_SLOTS, IDD_ONLINE_PICK}));
    EXPECT_EQ(OnlineSelection[1], "Cn034");
    EXPECT_EQ(editor->GetDlgItemText(OnlineRowTexts[1][0]), "Cn034");
    EXPECT_EQ(Shown(2), 160);
    EXPECT_TRUE(ui::Enabled(*editor, OnlineUpButtons[1][0]));
}

TEST_F(OnlineFixture, CancelAndNoLeaveEverythingAsItWas) {
    OnlineSelection = {"Cn025", "", "Sn211"};
    Open();
    messages->Answer(IDNO);
    messages->Answer(IDYES);
    ui::ModalScript script({{IDD_ONLINE_SLOTS,
                             [&](CDialog& d) {
                                 auto& setDialog = dynamic_cast<COnLineParaSetDlg&>(d);
                                 ui::Press(d, IDC_OS_CLEAR1); // No
                                 EXPECT_EQ(setDialog.SlotCode[0], "Cn025");
                                 EXPECT_TRUE(ui::Enabled(d, IDC_OS_CLEAR1));
                                 ui::Press(d, IDC_OS_CLEAR3); // Yes
                                 EXPECT_EQ(setDialog.SlotCode[2], "");
                                 EXPECT_EQ(setDialog.m_list.GetItemText(2, 0), "");
                                 EXPECT_FALSE(ui::Enabled(d, IDC_OS_CLEAR3));
                                 // The keys act on the item with the selection mark.
                                 setDialog.m_list.SetSelectionMark(3);
                                 SendListKey(d, VK_SPACE);
                                 setDialog.m_list.SetSelectionMark(-1);
                                 SendListKey(d, VK_DELETE);
                                 ui::Press(d, IDCANCEL);
                             }},
                            {IDD_ONLINE_PICK, [&](CDialog& d) {
                                 auto& pick = dynamic_cast<CSetParaSelDlg&>(d);
                                 EXPECT_EQ(pick.OtherCodes[0], "Cn025");
                                 EXPECT_EQ(pick.OtherCodes[3], "") << "the slot being set";
                                 ui::Press(d, IDOK);
                             }}});
    ui::Press(*editor, IDC_OE_SET);
    EXPECT_EQ(script.Opened(), (std::vector<UINT>{IDD_ONLINE_SLOTS, IDD_ONLINE_PICK}));
    ASSERT_EQ(messages->Shown().size(), 2u);
    EXPECT_EQ(messages->Shown()[0].text, "Are you sure you want to clear parameter code Cn025?");
    EXPECT_EQ(messages->Shown()[0].caption, "Clear Message");
    EXPECT_EQ(messages->Shown()[0].type, MB_YESNO | MB_ICONQUESTION);
    EXPECT_EQ(OnlineSelection, (OnlineCodes{"Cn025", "", "Sn211"}));
    EXPECT_EQ(editor->GetDlgItemText(OnlineRowTexts[2][0]), "Sn211");
}

TEST_F(OnlineFixture, ASlotOutsideTheTableGetsNoLimitsAndTheRowNoSteps) {
    // Such codes come only from files; the Set dialog then shows them without a title or limits.
    OnlineSelection = {"Cn025"};
    Limits("Cn025", 0, 900);
    Open();
    ui::ModalScript script({{IDD_ONLINE_SLOTS, [&](CDialog& d) {
                                 auto& setDialog = dynamic_cast<COnLineParaSetDlg&>(d);
                                 EXPECT_EQ(setDialog.SlotMax[0], 900);
                                 setDialog.SlotCode[0] = "onC45";
                                 setDialog.RefreshSlotRow(1, "onC45");
                                 EXPECT_EQ(setDialog.SlotTitle[0], "");
                                 EXPECT_EQ(setDialog.SlotMax[0], 0);
                                 EXPECT_FALSE(setDialog.SlotLimitsKnown[0]);
                                 ui::Press(d, IDOK);
                             }}});
    ui::Press(*editor, IDC_OE_SET);
    EXPECT_EQ(OnlineSelection[0], "onC45");
    EXPECT_FALSE(ui::Enabled(*editor, OnlineUpButtons[0][0]));
}

TEST_F(OnlineFixture, SelectionFilesSaveWhatTheRowsShowAndLoadIntoTheSelection) {
    OnlineSelection = {"Cn025", "Cn036", "", "Sn211"};
    Open();
    const std::string saved = home_->File("set.onp");
    messages->AnswerFile(saved);
    ui::Press(*editor, IDC_OE_SAVE);
    EXPECT_EQ(Bytes(saved), OnlineParameterText({"Cn025", "", "", "Sn211"}))
        << "Cn036 is not shown, so not saved";
    messages->AnswerFile(home_->File("set.txt"));
    ui::Press(*editor, IDC_OE_SAVE);
    EXPECT_FALSE(std::ifstream(home_->File("set.txt")).good());

    std::ofstream(home_->File("five.onp"), std::ios::binary)
        << "header\r\nCn001\r\nTn103\r\nSn212\r\nCn034\r\nCn036\r\n";
    messages->AnswerFile(home_->File("five.onp"));
    drive->ClearLog();
    ui::Press(*editor, IDC_OE_OPEN);
    EXPECT_EQ(OnlineSelection, (OnlineCodes{"Cn001", "Tn103", "Sn212", "Cn034", "Cn036", "", "", ""}));
    EXPECT_EQ(editor->GetDlgItemText(OnlineRowTexts[1][0]), "Tn103");
    EXPECT_EQ(editor->GetDlgItemText(OnlineRowTexts[4][0]), "");
    EXPECT_EQ(editor->GetDlgItemText(OnlineRowTexts[3][0]), "Cn034");
    EXPECT_FALSE(Requests().empty()) << "the new rows are read";

    std::ofstream(home_->File("big.onp"), std::ios::binary) << std::string(OnlineFileMaxBytes + 10, 'x');
    messages->AnswerFile(home_->File("big.onp"));
    messages->Clear();
    ui::Press(*editor, IDC_OE_OPEN);
    EXPECT_EQ(messages->Shown().size(), 1u);
    EXPECT_EQ(OnlineSelection[0], "Cn001");
}
