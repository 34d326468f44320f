#include "paramedit/DefinedList.h"

#include "catalogue/ParamCode.h"
#include "paramedit/DisplaySet.h"

#include <algorithm>

namespace {

// The walk of the all-parameters list.
constexpr ParamGroup ListGroups[] = {GroupCn, GroupTn, GroupSn, GroupPn3, GroupPn4, Groupqn,
                                     GroupHn, GroupEn, Grouptn, GroupEC,  GroupMAb};

int ClampedIndex(int index, int size) {
    if (size == 0)
        return -1;
    return std::min(index, size - 1);
}

} // namespace

int DefinedList::Count() const {
    return std::clamp(count, 0, DefinedListCapacity);
}

bool DefinedEntryOfCode(std::string_view code, int& groupId, int& numberIndex) {
    const int index = ParamIndexFromCode(code);
    if (index <= 0 || ParamCodeFromIndex(index) != code)
        return false;
    const int id = DefiniteGroupId(static_cast<ParamGroup>(ParamGroupOfIndex(index)));
    if (id == 0 || DefinedEntryCode(id, index % 100 - 1).empty())
        return false;
    groupId = id;
    numberIndex = index % 100 - 1;
    return true;
}

AddRemoveModel::AddRemoveModel(const DefinedList& given, InSeries inSeries) : inSeries_(std::move(inSeries)) {
    for (int i = 0; i < given.Count(); ++i) {
        const std::string code = DefinedEntryCode(given.group[static_cast<std::size_t>(i)],
                                                  given.number[static_cast<std::size_t>(i)]);
        // A repeated entry would leave its parameter in both lists once one copy is removed.
        if (code.empty() || !inSeries_(code) || Chosen(code))
            continue;
        custom_.push_back(code);
    }
    FillAll();
    buttons_ = Buttons{};
    buttons_.removeAll = !custom_.empty();
    buttons_.addAll = !all_.empty();
}

bool AddRemoveModel::Chosen(std::string_view code) const {
    return std::find(custom_.begin(), custom_.end(), code) != custom_.end();
}

void AddRemoveModel::FillAll() {
    all_.clear();
    for (ParamGroup group : ListGroups)
        for (int n = 1; n <= ParamGroupTable(group).count; ++n) {
            const std::string code = ParamCodeFromIndex(ParamIndexOf(group, n));
            if (!Chosen(code) && inSeries_(code))
                all_.push_back(code);
        }
}

void AddRemoveModel::SelectInAll(int index) {
    allSel_ = index >= 0 && index < static_cast<int>(all_.size()) ? index : -1;
    if (!all_.empty())
        buttons_.add = true;
}

void AddRemoveModel::SelectInCustom(int index) {
    customSel_ = index >= 0 && index < static_cast<int>(custom_.size()) ? index : -1;
    RefreshRemoveUpDown();
}

void AddRemoveModel::RefreshRemoveUpDown() {
    if (custom_.empty())
        return;
    buttons_.remove = true;
    buttons_.up = customSel_ > 0;
    buttons_.down = customSel_ >= 0 && customSel_ < static_cast<int>(custom_.size()) - 1;
}

void AddRemoveModel::Add() {
    if (allSel_ < 0 || custom_.size() >= static_cast<std::size_t>(DefinedListCapacity))
        return;
    const std::string code = all_[static_cast<std::size_t>(allSel_)];
    all_.erase(all_.begin() + allSel_);
    allSel_ = ClampedIndex(allSel_, static_cast<int>(all_.size()));
    if (customSel_ >= 0) {
        custom_.insert(custom_.begin() + customSel_, code);
        ++customSel_; // the selection stays on the entry it was on
    } else {
        custom_.push_back(code);
    }
    if (all_.empty())
        buttons_.add = buttons_.addAll = false;
    if (!custom_.empty())
        buttons_.removeAll = true;
}

void AddRemoveModel::Remove() {
    if (customSel_ < 0)
        return;
    const std::string code = custom_[static_cast<std::size_t>(customSel_)];
    custom_.erase(custom_.begin() + customSel_);
    customSel_ = ClampedIndex(customSel_, static_cast<int>(custom_.size()));
    FillAll();
    const auto it = std::find(all_.begin(), all_.end(), code);
    allSel_ = it == all_.end() ? -1 : static_cast<int>(it - all_.begin());
    if (custom_.empty()) {
        buttons_.remove = buttons_.removeAll = false;
        buttons_.addAll = true;
    }
    if (!all_.empty())
        buttons_.add = true;
    RefreshRemoveUpDown();
}

void AddRemoveModel::AddAll() {
    custom_.clear();
    all_.clear();
    for (ParamGroup group : ListGroups)
        for (int n = 1; n <= ParamGroupTable(group).count; ++n) {
            const std::string code = ParamCodeFromIndex(ParamIndexOf(group, n));
            if (inSeries_(code))
                custom_.push_back(code);
        }
    allSel_ = customSel_ = -1;
    buttons_ = Buttons{};
    buttons_.removeAll = true;
}

void AddRemoveModel::RemoveAll() {
    custom_.clear();
    FillAll();
    allSel_ = customSel_ = -1;
    buttons_ = Buttons{};
    buttons_.addAll = true;
}

void AddRemoveModel::Up() {
    if (customSel_ <= 0)
        return;
    std::swap(custom_[static_cast<std::size_t>(customSel_)],
              custom_[static_cast<std::size_t>(customSel_ - 1)]);
    --customSel_;
    RefreshRemoveUpDown();
}

void AddRemoveModel::Down() {
    if (customSel_ < 0 || customSel_ >= static_cast<int>(custom_.size()) - 1)
        return;
    std::swap(custom_[static_cast<std::size_t>(customSel_)],
              custom_[static_cast<std::size_t>(customSel_ + 1)]);
    ++customSel_;
    RefreshRemoveUpDown();
}

DefinedList AddRemoveModel::Result() const {
    DefinedList list;
    for (const std::string& code : custom_) {
        int group = 0;
        int number = 0;
        if (list.count >= DefinedListCapacity || !DefinedEntryOfCode(code, group, number))
            continue;
        list.group[static_cast<std::size_t>(list.count)] = group;
        list.number[static_cast<std::size_t>(list.count)] = number;
        ++list.count;
    }
    return list;
}
