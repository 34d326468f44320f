#include "box/ui/BOXSetupDlg.h"

#include "trace/GraphServices.h"
#include "trace/TraceRecords.h"

#include "catalogue/DocumentGlobals.h"
#include "catalogue/KeloServoDoc.h"
#include "catalogue/ParamAttributes.h"
#include "controls/QTREdit.h"
#include "framework/core/Format.h"

#include "framework/core/MessageSeam.h"
#include "framework/core/ResourceModule.h"
#include "framework/ui/ComboBox.h"
#include "framework/ui/Edit.h"
#include "link/LinkState.h"
#include "link/services/RegisterServices.h"
#include "link/services/TransferPass.h"
#include "resources/ids/box.h"
#include <algorithm>

namespace {

constexpr std::array<int, 4> TypeCombos = {IDC_BS_TYPE1, IDC_BS_TYPE2, IDC_BS_TYPE3, IDC_BS_TYPE4};
constexpr std::array<int, 4> ColorCombos = {IDC_BS_COLOR1, IDC_BS_COLOR2, IDC_BS_COLOR3, IDC_BS_COLOR4};
constexpr std::array<int, 4> ReverseChecks = {IDC_BS_REVERSE1, IDC_BS_REVERSE2, IDC_BS_REVERSE3,
                                              IDC_BS_REVERSE4};

} // namespace

CBOXSetupDlg::CBOXSetupDlg(CRegisterServices& services, CWnd* parent)
    : CDialog(IDD_BOX_SET, parent), services_(services) {}

const MessageMap* CBOXSetupDlg::GetMessageMap() const {
    static const MessageMap map(
        CDialog::GetMessageMap(),
        {
            msg::ControlRange(CBN_SELCHANGE, IDC_BS_TYPE1, IDC_BS_TYPE4,
                              &CBOXSetupDlg::OnChannelSignalChange),
            msg::ControlRange(CBN_SELCHANGE, IDC_BS_COLOR1, IDC_BS_COLOR4,
                              &CBOXSetupDlg::OnChannelColorChange),
            msg::Control(CBN_SELCHANGE, IDC_BS_TRIGGER_SOURCE, &CBOXSetupDlg::OnTriggerSourceChange),
            msg::Control(EN_CHANGE, IDC_BS_INTERVAL, &CBOXSetupDlg::OnIntervalChange),
            msg::Control(EN_CHANGE, IDC_BS_LEVEL, &CBOXSetupDlg::OnLevelChange),
            msg::Control(EN_CHANGE, IDC_BS_POSITION, &CBOXSetupDlg::OnPositionChange),
            msg::Command(IDC_BS_ENABLE, &CBOXSetupDlg::OnEnableClicked),
            msg::Command(IDC_BS_WRITE, &CBOXSetupDlg::OnWrite),
        });
    return &map;
}

void CBOXSetupDlg::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_BS_POSITION, m_position);
    DDX_Control(dx, IDC_BS_LEVEL, m_level);
    DDX_Control(dx, IDC_BS_INTERVAL, m_interval);
    DDX_Control(dx, IDC_BS_LEVEL_SPIN, m_levelSpin);
    DDX_Control(dx, IDC_BS_INTERVAL_SPIN, m_intervalSpin);
    for (size_t k = 0; k < 4; ++k)
        DDX_Control(dx, ColorCombos[k], m_colors[k]);
    DDX_Text(dx, IDC_BS_INTERVAL_RANGE, RangeText);
    DDX_CBIndex(dx, IDC_BS_EDGE, TriggerEdge);
    DDX_Text(dx, IDC_BS_POSITION, PositionText);
    DDX_Text(dx, IDC_BS_INTERVAL, IntervalText);
    DDX_Text(dx, IDC_BS_LEVEL, LevelText);
    for (size_t k = 0; k < 4; ++k)
        DDX_Check(dx, ReverseChecks[k], ReverseCheck[k]);
    DDX_Check(dx, IDC_BS_ENABLE, RecorderEnable);
}

BOOL CBOXSetupDlg::OnInitDialog() {
    refreshing_ = true;
    CDialog::OnInitDialog();
    if (!services_.Document) {
        refreshing_ = false;
        return FALSE;
    }
    for (int id : {IDC_BS_TRIGGER_SOURCE, IDC_BS_LEVEL, IDC_BS_LEVEL_SPIN, IDC_BS_EDGE, IDC_BS_POSITION})
        GetDlgItem(id)->EnableWindow(TRUE);
    RangeText = "(1~1250)";
    GetDlgItem(IDC_BS_INTERVAL_RANGE)->SetWindowText(RangeText);
    PointsPerLine = BoxPointsPerLine;
    GetDlgItem(IDC_BS_POINTS)->SetWindowText("512");
    GetDlgItem(IDC_BS_INTERVAL_UNIT)->SetWindowText("*100us =");
    items_ = BoxDataTypeList(DioFunctionWords);
    for (size_t k = 0; k < 4; ++k) {
        FillDataTypeCombo(TypeCombos[k]);
        static_cast<CComboBox*>(GetDlgItem(TypeCombos[k]))
            ->SetCurSel(BoxDataTypeItemOf(items_, ChannelSignal[k]));
        m_colors[k].SetCurSel(ChannelColorIndex[k]);
        ChannelColorValue[k] = ChannelColor(static_cast<unsigned>(ChannelColorIndex[k]));
    }
    m_interval.LimitText(4);
    m_intervalSpin.SetBuddy(&m_interval);
    m_intervalSpin.SetRange32(0, BoxIntervalMax);
    m_intervalSpin.SetPos32(SampleInterval);
    IntervalText = Format("%d", SampleInterval);
    m_interval.SetWindowText(IntervalText);
    SamplePeriodRaw = SampleInterval * 10000;
    RefreshIntervalTexts();
    FillDataTypeCombo(IDC_BS_TRIGGER_SOURCE);
    static_cast<CComboBox*>(GetDlgItem(IDC_BS_TRIGGER_SOURCE))
        ->SetCurSel(BoxDataTypeItemOf(items_, TriggerSource));
    LevelText = Format("%d", TriggerLevel);
    m_level.LimitText(4);
    m_levelSpin.SetBuddy(&m_level);
    PositionText = Format("%d", TriggerPosition);
    m_position.SetWindowText(PositionText);
    // A failed read leaves the enable as the viewer found it (never another register's value).
    if (const std::optional<int> enabled = services_.ReadDriveRegister(BoxEnableRegister))
        RecorderEnable = *enabled != 0 ? 1 : 0;
    ApplyTriggerSourceRules();
    RefreshControlStates();
    refreshing_ = false;
    return TRUE;
}

void CBOXSetupDlg::FillDataTypeCombo(int comboId) {
    auto* combo = static_cast<CComboBox*>(GetDlgItem(comboId));
    combo->ResetContent();
    CodeList.clear();
    for (const BoxDataTypeItem& item : items_) {
        combo->AddString(item.text);
        CodeList.push_back(item.code);
    }
}

int CBOXSetupDlg::SelectedCode(int comboId) {
    const int selected = static_cast<CComboBox*>(GetDlgItem(comboId))->GetCurSel();
    return selected >= 0 && static_cast<size_t>(selected) < CodeList.size()
               ? CodeList[static_cast<size_t>(selected)]
               : 0;
}

void CBOXSetupDlg::OnChannelSignalChange(UINT id) {
    ChannelSignal[id - IDC_BS_TYPE1] = SelectedCode(static_cast<int>(id));
}

void CBOXSetupDlg::OnChannelColorChange(UINT id) {
    const size_t k = id - IDC_BS_COLOR1;
    ChannelColorIndex[k] = m_colors[k].GetCurSel();
    ChannelColorValue[k] = ChannelColor(static_cast<unsigned>(ChannelColorIndex[k]));
}

void CBOXSetupDlg::OnTriggerSourceChange() {
    TriggerSource = SelectedCode(IDC_BS_TRIGGER_SOURCE);
    ApplyTriggerSourceRules();
}

void CBOXSetupDlg::ApplyTriggerSourceRules() {
    CKeloServoDoc* doc = services_.Document;
    const bool wide = doc && SeriesHasFeature(doc->Context());
    const BoxLevelRule rule = BoxTriggerLevelRule(TriggerSource, RatedSpeed, wide);
    if (rule.levelMin)
        LevelMin = *rule.levelMin;
    LevelMax = rule.levelMax;
    if (rule.textLimit > 0)
        m_level.LimitText(rule.textLimit);
    GetDlgItem(IDC_BS_LEVEL_UNIT)->SetWindowText(rule.unitText);
    if (BoxLevelForcedToZero(rule, TriggerLevel))
        TriggerLevel = 0;
    m_level.EnableWindow(rule.levelEnabled);
    m_levelSpin.EnableWindow(rule.levelEnabled);
    GetDlgItem(IDC_BS_EDGE)->EnableWindow(rule.edgeAndPositionEnabled);
    m_position.EnableWindow(rule.edgeAndPositionEnabled);
    // DI-5 and signal 47 take the place of another channel's record words.
    const bool five = ChannelSignal[0] == 5 || ChannelSignal[1] == 5 || ChannelSignal[2] == 5;
    for (int id : {IDC_BS_TYPE4, IDC_BS_COLOR4, IDC_BS_REVERSE4})
        GetDlgItem(id)->EnableWindow(!five);
    const bool debug = ChannelSignal[0] == 47 || ChannelSignal[1] == 47 || ChannelSignal[3] == 47;
    for (int id : {IDC_BS_TYPE3, IDC_BS_COLOR3, IDC_BS_REVERSE3})
        GetDlgItem(id)->EnableWindow(!debug);
    m_levelSpin.SetRange32(LevelMin, LevelMax);
    m_levelSpin.SetPos32(TriggerLevel);
    LevelText = Format("%d", TriggerLevel);
    const bool was = refreshing_;
    refreshing_ = true;
    UpdateData(FALSE);
    refreshing_ = was;
}

BOOL CBOXSetupDlg::RefreshControlStates() {
    UpdateData(TRUE);
    for (int id = IDC_BS_TYPE1; id <= IDC_BS_COLOR4; ++id)
        GetDlgItem(id)->EnableWindow(TRUE);
    for (int id : {IDC_BS_TRIGGER_SOURCE, IDC_BS_LEVEL, IDC_BS_EDGE, IDC_BS_INTERVAL, IDC_BS_POSITION})
        GetDlgItem(id)->EnableWindow(RecorderEnable != 0);
    return TRUE;
}

void CBOXSetupDlg::RefreshIntervalTexts() {
    GetDlgItem(IDC_BS_INTERVAL_MS)->SetWindowText(BoxIntervalText(SampleInterval));
    GetDlgItem(IDC_BS_RECORD_TIME)->SetWindowText(BoxRecordTimeText(SampleInterval, PointsPerLine));
}

void CBOXSetupDlg::UndoKeystroke(int editId, const std::string& text) {
    auto* edit = static_cast<CEdit*>(GetDlgItem(editId));
    DWORD selection = edit->GetSel();
    const bool was = refreshing_;
    refreshing_ = true;
    edit->SetWindowText(text);
    refreshing_ = was;
    const int start = std::max(0, static_cast<int>(LOWORD(selection)) - 1);
    const int end = std::max(0, static_cast<int>(HIWORD(selection)) - 1);
    edit->SetSel(start, end);
}

void CBOXSetupDlg::OnIntervalChange() {
    if (refreshing_)
        return;
    const int previous = SampleInterval;
    const std::string previousText = IntervalText;
    UpdateData(TRUE);
    const int value = static_cast<int>(GetWindowInt(&m_interval));
    if (value > BoxIntervalMax) {
        SampleInterval = previous;
        IntervalText = previousText;
        UndoKeystroke(IDC_BS_INTERVAL, previousText);
        return;
    }
    SampleInterval = value;
    if (value >= 1 && services_.Document) {
        SamplePeriodRaw = value * 10000;
        RefreshIntervalTexts();
    }
}

void CBOXSetupDlg::OnLevelChange() {
    if (refreshing_)
        return;
    const int previous = TriggerLevel;
    UpdateData(TRUE);
    const int value = static_cast<int>(GetWindowInt(&m_level));
    if (value < LevelMin || value > LevelMax) {
        TriggerLevel = previous;
        LevelText = Format("%d", previous);
        UndoKeystroke(IDC_BS_LEVEL, LevelText);
        return;
    }
    TriggerLevel = value;
}

void CBOXSetupDlg::OnPositionChange() {
    if (refreshing_)
        return;
    const int previous = TriggerPosition;
    const std::string previousText = PositionText;
    UpdateData(TRUE);
    const int value = static_cast<int>(GetWindowInt(&m_position));
    if (value < 0 || value > BoxPositionMax) {
        TriggerPosition = previous;
        PositionText = previousText;
        UndoKeystroke(IDC_BS_POSITION, previousText);
        return;
    }
    TriggerPosition = value;
}

void CBOXSetupDlg::OnEnableClicked() {
    UpdateData(TRUE);
    SampleInterval = static_cast<int>(GetWindowInt(&m_interval));
    if (SampleInterval < 1) {
        SampleInterval = 1;
        IntervalText = "1";
        m_interval.SetWindowText("1");
    }
    RefreshControlStates();
}

bool CBOXSetupDlg::IntervalAccepted() {
    if (SampleInterval >= 1 && SampleInterval <= BoxIntervalMax)
        return true;
    m_interval.SetFocus();
    m_interval.SetSel(0, -1);
    ShowMessage(LoadResString(61551) + Format("(1~%d)\n", BoxIntervalMax), "", MB_OK);
    return false;
}

bool CBOXSetupDlg::WriteSettings() {
    UpdateData(TRUE);
    if (!services_.Document)
        return false;
    SampleInterval = static_cast<int>(GetWindowInt(&m_interval));
    if (!IntervalAccepted())
        return false;
    const bool enable = RecorderEnable != 0;
    if (enable && HasSecondWideType(ChannelSignal)) {
        ShowMessage(LoadResString(IDS_BOX_SECOND_WIDE), "", MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    const BoxRecorderSettings settings{TriggerSource, TriggerPosition, TriggerLevel, std::max(TriggerEdge, 0),
                                       SampleInterval};
    CBusyHold busy(services_);
    for (const BoxWriteStep& step : BoxWritePlan(settings, enable)) {
        bool taken = false;
        if (step.words.size() == 1) {
            taken = services_.WriteDriveRegister(step.words[0].first, step.words[0].second) == 1;
        } else {
            const uint16_t addresses[2] = {step.words[0].first, step.words[1].first};
            const int values[2] = {step.words[0].second, step.words[1].second};
            char frame[20];
            char reply[4] = {};
            CInternalCode::BuildWriteWords(frame, 2, addresses, values);
            taken = ConnectedFlag != 0 && services_.SendCommand(frame, 20, reply, 1) == ReplyWritten;
        }
        if (!taken) {
            // Nothing after a failed step is sent: the arming comes only after all the rest.
            ShowMessage(Format(LoadResString(IDS_BOX_WRITE_FAILED).c_str(), step.what.c_str()), "",
                        MB_OK | MB_ICONSTOP);
            return false;
        }
    }
    return true;
}

void CBOXSetupDlg::OnOK() {
    SampleInterval = static_cast<int>(GetWindowInt(&m_interval));
    if (!IntervalAccepted())
        return;
    UpdateData(TRUE);
    // The colour lists keep their selection changes to themselves: take what they show now.
    for (int id : ColorCombos)
        OnChannelColorChange(static_cast<UINT>(id));
    SamplePeriodRaw = SampleInterval * 10000;
    if (HasSecondWideType(ChannelSignal)) {
        ShowMessage(LoadResString(IDS_BOX_SECOND_WIDE), "", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    CDialog::OnOK();
}
