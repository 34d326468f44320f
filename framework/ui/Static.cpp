#include "framework/ui/Static.h"

#include "framework/core/ResourceTypes.h"
#include "framework/ui/DC.h"
#include "framework/ui/Gdi.h"
#include "framework/ui/WndInternal.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>

namespace {

class KeloLabel : public QLabel {
public:
    using QLabel::QLabel;
    bool ownerDraw = false;

protected:
    void paintEvent(QPaintEvent* event) override {
        if (!ownerDraw) {
            QLabel::paintEvent(event);
            return;
        }
        CWnd* wrapper = CWnd::FromWidget(this);
        CWnd* parent = wrapper ? wrapper->GetParent() : nullptr;
        if (!parent)
            return;
        CDC dc(this);
        DRAWITEMSTRUCT item;
        item.CtlType = ODT_STATIC;
        item.CtlID = static_cast<UINT>(wrapper->GetDlgCtrlID());
        item.itemState = isEnabled() ? 0u : ODS_DISABLED;
        item.hwndItem = wrapper;
        item.hDC = &dc;
        item.rcItem = CRect(0, 0, width(), height());
        parent->SendMessage(WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        CWnd* w = CWnd::FromWidget(this);
        if (w && (w->GetStyle() & SS_NOTIFY) && event->button() == Qt::LeftButton &&
            rect().contains(event->position().toPoint())) {
            w->NotifyParent(STN_CLICKED);
            return;
        }
        QLabel::mouseReleaseEvent(event);
    }
    void mouseDoubleClickEvent(QMouseEvent* event) override {
        CWnd* w = CWnd::FromWidget(this);
        if (w && (w->GetStyle() & SS_NOTIFY)) {
            w->NotifyParent(STN_DBLCLK);
            return;
        }
        QLabel::mouseDoubleClickEvent(event);
    }
    void mousePressEvent(QMouseEvent* event) override {
        CWnd* w = CWnd::FromWidget(this);
        if (w && (w->GetStyle() & SS_NOTIFY))
            return; // taken here, so the release comes back to this label
        QLabel::mousePressEvent(event);
    }
};

void ApplyKind(KeloLabel* label, DWORD style) {
    const DWORD kind = style & SS_TYPEMASK;
    Qt::Alignment align = Qt::AlignLeft | Qt::AlignTop;
    if (kind == SS_CENTER)
        align = Qt::AlignHCenter | Qt::AlignTop;
    else if (kind == SS_RIGHT)
        align = Qt::AlignRight | Qt::AlignTop;
    if (style & SS_CENTERIMAGE)
        align = (align & Qt::AlignHorizontal_Mask) | Qt::AlignVCenter;
    if (kind == SS_BITMAP || kind == SS_ICON)
        align = (style & SS_CENTERIMAGE) ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignTop;
    label->setAlignment(align);
    label->setWordWrap(kind == SS_LEFT || kind == SS_CENTER || kind == SS_RIGHT);
    label->ownerDraw = kind == SS_OWNERDRAW;
    switch (kind) {
    case SS_BLACKFRAME:
    case SS_GRAYFRAME:
    case SS_WHITEFRAME:
        label->setFrameStyle(QFrame::Box | QFrame::Plain);
        break;
    case SS_ETCHEDFRAME:
        label->setFrameStyle(QFrame::Box | QFrame::Sunken);
        break;
    case SS_ETCHEDHORZ:
        label->setFrameStyle(QFrame::HLine | QFrame::Sunken);
        break;
    case SS_ETCHEDVERT:
        label->setFrameStyle(QFrame::VLine | QFrame::Sunken);
        break;
    case SS_BLACKRECT:
    case SS_GRAYRECT:
    case SS_WHITERECT: {
        label->setAutoFillBackground(true);
        QPalette p = label->palette();
        p.setColor(QPalette::Window, kind == SS_BLACKRECT  ? Qt::black
                                     : kind == SS_GRAYRECT ? Qt::gray
                                                           : Qt::white);
        label->setPalette(p);
        break;
    }
    default:
        if (style & SS_SUNKEN) {
            label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            // The platform draws a sunken static's text right inside its edge; the label's own indent
            // for framed text would push a read-out's line down and cut it at the bottom. A pixel
            // on the aligned side keeps the text off the edge (contents margins would move the
            // frame's rectangle and lose its top and bottom lines).
            label->setIndent(1);
        }
    }
}

} // namespace

std::string StripMnemonic(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&') {
            if (i + 1 < text.size() && text[i + 1] == '&')
                out += '&', ++i;
            continue;
        }
        out += text[i];
    }
    return out;
}

void CStatic::CreateWidget(CWnd* wrapper, const std::string& text, DWORD style, DWORD exStyle,
                           const CRect& rect, CWnd* parent, int id) {
    auto* label = new KeloLabel(parent ? parent->GetWidget() : nullptr);
    ApplyKind(label, style);
    const bool noPrefix = style & SS_NOPREFIX;
    const DWORD kind = style & SS_TYPEMASK;
    if (kind != SS_BITMAP && kind != SS_ICON)
        label->setText(QString::fromStdString(noPrefix ? text : StripMnemonic(text)));
    label->setTextFormat(Qt::PlainText);
    // Without SS_NOTIFY a static lets clicks through to what lies beneath, as on the platform.
    if (!(style & SS_NOTIFY) && (style & SS_TYPEMASK) != SS_OWNERDRAW)
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
    label->setGeometry(rect.left, rect.top, std::max(0, rect.Width()), std::max(0, rect.Height()));
    wrapper->AttachWidget(label, id, style, exStyle, true);
    WndBridge* bridge = WndBridge::Of(label);
    bridge->ctlColorKind = CTLCOLOR_STATIC;
    bridge->setText = [label](const std::string& t) {
        CWnd* w = CWnd::FromWidget(label);
        const bool raw = w && (w->GetStyle() & SS_NOPREFIX);
        label->setText(QString::fromStdString(raw ? t : StripMnemonic(t)));
        label->setProperty("kelo_text", QString::fromStdString(t));
    };
    bridge->getText = [label]() -> std::string {
        const QVariant raw = label->property("kelo_text");
        return raw.isValid() ? raw.toString().toStdString() : label->text().toStdString();
    };
    label->setProperty("kelo_text", QString::fromStdString(text));
    ApplyInitialState(label, style);
}

BOOL CStatic::Create(const char* text, DWORD style, const CRect& rect, CWnd* parent, UINT id) {
    if (!CanCreateWindow(this, parent))
        return FALSE;
    CreateWidget(this, text ? text : "", style, 0, rect, parent, static_cast<int>(static_cast<short>(id)));
    return TRUE;
}

CBitmap* CStatic::SetBitmap(CBitmap* bitmap) {
    CBitmap* old = bitmap_;
    bitmap_ = bitmap;
    if (auto* label = qobject_cast<QLabel*>(GetWidget())) {
        if (bitmap && bitmap->IsCreated())
            label->setPixmap(QPixmap::fromImage(bitmap->Image()));
        else
            label->setPixmap(QPixmap());
    }
    return old;
}

HICON CStatic::SetIcon(HICON icon) {
    HICON old = icon_;
    icon_ = icon;
    if (auto* label = qobject_cast<QLabel*>(GetWidget())) {
        QPixmap pixmap;
        if (icon && !icon->bytes.empty())
            pixmap.loadFromData(icon->bytes.data(), static_cast<uint>(icon->bytes.size()));
        label->setPixmap(pixmap);
    }
    return old;
}
