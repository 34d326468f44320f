#pragma once
// Ids of the wave trace window (150), its set-up dialog (151), the record read window (262) and the
// parameter list dialog (6143), their bitmaps and texts. Channel tables run from channel 1 to 8.
#include <array>

inline constexpr int IDD_TRACE_GRAPH = 150;
inline constexpr int IDD_TRACE_SETUP = 151;
inline constexpr int IDD_TRACE_READ = 262;
inline constexpr int IDD_TRACE_PARAMETERS = 6143;

// Bitmap buttons: normal, selected, focused, disabled images.
inline constexpr int IDB_TRACE_SETTING_SELECTED = 152;
inline constexpr int IDB_TRACE_SETTING_FOCUSED = 153;
inline constexpr int IDB_TRACE_SETTING_NORMAL = 154;
inline constexpr int IDB_TRACE_SETTING_DISABLED = 155;
inline constexpr int IDB_TRACE_STOP = 156;           // START's face while running
inline constexpr int IDB_TRACE_START_SELECTED = 157; // and its face when stopped
inline constexpr int IDB_TRACE_START_NORMAL = 158;
inline constexpr int IDB_TRACE_START_DISABLED = 159;
inline constexpr int IDB_TRACE_OPEN_SELECTED = 160;
inline constexpr int IDB_TRACE_OPEN_FOCUSED = 161;
inline constexpr int IDB_TRACE_OPEN_NORMAL = 162;
inline constexpr int IDB_TRACE_OPEN_DISABLED = 163;
inline constexpr int IDB_TRACE_SAVEAS_SELECTED = 164;
inline constexpr int IDB_TRACE_SAVEAS_FOCUSED = 165;
inline constexpr int IDB_TRACE_SAVEAS_NORMAL = 166;
inline constexpr int IDB_TRACE_SAVEAS_DISABLED = 167;
inline constexpr int IDB_TRACE_SAVE_SELECTED = 168;
inline constexpr int IDB_TRACE_SAVE_FOCUSED = 169;
inline constexpr int IDB_TRACE_SAVE_NORMAL = 170;
inline constexpr int IDB_TRACE_SAVE_DISABLED = 171;
inline constexpr int IDB_TRACE_ONLINE_SELECTED = 172;
inline constexpr int IDB_TRACE_ONLINE_FOCUSED = 173;
inline constexpr int IDB_TRACE_ONLINE_NORMAL = 174;
inline constexpr int IDB_TRACE_ONLINE_DISABLED = 175;
inline constexpr int IDI_TRACE_STEP_UP = 196;
inline constexpr int IDI_TRACE_STEP_DOWN = 197;

// ---- Template 150: the right-hand panel ----
inline constexpr int IDC_TG_AUTOSAVE_TEXT = 1000;
inline constexpr int IDC_TG_SETTING = 1007;
inline constexpr int IDC_TG_AUTOSAVE_PATH_BUTTON = 1008;
inline constexpr int IDC_TG_TRIGGER_GROUP = 1015;
inline constexpr int IDC_TG_TRIGGER_METHOD_LABEL = 1016;
inline constexpr int IDC_TG_TRIGGER_METHOD = 1017;
inline constexpr int IDC_TG_TRIGGER_LEVEL = 1018;
inline constexpr int IDC_TG_TRIGGER_LEVEL_LABEL = 1019;
inline constexpr int IDC_TG_TRIGGER_EDGE_LABEL = 1020;
inline constexpr int IDC_TG_TRIGGER_POSITION_LABEL = 1021;
inline constexpr int IDC_TG_TRIGGER_PERCENT_LABEL = 1022;
inline constexpr int IDC_TG_CURSOR_GROUP = 1023;
inline constexpr int IDC_TG_CURSOR_A_LABEL = 1024;
inline constexpr int IDC_TG_CURSOR_B_LABEL = 1025;
inline constexpr int IDC_TG_CURSOR_BA_LABEL = 1026;
inline constexpr int IDC_TG_CURSOR_C_LABEL = 1027;
inline constexpr int IDC_TG_CURSOR_D_LABEL = 1028;
inline constexpr int IDC_TG_CURSOR_DC_LABEL = 1029;
inline constexpr int IDC_TG_CURSOR_FRAME = 1030;
inline constexpr int IDC_TG_CURSOR_LINE1 = 1031;
inline constexpr int IDC_TG_CURSOR_LINE2 = 1032;
inline constexpr int IDC_TG_CURSOR_AB = 1034; // radio: cursor pair A/B
inline constexpr int IDC_TG_CURSOR_CD = 1035; // radio: cursor pair C/D
inline constexpr int IDC_TG_START = 1066;
inline constexpr int IDC_TG_UNIT_NONE = 1070;
inline constexpr int IDC_TG_UNIT_TEXT = 1071;
inline constexpr int IDC_TG_READOUT_C = 1072;
inline constexpr int IDC_TG_READOUT_A_EXTRA = 1075;
inline constexpr int IDC_TG_READOUT_A = 1076;
inline constexpr int IDC_TG_READOUT_D = 1077;
inline constexpr int IDC_TG_READOUT_B_EXTRA = 1078;
inline constexpr int IDC_TG_READOUT_B = 1079;
inline constexpr int IDC_TG_READOUT_DC = 1080;
inline constexpr int IDC_TG_READOUT_BA_EXTRA = 1081;
inline constexpr int IDC_TG_READOUT_BA = 1082;
inline constexpr int IDC_TG_VALUE_UNIT_CD = 1083;
inline constexpr int IDC_TG_VALUE_UNIT_EXTRA = 1084;
inline constexpr int IDC_TG_TIME_UNIT = 1085;
inline constexpr int IDC_TG_SPEED_UNIT1 = 1086; // "[r/min/div]" 1086 .. 1091
inline constexpr int IDC_TG_COPY = 1102;
inline constexpr int IDC_TG_PARAMETERS = 1101;
inline constexpr int IDC_TG_OPEN = 1103;
inline constexpr int IDC_TG_SAVE_AS = 1104;
inline constexpr int IDC_TG_SAVE = 1065;
inline constexpr int IDC_TG_ONLINE_EDIT = 1105;
inline constexpr int IDC_TG_CURSOR1_COLOUR = 2012;
inline constexpr int IDC_TG_CURSOR2_COLOUR = 2013;
inline constexpr int IDC_TG_CURSOR3_COLOUR = 2014;
inline constexpr int IDC_TG_CURSOR4_COLOUR = 2015;
inline constexpr int IDC_TG_CURSOR_SHOW = 6003;
inline constexpr int IDC_TG_CURSOR_SECOND = 6004;
inline constexpr int IDC_TG_UNIT_LEFT = 6070;
inline constexpr int IDC_TG_UNIT_RIGHT = 6071;
inline constexpr int IDC_TG_VALUE_UNIT_COMBO = 6081;
inline constexpr int IDC_TG_CURSOR_MODE = 6159;
inline constexpr int IDC_TG_CONTROL_GROUP = 6166;
inline constexpr int IDC_TG_AUTOSAVE = 6168;
inline constexpr int IDC_TG_AUTOSAVE_PATH = 6169;
inline constexpr int IDC_TG_AUTOSAVE_FILES = 6170;
inline constexpr int IDC_TG_AUTOSAVE_UPDATE = 6171;
inline constexpr int IDC_TG_UNIT_SELECT = 6173;
inline constexpr int IDC_TG_UNIT_SELECT_LABEL = 6182;
inline constexpr int IDC_TG_CURSOR1_SWATCH = 6183; // swatches 6183 .. 6186
inline constexpr int IDC_TG_CURSOR2_SWATCH = 6184;
inline constexpr int IDC_TG_CURSOR3_SWATCH = 6185;
inline constexpr int IDC_TG_CURSOR4_SWATCH = 6186;
inline constexpr int IDC_TG_UNIT_EXTRA = 6187;

// ---- Template 150: plot, time base and selection row ----
inline constexpr int IDC_TG_ZOOM_IN = 1005;
inline constexpr int IDC_TG_ZOOM_OUT = 1006;
inline constexpr int IDC_TG_TIME_UNIT_LABEL = 1033; // "[ms/div]"
inline constexpr int IDC_TG_PLOT = 1036;
inline constexpr int IDC_TG_REDRAW = 1067;
inline constexpr int IDC_TG_TIME_SCROLL = 1069;
inline constexpr int IDC_TG_DATA1_COMBO = 2009;
inline constexpr int IDC_TG_DATA2_COMBO = 2010;
inline constexpr int IDC_TG_TIME_BASE = 2011;
inline constexpr int IDC_TG_SCALE_SHOW = 1217;
inline constexpr int IDC_TG_FIXED = 6015;
inline constexpr int IDC_TG_CHECK2 = 6020;
inline constexpr int IDC_TG_DATA_RADIO1 = 6011; // radios 6011 .. 6014 and 6025 .. 6028
inline constexpr int IDC_TG_DATA_RADIO5 = 6025;

// ---- Template 150: per channel, channel 1 .. 8 ----
inline constexpr std::array<int, 8> TraceChannelLabels = {1037, 1038, 1039, 1040, 1042, 1043, 1044, 1045};
inline constexpr std::array<int, 8> TraceChannelCaptions = {6016, 6017, 6018, 6019, 6021, 6022, 6023, 6024};
inline constexpr std::array<int, 8> TraceChannelShowChecks = {6174, 6175, 6176, 6177, 6178, 6179, 6180, 6181};
inline constexpr std::array<int, 8> TraceOffsetUpButtons = {1001, 1003, 1434, 1436, 1437, 1438, 1439, 1440};
inline constexpr std::array<int, 8> TraceOffsetDownButtons = {1002, 1004, 1435, 1011, 1012, 1013, 1014, 1041};
inline constexpr std::array<int, 8> TraceOffsetSliders = {1237, 1238, 1239, 1240, 1241, 1242, 1243, 1244};
inline constexpr std::array<int, 8> TraceOffsetZeroButtons = {6033, 6034, 6035, 6036, 6037, 6038, 6039, 6040};
inline constexpr std::array<int, 8> TraceOffsetResetButtons = {6041, 6042, 6043, 6044,
                                                               6045, 6046, 6047, 6048};
inline constexpr std::array<int, 8> TraceScaleCombos = {4002, 4003, 4004, 4005, 4006, 4007, 4008, 4009};
inline constexpr int IDC_TG_CAPTION_DATA1 = 6016; // the plot's reference point
inline constexpr int IDC_TG_SCALE_COMBO_MAIN = 4001;
inline constexpr int IDC_TG_STEP_EXTRA1 = 1062; // icon buttons 1062, 1063, 1064, 1100
inline constexpr int IDC_TG_STEP_EXTRA2 = 1063;
inline constexpr int IDC_TG_STEP_EXTRA3 = 1064;
inline constexpr int IDC_TG_STEP_EXTRA4 = 1100;

// ---- Template 262: reading a record ----
inline constexpr int IDC_TR_PROGRESS = 1036;
inline constexpr int IDC_TR_TEXT = 1038;

// ---- Template 6143: the parameter list ----
inline constexpr int IDC_TP_LIST = 1000;

// ---- Texts ----
inline constexpr int IDS_TG_OPEN_TIP = 1302;
inline constexpr int IDS_TG_SAVE_AS_TIP = 212;
inline constexpr int IDS_TG_SAVE_TIP = 213;
inline constexpr int IDS_TG_ONLINE_TIP = 214;
inline constexpr int IDS_TG_TIME_CAPTION = 62010;
inline constexpr int IDS_TG_NONE = 62023;
inline constexpr int IDS_TG_STOP_UNCONFIRMED = 18150;
inline constexpr int IDS_TG_STOP_UNCONFIRMED_CAPTION = 18151;
inline constexpr int IDS_TG_OPEN_FILTER = 62032;
inline constexpr int IDS_TG_SAVE_FILTER = 62033;
inline constexpr int IDS_TG_SAVE_FAILED = 18152;

// ---- Template 151: the trace set-up ----
inline constexpr int IDC_TS_MODE = 2018;
inline constexpr int IDC_TS_CHANNEL_COUNT = 2020;
inline constexpr std::array<int, 8> TraceSetupSourceCombos = {2009, 2010, 2011, 2012, 6173, 6175, 6177, 6179};
inline constexpr std::array<int, 8> TraceSetupColourCombos = {2013, 2014, 2015, 2016, 6174, 6176, 6178, 6180};
inline constexpr std::array<int, 8> TraceSetupSwatches = {6049, 6050, 6051, 6052, 6053, 6054, 6055, 6056};
inline constexpr std::array<int, 8> TraceSetupReverseChecks = {1217, 1218, 1219, 1220,
                                                               1221, 1222, 1223, 1224};
inline constexpr int IDC_TS_INTERVAL = 1044;
inline constexpr int IDC_TS_INTERVAL_SPIN = 1041;
inline constexpr int IDC_TS_RANGE = 4003;
inline constexpr int IDC_TS_TIME_UNIT = 1118;
inline constexpr int IDC_TS_INTERVAL_MS = 1088;
inline constexpr int IDC_TS_POINTS = 4005;
inline constexpr int IDC_TS_RECORD_MS = 1089;
inline constexpr int IDC_TS_TRIGGER_SOURCE = 2017;
inline constexpr int IDC_TS_EDGE = 4006;
inline constexpr int IDC_TS_LEVEL = 1045;
inline constexpr int IDC_TS_LEVEL_SPIN = 1150;
inline constexpr int IDC_TS_LEVEL_RANGE = 1090;
inline constexpr int IDC_TS_POSITION = 4007;
inline constexpr int IDS_TS_LONG_WORD = 18153;
inline constexpr int IDS_TG_AUTOSAVE_FOLDER_TITLE = 101;
