#pragma once
// CMulPosDlg1: the multi-position run that the drive runs itself. "Write" puts a one- or two-position
// path program into the drive (tools/PathProgram.h) and chooses whether DI1 (servo on) and DI3 (PTRG)
// come from the PC or from the terminals; "Enable" and "Start" then switch the virtual servo-on and
// PTRG inputs. The fourth page of the position control window. Its stops ("Disable", "Stop", a lost
// link under a run) go through the view's keeper, as the timer-driven run's do.
#include "link/services/StopKeeper.h"
#include "tools/VirtualInputs.h"
#include "tools/ui/MultiPositionPage.h"

class CMulPosDlg1 : public CMultiPositionPage {
public:
    explicit CMulPosDlg1(IPositionToolsLink& link);
    const MessageMap* GetMessageMap() const override;
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;

    static constexpr UINT_PTR ServoWatchTimerId = 100;

    void ShowEnableState() override;
    // Start and Enable go off while the drive's path mode allows no run.
    void CheckPathMode();
    // Hn618 bit 0; false when it cannot be read.
    bool VirtualServoOn();
    bool SetVirtualServoOn(bool on);

    int m_ioMode = 0; // 0 virtual, 1 hardware
    int m_dwell2 = 1;
    int m_cyclic = 0;
    int m_held = 0;

protected:
    void OnWrite();
    void OnEnable();
    void OnStart();
    void OnTimer(UINT_PTR id);
    int* WholeNumberMember(int id) override;
    std::vector<int> SecondTargetControls() const override;

    bool OtherPageRunning() override;
    bool Held() const override { return m_held != 0; }
    void SetHeld(bool held) override { m_held = held ? 1 : 0; }
    bool Retrigger() override { return SetVirtualInput(1, BitPtrg); }
    std::vector<int> HeldButtons() const override;

private:
    void ReportRefused(const std::string& codes);
    // The stop through the view's keeper: `now` while linked; kept, it clears servo on and PTRG
    // both, so a newer kept stop of this page never undoes an older one.
    StopResult SendStop(const CStopKeeper::Writes& now);
    // The watch goes, the flag falls, the buttons read "Enable" and "Start".
    void EndRunOnStop();
    // A stop pressed without a link: the run ends here and the view keeps its stop. False when linked.
    bool StopWithoutLink();
    static constexpr const char* StopMotion = "path program run";
};
