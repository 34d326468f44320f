#include "launcher/PortEntries.h"

#include <gtest/gtest.h>

namespace {

struct Port {
    const char* name;
    const char* description;
};

std::vector<std::string> ListOf(std::initializer_list<Port> ports) {
    std::vector<std::string> entries;
    for (const Port& port : ports)
        AddPortEntry(entries, port.name, port.description);
    return entries;
}

TEST(AddPortEntry, KeepsPortOrderAndOneEntryPerPort) {
    struct Row {
        const char* what;
        std::vector<std::string> got;
        std::vector<std::string> want;
    };
    const Row rows[] = {
        {"numeric order, second of a name dropped",
         ListOf({{"ttyUSB10", "X"}, {"ttyUSB2", "Y"}, {"ttyUSB2", "Z"}}),
         {"ttyUSB2 : Y", "ttyUSB10 : X"}},
        {"inserted before the first larger, appended after all smaller",
         ListOf({{"ttyUSB3", "c"}, {"ttyUSB1", "a"}, {"ttyUSB2", "b"}, {"ttyUSB9", "d"}}),
         {"ttyUSB1 : a", "ttyUSB2 : b", "ttyUSB3 : c", "ttyUSB9 : d"}},
        {"letters first, then the number",
         ListOf({{"ttyUSB0", "u"}, {"ttyS1", "s1"}, {"ttyACM0", "a"}, {"ttyS0", "s0"}}),
         {"ttyACM0 : a", "ttyS0 : s0", "ttyS1 : s1", "ttyUSB0 : u"}},
        {"name and description trimmed, a nameless port gives nothing",
         ListOf({{" ttyS0 ", " Serial Port  "}, {"", "No name"}, {"   ", "Blank"}}),
         {"ttyS0 : Serial Port"}},
        {"a virtual port after the real one of the same name is dropped",
         ListOf({{"ttyS0", "Communications Port"}, {"ttySIM0", "Sim Serial"}, {"ttyS0", "Virtual Port"}}),
         {"ttyS0 : Communications Port", "ttySIM0 : Sim Serial"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(row.got, row.want);
    }
}

TEST(SuitableEntry, DecidesByCaseSensitiveWords) {
    struct Row {
        const char* entry;
        bool suitable;
        AdapterKind adapter;
    };
    const Row rows[] = {
        {"ttyUSB0 : ZR2 Servo USB", true, AdapterKind::Zr2},
        {"ttyUSB0 : USB-SERIAL CH340", true, AdapterKind::Ch34},
        {"ttyUSB0 : USB CH341 ZR2", true, AdapterKind::Zr2}, // ZR2 wins over CH34
        {"ttyS0 : Serial Port", true, AdapterKind::PlainSerial},
        {"ttyUSB0 : FT232R USB UART", false, AdapterKind::None}, // USB alone is not enough
        {"ttyUSB0 : FT232R USB Serial", true, AdapterKind::PlainSerial},
        {"ttyS4 : Communications Port", false, AdapterKind::None},
        {"ttyACM0 : CDC serial", false, AdapterKind::None}, // case-sensitive
        {"ttyUSB0 : usb ch340", false, AdapterKind::None},
        {"ttyS5 : CH340", false, AdapterKind::None},  // CH34 needs USB
        {"ttyUSB0 : CH340", true, AdapterKind::Ch34}, // ... which a ttyUSB name carries
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.entry);
        EXPECT_EQ(IsSuitableEntry(row.entry), row.suitable);
        EXPECT_EQ(AdapterOfEntry(row.entry), row.adapter);
    }
}

} // namespace
