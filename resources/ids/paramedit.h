#pragma once
// Ids of the parameter editor's resources.

// Progress windows of long transfers.
inline constexpr int IDD_PROGRESS = 171;          // CProgressDlg
inline constexpr int IDD_RW_PROGRESS = 176;       // CRWProgressDlg (with Cancel)
inline constexpr int IDD_PROGRESS_PARAEDIT = 219; // CProgressParaEdit
inline constexpr int IDC_PROGRESS_BAR = 1036;
inline constexpr int IDC_PROGRESS_TEXT = 1038;
inline constexpr int IDC_PARAEDIT_PROGRESS_TEXT = 1120;
