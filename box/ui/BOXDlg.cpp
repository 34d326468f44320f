// Before any Qt-based header: the store has a member named like a Qt keyword macro.
#include "trace/AcquisitionThreads.h"

#include "box/ui/BOXDlg.h"

#include "box/BoxReadouts.h"
#include "box/BoxSetupRules.h"
#include "box/ui/BOXSetupDlg.h"

#include "trace/GraphPlotRules.h"
#include "trace/GraphServices.h"
#include "trace/ThreadStop.h"
#include "trace/TraceCaptions.h"
#include "trace/TraceRecords.h"
#include "trace/TraceRegisters.h"
#include "trace/ui/GraphButtons.h"
#include "trace/ui/GraphFileDialogs.h"
#include "trace/ui/GraphPlotPaint.h"
#include "trace/ui/TraceReadDlg.h"

#include "catalogue/DocumentGlobals.h"
#include "catalogue/KeloServoDoc.h"
#include "framework/core/Format.h"
#include "framework/core/MessageSeam.h"
#include "framework/core/Paths.h"
#include "framework/core/ResourceModule.h"
#include "framework/ui/Button.h"
#include "framework/ui/Clipboard.h"
#include "framework/ui/ComboBox.h"
#include "framework/ui/DC.h"
#include "framework/ui/Gdi.h"
#include "framework/ui/ScrollBar.h"
#include "framework/ui/SliderCtrl.h"
#include "framework/ui/WindowImage.h"
#include "layout/BoxLayoutTable.h"
#include "link/LinkState.h"
#include "link/services/RegisterServices.h"
#include "link/services/TransferPass.h"
#include "resources/ids/box.h"
#include "resources/ids/mainframe.h"
#include "resources/ids/trace.h"
#include "shell/ShellGlobals.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <filesystem>

CBOXDlg* ActiveBoxViewer = nullptr;

namespace {

constexpr std::array<int, 4> ScaleLists = {IDC_BOX_SCALE1, IDC_BOX_SCALE2, IDC_BOX_SCALE3, IDC_BOX_SCALE4};
constexpr std::array<int, 4> Sliders = {IDC_BOX_SLIDER1, IDC_BOX_SLIDER2, IDC_BOX_SLIDER3, IDC_BOX_SLIDER4};
constexpr std::array<int, 4> UpButtons = {IDC_BOX_UP1, IDC_BOX_UP2, IDC_BOX_UP3, IDC_BOX_UP4};
constexpr std::array<int, 4> DownButtons = {IDC_BOX_DOWN1, IDC_BOX_DOWN2, IDC_BOX_DOWN3, IDC_BOX_DOWN4};
constexpr std::array<int, 4> CursorColorLists = {IDC_BOX_COLOR_TIME_A, IDC_BOX_COLOR_TIME_B,
                                                 IDC_BOX_COLOR_VALUE_A, IDC_BOX_COLOR_VALUE_B};
constexpr std::initializer_list<int> StepButtons = {
    IDC_BOX_UP1, IDC_BOX_DOWN1, IDC_BOX_UP2,   IDC_BOX_DOWN2,   IDC_BOX_UP3,   IDC_BOX_DOWN3,
    IDC_BOX_UP4, IDC_BOX_DOWN4, IDC_BOX_DI_UP, IDC_BOX_DI_DOWN, IDC_BOX_DO_UP, IDC_BOX_DO_DOWN};
constexpr uint16_t RecordReadRegister = 0x0C42;

bool IsBitSignal(int code) {
    return code >= 1 && code <= 20;
}

} // namespace

CBOXDlg::CBOXDlg(IBoxViewLink& view, CWnd* parent)
    : CDialog(IDD_BOX_FUNCTION, parent), view_(view), scrollHelper_(std::make_unique<DialogScrollHelper>()),
      parent_(parent) {
    faceBrush_.CreateSysColorBrush(COLOR_BTNFACE);
    ChannelSignal = {1, 2, 3, DebugModeFlag ? 4 : 5};
    for (size_t i = 0; i < 4; ++i)
        CursorColorValue[i] = ChannelColor(static_cast<unsigned>(CursorColorIndex[i]));
    // The autosave folder is the one shared with the trace window, else the program folder.
    AutoSavePath = AutosaveFolder.empty() ? ProgramFolder() : AutosaveFolder;
    ClearTraceSampleBuffers(0);
    scrollHelper_->AttachWnd(this);
}

CBOXDlg::~CBOXDlg() {
    // The close path has stopped the thread; one left by another way out never outlives its object
    // while running: it goes to the kept threads (it reads only its own copy of the settings).
    if (ReadThread) {
        if (SignalStopUntilEnded(*ReadThread, StopEvent))
            delete ReadThread;
        else
            KeepUntilEnded(std::unique_ptr<CWinThread>(ReadThread), StopEvent, nullptr);
        ReadThread = nullptr;
        StopEvent.ResetEvent();
    }
    if (ActiveBoxViewer == this)
        ActiveBoxViewer = nullptr;
    scrollHelper_->DetachWnd();
}

BOOL CBOXDlg::Create() {
    return CDialog::Create(IDD_BOX_FUNCTION, parent_);
}

const MessageMap* CBOXDlg::GetMessageMap() const {
    static const MessageMap map(
        CDialog::GetMessageMap(),
        {
            msg::Command(IDC_BOX_START, &CBOXDlg::OnStart),
            msg::Command(IDC_BOX_TRACE_SETTING, &CBOXDlg::OnTraceSettingButton),
            msg::Command(IDC_BOX_OPEN, &CBOXDlg::OpenTraceFile),
            msg::Command(IDC_BOX_SAVE_AS, &CBOXDlg::SaveTraceFileAs),
            msg::Command(IDC_BOX_SAVE, &CBOXDlg::OnSave),
            msg::Command(IDC_BOX_ONLINE_EDIT, &CBOXDlg::OnOnlineEdit),
            msg::Command(IDC_BOX_ZOOM_IN, &CBOXDlg::OnZoomIn),
            msg::Command(IDC_BOX_ZOOM_OUT, &CBOXDlg::OnZoomOut),
            msg::Command(IDC_BOX_COPY, &CBOXDlg::CopyPlotToClipboard),
            msg::Command(IDC_BOX_AUTOSAVE, &CBOXDlg::OnAutoSaveCheck),
            msg::Command(IDC_BOX_AUTOSAVE_REFRESH, &CBOXDlg::OnRefreshAutosaveList),
            msg::Command(IDC_BOX_AUTOSAVE_FOLDER, &CBOXDlg::OnChooseAutosaveFolder),
            msg::Control(CBN_SELCHANGE, IDC_BOX_AUTOSAVE_LIST, &CBOXDlg::OpenAutosaveFile),
            msg::Command(IDC_BOX_CAPTURE, &CBOXDlg::ToggleCapture),
            msg::Command(IDC_BOX_CURSOR, &CBOXDlg::OnCursorCheck),
            msg::Command(IDC_BOX_HORIZONTAL, &CBOXDlg::ToggleValueCursors),
            msg::Command(IDC_BOX_TIME_READOUTS, &CBOXDlg::RefreshTimeReadouts),
            msg::Command(IDC_BOX_VALUE_READOUTS, &CBOXDlg::RefreshValueReadouts),
            msg::CommandRange(IDC_BOX_UP1, IDC_BOX_DOWN2, &CBOXDlg::OnStepButton),
            msg::CommandRange(IDC_BOX_UP3, IDC_BOX_UP4, &CBOXDlg::OnStepButton),
            msg::CommandRange(IDC_BOX_DOWN4, IDC_BOX_DOWN4, &CBOXDlg::OnStepButton),
            msg::CommandRange(IDC_BOX_ZERO1, IDC_BOX_ZERO4, &CBOXDlg::OnZeroButton),
            msg::CommandRange(IDC_BOX_CHANNEL1, IDC_BOX_CHANNEL4, &CBOXDlg::OnDataRadio),
            msg::ControlRange(CBN_SELCHANGE, IDC_BOX_SCALE1, IDC_BOX_SCALE4, &CBOXDlg::OnScaleChange),
            msg::Control(CBN_SELCHANGE, IDC_BOX_TIME_BASE, &CBOXDlg::OnTimeBaseChange),
            msg::ControlRange(CBN_SELCHANGE, IDC_BOX_COLOR_TIME_A, IDC_BOX_COLOR_VALUE_B,
                              &CBOXDlg::OnCursorColorChange),
            msg::Control(CBN_SELCHANGE, IDC_BOX_CURSOR_SHAPE, &CBOXDlg::OnCursorShapeChange),
            msg::Paint(&CBOXDlg::OnPaint),
            msg::Close(&CBOXDlg::OnClose),
            msg::Timer(&CBOXDlg::OnTimer),
            msg::Size(&CBOXDlg::OnSize),
            msg::Sizing(&CBOXDlg::OnSizing),
            msg::CtlColor(&CBOXDlg::OnCtlColor),
            msg::HScroll(&CBOXDlg::OnHScroll),
            msg::VScroll(&CBOXDlg::OnVScroll),
            msg::Mouse(WM_LBUTTONDOWN, &CBOXDlg::OnLButtonDown),
            msg::Mouse(WM_MOUSEMOVE, &CBOXDlg::OnMouseMove),
            msg::Mouse(WM_LBUTTONUP, &CBOXDlg::OnLButtonUp),
            msg::Mouse(WM_LBUTTONDBLCLK, &CBOXDlg::OnLButtonDblClk),
            msg::Mouse(WM_RBUTTONDOWN, &CBOXDlg::OnRButtonDown),
            msg::Key(WM_KEYDOWN, &CBOXDlg::OnKey),
            msg::Key(WM_KEYUP, &CBOXDlg::OnKey),
            msg::Message(AcquisitionMessage, &CBOXDlg::OnAcquisitionMessage),
        });
    return &map;
}

void CBOXDlg::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
    for (size_t i = 0; i < 4; ++i)
        DDX_Control(dx, CursorColorLists[i], m_cursorColors[i]);
    DDX_Control(dx, IDC_BOX_START, tools_.start);
    DDX_Control(dx, IDC_BOX_TRACE_SETTING, tools_.setting);
    DDX_Control(dx, IDC_BOX_OPEN, tools_.open);
    DDX_Control(dx, IDC_BOX_SAVE_AS, tools_.saveAs);
    DDX_Control(dx, IDC_BOX_SAVE, tools_.save);
    DDX_Control(dx, IDC_BOX_ONLINE_EDIT, tools_.online);
    DDX_Radio(dx, IDC_BOX_CHANNEL1, SelectedChannel);
    DDX_Check(dx, IDC_BOX_FIXED, FixedScale);
    DDX_CBIndex(dx, IDC_BOX_CURSOR_CHOICE, CursorChoice);
    DDX_CBIndex(dx, IDC_BOX_CURSOR_SHAPE, CursorShape);
    DDX_Text(dx, IDC_BOX_AUTOSAVE_NAME, AutoSaveName);
    DDV_MaxChars(dx, AutoSaveName, 27);
    DDX_Check(dx, IDC_BOX_AUTOSAVE, AutoSave);
    DDX_Text(dx, IDC_BOX_AUTOSAVE_PATH, AutoSavePath);
}

// ---- Helpers ------------------------------------------------------------------------------------

CComboBox* CBOXDlg::Combo(int id) const {
    return static_cast<CComboBox*>(GetDlgItem(id));
}

CSliderCtrl* CBOXDlg::Slider(int channel) const {
    return static_cast<CSliderCtrl*>(GetDlgItem(Sliders[static_cast<size_t>(channel)]));
}

CScrollBar* CBOXDlg::TimeScrollBar() const {
    return static_cast<CScrollBar*>(GetDlgItem(IDC_BOX_TIME_SCROLL));
}

void CBOXDlg::Enable(std::initializer_list<int> ids, bool enable) {
    for (int id : ids)
        if (CWnd* control = GetDlgItem(id))
            control->EnableWindow(enable);
}

CRect CBOXDlg::ControlRect(int id) const {
    CRect rect;
    if (CWnd* control = GetDlgItem(id)) {
        control->GetWindowRect(&rect);
        ScreenToClient(&rect);
    }
    return rect;
}

CPoint CBOXDlg::GridPoint(CPoint client) const {
    const CPoint origin = PlotOrigin();
    return {client.x - origin.x - GridMarginLeft, client.y - origin.y - GridMarginTop};
}

void CBOXDlg::ShowIdleLook(bool running) {
    tools_.ShowRunning(running);
    Enable({IDC_BOX_OPEN, IDC_BOX_SAVE_AS, IDC_BOX_SAVE, IDC_BOX_TRACE_SETTING}, !running);
    if (!running && !CanSaveRecord())
        Enable({IDC_BOX_SAVE_AS, IDC_BOX_SAVE}, false);
}

void CBOXDlg::FillTimeBaseList(int select) {
    CComboBox* list = Combo(IDC_BOX_TIME_BASE);
    list->ResetContent();
    for (const std::string& item : TimeBaseItems())
        list->AddString(item);
    list->SetCurSel(select);
}

void CBOXDlg::FillScaleLists(bool withAuto) {
    listsHaveAuto_ = withAuto;
    for (size_t k = 0; k < 4; ++k) {
        CComboBox* list = Combo(ScaleLists[k]);
        list->ResetContent();
        for (size_t i = withAuto ? 0 : 1; i < BoxScaleItems().size(); ++i)
            list->AddString(BoxScaleItems()[i]);
        list->SetCurSel(ChannelScaleIndex[k]);
    }
}

void CBOXDlg::MoveSliders() {
    for (int k = 0; k < 4; ++k) {
        Slider(k)->SetRange(0, std::max(SliderMax(k), 0), TRUE);
        Slider(k)->SetPos(ChannelOffset[static_cast<size_t>(k)]);
    }
}

void CBOXDlg::SyncScrollBar() {
    TimeScrollBar()->SetScrollRange(0, TimeScrollMax, TRUE);
    TimeScrollBar()->SetScrollPos(TimeScrollPos, TRUE);
}

void CBOXDlg::EnableRecordControls() {
    Enable({IDC_BOX_SCALE1, IDC_BOX_SCALE2, IDC_BOX_SCALE3, IDC_BOX_SCALE4, IDC_BOX_TIME_BASE,
            IDC_BOX_OPTION1, IDC_BOX_SLIDER1, IDC_BOX_SLIDER2, IDC_BOX_SLIDER3, IDC_BOX_SLIDER4,
            IDC_BOX_TIME_SCROLL, IDC_BOX_CAPTURE, IDC_BOX_ZOOM_IN, IDC_BOX_COPY},
           true);
    Enable(StepButtons, true);
    Enable({IDC_BOX_ZOOM_OUT}, false);
}

void CBOXDlg::EnableOnlineEditButton(bool connected) {
    Enable({IDC_BOX_ONLINE_EDIT}, connected);
}

// ---- Set-up -------------------------------------------------------------------------------------

BOOL CBOXDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    if (!view_.Document())
        return FALSE;
    // The enable is read first, as the drive expects; its value is not kept.
    view_.Services().ReadDriveRegister(BoxEnableRegister);
    ReadRecorderRegisters();
    SpanLeftEdge = ControlRect(IDC_BOX_UP2).right;
    InitialSpanX = ControlRect(IDC_BOX_UP3).left - SpanLeftEdge;
    SpanTopEdge = ControlRect(IDC_BOX_SCALE1).top + 12 * ControlRect(IDC_BOX_UP1).Height() / 12;
    InitialSpanY = ControlRect(IDC_BOX_TIME_SCROLL).top - SpanTopEdge;
    ShowStepArrows(
        *this, std::array{IDC_BOX_UP1, IDC_BOX_UP2, IDC_BOX_UP3, IDC_BOX_UP4, IDC_BOX_DI_UP, IDC_BOX_DO_UP},
        std::array{IDC_BOX_DOWN1, IDC_BOX_DOWN2, IDC_BOX_DOWN3, IDC_BOX_DOWN4, IDC_BOX_DI_DOWN,
                   IDC_BOX_DO_DOWN});
    recordingFile_.SetInitialCaption(GetWindowText());
    for (size_t i = 0; i < 4; ++i)
        m_cursorColors[i].SetCurSel(CursorColorIndex[i]);
    FillScaleLists(true);
    GetDlgItem(IDC_BOX_TRIGGER_METHOD)->SetWindowText(" " + LoadResString(62023));
    for (int id : {IDC_BOX_TRIGGER_LEVEL, IDC_BOX_TRIGGER_EDGE, IDC_BOX_TRIGGER_POSITION})
        GetDlgItem(id)->SetWindowText("");
    FillTimeBaseList(TimeBaseIndex);
    SyncScrollBar();
    for (int k = 0; k < 4; ++k) {
        Slider(k)->SetRange(0, 2 * ChannelOffset[static_cast<size_t>(k)]);
        Slider(k)->SetPageSize(10);
        Slider(k)->SetPos(ChannelOffset[static_cast<size_t>(k)]);
    }
    Enable({IDC_BOX_ROW1,    IDC_BOX_ROW2,     IDC_BOX_TIME_BASE, IDC_BOX_OPTION1,     IDC_BOX_SLIDER1,
            IDC_BOX_SLIDER2, IDC_BOX_SLIDER3,  IDC_BOX_SLIDER4,   IDC_BOX_TIME_SCROLL, IDC_BOX_ROW_DIGITAL,
            IDC_BOX_SCALE1,  IDC_BOX_SCALE2,   IDC_BOX_SCALE3,    IDC_BOX_SCALE4,      IDC_BOX_CAPTURE,
            IDC_BOX_ZOOM_IN, IDC_BOX_ZOOM_OUT, IDC_BOX_COPY,      IDC_BOX_SAVE_AS,     IDC_BOX_SAVE},
           false);
    Enable(StepButtons, false);
    Enable({IDC_BOX_START}, IsRecordReady());
    if (!ConnectedFlag)
        Enable({IDC_BOX_ONLINE_EDIT}, false);
    Enable({IDC_BOX_TIME_READOUTS, IDC_BOX_VALUE_READOUTS, IDC_BOX_COLOR_TIME_A, IDC_BOX_COLOR_TIME_B},
           CursorsOn);
    Enable({IDC_BOX_COLOR_VALUE_A, IDC_BOX_COLOR_VALUE_B}, ValueCursorsOn);
    for (int id : {IDC_BOX_VALUE_A, IDC_BOX_TIME_B, IDC_BOX_VALUE_DIFF, IDC_BOX_TIME_A, IDC_BOX_VALUE_B,
                   IDC_BOX_TIME_DIFF})
        GetDlgItem(id)->SetWindowText("");
    GetDlgItem(IDC_BOX_VALUE_UNIT)->SetWindowText("[ ]");
    GetDlgItem(IDC_BOX_TIME_UNIT)->SetWindowText("[ ]");
    Enable({IDC_BOX_CURSOR_SHAPE, IDC_BOX_CURSOR_CHOICE}, false);
    if (view_.SettingsKept())
        RestoreKeptSettings();
    ApplyLayout(1);
    ApplyLayout(0);
    AutoSave = 0;
    {
        CClientDC screenDc(this);
        const CRect screen(0, 0, screenDc.GetDeviceCaps(HORZRES), screenDc.GetDeviceCaps(VERTRES));
        if (const auto placed = SmallScreenWindowRect(screen))
            MoveWindow(*placed);
    }
    SetTimer(RecordReadyTimer, 1000);
    return TRUE;
}

void CBOXDlg::ReadRecorderRegisters() {
    CRegisterServices& services = view_.Services();
    // A failed read leaves its member as it was: never the value of another register.
    for (auto [address, member] : {std::pair{BoxTriggerSourceRegister, &TriggerSource},
                                   {BoxPositionRegister, &TriggerPosition},
                                   {BoxLevelRegister, &TriggerLevel},
                                   {BoxEdgeRegister, &TriggerEdge},
                                   {BoxIntervalRegister, &SampleInterval}})
        if (const std::optional<int> value = services.ReadDriveRegister(address))
            *member = address == BoxLevelRegister ? static_cast<int16_t>(*value) : *value;
}

void CBOXDlg::ApplyLayout(int flag) {
    LayoutControls(*this, BoxLayoutTable, BoxLayoutRecords(), flag);
}

void CBOXDlg::RestoreKeptSettings() {
    const BoxKeptSettings& kept = view_.KeptSettings();
    DioFunctionWords = kept.dioWords;
    ClearTraceSampleBuffers(30001);
    for (int i = 1; i <= 4; ++i)
        SampleVectors[static_cast<size_t>(i)].assign(static_cast<size_t>(RecordPointCount), 0);
    PointCount = kept.pointCount;
    ChannelSignal = kept.channelSignals;
    TriggerSource = kept.triggerSource;
    TriggerLevel = kept.triggerLevel;
    TriggerEdge = kept.triggerEdge;
    TriggerPosition = kept.triggerPosition;
    RebuildChannelLegends();
    RefreshTriggerDescription();
    ChannelColorIndex = kept.colorIndices;
    ChannelScaleIndex = kept.scaleIndices;
    ApplyChannelColours();
    EnableRecordControls();
    Enable({IDC_BOX_START}, true);
    Zoomed = false;
    SampleInterval = kept.sampleInterval;
    SetRecordTiming(static_cast<float>(kept.samplePeriodRaw), kept.pointCount);
    FillTimeBaseList(0);
    SyncScrollBar();
    ChannelScaleSelection = ChannelScaleIndex;
    FillScaleLists(true);
    for (UINT id = IDC_BOX_SCALE1; id <= IDC_BOX_SCALE4; ++id)
        OnScaleChange(id);
    if (CursorsOn) {
        RefreshValueReadouts();
        RefreshTimeReadouts();
        ShowCursorUnits();
    }
    RecordShown = 1;
    RecordEmpty = false;
    if (recordingFile_.Named())
        SetWindowText(recordingFile_.Unname());
    Enable({IDC_BOX_SAVE_AS, IDC_BOX_SAVE, IDC_BOX_CAPTURE}, true);
    Invalidate(FALSE);
}

void CBOXDlg::OnTraceSetting() {
    if (!CheckConnected())
        return;
    if (Zoomed)
        OnZoomOut();
    CKeloServoDoc* doc = view_.Document();
    if (!doc)
        return;
    CRegisterServices& services = view_.Services();
    ReadRecorderRegisters();
    if (AcquisitionRunning)
        OnStart();
    if (CaptureActive)
        ToggleCapture();
    if (services.ReadDioContactBlock() == 0)
        return;
    const std::array<int, 24> words = doc->DioContactFunctions();
    const std::optional<int> enabled =
        ConnectedFlag ? services.ReadDriveRegister(BoxEnableRegister) : std::nullopt;
    RecordArmed = enabled && *enabled != 0 ? 1 : 0;

    CBOXSetupDlg dialog(services, this);
    dialog.ChannelSignal = ChannelSignal;
    dialog.ChannelColorIndex = ChannelColorIndex;
    for (size_t k = 0; k < 4; ++k)
        dialog.ReverseCheck[k] = ChannelReverse[k];
    dialog.RecorderEnable = RecordArmed;
    dialog.SamplePeriodRaw = static_cast<int>(SamplePeriodRaw);
    dialog.SampleInterval = SampleInterval;
    dialog.DioFunctionWords = words;
    dialog.TriggerSource = TriggerSource;
    dialog.TriggerLevel = TriggerLevel;
    dialog.TriggerEdge = TriggerEdge;
    dialog.TriggerPosition = TriggerPosition;
    if (dialog.DoModal() != IDOK)
        return;

    BoxKeptSettings& kept = view_.KeptSettings();
    view_.SetBoxCapture(0);
    view_.SetAlternateTraceRead(0);
    DioFunctionWords = dialog.DioFunctionWords;
    kept.dioWords = DioFunctionWords;
    ClearTraceSampleBuffers(30001);
    TriggerSource = dialog.TriggerSource;
    RecordPointCount = BoxRecordSamples;
    for (int i = 1; i <= 4; ++i)
        SampleVectors[static_cast<size_t>(i)].clear();
    for (int i = 1; i <= 8; ++i)
        SampleVectors[static_cast<size_t>(i)].resize(static_cast<size_t>(RecordPointCount), 0);
    for (size_t k = 0; k < 4; ++k)
        ChannelReverse[k] = dialog.ReverseCheck[k] != 0 ? 1 : 0;
    PointCount = dialog.PointsPerLine;
    ChannelSignal = dialog.ChannelSignal;
    TriggerLevel = dialog.TriggerLevel;
    TriggerEdge = dialog.TriggerEdge;
    TriggerPosition = dialog.TriggerPosition;
    kept.pointCount = PointCount;
    kept.channelSignals = ChannelSignal;
    kept.triggerSource = TriggerSource;
    kept.triggerLevel = TriggerLevel;
    kept.triggerEdge = TriggerEdge;
    kept.triggerPosition = TriggerPosition;
    RebuildChannelLegends();
    RefreshTriggerDescription();
    ChannelColorIndex = dialog.ChannelColorIndex;
    kept.colorIndices = ChannelColorIndex;
    view_.SetSettingsKept();
    ApplyChannelColours();
    EnableRecordControls();
    Enable({IDC_BOX_START}, IsRecordReady());
    SampleInterval = dialog.SampleInterval;
    SetRecordTiming(static_cast<float>(dialog.SamplePeriodRaw), dialog.PointsPerLine);
    kept.samplePeriodRaw = dialog.SamplePeriodRaw;
    kept.sampleInterval = SampleInterval;
    kept.pointCount = dialog.PointsPerLine;
    FillTimeBaseList(0);
    SyncScrollBar();
    UpdateData(TRUE);
    ChannelScaleSelection = {};
    ChannelScaleIndex = {};
    FillScaleLists(true);
    for (UINT id = IDC_BOX_SCALE1; id <= IDC_BOX_SCALE4; ++id)
        OnScaleChange(id);
    if (CursorsOn) {
        ClearSnap();
        RefreshTimeReadouts();
        RefreshValueReadouts();
    }
    RecordShown = 1;
    RecordEmpty = false;
    if (recordingFile_.Named())
        SetWindowText(recordingFile_.Unname());
    Enable({IDC_BOX_SAVE_AS, IDC_BOX_SAVE, IDC_BOX_CAPTURE}, true);
    Invalidate(FALSE);
}

// ---- Acquisition --------------------------------------------------------------------------------

bool CBOXDlg::IsRecordReady() {
    if (!ConnectedFlag || !view_.Document())
        return false;
    const std::optional<int> complete = view_.Services().ReadDriveRegister(BoxCompleteRegister);
    return complete && *complete != 0;
}

void CBOXDlg::EndRunAfterThread() {
    if (ConnectedFlag != 0) {
        OnStart(); // the stop path, as a press of STOP
        return;
    }
    // The read ended on a lost link, which the view tells the user once: no box of our own. What it
    // read is the record, for the files as on the plot.
    KeepRecordCopy();
    ShowIdleLook(false);
    AcquisitionRunning = 0;
}

void CBOXDlg::OnStart() {
    // The stop under way ends the read; a press meanwhile neither stops twice nor starts a read.
    if (pendingStop_.Pending())
        return;
    if (Zoomed)
        OnZoomOut();
    UpdateData(TRUE);
    if (!CheckConnected()) {
        ShowIdleLook(false);
        AcquisitionRunning = 0;
        return;
    }
    if (AcquisitionRunning && !BeginStop())
        return;
    // The busy flag is put back on every way out, a link lost on the way included.
    CBusyHold busy(view_.Services());
    AcquisitionRunning = AcquisitionRunning ? 0 : 1;
    ShowIdleLook(AcquisitionRunning != 0);
    if (AcquisitionRunning) {
        view_.SetAlternateTraceRead(0);
        view_.SetBoxCapture(0);
        for (int i = 1; i <= 4; ++i)
            SampleVectors[static_cast<size_t>(i)].assign(static_cast<size_t>(RecordPointCount), 0);
        ClearChannelDeques({0, 1, 2, 5, 6, 11, 12, 13, 14});
        FirstSampleValue = {};
        ClearTraceSampleBuffers(RecordPointCount);
        RecordEmpty = true;
        SetWindowText(recordingFile_.Unname());
        Invalidate(FALSE);
        if (!ConnectedFlag) {
            // The link went since the check: nothing runs, so the window shows so.
            AcquisitionRunning = 0;
            ShowIdleLook(false);
            return;
        }
        SetTimer(ThreadStartTimer, 100);
        return;
    }
    for (UINT_PTR id : {1120, 1130, 1140, 1150, 1160})
        KillTimer(id);
    StopBlackBoxThread(stopWaited_ ? 0 : AcquisitionStopBoundMs);
    KeepRecordCopy();
    // The record's own rules, whatever mode the trace window last ran in: "AUTO" channels are
    // scaled to the new record, and with "Auto Save" on it goes to the next numbered file.
    for (int k = 0; k < 4; ++k)
        ApplyScaleFromList(k);
    if (AutoSave)
        WriteAutoSaveFile();
    ClearChannelDeques({11, 12, 13, 14});
    ++AutosaveSetNumber;
    AutosaveFileNumber = 0;
    Enable({IDC_BOX_AUTOSAVE}, true);
    if (AutoSave)
        Enable({IDC_BOX_AUTOSAVE_NAME, IDC_BOX_AUTOSAVE_LIST, IDC_BOX_AUTOSAVE_REFRESH}, true);
    UpdateData(FALSE);
}

void CBOXDlg::ApplyScaleFromList(int channel) {
    const size_t k = static_cast<size_t>(channel);
    const int selection = Combo(ScaleLists[k])->GetCurSel();
    const int column = listsHaveAuto_ || selection < 0 ? selection : selection + 1;
    ReapplyChannelScale(channel, column, TraceSampleBuffers[k]);
    Slider(channel)->SetRange(0, std::max(SliderMax(channel), 0), TRUE);
    Slider(channel)->SetPos(ChannelOffset[k]);
    if (ValueCursorsOn && CursorsOn)
        RefreshValueReadouts();
    Invalidate(FALSE);
}

bool CBOXDlg::BeginStop() {
    // The thread leaves between two blocks; the window keeps its message loop meanwhile and
    // finishes the stop when the thread has gone (BoxStopTimer).
    if (stopWaited_ || !pendingStop_.Begin(ReadThread, StopEvent))
        return true;
    for (UINT_PTR id : {ThreadStartTimer, RecordCollectTimer})
        KillTimer(id);
    Enable({IDC_BOX_START}, false);
    SetTimer(BoxStopTimer, 10);
    return false;
}

void CBOXDlg::StopWaitTick() {
    if (!pendingStop_.Due(ReadThread, StopEvent))
        return;
    KillTimer(BoxStopTimer);
    // The stop path proper, the thread waited for already: one still running now is kept.
    stopWaited_ = true;
    OnStart();
    stopWaited_ = false;
    // As before the stop began; the ready poll judges it again on its next tick.
    Enable({IDC_BOX_START}, true);
}

bool CBOXDlg::StopBlackBoxThread(DWORD waitMs) {
    bool stopped = true;
    if (ReadThread) {
        ReadThread->PostThreadMessage(WM_QUIT);
        if (SignalStopUntilEnded(*ReadThread, StopEvent, waitMs)) {
            delete ReadThread;
        } else {
            // Never deleted while it runs: kept until it has ended.
            KeepUntilEnded(std::unique_ptr<CWinThread>(ReadThread), StopEvent, nullptr);
            stopped = false;
        }
        ReadThread = nullptr;
        StopEvent.ResetEvent();
    }
    view_.Services().WriteDriveRegister(TraceRunRegister, 0);
    for (UINT_PTR id : {1120, 1130, 1140})
        KillTimer(id);
    // A thread that still runs hands over under the link mutex.
    CSyncObject& mutex = view_.LinkMutex();
    const bool locked = !stopped && mutex.Lock(1000);
    ClearChannelDeques({0, 1, 2, 5, 6});
    if (locked)
        mutex.Unlock();
    if (!stopped)
        ShowMessage(LoadResString(IDS_TG_STOP_UNCONFIRMED), LoadResString(IDS_TG_STOP_UNCONFIRMED_CAPTION),
                    MB_OK | MB_ICONWARNING);
    return stopped;
}

void CBOXDlg::OnTimer(UINT_PTR id) {
    if (id == BoxStopTimer) {
        StopWaitTick();
    } else if (id == ThreadStartTimer) {
        if (ReadThread) {
            // The finished thread of a run whose stop found no link: removed, and this run goes on.
            if (ReadThread->ExitCode() == STILL_ACTIVE)
                return;
            delete ReadThread;
            ReadThread = nullptr;
            StopEvent.ResetEvent();
        }
        ReapEndedThreads();
        ActiveBoxViewer = this;
        BoxThreadSettings settings;
        settings.link = &view_.Services();
        settings.linkMutex = &view_.LinkMutex();
        settings.types = ChannelSignal;
        for (size_t k = 0; k < 4; ++k)
            settings.reverse[k] = ChannelReverse[k] != 0;
        settings.recordPointCount = RecordPointCount;
        ReadThread = AfxBeginThread<CBOXThread>([&](CBOXThread& thread) { thread.Settings = settings; });
        Invalidate(FALSE);
        KillTimer(ThreadStartTimer);
        SetTimer(RecordCollectTimer, 100);
    } else if (id == RecordCollectTimer) {
        if (!ReadThread || ReadThread->ExitCode() == STILL_ACTIVE)
            return;
        TakeRecord();
        KillTimer(RecordCollectTimer);
        if (AcquisitionRunning)
            EndRunAfterThread();
        if (CaptureActive)
            ToggleCapture();
        Invalidate(FALSE);
    } else if (id == RecordReadyTimer && !pendingStop_.Pending()) {
        // No ready poll while a thread reads blocks (this viewer's own included): it would wait for them.
        if (AcquisitionRunning || !view_.Services().LineBusy())
            Enable({IDC_BOX_START}, AcquisitionRunning || IsRecordReady());
    }
}

void CBOXDlg::TakeRecord() {
    if (TakeQueuedRecord())
        CaptureTimeText = CaptureClockText(std::time(nullptr));
}

void CBOXDlg::ToggleCapture() {
    if (!CheckConnected())
        return;
    CBusyHold busy(view_.Services());
    CaptureActive = CaptureActive ? 0 : 1;
    if (CaptureActive) {
        for (int i = 1; i <= 4; ++i)
            SampleVectors[static_cast<size_t>(i)].assign(static_cast<size_t>(RecordPointCount), 0);
        ClearChannelDeques({0, 1, 2, 5, 6});
        // Buffers 0..3 hold channels 1..4 (not 1..4 of the eight).
        ClearTraceSampleBuffers(RecordPointCount);
        view_.SetBoxCapture(1);
        view_.SetAlternateTraceRead(1);
        Invalidate(FALSE);
        SetTimer(ThreadStartTimer, 100);
    } else {
        OnZoomOut();
        for (int k = 0; k < 4; ++k)
            ApplyScaleFromList(k);
        for (UINT_PTR id : {1120, 1130, 1140, 1150, 1160})
            KillTimer(id);
        StopBlackBoxThread();
        view_.SetBoxCapture(0);
        view_.SetAlternateTraceRead(0);
    }
    if (CWnd* button = GetDlgItem(IDC_BOX_CAPTURE))
        button->Invalidate(TRUE);
}

LRESULT CBOXDlg::OnAcquisitionMessage(WPARAM code, LPARAM) {
    if (code == 2) {
        TracePollStopped = 1;
    } else if (code == 3) {
        SetFocus();
        ReadProgressWindow = new CTraceReadDlg(nullptr);
        ReadProgressWindow->Create(IDD_TRACE_READ, this);
        ReadProgressWindow->ShowWindow(SW_HIDE);
    } else if (code == 4) {
        CBusyHold busy(view_.Services());
        if (ConnectedFlag) {
            char request[8];
            char reply[8] = {};
            BuildReadWord(request, RecordReadRegister);
            for (int i = 0; i < BoxRecordSamples; ++i)
                SendCommand(request, 8, reply, 7);
        }
        if (ReadProgressWindow) {
            ReadProgressWindow->DestroyWindow();
            ReadProgressWindow = nullptr;
        }
        ApplyScaleFromList(0);
        ApplyScaleFromList(1);
        for (size_t k : {size_t{2}, size_t{3}})
            if (ChannelTop[k] < 1 || ChannelTop[k] > 9)
                ChannelTop[k] = k == 2 ? 8 : 9;
        if (recordingFile_.Named())
            SetWindowText(recordingFile_.Unname());
        Invalidate(FALSE);
    } else if (code == 5) {
        CBusyHold busy(view_.Services());
        if (!TracePollStopped)
            QueryTraceState(view_.Services());
    }
    return 0;
}

// ---- Close --------------------------------------------------------------------------------------

void CBOXDlg::OnClose() {
    CloseViewer();
}

void CBOXDlg::OnCancel() {
    CloseViewer();
}

void CBOXDlg::CloseViewer() {
    if (closed_)
        return;
    closed_ = true;
    KillTimer(RecordReadyTimer);
    if (pendingStop_.Pending()) {
        // The asked thread ends within one block: the close waits for it (bounded) as always.
        KillTimer(BoxStopTimer);
        pendingStop_.Cancel();
    }
    if (AcquisitionRunning) {
        StopBlackBoxThread();
        EndRunAfterThread();
    } else if (ReadThread) {
        StopBlackBoxThread();
    }
    for (UINT_PTR id : {1120, 1130, 1140, 1150, 1160})
        KillTimer(id);
    view_.KeptSettings().scaleIndices = ChannelScaleIndex;
    view_.BoxWindowClosed(this);
    DestroyWindow();
}

void CBOXDlg::OnOnlineEdit() {
    view_.OpenOnlineEditor(this);
}

// ---- Keys and sizing ----------------------------------------------------------------------------

BOOL CBOXDlg::PreTranslateMessage(MSG* msg) {
    if (msg->message != WM_KEYDOWN)
        return CDialog::PreTranslateMessage(msg);
    if (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE)
        return TRUE;
    if ((msg->wParam == VK_LEFT || msg->wParam == VK_RIGHT) && CursorsOn) {
        const bool cursorB = Combo(IDC_BOX_CURSOR_CHOICE)->GetCurSel() != 0;
        if (!StepTimeCursor(cursorB, msg->wParam == VK_RIGHT))
            return TRUE;
        if (CursorsSnapped && CursorSnapChannel >= 1 && CursorSnapChannel <= 4) {
            int y = 0, index = 0, px = 0;
            const int x = (cursorB ? CursorBX : CursorAX) + ScrollPixels();
            if (FindPlottedPoint(PlotPoints[static_cast<size_t>(CursorSnapChannel - 1)], x, ScrollPixels(),
                                 GridSize(), y, index, px)) {
                (cursorB ? CursorBY : CursorAY) = y;
                (cursorB ? CursorBIndex : CursorAIndex) = index;
            }
            int& cy = cursorB ? CursorBY : CursorAY;
            cy = std::clamp(cy, 1, static_cast<int>(10 * BoxPixelsPerDivision * PlotScale - 1));
        }
        RefreshTimeReadouts();
        RefreshValueReadouts();
        Invalidate(FALSE);
        return TRUE;
    }
    return CDialog::PreTranslateMessage(msg);
}

void CBOXDlg::OnKey(UINT key, UINT, UINT) {
    if (key != VK_LEFT || !RecordShown || !CursorsOn)
        return;
    int movedBy = 0;
    if (!KeyStepCursorA(movedBy))
        return;
    DragAnchorX += movedBy;
    GetDlgItem(IDC_BOX_TIME_A)->SetWindowText(BoxTimeReadoutText(CursorATime));
    GetDlgItem(IDC_BOX_TIME_B)->SetWindowText(BoxTimeReadoutText(CursorBTime));
    GetDlgItem(IDC_BOX_TIME_DIFF)->SetWindowText(BoxTimeReadoutText(CursorBTime - CursorATime));
    Invalidate(FALSE);
}

void CBOXDlg::OnSizing(UINT side, CRect* rect) {
    scrollHelper_->ScrollToOrigin(true, true);
    if (rect->Width() < 900) {
        if (side == WMSZ_LEFT || side == WMSZ_TOPLEFT || side == WMSZ_BOTTOMLEFT)
            rect->left = rect->right - 900;
        else
            rect->right = rect->left + 900;
    }
    if (rect->Height() < 609) {
        if (side == WMSZ_TOP || side == WMSZ_TOPLEFT || side == WMSZ_TOPRIGHT)
            rect->top = rect->bottom - 609;
        else
            rect->bottom = rect->top + 609;
    }
}

void CBOXDlg::OnSize(UINT type, int cx, int cy) {
    if (!GetDlgItem(IDC_BOX_UP3))
        return;
    ApplyLayout(0);
    const int dx = ControlRect(IDC_BOX_UP3).left - SpanLeftEdge;
    const int dy = ControlRect(IDC_BOX_TIME_SCROLL).top - SpanTopEdge;
    if (const std::optional<float> scale = PlotScaleForGaps(dx, InitialSpanX, 200, dy, InitialSpanY, 100)) {
        const float s = *scale;
        if (s > 0.0f && s != PlotScale) {
            PlotScale = s;
            if (CursorsOn) {
                UpdateCursorPixels();
            } else {
                CursorAX = static_cast<int>(45 * s);
                CursorBX = static_cast<int>(405 * s);
                CursorAY = static_cast<int>(405 * s);
                CursorBY = static_cast<int>(45 * s);
            }
        }
    }
    const CSize display = scrollHelper_->GetDisplaySize();
    if (display.cx == 0 && display.cy == 0 && cx > 0 && cy > 0)
        scrollHelper_->SetDisplaySize(864, 612);
    scrollHelper_->OnSize(type, cx, cy);
    ApplyLayout(0);
}

void CBOXDlg::ApplyChannelColours() {
    for (size_t k = 0; k < 4; ++k)
        ChannelColorValue[k] = ChannelColor(static_cast<unsigned>(ChannelColorIndex[k]));
    for (int id = IDC_BOX_LABEL1; id <= IDC_BOX_LABEL4; ++id)
        if (CWnd* caption = GetDlgItem(id))
            caption->Invalidate();
}

HBRUSH CBOXDlg::OnCtlColor(CDC* dc, CWnd* window, UINT type) {
    const HBRUSH brush = CDialog::OnCtlColor(dc, window, type);
    const int id = window ? window->GetDlgCtrlID() : 0;
    if (id >= IDC_BOX_LABEL1 && id <= IDC_BOX_LABEL4) {
        dc->SetBkMode(TRANSPARENT);
        dc->SetTextColor(ChannelColorValue[static_cast<size_t>(id - IDC_BOX_LABEL1)]);
        return &faceBrush_;
    }
    return brush;
}

// ---- Plot ---------------------------------------------------------------------------------------

BoxPlotLook CBOXDlg::PlotLook() const {
    BoxPlotLook look;
    look.channelColors = ChannelColorValue;
    look.cursorColors = CursorColorValue;
    look.legends = ChannelLegend;
    for (size_t k = 0; k < 4; ++k) {
        CComboBox* list = Combo(ScaleLists[k]);
        const int selected = list ? list->GetCurSel() : -1;
        look.scaleTexts[k] = selected >= 0 ? list->GetLBText(selected) : "";
    }
    look.traceMode = BoxRecordMode; // the record's own time texts
    look.statusValueD4 = const_cast<IBoxViewLink&>(view_).StatusValueD4();
    look.captureTime = CaptureTimeText;
    look.zoomDragActive = ZoomDragActive != 0;
    const CPoint origin = PlotOrigin();
    look.zoomStart = CPoint(ZoomDragStart.x - origin.x, ZoomDragStart.y - origin.y);
    look.zoomEnd = CPoint(ZoomDragEnd.x - origin.x, ZoomDragEnd.y - origin.y);
    return look;
}

void CBOXDlg::DrawPlot(CDC& buffer) {
    DrawBoxPlot(buffer, *this, PlotLook());
}

void CBOXDlg::OnPaint() {
    CPaintDC dc(this);
    if (!view_.Document())
        return;
    const CSize size = BoxPlotBufferSize(*this);
    CDC buffer;
    buffer.CreateCompatibleDC(&dc);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(&dc, size.cx, size.cy);
    CBitmap* old = buffer.SelectObject(&bitmap);
    const CPoint origin = PlotOrigin();
    ShowBufferedPlot(dc, buffer, CRect(origin, size), plotLabels_, [this](CDC& plot) { DrawPlot(plot); });
    buffer.SelectObject(old);
}

// The picture lands where the "Data1" label says (it moves with the layout and the scrolled
// contents): PlotLeft, PlotTop while the label sits at 65, 34.
CPoint CBOXDlg::PlotOrigin() const {
    const CRect label = ControlRect(IDC_BOX_LABEL1);
    return {label.left + PlotLeft - 65, label.top + PlotTop - 34};
}

void CBOXDlg::CopyPlotToClipboard() {
    // A plain copy of the client area from the plot's corner: the picture as the window shows it.
    const CSize size = BoxPlotBufferSize(*this);
    const CPoint origin = PlotOrigin();
    CBitmap client;
    if (!RenderClientArea(this, client, origin.x + size.cx, origin.y + size.cy))
        return;
    CDC source;
    source.CreateCompatibleDC(nullptr);
    CBitmap* oldSource = source.SelectObject(&client);
    CDC target;
    target.CreateCompatibleDC(nullptr);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(&target, size.cx, size.cy);
    CBitmap* oldTarget = target.SelectObject(&bitmap);
    target.BitBlt(0, 0, size.cx, size.cy, &source, origin.x, origin.y, SRCCOPY);
    target.SelectObject(oldTarget);
    source.SelectObject(oldSource);
    if (!OpenClipboard(this))
        return;
    EmptyClipboard();
    SetClipboardData(CF_BITMAP, &bitmap);
    CloseClipboard();
}

// ---- Scales, time base, zoom, scroll ------------------------------------------------------------

void CBOXDlg::OnScaleChange(UINT id) {
    const int k = static_cast<int>(id - IDC_BOX_SCALE1);
    const size_t c = static_cast<size_t>(k);
    CComboBox* list = Combo(static_cast<int>(id));
    bool changed = false;
    const int shown =
        ChangeChannelScale(k, list->GetCurSel(), listsHaveAuto_, TraceSampleBuffers[c], changed);
    if (shown != list->GetCurSel())
        list->SetCurSel(shown);
    if (!changed)
        return;
    Slider(k)->SetRange(0, std::max(SliderMax(k), 0), TRUE);
    Slider(k)->SetPos(ChannelOffset[c]);
    if (ValueCursorsOn && CursorsOn) {
        if (SelectedChannel == k)
            ClearSnap();
        RefreshValueReadouts();
    }
    Invalidate(FALSE);
}

void CBOXDlg::OnTimeBaseChange() {
    ChangeTimeBase(Combo(IDC_BOX_TIME_BASE)->GetCurSel());
    SyncScrollBar();
    if (CursorsOn) {
        if (ValueCursorsOn) {
            ClearSnap();
            RefreshValueReadouts();
        }
        if (TimeCursorsOn)
            RefreshTimeReadouts();
    }
    Invalidate(FALSE);
}

void CBOXDlg::OnStepButton(UINT id) {
    const auto up = std::find(UpButtons.begin(), UpButtons.end(), static_cast<int>(id));
    const auto down = std::find(DownButtons.begin(), DownButtons.end(), static_cast<int>(id));
    const bool isUp = up != UpButtons.end();
    const int k = static_cast<int>(isUp ? up - UpButtons.begin() : down - DownButtons.begin());
    if (k < 0 || k > 3)
        return;
    StepChannelOffset(k, isUp, Slider(k)->GetPos());
    Slider(k)->SetPos(ChannelOffset[static_cast<size_t>(k)]);
    if (CursorsOn && ValueCursorsOn) {
        if (SelectedChannel == k)
            ClearSnap();
        RefreshValueReadouts();
    }
    Invalidate(FALSE);
}

void CBOXDlg::OnZeroButton(UINT id) {
    const int k = static_cast<int>(id - IDC_BOX_ZERO1);
    CentreChannelZero(k);
    Slider(k)->SetPos(ChannelOffset[static_cast<size_t>(k)]);
    Invalidate(TRUE);
}

void CBOXDlg::OnZoomIn() {
    if (AcquisitionRunning)
        return;
    if (!ZoomDragActive && !CanZoomIn())
        return;
    const bool wasZoomed = Zoomed;
    ZoomIn(ZoomDragActive != 0, Combo(IDC_BOX_TIME_BASE)->GetCurSel());
    ZoomDragActive = 0;
    if (!wasZoomed && Zoomed) {
        Combo(IDC_BOX_TIME_BASE)->SetCurSel(-1);
        for (int id : ScaleLists)
            Combo(id)->SetCurSel(-1);
        Enable({IDC_BOX_TIME_BASE, IDC_BOX_SCALE1, IDC_BOX_SCALE2, IDC_BOX_SCALE3, IDC_BOX_SCALE4}, false);
    }
    if (!CanZoomIn())
        Enable({IDC_BOX_ZOOM_IN}, false);
    Enable({IDC_BOX_ZOOM_OUT}, true);
    SyncScrollBar();
    MoveSliders();
    if (CursorsOn) {
        ClearSnap();
        RefreshValueReadouts();
        RefreshTimeReadouts();
    }
    Invalidate(FALSE);
}

void CBOXDlg::OnZoomOut() {
    if (!ZoomOut())
        return;
    Combo(IDC_BOX_TIME_BASE)->SetCurSel(TimeBaseIndex);
    for (size_t k = 0; k < 4; ++k)
        Combo(ScaleLists[k])->SetCurSel(ChannelScaleIndex[k]);
    Enable(
        {IDC_BOX_TIME_BASE, IDC_BOX_SCALE1, IDC_BOX_SCALE2, IDC_BOX_SCALE3, IDC_BOX_SCALE4, IDC_BOX_ZOOM_IN},
        true);
    Enable({IDC_BOX_ZOOM_OUT}, false);
    MoveSliders();
    SyncScrollBar();
    if (CursorsOn) {
        ClearSnap();
        RefreshValueReadouts();
        RefreshTimeReadouts();
    }
    Invalidate(FALSE);
}

void CBOXDlg::OnHScroll(UINT code, UINT position, CScrollBar* bar) {
    if (!bar) {
        scrollHelper_->OnHScroll(code, position, bar);
        return;
    }
    if (bar->GetDlgCtrlID() != IDC_BOX_TIME_SCROLL)
        return;
    if (ScrollTime(static_cast<int>(code), position)) {
        TimeScrollBar()->SetScrollPos(TimeScrollPos, TRUE);
        Invalidate(FALSE);
    }
    if (CursorsOn) {
        if (ValueCursorsOn) {
            ClearSnap();
            RefreshValueReadouts();
        }
        if (TimeCursorsOn)
            RefreshTimeReadouts();
    }
}

void CBOXDlg::OnVScroll(UINT code, UINT position, CScrollBar* bar) {
    if (!bar) {
        scrollHelper_->OnVScroll(code, position, bar);
        return;
    }
    const int id = bar->GetDlgCtrlID();
    const int k = id == IDC_BOX_SLIDER1 ? 0 : id == IDC_BOX_SLIDER2 ? 1 : id == IDC_BOX_SLIDER3 ? 2 : 3;
    if (ScrollChannel(k, static_cast<int>(code), Slider(k)->GetPos())) {
        Slider(k)->SetPos(ChannelOffset[static_cast<size_t>(k)]);
        Invalidate(FALSE);
    }
    if (CursorsOn && ValueCursorsOn) {
        if (SelectedChannel == k)
            ClearSnap();
        RefreshValueReadouts();
    }
}

// ---- Cursors ------------------------------------------------------------------------------------

void CBOXDlg::RefreshTimeReadouts() {
    ComputeTimeReadouts();
    GetDlgItem(IDC_BOX_TIME_A)->SetWindowText(BoxTimeReadoutText(CursorATime));
    GetDlgItem(IDC_BOX_TIME_B)->SetWindowText(BoxTimeReadoutText(CursorBTime));
    GetDlgItem(IDC_BOX_TIME_DIFF)->SetWindowText(BoxTimeReadoutText(CursorBTime - CursorATime));
    Invalidate(FALSE);
}

void CBOXDlg::RefreshValueReadouts() {
    UpdateData(TRUE);
    const size_t c = SelectedChannel >= 0 && SelectedChannel <= 2 ? static_cast<size_t>(SelectedChannel) : 3;
    CursorAValue = ValueReading(CursorAY, CursorAIndex, TraceSampleBuffers[c]);
    CursorBValue = ValueReading(CursorBY, CursorBIndex, TraceSampleBuffers[c]);
    GetDlgItem(IDC_BOX_VALUE_A)->SetWindowText(ValueReadoutText(CursorAValue));
    GetDlgItem(IDC_BOX_VALUE_B)->SetWindowText(ValueReadoutText(CursorBValue));
    GetDlgItem(IDC_BOX_VALUE_DIFF)->SetWindowText(ValueReadoutText(CursorBValue - CursorAValue));
    Invalidate(FALSE);
}

void CBOXDlg::ShowCursorUnits() {
    GetDlgItem(IDC_BOX_TIME_UNIT)->SetWindowText("[ms]");
    const size_t c = static_cast<size_t>(std::clamp(SelectedChannel, 0, 3));
    GetDlgItem(IDC_BOX_VALUE_UNIT)->SetWindowText(CursorUnitText(ChannelSignal[c]));
}

void CBOXDlg::RebuildChannelLegends() {
    const int model = view_.Document() ? view_.Document()->RuleMotorCode() : ModelCode;
    for (size_t k = 0; k < 4; ++k)
        ChannelLegend[k] = BoxChannelLegend(ChannelSignal[k], DioFunctionWords, model);
}

void CBOXDlg::RefreshTriggerDescription() {
    const int model = view_.Document() ? view_.Document()->RuleMotorCode() : ModelCode;
    const BoxTriggerDescription d = DescribeBoxTrigger(TriggerSource, TriggerLevel, TriggerEdge,
                                                       TriggerPosition, DioFunctionWords, model);
    GetDlgItem(IDC_BOX_TRIGGER_METHOD)->SetWindowText(d.method);
    GetDlgItem(IDC_BOX_TRIGGER_LEVEL)->SetWindowText(d.level);
    GetDlgItem(IDC_BOX_TRIGGER_EDGE)->SetWindowText(d.edge);
    GetDlgItem(IDC_BOX_TRIGGER_POSITION)->SetWindowText(d.position);
}

void CBOXDlg::OnCursorCheck() {
    TimeCursorsOn = TimeCursorsOn ? 0 : 1;
    CursorsOn = TimeCursorsOn || ValueCursorsOn;
    Enable({IDC_BOX_CURSOR_SHAPE, IDC_BOX_CURSOR_CHOICE}, CursorsOn);
    Enable({IDC_BOX_COLOR_TIME_A, IDC_BOX_COLOR_TIME_B}, TimeCursorsOn);
    if (TimeCursorsOn) {
        RefreshTimeReadouts();
    } else {
        for (int id : {IDC_BOX_TIME_A, IDC_BOX_TIME_B, IDC_BOX_TIME_DIFF})
            GetDlgItem(id)->SetWindowText("");
        GetDlgItem(IDC_BOX_TIME_UNIT)->SetWindowText("[ ]");
    }
    ToggleValueCursors();
}

void CBOXDlg::ToggleValueCursors() {
    ValueCursorsOn = ValueCursorsOn ? 0 : 1;
    CursorsOn = TimeCursorsOn || ValueCursorsOn;
    Enable({IDC_BOX_CURSOR_SHAPE, IDC_BOX_CURSOR_CHOICE}, CursorsOn);
    Enable({IDC_BOX_COLOR_VALUE_A, IDC_BOX_COLOR_VALUE_B}, ValueCursorsOn);
    if (ValueCursorsOn)
        RefreshValueReadouts();
    if (CursorsOn)
        ShowCursorUnits();
    if (!ValueCursorsOn) {
        for (int id : {IDC_BOX_VALUE_A, IDC_BOX_VALUE_B, IDC_BOX_VALUE_DIFF})
            GetDlgItem(id)->SetWindowText("");
        GetDlgItem(IDC_BOX_VALUE_UNIT)->SetWindowText("[ ]");
    }
    Invalidate(FALSE);
}

void CBOXDlg::OnCursorShapeChange() {
    UpdateData(TRUE);
    ClearSnap();
    RefreshValueReadouts();
    Invalidate(TRUE);
}

void CBOXDlg::OnCursorColorChange(UINT id) {
    const size_t i = id - IDC_BOX_COLOR_TIME_A;
    CursorColorIndex[i] = m_cursorColors[i].GetCurSel();
    CursorColorValue[i] = ChannelColor(static_cast<unsigned>(CursorColorIndex[i]));
    Invalidate(TRUE);
}

void CBOXDlg::OnDataRadio(UINT) {
    const int previous = SelectedChannel;
    UpdateData(TRUE);
    MoveChannelToFront(SelectedChannel);
    if (CursorsOn && ValueCursorsOn) {
        if (SelectedChannel != previous)
            ClearSnap();
        RefreshValueReadouts();
        ShowCursorUnits();
    }
    Invalidate(TRUE);
}

void CBOXDlg::OnLButtonDown(UINT, CPoint point) {
    DragAnchorX = point.x;
    DragAnchorY = point.y;
    const float S = GridSize();
    const CPoint mouse = GridPoint(CPoint(MouseX, MouseY));
    const bool inside =
        mouse.x >= 0 && static_cast<float>(mouse.x) <= S && mouse.y >= 0 && static_cast<float>(mouse.y) <= S;
    if (CursorsOn && inside) {
        const CPoint g = GridPoint(point);
        const auto picked = PickCursors(g.x, g.y);
        DragTimeA = picked[0];
        DragTimeB = picked[1];
        DragValueA = picked[2];
        DragValueB = picked[3];
        if (DragTimeA || DragTimeB || DragValueA || DragValueB)
            ClearSnap();
    }
    const bool dragging = DragTimeA || DragTimeB || DragValueA || DragValueB;
    const bool strictlyInside =
        mouse.x > 0 && static_cast<float>(mouse.x) < S && mouse.y > 0 && static_cast<float>(mouse.y) < S;
    if (!dragging && RecordShown && !AcquisitionRunning && strictlyInside && CanZoomIn()) {
        ZoomDragStart = ZoomDragEnd = point;
        ZoomDragActive = 1;
    }
}

void CBOXDlg::OnMouseMove(UINT flags, CPoint point) {
    MouseX = point.x;
    MouseY = point.y;
    if (flags == MK_LBUTTON) {
        const float S = GridSize();
        const CPoint g = GridPoint(point);
        if (ZoomDragActive) {
            if (g.x > 0 && static_cast<float>(g.x) < S && g.y > 0 && static_cast<float>(g.y) < S) {
                ZoomDragEnd = point;
            } else if (g.x < 10 - GridMarginLeft || static_cast<float>(g.x) > S + 17 ||
                       g.y < -GridMarginTop || static_cast<float>(g.y) > S + 70) {
                ZoomDragActive = 0;
                ZoomLeft = ZoomTop = 0;
                ZoomDragStart = ZoomDragEnd = CPoint(0, 0);
            }
        }
        if (CursorsOn && ValueCursorsOn && (DragValueA || DragValueB)) {
            int& y = DragValueA ? CursorAY : CursorBY;
            const int ny = y + point.y - DragAnchorY;
            if (ny >= 0 && static_cast<float>(ny) <= S) {
                DragAnchorY = point.y;
                y = ny;
                RefreshValueReadouts();
            }
        }
        if (CursorsOn && TimeCursorsOn && (DragTimeA || DragTimeB)) {
            int& x = DragTimeA ? CursorAX : CursorBX;
            float& time = DragTimeA ? CursorATime : CursorBTime;
            const int nx = x + MouseX - DragAnchorX;
            if (nx >= 0 && static_cast<float>(nx) <= S) {
                time = TimeAt(nx);
                const int newX = XOfTime(time);
                DragAnchorX += newX - x;
                x = newX;
                GetDlgItem(IDC_BOX_TIME_A)->SetWindowText(BoxTimeReadoutText(CursorATime));
                GetDlgItem(IDC_BOX_TIME_B)->SetWindowText(BoxTimeReadoutText(CursorBTime));
                GetDlgItem(IDC_BOX_TIME_DIFF)->SetWindowText(BoxTimeReadoutText(CursorBTime - CursorATime));
            }
        }
    }
    Invalidate(FALSE);
}

void CBOXDlg::OnLButtonUp(UINT, CPoint) {
    if (ZoomDragActive) {
        const CPoint a = ZoomDragStart, b = ZoomDragEnd;
        if (a == b) {
            ZoomLeft = ZoomTop = 0;
            ZoomDragActive = 0;
        } else if (const std::optional<ZoomBox> box = ZoomBoxOf(GridPoint(a), GridPoint(b), DivisionPx())) {
            ZoomLeft = box->left;
            ZoomTop = box->top;
            ZoomWidth = box->width;
            ZoomHeight = box->height;
            OnZoomIn();
        } else {
            ZoomLeft = ZoomTop = 0;
            ZoomDragActive = 0;
        }
        Invalidate(FALSE);
    }
    DragTimeA = DragTimeB = DragValueA = DragValueB = 0;
}

void CBOXDlg::OnLButtonDblClk(UINT, CPoint point) {
    const CPoint g = GridPoint(point);
    if (!SnapCursors(g.x, g.y))
        return;
    UpdateData(FALSE);
    ShowCursorUnits();
    RefreshTimeReadouts();
    RefreshValueReadouts();
    Invalidate(FALSE);
}

void CBOXDlg::OnRButtonDown(UINT, CPoint) {
    if (Zoomed)
        OnZoomOut();
}

// ---- Files --------------------------------------------------------------------------------------

TraceRecording CBOXDlg::RecordingOfView(bool preZoom) const {
    TraceRecording r;
    r.traceMode = BoxRecordMode;
    for (size_t k = 0; k < 4; ++k) {
        r.sources[k] = ChannelSignal[k];
        r.colorIndices[k] = ChannelColorIndex[k];
        r.scaleSelections[k] = ChannelScaleSelection[k];
        const bool saved = preZoom && Zoomed;
        r.baseScales[k] = saved ? SavedChannelScale[k] : ChannelScale[k];
        r.baseOffsets[k] = saved ? SavedChannelTop[k] : ChannelTop[k];
        r.sliderPositions[k] = ChannelOffset[k];
        const size_t n = static_cast<size_t>(std::max(PointCount, 0)) + 1;
        const auto& buffer = TraceSampleBuffers[k];
        r.samples[k].assign(buffer.begin(),
                            buffer.begin() + static_cast<std::ptrdiff_t>(std::min(n, buffer.size())));
        r.samples[k].resize(n, 0);
    }
    r.timeBase = SamplePeriodRaw;
    r.interval = SampleInterval;
    r.pointCount = PointCount;
    r.timeDivisionSelection = TimeBaseIndex;
    r.baseScroll = preZoom && Zoomed ? SavedTimeScrollPos : TimeScrollPos;
    r.frontChannel = ChannelDrawOrder[3];
    for (size_t i = 0; i < 24; ++i)
        r.dioCodes[i] = DioFunctionWords[i];
    r.triggerSource = TriggerSource;
    r.triggerLevel = TriggerLevel;
    r.seriesCode = SeriesCode;
    r.triggerEdge = TriggerEdge;
    r.triggerPosition = TriggerPosition;
    r.cursors = {CursorATime, CursorBTime, CursorAValue, CursorBValue};
    r.snapshotValid = ExtraFlag;
    r.snapshot1 = ExtraWordsA;
    r.snapshot2 = ExtraWordsB;
    return r;
}

bool CBOXDlg::SaveTraceFile(const std::string& path) {
    const TraceRecording recording = RecordingOfView(true);
    const int model = view_.Document() ? view_.Document()->RuleMotorCode() : ModelCode;
    std::vector<std::string> titles;
    for (int c = 0; c < 4; ++c) {
        const int code = ChannelSignal[static_cast<size_t>(c)];
        titles.push_back(CsvColumnTitle(c + 1, BoxChannelSignalName(code, DioFunctionWords),
                                        BoxChannelUnitName(code, model)));
    }
    // Sample i at its own time from the record's start, as the axis shows it (not the scroll origin).
    const TraceCsvTable csv =
        RecordingCsvTable(recording, std::move(titles), 0, BoxTimeDivisor, BoxFileVersion);
    return WriteRecordingOrTell(path, recording, TraceFileForm::Box, csv);
}

void CBOXDlg::SaveTraceFileAs() {
    if (!CanSaveRecord())
        return; // the button is off: a record START emptied holds nothing to save
    SaveRecordingAs(*this, recordingFile_, [this](const std::string& path) { return SaveTraceFile(path); });
}

void CBOXDlg::OnSave() {
    if (!CanSaveRecord())
        return;
    SaveRecording(*this, recordingFile_, [this](const std::string& path) { return SaveTraceFile(path); });
}

std::string CBOXDlg::AutoSaveFilePath() const {
    return NumberedRecordingPath(AutoSavePath, AutoSaveName, AutosaveSetNumber, AutosaveFileNumber);
}

void CBOXDlg::WriteAutoSaveFile() {
    // The record shown (just copied from the display): the box thread fills no mirror queues.
    const TraceRecording recording = RecordingOfView(false);
    WriteRecordingOrTell(AutoSaveFilePath(), recording, TraceFileForm::BoxStopTime, {});
}

// The list looks where the files are written (the autosave folder), so every listed name opens.
void CBOXDlg::OnAutoSaveCheck() {
    UpdateData(TRUE);
    if ((AcquisitionRunning && ConnectedFlag) || !AutoSave)
        return;
    Enable({IDC_BOX_AUTOSAVE_NAME, IDC_BOX_AUTOSAVE_LIST, IDC_BOX_AUTOSAVE_REFRESH}, true);
    FillAutosaveList(*Combo(IDC_BOX_AUTOSAVE_LIST), AutoSavePath, AutoSaveName);
    UpdateData(FALSE);
}

void CBOXDlg::OnRefreshAutosaveList() {
    UpdateData(TRUE);
    FillAutosaveList(*Combo(IDC_BOX_AUTOSAVE_LIST), AutoSavePath, AutoSaveName);
}

void CBOXDlg::OpenAutosaveFile() {
    if (AcquisitionRunning && ConnectedFlag)
        return;
    UpdateData(TRUE);
    const auto path = ChosenAutosavePath(*Combo(IDC_BOX_AUTOSAVE_LIST), AutoSavePath, AutoSaveName);
    if (!path)
        return;
    // A file gone since the list was filled is named as gone rather than as an invalid file.
    std::error_code error;
    if (!std::filesystem::is_regular_file(*path, error)) {
        ShowMessage(Format(LoadResString(IDS_BOX_AUTOSAVE_GONE).c_str(), path->c_str()), "",
                    MB_OK | MB_ICONSTOP);
        return;
    }
    LoadTraceFile(*path, false);
}

void CBOXDlg::OnChooseAutosaveFolder() {
    UpdateData(TRUE);
    if (ChooseAutosaveFolder(AutoSavePath))
        UpdateData(FALSE);
}

void CBOXDlg::OpenTraceFile() {
    if (const auto path = AskRecordingToOpen(this))
        LoadTraceFile(*path, true);
}

bool CBOXDlg::LoadTraceFile(const std::string& path, bool openOnly) {
    TraceRecording r = RecordingOfView(false);
    if (!ReadRecordingOrTell(path, TraceFileForm::Box, r))
        return false; // the record shown stays
    // The file's mode field is left alone: the record's times follow its own sample period, and
    // the trace window's mode is not the viewer's to change.
    const bool wasShown = RecordShown != 0;
    for (size_t k = 0; k < 4; ++k) {
        ChannelSignal[k] = r.sources[k]; // the reader has translated the codes of old files
        ChannelColorIndex[k] = r.colorIndices[k];
    }
    SamplePeriodRaw = r.timeBase;
    SampleInterval = r.interval;
    PointCount = r.pointCount;
    TriggerSource = r.triggerSource;
    TriggerLevel = r.triggerLevel;
    TriggerEdge = r.triggerEdge;
    TriggerPosition = r.triggerPosition;
    for (size_t i = 0; i < 22; ++i)
        DioFunctionWords[i] = r.dioCodes[i];
    CursorATime = r.cursors[0];
    CursorBTime = r.cursors[1];
    CursorAValue = r.cursors[2];
    CursorBValue = r.cursors[3];
    ExtraFlag = r.snapshotValid;
    ExtraWordsA = r.snapshot1;
    ExtraWordsB = r.snapshot2;
    ClearTraceSampleBuffers(30001);
    for (size_t k = 0; k < 4; ++k) {
        auto& display = SampleVectors[k + 1];
        display.clear();
        const auto& list = r.samples[k];
        const size_t count = std::min(list.size(), TraceSampleBuffers[k].size());
        for (size_t i = 0; i < count; ++i) {
            TraceSampleBuffers[k][i] = list[i];
            display.push_back(list[i]);
        }
    }
    if (!openOnly && (TriggerSource < 0 || TriggerSource > 16))
        TriggerSource = TriggerLevel = 0;
    RefreshTriggerDescription();
    std::array<int, 4> fileTops = r.baseOffsets;
    if (openOnly) {
        ChannelScaleSelection = {r.scaleSelections[0], r.scaleSelections[1], r.scaleSelections[2],
                                 r.scaleSelections[3]};
        ChannelScale = r.baseScales;
        TimeBaseIndex = r.timeDivisionSelection;
        ChannelScaleIndex = ChannelScaleSelection;
        for (size_t k = 0; k < 4; ++k) {
            if (!IsBitSignal(ChannelSignal[k]))
                continue;
            fileTops[k] /= std::max(ChannelScale[k], 1);
            ChannelScale[k] = 1;
            ChannelScaleIndex[k] = 1; // "1" of a list that begins with "AUTO"
        }
    }
    SetWindowText(recordingFile_.Name(path));
    RebuildChannelLegends();
    ApplyChannelColours();
    EnableRecordControls();
    if (openOnly) {
        TimeStep = SamplePeriodRaw / 1000.0f;
        RecordSpan = static_cast<float>(PointCount) * SamplePeriodRaw / 1000.0f;
        TimePerDivision = RecordSpan / 10.0f;
    }
    TimeScrollMax = 0;
    TimeOrigin = 0.0f;
    FillTimeBaseList(TimeBaseIndex);
    if (openOnly) {
        const int scroll = r.baseScroll;
        TimeScrollPos = 0;
        ChangeTimeBase(TimeBaseIndex);
        TimeScrollPos = std::clamp(scroll, 0, TimeScrollMax);
        TimeOrigin = static_cast<float>(TimeScrollPos) * TimePerDivision;
        SyncScrollBar();
    }
    if (wasShown && listsHaveAuto_) {
        for (size_t k = 0; k < 4; ++k)
            Combo(ScaleLists[k])->SetCurSel(ChannelScaleIndex[k]);
    } else {
        FillScaleLists(true);
    }
    if (openOnly) {
        for (size_t k = 0; k < 4; ++k) {
            const int n = DivisionCount;
            ChannelTop[k] = std::max(fileTops[k], ChannelScale[k] * n - ChannelRange[k]);
            ChannelOffset[k] = SliderOfTop(static_cast<int>(k)); // wide: a file's top may be any int
        }
        MoveSliders();
    }
    MoveChannelToFront(r.frontChannel);
    SelectedChannel = r.frontChannel;
    UpdateCursorPixels();
    UpdateData(FALSE);
    if (CursorsOn) {
        ClearSnap();
        RefreshValueReadouts();
        RefreshTimeReadouts();
        ShowCursorUnits();
    }
    RecordShown = 1;
    RecordEmpty = false;
    ZoomDragActive = 0;
    Zoomed = false;
    Enable({IDC_BOX_COPY, IDC_BOX_SAVE_AS, IDC_BOX_SAVE}, true);
    Invalidate(FALSE);
    return true;
}
