#pragma once
// Small helpers for the catalogue's tables, which are written as lists of numbers and ranges.
#include <initializer_list>
#include <optional>

namespace catalogue_detail {

// A closed range a..b, or one number when built from a single int.
struct Span {
    int first;
    int last;
    constexpr Span(int n) : first(n), last(n) {}
    constexpr Span(int a, int b) : first(a), last(b) {}
};

constexpr bool InSet(int n, std::initializer_list<Span> spans) {
    for (const Span& s : spans)
        if (n >= s.first && n <= s.last)
            return true;
    return false;
}

constexpr bool Between(int n, int a, int b) {
    return n >= a && n <= b;
}

// Numbers first..last that map to consecutive values from start (registers, string ids).
struct Run {
    int first;
    int last;
    int start;
};

constexpr std::optional<int> FromRuns(std::initializer_list<Run> runs, int n) {
    for (const Run& run : runs)
        if (Between(n, run.first, run.last))
            return run.start + n - run.first;
    return std::nullopt;
}

} // namespace catalogue_detail
