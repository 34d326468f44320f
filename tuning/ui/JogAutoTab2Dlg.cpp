#include "tuning/ui/JogAutoTab2Dlg.h"

#include "resources/ids/tuningwindows.h"

CJogAutoTab2Dlg::CJogAutoTab2Dlg() : CResultPage(IDD_AG_RESULTS2) {}
