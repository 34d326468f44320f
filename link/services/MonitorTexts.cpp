#include "link/services/MonitorTexts.h"

#include "framework/core/Format.h"

namespace {

const char* const kModeNames[] = {"Torque(T)", "Speed(S)", "Position(Pe)", "Position(Pi)",
                                  "Tool Turret Control Mode (Pt)"};
enum Mode { T, S, Pe, Pi, Pt, None = -1 };

struct ModeEntry {
    const char* prefix;
    int first;
    int second;
};

// Control modes 0..14: the prefix and up to two mode names joined by "-".
const ModeEntry kModes[] = {
    {"0: ", T, None},
    {"1: ", S, None},
    {"2: ", Pe, None},
    {"3: ", Pe, S},
    {"4: ", S, T},
    {"5: ", Pe, T},
    {"6: ", Pi, None},
    {"7: ", Pi, S},
    {"8: ", Pi, T},
    {"9: ", Pt, None},
    {"A: ", Pi, Pe},
    {"B: CANopen", None, None},
    {"C: CANopen", None, None},
    {"D: EtherCAT", None, None},
    {"E: DIO CNC", None, None},
};

bool IsOneOf(int number, std::initializer_list<int> numbers) {
    for (int n : numbers) {
        if (n == number)
            return true;
    }
    return false;
}

} // namespace

std::string ControlModeText(int value) {
    if (value < 0 || value >= static_cast<int>(std::size(kModes)))
        return Format("%X", static_cast<unsigned>(value));
    const ModeEntry& entry = kModes[value];
    std::string text = entry.prefix;
    if (entry.first != None)
        text += kModeNames[entry.first];
    if (entry.second != None)
        text += std::string("-") + kModeNames[entry.second];
    return text;
}

std::string HexWordText(int value) {
    return Format("%04XH", static_cast<unsigned>(value));
}

std::string VersionText(int value) {
    return Format("A%.2d.%02d", value / 100, value % 100);
}

std::string SeriesTypeText(int value) {
    std::string text = HexWordText(value);
    return text.size() >= 6 ? text.substr(text.size() - 5) : text;
}

std::string DiagnosticsText(int number, int value) {
    switch (number) {
    case 1:
        return ControlModeText(value);
    case 2:
    case 3:
        return HexWordText(value);
    case 4:
    case 9:
    case 14:
        return VersionText(value);
    case 8:
        return SeriesTypeText(value);
    default:
        return {};
    }
}

bool OutputTerminalOn(int dn02, int k) {
    return k >= 0 && k < DiagnosticsOutputCount && (dn02 >> k) & 1;
}

bool InputTerminalOn(int dn03, int k) {
    return k >= 0 && k < DiagnosticsInputCount - 1 && (dn03 >> k) & 1;
}

std::string OutputBitRow(int value) {
    std::string row(DiagnosticsOutputCount, '0');
    for (int k = 0; k < DiagnosticsOutputCount; ++k) {
        if (OutputTerminalOn(value, k))
            row[DiagnosticsOutputCount - 1 - k] = '1';
    }
    return row;
}

std::string InputBitRow(int value) {
    std::string row(DiagnosticsInputCount, '0');
    for (int k = 0; k < DiagnosticsInputCount; ++k) {
        if (InputTerminalOn(value, k))
            row[DiagnosticsInputCount - 1 - k] = '1';
    }
    return row;
}

std::string AlarmNumberText(int code) {
    return Format("%02d", code);
}

std::string MonitorRowText(int index, int value) {
    const int number = index % 100;
    if (index > 2000) {
        if ((number >= 13 && number <= 18) || number == 28 || number == 52)
            return Format("%04X", static_cast<unsigned>(value));
        return Format("%d", value);
    }
    if (number == 9 || number == 11) {
        std::string text = Format("%.4d", value);
        if (text.size() > 2)
            text.insert(text.size() - 2, ".");
        return text;
    }
    if (IsOneOf(number, {21, 27, 30, 31, 44, 47, 48}))
        return Format("%04X", static_cast<unsigned>(value));
    return Format("%d", value);
}
