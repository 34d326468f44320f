#pragma once
// Ids of the mechanical characteristic analysis: the analysis window (102) with its read window (228)
// and the resonance notch filter set (229). The up and down icons are the online editor's (196, 197).

// ---- Analysis window -------------------------------------------------------------------------------
inline constexpr int IDD_FRA = 102;
inline constexpr int IDC_FRA_RESONANCE = 1001;
inline constexpr int IDC_FRA_ANTI_RESONANCE = 1002;
inline constexpr int IDC_FRA_LOAD_TORQUE = 1003;
inline constexpr int IDC_FRA_GAIN_SCALE = 1004;
inline constexpr int IDC_FRA_PHASE_SCALE = 1005;
inline constexpr int IDC_FRA_RESONANCE_GAIN = 1010;
inline constexpr int IDC_FRA_ANTI_RESONANCE_GAIN = 1017;
inline constexpr int IDC_FRA_RESONANCE_PHASE = 1018;
inline constexpr int IDC_FRA_ANTI_RESONANCE_PHASE = 1019;
inline constexpr int IDC_FRA_PROPORTION_COMBO = 1020;
inline constexpr int IDC_FRA_COPY = 1102;
inline constexpr int IDC_FRA_NOTCH_SET = 1154;
inline constexpr int IDC_FRA_GAIN_UP = 1156;
inline constexpr int IDC_FRA_GAIN_DOWN = 1157;
inline constexpr int IDC_FRA_PHASE_UP = 1158;
inline constexpr int IDC_FRA_PHASE_DOWN = 1159;
inline constexpr int IDC_FRA_CURSORS = 1161;
inline constexpr int IDC_FRA_PROPORTION = 1163;

// ---- Read window -----------------------------------------------------------------------------------
inline constexpr int IDD_FRA_READ = 228;

// ---- Resonance notch filter set ----------------------------------------------------------------------
inline constexpr int IDD_FAR_FILTER_SETUP = 229;
inline constexpr int IDC_FAR_FIRST_EDIT = 1155;    // 1155..1169 in table order
inline constexpr int IDC_FAR_FIRST_CURRENT = 6154; // 6154..6168 in table order

// ---- Strings -----------------------------------------------------------------------------------------
inline constexpr int IDS_FRA_SERVO_ON = 47300;
inline constexpr int IDS_FRA_CAPTION = 47301;
inline constexpr int IDS_FRA_ALARM = 47302;
inline constexpr int IDS_FRA_NO_TORQUE = 47303;
inline constexpr int IDS_FRA_TORQUE_RANGE = 47304;
inline constexpr int IDS_FRA_SETTING_FAILED = 47305;
inline constexpr int IDS_FRA_WAIT_CAPTION = 47306;
inline constexpr int IDS_FRA_WAIT_TIMEOUT = 47307;
inline constexpr int IDS_FRA_SCALE_FAILED = 47308;
inline constexpr int IDS_FRA_FILE_FAILED = 47309;
inline constexpr int IDS_FRA_FILE_CAPTION = 47310;
inline constexpr int IDS_FRA_BAD_RECORD = 47311;
inline constexpr int IDS_FRA_WAIT_TIMEOUT_UNDONE_REFUSED = 47312;
inline constexpr int IDS_FAR_RANGE_FIRST = 47320; // 47320..47334 in table order
inline constexpr int IDS_FAR_ERROR_CAPTION = 47335;
