#pragma once
// CMonitorLifeDialog: the "Life Prediction" window: four bar gauges of the drive's remaining life
// (dynamic brake, relay, fan, main capacitor) in 0.01 %, coloured by how far the value has fallen.
// The values may be set before the window is created (the view reads them once first, with the
// object in the readers' life slot); they are drawn once it exists.
#include "shell/LifeGauge.h"
#include "shell/monitor/MonitorWindow.h"

#include <array>

class CDC;

class CMonitorLifeDialog : public CMonitorWindow, public ILifeSink {
public:
    static constexpr UINT IDD = 6134;

    CMonitorLifeDialog(CWnd* owner, CMonitorReaders& readers);

    const MessageMap* GetMessageMap() const override;
    // Sizes the window to its gauges and puts each label under its gauge.
    BOOL OnInitDialog() override;

    // ILifeSink: the four values; repaint asks for the gauges to be drawn again at once.
    void SetLifeValues(const std::array<int, LifeItemCount>& values, bool repaint) override;
    const std::array<int, LifeGaugeCount>& Values() const { return m_values; }

    // Draws the four gauges in client coordinates (the paint handler's work; also usable on an image).
    void DrawGauges(CDC& dc);

protected:
    void Register() override;

private:
    void OnPaint();

    std::array<int, LifeGaugeCount> m_values;
};

// Draws one gauge as LifeGauge() lays it out; texts in the given font (already selected).
void DrawLifeGauge(CDC& dc, const LifeGaugeDrawing& gauge);
