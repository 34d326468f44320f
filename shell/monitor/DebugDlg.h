#pragma once
// CDebugDlg: the modal "Project Mode" dialog. OK checks the typed access code of the brand: a right
// code switches Project Mode on, a wrong one switches it off; either way the user is told.
#include "framework/ui/Dialog.h"

#include <string>

class CDebugDlg : public CDialog {
public:
    static constexpr UINT IDD = 6018;

    explicit CDebugDlg(CWnd* parent = nullptr);

    void DoDataExchange(CDataExchange* dx) override;
    void OnOK() override;

    std::string m_code; // the typed access code
};
