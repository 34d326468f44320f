#include "framework/ui/BitmapButton.h"

#include "framework/core/ResourceModule.h"
#include "framework/ui/DC.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>
#include <QWidget>

#include <algorithm>

namespace {

bool Load(CBitmap& bitmap, UINT id) {
    bitmap.DeleteObject();
    if (id == 0)
        return false;
    const ImageResource* image = FindImage(static_cast<int>(id));
    return image && !image->bytes.empty() && bitmap.LoadFromBytes(image->bytes.data(), image->bytes.size());
}

} // namespace

BOOL CBitmapButton::LoadBitmaps(UINT normal, UINT selected, UINT focus, UINT disabled) {
    const bool ok = Load(m_bitmap, normal);
    Load(m_bitmapSel, selected);
    Load(m_bitmapFocus, focus);
    Load(m_bitmapDisabled, disabled);
    if (m_hWnd)
        SetButtonStyle((GetButtonStyle() & ~BS_TYPEMASK) | BS_OWNERDRAW);
    return ok;
}

BOOL CBitmapButton::AutoLoad(UINT id, CWnd* parent, UINT normal, UINT selected, UINT focus, UINT disabled) {
    if (!SubclassDlgItem(id, parent))
        return FALSE;
    if (!LoadBitmaps(normal, selected, focus, disabled))
        return FALSE;
    SizeToContent();
    return TRUE;
}

void CBitmapButton::SizeToContent() {
    if (!m_hWnd || !m_bitmap.IsCreated())
        return;
    CRect r;
    GetWindowRect(&r);
    if (CWnd* parent = GetParent())
        parent->ScreenToClient(&r);
    const CSize size = m_bitmap.GetBitmapDimension();
    MoveWindow(r.left, r.top, size.cx, size.cy);
}

void CBitmapButton::DrawItem(LPDRAWITEMSTRUCT item) {
    const CBitmap* bitmap = &m_bitmap;
    if ((item->itemState & ODS_SELECTED) && m_bitmapSel.IsCreated())
        bitmap = &m_bitmapSel;
    else if ((item->itemState & ODS_FOCUS) && m_bitmapFocus.IsCreated())
        bitmap = &m_bitmapFocus;
    else if ((item->itemState & ODS_DISABLED) && m_bitmapDisabled.IsCreated())
        bitmap = &m_bitmapDisabled;
    QPainter* painter = item->hDC ? item->hDC->Painter() : nullptr;
    if (!painter || !bitmap->IsCreated())
        return;
    const CRect& r = item->rcItem;
    const QImage& image = bitmap->Image();
    if (image.size() == QSize(r.Width(), r.Height()) || r.IsRectEmpty()) {
        painter->drawImage(QPoint(r.left, r.top), image);
        return;
    }
    // A picture made for another shape would be squeezed past reading: such a button shows its own
    // caption on a plain button face instead.
    const double pictureShape = static_cast<double>(image.width()) / std::max(1, image.height());
    const double buttonShape = static_cast<double>(r.Width()) / std::max(1, r.Height());
    if (QWidget* widget = GetWidget();
        widget &&
        std::max(pictureShape, buttonShape) > kMostShapeStretch * std::min(pictureShape, buttonShape)) {
        QStyleOptionButton option;
        option.initFrom(widget);
        option.rect = QRect(r.left, r.top, r.Width(), r.Height());
        option.text = QString::fromStdString(GetWindowText());
        option.state |= (item->itemState & ODS_SELECTED) ? QStyle::State_Sunken : QStyle::State_Raised;
        if (item->itemState & ODS_DISABLED)
            option.state &= ~QStyle::State_Enabled;
        widget->style()->drawControl(QStyle::CE_PushButton, &option, painter, widget);
        return;
    }
    // A button the font's dialog units made another size than its picture: the whole picture fills it.
    painter->save();
    painter->setRenderHint(QPainter::SmoothPixmapTransform);
    painter->drawImage(QRect(r.left, r.top, r.Width(), r.Height()), image);
    painter->restore();
}
