#pragma once
// CHomeDlg: the homing page of the position control window. It writes the homing mode and speeds
// (Pn355, Pn318, Pn319) with the homing configuration digit of Pn317, switches the PC servo-on
// command and toggles the virtual SHOME, ORG, POT and NOT inputs that the system page assigned.
#include "framework/ui/Dialog.h"
#include "framework/ui/MFCButton.h"

#include <array>
#include <string>

class IPositionToolsLink;

class CHomeDlg : public CDialogEx {
public:
    explicit CHomeDlg(IPositionToolsLink& link);
    const MessageMap* GetMessageMap() const override;
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;

    void RefreshInputs();
    bool WriteVirtualInputs();

    enum Button : int { ButtonServo, ButtonShome, ButtonOrg, ButtonPot, ButtonNot, ButtonCount };
    std::array<bool, ButtonCount> m_state{};
    std::array<CMFCButton, ButtonCount> m_buttons;
    std::string m_mode = "1";
    std::string m_highSpeed = "0";
    std::string m_lowSpeed = "0";
    std::string m_highRange, m_lowRange;

protected:
    void OnWrite();
    void OnServoOn();
    void OnToggleInput(UINT id);
    void OnOK() override {}
    void OnCancel() override {}

private:
    void Paint();
    IPositionToolsLink& link_;
};
