#pragma once
// Ids of the monitor windows (alarms, diagnostics, life prediction, status display list), the
// status-bar set-up, Project Mode and RAM editor dialogs, and the alarm name strings.

// Dialog templates.
inline constexpr int IDD_MONITOR_DIAGNOSTICS = 140;
inline constexpr int IDD_MONITOR_ALARMS = 143;
inline constexpr int IDD_EDIT_RAM = 192;
inline constexpr int IDD_MONITOR_UN_LIST = 279;
inline constexpr int IDD_STATUSBAR_SET = 1016;
inline constexpr int IDD_PROJECT_MODE = 6018;
inline constexpr int IDD_MONITOR_LIFE = 6134;

// Alarm window: number column 1015..1024, name column 1025..1034, buttons.
inline constexpr int IDC_ALARM_NUMBER_FIRST = 1015;
inline constexpr int IDC_ALARM_NAME_FIRST = 1025;
inline constexpr int IDC_ALARM_CLEAR = 1001;
inline constexpr int IDC_ALARM_UPDATE = 1002;

// Diagnostics window: item texts, terminal labels and terminal states.
inline constexpr int IDC_DIAG_ITEM_FIRST = 1015; // dn-01 .. dn-04 at 1015 .. 1018
inline constexpr int IDC_DIAG_ITEM_8 = 1061;
inline constexpr int IDC_DIAG_ITEM_9 = 1062;
inline constexpr int IDC_DIAG_ITEM_14 = 6162;
inline constexpr int IDC_DIAG_ITEM_14_LABEL = 6163;
inline constexpr int IDC_DIAG_ITEM_14_UNIT = 6164;
inline constexpr int IDC_DIAG_INPUT_STATE_FIRST = 1019;  // S1 .. S13
inline constexpr int IDC_DIAG_OUTPUT_STATE_FIRST = 1032; // R1 .. R8
inline constexpr int IDC_DIAG_INPUT_LABEL_FIRST = 1040;  // S1 .. S13
inline constexpr int IDC_DIAG_OUTPUT_LABEL_FIRST = 1053; // R1 .. R8

// Life prediction: the labels under the four gauges.
inline constexpr int IDC_LIFE_LABEL_FIRST = 1015;

// Status display list: per row a value static, name static, code combo, check box and unit.
inline constexpr int IDC_UNLIST_VALUE_FIRST = 1015;
inline constexpr int IDC_UNLIST_NAME_FIRST = 1035;
inline constexpr int IDC_UNLIST_COMBO_FIRST = 2009;
inline constexpr int IDC_UNLIST_CHECK_FIRST = 1217;
inline constexpr int IDC_UNLIST_UNIT_FIRST = 1173; // rows 0..7; rows 8..19 at 1181..1192
inline constexpr int IDC_UNLIST_UNIT_SECOND = 1181;
inline constexpr int IDC_UNLIST_CLEAR = 1001;
inline constexpr int IDC_UNLIST_ALL = 1002;
inline constexpr int IDC_UNLIST_SAVE_DATA = 1055;
inline constexpr int IDC_UNLIST_OPEN_SET = 6152;
inline constexpr int IDC_UNLIST_SAVE_SET = 6153;

// Project Mode and RAM editor.
inline constexpr int IDC_PROJECT_MODE_CODE = 6151;
inline constexpr int IDC_RAM_WRITE = 1003;
inline constexpr int IDC_RAM_READ_SAVE = 1004;
inline constexpr int IDC_RAM_OPEN_WRITE = 6152;

// "Normal": the name of alarm code 0.
inline constexpr int IDS_ALARM_NORMAL = 61477;

// Status bar set-up: the combos of "Field 1" .. "Field 9".
inline constexpr int IDC_STATUSBAR_FIELD_FIRST = 2009;
