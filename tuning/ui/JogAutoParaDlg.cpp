#include "tuning/ui/JogAutoParaDlg.h"

#include "resources/ids/tuningwindows.h"

CJogAutoParaDlg::CJogAutoParaDlg(CWnd* parent) : CDialog(IDD_AG_INSTRUCTION, parent) {}
