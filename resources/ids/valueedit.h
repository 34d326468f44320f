#pragma once
// Ids of the special value editors' resources.

// Dialog templates.
inline constexpr int IDD_VE_CN002 = 131;       // CCn002Dlg
inline constexpr int IDD_VE_CN015 = 138;       // CEditCn015Dialog
inline constexpr int IDD_VE_CN026 = 189;       // CCn026ComDlg
inline constexpr int IDD_VE_VALUE = 218;       // CEditValueDialog
inline constexpr int IDD_VE_FNP65 = 266;       // CFnP65Dlg
inline constexpr int IDD_VE_FNH01 = 267;       // CFnH01Dlg
inline constexpr int IDD_VE_CN006 = 268;       // CCn006Dlg
inline constexpr int IDD_VE_CN037 = 272;       // CEditCn037Dialog
inline constexpr int IDD_VE_FNP01 = 276;       // CFnP01APDlg
inline constexpr int IDD_VE_FNH17 = 277;       // CFnH17Dlg
inline constexpr int IDD_VE_CN031 = 1240;      // CCn031APDlg
inline constexpr int IDD_VE_PN316 = 1241;      // CPn316APDlg
inline constexpr int IDD_VE_CN001 = 1242;      // CEditValueEPDialog
inline constexpr int IDD_VE_CN054 = 1247;      // CEditCn054Dialog
inline constexpr int IDD_VE_PARACOMBO = 1253;  // CParaComboDlg
inline constexpr int IDD_VE_VALUE_LONG = 1254; // CEditValueLongDialog
inline constexpr int IDD_VE_PN345 = 1255;      // CPn345Dlg
inline constexpr int IDD_VE_CN005 = 1256;      // CCn005Dialog
inline constexpr int IDD_VE_16BIT = 6136;      // CPara16BITDlg

// Controls shared by the templates.
inline constexpr int IDC_VE_SET_MODEL = 1001;
inline constexpr int IDC_VE_RANGE = 1013;
inline constexpr int IDC_VE_RANGE_DIGIT0 = 1014;
inline constexpr int IDC_VE_RANGE_DIGIT1 = 1015;
inline constexpr int IDC_VE_SPIN = 1041;
inline constexpr int IDC_VE_VALUE = 1044;
inline constexpr int IDC_VE_LEVEL = 1050;
inline constexpr int IDC_VE_GAIN_PN310 = 1053;
inline constexpr int IDC_VE_GAIN_SN211 = 1054;
inline constexpr int IDC_VE_GAIN_SN212 = 1055;
inline constexpr int IDC_VE_CODE = 1109;
inline constexpr int IDC_VE_TITLE = 1110;
inline constexpr int IDC_VE_HEX = 1113;
inline constexpr int IDC_VE_BIT_OFF_PICTURE = 1115;
inline constexpr int IDC_VE_BIT_ON_PICTURE = 1116;
inline constexpr int IDC_VE_UNIT = 1118;
inline constexpr int IDC_VE_DIGIT2_LABEL = 1119;
inline constexpr int IDC_VE_EXPLANATION = 1123;
inline constexpr int IDC_VE_DIGIT3_LABEL = 1127;
inline constexpr int IDC_VE_CODE2 = 1143;
inline constexpr int IDC_VE_PIN_LABEL = 1144;
inline constexpr int IDC_VE_FUNCTION_LABEL = 1145;
inline constexpr int IDC_VE_FUNCTION_CAPTION = 1146;
inline constexpr int IDC_VE_LEVEL_CAPTION = 1147;
inline constexpr int IDC_VE_ALARM_BIT0 = 1217;     // .. 1232 for bits 0..15
inline constexpr int IDC_VE_ALARM_PICTURE0 = 1248; // .. 1263
inline constexpr int IDC_VE_COMBO0 = 2009;         // digit (or bit) 0; 2010.. for the next ones
inline constexpr int IDC_VE_COMBO_TEXT_CODE = 6000;
inline constexpr int IDC_VE_COMBO_TEXT_TITLE = 6001;
inline constexpr int IDC_VE_COMBO_TEXT_DIGIT0 = 6002;  // .. 6005
inline constexpr int IDC_VE_COMBO_LABEL_DIGIT3 = 6006; // 6006..6009 show the code with .3 .. .0
inline constexpr int IDC_VE_DIVIDING_TABLE = 6006;
inline constexpr int IDC_VE_GAIN_CN034 = 6172;

// Strings.
inline constexpr int IDS_VE_CN006_OPTION0 = 61514; // .. 61525: the analog monitor choices 0..B
inline constexpr int IDS_VE_OUT_OF_RANGE = 46200;
