#include "tuning/ui/JogAutoTab1Dlg.h"

#include "resources/ids/tuningwindows.h"

CJogAutoTab1Dlg::CJogAutoTab1Dlg() : CResultPage(IDD_AG_RESULTS1) {}
