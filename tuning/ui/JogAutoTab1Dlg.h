#pragma once
// CJogAutoTab1Dlg: the auto gain window's "Inertia / Gain / Filter" page: Cn025, qn501, qn502, qn505, Cn034,
// Cn013, Cn066.
#include "tuning/ui/ResultPage.h"

class CJogAutoTab1Dlg : public CResultPage {
public:
    CJogAutoTab1Dlg();
};
