#pragma once
// CDtextEditCell: the in-place editor of one CDtextListCtrl cell. It takes hexadecimal digits (others
// beep), follows its text into the cell while the user types, moves to the row above or below with
// the arrow keys, and on leaving hands the text back to the list (and the row value for column 2).
// It deletes itself when its window is destroyed.
#include "framework/ui/Edit.h"

#include <string>

class CDtextListCtrl;

class CDtextEditCell : public CEdit {
public:
    CDtextEditCell(CDtextListCtrl* list, int item, int column, const std::string& initialText);
    const MessageMap* GetMessageMap() const override;
    BOOL PreTranslateMessage(MSG* msg) override;

    // After the window exists: the list's font, the initial text, the focus, everything selected.
    void Start();
    int Item() const { return item_; }
    int Column() const { return column_; }
    bool Cancelled() const { return cancelled_; }
    // The list goes first: the editor no longer reports to it.
    void DetachList() { list_ = nullptr; }

protected:
    void OnChar(UINT c, UINT repeat, UINT flags);
    void OnKeyDown(UINT key, UINT repeat, UINT flags);
    void OnKillFocus(CWnd* next);
    void OnPaste();
    UINT OnGetDlgCode();
    BOOL OnChangeReflect();
    void PostNcDestroy() override;

private:
    // The list's parent learns the cell's text (none when cancelled).
    void SendEndEdit();
    CDtextListCtrl* list_;
    int item_;
    int column_;
    std::string initialText_;
    bool cancelled_ = false;
    bool ending_ = false;
};
