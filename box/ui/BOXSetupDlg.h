#pragma once
// CBOXSetupDlg: the modal "BOX Set" dialog. The user picks the four recorded signals with their
// colours and sign, the trigger and the interval; Write arms the drive's recorder (or, with
// "Enable" off, only disarms it); OK hands the choice back to the viewer and sends nothing.
#include "box/BoxSetupRules.h"

#include "controls/ColorComboEx.h"
#include "controls/QTRIntegerEdit.h"
#include "framework/ui/Dialog.h"
#include "framework/ui/SpinButtonCtrl.h"

#include <array>
#include <string>
#include <vector>

class CRegisterServices;

class CBOXSetupDlg : public CDialog {
public:
    explicit CBOXSetupDlg(CRegisterServices& services, CWnd* parent = nullptr);

    const MessageMap* GetMessageMap() const override;
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    void OnOK() override;

    // Write: the checks, then the requests of the plan; stops at the first that fails and says so.
    // True when every request was taken (the recorder is armed, or disarmed with "Enable" off).
    bool WriteSettings();
    void ApplyTriggerSourceRules();
    BOOL RefreshControlStates();

    std::vector<int> CodeList;
    int SampleInterval = 1;
    int TriggerLevel = 0;
    int TriggerPosition = 0;
    int LevelMax = 0, LevelMin = 0;
    int TriggerSource = 0;
    int PointsPerLine = 0;
    int SamplePeriodRaw = 100;
    std::array<int, 24> DioFunctionWords{};
    std::array<int, 4> ChannelColorIndex{0, 2, 3, 4};
    std::array<COLORREF, 4> ChannelColorValue{0x0000FF, 0x00FFFF, 0xFF0000, 0xFF00FF};
    std::array<int, 4> ChannelSignal{};
    int TriggerEdge = -1;
    std::array<int, 4> ReverseCheck{};
    int RecorderEnable = 0;
    std::string RangeText;
    std::string PositionText, IntervalText = "1", LevelText;

    CQTRIntegerEdit m_position{9}, m_level{9}, m_interval{9};
    CSpinButtonCtrl m_levelSpin, m_intervalSpin;
    std::array<CColorComboEx, 4> m_colors;

private:
    void FillDataTypeCombo(int comboId);
    void OnChannelSignalChange(UINT id);
    void OnChannelColorChange(UINT id);
    void OnTriggerSourceChange();
    void OnIntervalChange();
    void OnLevelChange();
    void OnPositionChange();
    void OnEnableClicked();
    void OnWrite() { WriteSettings(); }
    // The interval check of Write and OK: false (after the message) when outside 1..1250.
    bool IntervalAccepted();
    void RefreshIntervalTexts();
    // Puts an edit back to text after a refused keystroke.
    void UndoKeystroke(int editId, const std::string& text);
    int SelectedCode(int comboId);

    CRegisterServices& services_;
    std::vector<BoxDataTypeItem> items_;
    // Text changes before and during the set-up are the dialog's own, not the user's.
    bool refreshing_ = true;
};
