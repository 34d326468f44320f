#include "wizard/ui/MotorTypePageDialog.h"

#include "framework/core/ResourceModule.h"
#include "framework/ui/ComboBox.h"
#include "resources/ids/wizard.h"
#include "wizard/WizardNavigation.h"

namespace {
constexpr int kMotorModelLabel = 1063;
constexpr int kVoltageLabel = 1052;
constexpr int kPowerLabel = 1064;
constexpr int kSpeedLabel = 1065;
constexpr int kEncoderLabel = 1066;
constexpr int kCn030Label = 1067;
} // namespace

CMotorTypePageDialog::CMotorTypePageDialog() : CWizardPage(IDD_WZ_MOTOR_PAGE, WizardPage::Motor) {}

const MessageMap* CMotorTypePageDialog::GetMessageMap() const {
    static const MessageMap map(
        CWizardPage::GetMessageMap(),
        {msg::Control(CBN_SELCHANGE, IDC_WZ_COMBO, &CMotorTypePageDialog::OnMotorSelected),
         msg::Control(CBN_SELCHANGE, IDC_WZ_ENCODER_COMBO, &CMotorTypePageDialog::OnEncoderSelected)});
    return &map;
}

std::string CMotorTypePageDialog::MotorModelAt(int group, int row) {
    std::string model = tables_.MotorModelAt(group, row);
    m_RatedSpeed = tables_.m_RatedSpeed;
    m_MaxTorque = tables_.m_MaxTorque;
    m_CapacityText = tables_.m_CapacityText;
    return model;
}

BOOL CMotorTypePageDialog::OnInitDialog() {
    CWizardPage::OnInitDialog();
    if (auto* combo = dynamic_cast<CComboBox*>(GetDlgItem(IDC_WZ_ENCODER_COMBO))) {
        combo->ResetContent();
        for (int i = 0; i < EncoderSpecCount; ++i)
            combo->AddString(tables_.EncoderSpecAt(i));
    }
    RefillMotorList();
    return TRUE;
}

void CMotorTypePageDialog::RefillMotorList() {
    if (auto* combo = dynamic_cast<CComboBox*>(GetDlgItem(IDC_WZ_COMBO))) {
        combo->ResetContent();
        const std::string letterPlace = LoadResString(IDS_WZ_ENCODER_LETTER_PLACE);
        for (int row = 0; row < MotorModelCount(m_CapacityGroup); ++row)
            combo->AddString(MotorModelAt(m_CapacityGroup, row) + letterPlace);
        combo->SetCurSel(m_MotorRow);
        combo->SetFocus();
    }
    m_EncoderIndex = EncoderIndexOf(static_cast<int>(m_MotorCode));
    if (auto* combo = dynamic_cast<CComboBox*>(GetDlgItem(IDC_WZ_ENCODER_COMBO)))
        combo->SetCurSel(m_EncoderIndex);
    UpdateMotorSummary();
}

void CMotorTypePageDialog::UpdateMotorSummary() {
    tables_.UpdateMotorSummary(m_CapacityGroup, m_MotorRow, m_EncoderIndex);
    m_RatedSpeed = tables_.m_RatedSpeed;
    m_MaxTorque = tables_.m_MaxTorque;
    m_CapacityText = tables_.m_CapacityText;
    m_ModelName = tables_.m_ModelName;
    m_MotorCode = tables_.m_MotorCode;
    SetDlgItemText(IDC_WZ_MOTOR_DETAILS, LoadResString(kMotorModelLabel) + m_ModelName + "\n" +
                                             LoadResString(kVoltageLabel) + tables_.m_SupplyText + "\n" +
                                             LoadResString(kPowerLabel) + m_CapacityText + "\n" +
                                             LoadResString(kSpeedLabel) + tables_.m_RatedSpeedText + "\n" +
                                             LoadResString(kEncoderLabel) + tables_.m_EncoderText + "\n\n" +
                                             LoadResString(kCn030Label) + tables_.m_Cn030Text);
}

void CMotorTypePageDialog::OnMotorSelected() {
    if (auto* combo = dynamic_cast<CComboBox*>(GetDlgItem(IDC_WZ_COMBO)); combo && combo->GetCurSel() >= 0)
        m_MotorRow = combo->GetCurSel();
    UpdateMotorSummary();
}

void CMotorTypePageDialog::OnEncoderSelected() {
    if (auto* combo = dynamic_cast<CComboBox*>(GetDlgItem(IDC_WZ_ENCODER_COMBO));
        combo && combo->GetCurSel() >= 0)
        m_EncoderIndex = combo->GetCurSel();
    UpdateMotorSummary();
}
