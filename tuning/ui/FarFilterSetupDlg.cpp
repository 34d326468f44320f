#include "tuning/ui/FarFilterSetupDlg.h"

#include "catalogue/KeloServoDoc.h"
#include "framework/core/Format.h"
#include "framework/core/MessageSeam.h"
#include "framework/core/ResourceModule.h"
#include "framework/ui/Edit.h"
#include "link/LinkState.h"
#include "link/services/TransferPass.h"
#include "resources/ids/mainframe.h"
#include "resources/ids/tuning.h"

CFarFilterSetupDlg::CFarFilterSetupDlg(CWnd* parent, CRegisterServices& services)
    : CDialog(IDD_FAR_FILTER_SETUP, parent), services_(services) {}

void CFarFilterSetupDlg::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
    for (int i = 0; i < NotchFieldCount; ++i)
        DDX_Text(dx, IDC_FAR_FIRST_CURRENT + i, m_current[i]);
}

BOOL CFarFilterSetupDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    CBusyHold busy(services_);
    for (int i = 0; i < NotchFieldCount; ++i) {
        const NotchField& field = NotchFields[i];
        if (auto* edit = dynamic_cast<CEdit*>(GetDlgItem(IDC_FAR_FIRST_EDIT + i)))
            edit->SetLimitText(field.maxCharacters);
        // A failed read shows no value and presets the document's own: Write must never send a
        // value some other exchange left behind.
        const std::optional<int> value = services_.ReadDriveParameter(field.code);
        const int* documentValue = services_.Document ? services_.Document->FindValue(field.code) : nullptr;
        m_values[i] = value ? *value : (documentValue ? *documentValue : 0);
        m_current[i] = value ? Format("%d", *value) : "----";
        SetDlgItemText(IDC_FAR_FIRST_EDIT + i, Format("%d", m_values[i]));
    }
    UpdateData(FALSE);
    return TRUE;
}

void CFarFilterSetupDlg::OnOK() {
    if (!ConnectedFlag) {
        ShowMessage(LoadResString(IDS_COMMUNICATE_ERROR), LoadResString(IDS_COMMUNICATION_MESSAGE),
                    MB_OK | MB_ICONSTOP);
        return;
    }
    std::array<std::string, NotchFieldCount> texts;
    for (int i = 0; i < NotchFieldCount; ++i)
        texts[i] = GetDlgItemText(IDC_FAR_FIRST_EDIT + i);
    std::array<int, NotchFieldCount> values = m_values;
    if (const std::optional<int> bad = FirstBadNotchField(texts, values)) {
        ShowMessage(LoadResString(IDS_FAR_RANGE_FIRST + *bad), LoadResString(IDS_FAR_ERROR_CAPTION),
                    MB_OK | MB_ICONSTOP);
        if (auto* edit = dynamic_cast<CEdit*>(GetDlgItem(IDC_FAR_FIRST_EDIT + *bad))) {
            edit->SetFocus();
            edit->SetSel(0, 4);
        }
        return;
    }
    m_values = values;
    if (services_.Document) {
        for (int i = 0; i < NotchFieldCount; ++i)
            if (int* slot = services_.Document->FindValue(NotchFields[i].code))
                *slot = m_values[i];
    }
    {
        CBusyHold busy(services_);
        services_.WriteFilterParameters(); // it tells the user what was and was not written
    }
    EndDialog(IDOK);
}
