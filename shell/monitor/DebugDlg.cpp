#include "shell/monitor/DebugDlg.h"

#include "framework/core/MessageSeam.h"
#include "resources/ids/monitor.h"
#include "shell/SetupDialogs.h"
#include "shell/ShellGlobals.h"

CDebugDlg::CDebugDlg(CWnd* parent) : CDialog(IDD, parent) {}

void CDebugDlg::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
    DDX_Text(dx, IDC_PROJECT_MODE_CODE, m_code);
}

void CDebugDlg::OnOK() {
    if (!UpdateData(TRUE))
        return;
    const ProjectModeAnswer answer = CheckProjectModeCode(m_code, BrandMode);
    DebugModeFlag = answer.debugModeFlag;
    ShowMessage(answer.message, std::string(), MB_OK);
    EndDialog(IDOK);
}
