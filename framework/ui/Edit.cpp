#include "framework/ui/Edit.h"

#include "framework/ui/WndInternal.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>

#include <climits>

namespace {

constexpr int kLargestLimit = 0x7FFFFFFE;

// Programmatic changes notify once, after the text is in place, whatever Qt signals on the way.
struct EditState : QObject {
    int suppress = 0;
};

void Notify(QWidget* widget) {
    if (CWnd* w = CWnd::FromWidget(widget))
        w->NotifyParent(EN_CHANGE);
}

} // namespace

void CEdit::CreateWidget(CWnd* wrapper, DWORD style, DWORD exStyle, const CRect& rect, CWnd* parent, int id) {
    QWidget* parentWidget = parent ? parent->GetWidget() : nullptr;
    QWidget* widget = nullptr;
    auto* state = new EditState;
    if (style & ES_MULTILINE) {
        auto* edit = new QPlainTextEdit(parentWidget);
        edit->setReadOnly(style & ES_READONLY);
        edit->setLineWrapMode((style & ES_AUTOHSCROLL) || (style & WS_HSCROLL) ? QPlainTextEdit::NoWrap
                                                                               : QPlainTextEdit::WidgetWidth);
        edit->setVerticalScrollBarPolicy((style & WS_VSCROLL) ? Qt::ScrollBarAsNeeded
                                                              : Qt::ScrollBarAlwaysOff);
        edit->setHorizontalScrollBarPolicy((style & WS_HSCROLL) ? Qt::ScrollBarAsNeeded
                                                                : Qt::ScrollBarAlwaysOff);
        QObject::connect(edit, &QPlainTextEdit::textChanged, edit, [edit, state] {
            if (!state->suppress)
                Notify(edit);
        });
        widget = edit;
    } else {
        auto* edit = new QLineEdit(parentWidget);
        edit->setReadOnly(style & ES_READONLY);
        edit->setMaxLength(kLargestLimit);
        if (style & ES_PASSWORD)
            edit->setEchoMode(QLineEdit::Password);
        const DWORD align = style & ES_ALIGNMASK;
        edit->setAlignment(align == ES_CENTER  ? Qt::AlignHCenter | Qt::AlignVCenter
                           : align == ES_RIGHT ? Qt::AlignRight | Qt::AlignVCenter
                                               : Qt::AlignLeft | Qt::AlignVCenter);
        if (!(exStyle & WS_EX_CLIENTEDGE) && !(style & WS_BORDER))
            edit->setFrame(false);
        QObject::connect(edit, &QLineEdit::textChanged, edit, [edit, state](const QString& text) {
            if (state->suppress)
                return;
            // Letter case and digits-only styles apply to typed text as the platform's edit does.
            if (CWnd* w = CWnd::FromWidget(edit)) {
                const DWORD s = w->GetStyle();
                QString fixed = text;
                if (s & ES_UPPERCASE)
                    fixed = fixed.toUpper();
                else if (s & ES_LOWERCASE)
                    fixed = fixed.toLower();
                if (fixed != text) {
                    const int caret = edit->cursorPosition();
                    ++state->suppress;
                    edit->setText(fixed);
                    edit->setCursorPosition(caret);
                    --state->suppress;
                }
            }
            Notify(edit);
        });
        if (style & ES_NUMBER)
            QObject::connect(edit, &QLineEdit::textEdited, edit, [edit, state](const QString& text) {
                QString digits;
                for (QChar c : text)
                    if (c.isDigit())
                        digits += c;
                if (digits != text) {
                    ++state->suppress;
                    edit->setText(digits);
                    --state->suppress;
                }
            });
        widget = edit;
    }
    state->setParent(widget);
    widget->setGeometry(rect.left, rect.top, std::max(0, rect.Width()), std::max(0, rect.Height()));
    wrapper->AttachWidget(widget, id, style, exStyle, true);
    WndBridge* bridge = WndBridge::Of(widget);
    if (auto* multi = qobject_cast<QPlainTextEdit*>(widget))
        bridge->WatchViewport(multi->viewport());
    bridge->ctlColorKind = (style & ES_READONLY) ? CTLCOLOR_STATIC : CTLCOLOR_EDIT;
    bridge->notifiesFocus = true;
    bridge->setFocusCode = EN_SETFOCUS;
    bridge->killFocusCode = EN_KILLFOCUS;
    bridge->setText = [widget, state](const std::string& text) {
        ++state->suppress;
        if (auto* line = qobject_cast<QLineEdit*>(widget))
            line->setText(QString::fromStdString(text));
        else if (auto* multi = qobject_cast<QPlainTextEdit*>(widget))
            multi->setPlainText(QString::fromStdString(text));
        --state->suppress;
        Notify(widget);
    };
    bridge->getText = [widget]() -> std::string {
        if (auto* line = qobject_cast<QLineEdit*>(widget))
            return line->text().toStdString();
        if (auto* multi = qobject_cast<QPlainTextEdit*>(widget)) {
            // Lines end in CR LF, as the platform's multi-line edit gives them.
            return multi->toPlainText().replace("\n", "\r\n").toStdString();
        }
        return {};
    };
    bridge->procedure = [widget](UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
        auto* line = qobject_cast<QLineEdit*>(widget);
        switch (message) {
        case EM_SETSEL:
            if (line) {
                const int length = static_cast<int>(line->text().size());
                const int start = static_cast<int>(wParam);
                const int end = lParam < 0 || lParam > length ? length : static_cast<int>(lParam);
                if (start < 0)
                    line->deselect();
                else
                    line->setSelection(std::min(start, length), end - std::min(start, length));
            }
            *result = 0;
            return true;
        case EM_LIMITTEXT:
            if (line)
                line->setMaxLength(wParam == 0 || wParam > static_cast<WPARAM>(kLargestLimit)
                                       ? kLargestLimit
                                       : static_cast<int>(wParam));
            *result = 0;
            return true;
        default:
            return false;
        }
    };
    ApplyInitialState(widget, style);
}

BOOL CEdit::Create(DWORD style, const CRect& rect, CWnd* parent, UINT id) {
    if (!CanCreateWindow(this, parent))
        return FALSE;
    CreateWidget(this, style, 0, rect, parent, static_cast<int>(id));
    return TRUE;
}

namespace {
QLineEdit* Line(const CWnd* w) {
    return qobject_cast<QLineEdit*>(w->GetWidget());
}
QPlainTextEdit* Multi(const CWnd* w) {
    return qobject_cast<QPlainTextEdit*>(w->GetWidget());
}
} // namespace

void CEdit::SetLimitText(UINT maxChars) {
    const int limit = maxChars == 0 || maxChars > static_cast<UINT>(kLargestLimit)
                          ? kLargestLimit
                          : static_cast<int>(maxChars);
    if (QLineEdit* line = Line(this))
        line->setMaxLength(limit);
}

UINT CEdit::GetLimitText() const {
    QLineEdit* line = Line(this);
    return line ? static_cast<UINT>(line->maxLength()) : static_cast<UINT>(kLargestLimit);
}

void CEdit::SetSel(int start, int end, BOOL) {
    if (QLineEdit* line = Line(this)) {
        const int length = static_cast<int>(line->text().size());
        if (start < 0) {
            line->deselect();
            return;
        }
        if (end < 0 || end > length)
            end = length;
        start = std::min(start, length);
        if (start == end) {
            line->deselect();
            line->setCursorPosition(start);
        } else if (end > start) {
            line->setSelection(start, end - start);
        } else {
            line->setSelection(start, end - start); // a negative length selects backwards
        }
    } else if (QPlainTextEdit* multi = Multi(this)) {
        QTextCursor cursor = multi->textCursor();
        const int length = multi->document()->characterCount() - 1;
        if (start < 0) {
            cursor.clearSelection();
        } else {
            if (end < 0 || end > length)
                end = length;
            cursor.setPosition(std::min(start, length));
            cursor.setPosition(end, QTextCursor::KeepAnchor);
        }
        multi->setTextCursor(cursor);
    }
}

void CEdit::GetSel(int& start, int& end) const {
    start = end = 0;
    if (QLineEdit* line = Line(this)) {
        if (line->hasSelectedText()) {
            start = line->selectionStart();
            end = line->selectionEnd();
        } else {
            start = end = line->cursorPosition();
        }
    } else if (QPlainTextEdit* multi = Multi(this)) {
        const QTextCursor cursor = multi->textCursor();
        start = cursor.selectionStart();
        end = cursor.selectionEnd();
    }
}

DWORD CEdit::GetSel() const {
    int start = 0, end = 0;
    GetSel(start, end);
    return static_cast<DWORD>(MAKELPARAM(static_cast<unsigned>(start), static_cast<unsigned>(end)));
}

void CEdit::ReplaceSel(const std::string& text, BOOL) {
    if (QLineEdit* line = Line(this))
        line->insert(QString::fromStdString(text));
    else if (QPlainTextEdit* multi = Multi(this))
        multi->insertPlainText(QString::fromStdString(text));
}

void CEdit::Clear() {
    if (QLineEdit* line = Line(this))
        line->del();
    else if (QPlainTextEdit* multi = Multi(this))
        multi->textCursor().removeSelectedText();
}

void CEdit::Copy() {
    if (QLineEdit* line = Line(this))
        line->copy();
    else if (QPlainTextEdit* multi = Multi(this))
        multi->copy();
}

void CEdit::Cut() {
    if (QLineEdit* line = Line(this))
        line->cut();
    else if (QPlainTextEdit* multi = Multi(this))
        multi->cut();
}

void CEdit::Paste() {
    if (QLineEdit* line = Line(this))
        line->paste();
    else if (QPlainTextEdit* multi = Multi(this))
        multi->paste();
}

BOOL CEdit::Undo() {
    if (QLineEdit* line = Line(this)) {
        const bool can = line->isUndoAvailable();
        line->undo();
        return can;
    }
    if (QPlainTextEdit* multi = Multi(this)) {
        multi->undo();
        return TRUE;
    }
    return FALSE;
}

BOOL CEdit::SetReadOnly(BOOL readOnly) {
    if (QLineEdit* line = Line(this))
        line->setReadOnly(readOnly);
    else if (QPlainTextEdit* multi = Multi(this))
        multi->setReadOnly(readOnly);
    else
        return FALSE;
    ModifyStyle(readOnly ? 0 : ES_READONLY, readOnly ? ES_READONLY : 0);
    if (WndBridge* bridge = WndBridge::Of(GetWidget()))
        bridge->ctlColorKind = readOnly ? CTLCOLOR_STATIC : CTLCOLOR_EDIT;
    return TRUE;
}

BOOL CEdit::GetModify() const {
    if (QLineEdit* line = Line(this))
        return line->isModified();
    if (QPlainTextEdit* multi = Multi(this))
        return multi->document()->isModified();
    return FALSE;
}

void CEdit::SetModify(BOOL modified) {
    if (QLineEdit* line = Line(this))
        line->setModified(modified);
    else if (QPlainTextEdit* multi = Multi(this))
        multi->document()->setModified(modified);
}

int CEdit::GetLineCount() const {
    if (QPlainTextEdit* multi = Multi(this))
        return multi->document()->blockCount();
    return 1;
}

void CEdit::SetPasswordChar(char ch) {
    if (QLineEdit* line = Line(this))
        line->setEchoMode(ch ? QLineEdit::Password : QLineEdit::Normal);
}

int CEdit::GetCaretIndex() const {
    if (QLineEdit* line = Line(this))
        return line->cursorPosition();
    if (QPlainTextEdit* multi = Multi(this))
        return multi->textCursor().position();
    return 0;
}

void CEdit::SetCaretIndex(int index) {
    if (QLineEdit* line = Line(this))
        line->setCursorPosition(index);
    else if (QPlainTextEdit* multi = Multi(this)) {
        QTextCursor cursor = multi->textCursor();
        cursor.setPosition(std::clamp(index, 0, multi->document()->characterCount() - 1));
        multi->setTextCursor(cursor);
    }
}
