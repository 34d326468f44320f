#include "tuning/ui/JogAutoTab3Dlg.h"

#include "resources/ids/tuningwindows.h"

CJogAutoTab3Dlg::CJogAutoTab3Dlg() : CResultPage(IDD_AG_RESULTS3) {}
