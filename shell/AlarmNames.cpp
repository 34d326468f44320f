#include "shell/AlarmNames.h"

#include "shell/StatusPanes.h"

namespace {
const char* const kNoName = "-----";
const char* const kNameIndent = "   ";
} // namespace

int AlarmNameStringId(int code) {
    return AlarmMessageStringId(code);
}

std::string AlarmName(int code, const StringLoader& load) {
    const int id = AlarmNameStringId(code);
    return id != 0 ? load(id) : kNoName;
}

COLORREF AlarmNameColour(int code) {
    return code != 0 ? AlarmActiveColour : AlarmIdleColour;
}

AlarmMonitorRows::AlarmMonitorRows(const StringLoader& load) {
    numberTexts_.fill("00");
    UpdateNames(load);
}

void AlarmMonitorRows::SetHistory(const std::array<int, AlarmRowCount>& codes,
                                  const std::array<std::string, AlarmRowCount>& numberTexts) {
    codes_ = codes;
    numberTexts_ = numberTexts;
}

void AlarmMonitorRows::UpdateNames(const StringLoader& load) {
    for (int row = 0; row < AlarmRowCount; ++row)
        nameTexts_[row] = kNameIndent + AlarmName(codes_[row], load);
}

COLORREF AlarmMonitorRows::NameColour(int row) const {
    return row >= 0 && row < AlarmRowCount ? AlarmNameColour(codes_[row]) : AlarmIdleColour;
}
