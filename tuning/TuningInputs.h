#pragma once
// Small rules the tuning and jog windows share: the input guard of their number edits, the speed
// limits derived from the motor's rated speed, and the linear-motor test of dn-08.
#include <optional>
#include <string>
#include <string_view>

// The input guard of a typed whole number: the value the edit now stands for, or nothing when the
// text is no integer (the window then puts the previous value back). "" and "-" stand for 0; a
// number beyond 32 bits is no integer here either, so it can never wrap into range.
std::optional<int> GuardedEntry(std::string_view text);

// Where the caret goes after a refused keystroke: one place left of where it was, never before 0.
struct EntrySelection {
    int start = 0;
    int end = 0;
};
EntrySelection SelectionAfterRefusal(EntrySelection before);

// The stroke jog's speed maximum: rated speed x 1.5, rounded.
int JogSpeedMaximum(int ratedSpeed);

// dn-08 (register 0x0F08): a linear motor when bits 12..15 hold 3 or 4.
bool IsLinearMotorWord(int dn08);

// "(%d~%d)".
std::string RangeText(int minimum, int maximum);

// Field labels of a group of writes: each failing label, then what the Part's message appends.
// "Over Range!!" and "Write Failed!" lists are built with it.
class FailureList {
public:
    void Add(const std::string& label, const std::string& separator = "\n") { text_ += label + separator; }
    bool Empty() const { return text_.empty(); }
    const std::string& Text() const { return text_; }

private:
    std::string text_;
};
