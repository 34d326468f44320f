#include "paramedit/ParameterChangedFlags.h"

#include "catalogue/ParamCode.h"

namespace {
// The table's own group bases; they differ from the catalogue's global index.
struct FlagGroup {
    ParamGroup group;
    int base;
};
constexpr FlagGroup FlagGroups[] = {
    {GroupCn, 0},   {GroupTn, 100}, {GroupSn, 200},   {GroupPn3, 300},  {Groupqn, 400},
    {GroupHn, 500}, {Grouptn, 900}, {GrouponS, 1100}, {GrouponC, 1300},
};
} // namespace

int ParameterChangedFlags::IndexOf(std::string_view code) {
    const int index = ParamIndexFromCode(code);
    const int group = ParamGroupOfIndex(index);
    const int number = index - group * 100;
    if (index <= 0 || number < 1) {
        return -1;
    }
    for (const FlagGroup& flagGroup : FlagGroups) {
        if (flagGroup.group == group) {
            return flagGroup.base + number - 1;
        }
    }
    return -1;
}

void ParameterChangedFlags::Set(std::string_view code, bool changed) {
    SetIndex(IndexOf(code), changed);
}

bool ParameterChangedFlags::IsSet(std::string_view code) const {
    return IsSetIndex(IndexOf(code));
}

void ParameterChangedFlags::SetIndex(int index, bool changed) {
    if (index >= 0 && index < Size) {
        flags_[static_cast<size_t>(index)] = changed ? 1 : 0;
    }
}

bool ParameterChangedFlags::IsSetIndex(int index) const {
    return index >= 0 && index < Size && flags_[static_cast<size_t>(index)] != 0;
}

bool ParameterChangedFlags::Any() const {
    for (int flag : flags_) {
        if (flag != 0) {
            return true;
        }
    }
    return false;
}

ParameterChangedFlags& ChangedParameters() {
    static ParameterChangedFlags table;
    return table;
}
