#pragma once
// CMonUnAPDlg: the "Display Parameter (Un-xx)" window: 20 rows, each a status item of the drive
// (an Un code, in Project Mode also an onU code) with its name, live value and unit. Rows are
// switched on and off with their check boxes; only rows that are on are read by the monitor cycle.
// The row choices go to and come from a selection file (.unp); the shown values export as CSV.
#include "catalogue/CatalogueContext.h"
#include "catalogue/ParamTexts.h"
#include "framework/ui/Button.h"
#include "framework/ui/ComboBox.h"
#include "shell/UnSelectionFile.h"
#include "shell/monitor/MonitorWindow.h"

#include <array>
#include <string>

class CKeloServoDoc;

// What outlives the window: the combo index and code of each row (the settings file keeps the
// indexes) and the view's copy of the row switches. The view owns one and hands it to each window.
struct UnListState {
    UnListState();
    std::array<int, UnRowCount> MonitorUnSet;
    UnCodes MonitorUnCodes;
    std::array<int, UnRowCount> UnRowEnableFlags{};
};

class CMonUnAPDlg : public CMonitorWindow, public IMonitorListSink {
public:
    static constexpr UINT IDD = 279;

    // doc: the document whose series and motor decide which codes are offered and their units (may
    // be null: the program's series is used).
    CMonUnAPDlg(CWnd* owner, CMonitorReaders& readers, UnListState& state, const CKeloServoDoc* doc,
                StringLoader load = ResourceStringLoader());
    ~CMonUnAPDlg() override;

    const MessageMap* GetMessageMap() const override;
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;

    // IMonitorListSink.
    int RowItemIndex(int row) const override { return GetRowItemIndex(row); }
    bool RowEnabled(int row) const override;
    void SetRowTexts(const std::array<std::string, MonitorRowCount>& texts) override;

    // Global parameter index of the code shown in the row's combo; 0 when it shows none.
    int GetRowItemIndex(int row) const;
    // The code shown in the row's combo.
    std::string RowCode(int row) const;
    int RowSelection(int row) const { return m_rowSelection[row]; }

    // The buttons' work, also reachable without a click.
    void OnClearRows();
    void OnAllRows();
    void OnSaveSet();
    void OnOpenSet();
    void OnSaveData();

    std::array<int, UnRowCount> UnRowEnableFlags{};

protected:
    void Register() override;
    // Keeps the row choices and switches in the program-wide state.
    void Leaving() override;

private:
    void OnRowCode(UINT id);
    void OnRowCheck(UINT id);
    HBRUSH OnCtlColor(CDC* dc, CWnd* control, UINT kind);
    // Name and unit of the row's code; an empty combo falls back to item `row`.
    void RefreshRow(int row);
    void ClearRowValue(int row);
    void EnableRowName(int row);
    static int UnitId(int row);

    UnListState& m_state;
    CatalogueContext m_context;
    StringLoader m_load;
    std::array<int, UnRowCount> m_rowSelection;
    std::array<std::string, UnRowCount> m_valueTexts;
    std::array<CComboBox, UnRowCount> m_combos;
};
