#include "paramedit/ChangeDlg.h"

#include "framework/core/MessageSeam.h"
#include "paramedit/AddRemoveDlg.h"
#include "resources/ids/paradialogs.h"

CChangeDlg::CChangeDlg(CWnd* parent) : CDialog(IDD_PD_DISPLAY_SET, parent) {}

const MessageMap* CChangeDlg::GetMessageMap() const {
    static const MessageMap map(
        CDialog::GetMessageMap(),
        {
            msg::CommandRange(IDC_PD_TYPE_GROUPS, IDC_PD_TYPE_CUSTOM, &CChangeDlg::OnDisplayType),
            msg::Command(IDC_PD_CHOICE_FIRST, &CChangeDlg::OnAll),
            msg::CommandRange(IDC_PD_CHOICE_FIRST + 1, IDC_PD_CHOICE_LAST, &CChangeDlg::OnChoice),
            msg::Command(IDC_PD_ADD_REMOVE, &CChangeDlg::OnAddRemove),
        });
    return &map;
}

void CChangeDlg::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
    DDX_Radio(dx, IDC_PD_TYPE_GROUPS, m_choice.type);
    for (int i = 0; i < DisplayChoiceFlagCount; ++i)
        DDX_Check(dx, IDC_PD_CHOICE_FIRST + i, m_choice.flags[static_cast<std::size_t>(i)]);
}

BOOL CChangeDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    Show(RefreshDisplaySet(m_choice));
    return TRUE;
}

void CChangeDlg::Show(const DisplaySetControls& controls) {
    UpdateData(FALSE);
    for (int i = 0; i < DisplayChoiceFlagCount; ++i)
        if (CWnd* box = GetDlgItem(IDC_PD_CHOICE_FIRST + i))
            box->EnableWindow(controls.enabled[static_cast<std::size_t>(i)]);
    if (CWnd* button = GetDlgItem(IDC_PD_ADD_REMOVE))
        button->EnableWindow(controls.addRemove);
}

void CChangeDlg::OnDisplayType(UINT) {
    UpdateData(TRUE);
    Show(RefreshDisplaySet(m_choice));
}

void CChangeDlg::OnAll() {
    UpdateData(TRUE);
    Show(RefreshDisplaySet(m_choice));
}

void CChangeDlg::OnChoice(UINT id) {
    // The box has already changed its own check; the flag follows it through the rules, which may
    // also turn All on, and the boxes are then set from the flags.
    Show(ToggleDisplayChoice(m_choice, static_cast<int>(id) - IDC_PD_CHOICE_FIRST));
}

void CChangeDlg::OnAddRemove() {
    CAddRemoveDlg dialog(m_context, this);
    dialog.m_list = m_custom;
    if (dialog.DoModal() == IDOK)
        m_custom = dialog.m_list;
}

void CChangeDlg::OnOK() {
    ConfirmDisplaySet(m_choice);
    UpdateData(FALSE);
    CDialog::OnOK();
}

bool RunDisplaySetDialog(CWnd* parent, DisplaySetChoice& choice, DefinedList& defined,
                         const CatalogueContext& context) {
    CChangeDlg dialog(parent);
    dialog.m_choice = choice;
    dialog.m_custom = defined;
    dialog.m_context = context;
    if (dialog.DoModal() != IDOK)
        return false;
    choice = dialog.m_choice;
    defined = dialog.m_custom;
    return true;
}
