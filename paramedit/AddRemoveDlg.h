#pragma once
// CAddRemoveDlg: the modal "Add/Remove" dialog that builds the custom parameter list: the series'
// parameters not in the list on the left, the list in its chosen order on the right. The caller sets
// m_list, runs the dialog and on IDOK reads m_list back. The rules live in DefinedList.h.
#include "catalogue/CatalogueContext.h"
#include "framework/ui/Dialog.h"
#include "framework/ui/ListBox.h"
#include "paramedit/DefinedList.h"

#include <memory>
#include <string>

class CAddRemoveDlg : public CDialog {
public:
    explicit CAddRemoveDlg(const CatalogueContext& context, CWnd* parent = nullptr);
    ~CAddRemoveDlg() override;
    const MessageMap* GetMessageMap() const override;

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    void OnOK() override;

    DefinedList m_list;
    CListBox m_all;
    CListBox m_custom;

    // "Cn001: <title>".
    std::string EntryText(const std::string& code) const;

protected:
    void OnAdd();
    void OnRemove();
    void OnAddAll();
    void OnRemoveAll();
    void OnUp();
    void OnDown();
    void OnAllSelChange();
    void OnCustomSelChange();

private:
    void Show();
    CatalogueContext context_;
    std::unique_ptr<AddRemoveModel> model_;
};
