#pragma once
// The editors' own resource scripts (and the catalogue's, for the pin function names) parsed into a
// module, so the tests see the texts the program shows without the built library.
#include "catalogue/ParamTexts.h"
#include "framework/core/ResourceModule.h"

#include <memory>

std::shared_ptr<const CResourceModule> ValueEditResources();
// A loader over that module.
StringLoader ValueEditStrings();
