#include "tuning/ui/AutoOffsetDialog.h"

#include "framework/core/MessageSeam.h"
#include "framework/core/ResourceModule.h"
#include "link/LinkState.h"
#include "link/services/TransferPass.h"
#include "resources/ids/mainframe.h"
#include "resources/ids/tuningwindows.h"

CAutoOffsetDialog::CAutoOffsetDialog(ITuningViewLink& view) : CDialogEx(IDD_AUTO_OFFSET), view_(view) {}

BOOL CAutoOffsetDialog::Create(CWnd* parent) {
    return CDialog::Create(IDD_AUTO_OFFSET, parent);
}

void CAutoOffsetDialog::OnOK() {
    if (!ConnectedFlag) {
        ShowMessage(LoadResString(IDS_COMMUNICATE_ERROR), LoadResString(IDS_COMMUNICATION_MESSAGE),
                    MB_OK | MB_ICONSTOP);
        return;
    }
    CRegisterServices& services = view_.Services();
    int accepted;
    {
        CBusyHold busy(services);
        accepted = services.WriteParameterByGroup('F', 7, 1, 0);
    }
    if (accepted)
        ShowMessage(LoadResString(IDS_AO_DONE), LoadResString(IDS_AO_CAPTION), MB_OK | MB_ICONINFORMATION);
    else
        ShowMessage(LoadResString(IDS_COMMUNICATE_ERROR), LoadResString(IDS_AO_CAPTION), MB_OK | MB_ICONSTOP);
    OnCancel();
}

void CAutoOffsetDialog::OnCancel() {
    if (OnClosed)
        OnClosed();
    DestroyWindow();
}
