#include "paramedit/CompareRuns.h"

#include "catalogue/KeloServoDoc.h"
#include "catalogue/RegisterMap.h"
#include "framework/core/MessageSeam.h"
#include "link/LinkState.h"
#include "link/services/RegisterServices.h"
#include "paramedit/CompareDlg.h"
#include "paramedit/CompareSelDialog.h"
#include "paramedit/DialogText.h"
#include "paramedit/ParamPassRules.h"
#include "paramedit/ProgressParaEdit.h"
#include "resources/ids/paradialogs.h"
#include "resources/ids/paramedit.h"

#include <cstdint>

namespace {

constexpr int kCommunicationCaptionId = 61679;
constexpr int kCommunicateErrorId = 61681;

std::string CommunicationCaption() {
    return DialogText(kCommunicationCaptionId, "Communication Message");
}

// The progress window of the walk; gone with the object on every way out.
class WalkProgress {
public:
    WalkProgress(CWnd* owner, int range) : window_(new CProgressParaEdit(owner)) {
        window_->m_caption = DialogText(IDS_PD_COMPARE_CAPTION, "Compare");
        if (!window_->Create(IDD_PROGRESS_PARAEDIT, owner)) {
            delete window_;
            window_ = nullptr;
            return;
        }
        life_ = window_->Life();
        window_->m_progress.SetRange32(0, range);
        window_->m_progress.SetPos(0);
        window_->SetProgressText(DialogText(IDS_PD_COMPARING, "Comparing parameters..."));
    }
    ~WalkProgress() { Close(); }
    void Show() {
        if (Alive())
            window_->ShowWindow(SW_SHOW);
    }
    void Step() {
        if (Alive())
            window_->m_progress.StepIt();
    }
    void Close() {
        if (Alive())
            window_->DestroyWindow(); // the window deletes itself
        window_ = nullptr;
    }

private:
    bool Alive() const { return window_ && !life_.expired(); }
    CProgressParaEdit* window_;
    std::weak_ptr<int> life_;
};

// One slot's value from the drive; nothing when a read failed. A parameter without a register in
// the present link mode cannot be compared: *unreadable is set and no request is sent.
std::optional<int> ReadSlot(CRegisterServices& services, const DriveCompareSlot& slot, WalkProgress& progress,
                            bool& sixteenBitPath, bool& unreadable) {
    unreadable = false;
    sixteenBitPath = true;
    if (ModbusMode) {
        progress.Step();
        // Only a parameter with a Modbus register of its own is read: the 400 range of Pn would read
        // the registers of the 300 range, and a 32-bit value would lose its high word.
        if (!ModbusParameterAddress(slot.code)) {
            unreadable = true;
            progress.Step();
            return std::nullopt;
        }
        const int done = services.ReadParameterModbus(slot.letter, slot.number, ModbusAsciiFlag);
        progress.Step();
        if (!done)
            return std::nullopt;
        // The services convert by the group alone; the word is converted again with the index.
        const auto raw = static_cast<std::int16_t>(services.ReadValue & 0xFFFF);
        return ConvertRawParameterValue(slot.letter, slot.number, raw, slot.index);
    }
    // The register map counts the newer-model groups by the number within the group (the index tells
    // the group); the walk's running count over those groups would address other parameters.
    const int number = slot.group >= CompareClassicGroupCount ? slot.element + 1 : slot.number;
    const std::optional<std::uint16_t> address = ParameterRegisterAddress(slot.letter, number, slot.index);
    if (!address) {
        unreadable = true;
        return std::nullopt;
    }
    if (!IsDoubleWordParameter(slot.letter, number, slot.index)) {
        if (!services.ReadDriveRegister16(*address))
            return std::nullopt;
        return ConvertRawParameterValue(slot.letter, number, static_cast<std::int16_t>(services.ReadValue),
                                        slot.index);
    }
    sixteenBitPath = false;
    if (!services.ReadDriveRegister16(*address))
        return std::nullopt;
    const auto low = static_cast<std::uint32_t>(services.ReadValue) & 0xFFFFu;
    if (!services.ReadDriveRegister16(*address + 1))
        return std::nullopt;
    const auto high = static_cast<std::uint32_t>(services.ReadValue) & 0xFFFFu;
    // The whole 32-bit value: a 16-bit conversion would cut it.
    return static_cast<std::int32_t>((high << 16) | low);
}

} // namespace

std::optional<CompareResult> CompareWithDrive(const CompareRunEnvironment& env) {
    if (!ConnectedFlag) {
        ShowMessage(DialogText(kCommunicateErrorId, "Communicate Error!"), CommunicationCaption(),
                    MB_OK | MB_ICONSTOP);
        return std::nullopt;
    }
    CRegisterServices& services = env.services;
    DriveComparison walk(env.document, env.document.Context(), env.projectMode);
    const int slotCount = walk.SlotCount();
    services.ViewBusyFlag = 1;
    std::optional<CompareResult> result;
    {
        WalkProgress progress(env.owner, 3 * slotCount);
        bool failed = false;
        for (int s = 0; s < slotCount && !failed; ++s) {
            progress.Show();
            if (!walk.IsRead(s)) {
                progress.Step();
                continue;
            }
            progress.Step();
            const DriveCompareSlot slot = DriveCompareSlotAt(s);
            bool sixteenBitPath = true;
            bool unreadable = false;
            std::optional<int> value = ReadSlot(services, slot, progress, sixteenBitPath, unreadable);
            if (unreadable) {
                // Nothing to compare it with: taken as equal to the document so it is not flagged.
                const int* current = env.document.FindValue(slot.code);
                value = current ? *current : 0;
                sixteenBitPath = false;
            }
            failed = !walk.Take(s, value, sixteenBitPath);
        }
        progress.Close();
        if (failed)
            ShowMessage(
                CRegisterServices::FailureText(DialogText(IDS_PD_COMPARING, "Comparing parameters...")),
                CommunicationCaption(), MB_OK | MB_ICONSTOP);
        else
            result = walk.Finish();
    }
    services.ViewBusyFlag = 0;
    return result;
}

std::optional<CompareResult> CompareWithFileRun(const CompareRunEnvironment& env,
                                                const CompareChoices& choices) {
    DocumentValueSet file;
    if (!LoadComparisonDocument(choices.filePath, file))
        return std::nullopt;
    return CompareWithFile(env.document, file, choices.fileName, env.document.Context(), env.projectMode);
}

std::optional<CompareResult> CompareFilesRun(const CompareRunEnvironment& env,
                                             const CompareChoices& choices) {
    DocumentValueSet first;
    DocumentValueSet second;
    if (!LoadComparisonDocument(choices.file1Path, first) ||
        !LoadComparisonDocument(choices.file2Path, second))
        return std::nullopt;
    return CompareFiles(first, choices.file1Name, second, choices.file2Name, env.document.Context(),
                        env.projectMode);
}

void ShowCompareOutcome(const CompareRunEnvironment& env, const CompareResult& result) {
    if (result.DifferenceCount() == 0) {
        ShowMessage(DialogText(IDS_PD_NO_DIFFERENCE, "Parameter compare finished!No difference!"),
                    DialogText(IDS_PD_COMPARE_CAPTION, "Compare"), MB_OK | MB_ICONINFORMATION);
        return;
    }
    CCompareDlg dialog(env.owner);
    dialog.m_result = result;
    dialog.m_context = env.document.Context();
    dialog.m_document = &env.document;
    dialog.m_projectMode = env.projectMode;
    dialog.DoModal();
}

void RunCompareCommand(const CompareRunEnvironment& env, CompareChoices& choices) {
    CCompareSelDialog selection(env.owner);
    selection.m_mode = choices.mode;
    selection.m_filePath = choices.filePath;
    selection.m_fileName = choices.fileName;
    selection.m_file1Path = choices.file1Path;
    selection.m_file1Name = choices.file1Name;
    selection.m_file2Path = choices.file2Path;
    selection.m_file2Name = choices.file2Name;
    selection.m_context = env.document.Context();
    selection.m_document = &env.document;
    selection.m_projectMode = env.projectMode;
    if (selection.DoModal() != IDOK)
        return;
    const CompareChoices picked{selection.m_mode,      selection.m_filePath,  selection.m_fileName,
                                selection.m_file1Path, selection.m_file1Name, selection.m_file2Path,
                                selection.m_file2Name};
    AcceptCompareChoices(choices, picked);
    std::optional<CompareResult> result;
    switch (choices.mode) {
    case CompareDrive:
        result = CompareWithDrive(env);
        break;
    case CompareDefaults:
        result = CompareWithDefaults(env.document, env.document.Context(), env.projectMode);
        break;
    case CompareFile:
        result = CompareWithFileRun(env, choices);
        break;
    case CompareTwoFiles:
        result = CompareFilesRun(env, choices);
        break;
    default:
        break;
    }
    if (result)
        ShowCompareOutcome(env, *result);
}
