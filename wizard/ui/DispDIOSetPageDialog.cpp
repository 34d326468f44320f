#include "wizard/ui/DispDIOSetPageDialog.h"

#include "catalogue/ParamTexts.h"
#include "framework/core/Format.h"
#include "framework/core/ResourceModule.h"
#include "framework/ui/DC.h"
#include "framework/ui/Gdi.h"
#include "framework/ui/ListCtrl.h"
#include "resources/ids/wizard.h"
#include "wizard/DioDisplay.h"
#include "wizard/WizardNavigation.h"

#include <algorithm>

namespace {
constexpr COLORREF PanelColour = RGB(200, 225, 255);
constexpr COLORREF Black = RGB(0, 0, 0);
constexpr COLORREF Blue = RGB(0, 0, 255);
constexpr int kLoadString = 1085;

std::string NameText(int value, bool outputs) {
    const StringLoader load = ResourceStringLoader();
    return outputs ? TypeNameText(value & 0xFF, load) : CodeNameText(value & 0xFF, load);
}
} // namespace

CDispDIOSetPageDialog::CDispDIOSetPageDialog()
    : CWizardPage(IDD_WZ_DISPLAY_DIO_PAGE, WizardPage::DisplayDio) {}

const MessageMap* CDispDIOSetPageDialog::GetMessageMap() const {
    static const MessageMap map(CWizardPage::GetMessageMap(),
                                {msg::Command(IDC_WZ_PICTURE, &CDispDIOSetPageDialog::OnTogglePicture),
                                 msg::Paint(&CDispDIOSetPageDialog::OnPaint)});
    return &map;
}

BOOL CDispDIOSetPageDialog::OnInitDialog() {
    CWizardPage::OnInitDialog();
    if (CWnd* frame = GetDlgItem(IDC_WZ_PICTURE_FRAME))
        frame->ShowWindow(SW_HIDE);
    for (int id : {IDC_WZ_DI_LIST, IDC_WZ_DO_LIST})
        if (auto* list = dynamic_cast<CListCtrl*>(GetDlgItem(id))) {
            CRect rect;
            list->GetClientRect(&rect);
            list->InsertColumn(0, "No.", LVCFMT_LEFT, 50);
            list->InsertColumn(1, "Setting", LVCFMT_LEFT, 200);
            // Wider where a function's name needs it, so that every name reads whole; the contact
            // type, one letter, takes what is left.
            const bool outputs = id == IDC_WZ_DO_LIST;
            for (int code = 0; code <= 0xFF; ++code) {
                list->InsertItem(code, "");
                list->SetItemText(code, 1, NameText(code, outputs));
            }
            list->SetColumnWidth(1, LVSCW_AUTOSIZE);
            const int setting = std::max(200, list->GetColumnWidth(1));
            list->SetColumnWidth(1, setting);
            list->DeleteAllItems();
            list->InsertColumn(2, "Contact Type", LVCFMT_LEFT, rect.Width() - 54 - setting);
        }
    RefreshLists();
    return TRUE;
}

void CDispDIOSetPageDialog::FillList(int listId, bool outputs) {
    auto* list = dynamic_cast<CListCtrl*>(GetDlgItem(listId));
    if (!list)
        return;
    list->DeleteAllItems();
    const int count = outputs ? DoCount : DiCount;
    for (int i = 0; i < count; ++i) {
        const int value = outputs ? m_DoAssign[static_cast<size_t>(i)] : m_DiAssign[static_cast<size_t>(i)];
        list->InsertItem(i, Format(outputs ? "DO-%d" : "DI-%d", i + 1));
        list->SetItemText(i, 1, NameText(value, outputs));
        list->SetItemText(i, 2, DioContactText(value));
    }
}

void CDispDIOSetPageDialog::RefreshLists() {
    FillList(IDC_WZ_DI_LIST, false);
    FillList(IDC_WZ_DO_LIST, true);
}

void CDispDIOSetPageDialog::OnTogglePicture() {
    pictureMode_ = !pictureMode_;
    for (int id : {IDC_WZ_DI_LIST, IDC_WZ_DO_LIST, IDC_WZ_DI_GROUP, IDC_WZ_DO_GROUP})
        if (CWnd* control = GetDlgItem(id))
            control->ShowWindow(pictureMode_ ? SW_HIDE : SW_SHOW);
    if (CWnd* frame = GetDlgItem(IDC_WZ_PICTURE_FRAME))
        frame->ShowWindow(pictureMode_ ? SW_SHOW : SW_HIDE);
    SetDlgItemText(IDC_WZ_PICTURE, pictureMode_ ? "List" : "Picture");
    Invalidate();
}

CPoint CDispDIOSetPageDialog::DiagramOffset() {
    CRect frame;
    if (CWnd* control = GetDlgItem(IDC_WZ_PICTURE_FRAME)) {
        control->GetWindowRect(&frame);
        ScreenToClient(&frame);
    } else {
        GetClientRect(&frame);
    }
    const CRect& b = DiagramBounds;
    return {frame.left + std::max(0, (frame.Width() - b.Width()) / 2) - b.left,
            frame.top + std::max(0, (frame.Height() - b.Height()) / 2) - b.top};
}

void CDispDIOSetPageDialog::OnPaint() {
    CPaintDC dc(this);
    labels_.clear();
    if (!pictureMode_)
        return;
    dc.SetViewportOrg(DiagramOffset());
    dc.RecordLabels(&labels_);
    CBrush panel(PanelColour);
    CBrush black(Black);
    CPen wire(PS_SOLID, 1, Black);
    CPen blade(PS_SOLID, 2, Blue);
    dc.FillRect(CRect(PanelLeft, PanelTop, PanelRight, PanelBottom), &panel);
    dc.FrameRect(CRect(PanelLeft, PanelTop, PanelRight, PanelBottom), &black);
    dc.FrameRect(CRect(PanelLeft + 1, PanelTop + 1, PanelRight + 1, PanelBottom + 1), &black);
    dc.SetBkMode(TRANSPARENT);
    const int fontHeight = dc.GetTextExtent("DI-1").cy;
    const auto line = [&](int x1, int y1, int x2, int y2) {
        dc.MoveTo(x1, y1);
        dc.LineTo(x2, y2);
    };
    const auto dot = [&](int x, int y) {
        dc.SelectObject(&black);
        dc.Ellipse(x - 3, y - 3, x + 3, y + 3);
    };
    // A contact blade between its two wire ends: closed along the wire, open slanting up.
    const auto drawBlade = [&](int value, int from, int to, int y) {
        dc.SelectObject(&blade);
        if (DioBladeClosed(value))
            line(from, y - 1, to, y - 1);
        else
            line(from - 5, y - 16, to, y - 1);
    };
    const auto text = [&](int x, int y, COLORREF colour, unsigned align, const std::string& t) {
        dc.SetTextColor(colour);
        dc.SetTextAlign(align);
        dc.TextOut(x, y, t);
    };

    for (int i = 0; i < DiCount; ++i) {
        const int y = InputY(i);
        const int value = m_DiAssign[static_cast<size_t>(i)];
        dc.SelectObject(&wire);
        line(230, y, 130, y);
        line(110, y, 90, y);
        line(90, y, 90, y - 30);
        if (i != DiCount - 1)
            dot(90, y);
        drawBlade(value, 130, 110, y);
        text(235, y - fontHeight / 2, Black, TA_LEFT, Format("DI-%d", i + 1));
        text(150, y - fontHeight - 3, Blue, TA_LEFT, DioShortName(NameText(value, false)));
    }
    for (int k = 0; k < DoCount; ++k) {
        const int y = OutputY(k);
        const int value = m_DoAssign[static_cast<size_t>(k)];
        dc.SelectObject(&wire);
        line(380, y, 460, y);
        CRect load(460, y - 10, 500, y + 10);
        dc.FrameRect(load, &black);
        dc.SetTextColor(Black);
        dc.SetTextAlign(TA_LEFT);
        dc.DrawText(LoadResString(kLoadString), &load, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        line(500, y, 520, y);
        line(520, y, 520, y + 30);
        line(330, y, 340, y);
        line(290, y, 310, y);
        line(290, y, 290, y + 30 + (k == DoCount - 1 ? 10 : 0));
        if (k != 0) {
            dot(520, y);
            dot(290, y);
        }
        drawBlade(value, 329, 309, y);
        text(375, y - fontHeight / 2, Black, TA_RIGHT, Format("DO-%d", k + 1));
        text(400, y - fontHeight - 3, Blue, TA_LEFT, DioShortName(NameText(value, true)));
    }
    text(295, 500 - fontHeight / 2, Black, TA_LEFT, "DOCOM");
    dc.RecordLabels(nullptr);
}
