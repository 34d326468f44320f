#include "wizard/ui/SetupWizardDialog.h"

#include "catalogue/DocumentGlobals.h"
#include "catalogue/KeloServoDoc.h"
#include "framework/core/Format.h"
#include "framework/core/MessageSeam.h"
#include "framework/core/ResourceModule.h"
#include "framework/ui/DC.h"
#include "framework/ui/Messages.h"
#include "link/LinkState.h"
#include "paramedit/ParaEditState.h"
#include "paramedit/ParameterChangedFlags.h"
#include "resources/ids/wizard.h"
#include "shell/ShellGlobals.h"
#include "wizard/DriveModelTable.h"
#include "wizard/ReferenceInput.h"
#include "wizard/ui/ReferencePages.h"
#include "wizard/ui/WizardStepPages.h"

namespace {

constexpr COLORREF DoneGreen = RGB(0, 255, 0);

struct StepControls {
    WizardStep step;
    int button;
    int marker; // 0: none
};
constexpr StepControls kSteps[] = {
    {WizardStep::Drive, IDC_WZ_STEP_DRIVE, 0},
    {WizardStep::Motor, IDC_WZ_STEP_MOTOR, 0},
    {WizardStep::ControlMode, IDC_WZ_STEP_MODE, IDC_WZ_MARKER_MODE},
    {WizardStep::Reference, IDC_WZ_STEP_REFERENCE, IDC_WZ_MARKER_REFERENCE},
    {WizardStep::Encoder, IDC_WZ_STEP_ENCODER, IDC_WZ_MARKER_ENCODER},
    {WizardStep::Comprehensive, IDC_WZ_STEP_COMPREHENSIVE, IDC_WZ_MARKER_COMPREHENSIVE},
    {WizardStep::SaveWrite, IDC_WZ_STEP_SAVE_WRITE, IDC_WZ_MARKER_SAVE_WRITE},
    {WizardStep::DisplayDio, IDC_WZ_STEP_DISPLAY_DIO, IDC_WZ_MARKER_DISPLAY_DIO},
};

WizardChains AllChains() {
    WizardChains chains = WizardChains::Standard();
    AddReferenceChains(chains);
    return chains;
}

std::string FamilyWord(int seriesCode) {
    switch (seriesCode) {
    case 2:
    case 4:
    case 5:
        return "HBVZR3";
    case 3:
        return "YLT2";
    default:
        return "";
    }
}

} // namespace

CSetupWizardDialog::CSetupWizardDialog(CWnd* parent)
    : CDialog(IDD_SETUP_WIZARD, parent), m_SeriesCode(BrandMode == 3 ? 3 : 2),
      collected_(RatedSpeed, MotorEncoderResolution, ForwardTorqueLimit), nav_(AllChains(), *this),
      doneBrush_(DoneGreen) {
    stepPages_ = CreateReferencePages();
    for (auto& page : CreateStepPages())
        stepPages_.push_back(std::move(page));
    pages_ = {&drivePage_, &motorPage_, &modePage_};
    for (auto& page : stepPages_)
        pages_.push_back(page.get());
    pages_.push_back(&saveWritePage_);
}

CSetupWizardDialog::~CSetupWizardDialog() = default;

const MessageMap* CSetupWizardDialog::GetMessageMap() const {
    static const MessageMap map(
        CDialog::GetMessageMap(),
        {
            msg::Command(IDC_WZ_STEP_DRIVE, &CSetupWizardDialog::OnStepDriveModel),
            msg::Command(IDC_WZ_STEP_MOTOR, &CSetupWizardDialog::OnStepMotorModel),
            msg::Command(IDC_WZ_STEP_MODE, &CSetupWizardDialog::OnStepControlMode),
            msg::Command(IDC_WZ_STEP_REFERENCE, &CSetupWizardDialog::OnStepReferenceInput),
            msg::Command(IDC_WZ_STEP_ENCODER, &CSetupWizardDialog::OnStepMotorEncoder),
            msg::Command(IDC_WZ_STEP_COMPREHENSIVE, &CSetupWizardDialog::OnStepComprehensive),
            msg::Command(IDC_WZ_STEP_SAVE_WRITE, &CSetupWizardDialog::OnStepSaveWrite),
            msg::Command(IDC_WZ_STEP_DISPLAY_DIO, &CSetupWizardDialog::OnStepDisplayDio),
            msg::Command(IDC_WZ_APPLY, &CSetupWizardDialog::OnApply),
            msg::Command(IDC_WZ_CANCEL_PAGE, &CSetupWizardDialog::OnCancelPage),
            msg::Command(IDC_WZ_NEXT, &CSetupWizardDialog::OnNext),
            msg::Command(IDC_WZ_BACK, &CSetupWizardDialog::OnBack),
            msg::Command(IDC_WZ_FINISH, &CSetupWizardDialog::OnFinish),
            msg::CtlColor(&CSetupWizardDialog::OnCtlColor),
            msg::Message(WM_WIZARD_SAVEWRITE, &CSetupWizardDialog::OnWizardSaveWrite),
            msg::Message(WM_WIZARD_STEP_TOGGLE, &CSetupWizardDialog::OnWizardStepToggle),
        });
    return &map;
}

void CSetupWizardDialog::CopyDocument(CKeloServoDoc* doc) {
    doc_ = doc;
    if (doc)
        collected_.CopyFromDocument(*doc);
}

BOOL CSetupWizardDialog::PreTranslateMessage(MSG* msg) {
    TurnEscapeIntoEnter(msg);
    return CDialog::PreTranslateMessage(msg);
}

CWizardPage* CSetupWizardDialog::Page(int code) const {
    for (CWizardPage* page : pages_)
        if (page->PageCode() == code)
            return page;
    return nullptr;
}

std::vector<CWizardPage*> CSetupWizardDialog::PagesOfStep(WizardStep step) const {
    std::vector<CWizardPage*> pages;
    for (CWizardPage* page : pages_)
        if (StepOfPage(page->PageCode()) == step && page->PageCode() != WizardPage::None)
            pages.push_back(page);
    return pages;
}

void CSetupWizardDialog::CreatePage(CWizardPage& page) {
    page.m_SeriesCode = m_SeriesCode;
    std::copy(collected_.DiList.begin(), collected_.DiList.end(), page.m_DiAssign.begin());
    std::copy(collected_.DoList.begin(), collected_.DoList.end(), page.m_DoAssign.begin());
    page.TakeChoices(collected_);
    // The page lies over the frame as the wizard's own child: the frame is a plain static, which
    // lets clicks through, and with them every click meant for a control inside it.
    page.Create(page.TemplateId(), this);
    if (CWnd* frame = GetDlgItem(IDC_WZ_PAGE_FRAME)) {
        CRect place;
        frame->GetWindowRect(&place);
        ScreenToClient(&place);
        CRect size;
        page.GetWindowRect(&size);
        page.MoveWindow(place.left, place.top, size.Width(), size.Height(), FALSE);
    }
    page.ShowWindow(SW_HIDE);
}

BOOL CSetupWizardDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    const bool linked = ConnectedFlag != 0;

    driveRow_ = MotorCodeToGroup(static_cast<int>(m_MotorTypeCode));
    ShowDriveSummary();
    drivePage_.m_DriveRow = driveRow_;
    drivePage_.m_FamilyCode = m_SeriesCode;
    modePage_.m_FamilyCode = m_SeriesCode;
    CreatePage(drivePage_);

    motorRow_ = MotorCodeToRow(m_MotorTypeCode);
    motorPage_.m_CapacityGroup = driveRow_;
    motorPage_.m_MotorRow = motorRow_;
    motorPage_.m_MotorCode = m_MotorTypeCode;
    CreatePage(motorPage_);
    ShowMotorSummary();

    if (!linked)
        collected_.SetMotor(motorPage_.m_RatedSpeed, motorPage_.m_MaxTorque);
    // Linked or not, the motor's defaults and the page limits follow from the motor.
    collected_.ApplyMotorDefaults(static_cast<int>(m_MotorTypeCode), collected_.RatedSpeedRpm());

    int mode = collected_.Document("Cn001") ? *collected_.Document("Cn001") : SpeedMode;
    const bool useDefaults = mode < 0 || mode > 2;
    if (useDefaults)
        mode = SpeedMode;
    collected_.UseDefaults = useDefaults;
    collected_.ResetDioForControlMode(mode);
    collected_.InitCollectedValues();
    nav_.Open(linked, mode, useDefaults);

    modePage_.m_ModeIndex = mode;
    CreatePage(modePage_);
    for (auto& page : stepPages_)
        CreatePage(*page);
    CreatePage(saveWritePage_);
    ShowStates();
    return TRUE;
}

// ---- Summaries and states --------------------------------------------------------------------

void CSetupWizardDialog::ShowDriveSummary() {
    std::string text = FamilyWord(m_SeriesCode) + " - ";
    // A motor family with a capacity group past the drive table names no drive.
    if (DriveModelTable(driveRow_))
        text += LoadResString(DriveCapacityStringId(driveRow_));
    if (m_SeriesCode == 4)
        text += " - E";
    else if (m_SeriesCode == 5)
        text += " - EL";
    SetDlgItemText(IDC_WZ_SUMMARY_DRIVE, text);
}

void CSetupWizardDialog::ShowMotorSummary() {
    SetDlgItemText(IDC_WZ_SUMMARY_MOTOR, motorPage_.m_ModelName + "\r\n" + motorPage_.m_CapacityText);
}

void CSetupWizardDialog::ShowModeSummary() {
    SetDlgItemText(IDC_WZ_SUMMARY_MODE, ControlModeName(nav_.ControlMode()));
}

void CSetupWizardDialog::ShowStates() {
    for (const StepControls& s : kSteps) {
        if (CWnd* button = GetDlgItem(s.button))
            button->EnableWindow(nav_.StepEnabled(s.step));
        if (s.marker)
            if (CWnd* marker = GetDlgItem(s.marker))
                marker->ShowWindow(nav_.MarkerStep() == static_cast<int>(s.step) ? SW_SHOW : SW_HIDE);
    }
    const std::pair<int, const ButtonState*> buttons[] = {{IDC_WZ_BACK, &nav_.back},
                                                          {IDC_WZ_APPLY, &nav_.apply},
                                                          {IDC_WZ_CANCEL_PAGE, &nav_.cancel},
                                                          {IDC_WZ_NEXT, &nav_.next},
                                                          {IDC_WZ_FINISH, &nav_.finish}};
    for (const auto& [id, state] : buttons)
        if (CWnd* button = GetDlgItem(id)) {
            button->ShowWindow(state->shown ? SW_SHOW : SW_HIDE);
            button->EnableWindow(state->enabled);
        }
    if (!nav_.MotorDone)
        SetDlgItemText(IDC_WZ_SUMMARY_MOTOR, "");
    if (nav_.ModeDone)
        ShowModeSummary();
    else
        SetDlgItemText(IDC_WZ_SUMMARY_MODE, "");
    const std::string finished = LoadResString(IDS_WZ_STEP_FINISHED) + "\r\n\r\n";
    SetDlgItemText(IDC_WZ_SUMMARY_REFERENCE, nav_.ReferenceDone ? finished : std::string());
    SetDlgItemText(IDC_WZ_SUMMARY_ENCODER, nav_.EncoderDone ? finished : std::string());
    SetDlgItemText(IDC_WZ_SUMMARY_COMPREHENSIVE, nav_.ComprehensiveDone ? finished : std::string());
    for (int id = IDC_WZ_SUMMARY_MODE; id <= IDC_WZ_SUMMARY_COMPREHENSIVE; ++id)
        if (CWnd* summary = GetDlgItem(id))
            summary->Invalidate();
}

HBRUSH CSetupWizardDialog::OnCtlColor(CDC* dc, CWnd* control, UINT) {
    const int id = control ? control->GetDlgCtrlID() : 0;
    const bool done[] = {nav_.ModeDone, nav_.ReferenceDone, nav_.EncoderDone, nav_.ComprehensiveDone};
    if (id >= IDC_WZ_SUMMARY_MODE && id <= IDC_WZ_SUMMARY_COMPREHENSIVE) {
        if (done[id - IDC_WZ_SUMMARY_MODE]) {
            dc->SetBkColor(DoneGreen);
            return &doneBrush_;
        }
        dc->SetBkMode(TRANSPARENT);
    }
    return nullptr;
}

// ---- Buttons ---------------------------------------------------------------------------------

void CSetupWizardDialog::Step(WizardStep step) {
    nav_.OnStep(step);
    ShowStates();
}

void CSetupWizardDialog::OnApply() {
    const WizardStep step = StepOfPage(nav_.PageCode());
    nav_.OnApply();
    if (nav_.PageCode() == WizardPage::None) {
        if (step == WizardStep::Drive)
            ShowDriveSummary();
        if (step == WizardStep::Motor)
            ShowMotorSummary();
    }
    ShowStates();
}

void CSetupWizardDialog::OnCancelPage() {
    nav_.OnCancelPage();
    ShowStates();
}

void CSetupWizardDialog::OnNext() {
    nav_.OnNext();
    ShowStates();
}

void CSetupWizardDialog::OnBack() {
    nav_.OnBack();
    ShowStates();
}

LRESULT CSetupWizardDialog::OnWizardStepToggle(WPARAM wParam, LPARAM) {
    nav_.OnStepToggle(static_cast<int>(wParam));
    ShowStates();
    return 0;
}

// ---- Navigation host -------------------------------------------------------------------------

bool CSetupWizardDialog::CheckPage(int code) {
    CWizardPage* page = Page(code);
    return !page || page->CheckPage();
}

bool CSetupWizardDialog::StepEdited(WizardStep step) {
    for (CWizardPage* page : PagesOfStep(step))
        if (page->DiffersFrom(collected_))
            return true;
    return false;
}

bool CSetupWizardDialog::Ask(int stringId, AskIcon icon) {
    const unsigned type = MB_OKCANCEL | (icon == AskIcon::Warning ? MB_ICONWARNING : MB_ICONQUESTION);
    return ShowMessage(LoadResString(stringId), GetWindowText(), type) != IDCANCEL;
}

int CSetupWizardDialog::Choice(std::string_view key) {
    if (key == "AbsoluteEncoderMotor")
        return collected_.AbsoluteEncoderMotor() ? 1 : 0;
    for (CWizardPage* page : pages_)
        if (std::optional<int> value = page->Choice(key))
            return *value;
    return 0;
}

void CSetupWizardDialog::LoadPage(int code) {
    CWizardPage* page = Page(code);
    if (!page)
        return;
    switch (code) {
    case WizardPage::Drive:
        drivePage_.m_DriveRow = driveRow_;
        break;
    case WizardPage::Motor:
        motorPage_.m_CapacityGroup = driveRow_;
        motorPage_.m_MotorRow = motorRow_;
        motorPage_.m_MotorCode = m_MotorTypeCode;
        break;
    case WizardPage::ControlMode:
        modePage_.m_ModeIndex = nav_.ControlMode();
        break;
    default:
        std::copy(collected_.DiList.begin(), collected_.DiList.end(), page->m_DiAssign.begin());
        std::copy(collected_.DoList.begin(), collected_.DoList.end(), page->m_DoAssign.begin());
        page->TakeChoices(collected_);
        break;
    }
    page->LoadPage();
}

void CSetupWizardDialog::ShowPage(int code) {
    if (CWizardPage* page = Page(code)) {
        page->UpdateData(FALSE);
        page->ShowWindow(SW_SHOW);
        page->SetFocus();
    }
}

void CSetupWizardDialog::HidePage(int code) {
    if (CWizardPage* page = Page(code))
        page->ShowWindow(SW_HIDE);
}

void CSetupWizardDialog::ReloadModePage(int controlMode) {
    modePage_.m_ModeIndex = controlMode;
    modePage_.LoadPage();
}

std::vector<CWizardPage*> CSetupWizardDialog::WalkedPages(WizardStep step) const {
    std::vector<CWizardPage*> pages;
    for (CWizardPage* page : PagesOfStep(step))
        if (nav_.Visited(page->PageCode()) || page->PageCode() == nav_.PageCode())
            pages.push_back(page);
    return pages;
}

bool CSetupWizardDialog::RefuseUnsetChoice(WizardStep step) {
    for (CWizardPage* page : WalkedPages(step))
        if (const int id = page->UnsetChoiceControl()) {
            if (page->IsWindowVisible())
                if (CWnd* control = page->GetDlgItem(id))
                    control->SetFocus();
            return true;
        }
    return false;
}

bool CSetupWizardDialog::ApplyStep(WizardStep step) {
    const int mode = nav_.ControlMode();
    switch (step) {
    case WizardStep::Drive:
        driveRow_ = drivePage_.m_DriveRow;
        ShowDriveSummary();
        motorRow_ = 0;
        m_MotorTypeCode = (m_MotorTypeCode & ~0xFu) | 7u;
        return true;
    case WizardStep::Motor:
        m_MotorTypeCode = motorPage_.m_MotorCode;
        motorRow_ = motorPage_.m_MotorRow;
        collected_.SetMotor(motorPage_.m_RatedSpeed, motorPage_.m_MaxTorque);
        collected_.ApplyMotorDefaults(static_cast<int>(m_MotorTypeCode), collected_.RatedSpeedRpm());
        return true;
    case WizardStep::ControlMode:
        return !collected_.ApplyControlMode(mode);
    case WizardStep::Reference:
    case WizardStep::Encoder:
    case WizardStep::Comprehensive: {
        if (RefuseUnsetChoice(step))
            return false;
        // Only the pages the user walked through count: another mode's or branch's pages hold
        // choices that do not apply.
        std::vector<DioAssignment> di, dout;
        for (CWizardPage* page : WalkedPages(step)) {
            page->GiveChoices(collected_);
            for (const DioAssignment& a : page->DiAssignments())
                di.push_back(a);
            for (const DioAssignment& a : page->DoAssignments())
                dout.push_back(a);
        }
        if (step == WizardStep::Encoder)
            return !collected_.ApplyEncoder(mode, di, nav_.EncoderDone);
        if (step == WizardStep::Comprehensive)
            return !collected_.ApplyComprehensive(dout, nav_.ComprehensiveDone);
        if (nav_.ReferenceDone) {
            collected_.ReloadDiList();
            collected_.ReloadDoList();
        }
        if (TakeReferenceValues(collected_, mode))
            return false;
        collected_.MergeDi(di, {DiFunction::SPD1, DiFunction::SPD2});
        collected_.MergeDo(dout);
        collected_.WriteDiListToValues();
        if (mode != SpeedMode)
            collected_.WriteDoListToValues();
        return true;
    }
    default:
        return false;
    }
}

WizardStepFlags CSetupWizardDialog::StepFlags() const {
    return {nav_.ReferenceDone, nav_.EncoderDone, nav_.ComprehensiveDone};
}

// ---- Finish ----------------------------------------------------------------------------------

void CSetupWizardDialog::OnFinish() {
    if (!doc_)
        return;
    ParameterChangedFlags& changed = ChangedParameters();
    changed.ClearAll();
    collected_.Finish(
        *doc_, [&](std::string_view code) { changed.Set(code); }, ConnectedFlag != 0, nav_.ControlMode(),
        StepFlags());
    if (ConnectedFlag == 0)
        RatedSpeed = collected_.RatedSpeedRpm();
    ParaEditKept.selectAll = 0;
    ShowMessage(LoadResString(IDS_WZ_FINISH_DONE), GetWindowText(), MB_OK | MB_ICONINFORMATION);
    if (nav_.UnsavedChanges)
        doc_->SetModifiedFlag(true);
    EndDialog(IDOK);
}
