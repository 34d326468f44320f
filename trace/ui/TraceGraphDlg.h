#pragma once
// CTraceGraphDlg: the modeless "Wave Trace" window. An eight-channel oscilloscope on the drive's trace
// function: START arms the drive, the start timer launches the sampling thread, the display timers
// move its samples into ring-buffer display arrays, and WM_PAINT draws the plot into a back buffer.
// Closing the window (or replacing it) stops the thread and the drive first.
#include "controls/ColorStatic.h"
#include "controls/DialogScrollHelper.h"
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
#include "trace/ThreadStop.h"
#include "trace/TraceDataFile.h"
#include "trace/TraceIni.h"
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
    int ChannelCountMode() const { return channelCountMode_; }
    // The plot's left-top corner in client coordinates (derived from caption 6016).
    CPoint PlotOrigin() const;
    // Pixels of one division now.
    float Division() const { return GridCellPixels * PlotZoom; }
    // The client rectangle the plot's picture covers.
    CRect PictureRect() const;
    const std::string& CheckErrorText() const { return checkErrorText_; }

    const std::string& TitleText() const { return titleText_; }
    bool Zoomed() const { return zoomed_; }
    float TimePerDivision() const { return timePerDivision_; }
    float LeftTime() const { return leftTime_; }
    int Scale(int channel) const { return scale_[static_cast<size_t>(channel)]; }
    int Offset(int channel) const { return offset_[static_cast<size_t>(channel)]; }
    bool CursorsShown() const { return cursorsShown_; }
    int CursorX(int which) const { return cursorX_[which]; }
    int CursorY(int which) const { return cursorY_[which]; }
    int SelectedChannel() const { return selectedChannel_; }
    bool Snapped() const { return snapped_; }
    // The points of a channel's curve as last drawn (kept only while the cursor lines are shown).
    const std::vector<CurvePoint>& CurvePoints(int channel) const {
        return curvePoints_[static_cast<size_t>(channel)];
    }
    bool Highlighted(int channel) const { return labelHighlight_[static_cast<size_t>(channel)] != 0; }

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
    void PlaceCursorsAt(const std::array<float, 4>& cursors);
    void OnLButtonDown(UINT flags, CPoint point);
    void OnMouseMove(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    void OnRButtonDown(UINT flags, CPoint point);
    void OnLButtonDblClk(UINT flags, CPoint point);
    // Left/Right: the chosen vertical cursor one sample on (true when the key was consumed).
    bool MoveCursorByKey(bool right);
    // Pixels between the scroll start and the plot's left edge.
    int LeftEdgeOffset() const;
    // Zoom with a box in divisions (left, top, width, height) drawn with the mouse, or the button's step.
    void ZoomIn(const CRect* box);
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
    bool ChannelDrawn(int channel) const;
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
    void BringChannelToFront(int channel);
    // Grows a window whose template the font made smaller than ZoomOneClient up to it.
    void OpenNoSmallerThanZoomOne();
    void MoveSecondLabelRow();
    void UpdateScrollRange();
    void EnableItem(int id, BOOL enable);
    void ApplyChannelControlRules();
    // Repaints only the plot's picture (the timers' new samples change nothing else).
    void InvalidatePlot();
    // The window's recording as the file holds it, and a read recording taken into the window.
    TraceRecording CurrentRecording() const;
    void TakeRecording(const TraceRecording& recording, const std::string& path);
    // Writes the recording (".trd") or the export (".csv"); tells the user when it failed.
    bool SaveRecording(const std::string& path);

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
    std::array<int, 8> scaleSelection_{};
    std::array<int, 3> wideHighCodes_{};
    int running_ = 0;
    bool redisplay_ = false;
    int channelCountMode_ = 1;
    std::array<int, 8> drawOrder_{0, 1, 2, 3, 4, 5, 6, 7};
    std::array<int, 8> sources_{1, 2, 3, 5, 6, 7, 36, 37};
    std::array<COLORREF, 4> cursorColours_{};
    std::array<CColorStatic, 4> cursorSwatches_;
    std::array<COLORREF, 8> colours_{0x0000FF, 0x00FFFF, 0xFF8080, 0xFF00FF,
                                     0xFF0000, 0x80FFFF, 0x4080FF, 0xFFFF00};
    std::array<int, 8> colourIndices_{2, 1, 12, 0, 3, 9, 14, 5};
    std::string titleText_;
    std::string initialCaption_;
    int triggerSource_ = 0;
    int triggerLevel_ = 0;
    int triggerEdge_ = 0;
    int triggerPosition_ = 0;
    std::array<int, 24> dioCodes_{};
    std::array<int, 8> offset_{};
    std::array<int, 8> offsetLimit_{};
    std::array<int, 8> sliderPosition_{};
    std::array<int, 8> scale_{};
    std::array<BOOL, 8> shown_{};
    std::array<std::string, 8> legend_;
    float timePerDivision_ = 10.0f;
    float recordTime_ = 100.0f;
    float intervalTime_ = 0.1f;
    float timeBase_ = 100.0f;
    int interval_ = 1;
    int points_ = 0;
    // Entries at the front of the display a stopped Monitor run never filled (left out of the CSV).
    int monitorUnfilled_ = 0;
    float leftTime_ = 0.0f;
    int scrollPosition_ = 0;
    int scrollLimit_ = 0;
    bool dataPresent_ = false;
    bool zoomed_ = false;
    bool cursorsShown_ = false;
    bool pairABOn_ = false;
    bool pairCDOn_ = false;
    int cursorX_[2] = {0, 0}; // A, B: pixels from the plot's left edge
    int cursorY_[2] = {0, 0}; // C, D: pixels from the plot's top edge
    float cursorTime_[2] = {0.0f, 0.0f};
    float cursorValue_[2] = {0.0f, 0.0f};
    int grabbed_ = -1; // 0 A, 1 B, 2 C, 3 D
    std::array<std::vector<CurvePoint>, 8> curvePoints_;
    // Set by a double click that put the cursors on a curve; the arrow keys then follow the curve.
    bool snapped_ = false;
    std::array<int, 4> snappedIndex_{-1, -1, -1, -1};
    int dragAnchor_ = 0;
    bool rubberBand_ = false;
    CPoint bandStart_;
    CPoint bandEnd_;
    // The view before the first zoom, put back by Zoom Out.
    struct ZoomSave {
        int timeSelection = 0;
        float timePerDivision = 0.0f;
        std::array<int, 8> scales{};
        std::array<int, 8> offsets{};
        float leftTime = 0.0f;
        int scroll = 0;
    } zoomSave_;
    int selectedChannel_ = 0;
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
    bool titleChanged_ = false;
    ParameterSnapshot snapshot_;
    std::array<CWnd*, 8> scaleCombos_{};
    // The value labels' font, made once: a paint costs less without it.
    CFont labelFont_;
    // The back buffer, kept between paints while the plot keeps its size.
    CBitmap backBuffer_;
    CSize backBufferSize_;

    CBitmapButton startButton_;
    CBitmapButton settingButton_;
    CBitmapButton openButton_;
    CBitmapButton saveButton_;
    CBitmapButton saveAsButton_;
    CBitmapButton onlineButton_;
    std::weak_ptr<int> lifeCheck_;
    std::shared_ptr<int> life_ = std::make_shared<int>(0);
};
