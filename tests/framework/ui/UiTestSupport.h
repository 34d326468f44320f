#pragma once
// Helpers for the window-layer tests: the Qt application, spinning the event loop until a condition
// holds (bounded, so a fault fails the test instead of hanging it), and a plain parent window.
#include "framework/ui/App.h"
#include "framework/ui/Wnd.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <functional>

// Runs the event loop until `done` or the time is up; returns `done()`.
inline bool SpinUntil(const std::function<bool()>& done, int timeoutMs = 3000) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < timeoutMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

// Creates `window` as a top-level window of 400 x 300 pixels.
inline bool CreateTopWindow(CWnd& window) {
    EnsureQtApplication();
    return window.Create("test", "test", WS_OVERLAPPED, CRect(0, 0, 400, 300), nullptr, 0);
}
