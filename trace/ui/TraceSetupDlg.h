#pragma once
// CTraceSetupDlg: the modal "Trace Setting" dialog. It edits how the drive records (mode, channel
// count, sources, colours, signs, interval, trigger) and checks the values; it never talks to the
// drive. The opener fills the values before DoModal and reads them after IDOK.
#include "controls/ColorComboEx.h"
#include "controls/ColorStatic.h"
#include "framework/ui/Dialog.h"
#include "trace/TraceSetupRules.h"

#include <array>
#include <string>
#include <utility>
#include <vector>

class CTraceSetupDlg : public CDialog {
public:
    explicit CTraceSetupDlg(CWnd* parent = nullptr);
    const MessageMap* GetMessageMap() const override;
    BOOL OnInitDialog() override;
    void OnOK() override;

    // The values (filled by the opener, read after IDOK).
    int traceMode = 0;
    int channelCountMode = 1;
    std::array<int, 8> codes{};
    std::array<int, 8> colourIndices{};
    std::array<COLORREF, 8> colours{};
    std::array<int, 8> reverse{};
    std::array<int, 24> dioCodes{};
    int interval = 1;
    int triggerSource = 0;
    int triggerLevel = 0;
    int triggerEdge = 0;
    int triggerPosition = 0;
    int points = 1024;
    int timeBase = 10000;
    // What the offered sources depend on.
    bool documentPresent = true;
    bool debugMode = false;
    bool extendedSources = false; // the drive offers the load-rate and encoder sources
    bool linearMotor = false;
    bool highVoltage = false;
    int monitorUnitMs = 1;

    // The source codes behind the entries of a source combo, in entry order.
    const std::vector<int>& SourceCodes() const { return sourceCodes_; }

private:
    void FillSourceList(int channel);
    void SelectSource(int channel);
    void OnSourceChange(UINT id);
    void TakeColourCombos();
    void OnSwatchClick(UINT id);
    void ShowSwatch(size_t channel);
    void OnModeChange();
    void OnCountChange();
    void OnTriggerSourceChange();
    void OnLevelChange();
    void OnPositionChange();
    void OnIntervalChange();
    void FillTriggerSources();
    void UpdateTriggerLevelRange();
    void EnableChannelRows();
    void EnableChannel(int channel, bool enable);
    void ShowTimes();
    int ChannelOfSourceCombo(UINT id) const;
    bool eight() const { return channelCountMode == 1; }

    std::vector<std::pair<int, std::string>> entries_;
    std::vector<int> sourceCodes_;
    std::array<CColorComboEx, 8> colourCombos_;
    std::array<CColorStatic, 8> swatches_;
    TriggerLevelRange range_;
    bool settingText_ = false;
    bool opened_ = false; // OnInitDialog has run: a choice given up is then told to the user
};
