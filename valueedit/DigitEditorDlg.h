#pragma once
// Base of the digit and bit editors: one combo per field, the composed value shown read-only in edit
// 1044 as "%04X". A change in a combo composes the value again; OK hands it back in m_Value.
#include "framework/ui/Dialog.h"
#include "valueedit/FixedEditorRules.h"

#include <string>

class CDigitEditorDlg : public CDialog {
public:
    explicit CDigitEditorDlg(UINT templateId) : CDialog(templateId) {}
    const MessageMap* GetMessageMap() const override;

    // Members the caller sets before DoModal (which ones an editor uses is its own business).
    int m_Value = 0;
    std::string m_Code;
    std::string m_Title;
    std::string m_RangeText;
    int m_Min = 0;
    int m_Max = 0;

    BOOL OnInitDialog() override;
    // The combos as they stand (tests and subclasses).
    const DigitComposer& Composer() const { return composer_; }

protected:
    // The layout for the current m_Value.
    virtual FixedLayout BuildLayout() = 0;
    // After a change: the default shows the value and selects every combo again from it.
    virtual void AfterChange();
    // Builds the layout for m_Value and shows all of it.
    void Rebuild();
    // Copies the composer's combos into the controls (entries, enable states, selections).
    void FillCombos();
    void SelectCombos();
    void ShowHexValue();
    FixedEditorInput Input() const;

    void OnDigitChanged(UINT id);

    DigitComposer composer_;
};

// A fixed editor: its layout follows from its kind.
class CFixedDigitDlg : public CDigitEditorDlg {
public:
    CFixedDigitDlg(ValueEditorKind kind, UINT templateId) : CDigitEditorDlg(templateId), kind_(kind) {}

protected:
    FixedLayout BuildLayout() override;

private:
    ValueEditorKind kind_;
};
