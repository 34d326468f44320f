#include "tuning/ui/OnlineFilterDialog.h"

#include "framework/core/Format.h"
#include "framework/core/MessageSeam.h"
#include "framework/core/ResourceModule.h"
#include "framework/ui/Edit.h"
#include "link/LinkState.h"
#include "link/services/TransferPass.h"
#include "resources/ids/mainframe.h"
#include "resources/ids/tuningwindows.h"
#include "tuning/TuningInputs.h"

#include <utility>

COnlineFilterDialog::COnlineFilterDialog(UINT templateId, ITuningViewLink& view, const FilterTable& table)
    : CDialog(templateId, nullptr), table_(table), view_(view), values_(table.rows.size(), 0),
      opening_(table.rows.size()) {}

const MessageMap* COnlineFilterDialog::GetMessageMap() const {
    static const MessageMap map(
        CDialog::GetMessageMap(),
        {
            msg::ControlRange(EN_CHANGE, 6000, 6199, &COnlineFilterDialog::OnSetChange),
            msg::CommandRange(6040, 6069, &COnlineFilterDialog::OnWriteRow),
            msg::Command(IDC_NF_WRITE_ALL, &COnlineFilterDialog::OnWriteAll),
            msg::Timer(&COnlineFilterDialog::OnTimer),
        });
    return &map;
}

BOOL COnlineFilterDialog::Create(CWnd* parent) {
    return CDialog::Create(m_nIDHelp, parent);
}

int COnlineFilterDialog::RowOfSet(int setId) const {
    for (size_t i = 0; i < table_.rows.size(); ++i)
        if (table_.rows[i].set == setId)
            return static_cast<int>(i);
    return -1;
}

int COnlineFilterDialog::RowOfWrite(int writeId) const {
    for (size_t i = 0; i < table_.rows.size(); ++i)
        if (table_.rows[i].write == writeId)
            return static_cast<int>(i);
    return -1;
}

int COnlineFilterDialog::Value(const std::string& code) const {
    for (size_t i = 0; i < table_.rows.size(); ++i)
        if (code == table_.rows[i].code)
            return values_[i];
    return 0;
}

BOOL COnlineFilterDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    for (const FilterRow& row : table_.rows)
        if (auto* edit = dynamic_cast<CEdit*>(GetDlgItem(row.set)))
            edit->LimitText(row.limit);
    if (ConnectedFlag)
        ReadRows(true);
    SetTimer(FilterRefreshTimer, 1000);
    return TRUE;
}

void COnlineFilterDialog::ReadRows(bool opening) {
    CRegisterServices& services = view_.Services();
    std::vector<std::optional<int>> read(table_.rows.size());
    {
        CBusyHold busy(services);
        for (size_t i = 0; i < table_.rows.size(); ++i)
            read[i] = services.ReadDriveParameter(table_.rows[i].code);
    }
    for (size_t i = 0; i < table_.rows.size(); ++i) {
        const FilterRow& row = table_.rows[i];
        // A failed read shows that it failed, never some other exchange's value.
        GetDlgItem(row.current)->SetWindowText(read[i] ? Format("%d", *read[i]) : std::string("----"));
        if (!opening)
            continue;
        opening_[i] = read[i];
        if (read[i])
            values_[i] = *read[i];
        SetSetText(static_cast<int>(i), read[i] ? Format("%d", *read[i]) : std::string());
    }
}

void COnlineFilterDialog::OnTimer(UINT_PTR id) {
    if (id != FilterRefreshTimer || !ConnectedFlag || view_.Services().LineBusy())
        return;
    ReadRows(false);
}

void COnlineFilterDialog::OnSetChange(UINT setId) {
    const int index = RowOfSet(static_cast<int>(setId));
    // Texts this window puts into the edits itself (the drive's values, a restored entry) raise the
    // change too: they are taken as they are.
    if (index < 0 || settingText_)
        return;
    const FilterRow& row = table_.rows[static_cast<size_t>(index)];
    auto* edit = dynamic_cast<CEdit*>(GetDlgItem(row.set));
    if (!edit)
        return;
    int start = 0, end = 0;
    edit->GetSel(start, end);
    const std::optional<int> value = GuardedEntry(edit->GetWindowText());
    if (value && row.TypingAllowed(*value)) {
        values_[static_cast<size_t>(index)] = *value;
        return;
    }
    SetSetText(index, Format("%d", values_[static_cast<size_t>(index)]));
    const EntrySelection back = SelectionAfterRefusal({start, end});
    edit->SetSel(back.start, back.end);
}

void COnlineFilterDialog::SetSetText(int index, const std::string& text) {
    const bool previous = std::exchange(settingText_, true);
    GetDlgItem(table_.rows[static_cast<size_t>(index)].set)->SetWindowText(text);
    settingText_ = previous;
}

void COnlineFilterDialog::ApplyZeroRule(int index) {
    const FilterRow& row = table_.rows[static_cast<size_t>(index)];
    CWnd* edit = GetDlgItem(row.set);
    if (row.zeroRule && values_[static_cast<size_t>(index)] == 0 && edit->GetWindowText() != "0")
        SetSetText(index, "0");
}

void COnlineFilterDialog::ShowRangeMessage(int index) {
    const FilterRow& row = table_.rows[static_cast<size_t>(index)];
    CWnd* control = GetDlgItem(row.set);
    GotoDlgCtrl(control);
    if (auto* edit = dynamic_cast<CEdit*>(control))
        edit->SetSel(0, -1);
    ShowMessage(FilterRangeMessage(row, LoadResString(IDS_TW_OVER_RANGE)));
}

BOOL COnlineFilterDialog::ValidateAll() {
    for (size_t i = 0; i < table_.rows.size(); ++i)
        ApplyZeroRule(static_cast<int>(i));
    if (const std::optional<int> failed = FirstOutOfRange(table_, values_)) {
        ShowRangeMessage(*failed);
        return FALSE;
    }
    return TRUE;
}

bool COnlineFilterDialog::WriteRow(int index) {
    if (!ConnectedFlag)
        return false;
    CRegisterServices& services = view_.Services();
    CBusyHold busy(services);
    return services.WriteDriveParameter(table_.rows[static_cast<size_t>(index)].code,
                                        values_[static_cast<size_t>(index)]) != 0;
}

void COnlineFilterDialog::ShowOriginals() {
    for (size_t i = 0; i < table_.rows.size(); ++i)
        if (const int original = table_.rows[i].original)
            GetDlgItem(original)->SetWindowText(opening_[i] ? Format("%d", *opening_[i])
                                                            : std::string("----"));
}

void COnlineFilterDialog::OnWriteRow(UINT writeId) {
    const int index = RowOfWrite(static_cast<int>(writeId));
    if (index < 0)
        return;
    const FilterRow& row = table_.rows[static_cast<size_t>(index)];
    ApplyZeroRule(index);
    if (!row.InRange(values_[static_cast<size_t>(index)])) {
        ShowRangeMessage(index);
        return;
    }
    if (!ConnectedFlag) {
        ShowMessage(LoadResString(IDS_COMMUNICATE_ERROR), LoadResString(IDS_COMMUNICATION_MESSAGE),
                    MB_OK | MB_ICONSTOP);
        return;
    }
    const bool written = WriteRow(index);
    if (index == table_.detectionRow && values_[static_cast<size_t>(index)] >= 1)
        ShowOriginals();
    if (!written)
        ShowMessage(std::string(row.code) + "\n" + LoadResString(IDS_TW_WRITE_FAILED),
                    LoadResString(IDS_TW_WRITE_MESSAGE), MB_OK | MB_ICONSTOP);
}

void COnlineFilterDialog::OnWriteAll() {
    if (!ValidateAll())
        return;
    if (!ConnectedFlag) {
        // Nothing was written: no "Write Finish!" for it.
        ShowMessage(LoadResString(IDS_COMMUNICATE_ERROR), LoadResString(IDS_COMMUNICATION_MESSAGE),
                    MB_OK | MB_ICONSTOP);
        return;
    }
    KillTimer(FilterRefreshTimer);
    std::string failures;
    for (int index : table_.writeOrder) {
        if (!WriteRow(index))
            failures += std::string(table_.rows[static_cast<size_t>(index)].code) + "\n";
        if (index == table_.detectionRow && values_[static_cast<size_t>(index)] >= 1)
            ShowOriginals();
    }
    if (failures.empty())
        ShowMessage(LoadResString(IDS_NF_WRITE_FINISH));
    else
        ShowMessage(failures + LoadResString(IDS_TW_WRITE_FAILED), LoadResString(IDS_TW_WRITE_MESSAGE),
                    MB_OK | MB_ICONSTOP);
    if (ConnectedFlag)
        SetTimer(FilterRefreshTimer, 1000);
}

void COnlineFilterDialog::EnableWriteButtons(BOOL enable) {
    if (CWnd* all = GetDlgItem(IDC_NF_WRITE_ALL))
        all->EnableWindow(enable);
    for (const FilterRow& row : table_.rows)
        if (CWnd* button = GetDlgItem(row.write))
            button->EnableWindow(enable);
}

void COnlineFilterDialog::OnCancel() {
    KillTimer(FilterRefreshTimer);
    if (OnClosed)
        OnClosed();
    DestroyWindow();
}
