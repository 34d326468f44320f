#include "framework/ui/StatusBar.h"

#include "framework/core/ResourceModule.h"
#include "framework/ui/Gdi.h"

#include <QFontMetrics>
#include <QMainWindow>
#include <QMouseEvent>
#include <QPainter>
#include <QStatusBar>

#include <utility>

namespace {
constexpr int kGap = 2;     // between panes
constexpr int kPadding = 3; // text inside a pane

// Paints the panes itself, so colours and widths are exactly what the bar holds.
class PaneBar : public QStatusBar {
public:
    explicit PaneBar(QWidget* parent) : QStatusBar(parent) {
        setSizeGripEnabled(false);
        setMinimumHeight(QFontMetrics(font()).height() + 8);
    }
    CStatusBar* Owner() const { return dynamic_cast<CStatusBar*>(CWnd::FromWidget(this)); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), ToQColor(GetSysColor(COLOR_BTNFACE)));
        CStatusBar* bar = Owner();
        if (!bar)
            return;
        for (int i = 0; i < bar->GetCount(); ++i) {
            const CStatusBar::Pane& pane = bar->Panes()[static_cast<std::size_t>(i)];
            CRect r;
            bar->GetItemRect(i, &r);
            const QRect box(r.left, r.top, r.Width(), r.Height());
            if (pane.background != kPaneDefaultColour)
                painter.fillRect(box, ToQColor(pane.background));
            if (!(pane.style & SBPS_NOBORDERS)) {
                painter.setPen(ToQColor(GetSysColor(COLOR_BTNSHADOW)));
                painter.drawRect(box.adjusted(0, 0, -1, -1));
            }
            painter.setPen(
                ToQColor(pane.textColour != kPaneDefaultColour
                             ? pane.textColour
                             : GetSysColor((pane.style & SBPS_DISABLED) ? COLOR_GRAYTEXT : COLOR_BTNTEXT)));
            CRect text;
            bar->GetPaneTextRect(i, &text);
            painter.save();
            painter.setClipRect(box);
            painter.drawText(QRect(text.left, text.top, text.Width(), text.Height()),
                             Qt::AlignVCenter | Qt::AlignLeft, QString::fromStdString(pane.text));
            painter.restore();
        }
    }
    void mouseDoubleClickEvent(QMouseEvent* event) override {
        if (CStatusBar* bar = Owner()) {
            const QPoint p = event->position().toPoint();
            bar->OnPaneDoubleClick(CPoint(p.x(), p.y()));
        }
    }
};
} // namespace

bool CStatusBar::Create(CWnd* parent, DWORD style, UINT id) {
    if (GetSafeHwnd() || !parent || !parent->GetWidget())
        return false;
    auto* bar = new PaneBar(parent->GetWidget());
    if (auto* main = qobject_cast<QMainWindow*>(parent->GetWidget()))
        main->setStatusBar(bar);
    AttachWidget(bar, static_cast<int>(id), style, 0, true);
    bar->setVisible((style & WS_VISIBLE) != 0);
    return true;
}

bool CStatusBar::SetIndicators(const UINT* ids, int count) {
    if (!GetWidget() || (count > 0 && !ids) || count < 0)
        return false;
    panes_.clear();
    for (int i = 0; i < count; ++i) {
        Pane pane;
        pane.id = ids[i];
        pane.text = ids[i] ? LoadResString(static_cast<int>(ids[i])) : std::string();
        pane.width = GetTextExtent(pane.text).cx;
        panes_.push_back(pane);
    }
    GetWidget()->update();
    return true;
}

UINT CStatusBar::GetItemID(int index) const {
    return index >= 0 && index < GetCount() ? panes_[static_cast<std::size_t>(index)].id : 0;
}

int CStatusBar::CommandToIndex(UINT id) const {
    for (int i = 0; i < GetCount(); ++i)
        if (panes_[static_cast<std::size_t>(i)].id == id)
            return i;
    return -1;
}

void CStatusBar::SetPaneInfo(int index, UINT id, UINT style, int width) {
    if (index < 0 || index >= GetCount())
        return;
    Pane& pane = panes_[static_cast<std::size_t>(index)];
    // The frame sets every pane on each of its repaints: only a real change repaints the bar.
    if (pane.id == id && pane.style == style && pane.width == std::max(0, width))
        return;
    pane.id = id;
    pane.style = style;
    pane.width = std::max(0, width);
    if (GetWidget())
        GetWidget()->update();
}

void CStatusBar::SetPaneWidth(int index, int width) {
    if (index >= 0 && index < GetCount())
        SetPaneInfo(index, panes_[static_cast<std::size_t>(index)].id,
                    panes_[static_cast<std::size_t>(index)].style, width);
}

void CStatusBar::GetPaneInfo(int index, UINT& id, UINT& style, int& width) const {
    if (index < 0 || index >= GetCount())
        return;
    const Pane& pane = panes_[static_cast<std::size_t>(index)];
    id = pane.id;
    style = pane.style;
    width = pane.width;
}

bool CStatusBar::SetPaneText(int index, const std::string& text, bool update) {
    if (index < 0 || index >= GetCount())
        return false;
    std::string& current = panes_[static_cast<std::size_t>(index)].text;
    if (current == text)
        return true;
    current = text;
    if (update && GetWidget())
        GetWidget()->update();
    return true;
}

std::string CStatusBar::GetPaneText(int index) const {
    return index >= 0 && index < GetCount() ? panes_[static_cast<std::size_t>(index)].text : std::string();
}

void CStatusBar::SetPaneBackgroundColor(int index, COLORREF colour, bool redraw) {
    if (index < 0 || index >= GetCount())
        return;
    if (std::exchange(panes_[static_cast<std::size_t>(index)].background, colour) != colour && redraw &&
        GetWidget())
        GetWidget()->update();
}

COLORREF CStatusBar::GetPaneBackgroundColor(int index) const {
    return index >= 0 && index < GetCount() ? panes_[static_cast<std::size_t>(index)].background
                                            : kPaneDefaultColour;
}

void CStatusBar::SetPaneTextColor(int index, COLORREF colour, bool redraw) {
    if (index < 0 || index >= GetCount())
        return;
    if (std::exchange(panes_[static_cast<std::size_t>(index)].textColour, colour) != colour && redraw &&
        GetWidget())
        GetWidget()->update();
}

COLORREF CStatusBar::GetPaneTextColor(int index) const {
    return index >= 0 && index < GetCount() ? panes_[static_cast<std::size_t>(index)].textColour
                                            : kPaneDefaultColour;
}

bool CStatusBar::GetItemRect(int index, CRect* rect) const {
    if (!rect || index < 0 || index >= GetCount() || !GetWidget())
        return false;
    const int height = GetWidget()->height();
    const auto boxWidth = [this](int i) { return panes_[static_cast<std::size_t>(i)].width + 2 * kPadding; };
    int left = kGap;
    for (int i = 0; i < index; ++i)
        left += boxWidth(i) + kGap;
    int width = boxWidth(index);
    // A stretching pane takes what the others leave.
    if (panes_[static_cast<std::size_t>(index)].style & SBPS_STRETCH) {
        int others = kGap;
        for (int i = 0; i < GetCount(); ++i)
            if (i != index)
                others += boxWidth(i) + kGap;
        width = std::max(width, GetWidget()->width() - others - kGap);
    }
    *rect = CRect(left, 2, left + width, height - 2);
    return true;
}

bool CStatusBar::GetPaneTextRect(int index, CRect* rect) const {
    if (!GetItemRect(index, rect))
        return false;
    rect->DeflateRect(kPadding, 0);
    return true;
}

void CStatusBar::OnPaneDoubleClick(CPoint point) {
    for (int i = 0; i < GetCount(); ++i) {
        CRect r;
        if (GetItemRect(i, &r) && r.PtInRect(point)) {
            const UINT id = panes_[static_cast<std::size_t>(i)].id;
            if (CWnd* owner = GetParent(); owner && id != 0)
                owner->SendMessage(WM_COMMAND, MAKEWPARAM(id, 0), 0);
            return;
        }
    }
}
