#include "paramedit/CompareDlg.h"

#include "catalogue/KeloServoDoc.h"
#include "catalogue/ParamTexts.h"
#include "framework/core/Format.h"
#include "framework/ui/FileDialog.h"
#include "paramedit/CompareArchive.h"
#include "paramedit/DialogText.h"
#include "resources/ids/paradialogs.h"

#include <array>

namespace {

// The newer-model groups in the order the list shows them: onE comes before onA.
constexpr std::array<int, 7> kListedNewerGroups{11, 12, 13, 14, 15, 17, 16};
constexpr std::array<const char*, CompareGroupCount - CompareClassicGroupCount> kNewerCodePrefixes{
    "onT", "onS", "ond", "onC", "ono", "onA", "onE"};

constexpr int kNarrowAfterRows = 34;

std::string DocumentVersion(const CKeloServoDoc& doc) {
    return doc.m_VersionText.empty() ? std::string(CKeloServoDoc::VersionLiteral) : doc.m_VersionText;
}

} // namespace

CCompareDlg::CCompareDlg(CWnd* parent) : CDialog(IDD_PD_COMPARE, parent) {}

const MessageMap* CCompareDlg::GetMessageMap() const {
    static const MessageMap map(CDialog::GetMessageMap(),
                                {
                                    msg::Command(IDC_PD_COMPARE_SAVE, &CCompareDlg::OnSave),
                                });
    return &map;
}

void CCompareDlg::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_PD_COMPARE_LIST, m_list);
}

BOOL CCompareDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_list.SetExtendedStyle(m_list.GetExtendedStyle() | LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT |
                            LVS_EX_INFOTIP);
    CRect rect;
    m_list.GetWindowRect(&rect);
    const int width = rect.Width();
    const StringLoader load = ResourceStringLoader();
    m_list.InsertColumn(0, CompareColumnHeader(m_result, 0, load), LVCFMT_LEFT, 50);
    m_list.InsertColumn(1, CompareColumnHeader(m_result, 1, load), LVCFMT_LEFT, width - 254);
    m_list.InsertColumn(2, CompareColumnHeader(m_result, 2, load), LVCFMT_LEFT, 100);
    m_list.InsertColumn(3, CompareColumnHeader(m_result, 3, load), LVCFMT_LEFT, 100);
    FillList();
    if (m_list.GetItemCount() > kNarrowAfterRows)
        m_list.SetColumnWidth(1, width - 271); // room for the vertical scroll bar
    return TRUE;
}

void CCompareDlg::FillList() {
    int row = 0;
    for (int g = 0; g < CompareClassicGroupCount; ++g)
        for (int k = 0; k < CompareGroupSize(g); ++k)
            if (m_result.groups[static_cast<std::size_t>(g)].differs[static_cast<std::size_t>(k)])
                AddRow(row++, ParamCodeFromIndex(CompareIndex(g, k)), g, k);
    if (!m_projectMode)
        return;
    for (int g : kListedNewerGroups)
        for (int k = 0; k < CompareGroupSize(g); ++k)
            if (m_result.groups[static_cast<std::size_t>(g)].differs[static_cast<std::size_t>(k)])
                AddRow(row++,
                       Format("%s%02d",
                              kNewerCodePrefixes[static_cast<std::size_t>(g - CompareClassicGroupCount)],
                              k + 1),
                       g, k);
}

void CCompareDlg::AddRow(int row, const std::string& code, int group, int element) {
    static const StringLoader load = ResourceStringLoader();
    const CompareGroupValues& values = m_result.groups[static_cast<std::size_t>(group)];
    const auto k = static_cast<std::size_t>(element);
    m_list.InsertItem(row, code);
    m_list.SetItemText(row, 1, ParamTitle(code, load));
    m_list.SetItemText(row, 2, FormatParamValue(code, values.a[k], m_context));
    m_list.SetItemText(row, 3, FormatParamValue(code, values.b[k], m_context));
}

void CCompareDlg::OnSave() {
    if (!m_document)
        return;
    CFileDialog dialog(FALSE, "cmp", nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                       DialogText(IDS_PD_COMPARE_SAVE_FILTER,
                                  "Parameter Comparison File (*.cmp)|*.cmp|"
                                  "Parameter Comparison Text File (*.csv)|*.csv||")
                           .c_str(),
                       this);
    if (dialog.DoModal() != IDOK)
        return;
    std::string error;
    if (!SaveCompareResult(dialog.GetPathName(), m_result, DocumentVersion(*m_document), m_context,
                           ResourceStringLoader(), &error))
        ShowMessage(error, std::string(), MB_OK | MB_ICONEXCLAMATION);
}
