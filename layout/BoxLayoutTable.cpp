#include "layout/BoxLayoutTable.h"

// Control ids of template 6140 (resources/ids/box.h names them), grouped by their pair of modes:
// the right-hand panel moves right, the bottom strip moves down, the plot area and the sliders
// stretch, the channel selection row and the left columns' heads stay.
namespace {
constexpr AxisMode F = AxisMode::Fixed;
constexpr AxisMode M = AxisMode::Move;
constexpr AxisMode S = AxisMode::Stretch;
} // namespace

const std::array<LayoutEntry, kBoxLayoutEntries> BoxLayoutTable = {{
    {1007, M, F}, {1066, M, F}, {1015, M, F}, {1016, M, F}, {1019, M, F}, {1020, M, F}, {1021, M, F},
    {1022, M, F}, {1023, M, F}, {1030, M, F}, {1031, M, F}, {1032, M, F}, {2012, M, F}, {2013, M, F},
    {6003, M, F}, {1024, M, F}, {1025, M, F}, {1026, M, F}, {1076, M, F}, {1079, M, F}, {1082, M, F},
    {2014, M, F}, {2015, M, F}, {6004, M, F}, {6159, M, F}, {1027, M, F}, {1028, M, F}, {1029, M, F},
    {1072, M, F}, {1077, M, F}, {1080, M, F}, {1085, M, F}, {1083, M, F}, {6081, M, F}, {1070, M, F},
    {1071, M, F}, {6070, M, F}, {6071, M, F}, {1434, M, F}, {1436, M, F}, {1039, M, F}, {1040, M, F},
    {6013, M, F}, {6014, M, F}, {1067, F, M}, {1102, F, M}, {1103, F, M}, {1104, F, M}, {1065, F, M},
    {1105, F, M}, {2011, F, M}, {1033, F, M}, {1005, F, M}, {1006, F, M}, {1002, F, M}, {1004, F, M},
    {6033, F, M}, {6034, F, M}, {6168, F, M}, {6169, F, M}, {6170, F, M}, {6171, F, M}, {1000, F, M},
    {1008, F, M}, {1037, F, F}, {1038, F, F}, {4002, F, F}, {6017, F, F}, {4003, F, F}, {6018, F, F},
    {4004, F, F}, {6019, F, F}, {4005, F, F}, {6015, F, F}, {1001, F, F}, {1003, F, F}, {6011, F, F},
    {6012, F, F}, {1435, M, M}, {1011, M, M}, {6035, M, M}, {6036, M, M}, {1237, F, S}, {1238, F, S},
    {1239, M, S}, {1240, M, S}, {1069, S, M}, {1036, S, S},
}};

std::array<LayoutRecord, kBoxLayoutEntries>& BoxLayoutRecords() {
    static std::array<LayoutRecord, kBoxLayoutEntries> records{};
    return records;
}
