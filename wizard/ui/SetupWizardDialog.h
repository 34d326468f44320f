#pragma once
// CSetupWizardDialog: the modal "Teaching Parameter Setting Wizard". A column of step buttons, the
// pages of the current step in a frame, and Back, Apply, Cancel, Next and Finish. The step and page
// logic is WizardNavigation's, the values CollectedSet's; this window hosts the pages, shows the
// states and runs Finish, Save and Write.
#include "framework/ui/Dialog.h"
#include "framework/ui/Gdi.h"
#include "wizard/CollectedSet.h"
#include "wizard/WizardNavigation.h"
#include "wizard/ui/MotorTypePageDialog.h"
#include "wizard/ui/SaveWritePageDialog.h"
#include "wizard/ui/ServoTypePageDialog.h"
#include "wizard/ui/SetCtrlPageDialog.h"

#include <memory>
#include <vector>

class CKeloServoDoc;
class CRegisterServices;

class CSetupWizardDialog : public CDialog, private INavigationHost {
public:
    explicit CSetupWizardDialog(CWnd* parent = nullptr);
    ~CSetupWizardDialog() override;
    const MessageMap* GetMessageMap() const override;
    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* msg) override;
    // Enter (and Esc turned into it) closes nothing; Close ends the wizard.
    void OnOK() override {}

    // The creator's copy-in, before DoModal: the document (its values, defaults and the target of
    // Finish and Save), the register services for Write, the series code and the motor code.
    void CopyDocument(CKeloServoDoc* doc);
    void SetServices(CRegisterServices* services) { services_ = services; }
    int m_SeriesCode;
    unsigned m_MotorTypeCode = 0;

    // State the tests and the view read.
    const WizardNavigation& Navigation() const { return nav_; }
    CollectedSet& Collected() { return collected_; }
    int DriveRow() const { return driveRow_; }
    int MotorRow() const { return motorRow_; }
    CWizardPage* Page(int code) const;

    // Messages of the pages (0x978, 0x979).
    LRESULT OnWizardSaveWrite(WPARAM wParam, LPARAM lParam);
    LRESULT OnWizardStepToggle(WPARAM wParam, LPARAM lParam);

    // Save of the collected set as a document file; true when the file was written.
    bool SaveToFile(const std::string& path);

protected:
    void OnStepDriveModel() { Step(WizardStep::Drive); }
    void OnStepMotorModel() { Step(WizardStep::Motor); }
    void OnStepControlMode() { Step(WizardStep::ControlMode); }
    void OnStepReferenceInput() { Step(WizardStep::Reference); }
    void OnStepMotorEncoder() { Step(WizardStep::Encoder); }
    void OnStepComprehensive() { Step(WizardStep::Comprehensive); }
    void OnStepSaveWrite() { Step(WizardStep::SaveWrite); }
    void OnStepDisplayDio() { Step(WizardStep::DisplayDio); }
    void OnApply();
    void OnCancelPage();
    void OnNext();
    void OnBack();
    void OnFinish();
    HBRUSH OnCtlColor(CDC* dc, CWnd* control, UINT kind);

private:
    // INavigationHost
    bool CheckPage(int code) override;
    bool StepEdited(WizardStep step) override;
    bool Ask(int stringId, AskIcon icon) override;
    int Choice(std::string_view key) override;
    void LoadPage(int code) override;
    void ShowPage(int code) override;
    void HidePage(int code) override;
    bool ApplyStep(WizardStep step) override;
    void ReloadModePage(int controlMode) override;

    void Step(WizardStep step);
    void ShowStates();
    void ShowDriveSummary();
    void ShowMotorSummary();
    void ShowModeSummary();
    void CreatePage(CWizardPage& page);
    std::vector<CWizardPage*> PagesOfStep(WizardStep step) const;
    std::vector<CWizardPage*> WalkedPages(WizardStep step) const;
    bool RefuseUnsetChoice(WizardStep step);
    bool SaveDocumentFile();
    bool WriteToDrive(bool fillIn);
    WizardStepFlags StepFlags() const;

    CollectedSet collected_;
    WizardNavigation nav_;
    CKeloServoDoc* doc_ = nullptr;
    CRegisterServices* services_ = nullptr;
    int driveRow_ = 0;
    int motorRow_ = 0;

    CServoTypePageDialog drivePage_;
    CMotorTypePageDialog motorPage_;
    CSetCtrlPageDialog modePage_;
    CSaveWritePageDialog saveWritePage_;
    std::vector<std::unique_ptr<CWizardPage>> stepPages_; // reference, encoder, comprehensive, DI/O
    std::vector<CWizardPage*> pages_;                     // every page, for lookups
    CBrush doneBrush_;
};
