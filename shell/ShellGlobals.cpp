#include "shell/ShellGlobals.h"

int BrandMode = BrandNormal;
int DebugModeFlag = 0;
