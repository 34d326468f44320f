#pragma once
// COnlineFilterDialog: what the online notch and the online low-frequency windows share. Each row
// shows the drive's value (refreshed every second), takes a Set value with a typing guard, writes it
// with its own Write button or with all others ("Write"), and a write of the detection switch shows
// the values read at opening in the "Original" column. Every write reports what failed.
#include "framework/ui/Dialog.h"
#include "tuning/FilterRows.h"
#include "tuning/ui/TuningViewLink.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

constexpr UINT_PTR FilterRefreshTimer = 1;

class COnlineFilterDialog : public CDialog {
public:
    COnlineFilterDialog(UINT templateId, ITuningViewLink& view, const FilterTable& table);
    const MessageMap* GetMessageMap() const override;

    BOOL Create(CWnd* parent);
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override;
    void OnTimer(UINT_PTR id);
    // The view: the link opened (TRUE) or went (FALSE).
    void EnableWriteButtons(BOOL enable);
    BOOL ValidateAll();
    void OnWriteAll();
    void OnWriteRow(UINT writeId);

    // The Set value of a row as last accepted.
    int Value(const std::string& code) const;

    std::function<void()> OnClosed;

protected:
    void PostNcDestroy() override { delete this; }
    const FilterTable& table_;
    ITuningViewLink& view_;
    std::vector<int> values_;
    // The Set values as the user last typed them, the drive's values read at opening.
    std::vector<std::optional<int>> opening_;

private:
    void OnSetChange(UINT setId);
    // Reads every row into its Current static (and at opening into Set); a failed read shows "----".
    void ReadRows(bool opening);
    // The empty-means-0 rule of the rows that have it.
    void ApplyZeroRule(int row);
    // Puts a text into a row's Set edit without running its typing guard.
    void SetSetText(int row, const std::string& text);
    void ShowRangeMessage(int row);
    // One row's write; false when it was refused or there was no link.
    bool WriteRow(int row);
    void ShowOriginals();
    int RowOfSet(int setId) const;
    int RowOfWrite(int writeId) const;
    bool settingText_ = false;
};
