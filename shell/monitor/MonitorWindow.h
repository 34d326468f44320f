#pragma once
// What the four monitor windows share: each is a modeless dialog made from its template, one
// instance at a time, fed by the view's monitor cycle through its sink. While its window exists it is
// registered with the monitor cycle readers; closing it unregisters it, tells the view (which clears
// its open flag and its pointer) and ends the window, which then deletes itself. The view's part:
//     m_pAlarmDlg = new CMonAnDlg(this, m_readers);
//     m_pAlarmDlg->OnClosed = [this] { m_pAlarmDlg = nullptr; /* and its open flag */ };
//     m_pAlarmDlg->Create(this);
#include "framework/ui/Dialog.h"
#include "link/services/MonitorReaders.h"

#include <functional>

class CMonitorWindow : public CDialog {
public:
    CMonitorWindow(UINT templateId, CWnd* owner, CMonitorReaders& readers);
    ~CMonitorWindow() override;

    const MessageMap* GetMessageMap() const override;

    // Builds the window from its template (shown, as the template says).
    BOOL Create(CWnd* parent = nullptr);
    using CDialog::Create;

    // Called once when the user closes the window; the view resets its open flag and pointer here.
    std::function<void()> OnClosed;
    // Windows made with new (as the view makes them) delete themselves once destroyed.
    bool m_bAutoDelete = true;

    BOOL OnInitDialog() override;
    // The close button: out of the readers' slot, tell the view, end the window.
    void OnCancel() override;
    // Enter does not close a monitor window.
    void OnOK() override {}

protected:
    // Puts this window into the readers' slot for its kind, through Slot().
    virtual void Register() = 0;
    // Called once as the window ends, however it ends, before it leaves its slot.
    virtual void Leaving() {}
    template <class Sink> void Slot(Sink*& slot, Sink* self) {
        slot = self;
        // A slot the view has given to another window meanwhile is left alone.
        takeOut_ = [&slot, self] {
            if (slot == self)
                slot = nullptr;
        };
    }
    // Leaving() and out of the slot, once.
    void Leave();
    void OnDestroy();
    void PostNcDestroy() override;

    CWnd* m_pOwner;
    CMonitorReaders& m_readers;

private:
    std::function<void()> takeOut_;
};
