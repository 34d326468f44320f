#include "shell/ui/LinkComPort.h"

#include "framework/core/PortEnumeration.h"
#include "link/SerialExt.h"
#include "resources/ids/mainframe.h"
#include "shell/PortChoice.h"

CLinkComPort::CLinkComPort(CWnd* parent) : CDialog(IDD_LINK_COM_PORT, parent) {}

const MessageMap* CLinkComPort::GetMessageMap() const {
    static const MessageMap map(
        CDialog::GetMessageMap(),
        {
            msg::Control(CBN_SELCHANGE, IDC_LINK_PORT_COMBO, &CLinkComPort::OnPortSelChange),
            msg::Control(CBN_SELCHANGE, IDC_LINK_BAUD_COMBO, &CLinkComPort::OnBaudSelChange),
        });
    return &map;
}

void CLinkComPort::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_LINK_PORT_COMBO, m_PortCombo);
    DDX_Control(dx, IDC_LINK_BAUD_COMBO, m_BaudCombo);
}

BOOL CLinkComPort::OnInitDialog() {
    CDialog::OnInitDialog();
    if (CWnd* ok = GetDlgItem(IDOK))
        ok->SetWindowText(m_LinkOpen ? "Disconnect" : "Connect");
    if (m_LinkOpen) {
        m_PortCombo.EnableWindow(FALSE);
        m_BaudCombo.EnableWindow(FALSE);
    }
    m_BaudIndex = BoundedBaudRateIndex(m_BaudIndex);
    m_BaudCombo.SetCurSel(m_BaudIndex);
    FillPortList();
    return TRUE;
}

void CLinkComPort::FillPortList() {
    m_PortCombo.ResetContent();
    // A port is free when the probing port object can open it; it is closed again at once.
    const PortFreeTest isFree = [](const std::string& name) {
        const std::string device = PortDevicePath(name);
        if (DiscoveryPortObject.Open(device.c_str(), 19200, 500, 20000, 20000) != ErrNone)
            return false;
        DiscoveryPortObject.Close();
        return true;
    };
    m_Entries = PortListEntries(EnumeratePorts(), isFree);
    for (const std::string& entry : m_Entries)
        m_PortCombo.AddString(entry);
    const PortSelection selection =
        ChoosePortSelection(m_Entries, PortNameFromEntry(m_PortText), ReadPortChoice());
    if (selection.index >= 0) {
        m_PortCombo.SetCurSel(selection.index);
        m_PortIndex = selection.index;
        m_PortText = selection.text;
    } else if (!m_Entries.empty()) {
        m_PortCombo.SetCurSel(0);
        m_PortIndex = 0;
        m_PortText = m_Entries.front();
    } else {
        m_PortIndex = -1;
    }
}

void CLinkComPort::OnPortSelChange() {
    m_PortIndex = m_PortCombo.GetCurSel();
    m_PortText = m_PortIndex >= 0 ? m_PortCombo.GetLBText(m_PortIndex) : std::string();
}

void CLinkComPort::OnBaudSelChange() {
    m_BaudIndex = m_BaudCombo.GetCurSel();
}

void CLinkComPort::OnOK() {
    OnPortSelChange();
    if (!m_LinkOpen)
        OnBaudSelChange();
    CDialog::OnOK();
}

bool CLinkComPort::SavePortChoice() const {
    return ::SavePortChoice(m_PortText);
}
