#pragma once
// CCompareDlg: the modal result of a comparison: one row per flagged parameter with its code, title
// and both values, and "&Save..." to keep the whole result as a comparison archive (.cmp) or the
// flagged rows as text (.csv). The owner fills the members before DoModal.
#include "catalogue/CatalogueContext.h"
#include "framework/ui/Dialog.h"
#include "framework/ui/ListCtrl.h"
#include "paramedit/CompareResult.h"

#include <string>

class CKeloServoDoc;

class CCompareDlg : public CDialog {
public:
    explicit CCompareDlg(CWnd* parent = nullptr);
    const MessageMap* GetMessageMap() const override;

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;

    CompareResult m_result;
    // Formats and titles come from the catalogue of this context.
    CatalogueContext m_context;
    // The active document (its version text goes into the archive); without one Save does nothing.
    const CKeloServoDoc* m_document = nullptr;
    // Newer-model rows are listed only in Project Mode (the saved files always carry them).
    bool m_projectMode = false;
    CListCtrl m_list;

protected:
    void OnSave();
    void FillList();
    void AddRow(int row, const std::string& code, int group, int element);
};
