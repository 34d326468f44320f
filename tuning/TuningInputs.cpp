#include "tuning/TuningInputs.h"

#include "framework/core/Format.h"
#include "valueedit/ValueText.h"

std::optional<int> GuardedEntry(std::string_view text) {
    if (!IsIntegerText(text))
        return std::nullopt;
    if (text.empty() || text == "-")
        return 0;
    return ParseInt(text);
}

EntrySelection SelectionAfterRefusal(EntrySelection before) {
    return {before.start > 0 ? before.start - 1 : 0, before.end > 0 ? before.end - 1 : 0};
}

int JogSpeedMaximum(int ratedSpeed) {
    return static_cast<int>(ratedSpeed * 3 * 0.5 + 0.5);
}

bool IsLinearMotorWord(int dn08) {
    const int kind = (dn08 >> 12) & 0xF;
    return kind == 3 || kind == 4;
}

std::string RangeText(int minimum, int maximum) {
    return Format("(%d~%d)", minimum, maximum);
}
