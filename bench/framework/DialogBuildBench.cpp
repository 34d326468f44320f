// Building a dialog of 60 controls from its template record: the target is under 5 ms.
#include "framework/ui/App.h"
#include "framework/ui/Dialog.h"

#include <QCoreApplication>
#include <QEvent>

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

DialogTemplate SixtyControls() {
    DialogTemplate t;
    t.caption = "Sixty";
    t.cx = 400;
    t.cy = 260;
    t.style = WS_CAPTION | WS_SYSMENU;
    const char* classes[] = {"STATIC", "EDIT", "BUTTON", "COMBOBOX", "msctls_updown32", "msctls_trackbar32"};
    const DWORD styles[] = {
        SS_LEFT, ES_AUTOHSCROLL | WS_BORDER, BS_AUTOCHECKBOX, CBS_DROPDOWNLIST, UDS_AUTOBUDDY, TBS_HORZ};
    for (int i = 0; i < 60; ++i) {
        DialogControlTemplate c;
        c.id = 1000 + i;
        c.className = classes[i % 6];
        c.text = "Item " + std::to_string(i);
        c.x = 5 + (i % 6) * 65;
        c.y = 5 + (i / 6) * 24;
        c.cx = 60;
        c.cy = i % 6 == 3 ? 80 : 14;
        c.style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | styles[i % 6];
        t.controls.push_back(c);
    }
    for (int i = 3; i < 60; i += 6)
        t.comboItems[1000 + i] = {"one", "two", "three"};
    return t;
}

void BM_BuildSixtyControlDialog(benchmark::State& state) {
    const DialogTemplate t = SixtyControls();
    for (auto _ : state) {
        CDialog dialog;
        dialog.CreateIndirect(t);
        benchmark::DoNotOptimize(dialog.GetDlgItem(1059));
        state.PauseTiming();
        dialog.DestroyWindow();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_BuildSixtyControlDialog)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    EnsureQtApplication();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
