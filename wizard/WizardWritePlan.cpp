#include "wizard/WizardWritePlan.h"

int Cn008ToSend(int collected, int driveCurrent) {
    int value = collected;
    const int brake = collected & 0xF;
    if (brake == 4 || brake == 5)
        value = (collected & 0xF0) | (brake + 2);
    return value | (driveCurrent & ~0xFF);
}

bool Cn002MaySend(int collected, int driveCurrent) {
    return (collected & 0xFF) == (driveCurrent & 0xFF);
}

std::optional<size_t> FirstOutOfRange(const std::vector<WizardEntry>& list,
                                      const std::function<bool(std::string_view code)>& inSeries,
                                      const std::function<bool(std::string_view code, int value)>& inRange) {
    for (size_t i = 0; i < list.size(); ++i)
        if (inSeries(list[i].code) && !inRange(list[i].code, list[i].value))
            return i;
    return std::nullopt;
}

bool ControlModeNeedsWrite(int driveMode, int collectedMode, bool anyWrittenHnDiffersFromDefault) {
    return driveMode != collectedMode && anyWrittenHnDiffersFromDefault;
}
