#include "shell/monitor/MonitorLifeDialog.h"

#include "framework/core/MessageSeam.h"
#include "framework/ui/DC.h"
#include "resources/ids/monitor.h"

#include <algorithm>

#include <cstdio>

CMonitorLifeDialog::CMonitorLifeDialog(CWnd* owner, CMonitorReaders& readers)
    : CMonitorWindow(IDD, owner, readers) {
    m_values.fill(LifeNoData);
}

const MessageMap* CMonitorLifeDialog::GetMessageMap() const {
    static const MessageMap map(CMonitorWindow::GetMessageMap(), {msg::Paint(&CMonitorLifeDialog::OnPaint)});
    return &map;
}

BOOL CMonitorLifeDialog::OnInitDialog() {
    CMonitorWindow::OnInitDialog();
    // The gauges are drawn in pixels while the template is laid out in dialog units, which follow
    // the font; so the labels and the window follow the gauges here.
    constexpr int kLabelTop = 330;   // below the gauges' erase areas (scale top + 215)
    constexpr int kLabelWidth = 104; // a gauge's erase area is 105 wide
    constexpr int kLabelHeight = 36; // two lines
    constexpr int kMargin = 12;
    for (int i = 0; i < LifeGaugeCount; ++i)
        if (CWnd* label = GetDlgItem(IDC_LIFE_LABEL_FIRST + i))
            label->MoveWindow(LifeGaugeOrigin(i).x - 22, kLabelTop, kLabelWidth, kLabelHeight);
    const int right = LifeGaugeOrigin(LifeGaugeCount - 1).x + 75 + 2 * kMargin;
    int bottom = kLabelTop + kLabelHeight + kMargin;
    if (CWnd* close = GetDlgItem(IDCANCEL)) {
        CRect button;
        close->GetClientRect(&button);
        close->MoveWindow(right - kMargin - button.Width(), bottom, button.Width(), button.Height());
        bottom += button.Height() + kMargin;
    }
    CRect client;
    GetClientRect(&client);
    if (client.Width() < right || client.Height() < bottom) {
        CRect window;
        GetWindowRect(&window);
        MoveWindow(window.left, window.top, window.Width() + std::max(0, right - client.Width()),
                   window.Height() + std::max(0, bottom - client.Height()));
    }
    return TRUE;
}

void CMonitorLifeDialog::Register() {
    Slot<ILifeSink>(m_readers.LifeWindow, this);
}

void CMonitorLifeDialog::SetLifeValues(const std::array<int, LifeItemCount>& values, bool repaint) {
    static_assert(LifeItemCount == LifeGaugeCount);
    m_values = values;
    if (repaint && m_hWnd)
        Invalidate(FALSE);
}

void CMonitorLifeDialog::OnPaint() {
    CPaintDC dc(this);
    DrawGauges(dc);
}

void CMonitorLifeDialog::DrawGauges(CDC& dc) {
    // The window's own font at normal weight, for the scale and value texts.
    LOGFONT logFont;
    if (CFont* own = GetFont(); own && own->IsCreated()) {
        own->GetLogFont(&logFont);
    } else {
        // The templates' dialog font: 8 points.
        logFont.lfHeight = -11;
        std::snprintf(logFont.lfFaceName, sizeof logFont.lfFaceName, "%s", "MS Shell Dlg");
    }
    logFont.lfWeight = FW_NORMAL;
    CFont font;
    font.CreateFontIndirect(&logFont);
    CFont* oldFont = dc.SelectObject(&font);
    for (int i = 0; i < LifeGaugeCount; ++i)
        DrawLifeGauge(dc, LifeGauge(LifeGaugeOrigin(i), m_values[i]));
    dc.SelectObject(oldFont);
}

void DrawLifeGauge(CDC& dc, const LifeGaugeDrawing& gauge) {
    dc.FillSolidRect(gauge.erase, GetSysColor(COLOR_BTNFACE));

    CBrush fill(gauge.colours.fill);
    CBrush frame(gauge.colours.frame);
    dc.FillRect(gauge.bar, &fill);
    dc.FrameRect(gauge.bar, &frame);

    CPen solid(PS_SOLID, 1, gauge.colours.frame);
    CPen dotted(PS_DOT, 1, gauge.colours.frame);
    CPen white(PS_SOLID, 1, RGB(255, 255, 255));
    CPen* oldPen = dc.SelectObject(&solid);
    for (const GaugeLine& line : gauge.lines) {
        dc.SelectObject(line.pen == GaugePen::Solid    ? &solid
                        : line.pen == GaugePen::Dotted ? &dotted
                                                       : &white);
        dc.MoveTo(line.from);
        dc.LineTo(line.to);
    }
    dc.SelectObject(oldPen);

    const int oldMode = dc.SetBkMode(TRANSPARENT);
    const COLORREF oldColour = dc.GetTextColor();
    for (const GaugeText& text : gauge.texts) {
        // A box around the anchor wide enough for any of these short texts.
        constexpr int kHalfWidth = 60;
        constexpr int kHalfHeight = 12;
        CRect box;
        unsigned format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_NOCLIP;
        if (text.align == GaugeTextAlign::RightMiddle) {
            box = CRect(text.anchor.x - 2 * kHalfWidth, text.anchor.y - kHalfHeight, text.anchor.x,
                        text.anchor.y + kHalfHeight);
            format |= DT_RIGHT;
        } else {
            box = CRect(text.anchor.x - kHalfWidth, text.anchor.y - kHalfHeight, text.anchor.x + kHalfWidth,
                        text.anchor.y + kHalfHeight);
            format |= DT_CENTER;
        }
        dc.SetTextColor(text.colour);
        dc.DrawText(text.text, &box, format);
    }
    dc.SetTextColor(oldColour);
    dc.SetBkMode(oldMode);
}
