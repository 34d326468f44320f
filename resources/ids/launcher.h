#pragma once
// Ids of the launcher's resources (program Client). The launcher shares the resource library with
// the main program, so its About box, icon and strings take ids of their own where the main
// program's already use the launcher's historical ones (100, 128, 101, 1000, 1001).

// The series dialog and its controls.
inline constexpr int IDD_CLIENT_DIALOG = 1239;
inline constexpr int IDC_SERIES_COMBO = 1007;
inline constexpr int IDC_AUTO_DETECT = 1008;
// The drive family's picture in the series dialog.
inline constexpr int IDB_DRIVE_FAMILY = 234;

// About box, its system-menu item text, and the program icon.
inline constexpr int IDD_CLIENT_ABOUT = 15100;
inline constexpr int IDS_CLIENT_ABOUT_ITEM = 15101;
inline constexpr int IDI_CLIENT = 15104;

// Messages.
inline constexpr int IDS_AUTO_DETECT_CAPTION = 15102;
inline constexpr int IDS_DRIVE_NOT_FOUND = 15103;
inline constexpr int IDS_HANDOFF_WRITE_FAILED = 15105;
inline constexpr int IDS_START_FAILED = 15106;
