#pragma once
// CTransferPass: what every long transfer with the drive repeats, in one place. For its life it
// holds ViewBusyFlag up (the link supervision keeps off the line) and refuses to start while another
// pass runs; it opens the progress window and paces its repaints, lets the windows' messages through
// between requests, notices when the window it runs for was closed meanwhile, and shows the one
// failure box. On every way out it closes its progress window and puts ViewBusyFlag back.
//
// A pass runs for an owner window. Messages handled between two requests may close that window and
// free it, together with the progress window it holds: from then on the pass touches neither (not
// even the register services when they went with it) and its caller must return at once, without
// touching its own members.
//
// CBusyHold is the short form: ViewBusyFlag for one exchange or a few, no window. CAcquisitionHold
// is what an acquisition thread holds instead (it must not touch the window's flag).
#include "link/services/RegisterServices.h"

#include <chrono>
#include <memory>
#include <optional>
#include <string>

// Holds ViewBusyFlag up for its life and then puts back what it found, so an exchange made inside a
// pass (a message handled between two of its requests) leaves the pass's flag up.
class CBusyHold {
public:
    explicit CBusyHold(CRegisterServices& services);
    ~CBusyHold();
    CBusyHold(const CBusyHold&) = delete;
    CBusyHold& operator=(const CBusyHold&) = delete;

private:
    CRegisterServices& services_;
    std::weak_ptr<int> servicesLife_;
    int previous_;
};

// Holds AcquisitionThreadCount up for its life: an acquisition thread keeps one for its whole run.
class CAcquisitionHold {
public:
    CAcquisitionHold() { ++AcquisitionThreadCount; }
    ~CAcquisitionHold() { --AcquisitionThreadCount; }
    CAcquisitionHold(const CAcquisitionHold&) = delete;
    CAcquisitionHold& operator=(const CAcquisitionHold&) = delete;
};

// The window a pass runs for and its progress window.
struct TransferPassOwner {
    // Expires when the owner window is freed; none when the pass has no window to outlive.
    std::optional<std::weak_ptr<int>> life;
    // Its progress window (none: the pass shows no progress); taken to go with the owner.
    ITransferProgress* progress = nullptr;
};

class CTransferPass {
public:
    // The repaint pace of the bar: a repaint costs about a third of a short request's wire time.
    static constexpr std::chrono::milliseconds RepaintInterval{100};
    static constexpr int VisibleSteps = 200;

    CTransferPass(CRegisterServices& services, TransferPassOwner owner);
    ~CTransferPass();
    CTransferPass(const CTransferPass&) = delete;
    CTransferPass& operator=(const CTransferPass&) = delete;

    // Another pass was running when this one was made: this one does nothing at all.
    bool Refused() const { return refused_; }

    // Opens the progress window (dialog resource, title or "" for the template's, bar 0..range).
    // A cancelable pass ends when the window's Cancel or the services' CancelRequest asks for it.
    void OpenProgress(int resourceId, int range, const std::string& caption = {}, bool cancelable = false);
    // The step text, sent to the window only when it changes.
    void SetText(const std::string& text);
    // Moves the bar on; it repaints at most VisibleSteps times and every RepaintInterval, and always
    // onto its end.
    void Step(int times = 1);
    int Position() const { return position_; }
    void CloseProgress();

    // Between two requests: lets pending window messages through. False when the pass must end now
    // without a box: its owner window is gone or the user cancelled.
    bool Pump();
    bool OwnerGone() const;
    bool Cancelled() const;
    // The failure box ("Error:\n\n" + detail, "Communication Message"); the pass goes on.
    void ShowFailure(const std::string& detail);
    // Ends the transfer part of the pass on a failure: the progress window goes, then the box.
    void Fail(const std::string& detail);
    // Ends the pass now: progress window closed, ViewBusyFlag put back (e.g. before a closing message
    // the user may take his time over).
    void End();

private:
    bool ServicesAlive() const;
    bool ProgressUsable() const;

    CRegisterServices& services_;
    std::weak_ptr<int> servicesLife_;
    TransferPassOwner owner_;
    bool refused_ = false;
    bool ended_ = false;
    int previousBusy_ = 0;
    bool progressOpen_ = false;
    bool cancelable_ = false;
    std::string text_;
    bool textSet_ = false;
    int range_ = 0;
    int position_ = 0;
    int shownStep_ = -1;
    std::chrono::steady_clock::time_point repainted_{};
};
