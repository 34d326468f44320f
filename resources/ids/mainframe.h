#pragma once
// Ids of the main frame's own resources: the status-bar texts, the window titles by series, the
// link messages, the port choice dialog and the About box.

// Dialogs.
inline constexpr int IDD_ABOUTBOX = 100;
inline constexpr int IDD_LINK_COM_PORT = 166;
inline constexpr int IDC_ABOUT_VERSION = 1097;
inline constexpr int IDC_LINK_PORT_COMBO = 2009;
inline constexpr int IDC_LINK_BAUD_COMBO = 2010;

// Status-bar pane texts (the pane ids are the string ids of their prefixes).
inline constexpr int IDS_PANE_SERVO_STATUS = 61496;
inline constexpr int IDS_PANE_NO_CONTROL = 61497;
inline constexpr int IDS_PANE_VERSION = 61498;
inline constexpr int IDS_PANE_SERVO_OFFLINE = 61499;
inline constexpr int IDS_PANE_TYPE = 61500;
inline constexpr int IDS_PANE_MOTOR_TYPE = 61501;
inline constexpr int IDS_PANE_MESSAGE = 61502;
inline constexpr int IDS_PANE_POSITION = 61503;
inline constexpr int IDS_PANE_ALARM = 61504;
inline constexpr int IDS_PANE_SERVO_ONLINE = 61545;
inline constexpr int IDS_PANE_SERVO_ON = 61684;
inline constexpr int IDS_PANE_SERVO_OFF = 61685;
inline constexpr int IDS_PANE_CONTROL_SUFFIX = 61686;
inline constexpr int IDS_PANE_ACTUAL_SPEED = 178;
inline constexpr int IDS_PANE_ACTUAL_POSITION = 179;
inline constexpr int IDS_PANE_POWER_NG = 180;
inline constexpr int IDS_PANE_POWER_NORMAL = 181;
inline constexpr int IDS_PANE_LIMIT_NORMAL = 182;

// Link messages.
inline constexpr int IDS_COMMUNICATION_MESSAGE = 61679;
inline constexpr int IDS_PC_SERVO_ERROR = 61680;
inline constexpr int IDS_COMMUNICATE_ERROR = 61681;
inline constexpr int IDS_CANT_OPEN_PORT = 61682;
inline constexpr int IDS_DISCONNECT = 61546;
inline constexpr int IDS_SERIES_MISMATCH = 62194;
inline constexpr int IDS_USB_REMOVED = 1305;

// Documents and files.
inline constexpr int IDS_NEW_PROJECT = 61495;
inline constexpr int IDS_SAVE_QUESTION = 61638;
inline constexpr int IDS_DOCUMENT_FILTER = 61688;
inline constexpr int IDS_MEMORY_IMAGE_INVALID = 61728;
inline constexpr int IDS_HELP_FILE = 62135;

// Window titles by series.
inline constexpr int IDS_TITLE_ZR3 = 62116;
inline constexpr int IDS_TITLE_YM3 = 62117;
inline constexpr int IDS_TITLE_ZR3E = 62118;
inline constexpr int IDS_TITLE_YM3E = 62119;
inline constexpr int IDS_TITLE_UK3 = 63692;
inline constexpr int IDS_TITLE_ZR3EL = 63794;
inline constexpr int IDS_TITLE_YM2NE = 63865;

// View commands and the messages of the tool windows.
inline constexpr int IDS_RESTART_QUESTION = 75;
inline constexpr int IDS_FACTORY_RESET_QUESTION = 100;
inline constexpr int IDS_CLEAR_ALARM_CAPTION = 61463;
inline constexpr int IDS_ERROR = 61884;
inline constexpr int IDS_PRINTER_ERROR = 61693;
