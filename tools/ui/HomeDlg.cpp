#include "tools/ui/HomeDlg.h"

#include "catalogue/KeloServoDoc.h"
#include "framework/core/Format.h"
#include "framework/core/MessageSeam.h"
#include "framework/core/ResourceModule.h"
#include "framework/ui/Edit.h"
#include "link/LinkState.h"
#include "link/services/RegisterServices.h"
#include "resources/ids/tools.h"
#include "tools/VirtualInputs.h"
#include "tools/ui/PositionPageSupport.h"
#include "tools/ui/PositionToolsLink.h"

namespace {
constexpr std::array<int, CHomeDlg::ButtonCount> kButtonIds = {IDC_HM_SERVO, IDC_HM_SHOME, IDC_HM_ORG,
                                                               IDC_HM_POT, IDC_HM_NOT};

int Limit(CKeloServoDoc& doc, const char* code, bool maximum) {
    const int* value = maximum ? doc.FindMaximum(code) : doc.FindMinimum(code);
    return value ? *value : 0;
}
} // namespace

CHomeDlg::CHomeDlg(IPositionToolsLink& link) : CDialogEx(IDD_POS_HOME), link_(link) {}

const MessageMap* CHomeDlg::GetMessageMap() const {
    static const MessageMap map(CDialogEx::GetMessageMap(),
                                {
                                    msg::Command(IDC_HM_WRITE, &CHomeDlg::OnWrite),
                                    msg::Command(IDC_HM_SERVO, &CHomeDlg::OnServoOn),
                                    msg::CommandRange(IDC_HM_SHOME, IDC_HM_SHOME, &CHomeDlg::OnToggleInput),
                                    msg::CommandRange(IDC_HM_ORG, IDC_HM_ORG, &CHomeDlg::OnToggleInput),
                                    msg::CommandRange(IDC_HM_POT, IDC_HM_NOT, &CHomeDlg::OnToggleInput),
                                });
    return &map;
}

void CHomeDlg::DoDataExchange(CDataExchange* dx) {
    CDialogEx::DoDataExchange(dx);
    for (size_t i = 0; i < kButtonIds.size(); ++i)
        DDX_Control(dx, kButtonIds[i], m_buttons[i]);
    DDX_Text(dx, IDC_HM_MODE, m_mode);
    DDX_Text(dx, IDC_HM_HIGH_SPEED, m_highSpeed);
    DDX_Text(dx, IDC_HM_LOW_SPEED, m_lowSpeed);
    DDX_Text(dx, IDC_HM_HIGH_RANGE, m_highRange);
    DDX_Text(dx, IDC_HM_LOW_RANGE, m_lowRange);
}

BOOL CHomeDlg::OnInitDialog() {
    CDialogEx::OnInitDialog();
    CKeloServoDoc* doc = link_.Document();
    if (!ConnectedFlag || !doc)
        return FALSE;
    const std::pair<int, int> limits[] = {{IDC_HM_MODE, 2}, {IDC_HM_HIGH_SPEED, 4}, {IDC_HM_LOW_SPEED, 4}};
    for (const auto& [id, count] : limits)
        if (auto* edit = dynamic_cast<CEdit*>(GetDlgItem(id)))
            edit->LimitText(count);
    m_highRange = Format("(%d~%d)", Limit(*doc, "Pn318", false), Limit(*doc, "Pn318", true));
    m_lowRange = Format("(%d~%d)", Limit(*doc, "Pn319", false), Limit(*doc, "Pn319", true));
    CRegisterServices& services = link_.Services();
    if (const std::optional<int> v = services.ReadDriveParameter("Pn355"))
        m_mode = std::to_string(*v);
    if (const std::optional<int> v = services.ReadDriveParameter("Pn318"))
        m_highSpeed = std::to_string(*v);
    if (const std::optional<int> v = services.ReadDriveParameter("Pn319"))
        m_lowSpeed = std::to_string(*v);
    for (CMFCButton& button : m_buttons)
        button.EnableWindow(FALSE);
    Paint();
    UpdateData(FALSE);
    return TRUE;
}

void CHomeDlg::Paint() {
    for (size_t i = 0; i < m_buttons.size(); ++i)
        PaintStateButton(m_buttons[i], m_state[i]);
}

void CHomeDlg::OnWrite() {
    CKeloServoDoc* doc = link_.Document();
    if (!doc)
        return;
    UpdateData(TRUE);
    if (m_mode.empty() || m_highSpeed.empty() || m_lowSpeed.empty())
        return;
    struct Field {
        int id;
        const char* code;
        const std::string& text;
        int minimum, maximum;
    };
    const Field fields[] = {
        {IDC_HM_MODE, "Pn355", m_mode, 1, Limit(*doc, "Pn355", true)},
        {IDC_HM_HIGH_SPEED, "Pn318", m_highSpeed, Limit(*doc, "Pn318", false), Limit(*doc, "Pn318", true)},
        {IDC_HM_LOW_SPEED, "Pn319", m_lowSpeed, Limit(*doc, "Pn319", false), Limit(*doc, "Pn319", true)},
    };
    int values[3] = {};
    for (size_t i = 0; i < 3; ++i) {
        const std::optional<int> value = ParseInt(Trim(fields[i].text));
        if (!value || *value < fields[i].minimum || *value > fields[i].maximum) {
            if (auto* edit = dynamic_cast<CEdit*>(GetDlgItem(fields[i].id))) {
                edit->SetSel(0, -1);
                edit->SetFocus();
            }
            ShowMessage(std::string(fields[i].code) + " " + LoadResString(61551));
            return;
        }
        values[i] = *value;
    }
    CRegisterServices& services = link_.Services();
    bool written = true;
    for (size_t i = 0; i < 3; ++i)
        written = services.WriteDriveParameter(fields[i].code, values[i]) == 1 && written;
    // Without a value read now there is nothing to modify: Pn317 is not written then.
    const std::optional<int> config = services.ReadDriveParameter("Pn317");
    written = config && services.WriteDriveParameter("Pn317", HomingConfigWord(*config)) == 1 && written;
    if (!written) {
        ShowMessage(ToolText(IDS_POS_WRITE_FAILED));
        return;
    }
    ShowMessage(ToolText(IDS_POS_WRITE_FINISH));
    RefreshInputs();
    for (CMFCButton& button : m_buttons)
        button.EnableWindow(TRUE);
}

void CHomeDlg::OnServoOn() {
    m_state[ButtonServo] = !m_state[ButtonServo];
    PaintStateButton(m_buttons[ButtonServo], m_state[ButtonServo]);
    // Servo off is the homing run's stop: the view keeps it while it cannot reach the drive.
    const CStopKeeper::Writes servoOff = [](CRegisterServices& services) {
        return WriteServoOnCommand(services, 0);
    };
    if (!m_state[ButtonServo]) {
        if (link_.Services().Stops.Send("homing", servoOff) == StopResult::Refused)
            ShowWritesRefused("0x170E");
    } else {
        // Owed before the servo goes on: one whose reply was damaged may well be on.
        link_.Services().Stops.Owe("homing", servoOff);
        if (!WriteServoOnCommand(link_.Services(), 1) && !ConnectedFlag)
            ShowLinkLost();
    }
    PauseMs(100);
    RefreshInputs();
}

void CHomeDlg::OnToggleInput(UINT id) {
    for (size_t i = 1; i < kButtonIds.size(); ++i)
        if (kButtonIds[i] == static_cast<int>(id)) {
            m_state[i] = !m_state[i];
            PaintStateButton(m_buttons[i], m_state[i]);
        }
    if (!WriteVirtualInputs() && link_.Document()) {
        if (ConnectedFlag)
            ShowWritesRefused("Hn618");
        else
            ShowLinkLost();
    }
    RefreshInputs();
}

bool CHomeDlg::WriteVirtualInputs() {
    if (!link_.Document())
        return false;
    const int word =
        HomingInputWord(m_state[ButtonShome], m_state[ButtonPot], m_state[ButtonNot], m_state[ButtonOrg]);
    return link_.Services().WriteDriveParameter("Hn618", word) == 1;
}

void CHomeDlg::RefreshInputs() {
    if (!link_.Document())
        return;
    CRegisterServices& services = link_.Services();
    if (const std::optional<int> word = services.ReadDriveParameter("Hn618")) {
        const VirtualInputStates s = DecodeInputWord(*word);
        m_state[ButtonShome] = s.shome;
        m_state[ButtonPot] = s.pot;
        m_state[ButtonNot] = s.notLimit;
        m_state[ButtonOrg] = s.org;
    }
    m_state[ButtonServo] = ReadServoOnState(services) != 0;
    Paint();
}
