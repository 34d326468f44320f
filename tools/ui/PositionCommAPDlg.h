#pragma once
// CPositionCommAPDlg: the modal "Internal Position Command Programming" dialog over the document's
// path-planning values: the position mode and PHOLD select (Pn316), the command smoothing time
// (Pn313) and the 32 entries on two pages. The view reads the values before and writes them after.
#include "framework/ui/Dialog.h"
#include "framework/ui/SpinButtonCtrl.h"
#include "framework/ui/TabCtrl.h"
#include "tools/ui/PositionCommPage1.h"

class CPositionCommAPDlg : public CDialog {
public:
    CPositionCommAPDlg(CKeloServoDoc& doc, CWnd* parent = nullptr);
    const MessageMap* GetMessageMap() const override;
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;

    int m_smoothing = 10;
    int m_positionMode = 0;
    int m_pholdSelect = 0;
    CPositionCommPage1 m_page1;
    CPositionCommPage2 m_page2;
    CTabCtrl m_tab;
    CSpinButtonCtrl m_spin;

protected:
    void OnOK() override;
    void OnModeRadio(UINT id);
    void OnTabChange(NMHDR*, LRESULT* result);

private:
    void CheckRadios();
};
