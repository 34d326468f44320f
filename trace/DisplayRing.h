#pragma once
// One channel's shown samples as a ring: "append one, drop the first" moves the start index instead
// of copying the array, so a Monitor run over 102,400 samples per channel costs one store a sample.
// Readers go through the accessor; an index outside the array reads 0.
#include <cstdint>
#include <vector>

class DisplayRing {
public:
    // count zeros, the start back at 0.
    void Assign(int count);
    int Size() const { return static_cast<int>(data_.size()); }
    // Sample i counted from the oldest; 0 outside 0 .. Size() - 1.
    int32_t At(int i) const {
        if (i < 0 || i >= Size())
            return 0;
        const std::size_t slot = start_ + static_cast<std::size_t>(i);
        return data_[slot < data_.size() ? slot : slot - data_.size()];
    }
    int32_t Front() const { return At(0); }
    void Set(int i, int32_t value);
    // Appends value and drops the oldest sample; the length stays.
    void Roll(int32_t value);
    // Samples rolled in since the last Assign, at most Size(): the rest at the front are still the
    // zeros Assign left.
    int Rolled() const { return rolled_ < data_.size() ? static_cast<int>(rolled_) : Size(); }
    // The smallest and largest of samples first .. end - 1 (clipped to the ring; both 0 when that
    // leaves none). Scans the stored array directly: a plot frame looks at every sample once.
    void MinMax(int first, int end, int32_t& lowest, int32_t& highest) const;
    // The first count samples in order (0 beyond the end).
    void CopyTo(int32_t* out, int count) const;
    std::vector<int32_t> ToVector() const;

private:
    std::vector<int32_t> data_;
    std::size_t start_ = 0;
    std::size_t rolled_ = 0;
};
