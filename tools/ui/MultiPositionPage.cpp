#include "tools/ui/MultiPositionPage.h"

#include "catalogue/KeloServoDoc.h"
#include "framework/core/Format.h"
#include "framework/core/MessageSeam.h"
#include "framework/ui/ComboBox.h"
#include "framework/ui/Edit.h"
#include "link/LinkState.h"
#include "link/services/RegisterServices.h"
#include "resources/ids/tools.h"
#include "tools/VirtualInputs.h"
#include "tools/ui/PositionPageSupport.h"
#include "tools/ui/PositionToolsLink.h"
#include "valueedit/ValueText.h"

#include <algorithm>

namespace {
constexpr int RegResolutionLow = 0x1706;
} // namespace

CMultiPositionPage::CMultiPositionPage(UINT templateId, IPositionToolsLink& link)
    : CDialogEx(templateId), link_(link) {}

const MessageMap* CMultiPositionPage::GetMessageMap() const {
    static const MessageMap map(
        CDialogEx::GetMessageMap(),
        {
            msg::Command(IDC_MP_ABSOLUTE, &CMultiPositionPage::OnReadControls),
            msg::Command(IDC_MP_RELATIVE, &CMultiPositionPage::OnReadControls),
            msg::Control(CBN_SELCHANGE, IDC_MP_PULSES, &CMultiPositionPage::OnReadControls),
            msg::Command(IDC_MP_SECOND, &CMultiPositionPage::OnSecondTarget),
            msg::Command(IDC_MP_PHOLD, &CMultiPositionPage::OnPhold),
            msg::ControlRange(EN_CHANGE, IDC_MP_DWELL, IDC_MP_DWELL2, &CMultiPositionPage::OnEditChange),
            msg::ControlRange(EN_CHANGE, IDC_MP_UNITS, IDC_MP_UNITS, &CMultiPositionPage::OnEditChange),
        });
    return &map;
}

void CMultiPositionPage::DoDataExchange(CDataExchange* dx) {
    CDialogEx::DoDataExchange(dx);
    DDX_Radio(dx, IDC_MP_ABSOLUTE, m_mode);
    DDX_CBIndex(dx, IDC_MP_PULSES, m_pulseIndex);
    DDX_Check(dx, IDC_MP_SECOND, m_second);
}

CRegisterServices& CMultiPositionPage::Services() {
    return link_.Services();
}

CKeloServoDoc* CMultiPositionPage::Document() {
    return link_.Document();
}

bool CMultiPositionPage::Linked() const {
    return ConnectedFlag != 0;
}

void CMultiPositionPage::SetTextLimits(const std::vector<std::pair<int, int>>& limits) {
    for (const auto& [id, count] : limits)
        if (auto* edit = dynamic_cast<CEdit*>(GetDlgItem(id)))
            edit->LimitText(count);
}

void CMultiPositionPage::EnableSecondTarget() {
    for (int id : SecondTargetControls())
        if (CWnd* control = GetDlgItem(id))
            control->EnableWindow(m_second != 0);
}

void CMultiPositionPage::ShowValues() {
    showing_ = true;
    UpdateData(FALSE);
    const std::pair<int, std::string> texts[] = {
        {IDC_MP_UNITS, std::to_string(m_units)},     {IDC_MP_TARGET1, std::to_string(m_target1)},
        {IDC_MP_TARGET2, std::to_string(m_target2)}, {IDC_MP_SPEED1, std::to_string(m_speed1)},
        {IDC_MP_SPEED2, std::to_string(m_speed2)},   {IDC_MP_DWELL, std::to_string(m_dwell)},
    };
    for (const auto& [id, text] : texts)
        if (GetDlgItem(id))
            SetDlgItemText(id, text);
    for (int id : {IDC_MP_CYCLES, IDC_MP_DWELL2})
        if (int* member = WholeNumberMember(id); member && GetDlgItem(id))
            SetDlgItemText(id, std::to_string(*member));
    showing_ = false;
}

int* CMultiPositionPage::WholeNumberMember(int id) {
    if (id == IDC_MP_UNITS)
        return &m_units;
    if (id == IDC_MP_DWELL)
        return &m_dwell;
    return nullptr;
}

void CMultiPositionPage::OnReadControls() {
    UpdateData(TRUE);
}

void CMultiPositionPage::OnSecondTarget() {
    UpdateData(TRUE);
    EnableSecondTarget();
}

void CMultiPositionPage::PutBack(int id, const std::string& text) {
    showing_ = true;
    SetDlgItemText(id, text);
    showing_ = false;
    // The caret goes one character left of the end, where the refused character was.
    if (auto* edit = dynamic_cast<CEdit*>(GetDlgItem(id))) {
        const int at = std::max(0, static_cast<int>(text.size()) - 1);
        edit->SetSel(at, at);
    }
}

void CMultiPositionPage::OnEditChange(UINT id) {
    if (showing_)
        return;
    const std::string text = GetDlgItemText(static_cast<int>(id));
    if (id == IDC_MP_TARGET1 || id == IDC_MP_TARGET2) {
        std::int64_t& member = id == IDC_MP_TARGET1 ? m_target1 : m_target2;
        const std::optional<std::int64_t> value = text.empty() || text == "-" ? 0 : ParseInt64(text);
        if (IsIntegerText(text) && value && *value<TargetBound&& * value> - TargetBound) {
            member = *value;
            return;
        }
        if (IsIntegerText(text))
            ShowMessage(Format("Please enter an integer between %lld and %lld.",
                               static_cast<long long>(-(TargetBound - 1)),
                               static_cast<long long>(TargetBound - 1)));
        PutBack(static_cast<int>(id), std::to_string(member));
        return;
    }
    if (id == IDC_MP_SPEED1 || id == IDC_MP_SPEED2) {
        int& member = id == IDC_MP_SPEED1 ? m_speed1 : m_speed2;
        const std::optional<std::int64_t> value = text.empty() ? 0 : ParseInt64(text);
        if (IsIntegerText(text) && text != "-" && value && *value >= 0 && *value <= SpeedBound) {
            member = static_cast<int>(*value);
            return;
        }
        if (value && *value > SpeedBound)
            ShowMessage(Format("Please enter an integer between 0 and %d.", SpeedBound));
        PutBack(static_cast<int>(id), std::to_string(member));
        return;
    }
    if (int* member = WholeNumberMember(static_cast<int>(id))) {
        const std::optional<int> value = text.empty() ? 0 : ParseInt(text);
        if (value && *value >= 0 && IsIntegerText(text)) {
            *member = *value;
            return;
        }
        PutBack(static_cast<int>(id), std::to_string(*member));
    }
}

void CMultiPositionPage::OnOK() {
    UpdateData(TRUE);
    if (Document() && Linked() && !Services().WriteDriveParameter("Pn316", m_mode) && Linked())
        ShowWritesRefused("Pn316");
}

std::optional<std::int64_t> CMultiPositionPage::ReadResolution() {
    const std::optional<int> low = Services().ReadDriveRegister(RegResolutionLow);
    if (!low)
        return std::nullopt;
    const std::optional<int> high = Services().ReadDriveRegister(RegResolutionLow + 1);
    if (!high)
        return std::nullopt;
    return (static_cast<std::int64_t>(*high & 0xFFFF) << 16) | (*low & 0xFFFF);
}

std::optional<PathCommand> CMultiPositionPage::Convert(std::int64_t target, int speed,
                                                       std::int64_t resolution) {
    std::string comboText;
    if (auto* combo = dynamic_cast<CComboBox*>(GetDlgItem(IDC_MP_PULSES)))
        comboText = combo->GetWindowText();
    const std::optional<std::int64_t> pulses = PulsesOfChoice(m_pulseIndex, comboText);
    if (!pulses) {
        ShowMessage("The corresponding pulses must be a positive whole number.");
        return std::nullopt;
    }
    const PathCommandResult result = ToPathCommand(target, speed, m_units, *pulses, resolution);
    if (!result.command) {
        ShowMessage(PathCommandErrorText(result.error));
        return std::nullopt;
    }
    return result.command;
}

bool CMultiPositionPage::FitsLimits(const PathCommand& command) {
    CKeloServoDoc* doc = Document();
    if (!doc)
        return false;
    auto limit = [doc](const char* code, bool maximum) {
        const int* value = maximum ? doc->FindMaximum(code) : doc->FindMinimum(code);
        return value ? *value : 0;
    };
    const PathCommandLimits limits{limit("Pn401", false), limit("Pn401", true),  limit("Pn402", false),
                                   limit("Pn402", true),  limit("Pn403", false), limit("Pn403", true)};
    return WithinLimits(command, limits);
}

bool CMultiPositionPage::SetVirtualInput(int state, int bit) {
    if (state != 0 && state != 1)
        return false;
    const std::optional<int> word = WithBit(Services().ReadDriveParameter("Hn618"), bit, state == 1);
    if (!word)
        return false;
    return Services().WriteDriveParameter("Hn618", *word) == 1;
}

void CMultiPositionPage::ReportInputsRefused() {
    if (Linked())
        ShowWritesRefused("Hn618 ");
    else
        ShowLinkLost();
}

void CMultiPositionPage::OnPhold() {
    if (OtherPageRunning())
        return;
    const bool held = Held();
    bool accepted = true;
    if (held) {
        accepted = SetVirtualInput(0, BitPhold) && Retrigger();
        SetDlgItemText(IDC_MP_PHOLD, ToolText(IDS_POS_PHOLD));
    } else {
        accepted = SetVirtualInput(1, BitPhold);
        SetDlgItemText(IDC_MP_PHOLD, ToolText(IDS_POS_CONTINUE));
    }
    for (int id : HeldButtons())
        GetDlgItem(id)->EnableWindow(held);
    SetHeld(!held);
    ShowEnableState();
    if (!accepted && Document())
        ReportInputsRefused();
}
