#pragma once
// Asserts that the labels a painter drew fit its window: no two overlap, each lies inside the
// client area. The failure lists every fault.
#include "framework/core/PaintedLabels.h"

#include <gtest/gtest.h>

#include <string>

namespace ui {

inline ::testing::AssertionResult LabelsFit(const PaintedLabels& labels, const CRect& client) {
    if (labels.empty())
        return ::testing::AssertionFailure() << "no labels were drawn";
    const std::vector<std::string> faults = LabelLayoutFaults(labels, client);
    if (faults.empty())
        return ::testing::AssertionSuccess();
    ::testing::AssertionResult result = ::testing::AssertionFailure();
    result << faults.size() << " of " << labels.size() << " labels do not fit:";
    for (const std::string& fault : faults)
        result << "\n  " << fault;
    return result;
}

} // namespace ui
