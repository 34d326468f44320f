#pragma once
// CWarningDlg: the auto gain window's confirmation ("Infor", template 6007): the tuned values beside
// the existing ones, and "Do you want to write parameters?". The owner writes the answer.
#include "framework/ui/Dialog.h"
#include "framework/ui/ListCtrl.h"

#include <array>
#include <functional>
#include <string>

class CWarningDlg : public CDialog {
public:
    static constexpr int RowCount = 16;
    using Table = std::array<std::array<std::string, 3>, RowCount>;

    CWarningDlg();
    const MessageMap* GetMessageMap() const override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override { OnNo(); }
    void OnNo();
    void OnClose() { OnNo(); }
    void OnDestroy();
    // Rebuilds the three columns and the sixteen rows from the table.
    void RefillList();

    Table m_table;
    CListCtrl m_list;
    // The owner's answer handler (1 Yes, 2 No) and what it does when the window goes.
    std::function<void(int answer)> OnAnswer;
    std::function<void()> OnGone;
};
