#include "paramedit/AddRemoveDlg.h"

#include "catalogue/ParamAttributes.h"
#include "catalogue/ParamTexts.h"
#include "resources/ids/paradialogs.h"

#include <algorithm>
#include <vector>

CAddRemoveDlg::CAddRemoveDlg(const CatalogueContext& context, CWnd* parent)
    : CDialog(IDD_PD_ADD_REMOVE, parent), context_(context) {}

CAddRemoveDlg::~CAddRemoveDlg() = default;

const MessageMap* CAddRemoveDlg::GetMessageMap() const {
    static const MessageMap map(
        CDialog::GetMessageMap(),
        {
            msg::Command(IDC_PD_ADD, &CAddRemoveDlg::OnAdd),
            msg::Command(IDC_PD_REMOVE, &CAddRemoveDlg::OnRemove),
            msg::Command(IDC_PD_ADD_ALL, &CAddRemoveDlg::OnAddAll),
            msg::Command(IDC_PD_REMOVE_ALL, &CAddRemoveDlg::OnRemoveAll),
            msg::Command(IDC_PD_UP, &CAddRemoveDlg::OnUp),
            msg::Command(IDC_PD_DOWN, &CAddRemoveDlg::OnDown),
            msg::Control(LBN_DBLCLK, IDC_PD_ALL_LIST, &CAddRemoveDlg::OnAdd),
            msg::Control(LBN_DBLCLK, IDC_PD_CUSTOM_LIST, &CAddRemoveDlg::OnRemove),
            msg::Control(LBN_SELCHANGE, IDC_PD_ALL_LIST, &CAddRemoveDlg::OnAllSelChange),
            msg::Control(LBN_SELCHANGE, IDC_PD_CUSTOM_LIST, &CAddRemoveDlg::OnCustomSelChange),
        });
    return &map;
}

void CAddRemoveDlg::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_PD_ALL_LIST, m_all);
    DDX_Control(dx, IDC_PD_CUSTOM_LIST, m_custom);
}

BOOL CAddRemoveDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    const CatalogueContext context = context_;
    model_ = std::make_unique<AddRemoveModel>(
        m_list, [context](std::string_view code) { return ParamInSeries(code, context); });
    Show();
    return TRUE;
}

std::string CAddRemoveDlg::EntryText(const std::string& code) const {
    static const StringLoader load = ResourceStringLoader();
    return code + ": " + ParamTitle(code, load);
}

namespace {

void FillList(CListBox& list, const std::vector<std::string>& codes, int selection,
              const CAddRemoveDlg& dialog) {
    list.ResetContent();
    int widest = 0;
    for (const std::string& code : codes) {
        const std::string text = dialog.EntryText(code);
        list.AddString(text);
        widest = std::max(widest, list.GetTextExtent(text).cx);
    }
    list.SetCurSel(selection);
    list.SetHorizontalExtent(widest);
}

} // namespace

// The lists and buttons show the model after every change.
void CAddRemoveDlg::Show() {
    FillList(m_all, model_->AllList(), model_->AllSelection(), *this);
    FillList(m_custom, model_->CustomList(), model_->CustomSelection(), *this);
    const AddRemoveModel::Buttons& buttons = model_->ButtonStates();
    const std::pair<int, bool> states[] = {
        {IDC_PD_ADD, buttons.add},        {IDC_PD_REMOVE, buttons.remove},
        {IDC_PD_ADD_ALL, buttons.addAll}, {IDC_PD_REMOVE_ALL, buttons.removeAll},
        {IDC_PD_UP, buttons.up},          {IDC_PD_DOWN, buttons.down},
    };
    for (const auto& [id, enabled] : states)
        if (CWnd* button = GetDlgItem(id))
            button->EnableWindow(enabled);
}

void CAddRemoveDlg::OnAdd() {
    model_->SelectInAll(m_all.GetCurSel());
    model_->Add();
    Show();
}

void CAddRemoveDlg::OnRemove() {
    model_->SelectInCustom(m_custom.GetCurSel());
    model_->Remove();
    Show();
}

void CAddRemoveDlg::OnAddAll() {
    model_->AddAll();
    Show();
}

void CAddRemoveDlg::OnRemoveAll() {
    model_->RemoveAll();
    Show();
}

void CAddRemoveDlg::OnUp() {
    model_->SelectInCustom(m_custom.GetCurSel());
    model_->Up();
    Show();
}

void CAddRemoveDlg::OnDown() {
    model_->SelectInCustom(m_custom.GetCurSel());
    model_->Down();
    Show();
}

void CAddRemoveDlg::OnAllSelChange() {
    model_->SelectInAll(m_all.GetCurSel());
    Show();
}

void CAddRemoveDlg::OnCustomSelChange() {
    model_->SelectInCustom(m_custom.GetCurSel());
    Show();
}

void CAddRemoveDlg::OnOK() {
    m_list = model_->Result();
    CDialog::OnOK();
}
