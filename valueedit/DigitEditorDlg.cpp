#include "valueedit/DigitEditorDlg.h"

#include "catalogue/ParamTexts.h"
#include "framework/ui/ComboBox.h"
#include "resources/ids/valueedit.h"
#include "valueedit/EditorEnvironment.h"

const MessageMap* CDigitEditorDlg::GetMessageMap() const {
    static const MessageMap map(CDialog::GetMessageMap(),
                                {
                                    msg::ControlRange(CBN_SELCHANGE, IDC_VE_COMBO0, IDC_VE_COMBO0 + 15,
                                                      &CDigitEditorDlg::OnDigitChanged),
                                });
    return &map;
}

FixedEditorInput CDigitEditorDlg::Input() const {
    const CatalogueContext context = EditorContext();
    FixedEditorInput in;
    in.code = m_Code;
    in.value = m_Value;
    in.min = m_Min;
    in.max = m_Max;
    in.seriesCode = context.seriesCode;
    in.controlMode = context.driveControlMode;
    in.rangeText = m_RangeText;
    in.visible = [](std::string_view code, int option) { return EditorOptionVisible(code, option); };
    return in;
}

BOOL CDigitEditorDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    Rebuild();
    return TRUE;
}

void CDigitEditorDlg::Rebuild() {
    FixedLayout layout = BuildLayout();
    composer_ = std::move(layout.composer);
    for (const auto& [id, text] : layout.texts)
        SetDlgItemText(id, text);
    FillCombos();
    ShowHexValue();
}

void CDigitEditorDlg::FillCombos() {
    const auto& combos = composer_.Combos();
    for (std::size_t i = 0; i < combos.size(); ++i) {
        auto* combo = dynamic_cast<CComboBox*>(GetDlgItem(combos[i].controlId));
        if (!combo)
            continue;
        combo->ResetContent();
        for (const auto& entry : combos[i].entries)
            combo->AddString(entry);
        combo->EnableWindow(combos[i].enabled);
    }
    SelectCombos();
}

void CDigitEditorDlg::SelectCombos() {
    const auto& combos = composer_.Combos();
    for (std::size_t i = 0; i < combos.size(); ++i)
        if (auto* combo = dynamic_cast<CComboBox*>(GetDlgItem(combos[i].controlId)))
            combo->SetCurSel(composer_.Selection(i));
}

void CDigitEditorDlg::ShowHexValue() {
    SetDlgItemText(IDC_VE_VALUE, FormatHexValue(m_Value));
}

void CDigitEditorDlg::OnDigitChanged(UINT id) {
    const int index = composer_.ComboIndexOf(static_cast<int>(id));
    auto* combo = dynamic_cast<CComboBox*>(GetDlgItem(static_cast<int>(id)));
    if (index < 0 || !combo)
        return;
    m_Value = composer_.Choose(static_cast<std::size_t>(index), combo->GetCurSel());
    AfterChange();
}

void CDigitEditorDlg::AfterChange() {
    ShowHexValue();
    SelectCombos();
}

FixedLayout CFixedDigitDlg::BuildLayout() {
    return BuildFixedLayout(kind_, Input(), ResourceStringLoader());
}
