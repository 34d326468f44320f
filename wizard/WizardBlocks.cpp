#include "wizard/WizardBlocks.h"

#include "framework/core/Format.h"
#include "framework/core/ResourceModule.h"
#include "valueedit/ValueText.h"

#include <climits>
#include <cmath>

LiveEditResult LiveRevert(std::string_view text, int oldValue, int min, int max) {
    const int typed = AtoI(text);
    if (typed > max || typed < min)
        return {oldValue, true};
    return {typed, false};
}

PageCheckResult CheckPageValues(const std::vector<CheckedValue>& values) {
    for (const CheckedValue& v : values) {
        if (v.text.empty() || !IsIntegerText(v.text) || !ParseInt(v.text))
            return {PageCheckVerdict::Malformed, -1};
    }
    for (size_t i = 0; i < values.size(); ++i) {
        const int value = *ParseInt(values[i].text);
        if (value < values[i].min || value > values[i].max)
            return {PageCheckVerdict::OutOfRange, static_cast<int>(i)};
    }
    return {};
}

LiveEditResult TrialInputEdit(std::string_view text, int oldValue, unsigned bound) {
    const int typed = AtoI(text);
    if (static_cast<unsigned>(typed) > bound || !IsIntegerText(text))
        return {oldValue, true};
    return {typed, false};
}

TrialResult TrialCalculate(TrialForm form, std::string_view timeText, int time, std::string_view percentText,
                           int percent) {
    if (timeText.empty() || time == 0 || percentText.empty() || percent == 0)
        return {};
    const double share = percent / 100.0;
    if (form == TrialForm::Exponential)
        return {true, time / -std::log(1.0 - share)};
    return {true, (1.0 / share) * time};
}

int TrialRounded(double result) {
    const double rounded = result + 0.5;
    if (!(rounded < static_cast<double>(INT_MAX)))
        return INT_MAX;
    if (rounded < static_cast<double>(INT_MIN))
        return INT_MIN;
    return static_cast<int>(rounded);
}

bool TrialSetEnabled(const TrialResult& trial, int min, int max) {
    if (!trial.computed)
        return false;
    const int value = TrialRounded(trial.result);
    return min <= value && value <= max;
}

std::string TrialResultText(const TrialResult& trial) {
    return trial.computed ? Format("%.f", trial.result) : std::string();
}

std::vector<std::string> SelectorItems(bool outputs, const std::vector<int>& assignments,
                                       const std::function<std::string(int functionCode)>& nameOf) {
    std::vector<std::string> items;
    items.reserve(assignments.size() + 1);
    items.push_back(LoadResString(NotInUseStringId));
    for (size_t i = 0; i < assignments.size(); ++i)
        items.push_back(Format(outputs ? "DO-%d= " : "DI-%d= ", static_cast<int>(i + 1)) +
                        nameOf(assignments[i] & 0xFF));
    return items;
}

PairSelection SelectInPair(PairSelection current, bool changedFirst, int selection) {
    if (changedFirst) {
        current.first = selection;
        if (selection > 0 && current.second == selection)
            current.second = 0;
    } else {
        current.second = selection;
        if (selection > 0 && current.first == selection)
            current.first = 0;
    }
    return current;
}

std::string RangeLabel(int min, int max) {
    return Format("(%d ~ %d)", min, max);
}
