#pragma once
// CLinkComPort: the modal port choice before a manual connect. It lists the serial ports in their
// order (a busy USB virtual port marked "(using)"), preselects the port chosen last time, offers
// the baud rates, and its OK button reads "Connect" or, while linked, "Disconnect".
#include "framework/core/MessageSeam.h"
#include "framework/ui/ComboBox.h"
#include "framework/ui/Dialog.h"

#include <string>
#include <vector>

class CLinkComPort : public CDialog {
public:
    explicit CLinkComPort(CWnd* parent = nullptr);
    const MessageMap* GetMessageMap() const override;

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    void OnOK() override;

    void OnPortSelChange();
    void OnBaudSelChange();

    // Writes the chosen entry into the port choice file.
    bool SavePortChoice() const;

    std::string m_PortText; // the chosen entry ("ttyUSB0 : USB Serial Device")
    int m_PortIndex = 0;
    int m_BaudIndex = 1;
    bool m_LinkOpen = false; // the view is linked: the dialog offers Disconnect
    std::vector<std::string> m_Entries;

    CComboBox m_PortCombo;
    CComboBox m_BaudCombo;

private:
    void FillPortList();
};
