#pragma once
// CJogAutoTab3Dlg: the auto gain window's "Friction Compensation" page: the control, its limit and its gain.
#include "tuning/ui/ResultPage.h"

class CJogAutoTab3Dlg : public CResultPage {
public:
    CJogAutoTab3Dlg();
};
