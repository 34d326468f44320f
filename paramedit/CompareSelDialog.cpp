#include "paramedit/CompareSelDialog.h"

#include "catalogue/DocumentGlobals.h"
#include "framework/ui/FileDialog.h"
#include "link/LinkState.h"
#include "paramedit/CompareArchive.h"
#include "paramedit/CompareDlg.h"
#include "paramedit/CompareSelection.h"
#include "paramedit/DialogText.h"
#include "resources/ids/paradialogs.h"

CCompareSelDialog::CCompareSelDialog(CWnd* parent) : CDialog(IDD_PD_COMPARE_SELECT, parent) {}

const MessageMap* CCompareSelDialog::GetMessageMap() const {
    static const MessageMap map(
        CDialog::GetMessageMap(),
        {
            msg::CommandRange(IDC_PD_MODE_DRIVE, IDC_PD_MODE_FILES, &CCompareSelDialog::OnMode),
            msg::Command(IDC_PD_FILE, &CCompareSelDialog::OnFile),
            msg::Command(IDC_PD_FILE1, &CCompareSelDialog::OnFile1),
            msg::Command(IDC_PD_FILE2, &CCompareSelDialog::OnFile2),
            msg::Command(IDC_PD_OPEN_ARCHIVE, &CCompareSelDialog::OnOpen),
        });
    return &map;
}

void CCompareSelDialog::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
    DDX_Radio(dx, IDC_PD_MODE_DRIVE, m_mode);
    DDX_Text(dx, IDC_PD_FILE_PATH, m_filePath);
    DDX_Text(dx, IDC_PD_FILE1_PATH, m_file1Path);
    DDX_Text(dx, IDC_PD_FILE2_PATH, m_file2Path);
}

BOOL CCompareSelDialog::OnInitDialog() {
    // Without a drive the drive comparison cannot be chosen.
    const bool connected = ConnectedFlag != 0;
    m_mode = InitialCompareMode(m_mode, connected);
    CDialog::OnInitDialog();
    if (CWnd* drive = GetDlgItem(IDC_PD_MODE_DRIVE))
        drive->EnableWindow(connected);
    EnableFileButtons();
    return TRUE;
}

void CCompareSelDialog::EnableFileButtons() {
    const CompareSelectionControls controls = CompareSelectionState(m_mode, ConnectedFlag != 0);
    const std::pair<int, bool> states[] = {
        {IDC_PD_FILE, controls.file}, {IDC_PD_FILE1, controls.file1}, {IDC_PD_FILE2, controls.file2}};
    for (const auto& [id, enabled] : states)
        if (CWnd* button = GetDlgItem(id))
            button->EnableWindow(enabled);
}

void CCompareSelDialog::OnMode(UINT id) {
    m_mode = static_cast<int>(id) - IDC_PD_MODE_DRIVE;
    EnableFileButtons();
}

void CCompareSelDialog::PickDocument(std::string& path, std::string& name) {
    CFileDialog dialog(
        TRUE, "zpf", nullptr, OFN_FILEMUSTEXIST | OFN_HIDEREADONLY,
        DialogText(IDS_PD_DOCUMENT_FILTER, "Kelo Servo Files (*.zpf)|*.zpf|All Files (*.*)|*.*||").c_str(),
        this);
    if (dialog.DoModal() != IDOK)
        return;
    path = dialog.GetPathName();
    name = BareFileName(path);
    if (!CheckComparisonDocument(path, SeriesCode)) {
        path.clear();
        name.clear();
    }
    UpdateData(FALSE);
}

void CCompareSelDialog::OnFile() {
    PickDocument(m_filePath, m_fileName);
}

void CCompareSelDialog::OnFile1() {
    PickDocument(m_file1Path, m_file1Name);
}

void CCompareSelDialog::OnFile2() {
    PickDocument(m_file2Path, m_file2Name);
}

void CCompareSelDialog::OnOpen() {
    CFileDialog dialog(TRUE, "cmp", nullptr, OFN_FILEMUSTEXIST | OFN_HIDEREADONLY,
                       DialogText(IDS_PD_COMPARE_OPEN_FILTER,
                                  "Parameter Comparison File (*.cmp)|*.cmp|All Files (*.*)|*.*||")
                           .c_str(),
                       this);
    if (dialog.DoModal() != IDOK)
        return;
    CompareResult result;
    if (!OpenCompareArchive(dialog.GetPathName(), result))
        return;
    CCompareDlg shown(this);
    shown.m_result = result;
    shown.m_context = m_context;
    shown.m_document = m_document;
    shown.m_projectMode = m_projectMode;
    shown.DoModal();
}
