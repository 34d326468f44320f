#include "wizard/ui/MotorEncoderPages.h"

#include "framework/core/Format.h"
#include "framework/ui/ComboBox.h"
#include "framework/ui/Messages.h"
#include "resources/ids/wizard.h"
#include "wizard/WizardNavigation.h"

// ---- Dividing output ---------------------------------------------------------------------------

CMotorEncoderPage1Dialog::CMotorEncoderPage1Dialog()
    : CWizardPage(IDD_WZ_ENCODER_PAGE1, WizardPage::Encoder1) {}

const MessageMap* CMotorEncoderPage1Dialog::GetMessageMap() const {
    static const MessageMap map(
        CWizardPage::GetMessageMap(),
        {msg::Control(EN_CHANGE, IDC_WZ_EDIT1, &CMotorEncoderPage1Dialog::OnValueTyped),
         msg::CommandRange(IDC_WZ_RADIO1, IDC_WZ_RADIO2, &CMotorEncoderPage1Dialog::OnPhaseOrder)});
    return &map;
}

void CMotorEncoderPage1Dialog::DoDataExchange(CDataExchange* dx) {
    CWizardPage::DoDataExchange(dx);
    DDX_Text(dx, IDC_WZ_EDIT1, m_DividingOutput);
    DDX_Radio(dx, IDC_WZ_RADIO1, m_PhaseOrder);
}

BOOL CMotorEncoderPage1Dialog::OnInitDialog() {
    CWizardPage::OnInitDialog();
    SendDlgItemMessage(IDC_WZ_EDIT1, EM_LIMITTEXT, 7);
    ShowRangeLabel(IDC_WZ_SPIN1, IDC_WZ_RANGE1, m_DividingMin, m_DividingMax, true);
    UpdateData(FALSE);
    return TRUE;
}

bool CMotorEncoderPage1Dialog::CheckPage() {
    return CheckValueEdits({{IDC_WZ_EDIT1, m_DividingMin, m_DividingMax}});
}

void CMotorEncoderPage1Dialog::TakeChoices(const CollectedSet& set) {
    m_DividingOutput = set.Choice("Cn005");
    m_PhaseOrder = set.Choice("Pn316.2");
}

void CMotorEncoderPage1Dialog::GiveChoices(CollectedSet& set) const {
    set.SetChoice("Cn005", m_DividingOutput);
    set.SetChoice("Pn316.2", m_PhaseOrder);
}

bool CMotorEncoderPage1Dialog::DiffersFrom(const CollectedSet& set) const {
    return m_DividingOutput != set.Choice("Cn005") || m_PhaseOrder != set.Choice("Pn316.2");
}

void CMotorEncoderPage1Dialog::OnValueTyped() {
    m_DividingOutput = AtoI(GetDlgItemText(IDC_WZ_EDIT1));
}

void CMotorEncoderPage1Dialog::OnPhaseOrder(UINT id) {
    m_PhaseOrder = static_cast<int>(id) - IDC_WZ_RADIO1;
}

// ---- Rotation direction ------------------------------------------------------------------------

CMotorEncoderDirectionPage::CMotorEncoderDirectionPage(UINT templateId, int pageCode,
                                                       const char* directionKey, std::vector<int> functions,
                                                       std::vector<int> groups)
    : CWizardPage(templateId, pageCode), directionKey_(directionKey), functions_(std::move(functions)),
      groups_(std::move(groups)) {}

const MessageMap* CMotorEncoderDirectionPage::GetMessageMap() const {
    static const MessageMap map(
        CWizardPage::GetMessageMap(),
        {msg::CommandRange(IDC_WZ_RADIO1, IDC_WZ_RADIO2, &CMotorEncoderDirectionPage::OnDirection),
         msg::CommandRange(IDC_WZ_RADIO3, IDC_WZ_RADIO8, &CMotorEncoderDirectionPage::OnContact),
         msg::ControlRange(CBN_SELCHANGE, IDC_WZ_COMBO, IDC_WZ_COMBO3,
                           &CMotorEncoderDirectionPage::OnInputSelected)});
    return &map;
}

BOOL CMotorEncoderDirectionPage::OnInitDialog() {
    CWizardPage::OnInitDialog();
    LoadPage();
    return TRUE;
}

void CMotorEncoderDirectionPage::LoadPage() {
    CheckRadioButton(IDC_WZ_RADIO1, IDC_WZ_RADIO2, IDC_WZ_RADIO1 + (m_Direction ? 1 : 0));
    for (size_t k = 0; k < functions_.size(); ++k) {
        FillSelector(IDC_WZ_COMBO + static_cast<int>(k), false, m_Input[k]);
        const int first = IDC_WZ_RADIO3 + 2 * static_cast<int>(k);
        CheckRadioButton(first, first + 1, first + (m_Contact[k] ? 1 : 0));
    }
    ShowAllContactControls();
}

void CMotorEncoderDirectionPage::ShowAllContactControls() {
    for (size_t k = 0; k < functions_.size(); ++k) {
        const int first = IDC_WZ_RADIO3 + 2 * static_cast<int>(k);
        ShowContactControls(m_Input[k], {groups_[k], first, first + 1});
    }
}

void CMotorEncoderDirectionPage::TakeChoices(const CollectedSet& set) {
    m_Direction = set.Choice(directionKey_);
    for (size_t k = 0; k < functions_.size(); ++k) {
        const DioAssignment pin = set.DiOf(functions_[k]);
        m_Input[k] = pin.number;
        m_Contact[k] = pin.contact;
    }
}

void CMotorEncoderDirectionPage::GiveChoices(CollectedSet& set) const {
    set.SetChoice(directionKey_, m_Direction);
}

bool CMotorEncoderDirectionPage::DiffersFrom(const CollectedSet& set) const {
    if (m_Direction != set.Choice(directionKey_))
        return true;
    for (size_t k = 0; k < functions_.size(); ++k) {
        const DioAssignment pin = set.DiOf(functions_[k]);
        if (m_Input[k] != pin.number || (m_Input[k] != 0 && m_Contact[k] != pin.contact))
            return true;
    }
    return false;
}

std::vector<DioAssignment> CMotorEncoderDirectionPage::DiAssignments() const {
    std::vector<DioAssignment> pins;
    for (size_t k = 0; k < functions_.size(); ++k)
        pins.push_back({functions_[k], m_Input[k], m_Contact[k]});
    return pins;
}

void CMotorEncoderDirectionPage::OnDirection(UINT id) {
    m_Direction = static_cast<int>(id) - IDC_WZ_RADIO1;
}

void CMotorEncoderDirectionPage::OnContact(UINT id) {
    const int offset = static_cast<int>(id) - IDC_WZ_RADIO3;
    if (offset / 2 < static_cast<int>(functions_.size()))
        m_Contact[offset / 2] = offset % 2;
}

void CMotorEncoderDirectionPage::OnInputSelected(UINT id) {
    const int changed = static_cast<int>(id) - IDC_WZ_COMBO;
    auto* combo = dynamic_cast<CComboBox*>(GetDlgItem(static_cast<int>(id)));
    if (!combo || changed >= static_cast<int>(functions_.size()))
        return;
    const int selection = combo->GetCurSel();
    m_Input[changed] = selection;
    // One pin serves at most one of the page's functions: the others give way.
    for (size_t k = 0; k < functions_.size(); ++k)
        if (static_cast<int>(k) != changed && selection > 0 && m_Input[k] == selection) {
            m_Input[k] = 0;
            if (auto* other = dynamic_cast<CComboBox*>(GetDlgItem(IDC_WZ_COMBO + static_cast<int>(k))))
                other->SetCurSel(0);
        }
    ShowAllContactControls();
}

CMotorEncoderPage2Dialog::CMotorEncoderPage2Dialog()
    : CMotorEncoderDirectionPage(IDD_WZ_ENCODER_PAGE2, WizardPage::Encoder1 + 1, "Cn004.0",
                                 {DiFunction::SPDINV}, {IDC_WZ_SPDINV_GROUP}) {}

CMotorEncoderPage3Dialog::CMotorEncoderPage3Dialog()
    : CMotorEncoderDirectionPage(IDD_WZ_ENCODER_PAGE3, WizardPage::Encoder1 + 2, "Pn314.0", {}, {}) {}

CMotorEncoderPage4Dialog::CMotorEncoderPage4Dialog()
    : CMotorEncoderDirectionPage(IDD_WZ_ENCODER_PAGE4, WizardPage::Encoder1 + 3, "Cn004.0",
                                 {DiFunction::TRQINV, DiFunction::RS1, DiFunction::RS2},
                                 {IDC_WZ_TRQINV_GROUP, IDC_WZ_RS1_GROUP, IDC_WZ_RS2_GROUP}) {}
