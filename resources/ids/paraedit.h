#pragma once
// Ids of the parameter editor window: its template, controls, legend bitmaps and texts.

inline constexpr int IDD_PARAEDIT = 130;

// Controls.
inline constexpr int IDC_PE_LIST = 1000;
inline constexpr int IDC_PE_SELECT_ALL = 1001;
inline constexpr int IDC_PE_EDIT = 1002;
inline constexpr int IDC_PE_WRITE = 1003;
inline constexpr int IDC_PE_READ = 1004;
inline constexpr int IDC_PE_SET_DEFAULT = 1005;
inline constexpr int IDC_PE_COMPARE = 1006;
inline constexpr int IDC_PE_SET_TITLE = 1007;
inline constexpr int IDC_PE_CHANGE = 1008;
inline constexpr int IDC_PE_TAB = 1204;
inline constexpr int IDC_PE_LEGEND_ICON1 = 4011;
inline constexpr int IDC_PE_LEGEND_ICON2 = 4012;
inline constexpr int IDC_PE_LEGEND_ICON3 = 4013;
inline constexpr int IDC_PE_LEGEND_ICON4 = 4014;
inline constexpr int IDC_PE_LEGEND_TEXT1 = 1025;
inline constexpr int IDC_PE_LEGEND_TEXT2 = 1026;
inline constexpr int IDC_PE_LEGEND_TEXT3 = 1027;
inline constexpr int IDC_PE_LEGEND_TEXT4 = 1028;
inline constexpr int IDC_PE_CPU_VERSION = 6168;
inline constexpr int IDC_PE_ASIC_VERSION = 6169;
inline constexpr int IDC_PE_MCU_VERSION = 6170;

// Property icons: the table's image list (first: both restart and no-reset) and the legend.
inline constexpr int IDB_PE_PROPERTY_BOTH = 4035;
inline constexpr int IDB_PE_PROPERTY_RESTART = 6093;
inline constexpr int IDB_PE_PROPERTY_IMMEDIATE = 6095;
inline constexpr int IDB_PE_PROPERTY_NO_RESET = 6097;
inline constexpr int IDB_PE_PROPERTY_SERVO_OFF = 6098;

// Texts.
inline constexpr int IDS_PE_CUSTOM_DISPLAY = 200;
inline constexpr int IDS_PE_COMPARE_TABLE = 204;
inline constexpr int IDS_PE_SET_DEFAULT_QUESTION = 61547;
inline constexpr int IDS_PE_SET_DEFAULT_CAPTION = 61548;
inline constexpr int IDS_PE_ERROR_MESSAGE = 61552;
inline constexpr int IDS_PE_NOTHING_SELECTED = 61554;
inline constexpr int IDS_PE_CN029_ALONE = 61881;
inline constexpr int IDS_PE_WRITE_CAPTION = 61882;
inline constexpr int IDS_PE_WRITING = 61883;
inline constexpr int IDS_PE_WRITE_DONE = 61885;
inline constexpr int IDS_PE_WRITE_MESSAGE = 61886;
inline constexpr int IDS_PE_RESTART_NOTICE = 61887;
inline constexpr int IDS_PE_READ_CAPTION = 61889;
inline constexpr int IDS_PE_READING = 61890;
inline constexpr int IDS_PE_READ_QUESTION = 61895;
inline constexpr int IDS_PE_READ_QUESTION_CAPTION = 61896;
inline constexpr int IDS_PE_SAVE_CAPTION = 61897;
inline constexpr int IDS_PE_OVER_RANGE_RED = 63816;
inline constexpr int IDS_PE_NOT_WRITTEN_MODBUS = 62990;
inline constexpr int IDS_PE_NOT_READ_MODBUS = 62991;
