#pragma once
// CBOXDlg: the box record viewer. It arms nothing itself (its settings dialog does), waits for the
// drive's finished record (timer 2000 enables START), reads it with one CBOXThread (timers 1120 and
// 1140), plots it, measures it with cursors, zooms and scales it, and keeps it in record files.
// The plot state and its rules are CBoxViewModel's; this class moves the controls from them.
#include "box/BoxViewModel.h"
#include "box/ui/BoxPlot.h"
#include "box/ui/BoxViewLink.h"

#include "controls/ColorComboEx.h"
#include "controls/DialogScrollHelper.h"
#include "framework/core/PaintedLabels.h"
#include "framework/ui/BitmapButton.h"
#include "framework/ui/Dialog.h"
#include "framework/ui/Gdi.h"
#include "link/InternalCode.h"
#include "trace/RecordingFile.h"
#include "trace/ThreadStop.h"
#include "trace/TraceDataFile.h"
#include "trace/ui/GraphButtons.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

class CBOXThread;
class CTraceReadDlg;
class CComboBox;
class CSliderCtrl;
class CScrollBar;

constexpr UINT_PTR ThreadStartTimer = 1120;
constexpr UINT_PTR RecordCollectTimer = 1140;
constexpr UINT_PTR RecordReadyTimer = 2000;
// Watches a stopping thread until it has left, so STOP never blocks the window.
constexpr UINT_PTR BoxStopTimer = 1170;

// The viewer whose thread runs.
extern class CBOXDlg* ActiveBoxViewer;

class CBOXDlg : public CDialog, public CInternalCode, public CBoxViewModel {
public:
    explicit CBOXDlg(IBoxViewLink& view, CWnd* parent = nullptr);
    ~CBOXDlg() override;

    const MessageMap* GetMessageMap() const override;
    BOOL Create();
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    // Esc and the view's Cancel take the close path (the thread stops, the object goes).
    void OnCancel() override;
    void OnOK() override {}

    // --- Acquisition -----------------------------------------------------------------------------
    void OnStart();
    // A read whose thread has ended: the stop path, or on a lost link an end without a box.
    void EndRunAfterThread();
    void OnTimer(UINT_PTR id);
    // Stops the reading thread within the graph windows' bound; a thread still running then is handed
    // to the kept threads (never deleted running). True when it had ended.
    bool StopBlackBoxThread(DWORD waitMs = AcquisitionStopBoundMs);
    // STOP was pressed and the thread has not left yet.
    bool Stopping() const { return pendingStop_.Pending(); }
    void ToggleCapture();
    // Connected, with a document, and 0x1523 reads non-zero.
    bool IsRecordReady();
    void EnableOnlineEditButton(bool connected);

    // --- Settings ----------------------------------------------------------------------------
    void OnTraceSetting();
    void RestoreKeptSettings();

    // --- Files -------------------------------------------------------------------------------
    // Writes the record shown (the form by the name's ending); false, after a message, on failure.
    bool SaveTraceFile(const std::string& path);
    void SaveTraceFileAs();
    void OnSave();
    void OpenTraceFile();
    // Loads a record file as Open does (openOnly: the view settings of the file too); false, after
    // a message, when the file was refused; the record shown then stays.
    bool LoadTraceFile(const std::string& path, bool openOnly = true);
    std::string AutoSaveFilePath() const;
    // "Auto Save" clicked: when checked (and no capture runs on a link), lists the autosaved files.
    void OnAutoSaveCheck();
    // Loads the file picked in the autosave list; a file gone is reported, the record shown stays.
    void OpenAutosaveFile();
    void OnRefreshAutosaveList();
    void OnChooseAutosaveFolder();

    // --- View --------------------------------------------------------------------------------
    void OnZoomIn();
    void OnZoomOut();
    void CopyPlotToClipboard();
    // Draws the plot into a back buffer of BoxPlotBufferSize (what the paint copies to the window).
    void DrawPlot(CDC& buffer);
    // The texts the last paint drew into the plot's picture, in client coordinates.
    const PaintedLabels& PlotLabels() const { return plotLabels_; }
    void RefreshTimeReadouts();
    void RefreshValueReadouts();
    void ShowCursorUnits();
    void RebuildChannelLegends();
    void RefreshTriggerDescription();
    // ChannelColorValue from ChannelColorIndex; the captions "Data1" to "Data4" are drawn again in
    // them (a repaint of the window leaves its controls' colours as they were).
    void ApplyChannelColours();
    void CloseViewer();

    // Members the description names that the model does not hold.
    std::array<COLORREF, 4> ChannelColorValue{0x0000FF, 0x00FFFF, 0xFF0000, 0xFF00FF};
    std::array<int, 4> CursorColorIndex{14, 13, 12, 11};
    std::array<COLORREF, 4> CursorColorValue{};
    std::array<std::string, 4> ChannelLegend;
    int RecordArmed = 1;
    int AcquisitionRunning = 0;
    int CaptureActive = 0;
    RecordingFile recordingFile_;
    int TracePollStopped = 0;
    CBOXThread* ReadThread = nullptr;
    int FixedScale = 0;
    int CursorChoice = 0;
    std::string AutoSaveName;
    int AutoSave = 0;
    std::string AutoSavePath;
    int AutosaveSetNumber = 0, AutosaveFileNumber = 0;
    std::string CaptureTimeText;
    uint8_t ExtraFlag = 0;
    std::array<int32_t, 63> ExtraWordsA{};
    std::array<int32_t, 20> ExtraWordsB{};
    int PlotLeft = 51, PlotTop = 60;
    int SpanLeftEdge = 0, SpanTopEdge = 0;
    int InitialSpanX = 0, InitialSpanY = 0;
    // Mouse.
    int MouseX = 0, MouseY = 0, DragAnchorX = 0, DragAnchorY = 0;
    int DragTimeA = 0, DragTimeB = 0, DragValueA = 0, DragValueB = 0;
    int ZoomDragActive = 0;
    CPoint ZoomDragStart, ZoomDragEnd;

    std::array<CColorComboEx, 4> m_cursorColors;
    // The picture buttons share the trace window's faces.
    GraphToolRow tools_;
    CTraceReadDlg* ReadProgressWindow = nullptr;

protected:
    // The window is the view's only while it lives: it frees itself once destroyed.
    void PostNcDestroy() override { delete this; }

private:
    void OnTraceSettingButton() { OnTraceSetting(); }
    void OnPaint();
    void OnClose();
    void OnSize(UINT type, int cx, int cy);
    void OnSizing(UINT side, CRect* rect);
    HBRUSH OnCtlColor(CDC* dc, CWnd* window, UINT type);
    void OnHScroll(UINT code, UINT position, CScrollBar* bar);
    void OnVScroll(UINT code, UINT position, CScrollBar* bar);
    void OnStepButton(UINT id);
    void OnZeroButton(UINT id);
    void OnScaleChange(UINT id);
    void OnTimeBaseChange();
    void OnCursorColorChange(UINT id);
    void OnCursorShapeChange();
    void OnCursorCheck();
    void ToggleValueCursors();
    void OnDataRadio(UINT id);
    void OnOnlineEdit();
    void OnLButtonDown(UINT flags, CPoint point);
    void OnMouseMove(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    void OnLButtonDblClk(UINT flags, CPoint point);
    void OnRButtonDown(UINT flags, CPoint point);
    void OnKey(UINT key, UINT repeat, UINT flags);
    LRESULT OnAcquisitionMessage(WPARAM code, LPARAM);

    CComboBox* Combo(int id) const;
    CSliderCtrl* Slider(int channel) const;
    CScrollBar* TimeScrollBar() const;
    void Enable(std::initializer_list<int> ids, bool enable);
    void ShowIdleLook(bool running);
    // The time-base list refilled from the model, item index selected.
    void FillTimeBaseList(int select);
    // The scale lists refilled with (or without) "AUTO", each at its ChannelScaleIndex.
    void FillScaleLists(bool withAuto);
    void MoveSliders();
    void SyncScrollBar();
    // The controls after a record or settings arrived (scales, sliders, zoom buttons).
    void EnableRecordControls();
    void TakeRecord();
    void ApplyScaleFromList(int channel);
    void WriteAutoSaveFile();
    TraceRecording RecordingOfView(bool preZoom) const;
    CRect ControlRect(int id) const;
    // Where the paint puts the back buffer in the client area.
    CPoint PlotOrigin() const;
    BoxPlotLook PlotLook() const;
    CPoint GridPoint(CPoint client) const;
    void ApplyLayout(int flag);
    // 0x1526, 0x1524, 0x1529 (signed), 0x1528, 0x1527 into the trigger and interval members.
    void ReadRecorderRegisters();

    IBoxViewLink& view_;
    std::unique_ptr<DialogScrollHelper> scrollHelper_;
    CWnd* parent_ = nullptr;
    CBrush faceBrush_;
    PaintedLabels plotLabels_;
    bool closed_ = false;
    bool listsHaveAuto_ = true;
    PendingStop pendingStop_;
    bool stopWaited_ = false;
    // Asks a running thread to leave; true when nothing runs and the stop path may go on now.
    bool BeginStop();
    void StopWaitTick();
};
