// Start-up cost of the resource module: loading the library by its plain name and reading the
// whole compiled set it carries, once with the real set and once with a synthetic set of full size
// (~2500 strings, ~170 dialogs, ~120 pictures), which is what the finished program carries.
// Budget: 20 ms.
#include "framework/core/ResourceBinary.h"
#include "framework/core/ResourceModule.h"
#include "framework/core/WindowStyles.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

void BM_LoadResourceLibrary(benchmark::State& state) {
    for (auto _ : state) {
        auto module = CResourceModule::LoadLibrary(kResourceLibraryName);
        if (!module) {
            state.SkipWithError("libVimbra.so not found beside the benchmark");
            return;
        }
        benchmark::DoNotOptimize(module.get());
    }
}
BENCHMARK(BM_LoadResourceLibrary)->Unit(benchmark::kMillisecond);

std::string FullSizeSet() {
    ResourceSet set;
    for (int id = 1; id <= 2550; ++id)
        set.strings[id * 25] = "Parameter title number " + std::to_string(id) + " with its explanation text";
    for (int d = 0; d < 170; ++d) {
        DialogTemplate dialog;
        dialog.id = 1000 + d;
        dialog.cx = 300;
        dialog.cy = 200;
        dialog.caption = "Dialog " + std::to_string(d);
        dialog.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
        for (int c = 0; c < 24; ++c) {
            DialogControlTemplate control;
            control.id = c % 4 == 0 ? -1 : 2000 + c;
            control.className = c % 4 == 0   ? "STATIC"
                                : c % 4 == 1 ? "EDIT"
                                : c % 4 == 2 ? "COMBOBOX"
                                             : "BUTTON";
            control.text = c % 4 == 0 ? "Label " + std::to_string(c) : "";
            control.x = 7 + (c % 2) * 150;
            control.y = 7 + (c / 2) * 15;
            control.cx = 140;
            control.cy = 12;
            control.style = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
            dialog.controls.push_back(control);
            if (c % 4 == 2 && d % 5 == 0)
                dialog.comboItems[control.id] = {"First choice", "Second choice", "Third choice", "Fourth"};
        }
        set.dialogs[dialog.id] = dialog;
    }
    // A toolbar strip and a hundred pictures of a few kilobytes, like the finished set's.
    for (int i = 0; i < 120; ++i)
        set.images[3000 + i] = ImageResource{3000 + i, false, std::vector<std::uint8_t>(4096, 0x5A)};
    return WriteResourceBinary(set);
}

// What the program does at start with the library's compiled set, here at full size.
void BM_ReadFullSizeSet(benchmark::State& state) {
    const std::string compiled = FullSizeSet();
    for (auto _ : state) {
        ResourceSet set;
        std::string error;
        if (!ReadResourceBinary(compiled, set, &error)) {
            state.SkipWithError(error.c_str());
            return;
        }
        benchmark::DoNotOptimize(set.strings.size());
    }
    state.counters["bytes"] = static_cast<double>(compiled.size());
}
BENCHMARK(BM_ReadFullSizeSet)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
