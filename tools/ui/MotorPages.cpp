#include "tools/ui/MotorPages.h"

#include "framework/core/ResourceModule.h"
#include "framework/core/WindowStyles.h"
#include "framework/ui/ComboBox.h"
#include "resources/ids/motortools.h"

namespace {

const std::string ConstantMask = "######.###";

std::vector<std::pair<int, std::string>> Constants(int first) {
    std::vector<std::pair<int, std::string>> fields;
    for (int id = first; id < first + 6; ++id)
        fields.emplace_back(id, ConstantMask);
    return fields;
}

} // namespace

CMotorPage::CMotorPage(UINT templateId, std::vector<std::pair<int, std::string>> maskedFields)
    : CDialog(templateId), maskedFields_(std::move(maskedFields)) {}

BOOL CMotorPage::Create(UINT templateId, CWnd* parent) {
    const DialogTemplate* found = FindDialogTemplate(static_cast<int>(templateId));
    if (!found || !parent)
        return CDialog::Create(templateId, parent);
    DialogTemplate child = *found;
    child.style =
        (child.style & ~static_cast<std::uint32_t>(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME)) |
        WS_CHILD;
    m_nIDHelp = templateId;
    return CreateIndirect(child, parent);
}

BOOL CMotorPage::OnInitDialog() {
    CDialog::OnInitDialog();
    for (const auto& [id, mask] : maskedFields_) {
        auto edit = std::make_unique<CQTRMaskedDOTEdit>(mask);
        if (edit->SubclassDlgItem(static_cast<UINT>(id), this))
            edits_.push_back(std::move(edit));
    }
    return TRUE;
}

int CMotorPage::ComboIndex(int id) const {
    auto* combo = dynamic_cast<CComboBox*>(GetDlgItem(id));
    return combo ? combo->GetCurSel() : -1;
}

void CMotorPage::SetComboIndex(int id, int index) {
    if (auto* combo = dynamic_cast<CComboBox*>(GetDlgItem(id)))
        combo->SetCurSel(index);
}

CRotateDlg::CRotateDlg() : CMotorPage(IDD_MOTOR_ROTARY_PAGE, Constants(IDC_MOTOR_RATED_CURRENT)) {}

CLinerPageDlg::CLinerPageDlg()
    : CMotorPage(IDD_MOTOR_LINEAR_PAGE, [] {
          auto fields = Constants(IDC_MOTOR_RATED_CURRENT);
          fields.emplace_back(IDC_MOTOR_POLE_PITCH, "####.#");
          fields.emplace_back(IDC_MOTOR_RESOLUTION, "#####.##");
          return fields;
      }()) {}

CLinearPara1Dlg::CLinearPara1Dlg() : CMotorPage(IDD_MOTOR_RECORD_PAGE, Constants(IDC_RECORD_CURRENT)) {}
