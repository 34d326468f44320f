#include "shell/monitor/EditRAMDlg.h"

#include "framework/core/Format.h"
#include "framework/core/MessageSeam.h"
#include "link/services/RegisterServices.h"
#include "resources/ids/monitor.h"
#include "shell/monitor/UserFileDialog.h"

namespace {
constexpr const char* kCommunicationCaption = "Communication Message";
constexpr const char* kWriteFailed = "Write Failed!";
constexpr int kProgressRange = 4096;

// The progress window and the busy flag of one transfer, both ended on every way out.
class TransferScope {
public:
    explicit TransferScope(CRegisterServices& services) : services_(services) {
        services_.ViewBusyFlag = 1;
        if (services_.Progress)
            services_.Progress->Open(ProgressDialogResource, kProgressRange);
    }
    ~TransferScope() {
        if (services_.Progress)
            services_.Progress->Close();
        services_.ViewBusyFlag = 0;
    }
    TransferScope(const TransferScope&) = delete;
    TransferScope& operator=(const TransferScope&) = delete;

    void Step(const std::string& text) {
        if (services_.Progress) {
            services_.Progress->SetStepText(text);
            services_.Progress->Step();
        }
    }
    void Pump() { services_.Pump(); }

private:
    CRegisterServices& services_;
};
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
    RamValues values{};
    std::optional<std::string> failedStep;
    {
        TransferScope transfer(m_services);
        for (int k = 0; k < RamPairCount; ++k) {
            const std::string step = ReadStepText(k);
            transfer.Step(step);
            const bool highRead = m_services.ReadDriveRegister(RamPairAddress(k)) != 0;
            const int high = m_services.ReadValue;
            if (!highRead || !m_services.ReadDriveRegister(RamPairAddress(k) + 1)) {
                failedStep = step;
                break;
            }
            values[k] = RamPairValue(static_cast<std::uint16_t>(high),
                                     static_cast<std::uint16_t>(m_services.ReadValue));
            transfer.Pump();
        }
    }
    if (failedStep) {
        ShowMessage(CRegisterServices::FailureText(*failedStep), kCommunicationCaption, MB_OK | MB_ICONSTOP);
        return std::nullopt;
    }
    return values;
}

bool CEditRAMDlg::WriteRamWords(const RamValues& values) {
    bool written = true;
    {
        TransferScope transfer(m_services);
        for (int k = 0; k < RamPairCount; ++k) {
            transfer.Step(WriteStepText(k));
            if (!m_services.WriteDriveRegister(RamPairAddress(k), RamHighWord(values[k])) ||
                !m_services.WriteDriveRegister(RamPairAddress(k) + 1, RamLowWord(values[k]))) {
                written = false;
                break;
            }
            transfer.Pump();
        }
    }
    if (!written)
        ShowMessage(kWriteFailed, std::string(), MB_OK);
    return written;
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
