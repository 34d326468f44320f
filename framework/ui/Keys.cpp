// The keyboard path: every key first passes PreTranslateMessage of the window it is for and of that
// window's parents, then the window's WM_KEYDOWN and WM_CHAR handlers, and only then the widget.
#include "framework/ui/Fonts.h"
#include "framework/ui/WndInternal.h"

#include <QKeyEvent>
#include <QKeySequence>
#include <QPointer>
#include <QWidget>

namespace {

struct KeyMap {
    int qt;
    UINT vk;
};

constexpr KeyMap kKeys[] = {
    {Qt::Key_Backspace, VK_BACK},
    {Qt::Key_Tab, VK_TAB},
    {Qt::Key_Backtab, VK_TAB},
    {Qt::Key_Return, VK_RETURN},
    {Qt::Key_Enter, VK_RETURN},
    {Qt::Key_Shift, VK_SHIFT},
    {Qt::Key_Control, VK_CONTROL},
    {Qt::Key_Alt, VK_MENU},
    {Qt::Key_Pause, VK_PAUSE},
    {Qt::Key_Escape, VK_ESCAPE},
    {Qt::Key_Space, VK_SPACE},
    {Qt::Key_PageUp, VK_PRIOR},
    {Qt::Key_PageDown, VK_NEXT},
    {Qt::Key_End, VK_END},
    {Qt::Key_Home, VK_HOME},
    {Qt::Key_Left, VK_LEFT},
    {Qt::Key_Up, VK_UP},
    {Qt::Key_Right, VK_RIGHT},
    {Qt::Key_Down, VK_DOWN},
    {Qt::Key_Insert, VK_INSERT},
    {Qt::Key_Delete, VK_DELETE},
    {Qt::Key_Minus, VK_OEM_MINUS},
    {Qt::Key_Period, VK_OEM_PERIOD},
};

thread_local int g_bypass = 0;

} // namespace

UINT VirtualKeyOf(const QKeyEvent& event) {
    const int key = event.key();
    if (event.modifiers() & Qt::KeypadModifier) {
        if (key >= Qt::Key_0 && key <= Qt::Key_9)
            return VK_NUMPAD0 + static_cast<UINT>(key - Qt::Key_0);
        switch (key) {
        case Qt::Key_Asterisk:
            return VK_MULTIPLY;
        case Qt::Key_Plus:
            return VK_ADD;
        case Qt::Key_Minus:
            return VK_SUBTRACT;
        case Qt::Key_Period:
            return VK_DECIMAL;
        case Qt::Key_Slash:
            return VK_DIVIDE;
        default:
            break;
        }
    }
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
        return static_cast<UINT>(key);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12)
        return VK_F1 + static_cast<UINT>(key - Qt::Key_F1);
    for (const KeyMap& k : kKeys)
        if (k.qt == key)
            return k.vk;
    return 0;
}

UINT CharacterOf(const QKeyEvent& event) {
    const QString text = event.text();
    if (!text.isEmpty() && text[0].unicode() != 0x7F)
        return text[0].unicode();
    switch (event.key()) {
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_Tab:
        return 9;
    default:
        break;
    }
    if ((event.modifiers() & Qt::ControlModifier) && event.key() >= Qt::Key_A && event.key() <= Qt::Key_Z)
        return static_cast<UINT>(event.key() - Qt::Key_A + 1);
    return 0;
}

QKeyEvent* MakeKeyEvent(UINT message, WPARAM wParam) {
    const UINT code = static_cast<UINT>(wParam);
    const QEvent::Type type = message == WM_KEYUP ? QEvent::KeyRelease : QEvent::KeyPress;
    if (message == WM_CHAR) {
        int key = 0;
        switch (code) {
        case 8:
            key = Qt::Key_Backspace;
            break;
        case 13:
            key = Qt::Key_Return;
            break;
        case 27:
            key = Qt::Key_Escape;
            break;
        case 9:
            key = Qt::Key_Tab;
            break;
        default:
            if (code >= 'a' && code <= 'z')
                key = Qt::Key_A + static_cast<int>(code - 'a');
            else if (code >= 0x20 && code < 0x7F)
                key = static_cast<int>(code);
            else
                key = Qt::Key_unknown;
        }
        const QString text = code >= 0x20 ? QString(QChar(static_cast<char16_t>(code))) : QString();
        return new QKeyEvent(type, key, Qt::NoModifier, text);
    }
    int key = Qt::Key_unknown;
    if ((code >= 'A' && code <= 'Z') || (code >= '0' && code <= '9'))
        key = static_cast<int>(code);
    else if (code >= VK_F1 && code <= VK_F12)
        key = Qt::Key_F1 + static_cast<int>(code - VK_F1);
    else
        for (const KeyMap& k : kKeys)
            if (k.vk == code) {
                key = k.qt;
                break;
            }
    return new QKeyEvent(type, key, Qt::NoModifier);
}

QKeyEvent* MakeDefaultKeyEvent(UINT message, WPARAM wParam, const QKeyEvent* original) {
    const UINT code = static_cast<UINT>(wParam);
    if (message == WM_CHAR) {
        if (code < 0x20 && code != 8 && code != 13)
            return nullptr;
        return MakeKeyEvent(WM_CHAR, wParam);
    }
    if (message == WM_KEYDOWN && (code == VK_BACK || code == VK_RETURN))
        return nullptr;
    if (!original)
        return MakeKeyEvent(message, wParam);
    const QEvent::Type type = message == WM_KEYUP ? QEvent::KeyRelease : QEvent::KeyPress;
    return new QKeyEvent(type, original->key(), original->modifiers(), QString(), original->isAutoRepeat(),
                         static_cast<quint16>(std::max(1, original->count())));
}

void SendKeyToWidget(QWidget* widget, QKeyEvent* event) {
    ++g_bypass;
    QCoreApplication::sendEvent(widget, event);
    --g_bypass;
}

namespace {

// Packs the repeat count and flags as the key messages carry them.
LPARAM KeyData(const QKeyEvent& event) {
    const unsigned repeat = std::max(1, event.count());
    unsigned flags = event.isAutoRepeat() ? 0x4000u : 0u;
    if (event.type() == QEvent::KeyRelease)
        flags |= 0xC000u;
    return static_cast<LPARAM>(repeat | (flags << 16));
}

bool Walk(CWnd* target, MSG& msg, const QPointer<QWidget>& guard) {
    for (CWnd* w = target; w && guard; w = w->GetParent())
        if (w->PreTranslateMessage(&msg))
            return true;
    return false;
}

bool Handles(CWnd* window, UINT message) {
    return window->GetMessageMap()->Find(MapEntryKind::Message, message, 0, 0) != nullptr;
}

} // namespace

bool RouteKeyEvent(QWidget* target, QKeyEvent* event) {
    if (g_bypass)
        return false;
    CWnd* window = WindowOfWidget(target);
    if (!window)
        return false;
    QPointer<QWidget> guard(window->GetWidget());
    const HWND handle = window->m_hWnd;
    const bool down = event->type() == QEvent::KeyPress;
    const UINT vk = VirtualKeyOf(*event);
    const UINT character = down ? CharacterOf(*event) : 0;
    const LPARAM data = KeyData(*event);
    const UINT keyMessage = down ? WM_KEYDOWN : WM_KEYUP;

    // The message loop's order: PreTranslateMessage sees the key, then the character.
    if (vk) {
        MSG msg{window, keyMessage, vk, data};
        if (Walk(window, msg, guard))
            return true;
        if (!(window = CWnd::FromHandle(handle)))
            return true;
    }
    if (character) {
        MSG msg{window, WM_CHAR, character, data};
        if (Walk(window, msg, guard))
            return true;
        if (!(window = CWnd::FromHandle(handle)))
            return true;
    }
    UINT clip = 0;
    if (down && event->matches(QKeySequence::Paste))
        clip = WM_PASTE;
    else if (down && event->matches(QKeySequence::Cut))
        clip = WM_CUT;
    const bool keyHandled = vk && Handles(window, keyMessage);
    const bool charHandled = character && Handles(window, WM_CHAR);
    const bool clipHandled = clip && Handles(window, clip);
    // A window that handles none of them leaves the key to its widget as it is.
    if (!keyHandled && !charHandled && !clipHandled)
        return false;

    if (clipHandled) {
        window->DispatchEvent(clip, 0, 0, event, target);
        return true;
    }
    if (vk) {
        if (keyHandled) {
            window->DispatchEvent(keyMessage, vk, data, event, target);
        } else if (std::unique_ptr<QKeyEvent> key(MakeDefaultKeyEvent(keyMessage, vk, event)); key) {
            SendKeyToWidget(target, key.get());
        }
        if (!(window = CWnd::FromHandle(handle)))
            return true;
    }
    if (character) {
        if (charHandled) {
            window->DispatchEvent(WM_CHAR, character, data, event, target);
        } else if (std::unique_ptr<QKeyEvent> key(MakeDefaultKeyEvent(WM_CHAR, character, event)); key) {
            SendKeyToWidget(target, key.get());
        }
    }
    return true;
}

void SimulateKeyPress(UINT virtualKey) {
    QWidget* focus = QApplication::focusWidget();
    if (!focus)
        return;
    std::unique_ptr<QKeyEvent> press(MakeKeyEvent(WM_KEYDOWN, virtualKey));
    QString text;
    if (virtualKey >= '0' && virtualKey <= '9')
        text = QChar(static_cast<char16_t>(virtualKey));
    else if (virtualKey >= 'A' && virtualKey <= 'Z')
        text = QChar(static_cast<char16_t>(virtualKey - 'A' + 'a'));
    else if (virtualKey >= VK_NUMPAD0 && virtualKey <= VK_NUMPAD0 + 9)
        text = QChar(static_cast<char16_t>('0' + virtualKey - VK_NUMPAD0));
    else if (virtualKey == VK_SPACE)
        text = " ";
    else if (virtualKey == VK_OEM_PERIOD || virtualKey == VK_DECIMAL)
        text = ".";
    else if (virtualKey == VK_OEM_MINUS || virtualKey == VK_SUBTRACT)
        text = "-";
    const int key = press->key();
    QCoreApplication::postEvent(focus, new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier, text));
    QCoreApplication::postEvent(focus, new QKeyEvent(QEvent::KeyRelease, key, Qt::NoModifier, text));
}

KeloApplication::KeloApplication(int& argc, char** argv) : QApplication(argc, argv) {
    RegisterTemplateFonts();
    InstallTemplateStyle();
}

bool KeloApplication::notify(QObject* receiver, QEvent* event) {
    if ((event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) &&
        receiver->isWidgetType()) {
        if (RouteKeyEvent(static_cast<QWidget*>(receiver), static_cast<QKeyEvent*>(event)))
            return true;
    }
    return QApplication::notify(receiver, event);
}
