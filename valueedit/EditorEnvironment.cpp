#include "valueedit/EditorEnvironment.h"

#include "catalogue/DocumentGlobals.h"
#include "catalogue/ParamAttributes.h"

ValueEditEnvironment& EditorEnvironment() {
    static ValueEditEnvironment environment;
    return environment;
}

CatalogueContext EditorContext() {
    if (EditorEnvironment().context)
        return EditorEnvironment().context();
    CatalogueContext context;
    context.seriesCode = SeriesCode;
    context.modelCode = ModelCode;
    context.driveControlMode = DriveControlMode;
    context.featureStatusWord = FeatureStatusWord;
    return context;
}

bool EditorOptionVisible(std::string_view code, int option) {
    if (EditorEnvironment().visible)
        return EditorEnvironment().visible(code, option);
    return ParamVisible(code, option, EditorContext());
}

bool EditorLimits(std::string_view code, int& min, int& max) {
    return EditorEnvironment().limits && EditorEnvironment().limits(code, min, max);
}
