#pragma once
// The three pages of the self-built motor dialog: rotary motor (CRotateDlg), linear motor
// (CLinerPageDlg) and the rotary motor's record in the encoder (CLinearPara1Dlg). They are child
// dialogs of CLinearParaDlg, which keeps the values; a page only holds its controls, with the masked
// decimal fields in place of plain edits.
#include "controls/QTRMaskedDOTEdit.h"
#include "framework/ui/Dialog.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

class CMotorPage : public CDialog {
public:
    // Builds the page as a child of `parent`: the templates are plain dialogs, so that they can
    // also be shown (and their texts measured) on their own.
    BOOL Create(UINT templateId, CWnd* parent) override;
    BOOL OnInitDialog() override;

    // The selected entry of a combo (-1: none), and a new selection (an index outside the list
    // leaves none).
    int ComboIndex(int id) const;
    void SetComboIndex(int id, int index);

protected:
    CMotorPage(UINT templateId, std::vector<std::pair<int, std::string>> maskedFields);

private:
    std::vector<std::pair<int, std::string>> maskedFields_;
    std::vector<std::unique_ptr<CQTRMaskedDOTEdit>> edits_;
};

class CRotateDlg : public CMotorPage {
public:
    CRotateDlg();
};

class CLinerPageDlg : public CMotorPage {
public:
    CLinerPageDlg();
};

class CLinearPara1Dlg : public CMotorPage {
public:
    CLinearPara1Dlg();
};
