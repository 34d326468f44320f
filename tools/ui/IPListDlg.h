#pragma once
// CIPListDlg: the modal "DI/DO Contact Set Property" dialog. It shows the assignment grid
// (CInOutParaDlg) for the inputs or the outputs, switches between them only when the group left has
// no conflict, and ends with OK only when both groups are free of conflicts. The words to write are
// then in Values(); the view stores them and writes the group.
#include "framework/ui/Dialog.h"
#include "tools/ui/InOutParaDlg.h"

class CKeloServoDoc;

class CIPListDlg : public CDialog {
public:
    CIPListDlg(const std::array<int, DioValueCount>& values, std::function<bool(bool, int)> offered,
               CWnd* parent = nullptr);
    const MessageMap* GetMessageMap() const override;
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;

    const std::array<int, DioValueCount>& Values() const { return m_grid.Values(); }

    int m_mode = 0; // 0 inputs, 1 outputs
    CInOutParaDlg m_grid;

protected:
    void OnInputs();
    void OnOutputs();
    void OnOK() override;
    BOOL PreTranslateMessage(MSG* msg) override;

private:
    void ShowLabels(bool outputs);
    void PlaceLabels();
};
