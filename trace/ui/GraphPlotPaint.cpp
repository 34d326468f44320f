#include "trace/ui/GraphPlotPaint.h"

#include "framework/ui/DC.h"

void ShowBufferedPlot(CDC& dc, CDC& buffer, const CRect& where, PaintedLabels& labels,
                      const std::function<void(CDC&)>& draw) {
    labels.clear();
    buffer.RecordLabels(&labels);
    draw(buffer);
    buffer.RecordLabels(nullptr);
    dc.BitBlt(where.left, where.top, where.Width(), where.Height(), &buffer, 0, 0, SRCCOPY);
    for (PaintedLabel& label : labels)
        label.rect.OffsetRect(where.left, where.top);
}
