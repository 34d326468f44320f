// The trace window's trigger summary fields and its four cursor colour swatches.
#include "catalogue/DocumentGlobals.h"
#include "framework/ui/FileDialog.h"
#include "resources/ids/trace.h"
#include "trace/TriggerSummary.h"
#include "trace/ui/TraceGraphDlg.h"

void CTraceGraphDlg::ShowTriggerSummary() {
    const TriggerSummaryTexts t = TriggerSummary(triggerSource_, triggerLevel_, triggerEdge_,
                                                 triggerPosition_, plot_.sources, dioCodes_, ModelCode);
    triggerSource_ = t.triggerSource;
    triggerLevel_ = t.triggerLevel;
    SetDlgItemText(IDC_TG_UNIT_NONE, t.signal);
    SetDlgItemText(IDC_TG_UNIT_TEXT, t.level);
    SetDlgItemText(IDC_TG_UNIT_LEFT, t.edge);
    SetDlgItemText(IDC_TG_UNIT_RIGHT, t.position);
}

void CTraceGraphDlg::AttachCursorSwatches() {
    for (size_t i = 0; i < cursorSwatches_.size(); ++i) {
        cursorSwatches_[i].SubclassDlgItem(static_cast<UINT>(IDC_TG_CURSOR1_SWATCH + static_cast<int>(i)),
                                           this);
        cursorSwatches_[i].m_color = cursorColours_[i];
        cursorSwatches_[i].Invalidate(TRUE);
    }
}

void CTraceGraphDlg::OnCursorSwatch(UINT id) {
    const int index = static_cast<int>(id) - IDC_TG_CURSOR1_SWATCH;
    if (index < 0 || index >= static_cast<int>(cursorSwatches_.size()))
        return;
    const size_t i = static_cast<size_t>(index);
    CColorDialog picker(cursorColours_[i], 0, this);
    if (picker.DoModal() != IDOK)
        return;
    cursorColours_[i] = picker.GetColor();
    cursorSwatches_[i].m_color = cursorColours_[i];
    cursorSwatches_[i].Invalidate(TRUE);
    // The view keeps a chosen cursor colour for the next window and trace.ini.
    TraceSettings& settings = view_.Settings();
    settings.cursorColors[i] = cursorColours_[i];
    settings.cursorColorUsed[i] = 1;
    Invalidate(FALSE);
}
