#pragma once
// Ids of the setup wizard's resources (frame, drive, motor, control mode, encoder, comprehensive,
// save/write and DI/O display pages).

// ---- Frame ----
inline constexpr int IDD_SETUP_WIZARD = 6033;
inline constexpr int IDB_WIZARD_STEP_MARKER = 6037;
inline constexpr int IDC_WZ_STEP_DRIVE = 1001;
inline constexpr int IDC_WZ_STEP_MOTOR = 1002;
inline constexpr int IDC_WZ_STEP_MODE = 1003;
inline constexpr int IDC_WZ_STEP_REFERENCE = 1004;
inline constexpr int IDC_WZ_STEP_ENCODER = 1062;
inline constexpr int IDC_WZ_STEP_COMPREHENSIVE = 1063;
inline constexpr int IDC_WZ_STEP_SAVE_WRITE = 1064;
inline constexpr int IDC_WZ_STEP_DISPLAY_DIO = 1065;
// The step summaries, 1044 .. 1049: drive, motor, mode, reference, encoder, comprehensive.
inline constexpr int IDC_WZ_SUMMARY_DRIVE = 1044;
inline constexpr int IDC_WZ_SUMMARY_MOTOR = 1045;
inline constexpr int IDC_WZ_SUMMARY_MODE = 1046;
inline constexpr int IDC_WZ_SUMMARY_REFERENCE = 1047;
inline constexpr int IDC_WZ_SUMMARY_ENCODER = 1048;
inline constexpr int IDC_WZ_SUMMARY_COMPREHENSIVE = 1049;
inline constexpr int IDC_WZ_MARKER_MODE = 6176;
inline constexpr int IDC_WZ_MARKER_REFERENCE = 6177;
inline constexpr int IDC_WZ_MARKER_ENCODER = 6178;
inline constexpr int IDC_WZ_MARKER_COMPREHENSIVE = 6179;
inline constexpr int IDC_WZ_MARKER_SAVE_WRITE = 6180;
inline constexpr int IDC_WZ_PAGE_FRAME = 6181;
inline constexpr int IDC_WZ_MARKER_DISPLAY_DIO = 6182;
inline constexpr int IDC_WZ_BACK = 6188;
inline constexpr int IDC_WZ_APPLY = 6184;
inline constexpr int IDC_WZ_CANCEL_PAGE = 6185;
inline constexpr int IDC_WZ_NEXT = 6187;
inline constexpr int IDC_WZ_FINISH = 6208;

// ---- Pages ----
inline constexpr int IDD_WZ_DRIVE_PAGE = 6060;
inline constexpr int IDD_WZ_MOTOR_PAGE = 6061;
inline constexpr int IDD_WZ_SAVE_WRITE_PAGE = 6062;
inline constexpr int IDD_WZ_MODE_PAGE = 6039;
inline constexpr int IDD_WZ_ENCODER_PAGE1 = 6054;
inline constexpr int IDD_WZ_ENCODER_PAGE2 = 6057;
inline constexpr int IDD_WZ_ENCODER_PAGE3 = 6114;
inline constexpr int IDD_WZ_ENCODER_PAGE4 = 6128;
inline constexpr int IDD_WZ_COMPLEX_PAGE1 = 6056;
inline constexpr int IDD_WZ_COMPLEX_PAGE2 = 6058;
inline constexpr int IDD_WZ_COMPLEX_PAGE3 = 6059;
inline constexpr int IDD_WZ_COMPLEX_PAGE4 = 6129;
inline constexpr int IDD_WZ_DISPLAY_DIO_PAGE = 6135;

// Controls shared by the pages.
inline constexpr int IDC_WZ_COMBO = 2009; // drive, motor and mode combos
inline constexpr int IDC_WZ_ENCODER_COMBO = 2010;
inline constexpr int IDC_WZ_DETAILS = 6183; // drive and mode descriptions
inline constexpr int IDC_WZ_MOTOR_DETAILS = 6207;
inline constexpr int IDC_WZ_WRITE = 1001; // save/write page
inline constexpr int IDC_WZ_SAVE = 1002;
inline constexpr int IDC_WZ_FILL_IN = 1217;

// Strings.
inline constexpr int IDS_WZ_SPEED_CONTROL = 1010;
inline constexpr int IDS_WZ_TORQUE_CONTROL = 1011;
inline constexpr int IDS_WZ_POSITION_CONTROL = 1012;
inline constexpr int IDS_WZ_SPEED_DESCRIPTION = 1000;
inline constexpr int IDS_WZ_TORQUE_DESCRIPTION = 1001;
inline constexpr int IDS_WZ_POSITION_DESCRIPTION = 1002;
inline constexpr int IDS_WZ_STEP_FINISHED = 1020;
inline constexpr int IDS_WZ_ENCODER_LETTER_PLACE = 1068;
inline constexpr int IDS_WZ_FINISH_DONE = 1101;

// Controls of the encoder, comprehensive and DI/O pages.
inline constexpr int IDC_WZ_EDIT1 = 1044;
inline constexpr int IDC_WZ_EDIT2 = 1045;
inline constexpr int IDC_WZ_SPIN1 = 1041;
inline constexpr int IDC_WZ_SPIN2 = 1042;
inline constexpr int IDC_WZ_RADIO1 = 1034; // .. 1041 in pairs
inline constexpr int IDC_WZ_RADIO2 = 1035;
inline constexpr int IDC_WZ_RADIO3 = 1036;
inline constexpr int IDC_WZ_RADIO4 = 1037;
inline constexpr int IDC_WZ_RADIO5 = 1038;
inline constexpr int IDC_WZ_RADIO6 = 1039;
inline constexpr int IDC_WZ_RADIO7 = 1040;
inline constexpr int IDC_WZ_RADIO8 = 1041;
inline constexpr int IDC_WZ_COMBO2 = 2010;
inline constexpr int IDC_WZ_COMBO3 = 2011;
inline constexpr int IDC_WZ_RANGE1 = 6190;
inline constexpr int IDC_WZ_RANGE2 = 6191;
inline constexpr int IDC_WZ_SPDINV_GROUP = 6203;
inline constexpr int IDC_WZ_BI_GROUP = 6204;
inline constexpr int IDC_WZ_TRQINV_GROUP = 6249;
inline constexpr int IDC_WZ_RS1_GROUP = 6250;
inline constexpr int IDC_WZ_RS2_GROUP = 6251;
inline constexpr int IDC_WZ_DI_LIST = 1000;
inline constexpr int IDC_WZ_DO_LIST = 1061;
inline constexpr int IDC_WZ_PICTURE = 1001;
inline constexpr int IDC_WZ_DI_GROUP = 6253;
inline constexpr int IDC_WZ_DO_GROUP = 6254;
inline constexpr int IDC_WZ_PICTURE_FRAME = 6255;
