#include "wizard/ui/ComplexPages.h"

#include "framework/core/Format.h"
#include "framework/core/ResourceModule.h"
#include "framework/ui/ComboBox.h"
#include "framework/ui/Messages.h"
#include "resources/ids/wizard.h"
#include "shell/ShellGlobals.h"
#include "wizard/WizardNavigation.h"

namespace {
constexpr int kBrakeModeFirstString = 1090;
constexpr int kBrakeModeCount = 6;
bool HasMechanicalBrake(int mode) {
    return mode == 1 || mode == 3 || mode == 5;
}
} // namespace

// ---- Brake mode --------------------------------------------------------------------------------

CComplexPage1Dialog::CComplexPage1Dialog()
    : CWizardPage(IDD_WZ_COMPLEX_PAGE1, WizardPage::Complex1), m_FamilyCode(BrandMode == 3 ? 3 : 2) {}

const MessageMap* CComplexPage1Dialog::GetMessageMap() const {
    static const MessageMap map(
        CWizardPage::GetMessageMap(),
        {msg::Control(CBN_SELCHANGE, IDC_WZ_COMBO, &CComplexPage1Dialog::OnBrakeModeSelected),
         msg::Control(CBN_SELCHANGE, IDC_WZ_COMBO2, &CComplexPage1Dialog::OnBrakeForceSelected),
         msg::Control(CBN_SELCHANGE, IDC_WZ_COMBO3, &CComplexPage1Dialog::OnInputSelected),
         msg::Control(EN_CHANGE, IDC_WZ_EDIT2, &CComplexPage1Dialog::OnBrakeTimeEdited),
         msg::CommandRange(IDC_WZ_RADIO1, IDC_WZ_RADIO2, &CComplexPage1Dialog::OnContact)});
    return &map;
}

void CComplexPage1Dialog::DoDataExchange(CDataExchange* dx) {
    CWizardPage::DoDataExchange(dx);
    DDX_Text(dx, IDC_WZ_EDIT2, m_BrakeTime);
    DDX_Radio(dx, IDC_WZ_RADIO1, m_BiContact);
}

BOOL CComplexPage1Dialog::OnInitDialog() {
    CWizardPage::OnInitDialog();
    SendDlgItemMessage(IDC_WZ_EDIT2, EM_LIMITTEXT, 5);
    ShowRangeLabel(IDC_WZ_SPIN2, IDC_WZ_RANGE1, m_BrakeTimeMin, m_BrakeTimeMax);
    if (auto* combo = dynamic_cast<CComboBox*>(GetDlgItem(IDC_WZ_COMBO))) {
        combo->ResetContent();
        for (int i = 0; i < kBrakeModeCount; ++i)
            combo->AddString(LoadResString(kBrakeModeFirstString + i));
    }
    LoadPage();
    UpdateData(FALSE);
    return TRUE;
}

void CComplexPage1Dialog::LoadPage() {
    if (auto* combo = dynamic_cast<CComboBox*>(GetDlgItem(IDC_WZ_COMBO))) {
        combo->SetCurSel(m_BrakeMode);
        combo->SetFocus();
    }
    if (auto* combo = dynamic_cast<CComboBox*>(GetDlgItem(IDC_WZ_COMBO2)))
        combo->SetCurSel(m_BrakeForce);
    FillSelector(IDC_WZ_COMBO3, true, m_BiOutput);
    ShowContactControls(m_BiOutput, {IDC_WZ_BI_GROUP, IDC_WZ_RADIO1, IDC_WZ_RADIO2});
    EnableBrakeControls();
}

void CComplexPage1Dialog::EnableBrakeControls() {
    const bool brake = HasMechanicalBrake(m_BrakeMode);
    for (int id : {IDC_WZ_COMBO2, IDC_WZ_EDIT2, IDC_WZ_SPIN2, IDC_WZ_COMBO3, IDC_WZ_RADIO1, IDC_WZ_RADIO2})
        if (CWnd* control = GetDlgItem(id))
            control->EnableWindow(brake);
}

bool CComplexPage1Dialog::CheckPage() {
    return CheckValueEdits({{IDC_WZ_EDIT2, m_BrakeTimeMin, m_BrakeTimeMax}});
}

void CComplexPage1Dialog::TakeChoices(const CollectedSet& set) {
    m_BrakeMode = set.Choice("Cn008.0");
    m_BrakeForce = set.Choice("Cn008.1");
    m_BrakeTime = set.Choice("Cn003");
    const DioAssignment bi = set.DoOf(DoFunction::BI);
    m_BiOutput = bi.number;
    m_BiContact = bi.contact;
}

void CComplexPage1Dialog::GiveChoices(CollectedSet& set) const {
    set.SetChoice("Cn008.0", m_BrakeMode);
    set.SetChoice("Cn008.1", m_BrakeForce);
    set.SetChoice("Cn003", m_BrakeTime);
}

bool CComplexPage1Dialog::DiffersFrom(const CollectedSet& set) const {
    const DioAssignment bi = set.DoOf(DoFunction::BI);
    return m_BrakeMode != set.Choice("Cn008.0") || m_BrakeForce != set.Choice("Cn008.1") ||
           m_BrakeTime != set.Choice("Cn003") || m_BiOutput != bi.number ||
           (m_BiOutput != 0 && m_BiContact != bi.contact);
}

std::vector<DioAssignment> CComplexPage1Dialog::DoAssignments() const {
    return {{DoFunction::BI, m_BiOutput, m_BiContact}};
}

int CComplexPage1Dialog::UnsetChoiceControl() const {
    if (m_BrakeMode < 0 || m_BrakeMode >= kBrakeModeCount)
        return IDC_WZ_COMBO;
    if (HasMechanicalBrake(m_BrakeMode) && (m_BrakeForce < 0 || m_BrakeForce > 1))
        return IDC_WZ_COMBO2;
    return 0;
}

void CComplexPage1Dialog::OnBrakeModeSelected() {
    if (auto* combo = dynamic_cast<CComboBox*>(GetDlgItem(IDC_WZ_COMBO)))
        m_BrakeMode = combo->GetCurSel();
    EnableBrakeControls();
}

void CComplexPage1Dialog::OnBrakeForceSelected() {
    if (auto* combo = dynamic_cast<CComboBox*>(GetDlgItem(IDC_WZ_COMBO2)))
        m_BrakeForce = combo->GetCurSel();
}

void CComplexPage1Dialog::OnInputSelected() {
    if (auto* combo = dynamic_cast<CComboBox*>(GetDlgItem(IDC_WZ_COMBO3)); combo && combo->GetCurSel() >= 0)
        m_BiOutput = combo->GetCurSel();
    ShowContactControls(m_BiOutput, {IDC_WZ_BI_GROUP, IDC_WZ_RADIO1, IDC_WZ_RADIO2});
}

void CComplexPage1Dialog::OnBrakeTimeEdited() {
    OnValueEdited(IDC_WZ_EDIT2, m_BrakeTime, m_BrakeTimeMin, m_BrakeTimeMax);
}

void CComplexPage1Dialog::OnContact(UINT id) {
    m_BiContact = static_cast<int>(id) - IDC_WZ_RADIO1;
}

// ---- Regenerative resistor ---------------------------------------------------------------------

CComplexPage2Dialog::CComplexPage2Dialog() : CWizardPage(IDD_WZ_COMPLEX_PAGE2, WizardPage::Complex1 + 1) {}

const MessageMap* CComplexPage2Dialog::GetMessageMap() const {
    static const MessageMap map(
        CWizardPage::GetMessageMap(),
        {msg::Control(EN_CHANGE, IDC_WZ_EDIT1, &CComplexPage2Dialog::OnPowerEdited),
         msg::Control(EN_CHANGE, IDC_WZ_EDIT2, &CComplexPage2Dialog::OnResistanceEdited)});
    return &map;
}

void CComplexPage2Dialog::DoDataExchange(CDataExchange* dx) {
    CWizardPage::DoDataExchange(dx);
    DDX_Text(dx, IDC_WZ_EDIT1, m_RegenPower);
    DDX_Text(dx, IDC_WZ_EDIT2, m_RegenResistance);
}

BOOL CComplexPage2Dialog::OnInitDialog() {
    CWizardPage::OnInitDialog();
    for (int id : {IDC_WZ_EDIT1, IDC_WZ_EDIT2})
        SendDlgItemMessage(id, EM_LIMITTEXT, 5);
    ShowRangeLabel(IDC_WZ_SPIN1, IDC_WZ_RANGE1, m_RegenMin, m_RegenMax);
    ShowRangeLabel(IDC_WZ_SPIN2, IDC_WZ_RANGE2, m_RegenMin, m_RegenMax);
    UpdateData(FALSE);
    return TRUE;
}

bool CComplexPage2Dialog::CheckPage() {
    return CheckValueEdits({{IDC_WZ_EDIT1, m_RegenMin, m_RegenMax}, {IDC_WZ_EDIT2, m_RegenMin, m_RegenMax}});
}

void CComplexPage2Dialog::TakeChoices(const CollectedSet& set) {
    m_RegenPower = set.Choice("Cn012");
    m_RegenResistance = set.Choice("Cn089");
}

void CComplexPage2Dialog::GiveChoices(CollectedSet& set) const {
    set.SetChoice("Cn012", m_RegenPower);
    set.SetChoice("Cn089", m_RegenResistance);
}

bool CComplexPage2Dialog::DiffersFrom(const CollectedSet& set) const {
    return m_RegenPower != set.Choice("Cn012") || m_RegenResistance != set.Choice("Cn089");
}

void CComplexPage2Dialog::OnPowerEdited() {
    OnValueEdited(IDC_WZ_EDIT1, m_RegenPower, m_RegenMin, m_RegenMax);
}

void CComplexPage2Dialog::OnResistanceEdited() {
    OnValueEdited(IDC_WZ_EDIT2, m_RegenResistance, m_RegenMin, m_RegenMax);
}

// ---- One radio group ---------------------------------------------------------------------------

CComplexRadioPage::CComplexRadioPage(UINT templateId, int pageCode, const char* key, int buttons)
    : CWizardPage(templateId, pageCode), key_(key), buttons_(buttons) {}

const MessageMap* CComplexRadioPage::GetMessageMap() const {
    static const MessageMap map(
        CWizardPage::GetMessageMap(),
        {msg::CommandRange(IDC_WZ_RADIO1, IDC_WZ_RADIO4, &CComplexRadioPage::OnChoice)});
    return &map;
}

void CComplexRadioPage::DoDataExchange(CDataExchange* dx) {
    CWizardPage::DoDataExchange(dx);
    DDX_Radio(dx, IDC_WZ_RADIO1, m_Choice);
}

BOOL CComplexRadioPage::OnInitDialog() {
    CWizardPage::OnInitDialog();
    LoadPage();
    UpdateData(FALSE);
    return TRUE;
}

void CComplexRadioPage::TakeChoices(const CollectedSet& set) {
    m_Choice = set.Choice(key_);
}

void CComplexRadioPage::GiveChoices(CollectedSet& set) const {
    set.SetChoice(key_, m_Choice);
}

bool CComplexRadioPage::DiffersFrom(const CollectedSet& set) const {
    return m_Choice != set.Choice(key_);
}

int CComplexRadioPage::UnsetChoiceControl() const {
    return m_Choice < 0 || m_Choice >= buttons_ ? IDC_WZ_RADIO1 : 0;
}

void CComplexRadioPage::OnChoice(UINT id) {
    const int index = static_cast<int>(id) - IDC_WZ_RADIO1;
    if (index < buttons_)
        m_Choice = index;
}

CComplexPage3Dialog::CComplexPage3Dialog()
    : CComplexRadioPage(IDD_WZ_COMPLEX_PAGE3, WizardPage::Complex1 + 2, "Cn031.2", 4) {}

CComplexPage4Dialog::CComplexPage4Dialog()
    : CComplexRadioPage(IDD_WZ_COMPLEX_PAGE4, WizardPage::Complex1 + 3, "Cn002.1", 2) {}

void CComplexPage4Dialog::TakeChoices(const CollectedSet& set) {
    CComplexRadioPage::TakeChoices(set);
    m_HomeStartMode = set.Choice("Pn317.2");
    m_HomeMethod = set.Choice("Pn355");
    m_HomeReference = set.Choice("Pn317.0");
}

void CComplexPage4Dialog::EnableNoLimitChoice() {
    if (CWnd* ignore = GetDlgItem(IDC_WZ_RADIO2))
        ignore->EnableWindow(m_HomeStartMode == 0 || m_HomeMethod != 0 || m_HomeReference > 1);
}
