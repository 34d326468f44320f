// The DI/DO assignment grid: cell ids, clicks, the conflict check and the words written back.
#include "tools/DioGrid.h"

#include <gtest/gtest.h>

namespace {

std::array<int, DioValueCount> Block() {
    std::array<int, DioValueCount> values{};
    for (int i = 0; i < DioValueCount; ++i)
        values[static_cast<size_t>(i)] = i < 12 ? 0x10 + i : i + 1; // each pin its own function, contact A
    values[16] = 0x0FC5;                                            // Hn617
    values[17] = 0x0805;                                            // Hn618
    values[22] = 0x1234;                                            // Hn623
    values[23] = 0xABCD;                                            // Hn624
    return values;
}

int Click(DioGrid& grid, bool output, int pin, int function) {
    EXPECT_TRUE(grid.Toggle({output, pin, function}));
    return grid.Pin(output, pin).state;
}

} // namespace

TEST(DioGrid, CellIdsCoverTheRangeAndEndAt2133) {
    EXPECT_EQ(CellOfId(1168), (DioCell{false, 0, 0}));
    EXPECT_EQ(CellOfId(1765), (DioCell{false, 12, 45}));
    EXPECT_EQ(CellOfId(1766), (DioCell{true, 0, 0}));
    EXPECT_EQ(CellOfId(2133), (DioCell{true, 7, 45}));
    EXPECT_EQ(CellOfId(2134), std::nullopt) << "there is no output pin 8";
    EXPECT_EQ(CellOfId(1167), std::nullopt);
    for (int id = DioFirstInputCell; id <= DioLastCell; ++id)
        EXPECT_EQ(IdOfCell(*CellOfId(id)), id);
    EXPECT_EQ(SlotOfPin(true, 3), 15);
    EXPECT_EQ(SlotOfPin(true, 4), 18);
    EXPECT_EQ(SlotOfPin(true, 7), 21);
}

TEST(DioGrid, ClicksGiveBThenAThenB) {
    DioGrid grid(Block());
    EXPECT_EQ(Click(grid, false, 0, 0x03), DioContactB);
    EXPECT_EQ(Click(grid, false, 0, 0x03), DioContactA);
    EXPECT_EQ(Click(grid, false, 0, 0x03), DioContactB);
    EXPECT_EQ(grid.CellState({false, 0, 0x03}), DioContactB);
    EXPECT_EQ(grid.CellState({false, 0, 0x01}), DioNone) << "one function per pin";
    EXPECT_EQ(Click(grid, false, 0, 0x07), DioContactB) << "another function starts again at B";
    EXPECT_EQ(grid.Values()[0], 0x107);
}

TEST(DioGrid, SameFunctionNeedsTheSameContact) {
    std::array<int, DioValueCount> values = Block();
    values[0] = 0x103; // DI-1 B
    values[1] = 0x003; // DI-2 A
    DioGrid grid(values);
    EXPECT_EQ(grid.ConflictList(false), "Hn601 Hn602 ");
    EXPECT_EQ(grid.ConflictList(true), "");
    Click(grid, false, 0, 0x03); // DI-1 to A
    EXPECT_EQ(grid.ConflictList(false), "");
    // Outputs by their own codes.
    std::array<int, DioValueCount> outputs = Block();
    outputs[15] = 0x105; // DO-4 B
    outputs[18] = 0x005; // DO-5 A
    EXPECT_EQ(DioGrid(outputs).ConflictList(true), "Hn616 Hn619 ");
}

TEST(DioGrid, WordsGoBackAsReadUnlessClicked) {
    std::array<int, DioValueCount> values = Block();
    values[0] = 0x103;
    values[5] = 0x150;   // a function beyond the grid's 46 rows
    values[13] = 0x0140; // an output function beyond the used rows
    DioGrid grid(values);
    EXPECT_EQ(grid.Pin(false, 0).function, 0x03);
    EXPECT_EQ(grid.Pin(false, 0).state, DioContactB);
    EXPECT_FALSE(grid.Pin(false, 5).shown);
    for (int f = 0; f < DioRows; ++f)
        EXPECT_EQ(grid.CellState({false, 5, f}), DioNone) << "shown in no cell";
    EXPECT_EQ(grid.CellState({false, 6, 0x150 - DioRows}), DioNone) << "nor in the next pin's";
    EXPECT_EQ(grid.Values(), values) << "0x103, the unknown functions and Hn617/618/623/624 unchanged";

    Click(grid, false, 5, 0x02);
    EXPECT_EQ(grid.Values()[5], 0x102);
    Click(grid, true, 1, 0x04);
    Click(grid, true, 1, 0x04);
    EXPECT_EQ(grid.Values()[13], 0x004);
    EXPECT_EQ(grid.Values()[16], 0x0FC5);
    EXPECT_EQ(grid.Values()[23], 0xABCD);
}

TEST(DioGrid, EveryCellOfTheRangeCanBeClicked) {
    DioGrid grid(Block());
    for (int id = DioFirstInputCell; id <= DioLastCell + 1; ++id) {
        const std::optional<DioCell> cell = CellOfId(id);
        if (!cell)
            continue;
        const bool taken = grid.Toggle(*cell);
        const bool real = cell->pin < (cell->output ? DioOutputPins : DioInputPins) &&
                          cell->function < (cell->output ? DioOutputRowsUsed : DioRows);
        EXPECT_EQ(taken, real) << id;
    }
    EXPECT_FALSE(grid.Toggle({false, 12, 0})) << "the hidden 13th input";
}

TEST(DioGrid, ScrollStepsStayInRange) {
    EXPECT_EQ(DioScrollRange(1000, 300, 0), 700);
    EXPECT_EQ(DioScrollRange(200, 300, 0), 0);
    // line 700/20 = 35, page 70.
    EXPECT_EQ(DioScrollPosition(1, 700, 0, 0), 35);
    EXPECT_EQ(DioScrollPosition(3, 700, 0, 0), 70);
    EXPECT_EQ(DioScrollPosition(0, 700, 10, 0), 0) << "clipped at the start";
    EXPECT_EQ(DioScrollPosition(3, 700, 690, 0), 700) << "clipped at the end";
    EXPECT_EQ(DioScrollPosition(5, 700, 0, 400), 400);
    EXPECT_EQ(DioScrollPosition(1, 40, 0, 0), 5) << "small ranges step by 5";
    EXPECT_EQ(DioScrollPosition(8, 700, 123, 0), 123);
    EXPECT_EQ(DioWheelPosition(120, 700, 100), 65);
    EXPECT_EQ(DioWheelPosition(-120, 700, 100), 135);
    EXPECT_EQ(DioScrollPosition(1, 0, 0, 0), 0);
}
