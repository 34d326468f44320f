#pragma once
// Ids of the online parameter editor's windows: the editor (211), the slot set dialog (214), the
// parameter pick dialog (216), their icons and texts. The row tables give each of the editor's eight
// rows its controls; digit tables run from digit 1 (units) to digit 9.
#include <array>

inline constexpr int IDD_ONLINE_EDIT = 211;
inline constexpr int IDD_ONLINE_SLOTS = 214;
inline constexpr int IDD_ONLINE_PICK = 216;

inline constexpr int IDI_ONLINE_STEP_UP = 196;
inline constexpr int IDI_ONLINE_STEP_DOWN = 197;

// Editor buttons.
inline constexpr int IDC_OE_SET = 1001;
inline constexpr int IDC_OE_OPEN = 6152;
inline constexpr int IDC_OE_SAVE = 6153;

// Slot set dialog.
inline constexpr int IDC_OS_LIST = 1000;
inline constexpr int IDC_OS_SET1 = 1001; // Set 1 .. Set 8 are 1001 .. 1008
inline constexpr int IDC_OS_SET8 = 1008;
inline constexpr int IDC_OS_CLEAR1 = 1062;
inline constexpr int IDC_OS_CLEAR2 = 1063;
inline constexpr int IDC_OS_CLEAR3 = 1064;
inline constexpr int IDC_OS_CLEAR4 = 1100;
inline constexpr int IDC_OS_CLEAR5 = 1101;
inline constexpr int IDC_OS_CLEAR6 = 1102;
inline constexpr int IDC_OS_CLEAR7 = 1103;
inline constexpr int IDC_OS_CLEAR8 = 1104;
inline constexpr std::array<int, 8> OnlineSlotClearButtons = {
    IDC_OS_CLEAR1, IDC_OS_CLEAR2, IDC_OS_CLEAR3, IDC_OS_CLEAR4,
    IDC_OS_CLEAR5, IDC_OS_CLEAR6, IDC_OS_CLEAR7, IDC_OS_CLEAR8,
};

// Pick dialog.
inline constexpr int IDC_OP_COMBO = 2009;

// Texts.
inline constexpr int IDS_OS_CODE = 61447;
inline constexpr int IDS_OS_NAME = 61448;
inline constexpr int IDS_OS_UNIT = 61450;
inline constexpr int IDS_OS_RANGE = 61451;
inline constexpr int IDS_OS_DEFAULT = 61452;
inline constexpr int IDS_OS_CLEAR_QUESTION = 61549;
inline constexpr int IDS_OS_CLEAR_CAPTION = 61550;
inline constexpr int IDS_OE_SAVE_FILTER = 63341;
inline constexpr int IDS_OE_OPEN_FILTER = 63342;
inline constexpr int IDS_OE_OVER_RANGE = 63343;
inline constexpr int IDS_OE_ERROR_CAPTION = 63344;
inline constexpr int IDS_OE_EDIT_FAILED = 63345;
inline constexpr int IDS_OE_SAVE_FAILED = 63346;
inline constexpr int IDS_OE_OPEN_FAILED = 63347;

// Editor rows: code, name, unit and range texts.
inline constexpr std::array<std::array<int, 4>, 8> OnlineRowTexts = {{
    {1109, 1110, 1111, 1015},
    {1113, 1115, 1116, 1117},
    {1119, 1120, 1124, 1125},
    {1127, 1128, 1133, 1134},
    {1140, 1141, 1146, 1147},
    {1243, 1151, 1156, 1157},
    {1206, 1207, 1213, 1214},
    {1244, 1217, 1225, 1226},
}};

// Editor rows: the 5-, 6-, 7-, 8- and 9-digit displays.
inline constexpr std::array<std::array<int, 5>, 8> OnlineRowDisplays = {{
    {1114, 1136, 1112, 1166, 1188},
    {1118, 1137, 1150, 1178, 1190},
    {1126, 1138, 1160, 1179, 1192},
    {1135, 1139, 1161, 1180, 1194},
    {1148, 1149, 1162, 1181, 1196},
    {1158, 1159, 1163, 1182, 1198},
    {1215, 1216, 1229, 1235, 1241},
    {1227, 1228, 1230, 1236, 1246},
}};

// Editor rows: the up buttons above the displays, digits 1..9.
inline constexpr std::array<std::array<int, 9>, 8> OnlineUpButtons = {{
    {1063, 1062, 1004, 1003, 1002, 1164, 1080, 1086, 1092},
    {1066, 1065, 1007, 1006, 1005, 1168, 1081, 1087, 1093},
    {1069, 1068, 1436, 1435, 1434, 1170, 1082, 1088, 1094},
    {1072, 1071, 1013, 1012, 1011, 1172, 1083, 1089, 1095},
    {1075, 1074, 1017, 1016, 1014, 1174, 1084, 1090, 1096},
    {1078, 1077, 1020, 1019, 1018, 1176, 1085, 1091, 1097},
    {1099, 1098, 1439, 1438, 1437, 1231, 1237, 1242, 1249},
    {1219, 1218, 1023, 1022, 1021, 1233, 1239, 1247, 1251},
}};

// Editor rows: the down buttons below the displays, digits 1..9.
inline constexpr std::array<std::array<int, 9>, 8> OnlineDownButtons = {{
    {1104, 1103, 1102, 1100, 1064, 1165, 1167, 1189, 1200},
    {1107, 1106, 1105, 1101, 1067, 1169, 1183, 1191, 1201},
    {1123, 1122, 1121, 1108, 1070, 1171, 1184, 1193, 1202},
    {1132, 1131, 1130, 1129, 1073, 1173, 1185, 1195, 1203},
    {1145, 1144, 1143, 1142, 1076, 1175, 1186, 1197, 1204},
    {1155, 1154, 1153, 1152, 1079, 1177, 1187, 1199, 1205},
    {1212, 1211, 1210, 1209, 1208, 1232, 1238, 1245, 1250},
    {1224, 1223, 1222, 1221, 1220, 1234, 1240, 1248, 1252},
}};
