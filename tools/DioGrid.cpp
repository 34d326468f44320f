#include "tools/DioGrid.h"

#include "framework/core/Format.h"

#include <algorithm>

std::optional<DioCell> CellOfId(int id) {
    if (id < DioFirstInputCell || id > DioLastCell)
        return std::nullopt;
    if (id < DioFirstOutputCell)
        return DioCell{false, (id - DioFirstInputCell) / DioRows, (id - DioFirstInputCell) % DioRows};
    return DioCell{true, (id - DioFirstOutputCell) / DioRows, (id - DioFirstOutputCell) % DioRows};
}

int IdOfCell(const DioCell& cell) {
    return (cell.output ? DioFirstOutputCell : DioFirstInputCell) + cell.pin * DioRows + cell.function;
}

int SlotOfPin(bool output, int pin) {
    if (!output)
        return pin;
    return pin < 4 ? 12 + pin : 18 + (pin - 4);
}

namespace {
int RowsOf(bool output) {
    return output ? DioOutputRowsUsed : DioRows;
}

DioPin PinOfValue(int value, bool output) {
    DioPin pin;
    pin.read = value;
    pin.function = value & 0xFF;
    pin.state = value >= 0x100 ? DioContactB : DioContactA;
    pin.shown = pin.function < RowsOf(output);
    return pin;
}

int WordOf(const DioPin& pin) {
    if (!pin.changed)
        return pin.read;
    if (pin.state == DioNone)
        return 0;
    return pin.state == DioContactB ? pin.function + 0x100 : pin.function;
}
} // namespace

DioGrid::DioGrid(const std::array<int, DioValueCount>& values) : values_(values) {
    for (int p = 0; p < DioInputPins; ++p)
        inputs_[static_cast<size_t>(p)] = PinOfValue(values[static_cast<size_t>(SlotOfPin(false, p))], false);
    for (int p = 0; p < DioOutputPins; ++p)
        outputs_[static_cast<size_t>(p)] = PinOfValue(values[static_cast<size_t>(SlotOfPin(true, p))], true);
}

const DioPin& DioGrid::Pin(bool output, int pin) const {
    return output ? outputs_.at(static_cast<size_t>(pin)) : inputs_.at(static_cast<size_t>(pin));
}

int DioGrid::CellState(const DioCell& cell) const {
    if (cell.pin < 0 || cell.pin >= (cell.output ? DioOutputPins : DioInputPins))
        return DioNone;
    const DioPin& pin = Pin(cell.output, cell.pin);
    return pin.shown && pin.function == cell.function ? pin.state : DioNone;
}

bool DioGrid::Toggle(const DioCell& cell) {
    if (cell.pin < 0 || cell.pin >= (cell.output ? DioOutputPins : DioInputPins) || cell.function < 0 ||
        cell.function >= RowsOf(cell.output))
        return false;
    DioPin& pin =
        cell.output ? outputs_[static_cast<size_t>(cell.pin)] : inputs_[static_cast<size_t>(cell.pin)];
    if (cell.function != pin.function || !pin.shown) {
        pin.state = DioNone;
        pin.function = cell.function;
        pin.shown = true;
    }
    pin.state = pin.state == DioContactB ? DioContactA : DioContactB;
    pin.changed = true;
    return true;
}

std::vector<int> DioGrid::Conflicts(bool outputs) const {
    const int count = outputs ? DioOutputPins : DioInputPins;
    std::vector<int> pins;
    for (int a = 0; a < count; ++a)
        for (int b = 0; b < count; ++b)
            if (a != b) {
                const DioPin& pa = Pin(outputs, a);
                const DioPin& pb = Pin(outputs, b);
                if (pa.function == pb.function && pa.state != pb.state) {
                    pins.push_back(a);
                    break;
                }
            }
    return pins;
}

std::string DioGrid::ConflictList(bool outputs) const {
    std::string list;
    for (int pin : Conflicts(outputs))
        list += Format("Hn6%02d ", SlotOfPin(outputs, pin) + 1);
    return list;
}

std::array<int, DioValueCount> DioGrid::Values() const {
    std::array<int, DioValueCount> values = values_;
    for (int p = 0; p < DioInputPins; ++p)
        values[static_cast<size_t>(SlotOfPin(false, p))] = WordOf(inputs_[static_cast<size_t>(p)]);
    for (int p = 0; p < DioOutputPins; ++p)
        values[static_cast<size_t>(SlotOfPin(true, p))] = WordOf(outputs_[static_cast<size_t>(p)]);
    return values;
}

int DioScrollRange(int content, int window, int origin) {
    return std::max(0, content - window - origin);
}

namespace {
int AtLeastFive(int step) {
    return step < 6 ? 5 : step;
}
} // namespace

int DioScrollPosition(unsigned code, int range, int position, int track) {
    const int line = AtLeastFive(range / 20);
    const int page = AtLeastFive(range / 10);
    int next = position;
    switch (code) {
    case 0:
        next = position - line;
        break;
    case 1:
        next = position + line;
        break;
    case 2:
        next = position - page;
        break;
    case 3:
        next = position + page;
        break;
    case 4:
    case 5:
        next = track;
        break;
    default:
        break;
    }
    return std::clamp(next, 0, std::max(range, 0));
}

int DioWheelPosition(int delta, int range, int position) {
    if (delta == 0)
        return position;
    return DioScrollPosition(delta > 0 ? 0u : 1u, range, position, position);
}
