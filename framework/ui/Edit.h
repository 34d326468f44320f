#pragma once
// Edit control over QLineEdit (or QPlainTextEdit with ES_MULTILINE). EN_CHANGE reaches the parent
// after every change of the text, the ones made by code included; a handler may set the text again
// from inside its EN_CHANGE. Keys, characters, paste and cut pass the class's WM_KEYDOWN, WM_CHAR,
// WM_PASTE and WM_CUT handlers first, so a derived class filters input by not calling the default.
#include "framework/ui/Wnd.h"

class CEdit : public CWnd {
public:
    BOOL Create(DWORD style, const CRect& rect, CWnd* parent, UINT id);
    // Makes the widget of an edit control and binds it to `wrapper` (used for template controls).
    static void CreateWidget(CWnd* wrapper, DWORD style, DWORD exStyle, const CRect& rect, CWnd* parent,
                             int id);

    void SetLimitText(UINT maxChars); // 0: the largest limit
    void LimitText(int maxChars = 0) { SetLimitText(static_cast<UINT>(maxChars)); }
    UINT GetLimitText() const;
    // Selects characters [start, end); end -1 selects to the end; start -1 removes the selection.
    void SetSel(int start, int end, BOOL noScroll = FALSE);
    void SetSel(DWORD selection, BOOL noScroll = FALSE) {
        SetSel(static_cast<short>(LOWORD(selection)), static_cast<short>(HIWORD(selection)), noScroll);
    }
    void GetSel(int& start, int& end) const;
    DWORD GetSel() const;
    void ReplaceSel(const std::string& text, BOOL canUndo = FALSE);
    void Clear();
    void Copy();
    void Cut();
    void Paste();
    BOOL Undo();
    BOOL SetReadOnly(BOOL readOnly = TRUE);
    BOOL GetModify() const;
    void SetModify(BOOL modified = TRUE);
    int GetLineCount() const;
    void SetPasswordChar(char ch);
    // The caret's character index.
    int GetCaretIndex() const;
    void SetCaretIndex(int index);
};
