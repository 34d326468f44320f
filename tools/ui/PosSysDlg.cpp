#include "tools/ui/PosSysDlg.h"

#include "framework/core/MessageSeam.h"
#include "link/LinkState.h"
#include "link/services/RegisterServices.h"
#include "resources/ids/tools.h"
#include "tools/VirtualInputs.h"
#include "tools/ui/PositionPageSupport.h"
#include "tools/ui/PositionToolsLink.h"

namespace {

struct RowControls {
    int button;
    int check;
};

// Per row in the order of CPosSysDlg::Row. INP shares the SVON check and is never enabled.
constexpr std::array<RowControls, CPosSysDlg::RowCount> kRows = {{
    {IDC_PS_PC_SVON, IDC_PS_CHECK_PC_SVON},
    {IDC_PS_ORG, IDC_PS_CHECK_ORG},
    {IDC_PS_SHOME, IDC_PS_CHECK_SHOME},
    {IDC_PS_POT, IDC_PS_CHECK_POT},
    {IDC_PS_NOT, IDC_PS_CHECK_NOT},
    {IDC_PS_PTRG, IDC_PS_CHECK_PTRG},
    {IDC_PS_PHOLD, IDC_PS_CHECK_PHOLD},
    {IDC_PS_INP, IDC_PS_CHECK_SVON},
    {IDC_PS_SVON, IDC_PS_CHECK_SVON},
}};

constexpr int ModePosition = 6;

} // namespace

CPosSysDlg::CPosSysDlg(IPositionToolsLink& link) : CDialogEx(IDD_POS_SYSTEM), link_(link) {}

const MessageMap* CPosSysDlg::GetMessageMap() const {
    static const MessageMap map(CDialogEx::GetMessageMap(),
                                {
                                    msg::Command(IDC_PS_WRITE_MODE, &CPosSysDlg::OnWriteMode),
                                    msg::Command(IDC_PS_ALL, &CPosSysDlg::OnAll),
                                    msg::CommandRange(IDC_PS_PC_SVON, IDC_PS_PC_SVON, &CPosSysDlg::OnToggle),
                                    msg::CommandRange(IDC_PS_ORG, IDC_PS_POT, &CPosSysDlg::OnToggle),
                                    msg::CommandRange(IDC_PS_NOT, IDC_PS_PHOLD, &CPosSysDlg::OnToggle),
                                    msg::CommandRange(IDC_PS_INP, IDC_PS_SVON, &CPosSysDlg::OnToggle),
                                });
    return &map;
}

void CPosSysDlg::DoDataExchange(CDataExchange* dx) {
    CDialogEx::DoDataExchange(dx);
    for (int row = 0; row < RowCount; ++row)
        DDX_Control(dx, kRows[static_cast<size_t>(row)].button, m_buttons[static_cast<size_t>(row)]);
    for (int i = 0; i < 8; ++i)
        DDX_Check(dx, IDC_PS_CHECK_PC_SVON + i, m_enable[static_cast<size_t>(i)]);
    DDX_Check(dx, IDC_PS_ALL, m_all);
}

BOOL CPosSysDlg::OnInitDialog() {
    CDialogEx::OnInitDialog();
    for (CMFCButton& button : m_buttons)
        button.EnableWindow(FALSE);
    PaintRows();
    if (ConnectedFlag) {
        const bool positionMode = link_.Services().ReadDriveParameter("Cn001") == ModePosition;
        GetDlgItem(IDC_PS_WRITE_MODE)->EnableWindow(!positionMode);
        GetDlgItem(IDOK)->EnableWindow(positionMode);
    }
    return TRUE;
}

int CPosSysDlg::EnableOf(int row) const {
    return m_enable[static_cast<size_t>(kRows[static_cast<size_t>(row)].check - IDC_PS_CHECK_PC_SVON)];
}

void CPosSysDlg::PaintRows() {
    for (int row = 0; row < RowCount; ++row)
        PaintStateButton(m_buttons[static_cast<size_t>(row)], m_state[static_cast<size_t>(row)]);
}

void CPosSysDlg::EnableRows() {
    for (int row = 0; row < RowCount; ++row)
        m_buttons[static_cast<size_t>(row)].EnableWindow(row != RowInp && EnableOf(row) != 0);
}

void CPosSysDlg::OnWriteMode() {
    if (!link_.Document())
        return;
    CRegisterServices& services = link_.Services();
    if (!services.WriteDriveParameter("Cn001", ModePosition)) {
        if (ConnectedFlag)
            ShowWritesRefused("Cn001");
        else
            ShowLinkLost();
        return;
    }
    ShowMessage(ToolText(IDS_POS_MODE_WRITTEN));
    services.SendFixedCommandFrame();
    GetDlgItem(IDOK)->EnableWindow(TRUE);
}

void CPosSysDlg::OnAll() {
    UpdateData(TRUE);
    if (m_all) {
        for (int& check : m_enable)
            check = 1;
    } else {
        for (size_t i = 1; i < m_enable.size(); ++i)
            m_enable[i] = 0;
    }
    UpdateData(FALSE);
}

void CPosSysDlg::OnOK() {
    UpdateData(TRUE);
    if (!link_.Document())
        return;
    m_enable[0] = 1;
    UpdateData(FALSE);
    if (ConnectedFlag) {
        const VirtualInputChecks checks{
            EnableOf(RowServo) != 0, EnableOf(RowShome) != 0, EnableOf(RowPtrg) != 0, EnableOf(RowPot) != 0,
            EnableOf(RowNot) != 0,   EnableOf(RowOrg) != 0,   EnableOf(RowPhold) != 0};
        CRegisterServices& services = link_.Services();
        int refused = 0;
        for (const PositionWrite& write : SystemPageAssignment(checks))
            if (!services.WriteDriveParameter(write.code, write.value))
                ++refused;
        if (refused > 0) {
            ShowMessage(ToolText(IDS_POS_WRITE_FAILED));
            return;
        }
        RefreshInputs();
        if (ShowMessage(ToolText(IDS_POS_RESTART_QUESTION), std::string(), MB_YESNO | MB_ICONINFORMATION) !=
            IDNO)
            services.SendFixedCommandFrame();
    } else {
        RefreshInputs();
    }
    EnableRows();
}

void CPosSysDlg::OnToggle(UINT id) {
    int row = -1;
    for (int r = 0; r < RowCount; ++r)
        if (kRows[static_cast<size_t>(r)].button == static_cast<int>(id))
            row = r;
    if (row < 0 || row == RowInp)
        return;
    UpdateData(TRUE);
    if (!EnableOf(row))
        return;
    const bool state = !m_state[static_cast<size_t>(row)];
    m_state[static_cast<size_t>(row)] = state;
    PaintStateButton(m_buttons[static_cast<size_t>(row)], state);
    if (row == RowPcServo) {
        if (!WriteServoOnCommand(link_.Services(), state ? 1 : 0) && !ConnectedFlag)
            ShowLinkLost();
        PauseMs(100);
    } else if (!WriteVirtualInputs()) {
        if (ConnectedFlag)
            ShowWritesRefused("Hn618");
    }
    RefreshInputs();
}

bool CPosSysDlg::WriteVirtualInputs() {
    if (!link_.Document())
        return true;
    auto on = [this](int row) { return m_state[static_cast<size_t>(row)]; };
    auto enabled = [this](int row) { return EnableOf(row) != 0; };
    const VirtualInputStates states{on(RowServo), on(RowShome), on(RowPtrg), on(RowPot),
                                    on(RowNot),   on(RowOrg),   on(RowPhold)};
    const VirtualInputChecks checks{enabled(RowServo), enabled(RowShome), enabled(RowPtrg), enabled(RowPot),
                                    enabled(RowNot),   enabled(RowOrg),   enabled(RowPhold)};
    return link_.Services().WriteDriveParameter("Hn618", SystemPageInputWord(states, checks)) == 1;
}

void CPosSysDlg::RefreshInputs() {
    if (!link_.Document())
        return;
    CRegisterServices& services = link_.Services();
    // A failed read leaves the rows as they were: there is no value to show.
    if (const std::optional<int> word = services.ReadDriveParameter("Hn618")) {
        const VirtualInputStates s = DecodeInputWord(*word);
        m_state[RowServo] = s.servoOn;
        m_state[RowShome] = s.shome;
        m_state[RowPtrg] = s.ptrg;
        m_state[RowPot] = s.pot;
        m_state[RowNot] = s.notLimit;
        m_state[RowOrg] = s.org;
        m_state[RowPhold] = s.phold;
    }
    m_state[RowPcServo] = ReadServoOnState(services) != 0;
    PaintRows();
}
