#include "valueedit/ParaComboDlg.h"

#include "catalogue/ParamTexts.h"
#include "valueedit/EditorEnvironment.h"

FixedLayout CParaComboDlg::BuildLayout() {
    DigitOptionLayout options = BuildDigitOptions(
        m_Code, m_Value, [](std::string_view code, int digit) { return EditorOptionVisible(code, digit); },
        EditorContext().driveControlMode, ResourceStringLoader());
    FixedLayout layout;
    layout.composer = std::move(options.composer);
    layout.texts = {
        {IDC_VE_COMBO_TEXT_CODE, m_Code}, {IDC_VE_COMBO_TEXT_TITLE, m_Title}, {IDC_VE_RANGE, m_RangeText}};
    for (int n = 0; n < 4; ++n) {
        layout.texts.emplace_back(IDC_VE_COMBO_TEXT_DIGIT0 + n,
                                  options.descriptions[static_cast<std::size_t>(n)]);
        // Statics 6009 .. 6006 label digits 0 .. 3.
        layout.texts.emplace_back(IDC_VE_COMBO_LABEL_DIGIT3 + 3 - n,
                                  options.digitLabels[static_cast<std::size_t>(n)]);
    }
    return layout;
}

void CParaComboDlg::AfterChange() {
    Rebuild();
}
