#pragma once
// CTraceGraphDlg: the modeless "Wave Trace" window. An eight-channel oscilloscope on the drive's trace
// function: START arms the drive, the start timer launches the sampling thread, the display timers
// move its samples into ring-buffer display arrays, and WM_PAINT draws the plot into a back buffer.
// Closing the window (or replacing it) stops the thread and the drive first.
#include "controls/ColorStatic.h"
#include "controls/DialogScrollHelper.h"
#include "framework/core/PaintedLabels.h"
#include "framework/ui/BitmapButton.h"
#include "framework/ui/Dialog.h"
#include "framework/ui/Gdi.h"
#include "framework/ui/ScrollBar.h"
#include "framework/ui/SliderCtrl.h"
#include "framework/ui/ToolTipCtrl.h"
#include "link/InternalCode.h"
#include "trace/AcquisitionThreads.h"
#include "trace/CurveMarks.h"
#include "trace/DisplayRing.h"
#include "trace/GraphServices.h"
#include "trace/ParameterSnapshot.h"
#include "trace/RecordingFile.h"
#include "trace/ThreadStop.h"
#include "trace/TraceDataFile.h"
#include "trace/TraceIni.h"
#include "trace/TraceViewModel.h"
#include "trace/ui/GraphButtons.h"
#include "trace/ui/TraceViewLink.h"

#include <array>
#include <atomic>
#include <memory>
#include <string>

class CTraceReadDlg;

inline constexpr UINT_PTR TraceStartTimer = 1120;
inline constexpr UINT_PTR TraceMonitorTimer = 1130;
inline constexpr UINT_PTR TraceSingleTimer = 1140;
inline constexpr UINT_PTR TraceCycleTimer = 1150;
inline constexpr UINT_PTR TraceCycleRepeatTimer = 1160;
// Watches a stopping thread until it has left, so the stop never blocks the window.
inline constexpr UINT_PTR TraceStopTimer = 1170;

// Process-wide plot scale: pixels of one division are GridCellPixels x PlotZoom.
extern float PlotZoom;
extern float GridCellPixels;
// The plot's room (width and height gaps) in the zoom-one client, against which resizing scales.
extern int InitialPlotGapX;
extern int InitialPlotGapY;
// Where the plot's back buffer puts the plot: left 65, top 55.
inline constexpr int PlotBufferLeft = 65;
inline constexpr int PlotBufferTop = 55;

class CTraceGraphDlg : public CDialog, public CInternalCode {
public:
    CTraceGraphDlg(ITraceViewLink& view, CWnd* owner);
    ~CTraceGraphDlg() override;

    const MessageMap* GetMessageMap() const override;
    // Builds the window from template 150 as a child of the owner and shows it.
    BOOL Create();
    using CDialog::Create;
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    BOOL PreTranslateMessage(MSG* msg) override;

    // START / STOP.
    void OnStart();
    // Ends the sampling thread (waiting at most waitMs) and the acquisition timers, and stops the
    // drive's trace. False when the thread did not confirm the stop in time (it is then kept until
    // it ends).
    bool StopAcquisition(DWORD waitMs = AcquisitionStopBoundMs);
    // Closes the window through its close path (stops first when running); the object deletes
    // itself once its window is gone.
    void CloseWindow();
    void EnableOnlineEditButton(BOOL enable);
    // The client in which the plot is drawn at zoom 1: that of the 1000 x 650 window (thin frame) the
    // plot's pixel geometry was laid out for. The template's own size follows the font's dialog units,
    // so the window opens no smaller than this and resizing scales the plot against it.
    static constexpr CSize ZoomOneClient{996, 646};
    // A screen (work area) lower than LowScreenHeight gets the smallest window, centred.
    static constexpr int LowScreenHeight = 800;
    void FitToScreenHeight(int screenHeight);
    // Reads the drive parameters that go with the recording (ViewBusyFlag held); FALSE when a needed
    // read failed, the previous snapshot is then dropped.
    BOOL ReadParameterSnapshot();
    const ParameterSnapshot& Snapshot() const { return snapshot_; }
    void LayoutControls(int flag);

    // The display array of a channel (0..7), read through its accessor.
    const DisplayRing& Display(int channel) const { return display_[static_cast<size_t>(channel)]; }
    bool Running() const { return running_ != 0; }
    // STOP was pressed and the thread has not left yet.
    bool Stopping() const { return pendingStop_.Pending(); }
    // Continuous redisplay (button 1067): the drive's last record is read again and shown.
    bool Redisplaying() const { return redisplay_; }
    bool HasThread() const { return thread_ != nullptr; }
    bool DataPresent() const { return dataPresent_; }
    int ChannelCountMode() const { return plot_.channelCountMode; }
    // The plot's left-top corner in client coordinates (derived from caption 6016).
    CPoint PlotOrigin() const;
    // Pixels of one division now.
    float Division() const { return GridCellPixels * PlotZoom; }
    // The client rectangle the plot's picture covers.
    CRect PictureRect() const;
    // The colour a channel (0..7) is drawn in: its curve, legend and value labels.
    COLORREF ChannelColour(int channel) const { return colours_[static_cast<size_t>(channel)]; }
    const std::string& CheckErrorText() const { return checkErrorText_; }

    const std::string& TitleText() const { return recordingFile_.Path(); }
    bool Zoomed() const { return plot_.zoomed; }
    float TimePerDivision() const { return plot_.timePerDivision; }
    float LeftTime() const { return plot_.leftTime; }
    int Scale(int channel) const { return plot_.scale[static_cast<size_t>(channel)]; }
    int Offset(int channel) const { return plot_.offset[static_cast<size_t>(channel)]; }
    bool CursorsShown() const { return plot_.cursorsShown; }
    int CursorX(int which) const { return plot_.cursorX[static_cast<size_t>(which)]; }
    int CursorY(int which) const { return plot_.cursorY[static_cast<size_t>(which)]; }
    int SelectedChannel() const { return plot_.selectedChannel; }
    bool Snapped() const { return plot_.snapped; }
    // The points of a channel's curve as last drawn (kept only while the cursor lines are shown).
    const std::vector<CurvePoint>& CurvePoints(int channel) const {
        return plot_.curvePoints[static_cast<size_t>(channel)];
    }
    bool Highlighted(int channel) const { return labelHighlight_[static_cast<size_t>(channel)] != 0; }
    // The texts the last paint drew into the plot's picture, in client coordinates.
    const PaintedLabels& PlotLabels() const { return plotLabels_; }

    // The timers (public so tests fire them as the framework would).
    void OnTimer(UINT_PTR id);

    // Moves the trace set-up of the view into the window (sources, time base, scales).
    void RestoreDisplaySetup();

protected:
    void PostNcDestroy() override;
    void OnOK() override {}
    void OnCancel() override {}

private:
    void OnClose();
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* dc);
    void OnSize(UINT type, int cx, int cy);
    void OnSizing(UINT side, CRect* rect);
    void OnHScroll(UINT code, UINT position, CScrollBar* bar);
    void OnVScroll(UINT code, UINT position, CScrollBar* bar);
    LRESULT OnAcquisitionMessage(WPARAM code, LPARAM);
    HBRUSH OnCtlColor(CDC* dc, CWnd* control, UINT kind);
    void OnZoomIn();
    void OnZoomOut();
    void OnCursorCheck();
    void OnCursorModeChange();
    void OnLButtonDown(UINT flags, CPoint point);
    void OnMouseMove(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    void OnRButtonDown(UINT flags, CPoint point);
    void OnLButtonDblClk(UINT flags, CPoint point);
    // Left/Right: the chosen vertical cursor one sample on (true when the key was consumed).
    bool MoveCursorByKey(bool right);
    // Zoom with a box in divisions (left, top, width, height) drawn with the mouse, or the button's step.
    void ZoomIn(const ZoomBox* box);
    void RefreshReadouts();
    void DrawCursors(CDC& dc);
    void OnCopyToClipboard();
    void OnOnlineEdit();
    void OnChannelShown(UINT id);
    void OnOffsetStep(UINT id);
    void OnScaleChange(UINT id);
    void OnTimeBaseChange();
    void OnAutosave();
    void OnOpen();
    void OnTraceSetting();
    void OnUpdateAutosaveList();
    void OnTraceParameters();
    void OnRedisplay();
    void ResetTimeAxis();
    void OnOpenAutosaveFile();
    void OnBrowseAutosavePath();
    void OnZeroToMiddle(UINT id);
    void OnCentreData(UINT id);
    void OnChannelLabel(UINT id);
    void OnUnitSelect();
    BOOL OnMouseWheel(UINT flags, short delta, CPoint point);
    void OnSave();
    void OnSaveAs();

    // Start and stop paths of OnStart.
    void StartPath();
    // A run whose thread has ended: the stop path, or on a lost link an end without a box.
    void EndRunAfterThread();
    // Asks a running thread to leave; true when nothing runs and the stop path may go on now.
    bool BeginStop();
    void StopWaitTick();
    void StopPath(DWORD waitMs = AcquisitionStopBoundMs);
    void ResetStartButton();
    void SetRunning(bool running);
    void StartThread();
    bool ThreadEnded() const;
    void DeleteEndedThread();
    void MonitorTick();
    void SingleTick();
    void CycleTick(bool repeat);
    void WriteNumberedRecording(bool atStop);
    void ShowQueuedMonitorSamples();

    // Drawing.
    void DrawPlot(CDC& dc);
    void DrawChannelCurve(CDC& dc, int channel);
    int TimeDisplayDivisor() const;
    void BuildLegendNames();
    // The trigger condition in fields 1070, 1071, 6070 and 6071.
    void ShowTriggerSummary();
    void AttachCursorSwatches();
    void OnCursorSwatch(UINT id);
    void FillScaleCombos();
    void FillTimeBaseCombo();
    void ApplyScaleSelection(int channel);
    void AutoScaleChannels();
    // Grows a window whose template the font made smaller than ZoomOneClient up to it.
    void OpenNoSmallerThanZoomOne();
    void MoveSecondLabelRow();
    void UpdateScrollRange();
    // The time bar as the view model has it.
    void SyncScrollBar();
    void EnableItem(int id, BOOL enable);
    void ApplyChannelControlRules();
    // Repaints only the plot's picture (the timers' new samples change nothing else).
    void InvalidatePlot();
    // The window's recording as the file holds it, and a read recording taken into the window.
    TraceRecording CurrentRecording() const;
    void TakeRecording(const TraceRecording& recording, const std::string& path);
    // Writes the recording (".trd") or the export (".csv"); tells the user when it failed.
    bool WriteRecording(const std::string& path);

    ITraceViewLink& view_;
    CWnd* owner_;
    DialogScrollHelper scroller_;
    CTraceReadDlg* readWindow_ = nullptr;
    // Set by the acquisition message's code 2: code 5 then leaves the drive's trace state alone.
    bool statePollSuppressed_ = false;
    std::array<CToolTipCtrl, 4> tips_;
    std::array<DisplayRing, 8> display_;
    DisplayRing indexDisplay_;
    std::array<int32_t, 8> preValue_{};
    std::array<uint8_t, 8> labelHighlight_{};
    int autosaveFileNumber_ = 0;
    int autosaveSubNumber_ = 0;
    std::shared_ptr<std::atomic<bool>> autosave_ = std::make_shared<std::atomic<bool>>(false);
    BOOL autosaveCheck_ = FALSE;
    std::array<int, 3> wideHighCodes_{};
    int running_ = 0;
    bool redisplay_ = false;
    std::array<COLORREF, 4> cursorColours_{};
    std::array<CColorStatic, 4> cursorSwatches_;
    std::array<COLORREF, 8> colours_{0x0000FF, 0x00FFFF, 0xFF8080, 0xFF00FF,
                                     0xFF0000, 0x80FFFF, 0x4080FF, 0xFFFF00};
    std::array<int, 8> colourIndices_{2, 1, 12, 0, 3, 9, 14, 5};
    RecordingFile recordingFile_;
    int triggerSource_ = 0;
    int triggerLevel_ = 0;
    int triggerEdge_ = 0;
    int triggerPosition_ = 0;
    std::array<int, 24> dioCodes_{};
    std::array<std::string, 8> legend_;
    // The plot's state and rules.
    CTraceViewModel plot_;
    // Entries at the front of the display a stopped Monitor run never filled (left out of the CSV).
    int monitorUnfilled_ = 0;
    bool dataPresent_ = false;
    int grabbed_ = -1; // 0 A, 1 B, 2 C, 3 D
    int dragAnchor_ = 0;
    bool rubberBand_ = false;
    CPoint bandStart_;
    CPoint bandEnd_;
    int cursorDisplayMode_ = 0;
    int valueUnitSelection_ = 0;
    BOOL fixedCheck_ = FALSE;
    std::string checkErrorText_ = "CheckNG:0";
    std::string captureTimeText_;
    std::string autosaveName_;
    std::string autosaveFolder_;
    std::unique_ptr<CMyThread> thread_;
    PendingStop pendingStop_;
    std::string exchangedCaptureTime_;
    CRect recordedLabelRect_; // right edge of 1438 and top of 4002 as OnInitDialog found them
    bool initialised_ = false;
    ParameterSnapshot snapshot_;
    std::array<CWnd*, 8> scaleCombos_{};
    // The value labels' font, made once: a paint costs less without it.
    CFont labelFont_;
    PaintedLabels plotLabels_;
    // The back buffer, kept between paints while the plot keeps its size.
    CBitmap backBuffer_;
    CSize backBufferSize_;

    GraphToolRow tools_;
    std::weak_ptr<int> lifeCheck_;
    std::shared_ptr<int> life_ = std::make_shared<int>(0);
    CBrush fixedBack_; // the face of the "Fixed" check box
};
