#pragma once
// A hidden window that notes when a posted message reached it: how a test tells that the user
// interface thread keeps handling messages while a window waits for something.
//
//     MessageProbe probe;
//     auto posted = probe.Post();
//     ... spin the event loop ...
//     probe.HandledAfter(posted) < 100ms
#include "framework/ui/App.h"
#include "framework/ui/Wnd.h"

#include <QCoreApplication>

#include <chrono>
#include <optional>

class MessageProbe : public CWnd {
public:
    static constexpr UINT kProbeMessage = WM_USER + 0x7A1;
    using Clock = std::chrono::steady_clock;

    MessageProbe() {
        EnsureQtApplication();
        Create("probe", "probe", WS_OVERLAPPED, CRect(0, 0, 20, 20), nullptr, 0);
    }
    ~MessageProbe() override { DestroyWindow(); }

    const MessageMap* GetMessageMap() const override {
        static const MessageMap map(CWnd::GetMessageMap(),
                                    {msg::Message(kProbeMessage, &MessageProbe::OnProbe)});
        return &map;
    }

    // Posts the probe message and returns when it was posted.
    Clock::time_point Post() {
        handled_.reset();
        const Clock::time_point now = Clock::now();
        ::PostMessage(GetSafeHwnd(), kProbeMessage, 0, 0);
        return now;
    }
    bool Handled() const { return handled_.has_value(); }
    // How long after `posted` the message was handled (the maximum when it was not).
    Clock::duration HandledAfter(Clock::time_point posted) const {
        return handled_ ? *handled_ - posted : Clock::duration::max();
    }

private:
    LRESULT OnProbe(WPARAM, LPARAM) {
        handled_ = Clock::now();
        return 0;
    }
    std::optional<Clock::time_point> handled_;
};
