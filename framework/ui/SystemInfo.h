#pragma once
// Facts about the desktop the program runs on.
#include "framework/core/Geometry.h"

enum : unsigned { SPI_GETWORKAREA = 0x0030 };

// With SPI_GETWORKAREA fills the CRect behind param with the primary screen's work area (the screen
// less panels and docks). False for any other action or when there is no screen.
bool SystemParametersInfo(unsigned action, unsigned uiParam, void* param, unsigned winIni);
