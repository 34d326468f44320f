#pragma once
// CJogAutoTab2Dlg: the auto gain window's "Control Model" page: speed reference control and its gain, Pn339,
// Pn340.
#include "tuning/ui/ResultPage.h"

class CJogAutoTab2Dlg : public CResultPage {
public:
    CJogAutoTab2Dlg();
};
