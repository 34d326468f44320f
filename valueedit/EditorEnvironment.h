#pragma once
// What the editors read of the program around them: the catalogue context (series, motor, the
// drive's control mode), the document's option visibility and the document's limits of a parameter.
// The parameter editor installs answers from its document; the defaults read the program's globals.
#include "catalogue/CatalogueContext.h"

#include <functional>
#include <string_view>

struct ValueEditEnvironment {
    std::function<CatalogueContext()> context;
    // Whether option n of a parameter is offered (CKeloServoDoc::ParamVisible).
    std::function<bool(std::string_view code, int option)> visible;
    // The document's minimum and maximum of a parameter; false when the document has none.
    std::function<bool(std::string_view code, int& min, int& max)> limits;
};

// The environment in use; every member left empty falls back to the default answer.
ValueEditEnvironment& EditorEnvironment();

CatalogueContext EditorContext();
bool EditorOptionVisible(std::string_view code, int option);
bool EditorLimits(std::string_view code, int& min, int& max);
