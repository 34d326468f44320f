#pragma once
// Ids of the self-built motor, pole alignment and accessories windows (resources/motortools.rc).

// Self-built motor dialog and its three pages.
inline constexpr int IDD_SELF_BUILT_MOTOR = 6011;
inline constexpr int IDD_MOTOR_ROTARY_PAGE = 6009;
inline constexpr int IDD_MOTOR_LINEAR_PAGE = 195;
inline constexpr int IDD_MOTOR_RECORD_PAGE = 6144;
inline constexpr int IDC_MOTOR_PAGE_FRAME = 1015;
inline constexpr int IDC_MOTOR_ROTARY = 6026; // first of the three motor type radios
inline constexpr int IDC_MOTOR_LINEAR = 6027;
inline constexpr int IDC_MOTOR_RECORD = 6028;
inline constexpr int IDC_MOTOR_WRITE = 1003;
inline constexpr int IDC_MOTOR_OPEN = 6152;
inline constexpr int IDC_MOTOR_SAVE = 6153;
inline constexpr int IDC_MOTOR_ONE16 = 6087;

// Fields of the pages (the same id means the same field on each page that has it).
inline constexpr int IDC_MOTOR_ID = 6092;
inline constexpr int IDC_MOTOR_RATED_SPEED = 6091;
inline constexpr int IDC_MOTOR_POLE_PAIRS = 6088;
inline constexpr int IDC_MOTOR_RATED_CURRENT = 6076; // rotary and linear: 6076..6081 the constants
inline constexpr int IDC_MOTOR_MAX_CURRENT = 6082;
inline constexpr int IDC_MOTOR_POLE_PITCH = 6083;
inline constexpr int IDC_MOTOR_RESOLUTION = 6084;
inline constexpr int IDC_MOTOR_MAX_SPEED = 6173;
inline constexpr int IDC_MOTOR_ENCODER = 1130;
inline constexpr int IDC_MOTOR_DC_VOLTAGE = 1131;
// Values now in the drive.
inline constexpr int IDC_MOTOR_NOW_MODEL = 6021;
inline constexpr int IDC_MOTOR_NOW_SPEED = 6090;
inline constexpr int IDC_MOTOR_NOW_POLES = 6089;
inline constexpr int IDC_MOTOR_NOW_CURRENT = 6070; // 6070..6075 the constants
inline constexpr int IDC_MOTOR_NOW_MAX_CURRENT = 6053;
inline constexpr int IDC_MOTOR_NOW_PITCH = 6054;
inline constexpr int IDC_MOTOR_NOW_RESOLUTION = 6055;
inline constexpr int IDC_MOTOR_NOW_VOLTAGE = 6056;
inline constexpr int IDC_MOTOR_NOW_ENCODER = 1129;
inline constexpr int IDC_MOTOR_NOW_MAX_SPEED = 6174;

// Encoder record page.
inline constexpr int IDC_RECORD_MANUFACTURER = 6201;
inline constexpr int IDC_RECORD_SERIES = 6202;
inline constexpr int IDC_RECORD_YEAR = 6203;
inline constexpr int IDC_RECORD_WEEK = 6204;
inline constexpr int IDC_RECORD_VERSION = 6205;
inline constexpr int IDC_RECORD_VOLTAGE = 2009;
inline constexpr int IDC_RECORD_CURRENT = 6080; // 6080..6085 the constants
inline constexpr int IDC_RECORD_MAX_CURRENT = 6086;
inline constexpr int IDC_RECORD_FACTORY = 6176;
inline constexpr int IDC_RECORD_CRC = 6206;
// The record stored in the encoder.
inline constexpr int IDC_STORED_MANUFACTURER = 6188;
inline constexpr int IDC_STORED_SERIES = 6189;
inline constexpr int IDC_STORED_YEAR_WEEK = 6190;
inline constexpr int IDC_STORED_MOTOR_ID = 6191;
inline constexpr int IDC_STORED_VERSION = 6192;
inline constexpr int IDC_STORED_VOLTAGE = 6193;
inline constexpr int IDC_STORED_ENCODER = 6194;
inline constexpr int IDC_STORED_SPEED = 6195;
inline constexpr int IDC_STORED_POLES = 6196;
inline constexpr int IDC_STORED_CURRENT = 6197; // 6197..6200 rated current .. ke
inline constexpr int IDC_STORED_KT = 6208;
inline constexpr int IDC_STORED_JM = 6209;
inline constexpr int IDC_STORED_MAX_CURRENT = 6210;
inline constexpr int IDC_STORED_MAX_SPEED = 6175;
inline constexpr int IDC_STORED_FACTORY = 6211;
inline constexpr int IDC_STORED_CRC = 6207;

// Encoder magnetic pole alignment.
inline constexpr int IDD_POLE_ALIGNMENT = 6013;
inline constexpr int IDC_POLE_STATUS = 6027;
inline constexpr int IDC_POLE_LEVEL = 1044;
inline constexpr int IDC_POLE_START = 6022;
inline constexpr int IDC_POLE_CLOSE = 6023;

// Accessories selection.
inline constexpr int IDD_ACCESSORIES_SELECT = 6130;
inline constexpr int IDC_ACCESSORY_SERIES = 2009;
inline constexpr int IDC_ACCESSORY_DRIVE = 2010;
inline constexpr int IDC_ACCESSORY_MOTOR = 2011;
inline constexpr int IDC_ACCESSORY_ENCODER = 2012;
inline constexpr int IDC_ACCESSORY_DRIVE_TEXT = 6251;
inline constexpr int IDC_ACCESSORY_MOTOR_TEXT = 6252;
inline constexpr int IDC_ACCESSORY_LIST = 1000;

// Strings.
inline constexpr int IDS_PAR_SAVE_FILTER = 63332;
inline constexpr int IDS_PAR_OPEN_FILTER = 63333;
