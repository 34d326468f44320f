#include "tuning/ui/JogHelpDlg.h"

#include "resources/ids/tuningwindows.h"

CJogHelpDlg::CJogHelpDlg() : CDialogEx(IDD_JOG_HELP) {}
