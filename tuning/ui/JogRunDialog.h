#pragma once
// CJogRunDialog: the shared part of the two stroke jog windows (inertia estimation and program jog).
// Both have the buttons Parameter Write (1126), Start (1127), Stop (1128) and Close (2), the four
// stroke edits and the direction combo; this base runs Start (OnStartRun) and Stop (StopJogRun) and
// keeps Enter in the stroke controls from reaching the default button.
//
// A derived window gives the services it reaches the drive through and the test of its view's
// document, lists OnStartRun and StopJogRun in its message map through this class's map (chain its
// map to CJogRunDialog::GetMessageMap()), and handles Enter in a stroke control in OnEnterInControl.
#include "framework/ui/Dialog.h"
#include "link/services/RegisterServices.h"
#include "tuning/JogRun.h"

#include <functional>

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

    // Enter in a stroke edit or the direction combo runs that control's handler and goes no further.
    BOOL PreTranslateMessage(MSG* msg) override;

    const JogRunState& RunState() const { return run_; }

protected:
    // The controls whose Enter the window handles itself: 6039, 6025, 6027, 6029 and 6037.
    virtual bool IsStrokeControl(int id) const;
    // Enter in one of them: the edit's input guard, or the data exchange for the combo.
    virtual void OnEnterInControl(int id) = 0;

    bool HasDocument() const { return hasDocument_ && hasDocument_(); }
    // Start, Parameter Write and Close against Stop.
    void EnableRunButtons(bool runMayStart);
    // Reads 0x1704/0x1705 at opening so they can be restored (a failed read restores nothing).
    void SaveRunRegisters();
    // Writes the saved run registers back; tells the user when the drive refused them.
    void RestoreRunRegisters();

    CRegisterServices& services_;
    JogRunState run_;

private:
    std::function<bool()> hasDocument_;
};
