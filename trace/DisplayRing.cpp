#include "trace/DisplayRing.h"

void DisplayRing::Assign(int count) {
    data_.assign(static_cast<std::size_t>(count > 0 ? count : 0), 0);
    start_ = 0;
    rolled_ = 0;
}

void DisplayRing::Set(int i, int32_t value) {
    if (i < 0 || i >= Size())
        return;
    const std::size_t slot = start_ + static_cast<std::size_t>(i);
    data_[slot < data_.size() ? slot : slot - data_.size()] = value;
}

void DisplayRing::Roll(int32_t value) {
    if (data_.empty())
        return;
    data_[start_] = value; // the oldest slot becomes the newest
    if (rolled_ < data_.size())
        ++rolled_;
    if (++start_ == data_.size())
        start_ = 0;
}

void DisplayRing::CopyTo(int32_t* out, int count) const {
    for (int i = 0; i < count; ++i)
        out[i] = At(i);
}

std::vector<int32_t> DisplayRing::ToVector() const {
    std::vector<int32_t> values(data_.size());
    CopyTo(values.data(), Size());
    return values;
}
