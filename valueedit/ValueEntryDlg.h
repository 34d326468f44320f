#pragma once
// Base of the editors in which the user types or steps a number (the generic, 32-bit, Cn005 and
// alarm-mask editors). They share one member layout; the edited value lives in m_Value and is copied
// to m_Result only when OK accepts it.
#include "controls/QTRHEXEdit.h"
#include "framework/ui/Dialog.h"
#include "framework/ui/SpinButtonCtrl.h"
#include "valueedit/NumericEditRules.h"

#include <string>

class CValueEntryDlg : public CDialog {
public:
    enum class Variant { Generic, Long, Cn005, AlarmMask };

    CValueEntryDlg(Variant variant, UINT templateId);
    const MessageMap* GetMessageMap() const override;

    std::string m_Code;
    std::string m_Title;
    std::string m_Unit;
    std::string m_RangeText;
    int m_Min = 0;
    int m_Max = 99999;
    int m_Result = 0; // the value OK accepted
    int m_Value = 0;  // the value being edited

    BOOL OnInitDialog() override;
    void OnOK() override;
    void DoDataExchange(CDataExchange* dx) override;

    EntryMode Mode() const { return mode_; }

protected:
    void OnDecimalTextChanged();
    void OnHexTextChanged();
    void OnSpinDelta(NMHDR* header, LRESULT* result);
    // The entry the user works in (1044 or 1113).
    int EntryId() const;
    void ShowEntry(int id, const std::string& text);
    // The alarm mask's bits, overridden by CEditCn054Dialog.
    virtual void ShowBits() {}
    bool HexMode() const { return mode_ != EntryMode::Decimal; }

    Variant variant_;
    EntryMode mode_ = EntryMode::Decimal;
    CQTRHEXEdit hexEdit_;
    CSpinButtonCtrl spin_;
    bool ready_ = false; // handlers stay quiet until the controls are set up
    int updating_ = 0;   // text written by the handlers themselves
};

// The generic editor of every parameter without a special one.
class CEditValueDialog : public CValueEntryDlg {
public:
    CEditValueDialog();
};

// The 32-bit editor; the caller always sets m_Min and m_Max.
class CEditValueLongDialog : public CValueEntryDlg {
public:
    CEditValueLongDialog();
};

// The Cn005 editor (encoder dividing output), with its reference table.
class CCn005Dialog : public CValueEntryDlg {
public:
    CCn005Dialog();
};
