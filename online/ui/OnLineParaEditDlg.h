#pragma once
// COnLineParaEditDlg: the "Online Parameter" window. Up to eight parameters of the running drive in
// large digit displays, stepped digit by digit: every press is written to the drive at once, a
// refused write puts the old value back, and the values are read back every two seconds. The rows
// come from OnlineSelection, which outlives the window; values, limits and display choices are the
// window's own.
#include "controls/DialogScrollHelper.h"
#include "controls/DigitST.h"
#include "framework/ui/Dialog.h"
#include "link/InternalCode.h"
#include "online/OnlineRows.h"
#include "online/OnlineSelection.h"
#include "online/ui/OnlineViewLink.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

class CKeloServoDoc;
struct CatalogueContext;

constexpr UINT_PTR OnlineRefreshTimer = 1;
constexpr UINT OnlineRefreshPeriodMs = 2000;
// The drive register the editor refreshes the motor's maximum speed from.
constexpr int MotorMaxSpeedRegister = 0x1101;

// One row of the editor.
struct OnlineRow {
    std::string code; // empty: no parameter
    std::string name;
    std::string unit;
    std::string range;
    std::int32_t value = 0;
    std::int32_t minimum = 0;
    std::int32_t maximum = 0;
    bool active = false;
    bool limitsKnown = false;
    bool sixDigit = false;
    // The link the value was last read on (LinkEpoch); nothing when it was never read.
    std::optional<unsigned> readOnLink;
};

class COnLineParaEditDlg : public CDialog, public CInternalCode {
public:
    // The owner is the view or a jog window; the editor reaches the drive through the view's link.
    COnLineParaEditDlg(IOnlineViewLink& view, CWnd* owner);
    ~COnLineParaEditDlg() override;

    const MessageMap* GetMessageMap() const override;
    // Builds the window from template 211 as a child of the owner.
    BOOL Create();
    using CDialog::Create;
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    // Esc never closes the editor: a stray key must not end a session of live edits.
    BOOL PreTranslateMessage(MSG* msg) override;

    // Fills the eight rows from OnlineSelection (codes outside the series give empty rows), reads
    // their values when linked and sets the displays and buttons.
    void RebuildRows();
    // Which display and which buttons each row offers.
    void UpdateRowControls();
    // Reads 0x1101 and the active rows: a failed read in rows 1 to 3 ends the pass, in rows 4 to 8
    // skips only that row.
    void RefreshRowValues();
    // One parameter through the view's services, Cn008 by its read rule; nothing when not linked or
    // the read failed.
    std::optional<int> ReadParameterByName(const std::string& code);
    // Writes one parameter with the window's own protocol object; true when the drive took it.
    bool WriteParameterByName(const std::string& code, std::int32_t value);
    // True while linked; otherwise tells the user, closes the window and returns false.
    bool CheckLink();
    // Closes the window (WM_CLOSE; Close would hide the port's Close); the object deletes itself once the
    // window is gone.
    void CloseEditor();

    // The step button of a row (0..7) and digit position (0..8) was pressed.
    void StepRow(int row, int position, bool up);

    // Selection files.
    void SaveOnlineParameterFile();
    void LoadOnlineParameterFile();
    // The "Set" button: the slot set dialog over the eight rows.
    void OnSetRows();

    const OnlineRow& Row(int row) const { return rows_[static_cast<size_t>(row)]; }
    CDigitST& Display(int row, int widthIndex) {
        return displays_[static_cast<size_t>(row)][static_cast<size_t>(widthIndex)];
    }
    DialogScrollHelper& Scroller() { return *scroller_; }

protected:
    void PostNcDestroy() override;
    void OnOK() override {}
    void OnCancel() override {}

private:
    void OnTimer(UINT_PTR id);
    void OnHScroll(UINT code, UINT position, CScrollBar* bar);
    void OnVScroll(UINT code, UINT position, CScrollBar* bar);
    void OnSize(UINT type, int cx, int cy);
    void OnStepButton(UINT id);
    // What the controls cover from the client's origin: the size the scroll bars let the user reach.
    CSize ContentSize() const;

    CKeloServoDoc* Doc() const;
    CatalogueContext Context() const;
    std::string Text(int id) const;
    // Every display of a row shows the value: the one the row's flag picks first, then the others
    // from narrow to wide.
    void ShowRowValue(int row);
    // Reads a row's value into it and its displays; false when the read failed.
    bool ReadRowValue(int row);
    void ShowOverRange();
    void ShowEditFailed();
    void SetRowTexts();

    IOnlineViewLink& view_;
    CWnd* owner_;
    std::array<OnlineRow, OnlineRowCount> rows_{};
    std::array<std::array<CDigitST, OnlineDisplayWidths.size()>, OnlineRowCount> displays_;
    std::unique_ptr<DialogScrollHelper> scroller_;
    // A press or a refresh is under way: the timer leaves the drive alone meanwhile (a message box
    // of the press runs its own event loop).
    bool busy_ = false;
    bool closed_ = false;
};
