#include "trace/ui/TraceGraphDlg.h"

#include "catalogue/DocumentGlobals.h"
#include "catalogue/KeloServoDoc.h"
#include "framework/core/Format.h"
#include "framework/core/MessageSeam.h"
#include "framework/core/Paths.h"
#include "framework/core/ResourceModule.h"
#include "framework/ui/Clipboard.h"
#include "framework/ui/ComboBox.h"
#include "framework/ui/DC.h"
#include "framework/ui/Gdi.h"
#include "framework/ui/SystemInfo.h"
#include "layout/TraceLayoutTable.h"
#include "link/LinkState.h"
#include "link/services/RegisterServices.h"
#include "link/services/TransferPass.h"
#include "resources/ids/mainframe.h"
#include "resources/ids/trace.h"
#include "shell/ShellGlobals.h"
#include "trace/GraphPlotRules.h"
#include "trace/GraphServices.h"
#include "trace/ThreadStop.h"
#include "trace/TraceArming.h"
#include "trace/TraceCaptions.h"
#include "trace/TraceDataFile.h"
#include "trace/TraceSetupRules.h"
#include "trace/ui/GraphButtons.h"
#include "trace/ui/GraphFileDialogs.h"
#include "trace/ui/GraphPlotPaint.h"
#include "trace/ui/ParaListDialog.h"
#include "trace/ui/TraceReadDlg.h"
#include "trace/ui/TraceSetupDlg.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <ctime>
#include <filesystem>
#include <thread>

float PlotZoom = 1.0f;
float GridCellPixels = 45.0f;
int InitialPlotGapX = 0;
int InitialPlotGapY = 0;

namespace {

// Where the value labels stand: the left ones end at this x, the right ones begin this far right
// of the plot's width (30 pixels right of its edge).
constexpr int kLeftLabelRight = 40;
constexpr int kRightLabelX = 95;
// Where the legend's first row starts below the plot's bottom line (5 + its row 16).
constexpr int kLegendFirstRow = 21;
// The picture is copied to the window this far left of and above caption 6016.
constexpr int kPictureOffsetX = 59;
constexpr int kPictureOffsetY = 9;

// Controls the window enables by state; a template without one leaves nothing to enable.
void EnableItemOf(CWnd& window, int id, BOOL enable) {
    if (CWnd* item = window.GetDlgItem(id))
        item->EnableWindow(enable);
}

int ChannelIndexOf(const std::array<int, 8>& ids, UINT id) {
    for (size_t i = 0; i < ids.size(); ++i)
        if (ids[i] == static_cast<int>(id))
            return static_cast<int>(i);
    return -1;
}

constexpr const char* TraceStopMotion = "trace";

} // namespace

CTraceGraphDlg::CTraceGraphDlg(ITraceViewLink& view, CWnd* owner)
    : CDialog(IDD_TRACE_GRAPH, owner), view_(view), owner_(owner) {
    PlotZoom = 1.0f;
    GridCellPixels = 45.0f;
    if (DebugModeFlag != 0)
        plot_.sources[3] = 4;
    cursorColours_ = {ChannelColor(14), ChannelColor(13), ChannelColor(12), ChannelColor(0)};
    autosaveFolder_ = AutosaveFolder.empty() ? ProgramFolder() : AutosaveFolder;
    for (DisplayRing& ring : display_)
        ring.Assign(TracePointCount);
    indexDisplay_.Assign(TracePointCount);
    plot_.recordTime = static_cast<float>(TracePointCount) * 100.0f / 1000.0f;
    plot_.timePerDivision = plot_.recordTime / 10.0f;
    scroller_.AttachWnd(this);
}

CTraceGraphDlg::~CTraceGraphDlg() {
    // The close path has stopped the thread; a window destroyed some other way still never leaves
    // a running thread behind with its members.
    if (thread_ && !SignalStopUntilEnded(*thread_, StopEvent))
        KeepUntilEnded(std::move(thread_), StopEvent, autosave_);
    thread_.reset();
    scroller_.DetachWnd();
}

const MessageMap* CTraceGraphDlg::GetMessageMap() const {
    using T = CTraceGraphDlg;
    static const MessageMap map(
        CDialog::GetMessageMap(),
        {
            msg::Close(&T::OnClose),
            msg::Paint(&T::OnPaint),
            msg::EraseBkgnd(&T::OnEraseBkgnd),
            msg::Timer(&T::OnTimer),
            msg::Size(&T::OnSize),
            msg::Sizing(&T::OnSizing),
            msg::HScroll(&T::OnHScroll),
            msg::VScroll(&T::OnVScroll),
            msg::CtlColor(&T::OnCtlColor),
            msg::Message(AcquisitionMessage, &T::OnAcquisitionMessage),
            msg::Command(IDC_TG_START, &T::OnStart),
            msg::Command(IDC_TG_ZOOM_IN, &T::OnZoomIn),
            msg::Command(IDC_TG_ZOOM_OUT, &T::OnZoomOut),
            msg::Command(IDC_TG_COPY, &T::OnCopyToClipboard),
            msg::Command(IDC_TG_ONLINE_EDIT, &T::OnOnlineEdit),
            msg::Command(IDC_TG_AUTOSAVE, &T::OnAutosave),
            msg::Command(IDC_TG_OPEN, &T::OnOpen),
            msg::Command(IDC_TG_SETTING, &T::OnTraceSetting),
            msg::Command(IDC_TG_PARAMETERS, &T::OnTraceParameters),
            msg::Command(IDC_TG_AUTOSAVE_UPDATE, &T::OnUpdateAutosaveList),
            msg::Command(IDC_TG_AUTOSAVE_PATH_BUTTON, &T::OnBrowseAutosavePath),
            msg::Control(CBN_SELCHANGE, IDC_TG_AUTOSAVE_FILES, &T::OnOpenAutosaveFile),
            msg::ControlRange(BN_CLICKED, 6033, 6040, &T::OnZeroToMiddle),
            msg::ControlRange(BN_CLICKED, 6041, 6048, &T::OnCentreData),
            msg::ControlRange(STN_CLICKED, 1037, 1040, &T::OnChannelLabel),
            msg::ControlRange(STN_CLICKED, 1042, 1045, &T::OnChannelLabel),
            msg::ControlRange(STN_CLICKED, IDC_TG_CURSOR1_SWATCH, IDC_TG_CURSOR4_SWATCH, &T::OnCursorSwatch),
            msg::Control(CBN_SELCHANGE, IDC_TG_UNIT_SELECT, &T::OnUnitSelect),
            msg::MouseWheel(&T::OnMouseWheel),
            msg::Command(IDC_TG_CURSOR_SHOW, &T::OnCursorCheck),
            msg::Mouse(WM_LBUTTONDOWN, &T::OnLButtonDown),
            msg::Mouse(WM_MOUSEMOVE, &T::OnMouseMove),
            msg::Mouse(WM_LBUTTONUP, &T::OnLButtonUp),
            msg::Mouse(WM_RBUTTONDOWN, &T::OnRButtonDown),
            msg::Mouse(WM_LBUTTONDBLCLK, &T::OnLButtonDblClk),
            msg::Command(IDC_TG_REDRAW, &T::OnRedisplay),
            msg::Command(IDC_TG_SAVE, &T::OnSave),
            msg::Command(IDC_TG_SAVE_AS, &T::OnSaveAs),
            msg::ControlRange(BN_CLICKED, 6174, 6181, &T::OnChannelShown),
            msg::ControlRange(BN_CLICKED, 1001, 1004, &T::OnOffsetStep),
            msg::ControlRange(BN_CLICKED, 1434, 1440, &T::OnOffsetStep),
            msg::ControlRange(BN_CLICKED, 1011, 1014, &T::OnOffsetStep),
            msg::ControlRange(BN_CLICKED, 1041, 1041, &T::OnOffsetStep),
            msg::ControlRange(CBN_SELCHANGE, 4002, 4009, &T::OnScaleChange),
            msg::Control(CBN_SELCHANGE, IDC_TG_TIME_BASE, &T::OnTimeBaseChange),
            msg::Control(CBN_SELCHANGE, IDC_TG_CURSOR_MODE, &T::OnCursorModeChange),
        });
    return &map;
}

BOOL CTraceGraphDlg::Create() {
    if (!CDialog::Create(IDD_TRACE_GRAPH, owner_))
        return FALSE;
    ShowWindow(SW_SHOW);
    return TRUE;
}

void CTraceGraphDlg::PostNcDestroy() {
    delete this;
}

CPoint CTraceGraphDlg::PlotOrigin() const {
    CRect caption;
    if (CWnd* reference = GetDlgItem(IDC_TG_CAPTION_DATA1)) {
        reference->GetWindowRect(&caption);
        ScreenToClient(&caption);
    }
    return {caption.left - kPictureOffsetX + PlotBufferLeft, caption.top - kPictureOffsetY + PlotBufferTop};
}

BOOL CTraceGraphDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    if (view_.Document() == nullptr)
        return FALSE;
    tools_.start.SubclassDlgItem(IDC_TG_START, this);
    tools_.setting.SubclassDlgItem(IDC_TG_SETTING, this);
    tools_.open.SubclassDlgItem(IDC_TG_OPEN, this);
    tools_.save.SubclassDlgItem(IDC_TG_SAVE, this);
    tools_.saveAs.SubclassDlgItem(IDC_TG_SAVE_AS, this);
    tools_.online.SubclassDlgItem(IDC_TG_ONLINE_EDIT, this);

    // The room the plot has between the channel columns and between the selection row and the
    // scroll bar; resizing scales the plot by how these grow.
    CRect left, right, top, bottom;
    GetDlgItem(TraceOffsetUpButtons[5])->GetWindowRect(&left);
    GetDlgItem(TraceOffsetUpButtons[2])->GetWindowRect(&right);
    GetDlgItem(TraceScaleCombos[0])->GetWindowRect(&top);
    GetDlgItem(IDC_TG_TIME_SCROLL)->GetWindowRect(&bottom);
    ScreenToClient(&left);
    ScreenToClient(&right);
    ScreenToClient(&top);
    ScreenToClient(&bottom);
    // Every paint reads the scale texts: found once, not among the children on each paint.
    for (size_t ch = 0; ch < 8; ++ch)
        scaleCombos_[ch] = GetDlgItem(TraceScaleCombos[ch]);
    // The gaps grow one for one with the client (the right columns and the scroll bar move with its
    // far edges): taken as they are in the zoom-one client.
    CRect client;
    GetClientRect(&client);
    InitialPlotGapX = right.left - left.right + ZoomOneClient.cx - client.Width();
    InitialPlotGapY = bottom.top - top.top + ZoomOneClient.cy - client.Height();
    recordedLabelRect_ = CRect(left.right, top.top, left.right, top.top);

    // The step buttons of each channel show the up and down icons.
    ShowStepArrows(*this, TraceOffsetUpButtons, TraceOffsetDownButtons);
    ShowStepArrows(*this, std::array{IDC_TG_STEP_EXTRA1, IDC_TG_STEP_EXTRA3},
                   std::array{IDC_TG_STEP_EXTRA2, IDC_TG_STEP_EXTRA4});
    recordingFile_.SetInitialCaption(GetWindowText());
    SetDlgItemText(IDC_TG_UNIT_NONE, " " + LoadResString(IDS_TG_NONE));
    SetDlgItemText(IDC_TG_UNIT_TEXT, "");
    SetDlgItemText(IDC_TG_UNIT_LEFT, "");
    SetDlgItemText(IDC_TG_UNIT_RIGHT, "");
    auto* channelCombo = static_cast<CComboBox*>(GetDlgItem(IDC_TG_UNIT_SELECT));
    channelCombo->ResetContent();
    for (int i = 0; i < (plot_.channelCountMode == 1 ? 8 : 4); ++i)
        channelCombo->AddString(Format("Data%d", i + 1));
    channelCombo->SetCurSel(0);
    FillTimeBaseCombo();
    FillScaleCombos();
    static_cast<CScrollBar*>(GetDlgItem(IDC_TG_TIME_SCROLL))->SetScrollRange(0, 0);
    for (int ch = 0; ch < 8; ++ch) {
        auto* slider = static_cast<CSliderCtrl*>(GetDlgItem(TraceOffsetSliders[static_cast<size_t>(ch)]));
        slider->SetRange(0, 2 * (plot_.sliderPosition[static_cast<size_t>(ch)] / 2));
        slider->SetPageSize(10);
        slider->SetPos(plot_.sliderPosition[static_cast<size_t>(ch)]);
    }

    for (int id : {IDC_TG_DATA1_COMBO, IDC_TG_DATA2_COMBO, IDC_TG_TIME_BASE, IDC_TG_SCALE_SHOW,
                   IDC_TG_TIME_SCROLL, IDC_TG_REDRAW, IDC_TG_START, IDC_TG_ZOOM_IN, IDC_TG_ZOOM_OUT,
                   IDC_TG_COPY, IDC_TG_SAVE_AS, IDC_TG_SAVE, IDC_TG_PARAMETERS, IDC_TG_SCALE_COMBO_MAIN,
                   IDC_TG_STEP_EXTRA1, IDC_TG_STEP_EXTRA2, IDC_TG_STEP_EXTRA3, IDC_TG_STEP_EXTRA4})
        EnableItem(id, FALSE);
    for (int ch = 0; ch < 4; ++ch) {
        EnableItem(TraceOffsetSliders[static_cast<size_t>(ch)], FALSE);
        EnableItem(TraceOffsetUpButtons[static_cast<size_t>(ch)], FALSE);
        EnableItem(TraceOffsetDownButtons[static_cast<size_t>(ch)], FALSE);
        EnableItem(TraceScaleCombos[static_cast<size_t>(ch)], FALSE);
    }
    EnableOnlineEditButton(ConnectedFlag != 0);
    for (int id : {IDC_TG_CURSOR_AB, IDC_TG_CURSOR_CD, IDC_TG_CURSOR1_COLOUR, IDC_TG_CURSOR2_COLOUR,
                   IDC_TG_CURSOR3_COLOUR, IDC_TG_CURSOR4_COLOUR, IDC_TG_CURSOR_MODE, IDC_TG_VALUE_UNIT_COMBO})
        EnableItem(id, FALSE);
    for (int id : {IDC_TG_READOUT_C, IDC_TG_READOUT_D, IDC_TG_READOUT_DC, IDC_TG_READOUT_A, IDC_TG_READOUT_B,
                   IDC_TG_READOUT_BA})
        SetDlgItemText(id, "");
    SetDlgItemText(IDC_TG_VALUE_UNIT_CD, "[ ]");
    SetDlgItemText(IDC_TG_TIME_UNIT, "[ ]");

    // The saved set-up: the window starts from it when it was accepted once.
    TraceSettings& settings = view_.Settings();
    LoadTraceIni(ProgramFolderFile("trace.ini"), settings);
    // The level reaches the drive as one 16-bit word: a wider one from the file is cut to it.
    if (settings.triggerSource >= 1 && settings.triggerSource <= 8 &&
        settings.sources[static_cast<size_t>(settings.triggerSource - 1)] == 5)
        settings.triggerLevel = std::clamp(settings.triggerLevel, TriggerLevelWordMin, TriggerLevelWordMax);
    if (settings.valid != 0) {
        RestoreDisplaySetup();
        EnableItem(IDC_TG_REDRAW, TRUE);
    }
    AttachCursorSwatches();
    initialised_ = true;
    LayoutControls(1);
    LayoutControls(0);
    OpenNoSmallerThanZoomOne();
    CRect workArea;
    if (SystemParametersInfo(SPI_GETWORKAREA, 0, &workArea, 0))
        FitToScreenHeight(workArea.Height());

    autosave_->store(false);
    autosaveCheck_ = FALSE;
    const std::array<std::pair<int, int>, 4> tips = {{{IDC_TG_OPEN, IDS_TG_OPEN_TIP},
                                                      {IDC_TG_SAVE_AS, IDS_TG_SAVE_AS_TIP},
                                                      {IDC_TG_SAVE, IDS_TG_SAVE_TIP},
                                                      {IDC_TG_ONLINE_EDIT, IDS_TG_ONLINE_TIP}}};
    for (size_t i = 0; i < tips.size(); ++i) {
        tips_[i].Create(this);
        tips_[i].AddTool(GetDlgItem(tips[i].first), static_cast<UINT>(tips[i].second));
        tips_[i].Activate(TRUE);
    }
    UpdateData(FALSE);
    return TRUE;
}

void CTraceGraphDlg::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
    DDX_CBIndex(dx, IDC_TG_UNIT_SELECT, plot_.selectedChannel);
    DDX_Check(dx, IDC_TG_FIXED, fixedCheck_);
    DDX_CBIndex(dx, IDC_TG_VALUE_UNIT_COMBO, valueUnitSelection_);
    DDX_CBIndex(dx, IDC_TG_CURSOR_MODE, cursorDisplayMode_);
    if (autosaveName_.size() > 27)
        autosaveName_.resize(27);
    DDX_Text(dx, IDC_TG_AUTOSAVE_PATH, autosaveName_);
    if (autosaveName_.size() > 27)
        autosaveName_.resize(27);
    DDX_Check(dx, IDC_TG_AUTOSAVE, autosaveCheck_);
    DDX_Text(dx, IDC_TG_AUTOSAVE_TEXT, checkErrorText_);
    for (size_t ch = 0; ch < 8; ++ch)
        DDX_Check(dx, TraceChannelShowChecks[ch], plot_.shown[ch]);
    DDX_Text(dx, IDC_TG_UNIT_EXTRA, captureTimeText_);
}

BOOL CTraceGraphDlg::PreTranslateMessage(MSG* msg) {
    // Enter and Esc never close the trace window.
    if (msg->message == WM_KEYDOWN && (msg->wParam == 13 || msg->wParam == 27))
        return TRUE;
    if (msg->message == WM_KEYDOWN && (msg->wParam == 37 || msg->wParam == 39) &&
        MoveCursorByKey(msg->wParam == 39))
        return TRUE;
    return CDialog::PreTranslateMessage(msg);
}

void CTraceGraphDlg::FitToScreenHeight(int screenHeight) {
    if (screenHeight <= 0 || screenHeight >= LowScreenHeight)
        return;
    // The smallest window the plot allows, where the user sees all of it.
    CRect rect;
    GetWindowRect(&rect);
    MoveWindow(rect.left, rect.top, 1000, 650);
    CenterWindow();
}

void CTraceGraphDlg::OpenNoSmallerThanZoomOne() {
    CRect window, client;
    GetWindowRect(&window);
    GetClientRect(&client);
    const int wider = std::max(0, ZoomOneClient.cx - client.Width());
    const int taller = std::max(0, ZoomOneClient.cy - client.Height());
    if (wider > 0 || taller > 0)
        MoveWindow(window.left, window.top, window.Width() + wider, window.Height() + taller);
}

void CTraceGraphDlg::EnableOnlineEditButton(BOOL enable) {
    if (CWnd* button = GetDlgItem(IDC_TG_ONLINE_EDIT))
        button->EnableWindow((enable & 0xFF) != 0);
}

void CTraceGraphDlg::LayoutControls(int flag) {
    ::LayoutControls(*this, TraceLayoutTable, TraceLayoutRecords(), flag);
}

// ---- Set-up ---------------------------------------------------------------------------------

// The drive software value the time texts go by: 55 until a drive has been read.
static int DriveSoftwareVersionOf(const CKeloServoDoc* doc) {
    return doc ? doc->m_DriveSoftwareVersion : 55;
}

int CTraceGraphDlg::TimeDisplayDivisor() const {
    return TimeDisplayDivisorOf(TraceMode, DriveSoftwareVersionOf(view_.Document()), SeriesCode);
}

void CTraceGraphDlg::FillTimeBaseCombo() {
    auto* combo = static_cast<CComboBox*>(GetDlgItem(IDC_TG_TIME_BASE));
    combo->ResetContent();
    const std::vector<std::string> items = plot_.TimeBaseList(TimeDisplayDivisor());
    for (const std::string& item : items)
        combo->AddString(item);
    combo->SetCurSel(items.empty() ? -1 : 0);
}

void CTraceGraphDlg::FillScaleCombos() {
    for (size_t ch = 0; ch < 8; ++ch) {
        auto* combo = static_cast<CComboBox*>(GetDlgItem(TraceScaleCombos[ch]));
        combo->ResetContent();
        if (TraceMode == TraceModeSingle || TraceMode == TraceModeCycle)
            combo->AddString("AUTO");
        for (int i = 0; i < GraphScaleStepCount; ++i)
            combo->AddString(GraphScaleText(i));
        combo->SetCurSel(std::clamp(plot_.scaleSelection[ch], 0, combo->GetCount() - 1));
    }
}

void CTraceGraphDlg::BuildLegendNames() {
    const CKeloServoDoc* doc = view_.Document();
    (void)doc;
    for (size_t ch = 0; ch < 8; ++ch) {
        legend_[ch] = ChannelSourceTitle(plot_.sources[ch], dioCodes_);
        if (SourceKind(plot_.sources[ch]) != 2)
            legend_[ch] += " [" + ChannelSourceUnit(plot_.sources[ch], ModelCode) + "]";
    }
}

void CTraceGraphDlg::RestoreDisplaySetup() {
    const TraceSettings& s = view_.Settings();
    dioCodes_ = s.dioCodes;
    ClearTraceSampleBuffers(300001);
    TraceMode = s.traceMode;
    plot_.channelCountMode = s.channelCountMode > 1 ? 1 : s.channelCountMode;
    if (s.points == 2048)
        plot_.channelCountMode = 0;
    TracePointCount =
        TraceMode == TraceModeMonitor ? MonitorPointCount : (plot_.channelCountMode == 1 ? 1024 : 2048);
    for (DisplayRing& ring : display_)
        ring.Assign(TracePointCount);
    indexDisplay_.Assign(TracePointCount);
    plot_.points = s.points;
    plot_.sources = s.sources;
    triggerSource_ = s.triggerSource;
    triggerLevel_ = s.triggerLevel;
    triggerEdge_ = s.triggerEdge;
    triggerPosition_ = s.triggerPosition;
    plot_.scaleSelection = s.scaleSelections;
    colourIndices_ = s.colorIndices;
    for (size_t ch = 0; ch < 8; ++ch) {
        if (s.colors[ch] != 0)
            colours_[ch] = s.colors[ch];
        plot_.shown[ch] = plot_.sources[ch] != 0;
    }
    for (size_t c = 0; c < 4; ++c)
        if (s.cursorColorUsed[c] != 0)
            cursorColours_[c] = s.cursorColors[c];
    BuildLegendNames();
    ShowTriggerSummary();
    for (int id : {IDC_TG_TIME_BASE, IDC_TG_TIME_SCROLL})
        EnableItem(id, TRUE);
    ApplyChannelControlRules();
    plot_.zoomed = false;
    EnableItem(IDC_TG_ZOOM_IN, TRUE);
    EnableItem(IDC_TG_ZOOM_OUT, FALSE);

    plot_.timeBase = static_cast<float>(s.timeBase);
    plot_.interval = s.interval;
    monitorUnfilled_ = 0;
    ResetTimeAxis();
    static_cast<CScrollBar*>(GetDlgItem(IDC_TG_TIME_SCROLL))->SetScrollRange(0, 1);
    static_cast<CScrollBar*>(GetDlgItem(IDC_TG_TIME_SCROLL))->SetScrollPos(0);
    FillScaleCombos();
    for (int ch = 0; ch < (plot_.channelCountMode == 1 ? 8 : 4); ++ch)
        ApplyScaleSelection(ch);
    dataPresent_ = true;
    for (int id : {IDC_TG_SAVE_AS, IDC_TG_SAVE, IDC_TG_PARAMETERS, IDC_TG_START, IDC_TG_REDRAW, IDC_TG_COPY})
        EnableItem(id, TRUE);
    GetDlgItem(IDC_TG_START)->ShowWindow(SW_SHOW);
    Invalidate(FALSE);
}

// The scale combo of a channel: a fixed step, or AUTO from the largest sample of the record.
void CTraceGraphDlg::ApplyScaleSelection(int channel) {
    const size_t ch = static_cast<size_t>(channel);
    auto* combo = static_cast<CComboBox*>(GetDlgItem(TraceScaleCombos[ch]));
    const int selection = combo->GetCurSel();
    if (selection < 0)
        return;
    int32_t lowest = 0;
    int32_t highest = 0;
    display_[ch].MinMax(0, std::min(plot_.points + 1, display_[ch].Size()), lowest, highest);
    plot_.ApplyScaleSelection(channel, selection, TraceMode == TraceModeSingle || TraceMode == TraceModeCycle,
                              lowest, highest);
    Invalidate(FALSE);
}

void CTraceGraphDlg::AutoScaleChannels() {
    for (int ch = 0; ch < (plot_.channelCountMode == 1 ? 8 : 4); ++ch)
        ApplyScaleSelection(ch);
}

void CTraceGraphDlg::OnScaleChange(UINT id) {
    const int ch = ChannelIndexOf(TraceScaleCombos, id);
    if (ch < 0)
        return;
    plot_.BringChannelToFront(ch);
    ApplyScaleSelection(ch);
}

void CTraceGraphDlg::OnTimeBaseChange() {
    auto* combo = static_cast<CComboBox*>(GetDlgItem(IDC_TG_TIME_BASE));
    if (!plot_.ChangeTimeBase(combo->GetCurSel()))
        return;
    SyncScrollBar();
    Invalidate(FALSE);
}

void CTraceGraphDlg::UpdateScrollRange() {
    plot_.UpdateScrollRange();
    SyncScrollBar();
}

void CTraceGraphDlg::SyncScrollBar() {
    if (!plot_.TimeBaseUsable())
        return;
    auto* bar = static_cast<CScrollBar*>(GetDlgItem(IDC_TG_TIME_SCROLL));
    bar->SetScrollRange(0, plot_.scrollLimit);
    bar->SetScrollPos(plot_.scrollPosition);
}

void CTraceGraphDlg::OnChannelShown(UINT) {
    UpdateData(TRUE);
    Invalidate(FALSE);
}

// The offset buttons: up shows higher values (the top line rises by one step), down lower ones.
void CTraceGraphDlg::OnOffsetStep(UINT id) {
    const int up = ChannelIndexOf(TraceOffsetUpButtons, id);
    const int ch = up >= 0 ? up : ChannelIndexOf(TraceOffsetDownButtons, id);
    if (ch < 0)
        return;
    plot_.StepOffset(ch, up >= 0);
    Invalidate(FALSE);
}

void CTraceGraphDlg::OnAutosave() {
    UpdateData(TRUE);
    autosave_->store(autosaveCheck_ != 0);
    // While a run reads the drive the check box only sets the flag; clearing it never takes the
    // list and its controls away, so the recordings already made stay at hand.
    if ((running_ != 0 && ConnectedFlag != 0) || autosaveCheck_ == 0)
        return;
    for (int id : {IDC_TG_AUTOSAVE_PATH, IDC_TG_AUTOSAVE_FILES, IDC_TG_AUTOSAVE_UPDATE})
        EnableItem(id, TRUE);
    // The list shows where the numbered recordings go (the autosave folder), so each entry opens.
    FillAutosaveList(*static_cast<CComboBox*>(GetDlgItem(IDC_TG_AUTOSAVE_FILES)), autosaveFolder_,
                     autosaveName_);
    UpdateData(FALSE);
}

void CTraceGraphDlg::OnOnlineEdit() {
    if (CheckConnected())
        view_.OpenOnlineEditorFor(this);
}

// ---- START / STOP ---------------------------------------------------------------------------

void CTraceGraphDlg::SetRunning(bool running) {
    running_ = running ? 1 : 0;
    view_.TraceAcquiringChanged(running);
}

void CTraceGraphDlg::ResetStartButton() {
    for (int id : {IDC_TG_OPEN, IDC_TG_SAVE_AS, IDC_TG_SAVE, IDC_TG_SETTING, IDC_TG_PARAMETERS})
        EnableItem(id, running_ == 0);
    tools_.ShowRunning(running_ != 0);
}

void CTraceGraphDlg::OnStart() {
    // The stop under way ends the run; a press meanwhile neither stops twice nor arms the drive.
    if (pendingStop_.Pending())
        return;
    if (plot_.zoomed)
        OnZoomOut();
    UpdateData(TRUE);
    if (!CheckConnected()) {
        SetRunning(false);
        ResetStartButton();
        return;
    }
    if (running_ != 0 && !BeginStop())
        return;
    SetRunning(running_ == 0);
    CBusyHold busy(view_.Services());
    ResetStartButton();
    if (running_ != 0)
        StartPath();
    else
        StopPath();
}

void CTraceGraphDlg::EndRunAfterThread() {
    if (ConnectedFlag != 0) {
        OnStart(); // the stop path, as a press of STOP
        return;
    }
    // The thread ended on a lost link, which the view tells the user once: no box of our own.
    SetRunning(false);
    ResetStartButton();
}

void CTraceGraphDlg::StartPath() {
    ChecksumErrorCount = 0;
    redisplay_ = false;
    for (DisplayRing& ring : display_)
        ring.Assign(TracePointCount);
    indexDisplay_.Assign(TracePointCount);
    ClearChannelDeques({0, 1, 2, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18});
    preValue_.fill(0);
    ClearTraceSampleBuffers(TracePointCount);
    PendingSampleCount = 0;
    // The clock time belongs to the record an earlier run took: a new run shows none until it has one.
    captureTimeText_.clear();
    exchangedCaptureTime_.clear();
    SetDlgItemText(IDC_TG_UNIT_EXTRA, "");
    SetWindowText(recordingFile_.Unname());
    Invalidate(TRUE);
    if (ConnectedFlag == 0)
        return;

    TraceArmingSettings arming;
    arming.traceMode = TraceMode;
    arming.eightChannels = plot_.channelCountMode == 1;
    arming.sources = plot_.sources;
    arming.interval = plot_.interval;
    arming.triggerSource = triggerSource_;
    arming.triggerLevel = triggerLevel_;
    arming.triggerEdge = triggerEdge_;
    arming.triggerPosition = triggerPosition_;
    wideHighCodes_ = ArmingHighCodes(arming);
    // Should the link be dropped while the drive is armed, STOP's writes go out without this window.
    view_.Services().Stops.Owe(
        TraceStopMotion,
        [](CRegisterServices& services) {
            const bool disarmed = services.WriteDriveRegister(TraceRunRegister, 0) != 0;
            return services.WriteDriveRegister(TraceStatusRegister, 0) != 0 && disarmed;
        },
        true);
    const ArmingOutcome outcome = RunArmingRequests(*this, BuildArmingRequests(arming));
    switch (outcome.failure) {
    case ArmingFailure::None:
        SetTimer(TraceStartTimer, 100);
        SaveTraceIni(ProgramFolderFile("trace.ini"), view_.Settings());
        return;
    case ArmingFailure::Silent:
        SetRunning(false);
        ResetStartButton();
        return;
    case ArmingFailure::ChannelSetup:
    case ArmingFailure::StartCommand:
        // The drive may be half armed: the window stays running so the next press stops it.
        if (outcome.failure == ArmingFailure::ChannelSetup && !outcome.portRefusal)
            std::this_thread::sleep_for(std::chrono::milliseconds(ArmingMessagePauseMs));
        ShowMessage(ArmingFailureText(outcome));
        return;
    case ArmingFailure::Range:
    case ArmingFailure::TriggerRange:
        ShowMessage(ArmingFailureText(outcome));
        SetRunning(false);
        ResetStartButton();
        return;
    }
}

bool CTraceGraphDlg::BeginStop() {
    // The thread leaves between two blocks; the window keeps its message loop meanwhile and
    // finishes the stop when the thread has gone (TraceStopTimer).
    if (!pendingStop_.Begin(thread_.get(), StopEvent))
        return true;
    for (UINT_PTR id :
         {TraceStartTimer, TraceMonitorTimer, TraceSingleTimer, TraceCycleTimer, TraceCycleRepeatTimer})
        KillTimer(id);
    EnableItem(IDC_TG_START, FALSE);
    SetTimer(TraceStopTimer, 10);
    return false;
}

void CTraceGraphDlg::StopWaitTick() {
    if (!pendingStop_.Due(thread_.get(), StopEvent))
        return;
    KillTimer(TraceStopTimer);
    EnableItem(IDC_TG_START, TRUE);
    if (!CheckConnected()) {
        StopAcquisition(0);
        SetRunning(false);
        ResetStartButton();
        return;
    }
    SetRunning(false);
    CBusyHold busy(view_.Services());
    ResetStartButton();
    StopPath(0); // waited already: a thread still running now is kept and the user told so
}

void CTraceGraphDlg::StopPath(DWORD waitMs) {
    for (UINT_PTR id :
         {TraceStartTimer, TraceMonitorTimer, TraceSingleTimer, TraceCycleTimer, TraceCycleRepeatTimer})
        KillTimer(id);
    const bool stopped = StopAcquisition(waitMs);
    // Only once the thread has left the line: the snapshot shares the link with it.
    if (stopped)
        ReadParameterSnapshot();
    CRegisterServices& services = view_.Services();
    services.WriteDriveRegister(TraceRunRegister, 0);
    services.WriteDriveRegister(TraceStatusRegister, 0);
    if (ConnectedFlag != 0)
        services.Stops.Settle(TraceStopMotion);
    if (TraceMode == TraceModeMonitor)
        ShowQueuedMonitorSamples();
    const int count = std::min(std::max(plot_.points, 0), TraceSampleBufferLength);
    for (size_t ch = 0; ch < 8; ++ch)
        if (!TraceSampleBuffers[ch].empty())
            display_[ch].CopyTo(TraceSampleBuffers[ch].data(), std::min(count, display_[ch].Size()));
    if (TraceMode == TraceModeSingle || TraceMode == TraceModeCycle)
        AutoScaleChannels();
    if (TraceMode == TraceModeMonitor && autosave_->load() && stopped)
        WriteNumberedRecording(true);
    EnableItem(IDC_TG_AUTOSAVE, TRUE);
    if (autosave_->load())
        for (int id : {IDC_TG_AUTOSAVE_PATH, IDC_TG_AUTOSAVE_FILES, IDC_TG_AUTOSAVE_UPDATE})
            EnableItem(id, TRUE);
    SaveTraceIni(ProgramFolderFile("trace.ini"), view_.Settings());
    UpdateData(FALSE);
    if (!stopped)
        ShowMessage(LoadResString(IDS_TG_STOP_UNCONFIRMED), LoadResString(IDS_TG_STOP_UNCONFIRMED_CAPTION),
                    MB_OK | MB_ICONWARNING);
}

bool CTraceGraphDlg::StopAcquisition(DWORD waitMs) {
    bool stopped = true;
    if (thread_) {
        if (SignalStopUntilEnded(*thread_, StopEvent, waitMs)) {
            thread_.reset();
        } else {
            // Never deleted while it runs: kept, with the flag it reads, until it has ended.
            KeepUntilEnded(std::move(thread_), StopEvent, autosave_);
            stopped = false;
        }
        StopEvent.ResetEvent();
    }
    view_.Services().WriteDriveRegister(TraceRunRegister, 0);
    for (UINT_PTR id : {TraceStartTimer, TraceMonitorTimer, TraceSingleTimer})
        KillTimer(id);
    if (stopped) {
        // Every channel's queue holds Monitor samples up to the same row: shown all before any queue
        // is emptied, the channels end aligned.
        if (TraceMode == TraceModeMonitor)
            ShowQueuedMonitorSamples();
        CSingleLock lock(&view_.LinkLock(), true);
        ClearChannelDeques({0, 1, 2, 5, 6});
    }
    return stopped;
}

void CTraceGraphDlg::CloseWindow() {
    SendMessage(WM_CLOSE);
}

void CTraceGraphDlg::OnClose() {
    if (pendingStop_.Pending()) {
        // The asked thread ends within one block: the close waits for it (bounded) as always.
        KillTimer(TraceStopTimer);
        pendingStop_.Cancel();
    }
    if (running_ != 0) {
        StopAcquisition();
        OnStart(); // its stop path
        if (running_ != 0) {
            // Not connected any more: the stop path did not run, still nothing may outlive the window.
            StopPath();
            SetRunning(false);
        }
    }
    for (size_t ch = 0; ch < 4; ++ch)
        view_.Settings().scaleSelections[ch] = plot_.scaleSelection[ch];
    view_.TraceWindowClosed(this);
    DestroyWindow();
}

// ---- Timers ---------------------------------------------------------------------------------

bool CTraceGraphDlg::ThreadEnded() const {
    return thread_ && !thread_->IsRunning();
}

void CTraceGraphDlg::DeleteEndedThread() {
    thread_.reset();
}

void CTraceGraphDlg::StartThread() {
    TraceThreadSettings settings;
    settings.link = &view_.Services();
    settings.linkMutex = &view_.LinkLock();
    settings.traceMode = TraceMode;
    settings.eightChannels = plot_.channelCountMode == 1;
    settings.sources = plot_.sources;
    for (size_t ch = 0; ch < 8; ++ch)
        settings.reverse[ch] = ChannelReverse[ch] != 0;
    settings.pointCount = TracePointCount;
    settings.interval = plot_.interval;
    settings.reRead = redisplay_;
    settings.autosave = autosave_.get();
    const CKeloServoDoc* doc = view_.Document();
    settings.statusValueD4 = DriveSoftwareVersionOf(doc);
    // The drive id word read at connect: a drive with one hands Monitor samples over in segments
    // whatever its software version.
    settings.driveIdWord = doc ? doc->Context().driveIdWord : 0;
    settings.seriesCode = SeriesCode;
    StopEvent.ResetEvent();
    thread_.reset(AfxBeginThread<CMyThread>([&](CMyThread& t) { t.Settings = settings; }));
}

void CTraceGraphDlg::OnTimer(UINT_PTR id) {
    if (id == TraceStopTimer) {
        StopWaitTick();
        return;
    }
    if (id < TraceStartTimer || id > TraceCycleRepeatTimer || id % 10 != 0) {
        CDialog::OnTimer(id);
        return;
    }
    // The exchange walks every control of the window: only when a text the timers set has changed.
    std::string checkText = Format("CheckNG:%d", ChecksumErrorCount.load());
    if (checkText != checkErrorText_ || captureTimeText_ != exchangedCaptureTime_) {
        checkErrorText_ = std::move(checkText);
        exchangedCaptureTime_ = captureTimeText_;
        UpdateData(FALSE);
    }
    switch (id) {
    case TraceStartTimer:
        if (thread_) {
            if (thread_->IsRunning())
                return;
            DeleteEndedThread();
        } else {
            StartThread();
        }
        Invalidate(FALSE);
        KillTimer(TraceStartTimer);
        if (TraceMode == TraceModeMonitor)
            SetTimer(TraceMonitorTimer, 50);
        else if (TraceMode == TraceModeSingle)
            SetTimer(TraceSingleTimer, 100);
        else
            SetTimer(TraceCycleTimer, 100);
        return;
    case TraceMonitorTimer:
        MonitorTick();
        return;
    case TraceSingleTimer:
        SingleTick();
        return;
    case TraceCycleTimer:
        CycleTick(false);
        return;
    case TraceCycleRepeatTimer:
        CycleTick(true);
        return;
    default:
        return;
    }
}

void CTraceGraphDlg::MonitorTick() {
    if (ThreadEnded()) {
        StopAcquisition();
        DeleteEndedThread();
        if (running_ != 0)
            EndRunAfterThread();
        return;
    }
    const int channels = plot_.channelCountMode == 1 ? 8 : 4;
    int n = 0;
    {
        CSingleLock lock(&view_.LinkLock(), true);
        n = PendingSampleCount.load();
        for (int k = 0; k < n; ++k) {
            for (int ch = 0; ch < channels; ++ch) {
                auto& queue = ChannelDeques[static_cast<size_t>(ChannelSlots[static_cast<size_t>(ch)])];
                if (queue.size() < 2)
                    continue; // the newest value waits for the next one
                preValue_[static_cast<size_t>(ch)] = display_[static_cast<size_t>(ch)].Front();
                display_[static_cast<size_t>(ch)].Roll(queue.front());
                queue.pop_front();
            }
            auto& indexQueue = ChannelDeques[SampleIndexSlot];
            if (indexQueue.size() >= 2) {
                indexDisplay_.Roll(indexQueue.front());
                indexQueue.pop_front();
            }
        }
        PendingSampleCount -= n;
    }
    if (autosave_->load()) {
        bool due = false;
        {
            CSingleLock lock(&view_.LinkLock(), true);
            due = static_cast<int>(ChannelDeques[static_cast<size_t>(MirrorSlot(0))].size()) > plot_.points;
        }
        if (due)
            WriteNumberedRecording(false);
    }
    // Samples arrive a segment at a time: a tick that moved none leaves the picture as it is.
    if (n > 0)
        InvalidatePlot();
}

// At STOP the thread has ended: every sample still queued is shown, the newest included (the timer
// keeps the newest back while the run goes on), and the front the run never reached is noted.
void CTraceGraphDlg::ShowQueuedMonitorSamples() {
    const int channels = plot_.channelCountMode == 1 ? 8 : 4;
    CSingleLock lock(&view_.LinkLock(), true);
    for (int ch = 0; ch < channels; ++ch) {
        auto& queue = ChannelDeques[static_cast<size_t>(ChannelSlots[static_cast<size_t>(ch)])];
        for (int32_t value : queue) {
            preValue_[static_cast<size_t>(ch)] = display_[static_cast<size_t>(ch)].Front();
            display_[static_cast<size_t>(ch)].Roll(value);
        }
        queue.clear();
    }
    auto& indexQueue = ChannelDeques[SampleIndexSlot];
    for (int32_t value : indexQueue)
        indexDisplay_.Roll(value);
    indexQueue.clear();
    PendingSampleCount = 0;
    // The run reached as far back as the channels with a source all hold samples.
    int rolled = display_[0].Rolled();
    bool sourced = false;
    for (int ch = 0; ch < channels; ++ch)
        if (plot_.sources[static_cast<size_t>(ch)] != 0) {
            const int own = display_[static_cast<size_t>(ch)].Rolled();
            rolled = sourced ? std::min(rolled, own) : own;
            sourced = true;
        }
    monitorUnfilled_ = std::max(0, display_[0].Size() - rolled);
    InvalidatePlot();
}

void CTraceGraphDlg::SingleTick() {
    if (!thread_ || thread_->IsRunning())
        return;
    const int channels = plot_.channelCountMode == 1 ? 8 : 4;
    for (int ch = 0; ch < channels; ++ch) {
        const size_t c = static_cast<size_t>(ch);
        auto& queue = ChannelDeques[static_cast<size_t>(ChannelSlots[c])];
        display_[c].Assign(TracePointCount);
        // A queue can be empty (nothing was recorded): then the channel starts from 0.
        preValue_[c] = ch < 2 || queue.empty() ? display_[c].Front() : queue.front();
        for (int32_t value : queue)
            display_[c].Roll(value);
        queue.clear();
    }
    if (running_ != 0)
        EndRunAfterThread();
    else
        DeleteEndedThread();
    if (redisplay_)
        OnRedisplay(); // the record is shown: the redisplay ends
    KillTimer(TraceSingleTimer);
    Invalidate(FALSE);
}

void CTraceGraphDlg::CycleTick(bool repeat) {
    if (!thread_)
        return;
    if (ThreadEnded()) {
        StopAcquisition();
        DeleteEndedThread();
        if (repeat && running_ != 0)
            EndRunAfterThread();
        return;
    }
    const bool eight = plot_.channelCountMode == 1;
    const int channels = eight ? 8 : 4;
    const int needed = eight ? 1024 : 2048;
    CSingleLock lock(&view_.LinkLock(), true);
    const int pending = PendingSampleCount.load();
    const auto& first = ChannelDeques[static_cast<size_t>(ChannelSlots[0])];
    const bool complete =
        repeat ? pending >= needed && static_cast<int>(first.size()) >= needed : pending > needed - 1;
    if (complete) {
        captureTimeText_ = CaptureClockText(std::time(nullptr));
        for (DisplayRing& ring : display_)
            ring.Assign(TracePointCount);
        for (int k = 0; k < needed; ++k) {
            for (int ch = 0; ch < channels; ++ch) {
                auto& queue = ChannelDeques[static_cast<size_t>(ChannelSlots[static_cast<size_t>(ch)])];
                if (queue.empty())
                    continue;
                display_[static_cast<size_t>(ch)].Roll(queue.front());
                queue.pop_front();
            }
            auto& indexQueue = ChannelDeques[SampleIndexSlot];
            if (!indexQueue.empty()) {
                indexDisplay_.Roll(indexQueue.front());
                indexQueue.pop_front();
            }
        }
        plot_.points = std::max(plot_.points, needed);
        AutoScaleChannels();
        PendingSampleCount -= pending;
        if (!repeat) {
            KillTimer(TraceCycleTimer);
            if (!redisplay_)
                SetTimer(TraceCycleRepeatTimer, 100);
        }
        ChannelDeques[SampleIndexSlot].clear();
        Invalidate(FALSE);
    }
    for (int slot : ChannelSlots)
        ChannelDeques[static_cast<size_t>(slot)].clear();
    if (complete && !repeat && redisplay_) {
        lock.Unlock();
        OnRedisplay(); // the record is shown: the redisplay ends
    }
}

// A numbered recording of the autosave folder: the window's state as Save writes it, with every
// recorded channel from its mirror queue (taken under the lock, 0 where a queue runs short). Channels
// 5..8 of an eight-channel run come from their queues too: the sample buffers are filled only at STOP,
// so during a run they would save zeros (or the last run's samples) beside this run's channels 1..4.
void CTraceGraphDlg::WriteNumberedRecording(bool atStop) {
    const std::string path =
        NumberedRecordingPath(autosaveFolder_, autosaveName_, autosaveFileNumber_, autosaveSubNumber_);
    // The window's whole state as Save writes it; only the samples come from the run's queues.
    TraceRecording recording = CurrentRecording();
    const int count = recording.pointCount + 1;
    std::array<std::vector<int32_t>, 8> mirrors;
    {
        CSingleLock lock(&view_.LinkLock(), true);
        mirrors = TakeMirrorSamples(count);
        if (atStop)
            ClearChannelDeques({11, 12, 13, 14, 15, 16, 17, 18});
    }
    const size_t recorded = plot_.channelCountMode == 1 ? 8 : 4;
    for (size_t ch = 0; ch < 8; ++ch) {
        if (ch < recorded) {
            recording.samples[ch] = std::move(mirrors[ch]);
        } else {
            recording.samples[ch].assign(static_cast<size_t>(count), 0);
            const auto& buffer = TraceSampleBuffers[ch];
            for (int i = 0; i < count && i < static_cast<int>(buffer.size()); ++i)
                recording.samples[ch][static_cast<size_t>(i)] = buffer[static_cast<size_t>(i)];
        }
    }
    std::string error;
    if (!SaveTraceFile(path, recording, TraceFileForm::Trace, TraceCsvTable{}, &error))
        ShowMessage(error);
    if (atStop) {
        ++autosaveFileNumber_;
        autosaveSubNumber_ = 0;
    } else {
        ++autosaveSubNumber_;
    }
}

LRESULT CTraceGraphDlg::OnAcquisitionMessage(WPARAM code, LPARAM) {
    switch (code) {
    case 1:
        // The set-up runs modally here, so there is never a set-up child window to close.
        return 0;
    case 2:
        statePollSuppressed_ = true;
        return 0;
    case 3:
        SetFocus();
        readWindow_ = new CTraceReadDlg(nullptr);
        readWindow_->Create(IDD_TRACE_READ, this);
        readWindow_->ShowWindow(SW_HIDE);
        return 0;
    case 4: {
        CBusyHold busy(view_.Services());
        if (ConnectedFlag != 0)
            for (int i = 0; i < 512; ++i)
                if (!view_.Services().ReadDriveRegister(0x0C42))
                    break; // a failed exchange: the rest would fail the same way
        if (readWindow_ != nullptr) {
            readWindow_->DestroyWindow();
            readWindow_ = nullptr;
        }
        Invalidate(FALSE);
        return 0;
    }
    case 5: {
        if (statePollSuppressed_)
            return 0;
        CBusyHold busy(view_.Services());
        QueryTraceState(view_.Services());
        return 0;
    }
    default:
        return 0;
    }
}

// ---- Drawing --------------------------------------------------------------------------------

BOOL CTraceGraphDlg::OnEraseBkgnd(CDC* dc) {
    return CDialog::OnEraseBkgnd(dc);
}

void CTraceGraphDlg::OnPaint() {
    CPaintDC dc(this);
    const float d = Division();
    const int w = static_cast<int>(10.0f * d);
    CDC memory;
    memory.CreateCompatibleDC(&dc);
    if (backBufferSize_ != CSize(w + 150, w + 170) || !backBuffer_.IsCreated()) {
        backBuffer_.DeleteObject();
        backBuffer_.CreateCompatibleBitmap(&dc, w + 150, w + 170);
        backBufferSize_ = CSize(w + 150, w + 170);
    }
    memory.SelectObject(&backBuffer_);
    const CPoint origin = PlotOrigin();
    ShowBufferedPlot(dc, memory,
                     CRect(CPoint(origin.x - PlotBufferLeft, origin.y - PlotBufferTop), backBufferSize_),
                     plotLabels_, [this](CDC& plot) { DrawPlot(plot); });
    // The label of the highest-numbered highlighted channel gets a frame.
    for (int ch = 7; ch >= 0; --ch) {
        if (labelHighlight_[static_cast<size_t>(ch)] == 0)
            continue;
        CRect label;
        GetDlgItem(TraceChannelLabels[static_cast<size_t>(ch)])->GetWindowRect(&label);
        ScreenToClient(&label);
        CPen pen(PS_SOLID, 2, RGB(0, 0, 0));
        dc.SelectObject(&pen);
        dc.SelectStockObject(HOLLOW_BRUSH);
        dc.Rectangle(label);
        break;
    }
}

void CTraceGraphDlg::DrawPlot(CDC& dc) {
    const float d = Division();
    const int D = static_cast<int>(d);
    const int W = static_cast<int>(10.0f * d);
    const int L = PlotBufferLeft;
    const int T = PlotBufferTop;
    dc.FillSolidRect(CRect(0, 0, W + 400, W + 170), RGB(0, 0, 0));

    // Dotted grid: one dot every 7 pixels.
    for (int i = 0; i <= 9; ++i) {
        const int y = T + static_cast<int>(static_cast<float>(i) * d);
        for (int n = 1; 7 * n <= W; ++n)
            dc.SetPixel(L + 7 * n, y, RGB(255, 255, 255));
    }
    for (int k = 1; k <= 9; ++k) {
        const int x = L + static_cast<int>(static_cast<float>(k) * d);
        for (int n = 0; 7 * n <= W; ++n)
            dc.SetPixel(x, T + 7 * n, RGB(255, 255, 255));
    }
    CPen white(PS_SOLID, 1, RGB(255, 255, 255));
    dc.SelectObject(&white);
    dc.SetBkMode(TRANSPARENT);
    for (int j = 0; j <= 10; ++j) {
        const int y = T + static_cast<int>(static_cast<float>(j) * d);
        dc.MoveTo(L + W - 2, y);
        dc.LineTo(L + W + 3, y);
    }
    dc.MoveTo(L, T + W);
    dc.LineTo(L + W, T + W);
    for (int m = 0; m <= 5; ++m) {
        const int x = L + static_cast<int>(static_cast<float>(2 * m) * d);
        dc.MoveTo(x, T + W - 2);
        dc.LineTo(x, T + W + 3);
    }

    const int channels = plot_.channelCountMode == 1 ? 8 : 4;
    if (!dataPresent_)
        for (auto& marks : plot_.curvePoints)
            marks.clear();
    if (dataPresent_) {
        for (int k = 0; k < channels; ++k)
            DrawChannelCurve(dc, plot_.drawOrder[static_cast<size_t>(k)]);
        if (rubberBand_) {
            const CPoint o = PlotOrigin();
            CPen red(PS_DOT, 1, RGB(255, 0, 0));
            dc.SelectObject(&red);
            dc.SelectStockObject(HOLLOW_BRUSH);
            dc.Rectangle(CRect(bandStart_.x - o.x + PlotBufferLeft, bandStart_.y - o.y + PlotBufferTop,
                               bandEnd_.x - o.x + PlotBufferLeft, bandEnd_.y - o.y + PlotBufferTop));
        }
        dc.FillSolidRect(CRect(L, 0, L + W + 20, T), RGB(0, 0, 0));
        dc.FillSolidRect(CRect(L + W + 2, T, L + W + 120, T + W + 2), RGB(0, 0, 0));
        dc.FillSolidRect(CRect(L, T + W + 1, L + W + 20, T + W + 120), RGB(0, 0, 0));
        dc.FillSolidRect(CRect(0, 0, L, W + 100), RGB(0, 0, 0));
    }
    if (dataPresent_ && plot_.cursorsShown)
        DrawCursors(dc);
    const std::string timeCaption = LoadResString(IDS_TG_TIME_CAPTION);

    // Legend rows under the plot.
    if (dataPresent_) {
        struct LegendPlace {
            int channel;
            int row;
            bool right;
        };
        const LegendPlace places[] = {{0, 16, false}, {2, 16, true},  {3, 46, true}, {1, 46, false},
                                      {4, 31, false}, {5, 61, false}, {6, 31, true}, {7, 61, true}};
        dc.SetTextAlign(TA_LEFT | TA_TOP);
        // The right column's first row shares the row of the time caption centred under the plot: the
        // column starts at least a digit's width past the caption's end, whatever the face.
        const int captionEnd = L + 5 * D + (static_cast<int>(dc.GetTextExtent(timeCaption).cx) + 1) / 2 +
                               static_cast<int>(dc.GetTextExtent("0").cx);
        const int rightColumn = std::max(5 * D + 93, captionEnd);
        for (const LegendPlace& place : places) {
            const size_t c = static_cast<size_t>(place.channel);
            if (plot_.sources[c] == 0 || plot_.shown[c] == 0 || !plot_.ChannelDrawn(place.channel))
                continue;
            const int y = T + W + 5 + place.row;
            const int numberX = place.right ? rightColumn : static_cast<int>(43.0f * PlotZoom);
            const std::string number = std::to_string(place.channel + 1);
            // A small zoom or a wider face must not run the number into its text.
            const int textX = std::max(place.right ? rightColumn + 7 : static_cast<int>(50.0f * PlotZoom),
                                       numberX + static_cast<int>(dc.GetTextExtent(number).cx) + 1);
            dc.SetTextColor(RGB(255, 255, 255));
            dc.TextOut(numberX, y, number);
            dc.SetTextColor(colours_[c]);
            dc.TextOut(textX, y, legend_[c]);
        }
    }

    // Value labels at the grid lines, four channels a side one above the other, ten pixels apart or a
    // quarter division where the division is smaller, so the four stand apart at every window size.
    // Each side's stack stands around its line: channels 1, 5, 2, 6 right-aligned in the left margin,
    // ending short of the legend's channel numbers; channels 3, 7, 4, 8 left-aligned right of the
    // plot, clear of the right edge's ticks and of the last time label.
    struct LabelPlace {
        int channel;
        bool right;
        int row; // 0..3 from the top of the side's stack
    };
    const LabelPlace labels[] = {{0, false, 0}, {4, false, 1}, {1, false, 2}, {5, false, 3},
                                 {2, true, 0},  {6, true, 1},  {3, true, 2},  {7, true, 3}};
    if (labelFont_.GetSafeHandle() == nullptr)
        labelFont_.CreateFont(9, 4, 0, 0, 400, 0, 0, 0, 0, 0, 0, NONANTIALIASED_QUALITY, 0, "Tahoma");
    CFont* textFont = dc.SelectObject(&labelFont_);
    // Where a division cannot hold four label cells (a small window, a taller face), the labels go on
    // every other line, so each stays readable rather than stacked over its neighbour.
    const int cell = std::max(1, static_cast<int>(dc.GetTextExtent("0").cy));
    const int lineStride = D / 4 >= cell ? 1 : 2;
    const int rowStep = std::min(std::max(10, cell + 1), lineStride * D / 4);
    // The stack centred two pixels below its line, but ending above the legend's first row.
    const int stackTop = std::min(2 - (3 * rowStep + cell) / 2, kLegendFirstRow - 3 * rowStep - cell);
    for (const LabelPlace& place : labels) {
        const size_t c = static_cast<size_t>(place.channel);
        // With a record, a channel the high words hide shows no scale either.
        if (place.channel >= channels || plot_.shown[c] == 0 ||
            (dataPresent_ && !plot_.ChannelDrawn(place.channel)))
            continue;
        CWnd* combo = scaleCombos_[c] ? scaleCombos_[c] : GetDlgItem(TraceScaleCombos[c]);
        const std::string scaleText = combo->GetWindowText();
        dc.SetTextColor(dataPresent_ ? colours_[c] : RGB(255, 255, 255));
        dc.SetTextAlign((place.right ? TA_LEFT : TA_RIGHT) | TA_TOP);
        for (int j = 0; j <= 10; j += lineStride) {
            const int64_t value =
                static_cast<int64_t>(plot_.offset[c]) - static_cast<int64_t>(j) * plot_.scale[c];
            const int y = T + static_cast<int>(static_cast<float>(j) * d) + stackTop + place.row * rowStep;
            dc.TextOut(place.right ? W + kRightLabelX : kLeftLabelRight, y, AxisLabelText(scaleText, value));
        }
    }
    // The time axis speaks in the legend's font.
    if (textFont != nullptr)
        dc.SelectObject(textFont);
    dc.SelectObject(&white);
    for (int j = 0; j <= 10; ++j) {
        const int y = T + static_cast<int>(static_cast<float>(j) * d);
        dc.MoveTo(L - 2, y);
        dc.LineTo(L + 3, y);
        dc.MoveTo(L + W - 2, y);
        dc.LineTo(L + W + 3, y);
    }
    const int borders[] = {L, L + W};
    const int noDataBorders[] = {12, 55, W + 90, W + 120};
    if (dataPresent_) {
        for (int x : borders) {
            dc.MoveTo(x, T);
            dc.LineTo(x, T + W);
        }
    } else {
        for (int x : noDataBorders) {
            dc.MoveTo(x, T);
            dc.LineTo(x, T + W);
        }
    }
    // Time labels every two divisions.
    dc.SetTextColor(RGB(255, 255, 255));
    dc.SetTextAlign(TA_CENTER | TA_TOP);
    const int divisor = TimeDisplayDivisor();
    for (int m = 0; m <= 5; ++m) {
        const int x = L + static_cast<int>(static_cast<float>(2 * m) * d);
        if (x > L + W + 5)
            break;
        dc.TextOut(
            x, T + W + 5,
            TimeLabelText(plot_.leftTime + static_cast<float>(2 * m) * plot_.timePerDivision, divisor));
    }
    dc.TextOut(L + 5 * D, T + W + 21, timeCaption);
}

// One channel's curve, at most one vertical stroke per pixel column: the span of samples that fall
// into a column is drawn from its smallest to its largest value, so a long record costs no more than
// the plot is wide.
void CTraceGraphDlg::DrawChannelCurve(CDC& dc, int channel) {
    const size_t c = static_cast<size_t>(channel);
    // A curve not drawn now offers no points to snap to.
    plot_.curvePoints[c].clear();
    if (!plot_.ChannelDrawn(channel))
        return;
    const float d = Division();
    const int W = static_cast<int>(10.0f * d);
    if (!UsableTimeBase(plot_.timePerDivision, plot_.intervalTime) || W <= 0)
        return; // no time base: nothing to walk
    const double samplesPerDivision = static_cast<double>(plot_.timePerDivision) / plot_.intervalTime;
    const double pixelsPerSample = d / samplesPerDivision;
    if (!(pixelsPerSample > 0.0) || !std::isfinite(pixelsPerSample))
        return;
    const double startOffset = static_cast<double>(plot_.leftTime) / plot_.timePerDivision * d;
    const DisplayRing& ring = display_[c];
    // Bounded by the display array, whatever the point count says.
    const int last = std::min({ring.Size(), std::max(plot_.points, 0) + 1,
                               SaturatedInt((W + startOffset) / pixelsPerSample + 1.0)});
    // SaturatedInt: a time base of almost nothing puts the left edge beyond what an int holds.
    const int first = std::max(0, SaturatedInt(startOffset / pixelsPerSample));
    if (first >= last)
        return;
    const bool digital = SourceKind(plot_.sources[c]) == 2;
    const double scale = std::max(1, plot_.scale[c]);
    const double y0 = PlotBufferTop + static_cast<double>(plot_.offset[c]) * d / scale;
    auto yOf = [&](int32_t raw) {
        const double v = digital ? (raw != 0 ? 1.0 : 0.0) : static_cast<double>(raw);
        // Points beyond the plot are drawn on its edge: the black bands cover them, and no stroke
        // runs for thousands of pixels off the picture.
        return static_cast<int>(
            std::clamp(y0 - v * d / scale, PlotBufferTop - 1.0, PlotBufferTop + 10.0 * d + 1.0));
    };
    auto xOf = [&](int index) {
        return PlotBufferLeft +
               SaturatedInt(static_cast<double>(index) * pixelsPerSample + 0.5 - startOffset);
    };
    CPen pen(PS_SOLID, 1, colours_[c]);
    dc.SelectObject(&pen);
    // One mark per pixel column is enough to put a cursor on the curve.
    std::vector<CurvePoint>& marks = plot_.curvePoints[c];
    auto markOf = [&](int index, int32_t raw) {
        const double v = digital ? (raw != 0 ? 1.0 : 0.0) : static_cast<double>(raw);
        return CurvePoint{SaturatedInt((plot_.offset[c] - v) * d / scale),
                          SaturatedInt(static_cast<double>(index) * pixelsPerSample + 0.5), index};
    };
    int32_t before = first > 0 ? ring.At(first - 1) : preValue_[c];
    dc.MoveTo(xOf(first - 1 < 0 ? 0 : first - 1), yOf(before));
    auto valueOf = [&](int32_t raw) { return digital ? (raw != 0 ? 1 : 0) : raw; };
    int i = first;
    while (i < last) {
        const int column = xOf(i);
        // The samples of this pixel column: found from the column's edge, then made exact.
        int end = SaturatedInt((column + 1 - PlotBufferLeft + startOffset - 0.5) / pixelsPerSample);
        end = std::clamp(end, i + 1, last);
        while (end > i + 1 && xOf(end - 1) > column)
            --end;
        while (end < last && xOf(end) == column)
            ++end;
        const int32_t entry = valueOf(ring.At(i));
        int32_t lowest = entry;
        int32_t highest = entry;
        int32_t exit = entry;
        if (!digital) {
            ring.MinMax(i, end, lowest, highest);
            exit = ring.At(end - 1);
        } else {
            for (int j = i + 1; j < end; ++j) {
                exit = valueOf(ring.At(j));
                lowest = std::min(lowest, exit);
                highest = std::max(highest, exit);
            }
        }
        dc.LineTo(column, yOf(entry));
        if (plot_.cursorsShown)
            marks.push_back(markOf(i, ring.At(i)));
        if (highest != lowest) {
            // Larger values are higher up: the smallest y belongs to the highest value.
            dc.MoveTo(column, yOf(highest));
            dc.LineTo(column, yOf(lowest) + 1);
            dc.MoveTo(column, yOf(exit));
        }
        i = end;
    }
}

// ---- Sizing and scrolling -------------------------------------------------------------------

void CTraceGraphDlg::MoveSecondLabelRow() {
    const int down = static_cast<int>(10.0f * Division()) + 130;
    const std::array<std::pair<int, int>, 8> pairs = {{{6018, 6016},
                                                       {6023, 6021},
                                                       {6019, 6017},
                                                       {6024, 6022},
                                                       {4004, 4002},
                                                       {4008, 4006},
                                                       {4005, 4003},
                                                       {4009, 4007}}};
    for (const auto& [moved, reference] : pairs) {
        CRect rect;
        GetDlgItem(reference)->GetWindowRect(&rect);
        ScreenToClient(&rect);
        rect.OffsetRect(0, down);
        GetDlgItem(moved)->MoveWindow(rect, FALSE);
    }
}

void CTraceGraphDlg::OnSize(UINT type, int cx, int cy) {
    if (!initialised_)
        return;
    const bool hasChildren = !GetChildren().empty();
    if (hasChildren)
        LayoutControls(0);
    CWnd* rightButton = GetDlgItem(TraceOffsetUpButtons[2]);
    CWnd* scrollBar = GetDlgItem(IDC_TG_TIME_SCROLL);
    if (rightButton != nullptr && scrollBar != nullptr) {
        CRect right, bar;
        rightButton->GetWindowRect(&right);
        scrollBar->GetWindowRect(&bar);
        ScreenToClient(&right);
        ScreenToClient(&bar);
        const int gapX = right.left - recordedLabelRect_.right;
        const int gapY = bar.top - recordedLabelRect_.top;
        // The recorded gaps come from our own template: guard against a layout that leaves no room.
        float zoom = PlotScaleForGaps(gapX, InitialPlotGapX, 150, gapY, InitialPlotGapY, 100).value_or(1.0f);
        if (!std::isfinite(zoom) || zoom <= 0.1f)
            zoom = 0.1f;
        PlotZoom = zoom;
    }
    MoveSecondLabelRow();
    if (scroller_.GetDisplaySize() == CSize(0, 0))
        scroller_.SetDisplaySize(864, 630);
    scroller_.OnSize(type, cx, cy);
    if (hasChildren)
        LayoutControls(0);
    Invalidate(FALSE);
}

void CTraceGraphDlg::OnSizing(UINT side, CRect* rect) {
    scroller_.ScrollToOrigin(true, true);
    const bool leftEdge = side == WMSZ_LEFT || side == WMSZ_TOPLEFT || side == WMSZ_BOTTOMLEFT;
    const bool topEdge = side == WMSZ_TOP || side == WMSZ_TOPLEFT || side == WMSZ_TOPRIGHT;
    const int width = std::clamp(rect->Width(), 880, 1180);
    const int height = std::clamp(rect->Height(), 650, 850);
    if (leftEdge)
        rect->left = rect->right - width;
    else
        rect->right = rect->left + width;
    if (topEdge)
        rect->top = rect->bottom - height;
    else
        rect->bottom = rect->top + height;
}

void CTraceGraphDlg::OnHScroll(UINT code, UINT position, CScrollBar* bar) {
    if (bar == nullptr || bar->GetDlgCtrlID() != IDC_TG_TIME_SCROLL) {
        scroller_.OnHScroll(code, position, bar);
        return;
    }
    if (!plot_.ScrollTime(static_cast<int>(code), position))
        return;
    bar->SetScrollPos(plot_.scrollPosition);
    Invalidate(FALSE);
}

void CTraceGraphDlg::OnVScroll(UINT code, UINT position, CScrollBar* bar) {
    const int ch = bar ? ChannelIndexOf(TraceOffsetSliders, static_cast<UINT>(bar->GetDlgCtrlID())) : -1;
    if (ch < 0) {
        scroller_.OnVScroll(code, position, bar);
        return;
    }
    auto* slider = static_cast<CSliderCtrl*>(GetDlgItem(TraceOffsetSliders[static_cast<size_t>(ch)]));
    slider->SetPos(plot_.ScrollChannel(ch, static_cast<int>(code), slider->GetPos()));
    Invalidate(FALSE);
}

HBRUSH CTraceGraphDlg::OnCtlColor(CDC* dc, CWnd* control, UINT kind) {
    const int id = control ? control->GetDlgCtrlID() : 0;
    if (const int ch = ChannelIndexOf(TraceChannelLabels, static_cast<UINT>(id)); ch >= 0) {
        dc->SetBkColor(colours_[static_cast<size_t>(ch)]);
        dc->SetTextColor(labelHighlight_[static_cast<size_t>(ch)] ? RGB(255, 255, 255) : RGB(0, 0, 0));
        return nullptr;
    }
    if (const int ch = ChannelIndexOf(TraceChannelCaptions, static_cast<UINT>(id)); ch >= 0) {
        dc->SetBkMode(TRANSPARENT);
        dc->SetTextColor(colours_[static_cast<size_t>(ch)]);
        return nullptr;
    }
    // "Fixed" stands on the plot's black top band beside the scale lists: white, as the band's texts,
    // on a black face of its own, so it stays readable where a narrow window leaves it past the band.
    if (id == IDC_TG_FIXED) {
        if (!fixedBack_.IsCreated())
            fixedBack_.CreateSolidBrush(RGB(0, 0, 0));
        dc->SetTextColor(RGB(255, 255, 255));
        return &fixedBack_;
    }
    return CDialog::OnCtlColor(dc, control, kind);
}

// ---- Zoom and clipboard ---------------------------------------------------------------------

void CTraceGraphDlg::OnCopyToClipboard() {
    // Drawing happens only in paint events: the plot is drawn into a bitmap of its own here.
    const float d = Division();
    const int w = static_cast<int>(d * 10.0f);
    CClientDC screen(this);
    CDC memory;
    memory.CreateCompatibleDC(&screen);
    CBitmap picture;
    picture.CreateCompatibleBitmap(&screen, w + 245, w + 100);
    memory.SelectObject(&picture);
    DrawPlot(memory);
    memory.SelectObject(static_cast<CBitmap*>(nullptr));
    if (OpenClipboard(this)) {
        EmptyClipboard();
        SetClipboardData(CF_BITMAP, &picture);
        CloseClipboard();
    }
}

// The controls of each channel follow the channel count and the channels that carry high words.
void CTraceGraphDlg::ApplyChannelControlRules() {
    const std::array<bool, 8> enabled = ChannelControlsEnabled(plot_.sources, plot_.channelCountMode == 1);
    for (size_t ch = 0; ch < 8; ++ch)
        for (int id : {TraceChannelShowChecks[ch], TraceOffsetUpButtons[ch], TraceOffsetDownButtons[ch],
                       TraceOffsetSliders[ch], TraceScaleCombos[ch], TraceOffsetZeroButtons[ch],
                       TraceOffsetResetButtons[ch]})
            EnableItem(id, enabled[ch] ? TRUE : FALSE);
}

void CTraceGraphDlg::EnableItem(int id, BOOL enable) {
    EnableItemOf(*this, id, enable);
}

// ---- Recordings -----------------------------------------------------------------------------

TraceRecording CTraceGraphDlg::CurrentRecording() const {
    TraceRecording r;
    r.traceMode = TraceMode;
    r.sources = plot_.sources;
    r.colorIndices = colourIndices_;
    r.timeBase = plot_.timeBase;
    r.interval = plot_.interval;
    r.pointCount = std::clamp(plot_.points, 0, TraceSampleBufferLength - 1);
    r.scaleSelections = plot_.scaleSelection;
    if (auto* combo = static_cast<CComboBox*>(GetDlgItem(IDC_TG_TIME_BASE)))
        r.timeDivisionSelection = std::max(0, combo->GetCurSel());
    // The base values are those before the first zoom.
    for (size_t ch = 0; ch < 4; ++ch) {
        r.scales[ch] = plot_.scale[ch];
        r.offsets[ch] = plot_.offset[ch];
        r.baseScales[ch] = plot_.zoomed ? plot_.zoomSave.scales[ch] : plot_.scale[ch];
        r.baseOffsets[ch] = plot_.zoomed ? plot_.zoomSave.offsets[ch] : plot_.offset[ch];
        r.upperScales[ch] = plot_.scale[ch + 4];
        r.upperOffsets[ch] = plot_.offset[ch + 4];
    }
    r.sliderPositions = plot_.sliderPosition;
    r.frontChannel = plot_.drawOrder[plot_.channelCountMode == 1 ? 7 : 3]; // the channel drawn last
    const int count = r.pointCount + 1;
    for (size_t ch = 0; ch < 8; ++ch) {
        r.samples[ch].resize(static_cast<size_t>(count));
        for (int i = 0; i < count; ++i)
            r.samples[ch][static_cast<size_t>(i)] =
                i < display_[ch].Size() ? display_[ch].At(i) : r.pointCount;
    }
    r.dioCodes = dioCodes_;
    r.triggerSource = triggerSource_;
    r.triggerLevel = triggerLevel_;
    r.seriesCode = SeriesCode;
    r.triggerEdge = triggerEdge_;
    r.triggerPosition = triggerPosition_;
    r.zoomed = plot_.zoomed ? 1 : 0;
    r.cursors = {plot_.cursorTime[0], plot_.cursorTime[1], plot_.cursorValue[0], plot_.cursorValue[1]};
    r.snapshotValid = snapshot_.valid;
    r.snapshot1 = snapshot_.first;
    r.snapshot2 = snapshot_.second;
    r.snapshot3 = snapshot_.third;
    // Un-zoomed, the view starts at the record's beginning with a tenth of it per division.
    r.timePerDivision = plot_.timePerDivision;
    r.leftTime = plot_.leftTime;
    r.scroll = plot_.scrollPosition;
    r.baseTimePerDivision = plot_.zoomed ? plot_.zoomSave.timePerDivision : plot_.timePerDivision;
    r.baseLeftTime = plot_.zoomed ? plot_.zoomSave.leftTime : plot_.leftTime;
    r.baseScroll = plot_.zoomed ? plot_.zoomSave.scroll : plot_.scrollPosition;
    if (plot_.zoomed)
        r.timeDivisionSelection = plot_.zoomSave.timeSelection;
    r.channelCountMode = plot_.channelCountMode;
    r.colors = colours_;
    return r;
}

bool CTraceGraphDlg::WriteRecording(const std::string& path) {
    const TraceRecording recording = CurrentRecording();
    std::vector<std::string> titles;
    for (size_t ch = 0; ch < 8; ++ch)
        titles.push_back(CsvColumnTitle(static_cast<int>(ch) + 1,
                                        ChannelSourceTitle(plot_.sources[ch], dioCodes_),
                                        ChannelSourceUnit(plot_.sources[ch], ModelCode)));
    // A Monitor run shorter than the display leaves zeros at its front that no sample ever filled.
    const TraceCsvTable csv =
        RecordingCsvTable(recording, std::move(titles), monitorUnfilled_, TimeDisplayDivisor());
    return WriteRecordingOrTell(path, recording, TraceFileForm::Trace, csv);
}

void CTraceGraphDlg::OnSaveAs() {
    SaveRecordingAs(*this, recordingFile_, [this](const std::string& path) { return WriteRecording(path); });
}

void CTraceGraphDlg::OnSave() {
    SaveRecording(*this, recordingFile_, [this](const std::string& path) { return WriteRecording(path); });
}

void CTraceGraphDlg::OnOpen() {
    const auto path = AskRecordingToOpen(this);
    TraceRecording recording;
    if (path && ReadRecordingOrTell(*path, TraceFileForm::Trace, recording))
        TakeRecording(recording, *path);
}

void CTraceGraphDlg::TakeRecording(const TraceRecording& r, const std::string& path) {
    const int previousMode = TraceMode;
    TraceMode = r.traceMode;
    plot_.sources = r.sources;
    colourIndices_ = r.colorIndices;
    plot_.timeBase = r.timeBase;
    plot_.interval = r.interval;
    plot_.points = r.pointCount;
    plot_.scaleSelection = r.scaleSelections;
    plot_.channelCountMode = std::min(r.channelCountMode, 1);
    for (size_t ch = 0; ch < 4; ++ch) {
        plot_.scale[ch] = std::max(1, r.baseScales[ch]);
        plot_.offset[ch] = r.baseOffsets[ch];
        plot_.scale[ch + 4] = std::max(1, r.upperScales[ch]);
        plot_.offset[ch + 4] = r.upperOffsets[ch];
    }
    triggerSource_ = r.triggerSource;
    triggerLevel_ = r.triggerLevel;
    if (triggerSource_ < 0 || triggerSource_ > 16)
        triggerSource_ = triggerLevel_ = 0;
    triggerEdge_ = r.triggerEdge;
    triggerPosition_ = r.triggerPosition;
    dioCodes_ = r.dioCodes;
    snapshot_ = {r.snapshotValid, r.snapshot1, r.snapshot2, r.snapshot3};
    ClearTraceSampleBuffers(0);
    const int count = plot_.points + 1;
    for (size_t ch = 0; ch < 8; ++ch) {
        display_[ch].Assign(std::max(count, TracePointCount));
        const auto& samples = r.samples[ch];
        for (int i = 0; i < count && i < static_cast<int>(samples.size()); ++i) {
            display_[ch].Set(i, samples[static_cast<size_t>(i)]);
            if (i < static_cast<int>(TraceSampleBuffers[ch].size()))
                TraceSampleBuffers[ch][static_cast<size_t>(i)] = samples[static_cast<size_t>(i)];
        }
        // A digital channel shows 0 and 1 at one unit per division.
        if (SourceKind(plot_.sources[ch]) == 2) {
            plot_.offset[ch] /= std::max(1, plot_.scale[ch]);
            plot_.scale[ch] = 1;
        }
        plot_.shown[ch] = plot_.sources[ch] != 0;
        if (r.colors[ch] != 0)
            colours_[ch] = r.colors[ch];
    }
    SetWindowText(recordingFile_.Name(path));
    BuildLegendNames();
    ShowTriggerSummary();
    monitorUnfilled_ = 0;
    ResetTimeAxis();
    // The time per division and the scroll position the recording was saved with.
    if (auto* combo = static_cast<CComboBox*>(GetDlgItem(IDC_TG_TIME_BASE));
        combo && r.timeDivisionSelection > 0 && r.timeDivisionSelection < combo->GetCount()) {
        combo->SetCurSel(r.timeDivisionSelection);
        plot_.timePerDivision =
            TimePerDivisionAt(plot_.recordTime, plot_.intervalTime, r.timeDivisionSelection);
    }
    plot_.scrollPosition = std::max(0, r.baseScroll);
    ApplyChannelControlRules();
    if (TraceMode != previousMode)
        FillScaleCombos();
    for (size_t ch = 0; ch < 8; ++ch)
        if (auto* combo = static_cast<CComboBox*>(GetDlgItem(TraceScaleCombos[ch])))
            combo->SetCurSel(plot_.scaleSelection[ch]);
    plot_.BringChannelToFront(std::clamp(r.frontChannel, 0, 7));
    plot_.selectedChannel = std::clamp(r.frontChannel, 0, plot_.channelCountMode == 1 ? 7 : 3);
    dataPresent_ = true;
    plot_.zoomed = false;
    if (r.zoomed != 0 && UsableTimeBase(r.timePerDivision, plot_.intervalTime)) {
        // A zoomed recording reopens with its zoomed view; Zoom Out goes back to the base view.
        plot_.zoomSave = {r.timeDivisionSelection, r.baseTimePerDivision, plot_.scale, plot_.offset,
                          r.baseLeftTime,          r.baseScroll};
        plot_.zoomed = true;
        plot_.timePerDivision = r.timePerDivision;
        for (size_t ch = 0; ch < 4; ++ch) {
            plot_.scale[ch] = std::max(1, r.scales[ch]);
            plot_.offset[ch] = r.offsets[ch];
        }
        plot_.scrollPosition = std::max(0, r.scroll);
        UpdateScrollRange();
        plot_.leftTime = r.leftTime;
    } else {
        UpdateScrollRange();
    }
    EnableItem(IDC_TG_ZOOM_OUT, plot_.zoomed);
    EnableItem(IDC_TG_ZOOM_IN, TRUE);
    for (int id :
         {IDC_TG_SAVE_AS, IDC_TG_SAVE, IDC_TG_PARAMETERS, IDC_TG_COPY, IDC_TG_TIME_BASE, IDC_TG_TIME_SCROLL})
        EnableItem(id, TRUE);
    plot_.PlaceCursorsAt(r.cursors, Division());
    UpdateData(FALSE);
    if (plot_.cursorsShown)
        RefreshReadouts();
    Invalidate(FALSE);
}

// ---- Cursors and zoom -----------------------------------------------------------------------

void CTraceGraphDlg::DrawCursors(CDC& dc) {
    const int W = static_cast<int>(10.0f * Division());
    const int L = PlotBufferLeft;
    const int T = PlotBufferTop;
    if (auto* style = static_cast<CComboBox*>(GetDlgItem(IDC_TG_CURSOR_MODE)))
        cursorDisplayMode_ = std::max(0, style->GetCurSel());
    const char* names[4] = {"A", "B", "C", "D"};
    dc.SetTextColor(RGB(255, 255, 255));
    dc.SetTextAlign(TA_CENTER | TA_TOP);
    if (cursorDisplayMode_ != 0) {
        for (int k = 0; k < 2; ++k) {
            if (plot_.pairCDOn) {
                CPen pen(PS_SOLID, 2, cursorColours_[static_cast<size_t>(2 + k)]);
                dc.SelectObject(&pen);
                dc.MoveTo(L, T + plot_.cursorY[k]);
                dc.LineTo(L + W, T + plot_.cursorY[k]);
                dc.TextOut(L + W + 8 + 2 * k, T + plot_.cursorY[k] - 8, names[2 + k]);
            }
            if (plot_.pairABOn) {
                CPen pen(PS_SOLID, 2, cursorColours_[static_cast<size_t>(k)]);
                dc.SelectObject(&pen);
                dc.MoveTo(L + plot_.cursorX[k], T);
                dc.LineTo(L + plot_.cursorX[k], T + W);
                dc.TextOut(L + plot_.cursorX[k], T - 16, names[k]);
            }
        }
        return;
    }
    // Crossing pairs: A with C, B with D.
    for (int k = 0; k < 2; ++k) {
        const int x = L + plot_.cursorX[k];
        const int y = T + plot_.cursorY[k];
        CPen horizontal(PS_SOLID, 2, cursorColours_[static_cast<size_t>(2 + k)]);
        dc.SelectObject(&horizontal);
        dc.MoveTo(x - 10, y);
        dc.LineTo(x + 10, y);
        CPen vertical(PS_SOLID, 2, cursorColours_[static_cast<size_t>(k)]);
        dc.SelectObject(&vertical);
        dc.MoveTo(x, y - 10);
        dc.LineTo(x, y + 10);
    }
}

void CTraceGraphDlg::RefreshReadouts() {
    const float d = Division();
    const int divisor = TimeDisplayDivisor();
    if (plot_.pairABOn && plot_.TimeBaseUsable()) {
        plot_.UpdateCursorTimes(d);
        SetDlgItemText(IDC_TG_READOUT_A, TimeLabelText(plot_.cursorTime[0], divisor));
        SetDlgItemText(IDC_TG_READOUT_B, TimeLabelText(plot_.cursorTime[1], divisor));
        SetDlgItemText(IDC_TG_READOUT_BA, TimeLabelText(plot_.cursorTime[1] - plot_.cursorTime[0], divisor));
        SetDlgItemText(IDC_TG_TIME_UNIT, "[ms]");
    }
    if (plot_.pairCDOn) {
        UpdateData(TRUE);
        plot_.UpdateCursorValues(d);
        SetDlgItemText(IDC_TG_READOUT_C, Format("%.1f", plot_.cursorValue[0]));
        SetDlgItemText(IDC_TG_READOUT_D, Format("%.1f", plot_.cursorValue[1]));
        SetDlgItemText(IDC_TG_READOUT_DC, Format("%.1f", plot_.cursorValue[1] - plot_.cursorValue[0]));
    }
}

void CTraceGraphDlg::OnCursorModeChange() {
    UpdateData(TRUE);
    if (plot_.cursorsShown)
        RefreshReadouts();
    Invalidate(FALSE);
}

void CTraceGraphDlg::OnCursorCheck() {
    const bool on = IsDlgButtonChecked(IDC_TG_CURSOR_SHOW) != 0;
    plot_.ShowCursors(on, static_cast<int>(Division()));
    for (int id : {IDC_TG_CURSOR_MODE, IDC_TG_VALUE_UNIT_COMBO, IDC_TG_CURSOR1_SWATCH, IDC_TG_CURSOR2_SWATCH,
                   IDC_TG_CURSOR3_SWATCH, IDC_TG_CURSOR4_SWATCH})
        EnableItem(id, on);
    if (on) {
        RefreshReadouts();
    } else {
        for (int id : {IDC_TG_READOUT_A, IDC_TG_READOUT_B, IDC_TG_READOUT_BA, IDC_TG_READOUT_C,
                       IDC_TG_READOUT_D, IDC_TG_READOUT_DC})
            SetDlgItemText(id, "");
        SetDlgItemText(IDC_TG_TIME_UNIT, "[ ]");
        SetDlgItemText(IDC_TG_VALUE_UNIT_CD, "[ ]");
    }
    Invalidate(FALSE);
}

void CTraceGraphDlg::OnLButtonDown(UINT, CPoint point) {
    const CPoint o = PlotOrigin();
    const int W = static_cast<int>(10.0f * Division());
    const int x = point.x - o.x;
    const int y = point.y - o.y;
    grabbed_ = plot_.CursorAt(x, y, W);
    if (grabbed_ >= 0) {
        plot_.snapped = false;
        dragAnchor_ = grabbed_ < 2 ? point.x : point.y;
        return;
    }
    if (dataPresent_ && running_ == 0 && x > 0 && x < W && y > 0 && y < W && plot_.CanZoomIn()) {
        rubberBand_ = true;
        bandStart_ = bandEnd_ = point;
    }
}

void CTraceGraphDlg::OnMouseMove(UINT flags, CPoint point) {
    if ((flags & MK_LBUTTON) == 0)
        return;
    const CPoint o = PlotOrigin();
    const int W = static_cast<int>(10.0f * Division());
    if (rubberBand_) {
        bandEnd_.x = std::clamp(point.x, o.x, o.x + W);
        bandEnd_.y = std::clamp(point.y, o.y, o.y + W);
        Invalidate(FALSE);
        return;
    }
    if (grabbed_ < 0)
        return;
    const int to = grabbed_ < 2 ? point.x : point.y;
    if (plot_.DragCursor(grabbed_, to - dragAnchor_, W))
        dragAnchor_ = to;
    RefreshReadouts();
    Invalidate(FALSE);
}

void CTraceGraphDlg::OnLButtonUp(UINT, CPoint) {
    grabbed_ = -1;
    if (!rubberBand_)
        return;
    rubberBand_ = false;
    const CPoint o = PlotOrigin();
    const std::optional<ZoomBox> box = ZoomBoxOf(CPoint(bandStart_.x - o.x, bandStart_.y - o.y),
                                                 CPoint(bandEnd_.x - o.x, bandEnd_.y - o.y), Division());
    if (!box) {
        Invalidate(FALSE);
        return; // too small to mean a zoom, or the whole plot
    }
    ZoomIn(&*box);
}

void CTraceGraphDlg::OnLButtonDblClk(UINT, CPoint point) {
    const CPoint o = PlotOrigin();
    if (auto* mode = static_cast<CComboBox*>(GetDlgItem(IDC_TG_CURSOR_MODE)))
        cursorDisplayMode_ = std::max(0, mode->GetCurSel());
    // Only the crossing cursors snap onto a curve.
    if (cursorDisplayMode_ != 0 || !plot_.SnapCursors(point.x - o.x, point.y - o.y, Division()))
        return;
    UpdateData(FALSE);
    RefreshReadouts();
    Invalidate(FALSE);
}

bool CTraceGraphDlg::MoveCursorByKey(bool right) {
    if (!plot_.cursorsShown)
        return false;
    int which = 0;
    if (auto* choice = static_cast<CComboBox*>(GetDlgItem(IDC_TG_VALUE_UNIT_COMBO)))
        which = choice->GetCurSel() > 0 ? 1 : 0;
    // Without a time base there is no sample to step to: the cursor stays, the key is used all the same.
    if (plot_.StepCursor(which, right, Division())) {
        RefreshReadouts();
        Invalidate(FALSE);
    }
    return true;
}

void CTraceGraphDlg::OnRButtonDown(UINT, CPoint) {
    if (plot_.zoomed)
        OnZoomOut();
}

void CTraceGraphDlg::OnZoomIn() {
    ZoomIn(nullptr);
}

void CTraceGraphDlg::ZoomIn(const ZoomBox* box) {
    if (running_ != 0)
        return;
    const bool wasZoomed = plot_.zoomed;
    auto* combo = static_cast<CComboBox*>(GetDlgItem(IDC_TG_TIME_BASE));
    if (!plot_.ZoomIn(box, combo ? combo->GetCurSel() : 0))
        return;
    if (!wasZoomed) {
        EnableItem(IDC_TG_TIME_BASE, FALSE);
        for (int id : TraceScaleCombos)
            EnableItem(id, FALSE);
    }
    SyncScrollBar();
    EnableItem(IDC_TG_ZOOM_OUT, TRUE);
    EnableItem(IDC_TG_ZOOM_IN, plot_.CanZoomIn());
    if (plot_.cursorsShown)
        RefreshReadouts();
    Invalidate(FALSE);
}

void CTraceGraphDlg::OnZoomOut() {
    if (!plot_.ZoomOut())
        return;
    if (auto* combo = static_cast<CComboBox*>(GetDlgItem(IDC_TG_TIME_BASE)))
        combo->SetCurSel(plot_.zoomSave.timeSelection);
    EnableItem(IDC_TG_TIME_BASE, TRUE);
    ApplyChannelControlRules();
    EnableItem(IDC_TG_ZOOM_OUT, FALSE);
    EnableItem(IDC_TG_ZOOM_IN, TRUE);
    SyncScrollBar();
    if (plot_.cursorsShown)
        RefreshReadouts();
    Invalidate(FALSE);
}

// ---- Set-up ---------------------------------------------------------------------------------

void CTraceGraphDlg::OnTraceSetting() {
    UpdateData(FALSE);
    if (plot_.zoomed)
        OnZoomOut();
    CKeloServoDoc* doc = view_.Document();
    if (doc == nullptr)
        return;
    if (redisplay_)
        OnRedisplay(); // ends it: the set-up may change what the record means
    if (running_ != 0)
        OnStart(); // its stop path
    if (ConnectedFlag == 0)
        CheckConnected(); // tells the user; the set-up opens offline all the same
    else if (view_.Services().ReadDioContactBlock() == 0)
        return; // the drive's input and output functions could not be read: nothing changes
    TraceSettings& settings = view_.Settings();
    CTraceSetupDlg dialog(this);
    dialog.traceMode = std::max(0, TraceMode);
    dialog.channelCountMode = plot_.channelCountMode;
    dialog.codes = plot_.sources;
    dialog.colourIndices = colourIndices_;
    dialog.colours = colours_;
    dialog.interval = std::max(1, settings.interval);
    dialog.timeBase = settings.timeBase;
    dialog.triggerSource = triggerSource_;
    dialog.triggerLevel = triggerLevel_;
    dialog.triggerEdge = triggerEdge_;
    dialog.triggerPosition = triggerPosition_;
    for (size_t ch = 0; ch < 8; ++ch)
        dialog.reverse[ch] = ChannelReverse[ch];
    dialog.dioCodes = doc->DioContactFunctions(); // the drive's, refreshed above when linked
    dialog.debugMode = DebugModeFlag != 0;
    dialog.extendedSources = doc->m_DriveSoftwareVersion >= 58;
    dialog.linearMotor = ((ModelCode >> 12) & 0xF) == 3 || ((ModelCode >> 12) & 0xF) == 4;
    dialog.monitorUnitMs =
        TimeDisplayDivisorOf(TraceModeMonitor, DriveSoftwareVersionOf(doc), SeriesCode) == 10 ? 1 : 10;
    if (dialog.DoModal() != IDOK)
        return;
    // The parameters read with the last trace no longer describe the new set-up.
    snapshot_ = {};

    const int previousMode = TraceMode;
    settings.valid = 1;
    settings.dioCodes = dialog.dioCodes;
    settings.traceMode = dialog.traceMode;
    settings.channelCountMode = dialog.channelCountMode;
    settings.points = dialog.points;
    settings.sources = dialog.codes;
    settings.triggerSource = dialog.triggerSource;
    settings.triggerLevel = dialog.triggerLevel;
    settings.triggerEdge = dialog.triggerEdge;
    settings.triggerPosition = dialog.triggerPosition;
    settings.colorIndices = dialog.colourIndices;
    settings.colors = dialog.colours;
    settings.timeBase = dialog.timeBase;
    settings.interval = dialog.interval;
    for (size_t ch = 0; ch < 8; ++ch)
        ChannelReverse[ch] = dialog.reverse[ch] != 0 ? 1 : 0;
    const bool keepScales = fixedCheck_ != 0 && previousMode == dialog.traceMode;
    const auto keptSelections = plot_.scaleSelection;
    if (!keepScales)
        settings.scaleSelections.fill(0);
    else
        settings.scaleSelections = keptSelections;
    plot_.drawOrder = {0, 1, 2, 3, 4, 5, 6, 7};
    PendingSampleCount = 0;
    RestoreDisplaySetup();
    SetWindowText(recordingFile_.Unname());
    auto* channelCombo = static_cast<CComboBox*>(GetDlgItem(IDC_TG_UNIT_SELECT));
    channelCombo->ResetContent();
    for (int i = 0; i < (plot_.channelCountMode == 1 ? 8 : 4); ++i)
        channelCombo->AddString(Format("Data%d", i + 1));
    channelCombo->SetCurSel(0);
    plot_.selectedChannel = 0;
    for (int id : {IDC_TG_START, IDC_TG_ZOOM_IN, IDC_TG_SAVE, IDC_TG_SAVE_AS, IDC_TG_PARAMETERS, IDC_TG_COPY,
                   IDC_TG_CURSOR_SHOW})
        EnableItem(id, TRUE);
    EnableItem(IDC_TG_ZOOM_OUT, FALSE);
    SaveTraceIni(ProgramFolderFile("trace.ini"), settings);
    Invalidate(TRUE);
}

// ---- Channel controls -----------------------------------------------------------------------

void CTraceGraphDlg::OnZeroToMiddle(UINT id) {
    const int ch = ChannelIndexOf(TraceOffsetZeroButtons, id);
    if (ch < 0)
        return;
    plot_.ZeroToMiddle(ch);
    Invalidate(TRUE);
}

void CTraceGraphDlg::OnCentreData(UINT id) {
    const int ch = ChannelIndexOf(TraceOffsetResetButtons, id);
    if (ch < 0)
        return;
    const size_t c = static_cast<size_t>(ch);
    const int count = std::min(display_[c].Size(), std::max(plot_.points, 0) + 1);
    if (count <= 0)
        return;
    int32_t lowest = 0;
    int32_t highest = 0;
    display_[c].MinMax(0, count, lowest, highest);
    plot_.CentreData(ch, lowest, highest);
    Invalidate(TRUE);
}

void CTraceGraphDlg::OnChannelLabel(UINT id) {
    const int ch = ChannelIndexOf(TraceChannelLabels, id);
    if (ch < 0)
        return;
    const bool was = labelHighlight_[static_cast<size_t>(ch)] != 0;
    labelHighlight_.fill(0);
    labelHighlight_[static_cast<size_t>(ch)] = was ? 0 : 1;
    for (int label : TraceChannelLabels)
        if (CWnd* item = GetDlgItem(label))
            item->Invalidate(TRUE);
    Invalidate(FALSE);
}

void CTraceGraphDlg::OnUnitSelect() {
    UpdateData(TRUE);
    plot_.BringChannelToFront(std::clamp(plot_.selectedChannel, 0, 7));
    if (plot_.cursorsShown)
        RefreshReadouts();
    Invalidate(FALSE);
}

// The wheel moves the highlighted channel by one step, as its offset buttons do.
BOOL CTraceGraphDlg::OnMouseWheel(UINT, short delta, CPoint) {
    for (size_t ch = 0; ch < 8; ++ch)
        if (labelHighlight_[ch] != 0)
            OnOffsetStep(
                static_cast<UINT>(delta > 0 ? TraceOffsetUpButtons[ch] : TraceOffsetDownButtons[ch]));
    return TRUE;
}

CRect CTraceGraphDlg::PictureRect() const {
    const CPoint origin = PlotOrigin();
    const int w = static_cast<int>(10.0f * Division());
    return CRect(origin.x - PlotBufferLeft, origin.y - PlotBufferTop, origin.x - PlotBufferLeft + w + 150,
                 origin.y - PlotBufferTop + w + 170);
}

void CTraceGraphDlg::InvalidatePlot() {
    const CRect picture = PictureRect();
    InvalidateRect(&picture, FALSE);
}

// ---- Autosave list --------------------------------------------------------------------------

void CTraceGraphDlg::OnUpdateAutosaveList() {
    UpdateData(TRUE);
    FillAutosaveList(*static_cast<CComboBox*>(GetDlgItem(IDC_TG_AUTOSAVE_FILES)), autosaveFolder_,
                     autosaveName_);
}

void CTraceGraphDlg::OnOpenAutosaveFile() {
    if (running_ != 0 && ConnectedFlag != 0)
        return;
    UpdateData(TRUE);
    const auto path = ChosenAutosavePath(*static_cast<CComboBox*>(GetDlgItem(IDC_TG_AUTOSAVE_FILES)),
                                         autosaveFolder_, autosaveName_);
    TraceRecording recording;
    if (!path || !ReadRecordingOrTell(*path, TraceFileForm::Trace, recording))
        return;
    recording.zoomed = 0; // the list opens the un-zoomed view
    TakeRecording(recording, *path);
}

void CTraceGraphDlg::OnBrowseAutosavePath() {
    if (ChooseAutosaveFolder(autosaveFolder_))
        UpdateData(FALSE);
}

// The time axis of the present time base and point count: the whole record, from its start.
void CTraceGraphDlg::ResetTimeAxis() {
    plot_.ResetTimeAxis();
    FillTimeBaseCombo();
}

void CTraceGraphDlg::OnRedisplay() {
    if (!CheckConnected())
        return;
    redisplay_ = !redisplay_;
    if (!redisplay_) {
        AutoScaleChannels();
        for (UINT_PTR id :
             {TraceStartTimer, TraceMonitorTimer, TraceSingleTimer, TraceCycleTimer, TraceCycleRepeatTimer})
            KillTimer(id);
        StopAcquisition();
    } else {
        for (DisplayRing& ring : display_)
            ring.Assign(TracePointCount);
        {
            CSingleLock lock(&view_.LinkLock(), true);
            ClearChannelDeques({0, 1, 2, 5, 6});
        }
        ClearTraceSampleBuffers(TracePointCount);
        PendingSampleCount = 0;
        Invalidate(FALSE);
        SetTimer(TraceStartTimer, 100);
        SaveTraceIni(ProgramFolderFile("trace.ini"), view_.Settings());
    }
    if (CWnd* button = GetDlgItem(IDC_TG_REDRAW))
        button->Invalidate(FALSE);
}

void CTraceGraphDlg::OnTraceParameters() {
    if (snapshot_.valid == 0) {
        ShowMessage("No trace parameters!");
        return;
    }
    std::optional<CatalogueContext> context;
    if (CKeloServoDoc* doc = view_.Document())
        context = doc->Context();
    CParaListDialog dialog(snapshot_, context, this);
    dialog.DoModal();
}

BOOL CTraceGraphDlg::ReadParameterSnapshot() {
    CRegisterServices& services = view_.Services();
    CBusyHold busy(services);
    const auto read = ReadSnapshotParameters(
        [&services](std::string_view code) { return services.ReadDriveParameter(code); });
    // A snapshot half from this trace and half from an earlier one would mislead: all or nothing.
    snapshot_ = read ? *read : ParameterSnapshot{};
    return read ? TRUE : FALSE;
}
