#include "valueedit/FnH01Dlg.h"

#include "catalogue/ParamTexts.h"
#include "valueedit/EditorEnvironment.h"

FixedLayout CFnH01Dlg::BuildLayout() {
    int min = m_Min;
    int max = m_Max;
    if (EditorLimits(m_Code, min, max)) {
        m_Min = min;
        m_Max = max;
    }
    FixedEditorInput in = Input();
    in.limitRangeText = ParamRangeText(m_Code, m_Min & 0xFF, m_Max, EditorContext());
    return BuildFixedLayout(ValueEditorKind::PinFunction, in, ResourceStringLoader());
}
