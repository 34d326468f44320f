#include "tuning/ui/Un45JogDlg.h"

#include "catalogue/DocumentGlobals.h"
#include "catalogue/RegisterMap.h"
#include "framework/core/Format.h"
#include "framework/core/MessageSeam.h"
#include "framework/core/ResourceModule.h"
#include "framework/ui/ComboBox.h"
#include "link/LinkState.h"
#include "link/services/TransferPass.h"
#include "resources/ids/mainframe.h"
#include "resources/ids/tuningwindows.h"
#include "tuning/TuningInputs.h"
#include "tuning/ui/EntryGuard.h"
#include "tuning/ui/JogHelpDlg.h"

CUn45JogDlg::CUn45JogDlg(ITuningViewLink& view, bool modeless)
    : CJogRunDialog(IDD_UN45_JOG, nullptr, view.Services(), [&view] { return view.Document() != nullptr; }),
      view_(view), modeless_(modeless) {}

const MessageMap* CUn45JogDlg::GetMessageMap() const {
    static const MessageMap map(CJogRunDialog::GetMessageMap(),
                                {
                                    msg::Command(IDC_JOG_PARAMETER_WRITE, &CUn45JogDlg::OnParameterWrite),
                                    msg::Command(IDC_JOG_ONLINE_PARAMETER, &CUn45JogDlg::OnOnlineParameter),
                                    msg::Command(IDC_UN45_HELP, &CUn45JogDlg::OnHelp),
                                    msg::Timer(&CUn45JogDlg::OnTimer),
                                    msg::Close(&CUn45JogDlg::OnClose),
                                });
    return &map;
}

BOOL CUn45JogDlg::Create(CWnd* parent) {
    return CDialog::Create(IDD_UN45_JOG, parent);
}

void CUn45JogDlg::DoDataExchange(CDataExchange* dx) {
    ExchangeStroke(dx);
    DDX_Text(dx, IDC_UN45_INERTIA, m_inertia);
}

BOOL CUn45JogDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    if (!OpenStroke())
        return FALSE;
    SetTimer(InertiaDisplayTimer, 1000);
    return TRUE;
}

void CUn45JogDlg::OnParameterWrite() {
    if (!MayWriteStroke([this] { view_.RefreshStatus(); }))
        return;
    CRegisterServices& services = view_.Services();
    std::string failures;
    bool cn059Written = false;
    {
        CBusyHold busy(services);
        WriteStroke(failures);
        if (failures.empty()) {
            cn059Written = services.WriteDriveParameter("Cn059", 2) != 0;
            if (!cn059Written)
                failures += "Cn059";
        }
    }
    if (!ReportStrokeWrite(failures))
        return;
    bool armed;
    {
        CBusyHold busy(services);
        armed = SetJogModeDigit(services, m_written ? 1 : 0);
    }
    if (armed) {
        m_written = true;
        GetDlgItem(IDC_JOG_START)->EnableWindow(TRUE);
        GetDlgItem(IDC_JOG_STOP)->EnableWindow(FALSE);
    }
}

void CUn45JogDlg::OnTimer(UINT_PTR id) {
    CRegisterServices& services = view_.Services();
    if (id == InertiaDisplayTimer && ConnectedFlag && !services.LineBusy()) {
        std::optional<int> value;
        {
            CBusyHold busy(services);
            value = services.ReadDriveParameter("Un-45");
        }
        m_inertia = value ? Format("%.1f", *value / 10.0) : std::string("----");
        GetDlgItem(IDC_UN45_INERTIA)->SetWindowText(m_inertia);
    }
}

void CUn45JogDlg::OnOnlineParameter() {
    view_.OpenOnlineEditor(this);
}

void CUn45JogDlg::OnHelp() {
    CJogHelpDlg help;
    help.DoModal();
}

void CUn45JogDlg::OnClose() {
    OnCancel();
}

void CUn45JogDlg::OnCancel() {
    if (HasDocument()) {
        CRegisterServices& services = view_.Services();
        // The drive refused the stop: the window stays, with Stop, until it takes one. A stop that
        // could not be sent is kept by the view and goes out when the link comes back.
        if (run_.running && StopRun() == StopResult::Refused)
            return;
        if (ConnectedFlag) {
            CBusyHold busy(services);
            ::RestoreRunRegisters(services, run_);
            services.WriteDriveParameter("Cn059", 0);
        }
    }
    KillTimer(InertiaDisplayTimer);
    if (!modeless_) {
        EndDialog(IDCANCEL);
        return;
    }
    if (OnClosed)
        OnClosed();
    DestroyWindow();
}

void CUn45JogDlg::PostNcDestroy() {
    if (modeless_)
        delete this;
}
