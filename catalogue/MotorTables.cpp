#include "catalogue/MotorTables.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// Model texts follow table order; only the rows that have no catalogue name read "HBMQ - XX".
const char* const XX = "HBMQ - XX";

#define ROW(n, code, cap, spd, trq)                                                                          \
    { n, code, cap, spd, trq }
const MotorModelRow group0[] = {ROW("HBMQ - M001", 0x1010, "0.05 kW", "3000 rpm", 300),
                                ROW("HBMQ - M002", 0x1050, "0.05 kW", "3000 rpm", 300),
                                ROW("HBMQ - M003", 0x1020, "0.1 kW", "3000 rpm", 300),
                                ROW("HBMQ - M004", 0x1060, "0.1 kW", "3000 rpm", 300),
                                ROW("HBMQ - M005", 0x1070, "0.1 kW", "3000 rpm", 300),
                                ROW("HBMQ - M006", 0x1080, "0.2 kW", "3000 rpm", 240),
                                ROW("HBMQ - M007", 0x1090, "0.2 kW", "3000 rpm", 240)};
const MotorModelRow group1[] = {ROW("HBMQ - M008", 0x1110, "0.1 kW", "3000 rpm", 300),
                                ROW("HBMQ - M009", 0x11F0, "0.1 kW", "3000 rpm", 300),
                                ROW("HBMQ - M010", 0x5100, "0.1 kW", "3000 rpm", 300),
                                ROW("HBMQ - M011", 0x1130, "0.2 kW", "3000 rpm", 300),
                                ROW("HBMQ - M012", 0x1190, "0.2 kW", "3000 rpm", 300),
                                ROW("HBMQ - M013", 0x11A0, "0.2 kW", "3000 rpm", 300),
                                ROW("HBMQ - M014", 0x1120, "0.3 kW", "3000 rpm", 300),
                                ROW("HBMQ - M015", 0x1140, "0.4 kW", "3000 rpm", 240),
                                ROW("HBMQ - M016", 0x1150, "0.4 kW", "3000 rpm", 300),
                                ROW("HBMQ - M017", 0x11D0, "0.4 kW", "3000 rpm", 300),
                                ROW("HBMQ - M018", 0x11E0, "0.4 kW", "3000 rpm", 300)};
const MotorModelRow group2[] = {ROW("HBMQ - M019", 0x1220, "0.4 kW", "3000 rpm", 300),
                                ROW("HBMQ - M020", 0x1260, "0.4 kW", "3000 rpm", 300),
                                ROW("HBMQ - M021", 0x1200, "0.4 kW", "3000 rpm", 300),
                                ROW("HBMQ - M022", 0x5200, "0.4 kW", "3000 rpm", 300),
                                ROW("HBMQ - M023", 0x12F0, "0.45 kW", "3000 rpm", 340),
                                ROW("HBMQ - M024", 0x1240, "0.55 kW", "1000 rpm", 300),
                                ROW("HBMQ - M025", 0x1250, "0.55 kW", "1500 rpm", 300),
                                ROW("HBMQ - M026", 0x1230, "0.75 kW", "3000 rpm", 260),
                                ROW("HBMQ - M027", 0x12D0, "0.75 kW", "3000 rpm", 260),
                                ROW("HBMQ - M028", 0x1210, "0.75 kW", "3000 rpm", 300),
                                ROW("HBMQ - M029", 0x12E0, "0.75 kW", "3000 rpm", 260)};
const MotorModelRow group3[] = {ROW("HBMQ - M030", 0x1310, "0.75 kW", "3000 rpm", 300),
                                ROW("HBMQ - M031", 0x13B0, "0.75 kW", "3000 rpm", 300),
                                ROW("HBMQ - M032", 0x13C0, "0.75 kW", "3000 rpm", 300),
                                ROW("HBMQ - M033", 0x13E0, "0.85 kW", "1500 rpm", 230),
                                ROW("HBMQ - M034", 0x1320, "1.0 kW", "1000 rpm", 300),
                                ROW("HBMQ - M035", 0x1340, "1.0 kW", "1500 rpm", 300),
                                ROW("HBMQ - M036", 0x1330, "1.0 kW", "2000 rpm", 300),
                                ROW("HBMQ - M037", 0x1350, "1.0 kW", "3000 rpm", 300),
                                ROW("HBMQ - M038", 0x13F0, "1.0 kW", "3000 rpm", 250),
                                ROW("HBMQ - M039", 0x5310, "1.0 kW", "3000 rpm", 260),
                                ROW("HBMQ - M040", 0x5320, "1.2 kW", "3000 rpm", 270),
                                ROW("HBMQ - M041", 0x13A0, "1.5 kW", "2000 rpm", 220)};
const MotorModelRow group4[] = {ROW("HBMQ - M042", 0x1440, "0.85 kW", "1500 rpm", 250),
                                ROW("HBMQ - M043", 0x1400, "1.0 kW", "1000 rpm", 300),
                                ROW("HBMQ - M044", 0x1410, "1.0 kW", "2000 rpm", 300),
                                ROW("HBMQ - M045", 0x1420, "1.0 kW", "1500 rpm", 300),
                                ROW("HBMQ - M046", 0x1430, "1.0 kW", "3000 rpm", 300),
                                ROW("HBMQ - M047", 0x1450, "1.0 kW", "3000 rpm", 250),
                                ROW("HBMQ - M048", 0x1460, "1.0 kW", "3000 rpm", 300),
                                ROW("HBMQ - M049", 0x1470, "1.2 kW", "3000 rpm", 330),
                                ROW("HBMQ - M050", 0x5410, "1.5 kW", "1000 rpm", 300),
                                ROW("HBMQ - M051", 0x5420, "1.5 kW", "2000 rpm", 300),
                                ROW("HBMQ - M052", 0x5430, "1.5 kW", "3000 rpm", 260),
                                ROW("HBMQ - M053", 0x5460, "1.5 kW", "3000 rpm", 230),
                                ROW("HBMQ - M054", 0x5440, "2.0 kW", "2000 rpm", 250),
                                ROW("HBMQ - M055", 0x5450, "2.0 kW", "3000 rpm", 300)};
const MotorModelRow group5[] = {ROW("HBMQ - M056", 0x15B0, "0.85 kW", "1500 rpm", 260),
                                ROW("HBMQ - M057", 0x15D0, "1.0 kW", "3000 rpm", 300),
                                ROW("HBMQ - M058", 0x5510, "1.0 kW", "3000 rpm", 330),
                                ROW("HBMQ - M059", 0x15C0, "1.3 kW", "1500 rpm", 240),
                                ROW("HBMQ - M060", 0x15E0, "1.5 kW", "3000 rpm", 320),
                                ROW("HBMQ - M061", 0x1510, "1.5 kW", "1000 rpm", 300),
                                ROW("HBMQ - M062", 0x1520, "1.5 kW", "2000 rpm", 300),
                                ROW("HBMQ - M063", 0x1530, "1.5 kW", "3000 rpm", 300),
                                ROW("HBMQ - M064", 0x5520, "2.0 kW", "3000 rpm", 250),
                                ROW("HBMQ - M065", 0x1540, "2.0 kW", "2000 rpm", 300),
                                ROW("HBMQ - M066", 0x1550, "2.0 kW", "3000 rpm", 300)};
const MotorModelRow group6[] = {ROW("HBMQ - M067", 0x1740, "1.3 kW", "1500 rpm", 300),
                                ROW("HBMQ - M068", 0x1750, "1.8 kW", "1500 rpm", 260),
                                ROW("HBMQ - M069", 0x1760, "1.8 kW", "1500 rpm", 240),
                                ROW("HBMQ - M070", 0x5710, "2.0 kW", "3000 rpm", 320),
                                ROW("HBMQ - M071", 0x1730, "3.0 kW", "1500 rpm", 260),
                                ROW("HBMQ - M072", 0x1710, "3.0 kW", "2000 rpm", 300),
                                ROW("HBMQ - M073", 0x1720, "3.0 kW", "3000 rpm", 300),
                                ROW("HBMQ - M074", 0x1770, "3.0 kW", "1500 rpm", 250),
                                ROW("HBMQ - M075", 0x1780, "4.0 kW", "2000 rpm", 250),
                                ROW("HBMQ - M076", 0x1790, "4.5 kW", "2000 rpm", 250)};
const MotorModelRow group7[] = {ROW("HBMQ - M077", 0x1850, "2.9 kW", "1500 rpm", 240),
                                ROW("HBMQ - M078", 0x1830, "3.0 kW", "1500 rpm", 240),
                                ROW("HBMQ - M079", 0x18D0, "4.4 kW", "1500 rpm", 250),
                                ROW("HBMQ - M080", 0x1820, "4.4 kW", "1500 rpm", 250),
                                ROW("HBMQ - M081", 0x1860, "4.4 kW", "1500 rpm", 250),
                                ROW("HBMQ - M082", 0x1870, "4.5 kW", "2000 rpm", 250),
                                ROW("HBMQ - M083", 0x18B0, "5.0 kW", "3000 rpm", 220),
                                ROW("HBMQ - M084", 0x1840, "5.5 kW", "2000 rpm", 250)};
const MotorModelRow group8[] = {ROW("HBMQ - M085", 0x1930, "4.4 kW", "1500 rpm", 250),
                                ROW("HBMQ - M086", 0x1940, "4.4 kW", "1500 rpm", 250),
                                ROW("HBMQ - M087", 0x1920, "5.5 kW", "1500 rpm", 260),
                                ROW("HBMQ - M088", 0x1950, "5.5 kW", "1500 rpm", 250),
                                ROW("HBMQ - M089", 0x19B0, "5.5 kW", "1500 rpm", 200),
                                ROW("HBMQ - M090", 0x19C0, "7.0 kW", "2000 rpm", 250)};
const MotorModelRow group9[] = {ROW("HBMQ - M091", 0x1A30, "5.5 kW", "1500 rpm", 260),
                                ROW("HBMQ - M092", 0x1A10, "7.5 kW", "1500 rpm", 260),
                                ROW("HBMQ - M093", 0x1A60, "7.5 kW", "1500 rpm", 260),
                                ROW("HBMQ - M094", 0x1A50, "7.5 kW", "1500 rpm", 200),
                                ROW("HBMQ - M095", 0x1A70, "11.0 kW", "1500 rpm", 220)};
const MotorModelRow group10[] = {ROW("HBMQ - M096", 0x1B80, "7.5 kW", "1500 rpm", 260),
                                 ROW("HBMQ - M097", 0x1B50, "7.5 kW", "1500 rpm", 250),
                                 ROW("HBMQ - M098", 0x1B10, "11.0 kW", "1500 rpm", 260),
                                 ROW("HBMQ - M099", 0x1BC0, "11.0 kW", "1500 rpm", 260),
                                 ROW("HBMQ - M100", 0x1B70, "11.0 kW", "1500 rpm", 250),
                                 ROW("HBMQ - M101", 0x1B20, "15.0 kW", "1500 rpm", 220),
                                 ROW("HBMQ - M102", 0x1BB0, "15.0 kW", "1500 rpm", 220)};
const MotorModelRow group11[] = {ROW("HBMQ - M103", 0x2010, "0.4 kW", "3000 rpm", 300),
                                 ROW("HBMQ - M104", 0x2020, "0.4 kW", "3000 rpm", 300),
                                 ROW("HBMQ - M105", 0x2030, "0.75 kW", "3000 rpm", 220),
                                 ROW("HBMQ - M106", 0x2040, "0.75 kW", "3000 rpm", 220)};
const MotorModelRow group12[] = {ROW("HBMQ - M107", 0x2110, "0.75 kW", "3000 rpm", 300),
                                 ROW("HBMQ - M108", 0x2120, "0.75 kW", "3000 rpm", 300),
                                 ROW("HBMQ - M109", 0x2130, "0.85 kW", "1500 rpm", 240),
                                 ROW("HBMQ - M110", 0x2140, "1.0 kW", "2000 rpm", 300)};
// Rows 6..13 are reached only through a motor code; the list offers the first six.
const MotorModelRow group13[] = {ROW("HBMQ - M111", 0x2260, "1.0 kW", "3000 rpm", 330),
                                 ROW("HBMQ - M112", 0x2210, "1.0 kW", "2000 rpm", 300),
                                 ROW("HBMQ - M113", 0x2220, "1.3 kW", "1500 rpm", 260),
                                 ROW("HBMQ - M114", 0x2270, "1.5 kW", "3000 rpm", 300),
                                 ROW("HBMQ - M115", 0x2230, "1.5 kW", "2000 rpm", 300),
                                 ROW("HBMQ - M116", 0x2250, "2.0 kW", "2000 rpm", 240),
                                 ROW(XX, 0x2240, "", "", 300),
                                 ROW(XX, 0x2280, "", "", 300),
                                 ROW(XX, 0x2290, "", "", 300),
                                 ROW(XX, 0x22A0, "", "", 300),
                                 ROW("HBMQ - M121", 0x22B0, "", "", 300),
                                 ROW(XX, 0x22C0, "", "", 300),
                                 ROW(XX, 0x22D0, "", "", 300),
                                 ROW("HBMQ - M124", 0x22E0, "", "", 300)};
const MotorModelRow group14[] = {ROW("HBMQ - M125", 0x2370, "1.5 kW", "3000 rpm", 330),
                                 ROW("HBMQ - M126", 0x2320, "1.8 kW", "1500 rpm", 240),
                                 ROW("HBMQ - M127", 0x2360, "1.8 kW", "1500 rpm", 240),
                                 ROW("HBMQ - M128", 0x2380, "2.0 kW", "3000 rpm", 320),
                                 ROW("HBMQ - M129", 0x2310, "2.0 kW", "2000 rpm", 300),
                                 ROW("HBMQ - M130", 0x2340, "3.0 kW", "1500 rpm", 240),
                                 ROW("HBMQ - M131", 0x2330, "3.0 kW", "2000 rpm", 220),
                                 ROW("HBMQ - M132", 0x2350, "3.0 kW", "1500 rpm", 240)};
const MotorModelRow group15[] = {ROW("HBMQ - M133", 0x2440, "2.9 kW", "1500 rpm", 240),
                                 ROW("HBMQ - M134", 0x2410, "3.0 kW", "1500 rpm", 260),
                                 ROW("HBMQ - M135", 0x2400, "3.0 kW", "2000 rpm", 300),
                                 ROW("HBMQ - M136", 0x2490, "3.0 kW", "3000 rpm", 280),
                                 ROW("HBMQ - M137", 0x2450, "3.0 kW", "1500 rpm", 250),
                                 ROW("HBMQ - M138", 0x2420, "4.4 kW", "1500 rpm", 240),
                                 ROW("HBMQ - M139", 0x2460, "4.4 kW", "1500 rpm", 230)};
const MotorModelRow group16[] = {ROW("HBMQ - M140", 0x25C0, "3.0 kW", "3000 rpm", 300),
                                 ROW("HBMQ - M141", 0x2500, "4.4 kW", "1500 rpm", 260),
                                 ROW("HBMQ - M142", 0x2570, "4.4 kW", "1500 rpm", 250),
                                 ROW("HBMQ - M143", 0x2520, "4.4 kW", "1500 rpm", 240),
                                 ROW("HBMQ - M144", 0x2510, "5.5 kW", "1500 rpm", 260),
                                 ROW("HBMQ - M145", 0x2580, "5.5 kW", "1500 rpm", 250),
                                 ROW("HBMQ - M146", 0x2530, "5.5 kW", "1500 rpm", 200),
                                 ROW("HBMQ - M147", 0x2590, "7.5 kW", "1500 rpm", 210)};
const MotorModelRow group17[] = {ROW("HBMQ - M148", 0x2650, "4.4 kW", "1500 rpm", 250),
                                 ROW("HBMQ - M149", 0x26B0, "5.5 kW", "1500 rpm", 250),
                                 ROW("HBMQ - M150", 0x2660, "5.5 kW", "1500 rpm", 250),
                                 ROW("HBMQ - M151", 0x2610, "7.5 kW", "1500 rpm", 260),
                                 ROW("HBMQ - M152", 0x2690, "7.5 kW", "1500 rpm", 260),
                                 ROW("HBMQ - M153", 0x2670, "7.5 kW", "1500 rpm", 200),
                                 ROW("HBMQ - M154", 0x26A0, "11.0 kW", "1500 rpm", 200),
                                 ROW("HBMQ - M155", 0x26E0, "11.0 kW", "4500 rpm", 210)};
const MotorModelRow group18[] = {ROW("HBMQ - M156", 0x2710, "7.5 kW", "1500 rpm", 250),
                                 ROW("HBMQ - M157", 0x2720, "11.0 kW", "1500 rpm", 260),
                                 ROW("HBMQ - M158", 0x2780, "11.0 kW", "1500 rpm", 250),
                                 ROW("HBMQ - M159", 0x27B0, "11.0 kW", "1500 rpm", 260),
                                 ROW("HBMQ - M160", 0x27C0, "11.0 kW", "4500 rpm", 250),
                                 ROW("HBMQ - M161", 0x2730, "15.0 kW", "1500 rpm", 220),
                                 ROW("HBMQ - M162", 0x27A0, "15.0 kW", "1500 rpm", 220)};
const MotorModelRow group19[] = {ROW("HBMQ - M163", 0x2860, "11.0 kW", "1500 rpm", 250),
                                 ROW("HBMQ - M164", 0x2810, "15.0 kW", "1500 rpm", 230),
                                 ROW("HBMQ - M165", 0x2850, "15.0 kW", "1500 rpm", 220)};
#undef ROW

struct GroupSpan {
    const MotorModelRow* rows;
    int held;
    int offered;
};

template <std::size_t N> constexpr GroupSpan Span(const MotorModelRow (&rows)[N], int offered) {
    return {rows, static_cast<int>(N), offered};
}

const GroupSpan groups[MotorGroupCount] = {
    Span(group0, 7),  Span(group1, 11), Span(group2, 11), Span(group3, 12), Span(group4, 14),
    Span(group5, 11), Span(group6, 10), Span(group7, 8),  Span(group8, 6),  Span(group9, 5),
    Span(group10, 7), Span(group11, 4), Span(group12, 4), Span(group13, 6), Span(group14, 8),
    Span(group15, 7), Span(group16, 8), Span(group17, 8), Span(group18, 7), Span(group19, 3)};

struct EncoderSpec {
    const char* prefix;
    int code;
    const char* typeText;
    int letterless; // characters of the prefix kept in the encoder text
};
const char* const OpticalType = "Optical Type";
const char* const AbsoluteType = "Communication Absolute Type";
const char* const IncrementalType = "Communication Incremental Type";
const EncoderSpec encoderSpecs[EncoderSpecCount] = {
    {"B: 2500ppr ", 1, OpticalType, 8}, {"H: 8192ppr ", 2, OpticalType, 8},
    {"5: 15bit ", 5, AbsoluteType, 6},  {"7: 17bit ", 7, IncrementalType, 6},
    {"A: 17bit ", 10, AbsoluteType, 6}, {"3: 23bit ", 12, IncrementalType, 6},
    {"W: 23bit ", 13, AbsoluteType, 6}};

// Families whose drives run on the 400 V supply; their capacity classes count from group 11.
bool IsHighVoltageFamily(int family) {
    return family == 2 || family == 4 || family == 6 || family == 8 || family == 14;
}

bool IsLinearFamily(int family) {
    return family == 3 || family == 4;
}

} // namespace

int MotorModelCount(int group) {
    return group >= 0 && group < MotorGroupCount ? groups[group].offered : 0;
}

int MotorModelRowsHeld(int group) {
    return group >= 0 && group < MotorGroupCount ? groups[group].held : 0;
}

const MotorModelRow* MotorModelTable(int group, int row) {
    if (group < 0 || group >= MotorGroupCount || row < 0 || row >= groups[group].held)
        return nullptr;
    return &groups[group].rows[row];
}

int MotorCodeToGroup(int code) {
    const int n = (code >> 8) & 0xF;
    if (IsHighVoltageFamily((code >> 12) & 0xF))
        return n + 11;
    if (n <= 5)
        return n;
    if (n >= 7 && n <= 11)
        return n - 1;
    return 1;
}

int MotorCodeToRow(unsigned code) {
    const unsigned type = code & 0xFFF0u;
    for (const GroupSpan& g : groups)
        for (int row = 0; row < g.held; ++row)
            if (g.rows[row].typeCode == type)
                return row;
    // Motors the table lost rows for still keep their places.
    switch (type) {
    case 0x2390:
        return 8;
    case 0x23A0:
        return 9;
    case 0x23B0:
        return 10;
    case 0x23C0:
        return 11;
    case 0x23D0:
        return 12;
    case 0xA0E0:
    case 0xA100:
    case 0xA220:
        return 1;
    default:
        return 0;
    }
}

int EncoderIndexOf(int code) {
    for (int i = 0; i < EncoderSpecCount; ++i)
        if (encoderSpecs[i].code == (code & 0xF))
            return i;
    return -1;
}

std::string MotorSupplyText(unsigned typeCode) {
    switch ((typeCode >> 12) & 0xF) {
    case 0x1:
    case 0x3:
    case 0x5:
    case 0x7:
    case 0xF:
        return "AC 200~230V";
    case 0x2:
    case 0x4:
    case 0x6:
    case 0x8:
    case 0xE:
        return "AC 380~480V";
    case 0x9:
        return "DC 24V";
    case 0xA:
        return "DC 48V";
    default:
        return "------";
    }
}

std::string MotorTables::MotorModelAt(int group, int row) {
    const MotorModelRow* r = MotorModelTable(group, row);
    if (!r) {
        m_MotorTypeCode = 0;
        m_CapacityText.clear();
        m_RatedSpeedText.clear();
        m_RatedSpeed = 3000;
        m_MaxTorque = 300;
        return "HBMQ-------";
    }
    m_MotorTypeCode = r->typeCode;
    m_CapacityText = r->capacity;
    m_RatedSpeedText = r->speed;
    const int speed = std::atoi(m_RatedSpeedText.substr(0, 4).c_str());
    m_RatedSpeed = speed == 0 ? 3000 : speed;
    m_MaxTorque = r->maxTorque;
    return r->model;
}

std::string MotorTables::EncoderSpecAt(int index) {
    if (index < 0 || index >= EncoderSpecCount) {
        m_EncoderCode = 0;
        m_EncoderText = "----- ------";
        return "--------------";
    }
    const EncoderSpec& spec = encoderSpecs[index];
    const std::string prefix = spec.prefix;
    m_EncoderCode = spec.code;
    m_EncoderText = prefix.substr(prefix.size() - spec.letterless) + spec.typeText;
    return prefix + spec.typeText;
}

void MotorTables::ApplyMotorDefaults(int code, int ratedSpeed) {
    const int family = (code >> 12) & 0xF;
    const int n = (code >> 8) & 0xF;
    const int e = code & 0xF;
    const double R = ratedSpeed;
    const bool high = IsHighVoltageFamily(family);
    WizardDefaultSet& d = m_CollectedDefaults;

    int cn012 = 0;
    int cn089 = 0;
    if (high) {
        static const int cn012High[16] = {100, 100, 100, 100, 100, 100, 200, 0, 0, 0, 0, 0, 0, 0, 0, 0};
        static const int cn089High[16] = {750, 750, 750, 500, 300, 200, 200, 64, 64, 0, 0, 0, 0, 0, 0, 0};
        cn012 = cn012High[n];
        cn089 = cn089High[n];
    } else {
        static const int cn012Low[16] = {40, 40, 40, 40, 40, 60, 0, 60, 100, 100, 200, 0, 0, 0, 0, 0};
        static const int cn089Low[16] = {250, 250, 250, 250, 250, 200, 0, 125, 100, 70, 50, 32, 0, 0, 0, 0};
        cn012 = cn012Low[n];
        cn089 = cn089Low[n];
    }
    d.Cn[12 - 1] = cn012;
    d.Cn[89 - 1] = cn089;
    d.Cn[51 - 1] = high ? 380 : 190;
    d.onC[5 - 1] = high ? 1500 : 150;
    d.onC[20 - 1] = high ? 750 : 375;
    d.onC[21 - 1] = high ? 780 : 390;

    switch (e) {
    case 1:
        d.Cn[5 - 1] = 2500, m_EncoderResolution = 10000;
        break;
    case 2:
    case 5:
        d.Cn[5 - 1] = 8192, m_EncoderResolution = 32768;
        break;
    case 7:
    case 10:
        d.Cn[5 - 1] = 32768, m_EncoderResolution = 131072;
        break;
    case 12:
    case 13:
        d.Cn[5 - 1] = 32768, m_EncoderResolution = 8388608;
        break;
    default:
        d.Cn[5 - 1] = m_EncoderResolution / 4 > 32768 ? 32768 : m_EncoderResolution / 4;
        break;
    }
    d.Pn[307 - 301] = m_EncoderResolution / 1000;
    m_AbsoluteEncoderMotor = e == 5 || e == 10 || e == 13;
    d.Cn[31 - 1] = m_AbsoluteEncoderMotor ? 0 : 256;

    const int T = m_MaxTorque;
    d.Cn[10 - 1] = T;
    d.Cn[11 - 1] = -T;
    d.Cn[56 - 1] = T;
    d.Cn[57 - 1] = -T;

    const bool linear = IsLinearFamily(family);
    d.Tn[109 - 101] = ratedSpeed;
    d.Sn[216 - 201] = ratedSpeed;
    d.Cn[7 - 1] = static_cast<int>(R / 3 + 0.5);
    d.onC[14 - 1] = d.Cn[7 - 1];
    d.Cn[61 - 1] = static_cast<int>(R * 2 / 3 + 0.5);
    d.tn[828 - 801] = d.Cn[61 - 1];
    d.Sn[218 - 201] = linear ? ratedSpeed : static_cast<int>(R * 1.02);
    d.Cn[30 - 1] = code;

    MotorPageLimits& l = m_PageLimits;
    const int S = linear ? ratedSpeed : static_cast<int>(R * 1.5);
    l.pulsesPerRevMax = m_EncoderResolution;
    l.originOffsetMin = -(m_EncoderResolution - 1);
    l.originOffsetMax = m_EncoderResolution - 1;
    l.homingSpeedMax = ratedSpeed;
    l.torqueLimitMin = -T;
    l.torqueLimitMax = T;
    l.speedLimitForwardMax = static_cast<int>(R * 1.5);
    l.speedLimitReverseMin = static_cast<int>(R * -1.5);
    l.internalSpeedMin = linear ? -ratedSpeed : static_cast<int>(R * -1.5);
    l.internalSpeedMax = S;
    l.zeroSpeedMax = S;
    l.analogSpeedLimitMax = S;
    l.torqueInternalSpeedMax = S;
}

void MotorTables::UpdateMotorSummary(int group, int row, int encoderIndex) {
    const std::string model = MotorModelAt(group, row);
    const std::string item = EncoderSpecAt(encoderIndex);
    m_ModelName = model + item.substr(0, 1);
    m_SupplyText = MotorSupplyText(m_MotorTypeCode);
    m_MotorCode = m_MotorTypeCode + static_cast<unsigned>(m_EncoderCode);
    char text[16];
    std::snprintf(text, sizeof text, "H%04X", m_MotorCode);
    m_Cn030Text = text;
}
