#pragma once
// The parameter editor's changed marks shared with the tools that fill the document's values (the
// setup wizard's Finish, the online notch window's Parameter Set): one flag per parameter index
// (group base + number - 1, Cn001 at 0). The editor shows a marked row as changed.
#include <array>
#include <string_view>

class ParameterChangedFlags {
public:
    static constexpr int Groups = 19;
    static constexpr int Size = Groups * 100;

    // Marks or clears the flag of a code ("Cn025"); a code outside the table changes nothing.
    void Set(std::string_view code, bool changed = true);
    bool IsSet(std::string_view code) const;
    // By table index (group base + number - 1); false beyond the table.
    void SetIndex(int index, bool changed = true);
    bool IsSetIndex(int index) const;
    // The index of a code in the table, or -1.
    static int IndexOf(std::string_view code);
    void ClearAll() { flags_.fill(0); }
    bool Any() const;

private:
    std::array<int, Size> flags_{};
};

// The program's one table.
ParameterChangedFlags& ChangedParameters();
