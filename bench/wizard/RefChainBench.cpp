// Next through the longest external pulse position chain of the setup wizard (pulse type to the
// position error limits with homing by a torque reference: 16 pages), offline on a new document.
// The figure is the time of one Next: the page check, the choices copied in, the page loaded and
// shown. Target: under 20 ms per page in a Release build.
#include "catalogue/DocumentGlobals.h"
#include "catalogue/KeloServoDoc.h"
#include "framework/core/MessageSeam.h"
#include "framework/core/ResourceModule.h"
#include "framework/ui/App.h"
#include "link/LinkState.h"
#include "resources/ids/wizard.h"
#include "resources/ids/wizardref.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/WindowTestHome.h"
#include "wizard/ui/SetupWizardDialog.h"

#include <benchmark/benchmark.h>

#include <chrono>

namespace {

void BM_NextThroughPositionChain(benchmark::State& state) {
    std::shared_ptr<const CResourceModule> module = ProgramResources();
    if (!module) {
        state.SkipWithError("the resource library is not beside the benchmark");
        return;
    }
    PrivateHome home("kelo-bench-wizard");
    ScopedResourceModule resources(module);
    ScriptedMessages messages;
    ConnectedFlag = 0;
    RatedSpeed = 3000;
    MotorEncoderResolution = 131072;
    ForwardTorqueLimit = 300;
    CKeloServoDoc doc;
    doc.OnNewDocument();
    doc.Value(DocCn, 1) = 2; // position control by external pulses
    int pages = 0;
    for (auto _ : state) {
        CSetupWizardDialog wizard;
        wizard.m_MotorTypeCode = 0x1011;
        wizard.CopyDocument(&doc);
        wizard.Create(IDD_SETUP_WIZARD);
        wizard.ShowWindow(SW_SHOW);
        ui::Press(wizard, IDC_WZ_STEP_REFERENCE);
        // The longest way: homing once at servo on, by Pn317 with a torque reference. The choices are
        // made when the page shows (entering a page loads the remembered ones).
        double elapsedSeconds = 0;
        int steps = 0;
        while (wizard.Navigation().PageCode() != 56 && steps < 20) {
            const int code = wizard.Navigation().PageCode();
            if (code == 49) {
                ui::Press(*wizard.Page(49), IDC_REF_OPTION2);
                ui::Type(*wizard.Page(49), IDC_REF_VALUE1, "0");
            } else if (code == 50) {
                ui::Press(*wizard.Page(50), IDC_REF_OPTION1 + 7);
            }
            const auto start = std::chrono::steady_clock::now();
            ui::Press(wizard, IDC_WZ_NEXT);
            elapsedSeconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            ++steps;
        }
        state.SetIterationTime(elapsedSeconds / steps);
        pages = steps;
        wizard.DestroyWindow();
    }
    state.counters["pages"] = pages;
}

BENCHMARK(BM_NextThroughPositionChain)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    EnsureQtApplication();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
