#include "launcher/AboutDlg.h"

#include "resources/ids/launcher.h"

CAboutDlg::CAboutDlg() : CDialog(IDD_CLIENT_ABOUT) {}
