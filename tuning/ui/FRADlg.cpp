#include "tuning/ui/FRADlg.h"

#include "framework/core/File.h"
#include "framework/core/Format.h"
#include "framework/core/MessageSeam.h"
#include "framework/core/Paths.h"
#include "framework/core/ResourceModule.h"
#include "framework/ui/Clipboard.h"
#include "framework/ui/ComboBox.h"
#include "framework/ui/DC.h"
#include "framework/ui/ScrollBar.h"
#include "framework/ui/WindowImage.h"
#include "link/LinkState.h"
#include "link/services/TransferPass.h"
#include "paramedit/TransferProgress.h"
#include "resources/ids/mainframe.h"
#include "resources/ids/tuning.h"
#include "tuning/AnalysisRun.h"
#include "tuning/BodePlot.h"
#include "tuning/ui/FRAReadDlg.h"
#include "tuning/ui/FarFilterSetupDlg.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kYellow = RGB(255, 255, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr int kLabelColumn = 30;
constexpr int kGainScales[] = {1, 2, 5, 10, 20, 40, 60};
constexpr int kPhaseScales[] = {45, 90, 120, 180, 360};

// The run in progress: its transfer pass, while one runs.
CTransferPass* runningPass = nullptr;

bool CheckConnectedWithBox() {
    if (ConnectedFlag)
        return true;
    ShowMessage(LoadResString(IDS_COMMUNICATE_ERROR), LoadResString(IDS_COMMUNICATION_MESSAGE),
                MB_OK | MB_ICONSTOP);
    return false;
}

} // namespace

void DisableOkButton(CWnd* window) {
    if (!window || !window->GetSafeHwnd())
        return;
    if (CWnd* ok = window->GetDlgItem(IDOK))
        ok->EnableWindow(FALSE);
}

CFRADlg::CFRADlg(CWnd* parent, CRegisterServices& services) : CDialog(IDD_FRA, parent), services_(services) {}

CFRADlg::~CFRADlg() = default;

const MessageMap* CFRADlg::GetMessageMap() const {
    static const MessageMap map(
        CDialog::GetMessageMap(),
        {
            msg::Command(IDC_FRA_CURSORS, &CFRADlg::OnToggleCursors),
            msg::Command(IDC_FRA_NOTCH_SET, &CFRADlg::OnNotchFilterSet),
            msg::Command(IDC_FRA_COPY, &CFRADlg::CopyPlotToClipboard),
            msg::Command(IDC_FRA_GAIN_UP, &CFRADlg::OnGainUp),
            msg::Command(IDC_FRA_GAIN_DOWN, &CFRADlg::OnGainDown),
            msg::Command(IDC_FRA_PHASE_UP, &CFRADlg::OnPhaseUp),
            msg::Command(IDC_FRA_PHASE_DOWN, &CFRADlg::OnPhaseDown),
            msg::Control(CBN_SELCHANGE, IDC_FRA_GAIN_SCALE, &CFRADlg::OnGainScaleChange),
            msg::Control(CBN_SELCHANGE, IDC_FRA_PHASE_SCALE, &CFRADlg::OnPhaseScaleChange),
            msg::Paint(&CFRADlg::OnPaint),
            msg::Mouse(WM_LBUTTONDOWN, &CFRADlg::OnLButtonDown),
            msg::Mouse(WM_LBUTTONUP, &CFRADlg::OnLButtonUp),
            msg::Mouse(WM_MOUSEMOVE, &CFRADlg::OnMouseMove),
            msg::Message(FraProgressMessage, &CFRADlg::OnFraProgress),
        });
    return &map;
}

void CFRADlg::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
    DDX_Text(dx, IDC_FRA_LOAD_TORQUE, m_loadTorqueText);
}

BOOL CFRADlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_sampleTime = 0.0001f;
    auto fill = [this](int id, std::initializer_list<const char*> items, int selection) {
        auto* combo = dynamic_cast<CComboBox*>(GetDlgItem(id));
        if (!combo)
            return;
        combo->ResetContent();
        for (const char* item : items)
            combo->AddString(item);
        combo->SetCurSel(selection);
    };
    fill(IDC_FRA_GAIN_SCALE, {"  1", "  2", "  5", "10", "20", "40", "60"}, 4);
    fill(IDC_FRA_PHASE_SCALE, {"  45", "  90", "120", "180", "360"}, 3);
    fill(IDC_FRA_PROPORTION_COMBO, {"  1", "  2", "  5", "10", "20", "50", "FULL"}, 6);
    m_loadTorqueText = "50";
    UpdateData(FALSE);
    GainOffset = 1;
    PhaseOffset = 0;
    m_torque.fill(0);
    m_speed.fill(0);
    if (auto* bar = dynamic_cast<CScrollBar*>(GetDlgItem(IDC_FRA_PROPORTION))) {
        bar->SetScrollRange(0, 0);
        bar->SetScrollPos(0);
    }
    for (int id : {IDC_FRA_CURSORS, IDC_FRA_PROPORTION, IDC_FRA_PROPORTION_COMBO, IDC_FRA_NOTCH_SET})
        if (CWnd* control = GetDlgItem(id))
            control->EnableWindow(FALSE);
    {
        CBusyHold busy(services_);
        if (ConnectedFlag)
            m_sampleTime = AnalysisSampleTime(services_.ReadDriveRegister(0x1607));
    }
    return TRUE;
}

void CFRADlg::OnCancel() {
    CDialog::OnCancel();
}

void CFRADlg::ShowFailure(const std::string& detail) {
    if (runningPass)
        runningPass->Fail(detail);
    else
        CRegisterServices::ShowFailureBox(detail);
}

// ---- The run -----------------------------------------------------------------------------------

void CFRADlg::OnOK() {
    if (!CheckConnectedWithBox())
        return;
    {
        CBusyHold busy(services_);
        if (IsAlarmActive(services_)) {
            ShowMessage(LoadResString(IDS_FRA_ALARM));
            return;
        }
    }
    const std::string text = GetDlgItemText(IDC_FRA_LOAD_TORQUE);
    if (text.empty()) {
        ShowMessage(LoadResString(IDS_FRA_NO_TORQUE));
        return;
    }
    const std::optional<int> torque = ParseInt(text);
    if (!torque || *torque < 1 || *torque > 100) {
        ShowMessage(LoadResString(IDS_FRA_TORQUE_RANGE));
        return;
    }
    m_loadTorque = *torque;
    m_excitation = ExcitationSettingValue;
    m_torque.fill(0);
    m_speed.fill(0);
    if (auto* combo = dynamic_cast<CComboBox*>(GetDlgItem(IDC_FRA_GAIN_SCALE)))
        combo->SetCurSel(4);
    if (auto* combo = dynamic_cast<CComboBox*>(GetDlgItem(IDC_FRA_PHASE_SCALE)))
        combo->SetCurSel(3);
    m_gainScale = 20;
    m_phaseScale = 180;
    GainOffset = 1;
    PhaseOffset = 0;

    CTransferProgress waitWindow(this);
    CTransferPass pass(services_, PassOwner(this, &waitWindow));
    if (pass.Refused())
        return;
    runningPass = &pass;
    RunMeasurement();
    runningPass = nullptr;
    pass.End();
    Invalidate(FALSE);
}

BOOL CFRADlg::StartExcitation() {
    const std::optional<int> saved = StartAnalysisExcitation(services_, m_loadTorque);
    if (!saved) {
        ShowFailure(LoadResString(IDS_FRA_SETTING_FAILED));
        return FALSE;
    }
    m_savedJogSpeed = *saved;
    services_.Stops.Owe(ExcitationMotion, ExcitationStop());
    return TRUE;
}

CStopKeeper::Writes CFRADlg::ExcitationStop() const {
    return [saved = m_savedJogSpeed](CRegisterServices& services) {
        return StopAnalysisExcitation(services, saved);
    };
}

StopResult CFRADlg::StopExcitation() {
    return services_.Stops.Send(ExcitationMotion, ExcitationStop());
}

int CFRADlg::PollMeasurementState() {
    return services_.PollAnalysisState();
}

BOOL CFRADlg::RunMeasurement() {
    if (!CheckConnectedWithBox())
        return FALSE;
    AnalysisDataValid = false;
    m_measurementState = 0;
    if (!StartExcitation())
        return FALSE;
    CTransferPass* pass = runningPass;
    using Clock = std::chrono::steady_clock;
    const Clock::time_point started = Clock::now();
    const Clock::time_point deadline = started + m_completionWaitLimit;
    if (pass)
        pass->OpenProgress(
            RWProgressDialogResource,
            std::max(1, static_cast<int>(
                            std::chrono::duration_cast<std::chrono::seconds>(m_completionWaitLimit).count())),
            LoadResString(IDS_FRA_WAIT_CAPTION), true);
    bool completionSeen = false;
    int acknowledgeRefusals = 0;
    // Lets the window's messages through until the next poll is due; false when the pass must end
    // now (Cancel pressed, window closed), which the wait notices the moment it happens.
    const auto waitForNextPoll = [pass](Clock::time_point due) {
        for (;;) {
            if (pass && !pass->Pump())
                return false;
            const Clock::time_point now = Clock::now();
            if (now >= due)
                return true;
            WaitForMessages(std::chrono::ceil<std::chrono::milliseconds>(due - now));
        }
    };
    for (;;) {
        const int state = PollMeasurementState();
        if (state == 0) {
            // The run cannot be followed: the machine must not go on being excited. A stop that
            // did not reach the drive is kept by the view, which told the user.
            if (pass)
                pass->CloseProgress();
            const StopResult stopped = completionSeen ? StopResult::Taken : StopExcitation();
            if (stopped == StopResult::Taken || stopped == StopResult::Refused)
                ShowFailure(LoadResString(IDS_FRA_SETTING_FAILED));
            return FALSE;
        }
        if (state == 1) {
            // The drive is still measuring: keep the window alive, and give up after the bound.
            const Clock::time_point polled = Clock::now();
            if (!waitForNextPoll(std::min(polled + CompletionPollPause(polled - started), deadline))) {
                // Cancelled: the machine must not go on being excited; a window that went touches
                // nothing.
                if (!pass->OwnerGone()) {
                    pass->CloseProgress();
                    services_.CancelRequest = 0;
                    if (StopExcitation() == StopResult::Refused)
                        ShowFailure(LoadResString(IDS_FRA_SETTING_FAILED));
                }
                return FALSE;
            }
            const Clock::time_point now = Clock::now();
            if (now >= deadline) {
                // Given up, the run is undone as Cancel undoes it.
                if (pass)
                    pass->CloseProgress();
                const StopResult stopped = StopExcitation();
                if (stopped == StopResult::Taken)
                    ShowFailure(LoadResString(IDS_FRA_WAIT_TIMEOUT));
                else if (stopped == StopResult::Refused)
                    ShowFailure(LoadResString(IDS_FRA_WAIT_TIMEOUT_UNDONE_REFUSED));
                return FALSE;
            }
            if (pass) {
                const auto waited = std::chrono::duration_cast<std::chrono::seconds>(now - started);
                while (pass->Position() < waited.count())
                    pass->Step();
            }
            continue;
        }
        if (!completionSeen) {
            services_.Stops.Settle(ExcitationMotion); // the drive ended the excitation itself
            if (pass)
                pass->CloseProgress();
            if (!RestoreAfterCompletion(services_, m_savedJogSpeed)) {
                ShowFailure(LoadResString(IDS_FRA_SETTING_FAILED));
                return FALSE;
            }
            completionSeen = true;
        }
        m_measurementState = 2;
        m_readSucceeded = false;
        ShowReadProgress();
        if (!m_readSucceeded)
            return FALSE;
        if (services_.WriteDriveRegister(0x1604, 0))
            break;
        if (++acknowledgeRefusals >= AcknowledgeAttempts) {
            ShowFailure(LoadResString(IDS_FRA_SETTING_FAILED));
            return FALSE;
        }
    }
    if (!services_.WriteDriveRegister(0x1606, 0) || !services_.WriteDriveRegister(0x1602, 0)) {
        ShowFailure(LoadResString(IDS_FRA_SETTING_FAILED));
        return FALSE;
    }
    AnalysisDataValid = true;
    if (!ComputeFrequencyResponse()) {
        AnalysisDataValid = false;
        ShowFailure(LoadResString(IDS_FRA_SCALE_FAILED));
        return FALSE;
    }
    return TRUE;
}

void CFRADlg::ShowReadProgress() {
    CFRAReadDlg readWindow(this);
    m_readWindow = &readWindow;
    readWindow.DoModal();
    m_readWindow = nullptr;
}

void CFRADlg::EndReadDialog() {
    if (m_readWindow && m_readWindow->GetSafeHwnd())
        m_readWindow->OnCancel();
    m_readWindow = nullptr;
}

LRESULT CFRADlg::OnFraProgress(WPARAM code, LPARAM) {
    if (code == FraReadDataCode)
        OnReadData();
    return 0;
}

void CFRADlg::OnReadData() {
    CBusyHold busy(services_);
    m_readSucceeded = ReadAnalysisBlocks();
    EndReadDialog();
}

BOOL CFRADlg::ReadAnalysisBlocks() {
    if (!ConnectedFlag)
        return FALSE;
    BeginWaitCursor();
    CFRAReadDlg* window = m_readWindow;
    if (window) {
        window->m_progress.SetRange32(0, 1024);
        window->m_progress.SetPos(0);
    }
    AnalysisWords words{};
    const AnalysisReadResult read = ::ReadAnalysisBlocks(services_, words, [window](const std::string& line) {
        if (window) {
            window->SetProgressText(line);
            window->m_progress.StepIt();
        }
    });
    if (!read.ok) {
        EndWaitCursor();
        std::string detail = read.lastProgress;
        if (read.badRecord)
            detail += LoadResString(IDS_FRA_BAD_RECORD);
        CRegisterServices::ShowFailureBox(detail);
        return FALSE;
    }
    SplitAnalysisWords(words, m_torque, m_speed);
    m_sampleTime = AnalysisSampleTime(services_.ReadDriveRegister(0x1607));
    std::string error;
    const bool saved = ReplaceFileContents(ProgramFolderFile(AnalysisDataFileName),
                                           AnalysisDataFileText(m_torque, m_speed), &error);
    EndWaitCursor();
    if (!saved)
        ShowMessage(LoadResString(IDS_FRA_FILE_FAILED) + error, LoadResString(IDS_FRA_FILE_CAPTION),
                    MB_OK | MB_ICONEXCLAMATION);
    return TRUE;
}

// ---- The computation ---------------------------------------------------------------------------

bool CFRADlg::ComputeFrequencyResponse() {
    if (!AnalysisDataValid)
        return true;
    // Scale factors of this very measurement: a failed read must not scale the gain with some other
    // exchange's value.
    const std::optional<TorqueScales> scales = ReadTorqueScales(services_);
    if (!scales)
        return false;
    ::ComputeFrequencyResponse(m_torque, m_speed, scales->torque, scales->speed, m_sampleTime, m_response);
    m_resonanceBin = m_response.resonanceBin - 1;
    m_antiResonanceBin = m_response.antiResonanceBin - 1;
    m_resonanceFrequency = m_response.resonanceFrequency;
    m_antiResonanceFrequency = m_response.antiResonanceFrequency;
    const int r = m_response.resonanceBin, a = m_response.antiResonanceBin;
    SetDlgItemText(IDC_FRA_RESONANCE, Format("%.1f", m_resonanceFrequency));
    SetDlgItemText(IDC_FRA_ANTI_RESONANCE, Format("%.1f", m_antiResonanceFrequency));
    SetDlgItemText(IDC_FRA_RESONANCE_GAIN, Format("%.1f", m_response.gain[r]));
    SetDlgItemText(IDC_FRA_ANTI_RESONANCE_GAIN, Format("%.1f", m_response.gain[a]));
    SetDlgItemText(IDC_FRA_RESONANCE_PHASE, Format("%.1f", m_response.phase[r]));
    SetDlgItemText(IDC_FRA_ANTI_RESONANCE_PHASE, Format("%.1f", m_response.phase[a]));
    m_cursor1X = GainPlotOrigin.x + BodeColumn(m_resonanceFrequency, m_sampleTime);
    m_cursor2X = GainPlotOrigin.x + BodeColumn(m_antiResonanceFrequency, m_sampleTime);
    for (int id : {IDC_FRA_NOTCH_SET, IDC_FRA_PROPORTION, IDC_FRA_PROPORTION_COMBO})
        if (CWnd* control = GetDlgItem(id))
            control->EnableWindow(TRUE);
    Invalidate(FALSE);
    return true;
}

// ---- The plot ----------------------------------------------------------------------------------

void CFRADlg::OnPaint() {
    CPaintDC dc(this);
    DrawBodePlot(dc);
}

void CFRADlg::DrawBodePlot(CDC& dc) {
    CBrush face(GetSysColor(COLOR_BTNFACE));
    const int labelLeft = GainPlotOrigin.x - kLabelColumn;
    // The label column of both plots, and the frequency rows under them.
    dc.FillRect(CRect(labelLeft, 0, GainPlotOrigin.x, PhasePlotOrigin.y + BodePlotHeight + 20), &face);
    dc.FillRect(CRect(labelLeft, GainPlotOrigin.y + BodePlotHeight, GainPlotOrigin.x + BodePlotWidth + 20,
                      PhasePlotOrigin.y),
                &face);
    dc.FillRect(CRect(labelLeft, PhasePlotOrigin.y + BodePlotHeight, GainPlotOrigin.x + BodePlotWidth + 20,
                      PhasePlotOrigin.y + BodePlotHeight + 20),
                &face);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(kBlack);
    paintedLabels_.clear();
    dc.RecordLabels(&paintedLabels_);
    CFont* previousFont = nullptr;
    if (CWnd* readout = GetDlgItem(IDC_FRA_RESONANCE); readout && readout->GetFont())
        previousFont = dc.SelectObject(readout->GetFont());
    for (const AxisLabel& label : GainLabels(GainOffset, m_gainScale))
        dc.TextOut(labelLeft, GainPlotOrigin.y + label.y, label.text);
    for (const AxisLabel& label : PhaseLabels(PhaseOffset, m_phaseScale))
        dc.TextOut(labelLeft, PhasePlotOrigin.y + label.y, label.text);
    // Each frequency label starts 15 pixels left of its grid line, unless that would put it under the
    // scale labels, into the label before it (1000 Hz and 2000 Hz lie close) or past the strip right
    // of the plot.
    std::vector<int> wanted, widths;
    for (double f : BodeLabelFrequencies) {
        wanted.push_back(GainPlotOrigin.x + BodeColumn(f, m_sampleTime) - 15);
        widths.push_back(dc.GetTextExtent(Format("%.0fHz", f)).cx);
    }
    // The controls right of the plots are drawn over the painting: the labels end before them.
    int rightLimit = GainPlotOrigin.x + BodePlotWidth + 20;
    for (CWnd* child : GetChildren()) {
        CRect rect;
        child->GetWindowRect(&rect);
        ScreenToClient(&rect);
        if (child->IsWindowVisible() && rect.left > GainPlotOrigin.x + BodePlotWidth / 2)
            rightLimit = std::min(rightLimit, rect.left - 2);
    }
    const std::vector<int> lefts = SpreadLabels(wanted, widths, 4, GainPlotOrigin.x, rightLimit);
    for (size_t i = 0; i < lefts.size(); ++i) {
        const std::string text = Format("%.0fHz", BodeLabelFrequencies[i]);
        dc.TextOut(lefts[i], GainPlotOrigin.y + 205, text);
        dc.TextOut(lefts[i], PhasePlotOrigin.y + 205, text);
    }
    if (previousFont)
        dc.SelectObject(previousFont);
    dc.RecordLabels(nullptr);

    CDC picture;
    picture.CreateCompatibleDC(&dc);
    m_gainPicture.CreateCompatibleBitmap(&dc, BodePlotWidth, BodePlotHeight);
    CBitmap* previous = picture.SelectObject(&m_gainPicture);
    DrawGainPicture(picture);
    dc.BitBlt(GainPlotOrigin.x, GainPlotOrigin.y, BodePlotWidth, BodePlotHeight, &picture, 0, 0, SRCCOPY);
    m_phasePicture.CreateCompatibleBitmap(&dc, BodePlotWidth, BodePlotHeight);
    picture.SelectObject(&m_phasePicture);
    DrawPhasePicture(picture);
    dc.BitBlt(PhasePlotOrigin.x, PhasePlotOrigin.y, BodePlotWidth, BodePlotHeight, &picture, 0, 0, SRCCOPY);
    picture.SelectObject(previous);
    if (m_cursorsShown && AnalysisDataValid)
        DrawCursorReadouts();
}

static void DrawGrid(CDC& picture, std::initializer_list<int> rows, float ts) {
    picture.FillSolidRect(CRect(0, 0, BodePlotWidth, BodePlotHeight), kBlack);
    CPen grid(PS_DOT, 1, kBlue);
    CPen* previous = picture.SelectObject(&grid);
    picture.SetBkColor(kBlack);
    for (int y : rows) {
        picture.MoveTo(0, y);
        picture.LineTo(BodePlotWidth, y);
    }
    for (double f : BodeGridFrequencies) {
        const int x = BodeColumn(f, ts);
        picture.MoveTo(x, 0);
        picture.LineTo(x, BodePlotHeight);
    }
    picture.SelectObject(previous);
}

static void DrawCursors(CDC& picture, bool shown, int cursor1, int cursor2) {
    if (!shown)
        return;
    CPen yellow(PS_SOLID, 2, kYellow);
    CPen green(PS_SOLID, 2, kGreen);
    CPen* previous = picture.SelectObject(&yellow);
    picture.MoveTo(cursor1, 0);
    picture.LineTo(cursor1, BodePlotHeight);
    picture.SelectObject(&green);
    picture.MoveTo(cursor2, 0);
    picture.LineTo(cursor2, BodePlotHeight);
    picture.SelectObject(previous);
}

void CFRADlg::DrawGainPicture(CDC& picture) {
    DrawGrid(picture, {33, 66, 99, 132, 165}, m_sampleTime);
    if (AnalysisDataValid) {
        CPen red(PS_SOLID, 1, kRed);
        CPen* previous = picture.SelectObject(&red);
        const LeadIn leadIn = FitLeadIn(m_response, m_sampleTime);
        if (!leadIn.points.empty()) {
            picture.MoveTo(std::clamp(BodeColumn(0, m_sampleTime), 0, BodePlotWidth),
                           std::clamp(GainRow(leadIn.startGain, GainOffset, m_gainScale), 0, BodePlotHeight));
            for (const auto& [f, g] : leadIn.points)
                picture.LineTo(BodeColumn(f, m_sampleTime), GainRow(g, GainOffset, m_gainScale));
        }
        bool joined = false;
        int lastX = 0;
        for (int k = 1; k <= 512; ++k) {
            const double f = BinFrequency(k, m_sampleTime);
            if (f > 5000)
                break;
            if (!m_response.gainDefined[k]) {
                joined = false; // no value here: the curve breaks
                continue;
            }
            const int x = BodeColumn(std::max(1.0, f), m_sampleTime);
            const int y = GainRow(m_response.gain[k], GainOffset, m_gainScale);
            if (joined && x > 0 && lastX > 0)
                picture.LineTo(x, y);
            else
                picture.MoveTo(x, y);
            joined = true;
            lastX = x;
        }
        picture.SelectObject(previous);
    }
    DrawCursors(picture, m_cursorsShown, m_cursor1X - GainPlotOrigin.x, m_cursor2X - GainPlotOrigin.x);
}

void CFRADlg::DrawPhasePicture(CDC& picture) {
    DrawGrid(picture, {50, 100, 150}, m_sampleTime);
    if (AnalysisDataValid) {
        CPen red(PS_SOLID, 1, kRed);
        CPen* previous = picture.SelectObject(&red);
        std::optional<int> lastX;
        for (int k = 1; k <= 512; ++k) {
            const double f = BinFrequency(k, m_sampleTime);
            const double p = m_response.phase[k];
            if (f > 5000 || !m_response.phaseDefined[k] || p < -360 || p > 360)
                continue;
            const int x = std::clamp(BodeColumn(f, m_sampleTime), 0, BodePlotWidth);
            const int y = std::clamp(PhaseRow(p, PhaseOffset, m_phaseScale), 0, BodePlotHeight);
            // A wrap of the phase jumps across the picture: not joined.
            if (lastX && std::abs(x - *lastX) <= 100)
                picture.LineTo(x, y);
            else
                picture.MoveTo(x, y);
            lastX = x;
        }
        picture.SelectObject(previous);
        if (CWnd* toggle = GetDlgItem(IDC_FRA_CURSORS))
            toggle->EnableWindow(TRUE);
    }
    DrawCursors(picture, m_cursorsShown, m_cursor1X - PhasePlotOrigin.x, m_cursor2X - PhasePlotOrigin.x);
}

void CFRADlg::DrawCursorReadouts() {
    struct Readout {
        int x;
        double* frequency;
        int frequencyId, gainId, phaseId;
    };
    const Readout readouts[] = {
        {m_cursor1X, &m_resonanceFrequency, IDC_FRA_RESONANCE, IDC_FRA_RESONANCE_GAIN,
         IDC_FRA_RESONANCE_PHASE},
        {m_cursor2X, &m_antiResonanceFrequency, IDC_FRA_ANTI_RESONANCE, IDC_FRA_ANTI_RESONANCE_GAIN,
         IDC_FRA_ANTI_RESONANCE_PHASE},
    };
    for (const Readout& r : readouts) {
        const CursorReading reading = ReadCursor(m_response, r.x - GainPlotOrigin.x, m_sampleTime);
        *r.frequency = reading.frequency;
        auto show = [this](int id, const std::string& text) {
            if (GetDlgItemText(id) != text)
                SetDlgItemText(id, text);
        };
        show(r.frequencyId, Format("%.1f", reading.frequency));
        show(r.gainId, reading.gain ? Format("%.1f", *reading.gain) : "----");
        show(r.phaseId, reading.phase ? Format("%.1f", *reading.phase) : "----");
    }
}

// ---- Controls ----------------------------------------------------------------------------------

void CFRADlg::InvalidateGainPlot() {
    const CRect area(GainPlotOrigin.x - kLabelColumn, 0, GainPlotOrigin.x + BodePlotWidth,
                     GainPlotOrigin.y + BodePlotHeight + 20);
    InvalidateRect(&area, FALSE);
}

void CFRADlg::InvalidatePhasePlot() {
    const CRect area(PhasePlotOrigin.x - kLabelColumn, 0, PhasePlotOrigin.x + BodePlotWidth,
                     PhasePlotOrigin.y + BodePlotHeight + 20);
    InvalidateRect(&area, FALSE);
}

void CFRADlg::OnToggleCursors() {
    m_cursorsShown = !m_cursorsShown;
    InvalidateGainPlot();
    InvalidatePhasePlot();
}

void CFRADlg::OnNotchFilterSet() {
    SetFocus();
    CFarFilterSetupDlg notch(this, services_);
    notch.DoModal();
}

void CFRADlg::OnGainUp() {
    ++GainOffset;
    InvalidateGainPlot();
}

void CFRADlg::OnGainDown() {
    --GainOffset;
    InvalidateGainPlot();
}

void CFRADlg::OnPhaseUp() {
    ++PhaseOffset;
    InvalidatePhasePlot();
}

void CFRADlg::OnPhaseDown() {
    --PhaseOffset;
    InvalidatePhasePlot();
}

void CFRADlg::OnGainScaleChange() {
    auto* combo = dynamic_cast<CComboBox*>(GetDlgItem(IDC_FRA_GAIN_SCALE));
    const int selection = combo ? combo->GetCurSel() : -1;
    if (selection >= 0 && selection < int(std::size(kGainScales)))
        m_gainScale = kGainScales[selection];
    InvalidateGainPlot();
}

void CFRADlg::OnPhaseScaleChange() {
    auto* combo = dynamic_cast<CComboBox*>(GetDlgItem(IDC_FRA_PHASE_SCALE));
    const int selection = combo ? combo->GetCurSel() : -1;
    if (selection >= 0 && selection < int(std::size(kPhaseScales)))
        m_phaseScale = kPhaseScales[selection];
    InvalidatePhasePlot();
}

void CFRADlg::CopyPlotToClipboard() {
    CBitmap picture;
    if (!RenderClientArea(this, picture, ClipboardSize.cx, ClipboardSize.cy))
        return;
    if (!OpenClipboard(this))
        return;
    EmptyClipboard();
    SetClipboardData(CF_BITMAP, &picture);
    CloseClipboard();
}

// ---- Cursor dragging ---------------------------------------------------------------------------

bool CFRADlg::InPlotBand(CPoint point) const {
    const int gain = point.y - GainPlotOrigin.y;
    const int phase = point.y - PhasePlotOrigin.y;
    return (gain >= 0 && gain <= BodePlotHeight) || (phase >= 0 && phase <= BodePlotHeight);
}

void CFRADlg::OnLButtonDown(UINT, CPoint point) {
    if (m_cursorsShown && InPlotBand(point)) {
        if (std::abs(point.x - m_cursor1X) < 3)
            m_dragging1 = true;
        else if (std::abs(point.x - m_cursor2X) < 3)
            m_dragging2 = true;
    }
    Default();
}

void CFRADlg::OnLButtonUp(UINT, CPoint) {
    m_dragging1 = false;
    m_dragging2 = false;
    Default();
}

void CFRADlg::OnMouseMove(UINT flags, CPoint point) {
    if (flags == MK_LBUTTON && (m_dragging1 || m_dragging2)) {
        (m_dragging1 ? m_cursor1X : m_cursor2X) = point.x;
        const int x = point.x - GainPlotOrigin.x;
        if (x >= 0 && x <= BodePlotWidth && InPlotBand(point)) {
            InvalidateGainPlot();
            InvalidatePhasePlot();
        }
    }
    Default();
}
