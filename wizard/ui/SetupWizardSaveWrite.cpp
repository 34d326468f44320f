// The wizard's save/write step: the collected set saved as a document file, or written to the drive.
#include "wizard/ui/SetupWizardDialog.h"

#include "catalogue/KeloServoDoc.h"
#include "catalogue/ParamAttributes.h"
#include "catalogue/ParamCode.h"
#include "catalogue/RegisterMap.h"
#include "framework/core/Format.h"
#include "framework/core/MessageSeam.h"
#include "framework/core/ResourceModule.h"
#include "framework/ui/FileDialog.h"
#include "link/LinkState.h"
#include "link/services/TransferPass.h"
#include "paramedit/ParaEditState.h"
#include "paramedit/ParamPassRules.h"
#include "paramedit/ParameterChangedFlags.h"
#include "paramedit/TransferProgress.h"
#include "resources/ids/mainframe.h"
#include "resources/ids/paraedit.h"
#include "resources/ids/paramedit.h"
#include "resources/ids/wizard.h"
#include "wizard/WizardSave.h"
#include "wizard/WizardWritePlan.h"

namespace {
constexpr int kOverRange = 61551; // "Over Range!!\n\n"

void ShowCommunicationError(const std::string& detail) {
    ShowMessage(LoadResString(IDS_ERROR) + ":\n\n" + detail, LoadResString(IDS_COMMUNICATION_MESSAGE),
                MB_OK | MB_ICONSTOP);
}
} // namespace

LRESULT CSetupWizardDialog::OnWizardSaveWrite(WPARAM wParam, LPARAM lParam) {
    if (wParam == 1)
        return SaveDocumentFile() ? 1 : 0;
    if (wParam == 2)
        return WriteToDrive(lParam == 1) ? 2 : 0;
    return 0;
}

bool CSetupWizardDialog::SaveDocumentFile() {
    CFileDialog dialog(FALSE, "zpf", nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                       LoadResString(IDS_DOCUMENT_FILTER).c_str(), this);
    // Only a written file clears the unsaved mark: a cancelled dialog keeps it.
    if (dialog.DoModal() != IDOK)
        return false;
    return SaveToFile(dialog.GetPathName());
}

bool CSetupWizardDialog::SaveToFile(const std::string& path) {
    if (!doc_)
        return false;
    std::string error;
    if (!WriteWizardDocument(path, *doc_, collected_, &error)) {
        ShowMessage("Cannot save the file \"" + path + "\".\n" + error, std::string(),
                    MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    nav_.UnsavedChanges = false;
    return true;
}

bool CSetupWizardDialog::WriteToDrive(bool fillIn) {
    if (ConnectedFlag == 0 || !services_ || !doc_) {
        ShowMessage(LoadResString(IDS_COMMUNICATE_ERROR), LoadResString(IDS_COMMUNICATION_MESSAGE),
                    MB_OK | MB_ICONSTOP);
        return false;
    }
    const CatalogueContext context = doc_->Context();
    const std::vector<WizardEntry> list = collected_.WizardParameterList(nav_.ControlMode(), StepFlags());
    const std::string writing = LoadResString(IDS_PE_WRITING);
    const auto inSeries = [&](std::string_view code) { return ParamInSeries(code, context); };
    const auto masked = [&](const WizardEntry& e) {
        return MaskUnsignedParameter(ParamGroupLetter(e.code), e.value, ParamIndexFromCode(e.code));
    };

    // The whole list is checked before the first request, so a refused value leaves the drive as it was.
    if (const std::optional<size_t> bad =
            FirstOutOfRange(list, inSeries, [&](std::string_view code, int value) {
                return IsValueInRange(code, masked({std::string(code), value}), *doc_, context);
            })) {
        ShowCommunicationError(LoadResString(kOverRange) + writing + list[*bad].code);
        return false;
    }

    CTransferProgress progress(this);
    CTransferPass pass(*services_, PassOwner(this, &progress));
    if (pass.Refused())
        return false;
    pass.OpenProgress(IDD_PROGRESS_PARAEDIT, 3 * static_cast<int>(list.size()),
                      LoadResString(IDS_PE_WRITE_CAPTION));
    bool restart = false;
    bool wroteHn = false;
    bool hnDiffersFromDefault = false;
    for (const WizardEntry& entry : list) {
        const std::string text = writing + entry.code;
        pass.SetText(text);
        pass.Step();
        if (inSeries(entry.code)) {
            const char letter = ParamGroupLetter(entry.code);
            const int index = ParamIndexFromCode(entry.code);
            const int number = ParamNumber(entry.code);
            int value = masked(entry);
            const std::optional<std::uint16_t> address = ParameterRegisterAddress(letter, number, index);
            if (!address) {
                pass.Fail(text);
                return false;
            }
            bool send = true;
            if (entry.code == "Cn008" || entry.code == "Cn002") {
                const std::optional<int> current = services_->ReadDriveParameter(entry.code);
                if (!current) {
                    pass.Fail(text);
                    return false;
                }
                if (entry.code == "Cn008")
                    value = Cn008ToSend(value, *current);
                else if (!Cn002MaySend(value, *current)) {
                    send = false;
                    restart = restart || ParameterBaseProperty(letter, number, index) != 0;
                }
            }
            pass.Step(2);
            if (send) {
                const bool doubleWord = IsDoubleWordParameter(letter, number, index);
                const int result = doubleWord ? services_->WriteDriveRegister32(*address, value)
                                              : services_->WriteDriveRegister(*address, value);
                if (result != 1) {
                    pass.Fail(text);
                    return false;
                }
                if (doubleWord)
                    restart = restart || ParameterBaseProperty(letter, number, index) != 0;
                if (letter == 'H') {
                    wroteHn = true;
                    hnDiffersFromDefault =
                        hnDiffersFromDefault || entry.value != collected_.DefaultOr0(entry.code);
                }
            }
        }
        if (!pass.Pump())
            return false; // the wizard went meanwhile: touch nothing
    }
    if (wroteHn) {
        const int mode = collected_.ValueOr0("Cn001");
        const std::optional<int> driveMode = services_->ReadDriveRegister(ControlModeRegister);
        if (driveMode && ControlModeNeedsWrite(*driveMode, mode, hnDiffersFromDefault) &&
            services_->WriteDriveRegister(ControlModeRegister, mode) != 1) {
            // The parameters are on the drive but its control mode is not: say so.
            pass.Fail(writing + Format("0x%04X", ControlModeRegister));
            return false;
        }
    }
    pass.End();
    std::string done = LoadResString(IDS_PE_WRITE_DONE);
    if (restart)
        done += "\n\n" + LoadResString(IDS_PE_RESTART_NOTICE);
    ShowMessage(done, LoadResString(IDS_PE_WRITE_MESSAGE), MB_OK | MB_ICONEXCLAMATION);
    if (fillIn) {
        for (const WizardEntry& entry : list)
            if (int* value = doc_->FindValue(entry.code))
                *value = entry.value;
        ParaEditKept.selectAll = 0;
        ChangedParameters().ClearAll();
        if (nav_.UnsavedChanges)
            doc_->SetModifiedFlag(true);
    }
    return true;
}
