#pragma once
// Ids of the parameter editor's dialogs: display set, add/remove, comparison selection and result,
// custom address window.

// Display set.
inline constexpr int IDD_PD_DISPLAY_SET = 221;
inline constexpr int IDC_PD_TYPE_GROUPS = 1034; // first of the three display-type radios
inline constexpr int IDC_PD_TYPE_MODES = 1035;
inline constexpr int IDC_PD_TYPE_CUSTOM = 1036;
inline constexpr int IDC_PD_ADD_REMOVE = 1001;
inline constexpr int IDC_PD_CHOICE_FIRST = 1217; // All; 1217..1232 in the order of the choice flags
inline constexpr int IDC_PD_CHOICE_LAST = 1232;

// Add/remove.
inline constexpr int IDD_PD_ADD_REMOVE = 190;
inline constexpr int IDC_PD_ALL_LIST = 1000;
inline constexpr int IDC_PD_ADD = 1001;
inline constexpr int IDC_PD_REMOVE = 1002;
inline constexpr int IDC_PD_ADD_ALL = 1003;
inline constexpr int IDC_PD_REMOVE_ALL = 1004;
inline constexpr int IDC_PD_CUSTOM_LIST = 1061;
inline constexpr int IDC_PD_UP = 1062;
inline constexpr int IDC_PD_DOWN = 1063;

// Comparison result.
inline constexpr int IDD_PD_COMPARE = 139;
inline constexpr int IDC_PD_COMPARE_LIST = 1000;
inline constexpr int IDC_PD_COMPARE_SAVE = 1001;

// Comparison selection.
inline constexpr int IDD_PD_COMPARE_SELECT = 6028;
inline constexpr int IDC_PD_MODE_DRIVE = 1034; // first of the four mode radios
inline constexpr int IDC_PD_MODE_DEFAULTS = 1035;
inline constexpr int IDC_PD_MODE_FILE = 1036;
inline constexpr int IDC_PD_MODE_FILES = 1037;
inline constexpr int IDC_PD_FILE_PATH = 1044;
inline constexpr int IDC_PD_FILE1_PATH = 1045;
inline constexpr int IDC_PD_FILE2_PATH = 1046;
inline constexpr int IDC_PD_FILE = 1001;
inline constexpr int IDC_PD_FILE1 = 1003;
inline constexpr int IDC_PD_FILE2 = 1004;
inline constexpr int IDC_PD_OPEN_ARCHIVE = 1002;

// Custom address window.
inline constexpr int IDD_PD_CUSTOM_ADDRESS = 6019;
inline constexpr int IDC_PD_ADDRESS_LIST = 1061;
inline constexpr int IDC_PD_ADDRESS_READ = 1004;
inline constexpr int IDC_PD_ADDRESS_WRITE = 1003;
inline constexpr int IDC_PD_ADDRESS_OPEN = 6152;
inline constexpr int IDC_PD_ADDRESS_SAVE = 6153;
inline constexpr int IDC_PD_BASE_DEX = 1034; // first of the two number-base radios
inline constexpr int IDC_PD_BASE_HEX = 1035;
inline constexpr int IDC_PD_KEEP_READING = 6161;

// Texts.
inline constexpr int IDS_PD_COMPARE_SAVE_FILTER = 1300;
inline constexpr int IDS_PD_COMPARE_OPEN_FILTER = 1301;
inline constexpr int IDS_PD_FILE_FORMAT = 1303;
inline constexpr int IDS_PD_DOCUMENT_FILTER = 61687;
inline constexpr int IDS_PD_COMPARE_CAPTION = 61891;
inline constexpr int IDS_PD_NO_DIFFERENCE = 61892;
inline constexpr int IDS_PD_READ_VALUE = 61893;
inline constexpr int IDS_PD_EDIT_VALUE = 61894;
inline constexpr int IDS_PD_SERIES_MISMATCH = 62195;
inline constexpr int IDS_PD_COMPARING = 63334;
inline constexpr int IDS_PD_COLUMN_NO = 62802;
inline constexpr int IDS_PD_COLUMN_ADDRESS = 62803;
inline constexpr int IDS_PD_COLUMN_VALUE = 62804;
inline constexpr int IDS_PD_ADDRESS_SAVE_FILTER = 62805;
inline constexpr int IDS_PD_ADDRESS_OPEN_FILTER = 62806;
