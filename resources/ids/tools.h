#pragma once
// Ids of the position tools: the position control window and its pages, the path programming
// dialog, the program jog and the DI/DO assignment dialogs.

// --- Templates ---------------------------------------------------------------------------------------
inline constexpr int IDD_POSITION_CONTROL = 6138;
inline constexpr int IDD_POS_SYSTEM = 1015;
inline constexpr int IDD_POS_HOME = 1310;
inline constexpr int IDD_POS_MULTI = 1011;
inline constexpr int IDD_POS_MULTI_IO = 6141;
inline constexpr int IDD_PATH_PROGRAMMING = 281;
inline constexpr int IDD_PATH_PAGE1 = 282;
inline constexpr int IDD_PATH_PAGE2 = 283;
inline constexpr int IDD_PROGRAM_JOG = 193;
inline constexpr int IDD_DIO_LIST = 183;
inline constexpr int IDD_DIO_GRID = 223;

// --- Position control window -------------------------------------------------------------------------
inline constexpr int IDC_POS_TAB = 1095;

// --- System page -------------------------------------------------------------------------------------
inline constexpr int IDC_PS_PC_SVON = 1001;
inline constexpr int IDC_PS_ORG = 1002;
inline constexpr int IDC_PS_SHOME = 1003;
inline constexpr int IDC_PS_POT = 1004;
inline constexpr int IDC_PS_NOT = 1062;
inline constexpr int IDC_PS_PTRG = 1063;
inline constexpr int IDC_PS_PHOLD = 1064;
inline constexpr int IDC_PS_INP = 1100;
inline constexpr int IDC_PS_SVON = 1101;
inline constexpr int IDC_PS_CHECK_PC_SVON = 1217;
inline constexpr int IDC_PS_CHECK_ORG = 1218;
inline constexpr int IDC_PS_CHECK_SHOME = 1219;
inline constexpr int IDC_PS_CHECK_POT = 1220;
inline constexpr int IDC_PS_CHECK_NOT = 1221;
inline constexpr int IDC_PS_CHECK_PTRG = 1222;
inline constexpr int IDC_PS_CHECK_PHOLD = 1223;
inline constexpr int IDC_PS_CHECK_SVON = 1224;
inline constexpr int IDC_PS_WRITE_MODE = 1015;
inline constexpr int IDC_PS_ALL = 1016;

// --- Homing page -------------------------------------------------------------------------------------
inline constexpr int IDC_HM_MODE = 1009;
inline constexpr int IDC_HM_HIGH_SPEED = 1010;
inline constexpr int IDC_HM_LOW_SPEED = 1011;
inline constexpr int IDC_HM_HIGH_RANGE = 1117;
inline constexpr int IDC_HM_LOW_RANGE = 1125;
inline constexpr int IDC_HM_WRITE = 1003;
inline constexpr int IDC_HM_SERVO = 1001;
inline constexpr int IDC_HM_SHOME = 1002;
inline constexpr int IDC_HM_ORG = 1004;
inline constexpr int IDC_HM_POT = 1062;
inline constexpr int IDC_HM_NOT = 1063;

// --- Multi-position pages ----------------------------------------------------------------------------
inline constexpr int IDC_MP_ABSOLUTE = 1034;
inline constexpr int IDC_MP_RELATIVE = 1035;
inline constexpr int IDC_MP_VIRTUAL_IO = 1036;
inline constexpr int IDC_MP_HARDWARE_IO = 1037;
inline constexpr int IDC_MP_UNITS = 1044;
inline constexpr int IDC_MP_PULSES = 2009;
inline constexpr int IDC_MP_TARGET1 = 1020;
inline constexpr int IDC_MP_SECOND = 1217;
inline constexpr int IDC_MP_TARGET2 = 1019;
inline constexpr int IDC_MP_SPEED1 = 1023;
inline constexpr int IDC_MP_SPEED2 = 1024;
inline constexpr int IDC_MP_CYCLES = 1018;
inline constexpr int IDC_MP_DWELL = 1017;
inline constexpr int IDC_MP_DWELL2 = 1026;
inline constexpr int IDC_MP_DWELL2_LABEL = 1025;
inline constexpr int IDC_MP_CYCLIC = 1218;
inline constexpr int IDC_MP_WRITE = 1003;
inline constexpr int IDC_MP_START = 6022;
inline constexpr int IDC_MP_ENABLE = 1021;
inline constexpr int IDC_MP_EMC = 1022;
inline constexpr int IDC_MP_PHOLD = 1128;

// --- Strings -----------------------------------------------------------------------------------------
inline constexpr int IDS_POS_TAB_SYSTEM = 102;
inline constexpr int IDS_POS_TAB_HOME = 103;
inline constexpr int IDS_POS_TAB_MULTI = 104;
inline constexpr int IDS_POS_OTHER_PAGE_RUNNING = 167;
inline constexpr int IDS_POS_START = 171;
inline constexpr int IDS_POS_FIRST_OUT_OF_RANGE = 173;
inline constexpr int IDS_POS_SECOND_OUT_OF_RANGE = 174;
inline constexpr int IDS_POS_RESTART_QUESTION = 175;
inline constexpr int IDS_POS_MODE_WRITTEN = 176;
inline constexpr int IDS_POS_ENABLE = 1015;
inline constexpr int IDS_POS_DISABLE = 1016;
inline constexpr int IDS_POS_EMC = 1032;
inline constexpr int IDS_POS_PHOLD = 1033;
inline constexpr int IDS_POS_CONTINUE = 1034;
inline constexpr int IDS_POS_WRITE_FINISH = 1304;
inline constexpr int IDS_POS_WRITE_FAILED = 1306; // the string is the tuning windows' "Write Failed!"
inline constexpr int IDS_POS_PATH_PLANNING = 61639;
inline constexpr int IDS_POS_STOP = 63363;

// --- Internal position command programming ---------------------------------------------------------
inline constexpr int IDC_PC_TAB = 1095;
inline constexpr int IDC_PC_ABSOLUTE = 1034;
inline constexpr int IDC_PC_RELATIVE = 1035;
inline constexpr int IDC_PC_PHOLD_RESUME = 1036;
inline constexpr int IDC_PC_PHOLD_CURRENT = 1037;
inline constexpr int IDC_PC_SMOOTHING = 1092;
inline constexpr int IDC_PC_SMOOTHING_SPIN = 1041;
inline constexpr int IDC_PC_REVOLUTIONS_FIRST = 1044; // row r at + r
inline constexpr int IDC_PC_PULSES_FIRST = 1060;
inline constexpr int IDC_PC_SPEED_FIRST = 1076;
inline constexpr int IDC_PC_REVOLUTIONS_SPIN_FIRST = 1150;
inline constexpr int IDC_PC_PULSES_SPIN_FIRST = 1182;
inline constexpr int IDC_PC_SPEED_SPIN_FIRST = 1198;
inline constexpr int IDS_PC_SMOOTHING_NAME = 62046;

// --- DI/DO contact assignment ------------------------------------------------------------------------
inline constexpr int IDB_DIO_NONE = 224;
inline constexpr int IDB_DIO_CONTACT_B = 225;
inline constexpr int IDB_DIO_CONTACT_A = 226;
inline constexpr int IDC_DIO_INPUTS = 1034;
inline constexpr int IDC_DIO_OUTPUTS = 1035;
inline constexpr int IDC_DIO_FRAME = 1098;
inline constexpr int IDC_DIO_LEGEND_B = 1165;
inline constexpr int IDC_DIO_LEGEND_A = 1130;
inline constexpr int IDC_DIO_NOTE = 1166;
inline constexpr int IDC_DIO_INPUT_CODE_FIRST = 1131;   // 1131..1143 Hn601..Hn613
inline constexpr int IDC_DIO_INPUT_NAME_FIRST = 1144;   // 1144..1156 DI-1..DI-13
inline constexpr int IDC_DIO_OUTPUT_CODE_FIRST = 1161;  // 1161..1164 Hn613..Hn616
inline constexpr int IDC_DIO_OUTPUT_CODE_SECOND = 1175; // 1175..1178 Hn619..Hn622
inline constexpr int IDC_DIO_OUTPUT_NAME_FIRST = 1157;  // 1157..1160 DO-1..DO-4
inline constexpr int IDC_DIO_OUTPUT_NAME_SECOND = 1171; // 1171..1174 DO-5..DO-8
inline constexpr int IDC_DIO_CAPTION = 1001;
