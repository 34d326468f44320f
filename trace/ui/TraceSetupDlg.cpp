#include "trace/ui/TraceSetupDlg.h"

#include "framework/core/ChannelColours.h"
#include "framework/core/Format.h"
#include "framework/core/MessageSeam.h"
#include "framework/core/ResourceModule.h"
#include "framework/ui/ComboBox.h"
#include "framework/ui/Edit.h"
#include "framework/ui/FileDialog.h"
#include "framework/ui/SpinButtonCtrl.h"
#include "resources/ids/trace.h"
#include "trace/GraphServices.h"
#include "trace/TraceCaptions.h"
#include "trace/TraceRegisters.h"

#include <algorithm>

namespace {
CComboBox* Combo(CWnd& dialog, int id) {
    return static_cast<CComboBox*>(dialog.GetDlgItem(id));
}
int TextValue(CWnd& dialog, int id, bool* ok) {
    const std::string text = dialog.GetDlgItemText(id);
    try {
        size_t used = 0;
        const long value = std::stol(text, &used);
        *ok = used == text.size() && value >= INT32_MIN && value <= INT32_MAX;
        return *ok ? static_cast<int>(value) : 0;
    } catch (...) {
        *ok = false;
        return 0;
    }
}
} // namespace

CTraceSetupDlg::CTraceSetupDlg(CWnd* parent) : CDialog(IDD_TRACE_SETUP, parent) {}

const MessageMap* CTraceSetupDlg::GetMessageMap() const {
    using T = CTraceSetupDlg;
    static const MessageMap map(
        CDialog::GetMessageMap(),
        {
            msg::ControlRange(CBN_SELCHANGE, 2009, 2012, &T::OnSourceChange),
            msg::ControlRange(CBN_SELCHANGE, 6173, 6179, &T::OnSourceChange),
            msg::ControlRange(STN_CLICKED, TraceSetupSwatches.front(), TraceSetupSwatches.back(),
                              &T::OnSwatchClick),
            msg::Control(CBN_SELCHANGE, IDC_TS_MODE, &T::OnModeChange),
            msg::Control(CBN_SELCHANGE, IDC_TS_CHANNEL_COUNT, &T::OnCountChange),
            msg::Control(CBN_SELCHANGE, IDC_TS_TRIGGER_SOURCE, &T::OnTriggerSourceChange),
            msg::Control(EN_CHANGE, IDC_TS_LEVEL, &T::OnLevelChange),
            msg::Control(EN_CHANGE, IDC_TS_POSITION, &T::OnPositionChange),
            msg::Control(EN_CHANGE, IDC_TS_INTERVAL, &T::OnIntervalChange),
        });
    return &map;
}

int CTraceSetupDlg::ChannelOfSourceCombo(UINT id) const {
    for (size_t ch = 0; ch < 8; ++ch)
        if (TraceSetupSourceCombos[ch] == static_cast<int>(id))
            return static_cast<int>(ch);
    return -1;
}

BOOL CTraceSetupDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    if (!documentPresent)
        return FALSE;
    traceMode = std::clamp(traceMode, 0, 2);
    if (traceMode == TraceModeMonitor)
        channelCountMode = 1;
    CComboBox* count = Combo(*this, IDC_TS_CHANNEL_COUNT);
    count->AddString("4 channels (high precision)");
    count->AddString("8 channels (low precision)");
    count->SetCurSel(channelCountMode);
    count->EnableWindow(traceMode != TraceModeMonitor);
    Combo(*this, IDC_TS_MODE)->SetCurSel(traceMode);
    Combo(*this, IDC_TS_EDGE)->SetCurSel(std::clamp(triggerEdge, 0, 2));

    // The offered sources: named ones numbered, then the inputs, outputs and debug channels.
    entries_ = {{0, "None"}};
    std::vector<int> named = {1, 2, 3, 4, 5, 6, 7};
    if (debugMode)
        named.push_back(8);
    if (documentPresent)
        named.insert(named.end(), {34, 35, 36, 37});
    if (documentPresent && debugMode)
        named.insert(named.end(), {38, 39, 40, 41, 42, 43});
    if (documentPresent && extendedSources)
        named.insert(named.end(), {44, 45, 46, 47, 49, 50});
    if (documentPresent)
        named.push_back(51);
    for (size_t i = 0; i < named.size(); ++i)
        entries_.emplace_back(named[i], Format("%d.", static_cast<int>(i) + 1) +
                                            ChannelSourceTitle(named[i], dioCodes));
    if (documentPresent)
        for (int code = 9; code <= 28; ++code)
            entries_.emplace_back(code, ChannelSourceTitle(code, dioCodes));
    if (debugMode)
        for (int code = 29; code <= 32; ++code)
            entries_.emplace_back(code, Format("Debug%d", code - 28));
    for (int ch = 0; ch < 8; ++ch) {
        FillSourceList(ch);
        SelectSource(ch);
        colourCombos_[static_cast<size_t>(ch)].SubclassDlgItem(
            TraceSetupColourCombos[static_cast<size_t>(ch)], this);
        int& colourIndex = colourIndices[static_cast<size_t>(ch)];
        colourIndex = ChannelColourIndexOf(colours[static_cast<size_t>(ch)], colourIndex);
        colourCombos_[static_cast<size_t>(ch)].SetCurSel(colourIndex);
        swatches_[static_cast<size_t>(ch)].SubclassDlgItem(TraceSetupSwatches[static_cast<size_t>(ch)], this);
        ShowSwatch(static_cast<size_t>(ch));
        CheckDlgButton(TraceSetupReverseChecks[static_cast<size_t>(ch)],
                       reverse[static_cast<size_t>(ch)] ? 1 : 0);
    }
    settingText_ = true;
    SetDlgItemText(IDC_TS_INTERVAL, Format("%d", interval));
    SetDlgItemText(IDC_TS_LEVEL, Format("%d", triggerLevel));
    SetDlgItemText(IDC_TS_POSITION, Format("%d", triggerPosition));
    settingText_ = false;
    FillTriggerSources();
    OnModeChange();
    opened_ = true;
    return TRUE;
}

void CTraceSetupDlg::FillSourceList(int channel) {
    CComboBox* combo = Combo(*this, TraceSetupSourceCombos[static_cast<size_t>(channel)]);
    combo->ResetContent();
    sourceCodes_.clear();
    for (const auto& [code, text] : entries_) {
        combo->AddString(text);
        sourceCodes_.push_back(code);
    }
}

void CTraceSetupDlg::SelectSource(int channel) {
    const int code = codes[static_cast<size_t>(channel)];
    // Channels 5..8 look codes up to 50 only, 1..4 up to 51, unless debugging.
    const int highest = channel < 4 ? 51 : 50;
    int entry = 0;
    if (code <= highest || debugMode) {
        const auto it = std::find(sourceCodes_.begin(), sourceCodes_.end(), code);
        entry = it == sourceCodes_.end() ? 0 : static_cast<int>(it - sourceCodes_.begin());
    }
    Combo(*this, TraceSetupSourceCombos[static_cast<size_t>(channel)])->SetCurSel(entry);
}

void CTraceSetupDlg::OnSourceChange(UINT id) {
    const int ch = ChannelOfSourceCombo(id);
    if (ch < 0)
        return;
    const int entry = Combo(*this, static_cast<int>(id))->GetCurSel();
    const int code = entry >= 0 && entry < static_cast<int>(sourceCodes_.size())
                         ? sourceCodes_[static_cast<size_t>(entry)]
                         : 0;
    if (IsWideSource(code) && !LongWordAllowed(codes, ch, eight())) {
        SelectSource(ch);
        ShowMessage(LoadResString(IDS_TS_LONG_WORD));
        return;
    }
    codes[static_cast<size_t>(ch)] = code;
    UpdateTriggerLevelRange();
}

// The colour combos keep their selection changes to themselves, so their choice is read here: a
// combo moved to another colour wins over a colour picked on the swatch.
void CTraceSetupDlg::TakeColourCombos() {
    for (size_t ch = 0; ch < 8; ++ch) {
        const int selected = colourCombos_[ch].GetCurSel();
        if (selected < 0 || selected == colourIndices[ch])
            continue;
        colourIndices[ch] = selected;
        colours[ch] = ChannelColor(static_cast<unsigned>(selected));
        ShowSwatch(ch);
    }
}

void CTraceSetupDlg::OnSwatchClick(UINT id) {
    for (size_t ch = 0; ch < 8; ++ch) {
        if (TraceSetupSwatches[ch] != static_cast<int>(id))
            continue;
        TakeColourCombos(); // the picker starts at the colour the combo shows
        // A table colour moves the combo to it; a free colour leaves the combo's index as it was.
        CColorDialog picker(colours[ch], 0, this);
        if (picker.DoModal() != IDOK)
            return;
        colours[ch] = picker.GetColor();
        colourIndices[ch] = ChannelColourIndexOf(colours[ch], colourIndices[ch]);
        colourCombos_[ch].SetCurSel(colourIndices[ch]);
        ShowSwatch(ch);
        Invalidate(TRUE);
    }
}

void CTraceSetupDlg::ShowSwatch(size_t channel) {
    swatches_[channel].m_color = colours[channel];
    if (swatches_[channel].GetSafeHwnd())
        swatches_[channel].Invalidate(TRUE);
}

void CTraceSetupDlg::FillTriggerSources() {
    CComboBox* combo = Combo(*this, IDC_TS_TRIGGER_SOURCE);
    combo->ResetContent();
    combo->AddString("None");
    for (int ch = 1; ch <= (eight() ? 8 : 4); ++ch)
        combo->AddString(Format("Data%d", ch));
    if (triggerSource > combo->GetCount() - 1)
        triggerSource = 0;
    combo->SetCurSel(triggerSource);
}

void CTraceSetupDlg::OnModeChange() {
    traceMode = std::max(0, Combo(*this, IDC_TS_MODE)->GetCurSel());
    const bool monitor = traceMode == TraceModeMonitor;
    auto* intervalEdit = static_cast<CEdit*>(GetDlgItem(IDC_TS_INTERVAL));
    intervalEdit->SetLimitText(monitor ? 3 : 4);
    static_cast<CSpinButtonCtrl*>(GetDlgItem(IDC_TS_INTERVAL_SPIN))
        ->SetRange32(0, SetupIntervalMaximum(traceMode));
    SetDlgItemText(IDC_TS_RANGE, monitor ? "(1~500)" : "(1~1250)");
    if (monitor) {
        Combo(*this, IDC_TS_CHANNEL_COUNT)->SetCurSel(1);
        GetDlgItem(IDC_TS_CHANNEL_COUNT)->EnableWindow(FALSE);
        channelCountMode = 1;
        GetDlgItem(IDC_TS_TRIGGER_SOURCE)->EnableWindow(FALSE);
        OnCountChange();
        return;
    }
    GetDlgItem(IDC_TS_CHANNEL_COUNT)->EnableWindow(TRUE);
    GetDlgItem(IDC_TS_TRIGGER_SOURCE)->EnableWindow(TRUE);
    OnCountChange();
}

void CTraceSetupDlg::OnCountChange() {
    channelCountMode =
        traceMode == TraceModeMonitor ? 1 : std::max(0, Combo(*this, IDC_TS_CHANNEL_COUNT)->GetCurSel());
    if (!eight()) {
        // Of channels 1..3 only the first long-word source stays.
        bool seen = false;
        for (size_t ch = 0; ch < 3; ++ch) {
            if (!IsWideSource(codes[ch]))
                continue;
            if (seen) {
                codes[ch] = 0;
                SelectSource(static_cast<int>(ch));
            }
            seen = true;
        }
        // Channel 4 of four carries the high words of channels 1..3 and has none of its own, so a
        // 32-bit source there would lose its upper half: the choice is given up, and said so.
        if (IsWideSource(codes[3])) {
            codes[3] = 0;
            SelectSource(3);
            if (opened_)
                ShowMessage(LoadResString(IDS_TS_LONG_WORD));
        }
        if (triggerSource > 4)
            triggerSource = 0;
    }
    FillTriggerSources();
    points = SetupPoints(traceMode, eight());
    SetDlgItemText(IDC_TS_TIME_UNIT, traceMode == TraceModeMonitor
                                         ? (monitorUnitMs == 1 ? "*1 ms =" : "*10 ms =")
                                         : (eight() ? "*100us =" : "*50us ="));
    ShowTimes();
    UpdateTriggerLevelRange();
}

void CTraceSetupDlg::OnTriggerSourceChange() {
    triggerSource = std::max(0, Combo(*this, IDC_TS_TRIGGER_SOURCE)->GetCurSel());
    UpdateTriggerLevelRange();
}

void CTraceSetupDlg::UpdateTriggerLevelRange() {
    const int source =
        triggerSource >= 1 && triggerSource <= 8 ? codes[static_cast<size_t>(triggerSource - 1)] : 0;
    range_ = TriggerRangeFor(source, traceMode == TraceModeMonitor, linearMotor, highVoltage);
    if (range_.editLimit > 0)
        static_cast<CEdit*>(GetDlgItem(IDC_TS_LEVEL))->SetLimitText(static_cast<UINT>(range_.editLimit));
    SetDlgItemText(IDC_TS_LEVEL_RANGE, range_.text);
    GetDlgItem(IDC_TS_LEVEL)->EnableWindow(range_.levelEnabled);
    GetDlgItem(IDC_TS_LEVEL_SPIN)->EnableWindow(range_.levelEnabled);
    GetDlgItem(IDC_TS_EDGE)->EnableWindow(range_.edgeEnabled);
    GetDlgItem(IDC_TS_POSITION)->EnableWindow(range_.edgeEnabled);
    static_cast<CSpinButtonCtrl*>(GetDlgItem(IDC_TS_LEVEL_SPIN))->SetRange32(range_.minimum, range_.maximum);
    triggerLevel = LevelWithin(range_, triggerLevel);
    if (range_.maximum > range_.minimum)
        triggerLevel = std::clamp(triggerLevel, range_.minimum, range_.maximum);
    settingText_ = true;
    SetDlgItemText(IDC_TS_LEVEL, Format("%d", triggerLevel));
    settingText_ = false;
    EnableChannelRows();
}

void CTraceSetupDlg::EnableChannel(int channel, bool enable) {
    const size_t c = static_cast<size_t>(channel);
    for (int id : {TraceSetupSourceCombos[c], TraceSetupColourCombos[c], TraceSetupReverseChecks[c]})
        GetDlgItem(id)->EnableWindow(enable);
}

void CTraceSetupDlg::EnableChannelRows() {
    if (eight()) {
        const int wide = CountWideChannels(codes, -1);
        EnableChannel(3, true);
        EnableChannel(4, true);
        if (wide <= 3) {
            EnableChannel(5, wide < 3);
            EnableChannel(6, wide < 2);
            EnableChannel(7, wide < 1);
        }
        return;
    }
    const std::array<int, 8> firstThree{codes[0], codes[1], codes[2], 0, 0, 0, 0, 0};
    EnableChannel(3, CountWideChannels(firstThree, -1) == 0);
    for (int ch = 4; ch < 8; ++ch)
        EnableChannel(ch, false);
}

void CTraceSetupDlg::ShowTimes() {
    const double unitMs = traceMode == TraceModeMonitor ? monitorUnitMs : (eight() ? 0.1 : 0.05);
    const double oneInterval = interval * unitMs;
    SetDlgItemText(IDC_TS_INTERVAL_MS, Format(traceMode == TraceModeMonitor ? "%.1f" : "%.2f", oneInterval));
    SetDlgItemText(IDC_TS_POINTS, Format("%d", points));
    SetDlgItemText(IDC_TS_RECORD_MS, Format("%.2f", points * oneInterval));
    timeBase = SetupTimeBase(interval, traceMode, eight());
}

void CTraceSetupDlg::OnIntervalChange() {
    if (settingText_)
        return;
    bool ok = false;
    const int value = TextValue(*this, IDC_TS_INTERVAL, &ok);
    if (ok && value > SetupIntervalMaximum(traceMode)) {
        settingText_ = true;
        SetDlgItemText(IDC_TS_INTERVAL, Format("%d", interval)); // a value past the maximum is not taken
        settingText_ = false;
        return;
    }
    if (ok && value >= 1) {
        interval = value;
        ShowTimes();
    }
}

void CTraceSetupDlg::OnLevelChange() {
    if (settingText_)
        return;
    bool ok = false;
    const int value = TextValue(*this, IDC_TS_LEVEL, &ok);
    if (ok && value >= range_.minimum && value <= range_.maximum) {
        triggerLevel = value;
        return;
    }
    const std::string text = GetDlgItemText(IDC_TS_LEVEL);
    if (text.empty() || text == "-")
        return; // still typing
    settingText_ = true;
    SetDlgItemText(IDC_TS_LEVEL, Format("%d", triggerLevel));
    settingText_ = false;
}

void CTraceSetupDlg::OnPositionChange() {
    if (settingText_)
        return;
    bool ok = false;
    const int value = TextValue(*this, IDC_TS_POSITION, &ok);
    if (ok && value >= 0 && value <= 51) {
        triggerPosition = value;
        return;
    }
    if (GetDlgItemText(IDC_TS_POSITION).empty())
        return;
    settingText_ = true;
    SetDlgItemText(IDC_TS_POSITION, Format("%d", triggerPosition));
    settingText_ = false;
}

void CTraceSetupDlg::OnOK() {
    bool ok = false;
    const int value = TextValue(*this, IDC_TS_INTERVAL, &ok);
    const int maximum = SetupIntervalMaximum(traceMode);
    if (!ok || value < 1 || value > maximum) {
        GetDlgItem(IDC_TS_INTERVAL)->SetFocus();
        static_cast<CEdit*>(GetDlgItem(IDC_TS_INTERVAL))->SetSel(0, -1);
        ShowMessage(Format("Over Range!!\n\n(1~%d)\n", maximum));
        return;
    }
    interval = value;
    for (size_t ch = 0; ch < 8; ++ch)
        reverse[ch] = IsDlgButtonChecked(TraceSetupReverseChecks[ch]) != 0 ? 1 : 0;
    triggerEdge = std::max(0, Combo(*this, IDC_TS_EDGE)->GetCurSel());
    TakeColourCombos();
    ShowTimes();
    CDialog::OnOK();
}
