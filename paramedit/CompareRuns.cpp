#include "paramedit/CompareRuns.h"

#include "catalogue/KeloServoDoc.h"
#include "catalogue/RegisterMap.h"
#include "framework/core/MessageSeam.h"
#include "link/LinkState.h"
#include "link/services/RegisterServices.h"
#include "link/services/TransferPass.h"
#include "paramedit/CompareDlg.h"
#include "paramedit/CompareSelDialog.h"
#include "paramedit/DialogText.h"
#include "paramedit/ParamPassRules.h"
#include "paramedit/TransferProgress.h"
#include "resources/ids/paradialogs.h"
#include "resources/ids/paramedit.h"

#include <cstdint>

namespace {

constexpr int kCommunicationCaptionId = 61679;
constexpr int kCommunicateErrorId = 61681;

std::string CommunicationCaption() {
    return DialogText(kCommunicationCaptionId, "Communication Message");
}

// One slot's value from the drive; nothing when a read failed. A parameter without a register in
// the present link mode cannot be compared: *unreadable is set and no request is sent.
std::optional<int> ReadSlot(CRegisterServices& services, const DriveCompareSlot& slot, CTransferPass& pass,
                            bool& sixteenBitPath, bool& unreadable) {
    unreadable = false;
    sixteenBitPath = true;
    if (ModbusMode) {
        pass.Step();
        // Only a parameter with a Modbus register of its own is read: the 400 range of Pn would read
        // the registers of the 300 range, and a 32-bit value would lose its high word.
        if (!ModbusParameterAddress(slot.code)) {
            unreadable = true;
            pass.Step();
            return std::nullopt;
        }
        const std::optional<int> read =
            services.ReadParameterModbus(slot.letter, slot.number, ModbusAsciiFlag);
        pass.Step();
        if (!read)
            return std::nullopt;
        // The services convert by the group alone; the word is converted again with the index.
        const auto raw = static_cast<std::int16_t>(*read & 0xFFFF);
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
        const std::optional<int> word = services.ReadDriveRegister16(*address);
        if (!word)
            return std::nullopt;
        return ConvertRawParameterValue(slot.letter, number, static_cast<std::int16_t>(*word), slot.index);
    }
    sixteenBitPath = false;
    const std::optional<int> lowWord = services.ReadDriveRegister16(*address);
    if (!lowWord)
        return std::nullopt;
    const std::optional<int> highWord = services.ReadDriveRegister16(*address + 1);
    if (!highWord)
        return std::nullopt;
    const auto low = static_cast<std::uint32_t>(*lowWord) & 0xFFFFu;
    const auto high = static_cast<std::uint32_t>(*highWord) & 0xFFFFu;
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
    CTransferProgress progress(env.owner);
    CTransferPass pass(services, PassOwner(env.owner, &progress));
    if (pass.Refused())
        return std::nullopt;
    pass.OpenProgress(IDD_PROGRESS_PARAEDIT, 3 * slotCount, DialogText(IDS_PD_COMPARE_CAPTION, "Compare"));
    const std::string comparing = DialogText(IDS_PD_COMPARING, "Comparing parameters...");
    pass.SetText(comparing);
    for (int s = 0; s < slotCount; ++s) {
        if (!walk.IsRead(s)) {
            pass.Step();
            continue;
        }
        pass.Step();
        const DriveCompareSlot slot = DriveCompareSlotAt(s);
        bool sixteenBitPath = true;
        bool unreadable = false;
        std::optional<int> value = ReadSlot(services, slot, pass, sixteenBitPath, unreadable);
        if (unreadable) {
            // Nothing to compare it with: taken as equal to the document so it is not flagged.
            const int* current = env.document.FindValue(slot.code);
            value = current ? *current : 0;
            sixteenBitPath = false;
        }
        if (!walk.Take(s, value, sixteenBitPath)) {
            pass.Fail(comparing);
            return std::nullopt;
        }
        if (!unreadable && !pass.Pump())
            return std::nullopt; // the editor was closed meanwhile
    }
    pass.End();
    return walk.Finish();
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
