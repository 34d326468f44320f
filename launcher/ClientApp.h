#pragma once
// CClientApp: the launcher program. It runs the series dialog once and ends with it.
#include "framework/ui/App.h"

class CClientApp : public CWinApp {
public:
    CClientApp();

    // Cleared by an exchange whose reply was neither accepted nor refused. Nothing reads it: the
    // launcher never holds a link, it only asks ports.
    unsigned char ConnectedFlag = 0;

    // Runs the whole program and returns FALSE, so no message loop follows.
    BOOL InitInstance() override;
};
