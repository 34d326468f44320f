#pragma once
// CParaListDialog: the modal "Trace Parameter" list (template 6143). Shows the drive parameters
// captured with the current recording; it edits nothing and does not talk to the drive.
#include "catalogue/CatalogueContext.h"
#include "framework/ui/Dialog.h"
#include "framework/ui/ListCtrl.h"
#include "trace/ParameterSnapshot.h"

#include <optional>

class CParaListDialog : public CDialogEx {
public:
    // context: the document's catalogue context; without one (no document) the list stays empty.
    CParaListDialog(const ParameterSnapshot& snapshot, std::optional<CatalogueContext> context,
                    CWnd* parent = nullptr);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    CListCtrl& List() { return list_; }

private:
    ParameterSnapshot snapshot_;
    std::optional<CatalogueContext> context_;
    CListCtrl list_;
};
