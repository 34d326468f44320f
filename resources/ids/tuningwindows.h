#pragma once
// Ids of the jog and live tuning windows: inertia estimation (6142) with its help (1018), JOG mode
// (141), auto gain (6002) with its pages and companions, online notch (4001), online low-frequency
// (6017), rigidity (191) and auto offset (6074). Control ids repeat between windows as their
// templates give them.

// ---- Stroke jog run (shared with the program jog window) ------------------------------------------
inline constexpr int IDC_JOG_PARAMETER_WRITE = 1126;
inline constexpr int IDC_JOG_START = 1127;
inline constexpr int IDC_JOG_STOP = 1128;
inline constexpr int IDC_JOG_STOP_TIME = 6039;
inline constexpr int IDC_JOG_STOP_TIME_SPIN = 6040;
inline constexpr int IDC_JOG_ACCEL_TIME = 6025;
inline constexpr int IDC_JOG_ACCEL_TIME_SPIN = 6026;
inline constexpr int IDC_JOG_SPEED = 6027;
inline constexpr int IDC_JOG_SPEED_SPIN = 6028;
inline constexpr int IDC_JOG_DISTANCE = 6029;
inline constexpr int IDC_JOG_DISTANCE_SPIN = 6030;
inline constexpr int IDC_JOG_DIRECTION = 6037;
inline constexpr int IDC_JOG_SPEED_RANGE = 6043;
inline constexpr int IDC_JOG_SPEED_UNIT = 6044;
inline constexpr int IDC_JOG_DISTANCE_UNIT = 1028;
inline constexpr int IDC_JOG_ONLINE_PARAMETER = 6165;

// Strings of the stroke jog run and its parameter write.
inline constexpr int IDS_JOG_ALARM_WARNING = 62770;
inline constexpr int IDS_JOG_SERVO_ON_REFUSAL = 61469;
inline constexpr int IDS_JOG_SERVO_ON_WRITE = 63367;
inline constexpr int IDS_AUTO_GAIN_MESSAGE = 61470;
inline constexpr int IDS_JOG_LABEL_STOP_TIME = 62950;
inline constexpr int IDS_JOG_LABEL_ACCEL_TIME = 62951;
inline constexpr int IDS_JOG_LABEL_SPEED = 62952;
inline constexpr int IDS_JOG_LABEL_DISTANCE = 62953;
inline constexpr int IDS_JOG_LABEL_DIRECTION = 63000;
inline constexpr int IDS_TW_WRITE_FAILED = 1306;
inline constexpr int IDS_TW_OVER_RANGE = 61551; // "Over Range!!\n\n" (trace captions)
inline constexpr int IDS_TW_WRITE_DONE = 61885; // "Write successfully!!" (parameter editor)
// Our own texts of the run's failures.
inline constexpr int IDS_JOG_STOP_REFUSED = 47100;
inline constexpr int IDS_JOG_ALARM_UNKNOWN = 47101;
inline constexpr int IDS_JOG_NOT_SAVED = 47102;
inline constexpr int IDS_JOG_MODE_REFUSED = 47103;
inline constexpr int IDS_JOG_START_REFUSED = 47104;
inline constexpr int IDS_JOG_RESTORE_FAILED = 47105;
inline constexpr int IDS_JOG_RUN_CAPTION = 47106;
inline constexpr int IDS_TW_WRITE_MESSAGE = 47107;

// ---- Inertia estimation (6142) and its help (1018) ------------------------------------------------
inline constexpr int IDD_UN45_JOG = 6142;
inline constexpr int IDD_JOG_HELP = 1018;
inline constexpr int IDC_UN45_HELP = 1001;
inline constexpr int IDC_UN45_INERTIA = 1022;
inline constexpr int IDB_JOG_STROKE_GRAPH = 47190;

// ---- JOG mode (141) --------------------------------------------------------------------------------
inline constexpr int IDD_JOG_MODE = 141;
inline constexpr int IDC_JM_CW = 1001;
inline constexpr int IDC_JM_CCW = 1002;
inline constexpr int IDC_JM_SERVO = 1003;
inline constexpr int IDC_JM_SPIN = 1041;
inline constexpr int IDC_JM_SPEED = 1044;
inline constexpr int IDC_JM_UNIT = 1118;
inline constexpr int IDS_JM_CAPTION = 47110;
inline constexpr int IDS_JM_SERVO_ON_INVALID = 47111;
inline constexpr int IDS_JM_ENTER_SON = 47112;
inline constexpr int IDS_JM_CANCEL_SON = 47113;
inline constexpr int IDS_JM_STOP_REFUSED = 47114;
inline constexpr int IDS_JM_SERVO_OFF_REFUSED = 47115;

// ---- Auto gain (6002) with its pages (6003, 6005; 6004, 6014, 6015) and companions -----------------
inline constexpr int IDD_AUTO_GAIN = 6002;
inline constexpr int IDD_AG_CONDITIONS1 = 6003;
inline constexpr int IDD_AG_RESULTS1 = 6004;
inline constexpr int IDD_AG_CONDITIONS2 = 6005;
inline constexpr int IDD_AG_WARNING = 6007;
inline constexpr int IDD_AG_NOTE = 6008;
inline constexpr int IDD_AG_INSTRUCTION = 6012;
inline constexpr int IDD_AG_RESULTS2 = 6014;
inline constexpr int IDD_AG_RESULTS3 = 6015;
inline constexpr int IDC_AG_PARAMETER_TAB = 1095;
inline constexpr int IDC_AG_ENABLE_SELECT = 6024;
inline constexpr int IDC_AG_PARAMETER_WRITE = 6034;
inline constexpr int IDC_AG_START = 6022;
inline constexpr int IDC_AG_STOP = 1002;
inline constexpr int IDC_AG_RESULT_TAB = 6038;
inline constexpr int IDC_AG_LAMP_START = 1001;
inline constexpr int IDC_AG_LAMP_INERTIA = 1003;
inline constexpr int IDC_AG_LAMP_GAIN = 1004;
inline constexpr int IDC_AG_LAMP_CONTROL = 1062;
inline constexpr int IDC_AG_LAMP_FRICTION = 1063;
inline constexpr int IDC_AG_LAMP_FINISH = 1064;
inline constexpr int IDC_AG_NOTE = 1122;
inline constexpr int IDC_AG_INSTRUCTION = 1121;
inline constexpr int IDC_AG_ANALYSIS = 1100;
inline constexpr int IDC_AG_ALARM_CLEAR = 1102;
inline constexpr int IDC_AG_INERTIA = 1103;
// Condition page 1.
inline constexpr int IDC_AG_RIGIDITY = 6035;
inline constexpr int IDC_AG_RIGIDITY_SPIN = 6036;
inline constexpr int IDC_AG_COMMAND_NUMBER = 6025;
inline constexpr int IDC_AG_COMMAND_NUMBER_SPIN = 6026;
inline constexpr int IDC_AG_SPEED = 6027;
inline constexpr int IDC_AG_SPEED_SPIN = 6028;
inline constexpr int IDC_AG_INERTIA_RATIO = 6039;
inline constexpr int IDC_AG_INERTIA_RATIO_SPIN = 6040;
inline constexpr int IDC_AG_STOP_TIME = 6029;
inline constexpr int IDC_AG_STOP_TIME_SPIN = 6030;
inline constexpr int IDC_AG_COMMAND_UNIT = 6045;
inline constexpr int IDC_AG_SPEED_UNIT = 6044;
inline constexpr int IDC_AG_SPEED_RANGE = 6043;
inline constexpr int IDC_AG_RESPONSE_MODE = 6022;
inline constexpr int IDC_AG_INERTIA_ESTIMATE = 6023;
// Condition page 2.
inline constexpr int IDC_AG_DETECTION_SPIN = 6032;
inline constexpr int IDC_AG_FRICTION = 6037;
inline constexpr int IDC_AG_OBSERVER = 6033;
inline constexpr int IDC_AG_DETECTION = 6031;
// Confirmation.
inline constexpr int IDC_AG_WARNING_NO = 6046;
inline constexpr int IDC_AG_WARNING_LIST = 1000;
// Texts.
inline constexpr int IDS_AG_CAPTION = 47120;
inline constexpr int IDS_AG_CONFIRM_WRITE = 47121;
inline constexpr int IDS_AG_SERVO_OFF_FIRST = 47122;
inline constexpr int IDS_AG_FAILED = 47123;
inline constexpr int IDS_AG_TN837_QUESTION = 47124;
inline constexpr int IDS_AG_WRITE_FAILED = 47125;
inline constexpr int IDS_AG_CLEAR_ALARM_ERROR = 47126;
inline constexpr int IDS_AG_CLEAR_ALARM_DONE = 47127;
inline constexpr int IDS_AG_ANALYSIS_SERVO_ON = 47128;
inline constexpr int IDS_AG_ANALYSIS_CAPTION = 47129;
inline constexpr int IDS_AG_ANSWER_FAILED = 47130;
inline constexpr int IDS_AG_STOP_UNCONFIRMED = 47131;
inline constexpr int IDS_AG_CLEAR_ALARM_REFUSED = 47132;
inline constexpr int IDS_AG_NOT_EXECUTED = 47133;

// ---- Online notch (4001) and online low-frequency vibration suppression (6017) ---------------------
inline constexpr int IDD_ONLINE_NOTCH = 4001;
inline constexpr int IDD_ONLINE_LOW_FREQUENCY = 6017;
inline constexpr int IDC_NF_PARAMETER_SET = 1001;
inline constexpr int IDC_NF_WRITE_ALL = 1003;
inline constexpr int IDC_NF_TAB = 1095;
inline constexpr int IDC_NF_UN54 = 1130;
// Row statics a tab shows or hides: code, description and unit of notch row n (0..16).
inline constexpr int IDC_NF_ROW_CODE = 7000;
inline constexpr int IDC_NF_ROW_TEXT = 7100;
inline constexpr int IDC_NF_ROW_UNIT = 7200;
inline constexpr int IDS_NF_WRITE_FINISH = 47140;
inline constexpr int IDS_NF_FILLED = 47141;

// ---- Rigidity (191) and auto offset (6074) ---------------------------------------------------------
inline constexpr int IDD_RIGIDITY = 191;
inline constexpr int IDC_RG_SPIN = 1041;
inline constexpr int IDC_RG_PERCENT = 1044;
inline constexpr int IDC_RG_QN501_START = 1124;
inline constexpr int IDC_RG_QN501_ADJUSTED = 1125;
inline constexpr int IDC_RG_QN502_START = 1126;
inline constexpr int IDC_RG_QN502_ADJUSTED = 1127;
inline constexpr int IDC_RG_QN505_START = 1128;
inline constexpr int IDC_RG_QN505_ADJUSTED = 1129;
inline constexpr int IDS_RG_PERCENT_RANGE = 47150;
inline constexpr int IDS_RG_WRITE_FINISH = 47151;
inline constexpr int IDS_RG_NOT_READ = 47152;
inline constexpr int IDD_AUTO_OFFSET = 6074;
inline constexpr int IDB_AUTO_OFFSET = 47191;
inline constexpr int IDS_AO_CAPTION = 47160;
inline constexpr int IDS_AO_DONE = 47161;
