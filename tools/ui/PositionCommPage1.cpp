#include "tools/ui/PositionCommPage1.h"

#include "catalogue/KeloServoDoc.h"
#include "framework/core/Format.h"
#include "framework/ui/Edit.h"
#include "resources/ids/tools.h"

CPositionCommPage1::CPositionCommPage1(CKeloServoDoc& doc, UINT templateId, int firstEntry)
    : CDialog(templateId), doc_(doc), firstEntry_(firstEntry) {}

const MessageMap* CPositionCommPage1::GetMessageMap() const {
    static const MessageMap map(
        CDialog::GetMessageMap(),
        {
            msg::ControlRange(EN_CHANGE, IDC_PC_REVOLUTIONS_FIRST, IDC_PC_SPEED_FIRST + Rows - 1,
                              &CPositionCommPage1::OnEntryChange),
        });
    return &map;
}

void CPositionCommPage1::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
    for (int r = 0; r < Rows; ++r)
        DDX_Text(dx, IDC_PC_SPEED_FIRST + r, m_speed[static_cast<size_t>(r)]);
}

int CPositionCommPage1::MaxSpeed() const {
    const int* maximum = doc_.FindMaximum("Pn403");
    return maximum ? *maximum : 0;
}

BOOL CPositionCommPage1::OnInitDialog() {
    CDialog::OnInitDialog();
    showing_ = true;
    for (int r = 0; r < Rows; ++r) {
        const size_t i = static_cast<size_t>(r);
        m_revolutionEdits[i].SubclassDlgItem(IDC_PC_REVOLUTIONS_FIRST + r, this);
        m_pulseEdits[i].SubclassDlgItem(IDC_PC_PULSES_FIRST + r, this);
        m_revolutionEdits[i].LimitText(6);
        m_pulseEdits[i].LimitText(8);
        if (auto* speed = dynamic_cast<CEdit*>(GetDlgItem(IDC_PC_SPEED_FIRST + r)))
            speed->LimitText(4);
        const struct {
            int spin, buddy, low, high;
        } spins[] = {{IDC_PC_REVOLUTIONS_SPIN_FIRST + r, IDC_PC_REVOLUTIONS_FIRST + r, -MaxRevolutions,
                      MaxRevolutions},
                     {IDC_PC_PULSES_SPIN_FIRST + r, IDC_PC_PULSES_FIRST + r, -MaxPulses, MaxPulses},
                     {IDC_PC_SPEED_SPIN_FIRST + r, IDC_PC_SPEED_FIRST + r, 0, MaxSpeed()}};
        for (size_t s = 0; s < 3; ++s) {
            CSpinButtonCtrl& spin = spins_[3 * i + s];
            spin.SubclassDlgItem(spins[s].spin, this);
            spin.SetBuddy(GetDlgItem(spins[s].buddy));
            spin.SetRange32(spins[s].low, spins[s].high);
        }
        const int entry = firstEntry_ + r;
        const int first = PathEntryFirstNumber(entry);
        auto value = [this](int number) {
            const int* v = doc_.FindValue(Format("Pn%d", number));
            return v ? *v : 0;
        };
        m_revolutions[i] = value(first);
        m_pulses[i] = value(first + 1);
        m_speed[i] = value(first + 2);
    }
    UpdateData(FALSE);
    for (int r = 0; r < Rows; ++r) {
        SetDlgItemText(IDC_PC_REVOLUTIONS_FIRST + r, Format("%d", m_revolutions[static_cast<size_t>(r)]));
        SetDlgItemText(IDC_PC_PULSES_FIRST + r, Format("%d", m_pulses[static_cast<size_t>(r)]));
    }
    showing_ = false;
    return TRUE;
}

void CPositionCommPage1::PutBack(int id, int value, int selStart, int selEnd) {
    showing_ = true;
    SetDlgItemText(id, Format("%d", value));
    showing_ = false;
    if (auto* edit = dynamic_cast<CEdit*>(GetDlgItem(id)))
        edit->SetSel(selStart, selEnd);
}

void CPositionCommPage1::OnEntryChange(UINT id) {
    if (showing_)
        return;
    const int control = static_cast<int>(id);
    auto* edit = dynamic_cast<CEdit*>(GetDlgItem(control));
    int selStart = 0, selEnd = 0;
    if (edit)
        edit->GetSel(selStart, selEnd);
    const std::string text = GetDlgItemText(control);
    const std::optional<int> typed = text.empty() || text == "-" ? 0 : ParseInt(Trim(text));
    auto take = [&](int& member, int low, int high) {
        if (typed && *typed >= low && *typed <= high) {
            member = *typed;
            return;
        }
        PutBack(control, member, selStart, selEnd);
    };
    if (control < IDC_PC_PULSES_FIRST)
        take(m_revolutions[static_cast<size_t>(control - IDC_PC_REVOLUTIONS_FIRST)], -MaxRevolutions,
             MaxRevolutions);
    else if (control < IDC_PC_SPEED_FIRST)
        take(m_pulses[static_cast<size_t>(control - IDC_PC_PULSES_FIRST)], -MaxPulses, MaxPulses);
    else
        take(m_speed[static_cast<size_t>(control - IDC_PC_SPEED_FIRST)], 0, MaxSpeed());
}

void CPositionCommPage1::Store() {
    for (int r = 0; r < Rows; ++r) {
        const size_t i = static_cast<size_t>(r);
        const int first = PathEntryFirstNumber(firstEntry_ + r);
        const std::pair<int, int> words[] = {{first, ClampRevolutions(m_revolutions[i])},
                                             {first + 1, ClampPulses(m_pulses[i])},
                                             {first + 2, ClampSpeed(m_speed[i], MaxSpeed())}};
        for (const auto& [number, value] : words)
            if (int* slot = doc_.FindValue(Format("Pn%d", number)))
                *slot = value;
    }
}
