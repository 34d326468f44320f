#pragma once
// COnLineParaSetDlg: the modal "Set" dialog in which the user decides which parameters the editor's
// eight rows show: one list row per slot (code, title, unit, setting range, default), a Set and a
// Clear button per slot. It works on its own copies; the editor takes them back only after OK.
#include "framework/ui/Dialog.h"
#include "framework/ui/ListCtrl.h"
#include "online/OnlineRows.h"
#include "online/ui/OnlineViewLink.h"

#include <array>
#include <cstdint>
#include <string>

class COnLineParaSetDlg : public CDialog {
public:
    explicit COnLineParaSetDlg(IOnlineViewLink& view, CWnd* parent = nullptr);

    const MessageMap* GetMessageMap() const override;
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;

    // Fills slot (1..8)'s list row and members for code from the catalogue and the document. A code
    // whose limits are unknown gets an empty title, no limits and no range.
    void RefreshSlotRow(int slot, const std::string& code);
    // Asks, and on Yes empties the slot; true when it was cleared.
    bool ConfirmClearSlot(int slot, const std::string& code);
    void ClearSlotRow(int slot);
    void OnSetSlot(int slot);
    void OnClearSlot(int slot);

    // Indexed by slot - 1.
    std::array<std::string, OnlineRowCount> SlotCode{};
    std::array<std::string, OnlineRowCount> SlotTitle{};
    std::array<std::string, OnlineRowCount> SlotUnit{};
    std::array<std::string, OnlineRowCount> SlotRange{};
    std::array<std::int32_t, OnlineRowCount> SlotMin{};
    std::array<std::int32_t, OnlineRowCount> SlotMax{};
    std::array<bool, OnlineRowCount> SlotLimitsKnown{};

    CListCtrl m_list;

private:
    void OnSetButton(UINT id);
    void OnClearButton(UINT id);
    void OnListDblClk(NMHDR* header, LRESULT* result);
    void OnListKeyDown(NMHDR* header, LRESULT* result);
    void EnableClear(int slot, bool enable);

    IOnlineViewLink& view_;
};
