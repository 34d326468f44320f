#pragma once
// Ids of the application shell's resources: the frame's menus, accelerators, toolbar and the
// program's own commands. The framework's standard commands (New 57600, Open 57601, Save 57603,
// Save As 57604, Print Setup 57606, Print 57607, Print Preview 57609, recent files 57616..57619,
// About 57664, Exit 57665, View Toolbar 0xE800, View Status Bar 0xE801) are named by the
// framework; the scripts write those as numbers.

// Frame resources: menu, accelerators, toolbar and its bitmap, and the product name string.
inline constexpr int IDR_MAINFRAME = 128;
// Document window menu and the document template's string.
inline constexpr int IDR_KELOSERVO_DOC = 129;

// The product name (string 128) decides the brand mode.
inline constexpr int IDS_PRODUCT_NAME = 128;

// The program's own commands (menu 129, toolbar 128).
inline constexpr int ID_PORT_SETTING = 32771;
inline constexpr int ID_EDIT_PARAMETER = 32772;
inline constexpr int ID_COPY_TO_DEVICE = 32773;
inline constexpr int ID_COPY_TO_COMPUTER = 32774;
inline constexpr int ID_PROJECT_MODE = 32775;
inline constexpr int ID_CONNECT = 32776;
inline constexpr int ID_DISCONNECT = 32777;
inline constexpr int ID_EDIT_ONLINE_PARAMETER = 32778;
inline constexpr int ID_DIDO_CONTACT_SET = 32779;
inline constexpr int ID_POSITION_PROGRAMMING = 32780;
inline constexpr int ID_MECHANICAL_ANALYSIS = 32781;
inline constexpr int ID_DISPLAY_PARAMETER = 32782;
inline constexpr int ID_DIAGNOSTICS_PARAMETERS = 32783;
inline constexpr int ID_ALARM_PARAMETERS = 32784;
inline constexpr int ID_WAVE_TRACE = 32785;
inline constexpr int ID_JOG_MODE = 32786;
inline constexpr int ID_AUTO_GAIN_ADJUST = 32787;
inline constexpr int ID_AUTO_OFFSET_ADJUST = 32788;
inline constexpr int ID_HELP_CONTENT = 32789;
inline constexpr int ID_CUSTOM_PARAMETER = 32790;
inline constexpr int ID_PROGRAM_JOG = 32791;
inline constexpr int ID_EDIT_RAM = 32792;
inline constexpr int ID_SETUP_WIZARD = 32793;
inline constexpr int ID_SELF_BUILT_MOTOR = 32794;
inline constexpr int ID_POLE_ALIGNMENT = 32795;
inline constexpr int ID_ONLINE_NOTCH = 32796;
inline constexpr int ID_ONLINE_LOW_FREQUENCY = 32797;
inline constexpr int ID_INSTALLATION_MANUAL = 32798;
inline constexpr int ID_ACCESSORIES_SELECT = 32799;
inline constexpr int ID_LIFE_PREDICTION = 32800;
inline constexpr int ID_SOFTWARE_RESET = 32801;
inline constexpr int ID_FACTORY_RESET = 32802;
inline constexpr int ID_RIGID_ADJUST = 32803;
inline constexpr int ID_POSITION_CONTROL = 32804;
inline constexpr int ID_MULTI_POSITION = 32805;
inline constexpr int ID_BOX_FUNCTION = 32806;
inline constexpr int ID_STATUSBAR_SET = 32807;
inline constexpr int ID_INERTIA_ESTIMATION = 32808;
