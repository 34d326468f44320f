#pragma once
// CMulPosDlg: the multi-position test run. The PC converts each target into the drive's internal
// position command 1 (Pn401..Pn403), pulses the virtual PTRG input and polls the in-position bit to
// time the next leg (see tools/MultiPositionRun.h). It is the third page of the position control
// window, and also a window of its own (view command 32805). A refused command write or a lost link
// ends the run with one message: the motor is never triggered towards a target the drive did not
// take.
#include "framework/core/ResourceTypes.h"
#include "link/services/StopKeeper.h"
#include "tools/MultiPositionRun.h"
#include "tools/ui/MultiPositionPage.h"

#include <functional>
#include <memory>

class CMulPosDlg : public CMultiPositionPage {
public:
    explicit CMulPosDlg(IPositionToolsLink& link);
    const MessageMap* GetMessageMap() const override;
    BOOL OnInitDialog() override;

    // As a window of its own: the page's template as a popup of the view.
    BOOL CreateAlone(CWnd* parent);
    bool Alone() const { return alone_; }

    // "Disable" while the servo is on, else "Enable".
    void ShowEnableState() override;

    int m_cycles = 0;
    int m_emc = 0;
    const MultiPositionLegs& Legs() const { return legs_; }

protected:
    void OnStart();
    void OnEnable();
    void OnEmc();
    void OnTimer(UINT_PTR id);
    void OnCancel() override;
    void PostNcDestroy() override;
    int* WholeNumberMember(int id) override;
    std::vector<int> SecondTargetControls() const override;

    bool OtherPageRunning() override;
    bool Held() const override { return legs_.Held(); }
    void SetHeld(bool held) override { legs_.SetHeld(held); }
    bool Retrigger() override { return PulseTrigger(); }
    std::vector<int> HeldButtons() const override;

private:
    // Writes the target's command and pulses PTRG; false (after telling the user and ending the run)
    // when a word was refused, the link went or the trigger could not be set.
    bool MoveTo(int target);
    bool PulseTrigger();
    // Ends the run: every run timer goes, the flag falls, the user is told once: the refused codes,
    // or the lost link when the link went or the drive did not answer.
    void EndRun(const std::string& refusedCodes, bool noAnswer = false);
    void Apply(const LegAction& action);
    void SetEnableCaption(bool servoOn);
    // The run's stop through the view's keeper (`now` while linked; the servo command when kept).
    StopResult SendStop(const std::function<bool(CRegisterServices&)>& now);
    // Every run timer goes, the flag falls, the servo caption shows off.
    void EndRunOnStop();
    // A stop pressed without a link: the run ends here and the view keeps its stop. False when linked.
    bool StopWithoutLink();
    static constexpr const char* StopMotion = "multi-position run";

    MultiPositionLegs legs_;
    bool alone_ = false;
    std::unique_ptr<DialogTemplate> aloneTemplate_;
};
