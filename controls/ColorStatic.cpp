#include "controls/ColorStatic.h"

#include "controls/ColorTable.h"
#include "framework/ui/DC.h"

#include <QWidget>

const MessageMap* CColorStatic::GetMessageMap() const {
    static const MessageMap map(CStatic::GetMessageMap(), {msg::Paint(&CColorStatic::OnPaint)});
    return &map;
}

bool CColorStatic::SubclassDlgItem(UINT id, CWnd* parent) {
    if (!CStatic::SubclassDlgItem(id, parent))
        return false;
    ModifyStyle(SS_TYPEMASK, SS_OWNERDRAW);
    return true;
}

// Painted here whatever style the template gave, so the swatch shows either way.
void CColorStatic::OnPaint() {
    if (!GetWidget())
        return;
    CDC dc(GetWidget());
    DRAWITEMSTRUCT item;
    item.CtlType = ODT_STATIC;
    item.CtlID = static_cast<UINT>(GetDlgCtrlID());
    item.hwndItem = this;
    item.hDC = &dc;
    GetClientRect(&item.rcItem);
    DrawItem(&item);
}

void CColorStatic::DrawItem(LPDRAWITEMSTRUCT drawItem) {
    if (!drawItem || !drawItem->hDC)
        return;
    CDC* dc = drawItem->hDC;
    const CRect inner = SwatchInner(drawItem->rcItem);
    CBrush fill(m_color);
    dc->FillRect(inner, &fill);
    if (drawItem->itemState & ODS_SELECTED)
        dc->DrawFocusRect(inner);
    CBrush black(RGB(0, 0, 0));
    dc->FrameRect(drawItem->rcItem, &black);
}
