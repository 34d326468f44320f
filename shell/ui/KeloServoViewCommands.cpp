// The view's commands that open feature windows, their enabling, the messages the tool windows send
// the view, and the printing of the parameter tables.
#include "shell/ui/KeloServoView.h"

#include "catalogue/DocumentGlobals.h"
#include "framework/core/MessageSeam.h"
#include "framework/core/ResourceModule.h"
#include "framework/ui/CmdUI.h"
#include "framework/ui/DC.h"
#include "framework/ui/Print.h"
#include "link/LinkState.h"
#include "link/services/TransferPass.h"
#include "online/ui/OnLineParaEditDlg.h"
#include "paramedit/ParaCustomDlg.h"
#include "paramedit/ParaEditDlg.h"
#include "paramedit/ParaEditState.h"
#include "resources/ids/mainframe.h"
#include "resources/ids/paradialogs.h"
#include "resources/ids/paraedit.h"
#include "resources/ids/shell.h"
#include "resources/ids/tuningwindows.h"
#include "shell/ShellGlobals.h"
#include "shell/monitor/DebugDlg.h"
#include "shell/monitor/EditRAMDlg.h"
#include "shell/monitor/MonAnDlg.h"
#include "shell/monitor/MonDnDlg.h"
#include "shell/monitor/MonitorLifeDialog.h"
#include "shell/monitor/StatusbarSetDlg.h"
#include "shell/ui/FeatureWindow.h"
#include "shell/ui/KeloServoApp.h"
#include "shell/ui/KeloServoDocument.h"
#include "shell/ui/MainFrame.h"
#include "shell/ui/ShellLinkState.h"
#include "tools/ui/ProgramJogDlg.h"
#include "tuning/ui/AutoOffsetDialog.h"
#include "tuning/ui/JOGRigidityDlg.h"
#include "tuning/ui/JogAutotuningDlg.h"
#include "tuning/ui/JogDlg.h"
#include "tuning/ui/LowfreDlg.h"
#include "tuning/ui/NotchDlg.h"
#include "tuning/ui/Un45JogDlg.h"

#include <chrono>
#include <cstdio>
#include <thread>

namespace {

constexpr int RegJogSpeed = 0x0201;
constexpr int RegJogMode = 0x1801;
constexpr int RegJogServo = 0x1803;
constexpr int RegServoStatus = 0x1703;
constexpr int RegAlarmClear = 0x1713;
constexpr int RegStepValue = 0x0625;
constexpr int AlarmClearValue = 3;
// The jog speed travels as parameter 1 of group '2' (register 0x0201).
constexpr char JogGroup = '2';
constexpr int JogNumber = 1;
const char* const ServoOnRefusal = "System Servo ON!\nPlease Servo Off again!";

std::string Text(int id) {
    return LoadResString(id);
}

ShellSettings* AppSettings() {
    CKeloServoApp* app = KeloServoApp();
    return app ? &app->Settings : nullptr;
}

} // namespace

// ---- The editor's hold on the view --------------------------------------------------------------

CKeloServoDoc* CKeloServoView::EditorLink::Document() {
    return view_.GetDoc();
}

bool CKeloServoView::EditorLink::SaveDocument() {
    CKeloServoDocument* doc = view_.GetKeloDocument();
    return doc && doc->DoFileSave();
}

void CKeloServoView::EditorLink::EditorClosed() {
    view_.EditorWindow = nullptr;
    view_.ToolWindowOpenFlags[ToolEditor] = false;
    // The settings file keeps what the closing editor left.
    if (ShellSettings* settings = AppSettings()) {
        std::array<int, DisplayValueCount> values{};
        std::copy(settings->DisplaySettings.begin(), settings->DisplaySettings.end(), values.begin());
        DisplaySetToValues(ParaEditKept.displaySet, ParaEditKept.currentTab, values);
        std::copy(values.begin(), values.end(), settings->DisplaySettings.begin());
        const int count = view_.DefinedParams.Count();
        settings->DefiniteListSize = count;
        for (int i = 0; i < DefiniteListCapacity; ++i) {
            settings->DefiniteGroup[i] = i < count ? view_.DefinedParams.group[i] : 0;
            settings->DefiniteNumber[i] = i < count ? view_.DefinedParams.number[i] : 0;
        }
    }
}

int CKeloServoView::EditorLink::MotorMaxSpeed() const {
    return ::MotorMaxSpeed;
}

void CKeloServoView::EditorLink::SetEncoderPulsesPerTurn(int pulses) {
    EncoderPulsesPerTurn = pulses;
}

DefinedList& CKeloServoView::EditorLink::DefinedParameters() {
    return view_.DefinedParams;
}

// ---- Enabling -----------------------------------------------------------------------------------

ViewCommandState CKeloServoView::CommandState() const {
    ViewCommandState state;
    state.ToolWindowOpenFlags = ToolWindowOpenFlags;
    state.LinkOpenIndicator = LinkOpenIndicator != 0;
    state.Connected = ConnectedFlag != 0;
    state.DebugMode = DebugModeFlag != 0;
    state.SeriesCode = SeriesCode;
    if (const CKeloServoDoc* doc = GetDoc())
        state.OffsetItemInSeries = OffsetItemInSeries(doc->Context());
    return state;
}

void CKeloServoView::OnUpdateViewCommand(CCmdUI* ui) {
    const UINT id = ui->m_nID;
    // A command that nothing on the route carries out (its window is not part of the program) stays
    // off whatever its rule says.
    CMainFrame* frame = KeloServoApp() ? KeloServoApp()->MainFrame() : nullptr;
    CCmdTarget* route = frame ? static_cast<CCmdTarget*>(frame) : static_cast<CCmdTarget*>(this);
    const bool handled = route->OnCmdMsg(id, WM_COMMAND, CN_COMMAND, nullptr, nullptr, true);
    const std::optional<bool> rule = ViewCommandEnabled(static_cast<int>(id), CommandState());
    ui->Enable(handled && rule.value_or(true));
}

BOOL CKeloServoView::OnSetCursor(CWnd*, UINT, UINT) {
    return TRUE;
}

// ---- Feature windows ----------------------------------------------------------------------------

bool CKeloServoView::ReactivateWindow(CWnd* window) {
    if (!window || !IsWindow(window->GetSafeHwnd()))
        return false;
    window->ShowWindow(SW_SHOW);
    window->SetActiveWindow();
    return true;
}

template <class Window>
void CKeloServoView::OpenMonitorWindow(Window*& pointer, Window* window, ToolWindow flag) {
    window->OnClosed = [this, &pointer, flag] {
        pointer = nullptr;
        ToolWindowOpenFlags[flag] = false;
    };
    if (CreateFeatureWindow(pointer, window, [&] { return window->Create(this); }))
        ToolWindowOpenFlags[flag] = true;
}

void CKeloServoView::OnEditParameter() {
    if (ReactivateWindow(EditorWindow))
        return;
    EditorWindow = nullptr;
    // The editor starts from the display values the settings file kept.
    if (ShellSettings* settings = AppSettings()) {
        if (!ToolWindowOpenFlags[ToolEditor] && DefinedParams.count == 0) {
            DefinedParams.count = std::clamp(settings->DefiniteListSize, 0, DefinedListCapacity);
            for (int i = 0; i < DefinedParams.count; ++i) {
                DefinedParams.group[i] = settings->DefiniteGroup[i];
                DefinedParams.number[i] = settings->DefiniteNumber[i];
            }
        }
        std::array<int, DisplayValueCount> values{};
        std::copy(settings->DisplaySettings.begin(), settings->DisplaySettings.end(), values.begin());
        const int tab = ParaEditKept.currentTab;
        DisplaySetFromValues(values, ParaEditKept.displaySet, ParaEditKept.currentTab);
        ParaEditKept.currentTab = tab; // the tab is the last editor's, not the file's
    }
    auto* editor = new CParaEditDlg(editorLink_, this);
    if (CreateFeatureWindow(EditorWindow, editor, [&] { return editor->Create(IDD_PARAEDIT, this); }))
        ToolWindowOpenFlags[ToolEditor] = true;
}

// ---- The online editors' hold on the view ----------------------------------------------------------

CKeloServoDoc* CKeloServoView::OnlineLink::Document() {
    return view_.GetDoc();
}

CatalogueContext CKeloServoView::OnlineLink::Context() const {
    if (const CKeloServoDoc* doc = view_.GetDoc())
        return doc->Context();
    CatalogueContext context;
    context.seriesCode = SeriesCode;
    context.modelCode = ModelCode;
    view_.FillContext(context);
    return context;
}

void CKeloServoView::OnlineLink::SetMotorMaxSpeed(int value) {
    ::MotorMaxSpeed = value;
}

void CKeloServoView::OnlineLink::OnlineEditorClosed(COnLineParaEditDlg* editor) {
    // An editor of a jog, trace or box window is none of the view's business.
    if (editor != view_.OnlineEditorWindow)
        return;
    view_.OnlineEditorWindow = nullptr;
    view_.ToolWindowOpenFlags[ToolOnline] = false;
}

void CKeloServoView::OnEditOnlineParameter() {
    if (ReactivateWindow(OnlineEditorWindow))
        return;
    OnlineEditorWindow = nullptr;
    auto* editor = new COnLineParaEditDlg(onlineLink_, this);
    if (CreateFeatureWindow(OnlineEditorWindow, editor, [&] { return editor->Create(); }))
        ToolWindowOpenFlags[ToolOnline] = true;
}

COnLineParaEditDlg* CKeloServoView::OpenOnlineEditor(CWnd* owner) {
    COnLineParaEditDlg* kept = nullptr;
    auto* editor = new COnLineParaEditDlg(onlineLink_, owner ? owner : this);
    CreateFeatureWindow(kept, editor, [&] { return editor->Create(); });
    return kept;
}

void CKeloServoView::OnCustomParameter() {
    if (!ConnectedFlag)
        return;
    if (ReactivateWindow(CustomWindow))
        return;
    auto* window = new CParaCustomDlg(
        *this, [this] { return GetDoc() != nullptr; }, [this] { CustomWindow = nullptr; });
    CreateFeatureWindow(CustomWindow, window, [&] { return window->Create(IDD_PD_CUSTOM_ADDRESS, this); });
}

void CKeloServoView::OnAlarmParameters() {
    if (!ConnectedFlag || ReactivateWindow(AlarmDialog))
        return;
    Readers.AlarmReadRequest = 1;
    OpenMonitorWindow(AlarmDialog, new CMonAnDlg(this, Readers), ToolAlarm);
}

void CKeloServoView::OnDiagnosticsParameters() {
    if (!ConnectedFlag || ReactivateWindow(DiagnosticsDialog))
        return;
    Readers.ContactReadRequest = 1;
    OpenMonitorWindow(DiagnosticsDialog, new CMonDnDlg(this, Readers, GetDoc()), ToolDiag);
}

void CKeloServoView::OnLifePrediction() {
    if (!ConnectedFlag || ReactivateWindow(LifeDialog))
        return;
    auto* window = new CMonitorLifeDialog(this, Readers);
    // The gauges show values at once: read them before the window is made.
    ILifeSink* previous = Readers.LifeWindow;
    Readers.LifeWindow = window;
    {
        CBusyHold busy(*this);
        Readers.RefreshLifeData();
    }
    Readers.LifeWindow = previous;
    OpenMonitorWindow(LifeDialog, window, ToolLife);
}

void CKeloServoView::OnDisplayParameter() {
    if (!ConnectedFlag || ReactivateWindow(UnListDialog))
        return;
    if (ShellSettings* settings = AppSettings())
        UnList.MonitorUnSet = settings->MonitorUnSet;
    auto* window = new CMonUnAPDlg(this, Readers, UnList, GetDoc());
    auto keep = [this] {
        if (ShellSettings* settings = AppSettings())
            settings->MonitorUnSet = UnList.MonitorUnSet;
    };
    OpenMonitorWindow(UnListDialog, window, ToolUnList);
    if (UnListDialog) {
        std::function<void()> closed = std::move(window->OnClosed);
        window->OnClosed = [closed, keep] {
            keep();
            closed();
        };
    }
}

void CKeloServoView::OnStatusbarSet() {
    ShellSettings* settings = AppSettings();
    if (!settings)
        return;
    std::array<int, CStatusbarSetDlg::PaneCount> kinds{};
    std::copy_n(settings->StatusbarSet.begin(), kinds.size(), kinds.begin());
    CStatusbarSetDlg dialog(kinds, this);
    dialog.DoModal();
    std::copy(dialog.Kinds().begin(), dialog.Kinds().end(), settings->StatusbarSet.begin());
    RefreshPanes({0, 1, 2, 3, 4, 5, 6});
}

void CKeloServoView::OnProjectMode() {
    CDebugDlg dialog;
    dialog.DoModal();
}

void CKeloServoView::OnEditRam() {
    if (!ConnectedFlag)
        return;
    CEditRAMDlg dialog(*this);
    dialog.DoModal();
}

void CKeloServoView::OnInstallationManual() {
    CKeloServoApp* app = KeloServoApp();
    // Nothing is reported when the manual cannot be shown.
    if (app && app->OpenWithShell)
        app->OpenWithShell(app->ProgramFolderText + "/" + InstallationManualName);
}

// ---- Drive resets -------------------------------------------------------------------------------

void CKeloServoView::SendRestartFrame() {
    CBusyHold busy(*this);
    SendFixedCommandFrame();
}

void CKeloServoView::OnSoftwareReset() {
    if (!ConnectedFlag)
        return;
    if (ServoOnFlag) {
        ShowMessage(ServoOnRefusal, std::string(), MB_OK);
        return;
    }
    if (ShowMessage(Text(IDS_RESTART_QUESTION), std::string(), MB_YESNO | MB_ICONINFORMATION) == IDYES)
        SendRestartFrame();
}

void CKeloServoView::OnFactoryReset() {
    if (!ConnectedFlag)
        return;
    if (ServoOnFlag) {
        ShowMessage(ServoOnRefusal, std::string(), MB_OK);
        return;
    }
    if (ShowMessage(Text(IDS_FACTORY_RESET_QUESTION), std::string(), MB_YESNO | MB_ICONINFORMATION) != IDYES)
        return;
    int accepted;
    {
        CBusyHold busy(*this);
        accepted = WriteDriveParameter("Cn029", 1);
    }
    if (!accepted)
        return;
    // The drive needs a moment to take the factory values before it restarts.
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    SendRestartFrame();
}

// ---- Messages of the tool windows ---------------------------------------------------------------

LRESULT CKeloServoView::OnJogCommand(WPARAM code, LPARAM speed) {
    const int value = static_cast<int>(speed);
    // Each write holds the busy flag only around itself; a refused write ends the sequence.
    auto write = [this](auto&& exchange) {
        CBusyHold busy(*this);
        return exchange() != 0;
    };
    auto writeSpeed = [&](int v) {
        return write([&] { return WriteParameterByGroup(JogGroup, JogNumber, v, 0); });
    };
    auto writeRegister = [&](int address, int v) {
        return write([&] { return WriteDriveRegister(address, v); });
    };
    const CStopKeeper::Writes speedZero = [](CRegisterServices& services) {
        return services.WriteParameterByGroup(JogGroup, JogNumber, 0, 0) != 0;
    };
    switch (code) {
    case 1:
        FillJogSpeed();
        break;
    case 3:
    case 5:
    case 7:
        // Owed before the run goes out: a run whose reply was damaged may well have started.
        Stops.Owe("jog", speedZero);
        writeSpeed(value);
        break;
    case 11:
    case 12: {
        // A stop that did not reach the drive leaves the motor turning: the user must know, and the
        // keeper sends it again when the link comes back.
        const CStopKeeper::Writes stop = [code, value, speedZero](CRegisterServices& services) {
            if (code == 11)
                return speedZero(services);
            return services.WriteDriveRegister(RegJogMode, 0) != 0 &&
                   services.WriteParameterByGroup(JogGroup, JogNumber, value, 0) != 0 &&
                   services.WriteDriveRegister(RegJogServo, 0) != 0;
        };
        const StopResult result = Stops.Send("jog", stop);
        if (result == StopResult::Taken)
            jogRefusalShown_ = false;
        else if (result == StopResult::Refused)
            ReportJogRefusal(code == 11 ? IDS_JM_STOP_REFUSED : IDS_JM_SERVO_OFF_REFUSED);
        break;
    }
    case 13:
        if (writeRegister(RegJogServo, 1) && writeSpeed(0))
            writeRegister(RegJogMode, 1);
        break;
    default:
        break;
    }
    return 0;
}

LRESULT CKeloServoView::OnAlarmClear(WPARAM code, LPARAM) {
    if (code != AlarmClearCommand)
        return 0;
    CBusyHold busy(*this);
    ClearAlarmHistory();
    return 0;
}

int CKeloServoView::ClearAlarmHistory() {
    if (!ConnectedFlag)
        return 0;
    if (!WriteDriveRegister(RegAlarmClear, AlarmClearValue)) {
        ShowMessage(Text(IDS_ERROR) + ":\n\n" + Text(IDS_COMMUNICATE_ERROR), Text(IDS_CLEAR_ALARM_CAPTION),
                    MB_OK | MB_ICONSTOP);
        return 0;
    }
    // The current alarm (entry 0) stays; the past ones are gone.
    std::fill(Readers.AlarmHistory.begin() + 1, Readers.AlarmHistory.end(), 0);
    if (Readers.AlarmWindow) {
        std::array<std::string, AlarmHistoryCount> texts;
        for (int i = 0; i < AlarmHistoryCount; ++i) {
            char text[16];
            std::snprintf(text, sizeof text, "%02d", Readers.AlarmHistory[static_cast<size_t>(i)]);
            texts[static_cast<size_t>(i)] = text;
        }
        Readers.AlarmWindow->ShowAlarmHistory(Readers.AlarmHistory, texts);
    }
    return 1;
}

LRESULT CKeloServoView::OnStepMonitor(WPARAM code, LPARAM) {
    if (code != 1)
        return 0;
    CBusyHold busy(*this);
    if (!StepWatching) {
        if (const std::optional<int> status = ReadDriveRegister(RegServoStatus); status && (*status & 1)) {
            StepWatching = true;
            if (StepDialogPointer)
                StepDialogPointer->ShowWaitHint();
        }
        if (!StepWatching)
            return 0;
    }
    if (const std::optional<int> step = ReadDriveRegister(RegStepValue)) {
        StepValue = *step;
        if (StepDialogPointer)
            StepDialogPointer->ShowStepValue(StepValue, StepValueCode);
    }
    if (const std::optional<int> status = ReadDriveRegister(RegServoStatus); status && !(*status & 1)) {
        StepWatching = false;
        if (StepDialogPointer)
            StepDialogPointer->EnableOkCancel();
    }
    return 0;
}

std::optional<int> CKeloServoView::WriteAndReadBack(int number, int value) {
    CBusyHold busy(*this);
    if (!WriteParameterByGroup('C', number, value, 0))
        return std::nullopt;
    return ReadParameterByGroup('C', number);
}

LRESULT CKeloServoView::OnTripleValueWrite(WPARAM which, LPARAM value) {
    // wParam 1..3: Cn054, Cn053, Cn052 shown in fields 406..408.
    if (which < 1 || which > 3)
        return 0;
    const int index = static_cast<int>(which);
    if (const std::optional<int> read = WriteAndReadBack(55 - index, static_cast<int>(value)))
        if (TripleValueWindow)
            TripleValueWindow->ShowFieldValue(405 + index, *read);
    return 0;
}

LRESULT CKeloServoView::OnSingleValueWrite(WPARAM which, LPARAM value) {
    if (which != 1)
        return 0;
    if (const std::optional<int> read = WriteAndReadBack(51, static_cast<int>(value)))
        if (SingleValueWindow)
            SingleValueWindow->ShowFieldValue(0, *read);
    return 0;
}

// ---- Printing -----------------------------------------------------------------------------------

bool CKeloServoView::PrinterReady() {
    if (PrinterAvailable())
        return true;
    ShowMessage(Text(IDS_PRINTER_ERROR), std::string(), MB_OK | MB_ICONEXCLAMATION);
    return false;
}

void CKeloServoView::OnFilePrintCommand() {
    if (PrinterReady())
        OnFilePrint();
}

void CKeloServoView::OnFilePrintPreviewCommand() {
    if (PrinterReady())
        OnFilePrintPreview();
}

BOOL CKeloServoView::OnPreparePrinting(CPrintInfo* info) {
    CKeloServoDoc* doc = GetDoc();
    if (!doc)
        return FALSE;
    TablePrinter.PreparePrinting(doc->Context(), info);
    return DoPreparePrinting(info);
}

void CKeloServoView::OnPrepareDC(CDC* dc, CPrintInfo* info) {
    if (info)
        CParameterTablePrinter::PrepareDC(dc);
    CView::OnPrepareDC(dc, info);
}

void CKeloServoView::OnPrint(CDC* dc, CPrintInfo* info) {
    CKeloServoDocument* doc = GetKeloDocument();
    if (!doc)
        return;
    TablePrinter.PrintCurrentPage(dc, info, SeriesCode, doc->GetTitle(),
                                  DocumentPrintRows(*doc, ResourceStringLoader()));
}

// ---- Link changes -------------------------------------------------------------------------------

void CKeloServoView::RefreshEditorAfterLink(bool newLink) {
    TuningWindowsLinkChanged();
    EnableBoxOnlineEdit();
    EnableTraceOnlineEdit();
    if (!EditorWindow || !IsWindow(EditorWindow->GetSafeHwnd()))
        return;
    if (newLink) {
        EditorWindow->UpdateDisplaySetTitle();
        EditorWindow->RebuildList();
    }
    EditorWindow->RefreshRows();
}

// The jog and tuning windows (KeloServoViewTuning.cpp) open as the monitor windows do.
template void CKeloServoView::OpenMonitorWindow(CUn45JogDlg*&, CUn45JogDlg*, ToolWindow);
template void CKeloServoView::OpenMonitorWindow(CProgramJogDlg*&, CProgramJogDlg*, ToolWindow);
template void CKeloServoView::OpenMonitorWindow(CJogDlg*&, CJogDlg*, ToolWindow);
template void CKeloServoView::OpenMonitorWindow(CJogAutotuningDlg*&, CJogAutotuningDlg*, ToolWindow);
template void CKeloServoView::OpenMonitorWindow(CNotchDlg*&, CNotchDlg*, ToolWindow);
template void CKeloServoView::OpenMonitorWindow(CLowfreDlg*&, CLowfreDlg*, ToolWindow);
template void CKeloServoView::OpenMonitorWindow(CJOGRigidityDlg*&, CJOGRigidityDlg*, ToolWindow);
template void CKeloServoView::OpenMonitorWindow(CAutoOffsetDialog*&, CAutoOffsetDialog*, ToolWindow);
