#pragma once
// CJogRunDialog: the shared part of the two stroke jog windows (inertia estimation and program jog).
// Both have the buttons Parameter Write (1126), Start (1127), Stop (1128) and Close (2), the four
// stroke edits and the direction combo; this base keeps the stroke settings (typing guard, reading
// them at opening, range checks, the verified writes), runs Start (OnStartRun) and Stop (StopJogRun)
// and keeps Enter in the stroke controls from reaching the default button.
//
// A derived window gives the services it reaches the drive through and the test of its view's
// document, and chains its message map to CJogRunDialog::GetMessageMap().
#include "framework/ui/Dialog.h"
#include "framework/ui/SpinButtonCtrl.h"
#include "link/services/RegisterServices.h"
#include "tuning/JogRun.h"

#include <functional>
#include <string>

class CJogRunDialog : public CDialog {
public:
    CJogRunDialog(UINT templateId, CWnd* parent, CRegisterServices& services,
                  std::function<bool()> hasDocument);
    const MessageMap* GetMessageMap() const override;

    // Start (1127): refuses while an alarm is present; otherwise starts the drive's run and, when it
    // started, leaves only Stop enabled.
    void OnStartRun();
    // Stop (1128), also on close: stops the run and puts the run registers back. A stop the drive
    // refused is told to the user and Stop stays enabled, since the motor may still move.
    void StopJogRun();
    // The same, with what became of the stop (StopResult::Taken when there is no document).
    StopResult StopRun();
    // The run's name in the messages of a stop that did not reach the drive.
    virtual std::string MotionName() const { return "stroke jog"; }

    // Enter in a stroke edit or the direction combo runs that control's handler and goes no further.
    BOOL PreTranslateMessage(MSG* msg) override;

    const JogRunState& RunState() const { return run_; }

    // The range checks of the four stroke settings and the direction pattern; the first failing
    // control gets the focus and the user the list of failing settings.
    bool ValidateStroke();

    bool m_linear = false;
    int m_speedMax = 4500;
    int m_direction = -1;
    int m_stopTime = 0;
    int m_accelTime = 0;
    int m_speed = 0;
    int m_distance = 0;
    std::string m_speedUnit = "rpm";
    std::string m_speedRange = "(0~4500)";
    std::string m_distanceUnit = "0.1rev";

protected:
    // The controls whose Enter the window handles itself: 6039, 6025, 6027, 6029 and 6037.
    virtual bool IsStrokeControl(int id) const;
    // Enter in one of them: the edit's input guard, or the data exchange for the combo.
    virtual void OnEnterInControl(int id);

    // The opening of a stroke window (after CDialog::OnInitDialog): prepares the controls and, with a
    // document and a link, saves the run registers and reads and shows the drive's settings. False
    // when nothing could be read.
    bool OpenStroke();
    // The stroke controls' part of DoDataExchange.
    void ExchangeStroke(CDataExchange* dx);
    // Text limits, spin ranges and the speed limit from the rated speed.
    void PrepareStrokeControls();
    // Reads the drive's current stroke settings, direction pattern and motor kind.
    void ReadStroke();
    // Shows the settings with Start and Stop disabled; an edit whose read failed stays empty.
    void ShowStroke();
    // Writes the four settings and the direction pattern with read-back; the labels of the failed ones
    // join `failures`. The pattern's word keeps its other digits from this exchange's read: when that
    // read fails nothing is written and the pattern counts as failed.
    void WriteStroke(std::string& failures);
    // What Parameter Write checks before it writes: the settings, the link and (after
    // `refreshStatus`) a servo that is off; each refusal is told to the user.
    bool MayWriteStroke(const std::function<void()>& refreshStatus);
    // "Write successfully!!" when nothing failed, else the failures with "Write Failed!".
    bool ReportStrokeWrite(const std::string& failures);

    bool HasDocument() const { return hasDocument_ && hasDocument_(); }
    // The stop that goes out without this window: the run stopped and its registers put back.
    CStopKeeper::Writes KeptStop() const;
    // Start, Parameter Write and Close against Stop.
    void EnableRunButtons(bool runMayStart);
    // Reads 0x1704/0x1705 at opening so they can be restored (a failed read restores nothing).
    void SaveRunRegisters();
    // Writes the saved run registers back; tells the user when the drive refused them.
    void RestoreRunRegisters();

    CRegisterServices& services_;
    JogRunState run_;

private:
    void OnStrokeEdit(UINT id);
    void OnDirectionChange();
    int* MemberOf(int editId);
    // Writes one register and reads it back; the label joins the failures when either fails.
    void WriteVerified(int address, int value, int labelId, std::string& failures);

    std::function<bool()> hasDocument_;
    CSpinButtonCtrl m_stopTimeSpin, m_accelTimeSpin, m_speedSpin, m_distanceSpin;
    // Edits whose opening read failed stay empty (no value of some other exchange shown).
    bool unread_[4] = {false, false, false, false};
};
