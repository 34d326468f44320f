#pragma once
// CSetParaSelDlg: the modal pick dialog for one slot of the online editor: a drop-down list of the
// codes the drive series offers, less those the other slots hold (and their qn partners). The list
// is worked out from the series and Project Mode of the moment it is built.
#include "framework/ui/ComboBox.h"
#include "framework/ui/Dialog.h"
#include "online/ParamPickList.h"

#include <array>
#include <string>
#include <vector>

class CSetParaSelDlg : public CDialog {
public:
    explicit CSetParaSelDlg(const CatalogueContext& context, CWnd* parent = nullptr);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    void OnOK() override;

    // In: the slot's current code; out after IDOK: the chosen code.
    std::string SelectedCode;
    // The other slots' codes by slot (1..8 at 0..7); the entry of the slot being set stays empty.
    std::array<std::string, 8> OtherCodes{};

    CComboBox m_combo;
    const std::vector<PickEntry>& Entries() const { return entries_; }

private:
    CatalogueContext context_;
    std::vector<PickEntry> entries_;
};
