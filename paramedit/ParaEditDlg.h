#pragma once
// CParaEditDlg: the parameter table of the connected drive series. One tab per parameter group plus
// the user's display set and the table of values that differ from their defaults; edited rows show a
// green Value cell, values read outside their range a red one. Its buttons read, write and restore
// parameters and open the special value editors. Values, limits and defaults all live in the view's
// document; the window keeps only the display set and the marks.
#include "controls/ListCtrlStyled.h"
#include "controls/TransparentStatic.h"
#include "framework/ui/Dialog.h"
#include "framework/ui/ImageList.h"
#include "framework/ui/TabCtrl.h"
#include "paramedit/CompareSelection.h"
#include "paramedit/DisplaySet.h"
#include "paramedit/ParaEditViewLink.h"
#include "paramedit/TwinParameters.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

class CKeloServoDoc;
class CTransferPass;
struct CatalogueContext;

// Timers of the window.
constexpr UINT_PTR ParaEditReadTimer = 1115; // reads all parameters once per new link
constexpr UINT ParaEditReadTimerMs = 400;
constexpr UINT_PTR ParaEditRepaintTimer = 2;

// Value cell colours (0x00BBGGRR).
constexpr COLORREF ParaEditChangedBack = 0x00F000;
constexpr COLORREF ParaEditOverRangeBack = 0x0000FF;

class CParaEditDlg : public CDialog, private TwinHost {
public:
    // The window starts from the display set, tab, Select All choice and marks the last editor left.
    explicit CParaEditDlg(IParaEditViewLink& view, CWnd* parent = nullptr);
    ~CParaEditDlg() override;

    const MessageMap* GetMessageMap() const override;
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    BOOL PreTranslateMessage(MSG* msg) override;

    // --- What the view calls ----------------------------------------------------------------------
    void UpdateDisplaySetTitle();
    void RebuildList();
    void RefreshRows();
    void ResetTable();
    // Closes the window (also Close, Esc and the close box); it deletes itself afterwards.
    void OnCancel() override;

    // --- Passes -------------------------------------------------------------------------------------
    BOOL ReadAllParameters();
    BOOL ReadCheckedParameters(int rowCount);
    // After a read pass: the parameters it could not ask for in this link mode (their values stay
    // the old ones).
    void ShowNotRead(const std::vector<std::string>& codes);
    // Within a pass the window's messages go through between the requests (FALSE when the pass must
    // end).
    BOOL ReadVersionItems(CTransferPass* pass = nullptr);
    BOOL WriteCheckedParameters(int rowCount);
    void SetCheckedToDefault(int rowCount);
    void ShowNothingSelected();
    void ShowFirmwareVersions();

    // --- Services of the table ----------------------------------------------------------------------
    bool IsValueInRange(std::string_view code, int value);
    bool GetParamLimits(std::string_view code, int& minimum, int& maximum, std::string& rangeText);
    bool GetParamValue(std::string_view code, int& value);
    void ClearCellMarks(int row, int column);
    void MarkCellChanged(int row, int column);
    void MarkCellOverRange(int row, int column);

    // --- Dependent rules on the rows ----------------------------------------------------------------
    void ApplyEditedValue(std::string_view code, int value);
    void StoreValueAndTwins(std::string_view code, int value);
    void CopyValueToTwins(std::string_view code, int value);
    void MarkTwinRows(std::string_view code, int mark);
    void SetRowMark(std::string_view code, int mark);
    void RefreshRowValue(std::string_view code, int value, int mark);
    void RefreshRowUnit(std::string_view code);
    void StoreCheckMarks();
    BOOL RefreshHnRows();

    // --- Handlers -----------------------------------------------------------------------------------
    void OnEdit();
    void OnChange();
    void OnSetDefault();
    void OnWrite();
    void OnRead();
    void OnCompare();
    void OnSelectAll();

    // State the tests and the view look at.
    CListCtrlStyled m_list;
    CTabCtrl m_tab;
    CTransparentStatic m_legend[4];
    EditorDisplaySet m_displaySet;
    int m_currentTab = 0;
    int m_selectAll = 0;
    int m_firstRead = 0;
    ParamMarkTables m_marks;
    std::vector<EditorTab> m_tabs;
    EditorTabPresence m_presence;
    // The comparison choices, kept from one Compare command to the next.
    CompareChoices m_compareChoices;

    // The row showing a code, -1 when none does.
    int FindRow(std::string_view code) const;

protected:
    void PostNcDestroy() override;
    void OnOK() override {}

private:
    // TwinHost
    bool HasDocument() const override;
    int DocumentValue(std::string_view code) const override;
    void SetDocumentValue(std::string_view code, int value) override;
    void SetDocumentModified() override;
    ParamMarkTables& Marks() override { return m_marks; }
    void ShowRowValue(std::string_view code, int value) override;
    void SetRowChanged(std::string_view code, bool changed) override;
    void CheckRow(std::string_view code) override;

    void OnTabChange(NMHDR* header, LRESULT* result);
    void OnListDoubleClick(NMHDR* header, LRESULT* result);
    void OnListIgnored(NMHDR* header, LRESULT* result);
    void OnHeaderEndTrack(NMHDR* header, LRESULT* result);
    void OnTimer(UINT_PTR id);
    void OnSize(UINT type, int cx, int cy);
    void OnClose() { OnCancel(); }

    CKeloServoDoc* Doc() const;
    CatalogueContext Context() const;
    std::string Text(int id) const;
    bool CheckConnected();
    void InsertTabs();
    void RemoveRowsAndColumns();
    void FillRows();
    void FillRow(int row, const std::string& code, bool newRow);
    void RewriteRows();
    void SetColumnWidths(int codeWidth);
    void SetCellText(int row, int column, const std::string& text);
    bool OnLastOrMAbTab() const;
    int CheckedRowCount(int rowCount) const;
    // The row count for a button that acts on checked rows; 0 for an empty table or, after telling
    // the user, when no row is checked.
    int RowsToHandle();
    // The start of a pass over the checked rows: needs a link (told to the user when missing) and a
    // document; rowCount is clamped to the table.
    CKeloServoDoc* CheckedPassDocument(int& rowCount);
    // A transfer pass holds the line (this window's or another's).
    bool PassOnTheLine() const;
    std::string RowCode(int row) const;
    void SetValueCell(int row, std::string_view code, int value);
    void MarkCell(int row, int column, COLORREF back, COLORREF selectedText);
    void ApplyRigidity(int level);
    void MirrorQnTriple(std::string_view code, int value);
    void StoreReadValue(std::string_view code, int value, bool readAll);

    IParaEditViewLink& view_;
    CImageList images_;
    int rememberedModel_ = 0;
    int rememberedMaxSpeed_ = 0;
    TwinRules twins_;
};
