#include "valueedit/EditValueEPDialog.h"

#include "catalogue/ParamTexts.h"
#include "framework/core/MessageSeam.h"
#include "framework/ui/ComboBox.h"
#include "resources/ids/valueedit.h"
#include "valueedit/EditorEnvironment.h"
#include "valueedit/NumericEditRules.h"

CEditValueEPDialog::CEditValueEPDialog() : CDialog(IDD_VE_CN001) {}

BOOL CEditValueEPDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    const ControlModeChoices choices =
        BuildControlModeChoices(EditorContext().seriesCode, m_Value, m_Min, m_Max);
    if (auto* combo = dynamic_cast<CComboBox*>(GetDlgItem(IDC_VE_COMBO0))) {
        combo->ResetContent();
        for (const auto& entry : choices.entries)
            combo->AddString(entry);
        combo->SetCurSel(choices.selection);
    }
    SetDlgItemText(IDC_VE_CODE, m_Code);
    SetDlgItemText(IDC_VE_TITLE, " " + m_Title);
    SetDlgItemText(IDC_VE_UNIT, m_Unit);
    SetDlgItemText(IDC_VE_RANGE, choices.rangeText);
    SetDlgItemText(IDC_VE_EXPLANATION, ParamExplanation(m_Code, ResourceStringLoader()));
    return TRUE;
}

void CEditValueEPDialog::OnOK() {
    auto* combo = dynamic_cast<CComboBox*>(GetDlgItem(IDC_VE_COMBO0));
    const int entry = combo ? combo->GetCurSel() : -1;
    // Without a chosen entry the value stays as it was.
    if (const auto value = ControlModeValue(EditorContext().seriesCode, entry, m_Min))
        m_Value = *value;
    EndDialog(IDOK);
}
