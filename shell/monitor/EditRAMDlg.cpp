#include "shell/monitor/EditRAMDlg.h"

#include "framework/core/Format.h"
#include "framework/core/MessageSeam.h"
#include "link/services/RegisterServices.h"
#include "link/services/TransferPass.h"
#include "resources/ids/monitor.h"
#include "shell/monitor/UserFileDialog.h"

namespace {
constexpr const char* kWriteFailed = "Write Failed!";
constexpr int kProgressRange = 4096;
} // namespace

CEditRAMDlg::CEditRAMDlg(CRegisterServices& services, CWnd* parent)
    : CDialog(IDD, parent), m_services(services) {}

const MessageMap* CEditRAMDlg::GetMessageMap() const {
    static const MessageMap map(CDialog::GetMessageMap(),
                                {
                                    msg::Command(IDC_RAM_READ_SAVE, &CEditRAMDlg::OnReadAndSave),
                                    msg::Command(IDC_RAM_OPEN_WRITE, &CEditRAMDlg::OnOpenAndWrite),
                                    msg::Command(IDC_RAM_WRITE, &CEditRAMDlg::OnWriteRam),
                                });
    return &map;
}

std::string CEditRAMDlg::ReadStepText(int pair) {
    return Format("Reading date from Servo...: %04XH", pair);
}

std::string CEditRAMDlg::WriteStepText(int pair) {
    return Format("Writing data to Servo...: %04XH", pair);
}

std::optional<RamValues> CEditRAMDlg::ReadRamWords() {
    CTransferPass pass(m_services, {Life(), m_services.Progress});
    if (pass.Refused())
        return std::nullopt;
    pass.OpenProgress(ProgressDialogResource, kProgressRange);
    RamValues values{};
    for (int k = 0; k < RamPairCount; ++k) {
        const std::string step = ReadStepText(k);
        pass.SetText(step);
        pass.Step();
        const std::optional<int> high = m_services.ReadDriveRegister(RamPairAddress(k));
        const std::optional<int> low =
            high ? m_services.ReadDriveRegister(RamPairAddress(k) + 1) : std::nullopt;
        if (!low) {
            pass.Fail(step);
            return std::nullopt;
        }
        values[k] = RamPairValue(static_cast<std::uint16_t>(*high), static_cast<std::uint16_t>(*low));
        if (!pass.Pump())
            return std::nullopt;
    }
    return values;
}

bool CEditRAMDlg::WriteRamWords(const RamValues& values) {
    CTransferPass pass(m_services, {Life(), m_services.Progress});
    if (pass.Refused())
        return false;
    pass.OpenProgress(ProgressDialogResource, kProgressRange);
    for (int k = 0; k < RamPairCount; ++k) {
        pass.SetText(WriteStepText(k));
        pass.Step();
        if (!m_services.WriteDriveRegister(RamPairAddress(k), RamHighWord(values[k])) ||
            !m_services.WriteDriveRegister(RamPairAddress(k) + 1, RamLowWord(values[k]))) {
            // This transfer has its own box: the write failure the user knows from the drive's tools.
            pass.End();
            ShowMessage(kWriteFailed, std::string(), MB_OK);
            return false;
        }
        if (!pass.Pump())
            return false;
    }
    return true;
}

void CEditRAMDlg::OnReadAndSave() {
    const std::optional<RamValues> values = ReadRamWords();
    if (!values)
        return;
    const FileDialogResult chosen = ShowFileDialog(UserFileRequest(false, RamFileExt, RamFileFilter));
    if (chosen.ok)
        WriteRamWordsFile(chosen.path, *values);
}

void CEditRAMDlg::OnOpenAndWrite() {
    const FileDialogResult chosen = ShowFileDialog(UserFileRequest(true, RamFileExt, RamFileFilter));
    if (!chosen.ok)
        return;
    const std::optional<RamValues> values = ReadRamWordsFile(chosen.path);
    if (values)
        WriteRamWords(*values);
}
