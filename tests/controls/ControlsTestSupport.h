#pragma once
// A parent window that records what its controls tell it.
#include "framework/ui/App.h"
#include "framework/ui/Wnd.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QWidget>

#include <utility>
#include <vector>

struct Recorded {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

class RecordingParent : public CWnd {
public:
    const MessageMap* GetMessageMap() const override {
        static const MessageMap map(
            CWnd::GetMessageMap(),
            {
                msg::ControlRange(EN_CHANGE, 0, 0xFFFF, &RecordingParent::OnCode<EN_CHANGE>),
                msg::ControlRange(CBN_SELCHANGE, 0, 0xFFFF, &RecordingParent::OnCode<CBN_SELCHANGE>),
                msg::Message(WM_USER + 60, &RecordingParent::OnAny<WM_USER + 60>),
                msg::Message(WM_LBUTTONDOWN, &RecordingParent::OnAny<WM_LBUTTONDOWN>),
                msg::Message(WM_NOTIFY, &RecordingParent::OnAny<WM_NOTIFY>),
            });
        return &map;
    }
    template <UINT Code> void OnCode(UINT id) { seen.push_back({WM_COMMAND, MAKEWPARAM(id, Code), 0}); }
    template <UINT M> LRESULT OnAny(WPARAM w, LPARAM l) {
        seen.push_back({M, w, l});
        if (M == WM_LBUTTONDOWN && onClick)
            onClick(CPoint(GET_X_LPARAM(l), GET_Y_LPARAM(l)));
        return 0;
    }
    int Count(UINT message, UINT code = 0xFFFF) const {
        int n = 0;
        for (const Recorded& r : seen)
            if (r.message == message && (code == 0xFFFF || HIWORD(r.wParam) == code))
                ++n;
        return n;
    }
    std::vector<Recorded> seen;
    std::function<void(CPoint)> onClick;
};

class ControlsWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureQtApplication();
        ASSERT_TRUE(parent.Create(nullptr, "controls", WS_OVERLAPPED | WS_VISIBLE, CRect(0, 0, 480, 320),
                                  nullptr, 0));
    }
    void TearDown() override { parent.DestroyWindow(); }
    RecordingParent parent;
};

// The widget as it paints now.
inline QImage Grab(CWnd& window) {
    return window.GetWidget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}
