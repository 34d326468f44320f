#include "online/ui/OnLineParaSetDlg.h"

#include "catalogue/KeloServoDoc.h"
#include "framework/core/MessageSeam.h"
#include "framework/core/ResourceModule.h"
#include "online/ui/SetParaSelDlg.h"
#include "resources/ids/online.h"

namespace {

constexpr int kColumnCount = 5;
// The name column takes what the other four leave of the list's width.
constexpr int kOtherColumnsWidth = 274;

} // namespace

COnLineParaSetDlg::COnLineParaSetDlg(IOnlineViewLink& view, CWnd* parent)
    : CDialog(IDD_ONLINE_SLOTS, parent), view_(view) {}

const MessageMap* COnLineParaSetDlg::GetMessageMap() const {
    static const MessageMap map(
        CDialog::GetMessageMap(),
        {
            msg::CommandRange(IDC_OS_SET1, IDC_OS_SET8, &COnLineParaSetDlg::OnSetButton),
            msg::CommandRange(IDC_OS_CLEAR1, IDC_OS_CLEAR3, &COnLineParaSetDlg::OnClearButton),
            msg::CommandRange(IDC_OS_CLEAR4, IDC_OS_CLEAR8, &COnLineParaSetDlg::OnClearButton),
            msg::Notify(NM_DBLCLK, IDC_OS_LIST, &COnLineParaSetDlg::OnListDblClk),
            msg::Notify(LVN_KEYDOWN, IDC_OS_LIST, &COnLineParaSetDlg::OnListKeyDown),
        });
    return &map;
}

void COnLineParaSetDlg::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_OS_LIST, m_list);
}

BOOL COnLineParaSetDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_list.SetExtendedStyle(m_list.GetExtendedStyle() | LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT |
                            LVS_EX_INFOTIP);
    CRect rect;
    m_list.GetWindowRect(&rect);
    const std::array<std::pair<int, int>, kColumnCount> columns = {
        {{IDS_OS_CODE, 50},
         {IDS_OS_NAME, rect.Width() - kOtherColumnsWidth},
         {IDS_OS_UNIT, 60},
         {IDS_OS_RANGE, 100},
         {IDS_OS_DEFAULT, 60}}};
    for (int c = 0; c < kColumnCount; ++c)
        m_list.InsertColumn(c, LoadResString(columns[static_cast<size_t>(c)].first), LVCFMT_LEFT,
                            columns[static_cast<size_t>(c)].second);
    for (int item = 0; item < OnlineRowCount; ++item)
        m_list.InsertItem(item, std::string());
    for (int slot = 1; slot <= OnlineRowCount; ++slot) {
        const std::string code = SlotCode[static_cast<size_t>(slot - 1)];
        if (!code.empty())
            RefreshSlotRow(slot, code);
        else
            EnableClear(slot, false);
    }
    return TRUE;
}

void COnLineParaSetDlg::EnableClear(int slot, bool enable) {
    if (CWnd* button = GetDlgItem(OnlineSlotClearButtons[static_cast<size_t>(slot - 1)]))
        button->EnableWindow(enable);
}

void COnLineParaSetDlg::RefreshSlotRow(int slot, const std::string& code) {
    CKeloServoDoc* doc = view_.Document();
    if (!doc)
        return;
    const size_t i = static_cast<size_t>(slot - 1);
    const RowTexts texts = RowTextsOf(code, doc, view_.Context(), ResourceStringLoader());
    // A code outside the table keeps nothing of the previous one: no title, no limits.
    SlotTitle[i] = texts.limits ? texts.title : std::string();
    SlotUnit[i] = texts.unit;
    SlotRange[i] = texts.range;
    SlotLimitsKnown[i] = texts.limits.has_value();
    SlotMin[i] = texts.limits ? texts.limits->minimum : 0;
    SlotMax[i] = texts.limits ? texts.limits->maximum : 0;
    const int item = slot - 1;
    m_list.SetItemText(item, 0, code);
    m_list.SetItemText(item, 1, SlotTitle[i]);
    m_list.SetItemText(item, 2, SlotUnit[i]);
    m_list.SetItemText(item, 3, SlotRange[i]);
    m_list.SetItemText(item, 4, texts.defaultValue);
}

void COnLineParaSetDlg::ClearSlotRow(int slot) {
    const size_t i = static_cast<size_t>(slot - 1);
    for (int column = 0; column < kColumnCount; ++column)
        m_list.SetItemText(slot - 1, column, std::string());
    SlotTitle[i].clear();
    SlotUnit[i].clear();
    SlotRange[i].clear();
    SlotMin[i] = 0;
    SlotMax[i] = 0;
    SlotLimitsKnown[i] = false;
}

bool COnLineParaSetDlg::ConfirmClearSlot(int slot, const std::string& code) {
    // The code takes the place of the text's "%s" (a loaded text is never handed to printf).
    std::string question = LoadResString(IDS_OS_CLEAR_QUESTION);
    if (const size_t at = question.find("%s"); at != std::string::npos)
        question.replace(at, 2, code);
    if (ShowMessage(question, LoadResString(IDS_OS_CLEAR_CAPTION), MB_YESNO | MB_ICONQUESTION) != IDYES)
        return false;
    SlotCode[static_cast<size_t>(slot - 1)].clear();
    ClearSlotRow(slot);
    return true;
}

void COnLineParaSetDlg::OnSetSlot(int slot) {
    if (slot < 1 || slot > OnlineRowCount)
        return;
    const size_t i = static_cast<size_t>(slot - 1);
    CSetParaSelDlg pick(view_.Context());
    pick.SelectedCode = SlotCode[i];
    for (size_t other = 0; other < SlotCode.size(); ++other)
        if (other != i)
            pick.OtherCodes[other] = SlotCode[other];
    if (pick.DoModal() != IDOK)
        return;
    SlotCode[i] = pick.SelectedCode;
    RefreshSlotRow(slot, SlotCode[i]);
    EnableClear(slot, true);
}

void COnLineParaSetDlg::OnClearSlot(int slot) {
    if (slot < 1 || slot > OnlineRowCount)
        return;
    const std::string code = SlotCode[static_cast<size_t>(slot - 1)];
    if (code.empty())
        return;
    if (ConfirmClearSlot(slot, code))
        EnableClear(slot, false);
}

void COnLineParaSetDlg::OnSetButton(UINT id) {
    OnSetSlot(static_cast<int>(id) - IDC_OS_SET1 + 1);
}

void COnLineParaSetDlg::OnClearButton(UINT id) {
    for (size_t i = 0; i < OnlineSlotClearButtons.size(); ++i)
        if (OnlineSlotClearButtons[i] == static_cast<int>(id))
            OnClearSlot(static_cast<int>(i) + 1);
}

void COnLineParaSetDlg::OnListDblClk(NMHDR*, LRESULT* result) {
    const int item = m_list.GetSelectionMark();
    if (item >= 0 && item < OnlineRowCount)
        OnSetSlot(item + 1);
    *result = 0;
}

void COnLineParaSetDlg::OnListKeyDown(NMHDR* header, LRESULT* result) {
    const auto* key = reinterpret_cast<NMLVKEYDOWN*>(header);
    const int item = m_list.GetSelectionMark();
    *result = 0;
    if (item < 0 || item >= OnlineRowCount)
        return;
    if (key->wVKey == VK_SPACE)
        OnSetSlot(item + 1);
    else if (key->wVKey == VK_DELETE)
        OnClearSlot(item + 1);
}
