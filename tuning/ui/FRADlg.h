#pragma once
// CFRADlg: the modal "Mechanical Characteristic Analysis" window. Start runs one measurement on the
// drive (excitation, wait for completion with Cancel, restore, read of the recorded words through
// CFRAReadDlg, "111.dat"), computes the frequency response and shows it as a Bode plot: gain and
// phase over the piecewise-logarithmic axis, painted in WM_PAINT from two off-screen pictures, with
// two draggable cursors and their read-outs, scale and offset buttons, a copy of the window to the
// clipboard and the resonance notch filter set.
#include "framework/core/PaintedLabels.h"
#include "framework/ui/Dialog.h"
#include "framework/ui/Gdi.h"
#include "link/services/RegisterServices.h"
#include "tuning/AnalysisRecords.h"
#include "tuning/AnalysisRun.h"
#include "tuning/FrequencyResponse.h"

#include <chrono>
#include <memory>
#include <string>

class CFRAReadDlg;
class CDC;

// Disables control 1 (Start, OK) of a tool window when it exists: the view calls it when the link
// goes.
void DisableOkButton(CWnd* window);

class CFRADlg : public CDialog {
public:
    static constexpr CPoint GainPlotOrigin{116, 16};
    static constexpr CPoint PhasePlotOrigin{116, 250};
    static constexpr CSize ClipboardSize{755, 490};

    CFRADlg(CWnd* parent, CRegisterServices& services);
    ~CFRADlg() override;
    const MessageMap* GetMessageMap() const override;

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    // Start.
    void OnOK() override;
    void OnCancel() override;

    BOOL RunMeasurement();
    BOOL StartExcitation();
    int PollMeasurementState();
    void ShowReadProgress();
    void EndReadDialog();
    LRESULT OnFraProgress(WPARAM code, LPARAM);
    void OnReadData();
    BOOL ReadAnalysisBlocks();
    // False when the scale factors could not be read (nothing is shown then).
    bool ComputeFrequencyResponse();
    void DrawBodePlot(CDC& dc);
    void CopyPlotToClipboard();

    void OnToggleCursors();
    void OnNotchFilterSet();
    void OnGainUp();
    void OnGainDown();
    void OnPhaseUp();
    void OnPhaseDown();
    void OnGainScaleChange();
    void OnPhaseScaleChange();
    void OnPaint();
    void OnLButtonDown(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    void OnMouseMove(UINT flags, CPoint point);

    // Members the run, the computation and the plot share.
    AnalysisSeries m_torque{};
    AnalysisSeries m_speed{};
    FrequencyResponseResult m_response{};
    float m_sampleTime = 0.0001f;
    bool AnalysisDataValid = false;
    double m_resonanceFrequency = 0;
    double m_antiResonanceFrequency = 0;
    int m_resonanceBin = 0;     // bin - 1
    int m_antiResonanceBin = 0; // bin - 1
    int m_cursor1X = 0;
    int m_cursor2X = 0;
    int m_loadTorque = 0;
    int m_excitation = ExcitationSettingValue;
    int m_savedJogSpeed = 0;
    // Ends the excitation and puts back what the start changed, through the view's stop keeper.
    StopResult StopExcitation();
    // The excitation's stop, with the jog speed its start saved.
    CStopKeeper::Writes ExcitationStop() const;
    static constexpr const char* ExcitationMotion = "analysis excitation";
    int m_measurementState = 0;
    bool m_readSucceeded = false;
    CFRAReadDlg* m_readWindow = nullptr;
    // How long the drive may take to report completion (CompletionWaitLimit; tests shorten it).
    std::chrono::milliseconds m_completionWaitLimit = CompletionWaitLimit;
    int m_gainScale = 20;   // dB per division
    int m_phaseScale = 180; // degrees per division
    int GainOffset = 1;
    int PhaseOffset = 0;
    bool m_cursorsShown = false;
    bool m_dragging1 = false;
    bool m_dragging2 = false;
    CBitmap m_gainPicture;
    CBitmap m_phasePicture;
    std::string m_loadTorqueText;
    // The axis labels the last paint drew, where it drew them.
    PaintedLabels paintedLabels_;

private:
    static constexpr int ExcitationSettingValue = 100;
    void ShowFailure(const std::string& detail);
    void InvalidateGainPlot();
    void InvalidatePhasePlot();
    void DrawGainPicture(CDC& picture);
    void DrawPhasePicture(CDC& picture);
    void DrawCursorReadouts();
    bool InPlotBand(CPoint point) const;

    CRegisterServices& services_;
};
