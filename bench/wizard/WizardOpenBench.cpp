// Opening the setup wizard: the window with all its page windows created, up to shown, on a new
// document without a drive. Figure: the time per opening in ms (goal_ms_max beside it: 250 in a
// Release build).
#include "catalogue/DocumentHost.h"
#include "catalogue/KeloServoDoc.h"
#include "framework/core/ResourceModule.h"
#include "link/LinkState.h"
#include "resources/ids/wizard.h"
#include "wizard/ui/SetupWizardDialog.h"

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

void BM_OpenWizard(benchmark::State& state) {
    if (!AfxLoadResourceLibrary()) {
        state.SkipWithError("libVimbra.so not found beside the benchmark");
        return;
    }
    ConnectedFlag = 0;
    DocumentHost host;
    CKeloServoDoc doc(&host);
    doc.OnNewDocument();
    for (auto _ : state) {
        CSetupWizardDialog wizard;
        wizard.m_MotorTypeCode = 0x1011;
        wizard.CopyDocument(&doc);
        if (!wizard.Create(IDD_SETUP_WIZARD)) {
            state.SkipWithError("the wizard window was not created");
            return;
        }
        wizard.ShowWindow(SW_SHOW);
        benchmark::DoNotOptimize(wizard.GetSafeHwnd());
        wizard.DestroyWindow();
    }
    state.counters["goal_ms_max"] = 250;
}
BENCHMARK(BM_OpenWizard)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
