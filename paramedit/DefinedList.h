#pragma once
// The defined-parameter list that the editor shows in the display mode Custom Parameters, and the
// rules of the Add/Remove dialog that builds it: the parameters of the series not in the list, the
// list in its chosen order, the moves between them and the state of the dialog's buttons.
#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

constexpr int DefinedListCapacity = 500;

// Up to 500 entries of a group id (1 Cn, 2 Tn, 3 Sn, 4 Pn3, 5 qn, 6 Hn, 8 Pn4, 9 En, 10 tn, 11 EC,
// 12 MAb) and a number index (the parameter's number minus 1). Entries after the count are 0.
struct DefinedList {
    int count = 0;
    std::array<int, DefinedListCapacity> group{};
    std::array<int, DefinedListCapacity> number{};

    // The count clamped to 0..500.
    int Count() const;
    bool operator==(const DefinedList&) const = default;
};

// The group id and number index of a code; false for a code the list cannot hold.
bool DefinedEntryOfCode(std::string_view code, int& groupId, int& numberIndex);

// The Add/Remove dialog's model. Lists hold codes; the window adds ": " and the title.
class AddRemoveModel {
public:
    using InSeries = std::function<bool(std::string_view code)>;

    struct Buttons {
        bool add = false;
        bool remove = false;
        bool addAll = false;
        bool removeAll = false;
        bool up = false;
        bool down = false;
        bool operator==(const Buttons&) const = default;
    };

    // Opens with the given list: entries the list cannot hold, entries the series lacks and repeated
    // entries are dropped.
    AddRemoveModel(const DefinedList& given, InSeries inSeries);

    const std::vector<std::string>& AllList() const { return all_; }
    const std::vector<std::string>& CustomList() const { return custom_; }
    int AllSelection() const { return allSel_; }
    int CustomSelection() const { return customSel_; }
    const Buttons& ButtonStates() const { return buttons_; }

    // Selection changes of the two lists (-1: none).
    void SelectInAll(int index);
    void SelectInCustom(int index);

    void Add();
    void Remove();
    void AddAll();
    void RemoveAll();
    void Up();
    void Down();

    // OK: the custom list in its shown order.
    DefinedList Result() const;

private:
    void FillAll();
    void RefreshRemoveUpDown();
    bool Chosen(std::string_view code) const;

    InSeries inSeries_;
    std::vector<std::string> all_;
    std::vector<std::string> custom_;
    int allSel_ = -1;
    int customSel_ = -1;
    Buttons buttons_;
};
