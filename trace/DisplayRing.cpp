#include "trace/DisplayRing.h"

#include <algorithm>
#include <array>

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

void DisplayRing::MinMax(int first, int end, int32_t& lowest, int32_t& highest) const {
    first = std::max(first, 0);
    end = std::min(end, Size());
    if (first >= end) {
        lowest = highest = 0;
        return;
    }
    int32_t low = At(first);
    int32_t high = low;
    auto scan = [&](std::size_t from, std::size_t to) {
        // Eight lanes side by side, so the compiler turns the loop into vector compares.
        constexpr std::size_t kLanes = 8;
        std::array<int32_t, kLanes> lows;
        std::array<int32_t, kLanes> highs;
        lows.fill(low);
        highs.fill(high);
        const int32_t* values = data_.data();
        std::size_t k = from;
        for (; k + kLanes <= to; k += kLanes) {
            for (std::size_t lane = 0; lane < kLanes; ++lane) {
                lows[lane] = std::min(lows[lane], values[k + lane]);
                highs[lane] = std::max(highs[lane], values[k + lane]);
            }
        }
        for (; k < to; ++k) {
            low = std::min(low, values[k]);
            high = std::max(high, values[k]);
        }
        low = std::min(low, *std::min_element(lows.begin(), lows.end()));
        high = std::max(high, *std::max_element(highs.begin(), highs.end()));
    };
    // Up to two stretches of the stored array: from the slot of `first` to the array's end, then on
    // from its start.
    const std::size_t from = start_ + static_cast<std::size_t>(first);
    const std::size_t count = static_cast<std::size_t>(end - first);
    const std::size_t begin = from < data_.size() ? from : from - data_.size();
    const std::size_t firstStretch = std::min(count, data_.size() - begin);
    scan(begin, begin + firstStretch);
    scan(0, count - firstStretch);
    lowest = low;
    highest = high;
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
