#pragma once
// CMultiPositionPage: what the two multi-position pages of the position control window share: the
// target, speed, unit and pulse fields with their typing rules, the conversion of a target into the
// drive's internal position command, the position mode write on Enter and the read-modify-write of
// one virtual input. The timer-driven run (CMulPosDlg) and the path-program run (CMulPosDlg1) derive
// from it.
#include "framework/ui/Dialog.h"
#include "tools/PathCommand.h"

#include <cstdint>
#include <optional>
#include <string>

class IPositionToolsLink;
class CRegisterServices;
class CKeloServoDoc;

class CMultiPositionPage : public CDialogEx {
public:
    CMultiPositionPage(UINT templateId, IPositionToolsLink& link);
    const MessageMap* GetMessageMap() const override;
    void DoDataExchange(CDataExchange* dx) override;

    static constexpr std::int64_t TargetBound = 100000000000; // targets stay below 10^11 in size
    static constexpr int SpeedBound = 1000000000;

    int m_mode = 0; // 0 absolute, 1 relative
    int m_units = 1;
    int m_pulseIndex = 1;
    std::int64_t m_target1 = 0;
    std::int64_t m_target2 = 0;
    int m_second = 0;
    int m_speed1 = 1;
    int m_speed2 = 1;
    int m_dwell = 1;

protected:
    // Enter: the position mode into Pn316.
    void OnOK() override;
    // PHOLD: holds the run (PHOLD on) or releases it and triggers again; the run's buttons are off
    // while held.
    void OnPhold();
    virtual bool OtherPageRunning() = 0;
    virtual void ShowEnableState() = 0;
    virtual bool Held() const = 0;
    virtual void SetHeld(bool held) = 0;
    // The trigger after a release: a PTRG pulse, or PTRG held on.
    virtual bool Retrigger() = 0;
    // The buttons that rest while the run is held.
    virtual std::vector<int> HeldButtons() const = 0;
    // A virtual-input word the drive refused or did not answer.
    void ReportInputsRefused();
    void OnCancel() override {}
    // Radios and the combo: the controls are read.
    void OnReadControls();
    void OnSecondTarget();
    void OnEditChange(UINT id);
    // The ids the second-target check enables.
    virtual std::vector<int> SecondTargetControls() const = 0;
    // A whole-number edit of the derived page (its member, its digit limit); nullptr for none.
    virtual int* WholeNumberMember(int id);

    void SetTextLimits(const std::vector<std::pair<int, int>>& limits);
    void EnableSecondTarget();
    // Shows the members in the controls (the edits' handlers keep still meanwhile).
    void ShowValues();

    CRegisterServices& Services();
    CKeloServoDoc* Document();
    bool Linked() const;
    // The drive's resolution (0x1706/0x1707); nothing when it cannot be read.
    std::optional<std::int64_t> ReadResolution();
    // The command of a target at a speed with the page's units and pulses; on a refusal the user is
    // told why and nothing comes back.
    std::optional<PathCommand> Convert(std::int64_t target, int speed, std::int64_t resolution);
    // Whether the command fits the document's limits of Pn401..Pn403.
    bool FitsLimits(const PathCommand& command);
    // Reads Hn618, sets or clears the bit and writes it back. Without a value read now nothing is
    // written; false then and when the drive refused.
    bool SetVirtualInput(int state, int bit);

    IPositionToolsLink& link_;

private:
    void PutBack(int id, const std::string& text);

    bool showing_ = false;
    std::string unitsText_, target1Text_, target2Text_, speed1Text_, speed2Text_, dwellText_;
};
