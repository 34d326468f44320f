#pragma once
// CQTREdit: the single-line edit base of the masked and numeric fields. The field's rules (EditRules.h)
// decide what typed characters, keys, paste, cut, clear and text set by the program do; this class
// gives them the edit window to work on and paints the field in its own colours when asked to.
#include "controls/EditRules.h"
#include "framework/ui/Edit.h"
#include "framework/ui/Gdi.h"

#include <memory>
#include <string>

class CQTREdit : public CEdit {
public:
    // The rules the concrete fields combine with the window.
    using Behavior = EditBehavior;
    using MaskedBehavior = MaskedEditBehavior;
    using NumericBehavior = NumericEditBehavior;

    CQTREdit();
    ~CQTREdit() override;
    const MessageMap* GetMessageMap() const override;

    // Sets the window text; text that breaks the field's rule is cut back to what the rule accepts.
    void SetText(const std::string& text) { SetWindowText(text); }
    // Brings the window text in line with the rule (when the window exists).
    void Redisplay();
    virtual std::string GetValidText() const;
    // Asked before any character is entered; true by default.
    virtual bool AcceptsChar(UINT c);

    // Colours: a text colour of 0 leaves the text colour alone; flag bit 0 paints the background even
    // before a brush exists (the brush is then made in the control's current background colour).
    COLORREF m_textColor = 0;
    DWORD m_flags = 0;
    CBrush m_brush;

    EditRules& Rules() { return *rules_; }
    const EditRules& Rules() const { return *rules_; }

protected:
    explicit CQTREdit(EditKind kind, const std::string& mask = {}, int maxWhole = 0, int maxDecimals = 0);

    void OnChar(UINT c, UINT repeat, UINT flags);
    void OnKeyDown(UINT key, UINT repeat, UINT flags);
    void OnCut();
    void OnPaste();
    void OnClear();
    BOOL OnChangeReflect();
    HBRUSH CtlColor(CDC* dc, UINT kind);

private:
    class WindowHost;
    friend class WindowHost;
    std::unique_ptr<WindowHost> host_;
    std::unique_ptr<EditRules> rules_;
    // Rule passes running now: a text change they make is not checked again.
    int inRules_ = 0;
};

// Reads a control's text as a decimal number: leading sign allowed, conversion stops at the first
// character that is not a digit, no text (or no window) gives 0.
long GetWindowInt(const CWnd* window);
