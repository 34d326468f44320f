#pragma once
// Ids of the setup wizard's reference-input pages (speed, external pulse position, torque), the
// mechanism calculators the pulse pages open, their pulse waveform and index plate pictures and
// their messages. The pages reuse one set of control numbers, so the names below say the role a
// number plays; a number may carry two names where pages use it for different things.

// External pulse position pages 1..17.
inline constexpr int IDD_SET_EXT_POS_PAGE1 = 6063;
inline constexpr int IDD_SET_EXT_POS_PAGE2 = 6064;
inline constexpr int IDD_SET_EXT_POS_PAGE3 = 6065;
inline constexpr int IDD_SET_EXT_POS_PAGE4 = 6066;
inline constexpr int IDD_SET_EXT_POS_PAGE5 = 6067;
inline constexpr int IDD_SET_EXT_POS_PAGE6 = 6068;
inline constexpr int IDD_SET_EXT_POS_PAGE7 = 6103;
inline constexpr int IDD_SET_EXT_POS_PAGE8 = 6104;
inline constexpr int IDD_SET_EXT_POS_PAGE9 = 6105;
inline constexpr int IDD_SET_EXT_POS_PAGE10 = 6106;
inline constexpr int IDD_SET_EXT_POS_PAGE11 = 6107;
inline constexpr int IDD_SET_EXT_POS_PAGE12 = 6108;
inline constexpr int IDD_SET_EXT_POS_PAGE13 = 6109;
inline constexpr int IDD_SET_EXT_POS_PAGE14 = 6110;
inline constexpr int IDD_SET_EXT_POS_PAGE15 = 6111;
inline constexpr int IDD_SET_EXT_POS_PAGE16 = 6112;
inline constexpr int IDD_SET_EXT_POS_PAGE17 = 6113;

// Speed pages 2..7 and 13.
inline constexpr int IDD_SET_SPEED_PAGE2 = 6042;
inline constexpr int IDD_SET_SPEED_PAGE3 = 6043;
inline constexpr int IDD_SET_SPEED_PAGE4 = 6044;
inline constexpr int IDD_SET_SPEED_PAGE5 = 6045;
inline constexpr int IDD_SET_SPEED_PAGE6 = 6046;
inline constexpr int IDD_SET_SPEED_PAGE7 = 6047;
inline constexpr int IDD_SET_SPEED_PAGE13 = 6053;

// Torque pages 1, 3..10, 12, 13.
inline constexpr int IDD_SET_TORQUE_PAGE1 = 6115;
inline constexpr int IDD_SET_TORQUE_PAGE3 = 6117;
inline constexpr int IDD_SET_TORQUE_PAGE4 = 6118;
inline constexpr int IDD_SET_TORQUE_PAGE5 = 6119;
inline constexpr int IDD_SET_TORQUE_PAGE6 = 6120;
inline constexpr int IDD_SET_TORQUE_PAGE7 = 6121;
inline constexpr int IDD_SET_TORQUE_PAGE8 = 6122;
inline constexpr int IDD_SET_TORQUE_PAGE9 = 6123;
inline constexpr int IDD_SET_TORQUE_PAGE10 = 6124;
inline constexpr int IDD_SET_TORQUE_PAGE12 = 6126;
inline constexpr int IDD_SET_TORQUE_PAGE13 = 6127;

// Mechanism calculators.
inline constexpr int IDD_SET_BALL_SCREW1 = 6097;
inline constexpr int IDD_SET_INDEX_PLATE1 = 6098;
inline constexpr int IDD_SET_CONVEYOR_BELT1 = 6099;
inline constexpr int IDD_SET_BALL_SCREW2 = 6100;
inline constexpr int IDD_SET_INDEX_PLATE2 = 6101;
inline constexpr int IDD_SET_CONVEYOR_BELT2 = 6102;

// Pulse waveform pictures: forward and reverse command of the positive and the negative logic, by
// pulse type (pulse + sign, CW/CCW pulses, A/B phase).
inline constexpr int IDB_PULSE_SIGN_POS_FWD = 6081;
inline constexpr int IDB_PULSE_SIGN_POS_REV = 6082;
inline constexpr int IDB_PULSE_CWCCW_POS_FWD = 6083;
inline constexpr int IDB_PULSE_CWCCW_POS_REV = 6084;
inline constexpr int IDB_PULSE_AB_POS_FWD = 6085;
inline constexpr int IDB_PULSE_AB_POS_REV = 6086;
inline constexpr int IDB_PULSE_SIGN_NEG_FWD = 6087;
inline constexpr int IDB_PULSE_SIGN_NEG_REV = 6088;
inline constexpr int IDB_PULSE_CWCCW_NEG_FWD = 6089;
inline constexpr int IDB_PULSE_CWCCW_NEG_REV = 6090;
inline constexpr int IDB_PULSE_AB_NEG_FWD = 6091;
inline constexpr int IDB_PULSE_AB_NEG_REV = 6092;
// The index plate of the index plate calculators.
inline constexpr int IDB_INDEX_PLATE = 6100;

// Messages.
inline constexpr int IDS_SCURVE_ACCEL_RULE = 1070;
inline constexpr int IDS_SCURVE_DECEL_RULE = 1071;
inline constexpr int IDS_GEAR_RATIO_BELOW = 1072;
inline constexpr int IDS_GEAR_RATIO_ABOVE = 1073;
// "Out of range!" of the wizard's pages and calculators (its text lives with the wizard frame's).
inline constexpr int IDS_OUT_OF_RANGE = 62009;

// ---- page controls ----
// Radio buttons, in the order of their groups on each page.
inline constexpr int IDC_REF_OPTION1 = 1034;
inline constexpr int IDC_REF_OPTION2 = 1035;
inline constexpr int IDC_REF_OPTION3 = 1036;
inline constexpr int IDC_REF_OPTION4 = 1037;
inline constexpr int IDC_REF_OPTION5 = 1038;
inline constexpr int IDC_REF_OPTION6 = 1039;
inline constexpr int IDC_REF_OPTION7 = 1040;
inline constexpr int IDC_REF_OPTION8 = 1041;
inline constexpr int IDC_REF_OPTION9 = 1042;
inline constexpr int IDC_REF_OPTION10 = 1043;
inline constexpr int IDC_REF_OPTION11 = 1044;
// Value edits.
inline constexpr int IDC_REF_VALUE1 = 1044;
inline constexpr int IDC_REF_VALUE2 = 1045;
inline constexpr int IDC_REF_VALUE3 = 1046;
inline constexpr int IDC_REF_VALUE4 = 1047;
inline constexpr int IDC_REF_VALUE5 = 1048;
inline constexpr int IDC_REF_VALUE6 = 1049;
// Up-down controls.
inline constexpr int IDC_REF_SPIN1 = 1041;
inline constexpr int IDC_REF_SPIN2 = 1042;
inline constexpr int IDC_REF_SPIN3 = 1043;
inline constexpr int IDC_REF_SPIN4 = 1048;
inline constexpr int IDC_REF_SPIN5 = 1050;
inline constexpr int IDC_REF_SPIN6 = 1052;
inline constexpr int IDC_REF_SPIN7 = 1053;
inline constexpr int IDC_REF_SPIN8 = 1054;
inline constexpr int IDC_REF_SPIN9 = 1055;
inline constexpr int IDC_REF_SPIN10 = 1150;
// DI/DO selectors.
inline constexpr int IDC_REF_SELECT1 = 2009;
inline constexpr int IDC_REF_SELECT2 = 2010;
inline constexpr int IDC_REF_SELECT3 = 2011;
// Buttons.
inline constexpr int IDC_REF_CALCULATE = 1001;
inline constexpr int IDC_REF_SET = 1002;
inline constexpr int IDC_REF_BALL_SCREW = 1003;
inline constexpr int IDC_REF_INDEX_PLATE = 1004;
inline constexpr int IDC_REF_CONVEYOR = 1062;
// Range labels.
inline constexpr int IDC_REF_RANGE_SN218 = 6189;
inline constexpr int IDC_REF_RANGE_SPEED1 = 6190;
inline constexpr int IDC_REF_RANGE_SPEED2 = 6191;
inline constexpr int IDC_REF_RANGE_SPEED3 = 6192;
inline constexpr int IDC_REF_RANGE_SN215 = 6201;
inline constexpr int IDC_REF_PULSES_RANGE = 6219;
inline constexpr int IDC_REF_RANGE_PN318 = 6236;
inline constexpr int IDC_REF_RANGE_PN319 = 6237;
inline constexpr int IDC_REF_RANGE_PN321 = 6238;
inline constexpr int IDC_REF_RANGE_CN010 = 6240;
inline constexpr int IDC_REF_RANGE_CN011 = 6241;
inline constexpr int IDC_REF_RANGE_TN114 = 6244;
inline constexpr int IDC_REF_RANGE_TN115 = 6245;
inline constexpr int IDC_REF_RANGE_LIMIT1 = 6246;
inline constexpr int IDC_REF_RANGE_LIMIT2 = 6247;
inline constexpr int IDC_REF_RANGE_LIMIT3 = 6248;
// Contact groups of the selectors.
inline constexpr int IDC_REF_SPD1_GROUP = 6193;
inline constexpr int IDC_REF_SPD2_GROUP = 6194;
inline constexpr int IDC_REF_INH_GROUP = 6213;
inline constexpr int IDC_REF_GN1_GROUP = 6220;
inline constexpr int IDC_REF_GN2_GROUP = 6221;
inline constexpr int IDC_REF_CLR_GROUP = 6227;
inline constexpr int IDC_REF_SHOME_GROUP = 6228;
inline constexpr int IDC_REF_POT_GROUP = 6229;
inline constexpr int IDC_REF_NOT_GROUP = 6230;
inline constexpr int IDC_REF_ORG_GROUP = 6231;
inline constexpr int IDC_REF_INP_GROUP = 6239;
inline constexpr int IDC_REF_INT_GROUP = 6243;
// Trial blocks: mirrors and result.
inline constexpr int IDC_REF_TIME_MIRROR = 6195;
inline constexpr int IDC_REF_PERCENT_MIRROR_SPEED = 6196;
inline constexpr int IDC_REF_TRIAL_RESULT = 6197;
inline constexpr int IDC_REF_PERCENT_MIRROR_POS = 6226;
inline constexpr int IDC_REF_PERCENT_MIRROR_TORQUE = 6242;
// Pulses per revolution page: mirrors and result of its trial calculation.
inline constexpr int IDC_REF_N_MIRROR = 6214;
inline constexpr int IDC_REF_M_MIRROR = 6215;
inline constexpr int IDC_REF_CALC_PULSES = 6216;
inline constexpr int IDC_REF_LOAD_MIRROR = 6217;
inline constexpr int IDC_REF_PULSE_MIRROR = 6218;
// Pulse logic page pictures: positive forward, positive reverse, negative forward, negative reverse.
inline constexpr int IDC_REF_PICTURE1 = 6209;
inline constexpr int IDC_REF_PICTURE2 = 6210;
inline constexpr int IDC_REF_PICTURE3 = 6211;
inline constexpr int IDC_REF_PICTURE4 = 6212;
// Origin search page notes for references 2/3, 4/5, 6/7, 8/9.
inline constexpr int IDC_REF_NOTE_ORG = 6235;
inline constexpr int IDC_REF_NOTE_Z = 6232;
inline constexpr int IDC_REF_NOTE_TORQUE = 6233;
inline constexpr int IDC_REF_NOTE_TORQUE_Z = 6234;

// ---- calculator controls ----
inline constexpr int IDC_CALC_INPUT1 = 1044; // load travel or roller diameter
inline constexpr int IDC_CALC_INPUT2 = 1045; // travel of one pulse
inline constexpr int IDC_CALC_INPUT3 = 1046; // n
inline constexpr int IDC_CALC_INPUT4 = 1047; // m
inline constexpr int IDC_CALC_SPIN1 = 1041;
inline constexpr int IDC_CALC_SPIN_PULSE = 1150;
inline constexpr int IDC_CALC_SPIN2 = 1042;
inline constexpr int IDC_CALC_SPIN3 = 1043;
inline constexpr int IDC_CALC_REDUCTION = 1001;
inline constexpr int IDC_CALC_SLOT = 2009;
inline constexpr int IDC_CALC_MIRROR_N = 6214;
inline constexpr int IDC_CALC_MIRROR_M = 6215;
inline constexpr int IDC_CALC_RESULT = 6216;
inline constexpr int IDC_CALC_MIRROR_LOAD = 6217;
inline constexpr int IDC_CALC_MIRROR_PULSE = 6218;
inline constexpr int IDC_CALC_CIRCUMFERENCE = 6219;
inline constexpr int IDC_CALC_RESOLUTION1 = 6222;
inline constexpr int IDC_CALC_RESOLUTION2 = 6223;
inline constexpr int IDC_CALC_RESOLUTION3 = 6224;
inline constexpr int IDC_CALC_FORMULA_NUMERATOR = 6225;
inline constexpr int IDC_CALC_NUMERATOR = 6227;
inline constexpr int IDC_CALC_DENOMINATOR = 6228;
