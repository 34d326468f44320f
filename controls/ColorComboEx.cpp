#include "controls/ColorComboEx.h"

#include "controls/ColorTable.h"
#include "framework/ui/DC.h"

const MessageMap* CColorComboEx::GetMessageMap() const {
    static const MessageMap map(CComboBox::GetMessageMap(),
                                {msg::ControlReflect(CBN_SELCHANGE, &CColorComboEx::OnSelChange)});
    return &map;
}

bool CColorComboEx::SubclassDlgItem(UINT id, CWnd* parent) {
    if (!CComboBox::SubclassDlgItem(id, parent))
        return false;
    FillColours();
    return true;
}

BOOL CColorComboEx::Create(DWORD style, const CRect& rect, CWnd* parent, UINT id) {
    if (!CComboBox::Create(style, rect, parent, id))
        return FALSE;
    FillColours();
    return TRUE;
}

void CColorComboEx::FillColours() {
    filled_ = true;
    for (COLORREF colour : SwatchColours()) {
        const int index = AddString("");
        if (index < 0)
            break;
        CComboBox::SetItemData(index, colour);
    }
    CComboBox::SetCurSel(0);
}

void CColorComboEx::EnsureFilled() {
    if (!filled_ && GetSafeHwnd() && CComboBox::GetCount() == 0)
        FillColours();
}

int CColorComboEx::GetCount() {
    EnsureFilled();
    return CComboBox::GetCount();
}

int CColorComboEx::GetCurSel() {
    EnsureFilled();
    return CComboBox::GetCurSel();
}

int CColorComboEx::SetCurSel(int index) {
    EnsureFilled();
    return CComboBox::SetCurSel(index);
}

DWORD_PTR CColorComboEx::GetItemData(int index) {
    EnsureFilled();
    return CComboBox::GetItemData(index);
}

void CColorComboEx::DrawItem(LPDRAWITEMSTRUCT drawItem) {
    if (!drawItem || !drawItem->hDC)
        return;
    CDC* dc = drawItem->hDC;
    const CRect item = drawItem->rcItem;
    CBrush black(RGB(0, 0, 0));
    dc->FrameRect(item, &black);
    const int index = static_cast<int>(drawItem->itemID);
    if (index < 0 || index >= kSwatchColourCount)
        return; // only the table's colours have a swatch
    const CRect inner = SwatchInner(item);
    CBrush fill(SwatchColours()[static_cast<std::size_t>(index)]);
    dc->FillRect(inner, &fill);
    if (drawItem->itemState & ODS_SELECTED)
        dc->DrawFocusRect(inner);
}
