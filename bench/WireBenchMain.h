#pragma once
// The entry point of benchmarks that compare exchanges with an emulated wire. Sleeps of the
// simulated drive overshoot by the timer slack (50 us by default), which is a large part of a
// character at high baud rates, so the slack is set to 1 ns unless --default-slack is given.
#include <benchmark/benchmark.h>

#include <cstring>
#include <sys/prctl.h>

inline int RunWireBenchmarks(int argc, char** argv) {
    bool defaultSlack = false;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--default-slack") == 0)
            defaultSlack = true;
        else
            argv[kept++] = argv[i];
    }
    argc = kept;
    if (!defaultSlack)
        prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
