#include "controls/DtextEditCell.h"

#include "controls/Beep.h"
#include "controls/DtextListCtrl.h"
#include "controls/HexText.h"
#include "framework/core/MessageSeam.h"
#include "framework/ui/Clipboard.h"

#include <QGuiApplication>

namespace {
bool ControlDown() {
    return (QGuiApplication::queryKeyboardModifiers() & Qt::ControlModifier) != 0;
}
} // namespace

CDtextEditCell::CDtextEditCell(CDtextListCtrl* list, int item, int column, const std::string& initialText)
    : list_(list), item_(item), column_(column), initialText_(initialText) {}

const MessageMap* CDtextEditCell::GetMessageMap() const {
    static const MessageMap map(CWnd::GetMessageMap(),
                                {
                                    msg::Key(WM_CHAR, &CDtextEditCell::OnChar),
                                    msg::Key(WM_KEYDOWN, &CDtextEditCell::OnKeyDown),
                                    msg::FocusChange(WM_KILLFOCUS, &CDtextEditCell::OnKillFocus),
                                    msg::Simple(WM_PASTE, &CDtextEditCell::OnPaste),
                                    msg::GetDlgCode(&CDtextEditCell::OnGetDlgCode),
                                    msg::ControlReflectEx(EN_CHANGE, &CDtextEditCell::OnChangeReflect),
                                });
    return &map;
}

void CDtextEditCell::Start() {
    if (!list_)
        return;
    if (CFont* font = list_->GetFont())
        SetFont(font);
    SetWindowText(initialText_);
    SetFocus();
    SetSel(0, -1);
}

BOOL CDtextEditCell::PreTranslateMessage(MSG* msg) {
    // Keys the dialog would take as navigation, OK or Cancel belong to the editor.
    if (msg->hwnd == this && msg->message == WM_KEYDOWN) {
        const auto key = static_cast<UINT>(msg->wParam);
        if (key == VK_TAB || key == VK_RETURN || key == VK_ESCAPE || key == VK_UP || key == VK_DOWN ||
            key == VK_DELETE || ControlDown()) {
            const HWND self = GetSafeHwnd();
            SendMessage(WM_KEYDOWN, msg->wParam, msg->lParam);
            if (!IsWindow(self))
                return TRUE;
            const UINT character = key == VK_TAB ? 9u : key == VK_RETURN ? 13u : key == VK_ESCAPE ? 27u : 0u;
            if (character)
                SendMessage(WM_CHAR, character, msg->lParam);
            return TRUE;
        }
    }
    return CEdit::PreTranslateMessage(msg);
}

void CDtextEditCell::OnChar(UINT c, UINT, UINT) {
    if (!list_) {
        Default();
        return;
    }
    if (c == VK_BACK) {
        Default();
        return;
    }
    if (c == VK_TAB)
        return;
    if (c == VK_RETURN) {
        SendEndEdit();
        return;
    }
    if (c == VK_ESCAPE) {
        cancelled_ = true;
        const HWND self = GetSafeHwnd();
        list_->SetFocus();
        if (IsWindow(self) && !ending_)
            SendMessage(WM_KILLFOCUS); // the focus could not move (no active window): end all the same
        return;
    }
    if (ParseHexChar(static_cast<char>(c)) >= 0 && c < 0x80) {
        Default();
        return;
    }
    ControlBeep(MB_ICONEXCLAMATION);
}

void CDtextEditCell::OnKeyDown(UINT key, UINT, UINT) {
    if (!list_) {
        Default();
        return;
    }
    const bool control = ControlDown();
    switch (key) {
    case VK_UP:
        if (item_ > 0)
            list_->EditSubItem(item_ - 1, column_);
        return;
    case VK_DOWN:
        list_->EditSubItem(item_ + 1, column_);
        return;
    case VK_HOME:
        if (control) {
            list_->EditSubItem(0, column_);
            return;
        }
        break;
    case VK_END:
        if (control) {
            list_->EditSubItem(list_->GetItemCount() - 1, column_);
            return;
        }
        break;
    case 'C':
    case 'V':
        if (control) {
            SendMessage(key == 'C' ? WM_COPY : WM_PASTE);
            if (CWnd* owner = list_->GetOwner())
                owner->SendMessage(WM_KEYDOWN, key, 0);
        }
        return;
    default:
        break;
    }
    Default();
}

void CDtextEditCell::OnPaste() {
    // Only hexadecimal digits may enter the cell, pasted or typed.
    std::string digits;
    for (char c : GetClipboardText())
        if (ParseHexChar(c) >= 0)
            digits += c;
    ReplaceSel(digits, TRUE);
}

UINT CDtextEditCell::OnGetDlgCode() {
    return static_cast<UINT>(Default()) | DLGC_WANTARROWS | DLGC_WANTTAB;
}

BOOL CDtextEditCell::OnChangeReflect() {
    if (!ending_)
        SendEndEdit(); // the cell follows the text while the user types
    return TRUE;
}

void CDtextEditCell::OnKillFocus(CWnd*) {
    if (ending_ || !list_)
        return;
    ending_ = true;
    const std::string text = GetWindowText();
    if (column_ == 2)
        list_->SetRowValue(item_, HexCellWord(text)); // stored on Esc as well
    SendEndEdit();
    list_->ForgetEditor(this);
    DestroyWindow();
}

void CDtextEditCell::PostNcDestroy() {
    if (list_)
        list_->ForgetEditor(this);
    delete this;
}

void CDtextEditCell::SendEndEdit() {
    if (!list_)
        return;
    CWnd* parent = list_->GetParent();
    if (!parent || !list_->GetSafeHwnd())
        return;
    std::string text = GetWindowText();
    NMLVDISPINFO info;
    info.hdr.hwndFrom = list_->GetSafeHwnd();
    info.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
    info.hdr.code = LVN_ENDLABELEDIT;
    info.item.mask = LVIF_TEXT;
    info.item.iItem = item_;
    info.item.iSubItem = column_;
    info.item.pszText = cancelled_ ? nullptr : text.data();
    info.item.cchTextMax = static_cast<int>(text.size());
    parent->SendMessage(WM_NOTIFY, static_cast<WPARAM>(list_->GetDlgCtrlID()),
                        reinterpret_cast<LPARAM>(&info.hdr));
}
