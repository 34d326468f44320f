#include "tools/ui/ProgramJogDlg.h"

#include "link/LinkState.h"
#include "link/services/TransferPass.h"
#include "resources/ids/tools.h"
#include "resources/ids/tuningwindows.h"

CProgramJogDlg::CProgramJogDlg(ITuningViewLink& view)
    : CJogRunDialog(IDD_PROGRAM_JOG, nullptr, view.Services(),
                    [&view] { return view.Document() != nullptr; }),
      view_(view) {}

const MessageMap* CProgramJogDlg::GetMessageMap() const {
    static const MessageMap map(
        CJogRunDialog::GetMessageMap(),
        {
            msg::Command(IDC_JOG_PARAMETER_WRITE, &CProgramJogDlg::OnParameterWrite),
            msg::Command(IDC_JOG_ONLINE_PARAMETER, &CProgramJogDlg::OnOnlineParameter),
            msg::Close(&CProgramJogDlg::OnClose),
        });
    return &map;
}

BOOL CProgramJogDlg::Create(CWnd* parent) {
    return CDialog::Create(IDD_PROGRAM_JOG, parent);
}

void CProgramJogDlg::DoDataExchange(CDataExchange* dx) {
    ExchangeStroke(dx);
}

BOOL CProgramJogDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    return OpenStroke() ? TRUE : FALSE;
}

void CProgramJogDlg::OnParameterWrite() {
    if (!MayWriteStroke([this] { view_.RefreshStatus(); }))
        return;
    std::string failures;
    {
        CBusyHold busy(services_);
        WriteStroke(failures);
    }
    if (!ReportStrokeWrite(failures))
        return;
    bool armed;
    {
        CBusyHold busy(services_);
        armed = SetJogModeDigit(services_, 1);
    }
    if (armed) {
        GetDlgItem(IDC_JOG_START)->EnableWindow(TRUE);
        GetDlgItem(IDC_JOG_STOP)->EnableWindow(FALSE);
    }
}

void CProgramJogDlg::OnOnlineParameter() {
    view_.OpenOnlineEditor(this);
}

void CProgramJogDlg::OnClose() {
    OnCancel();
}

void CProgramJogDlg::OnCancel() {
    if (HasDocument() && run_.running) {
        // The stop also puts the run registers back. The drive refused it: the window stays, with
        // Stop, until it takes one; a stop that could not be sent is kept by the view.
        if (StopRun() == StopResult::Refused)
            return;
    } else if (HasDocument() && ConnectedFlag) {
        RestoreRunRegisters();
    }
    if (OnClosed)
        OnClosed();
    DestroyWindow();
}

void CProgramJogDlg::PostNcDestroy() {
    delete this;
}
