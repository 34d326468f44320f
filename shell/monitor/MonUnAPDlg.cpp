#include "shell/monitor/MonUnAPDlg.h"

#include "catalogue/DocumentGlobals.h"
#include "catalogue/KeloServoDoc.h"
#include "catalogue/ParamCode.h"
#include "framework/core/MessageSeam.h"
#include "framework/ui/DC.h"
#include "resources/ids/monitor.h"
#include "shell/ShellGlobals.h"
#include "shell/monitor/UserFileDialog.h"

namespace {
constexpr int kFirstUnitRows = 8; // units of rows 0..7 at 1173.., of the others at 1181..

CatalogueContext ListContext(const CKeloServoDoc* doc) {
    CatalogueContext context;
    if (doc) {
        context = doc->Context();
    } else {
        context.seriesCode = SeriesCode;
        context.modelCode = ModelCode;
    }
    context.brandMode = BrandMode;
    context.debugMode = DebugModeFlag != 0;
    return context;
}
} // namespace

UnListState::UnListState() {
    for (int i = 0; i < UnRowCount; ++i)
        MonitorUnSet[i] = i;
}

CMonUnAPDlg::CMonUnAPDlg(CWnd* owner, CMonitorReaders& readers, UnListState& state, const CKeloServoDoc* doc,
                         StringLoader load)
    : CMonitorWindow(IDD, owner, readers), m_state(state), m_context(ListContext(doc)),
      m_load(std::move(load)) {
    for (int i = 0; i < UnRowCount; ++i)
        m_rowSelection[i] = i;
}

const MessageMap* CMonUnAPDlg::GetMessageMap() const {
    static const MessageMap map(
        CMonitorWindow::GetMessageMap(),
        {
            msg::ControlRange(CBN_SELCHANGE, IDC_UNLIST_COMBO_FIRST, IDC_UNLIST_COMBO_FIRST + UnRowCount - 1,
                              &CMonUnAPDlg::OnRowCode),
            msg::ControlRange(BN_CLICKED, IDC_UNLIST_CHECK_FIRST, IDC_UNLIST_CHECK_FIRST + UnRowCount - 1,
                              &CMonUnAPDlg::OnRowCheck),
            msg::Command(IDC_UNLIST_CLEAR, &CMonUnAPDlg::OnClearRows),
            msg::Command(IDC_UNLIST_ALL, &CMonUnAPDlg::OnAllRows),
            msg::Command(IDC_UNLIST_SAVE_SET, &CMonUnAPDlg::OnSaveSet),
            msg::Command(IDC_UNLIST_OPEN_SET, &CMonUnAPDlg::OnOpenSet),
            msg::Command(IDC_UNLIST_SAVE_DATA, &CMonUnAPDlg::OnSaveData),
            msg::CtlColor(&CMonUnAPDlg::OnCtlColor),
        });
    return &map;
}

int CMonUnAPDlg::UnitId(int row) {
    return row < kFirstUnitRows ? IDC_UNLIST_UNIT_FIRST + row : IDC_UNLIST_UNIT_SECOND + row - kFirstUnitRows;
}

void CMonUnAPDlg::DoDataExchange(CDataExchange* dx) {
    CMonitorWindow::DoDataExchange(dx);
    for (int row = 0; row < UnRowCount; ++row) {
        DDX_Control(dx, IDC_UNLIST_COMBO_FIRST + row, m_combos[row]);
        DDX_Text(dx, IDC_UNLIST_VALUE_FIRST + row, m_valueTexts[row]);
        DDX_Check(dx, IDC_UNLIST_CHECK_FIRST + row, UnRowEnableFlags[row]);
    }
}

BOOL CMonUnAPDlg::OnInitDialog() {
    // The window is rebuilt from what the last one left: its switches and its codes.
    UnRowEnableFlags = m_state.UnRowEnableFlags;
    m_rowSelection = m_state.MonitorUnSet;
    CMonitorWindow::OnInitDialog();
    const std::vector<std::string> codes = UnListComboCodes(m_context);
    for (int row = 0; row < UnRowCount; ++row) {
        EnableRowName(row);
        for (const std::string& code : codes)
            m_combos[row].AddString(code);
        m_combos[row].SetCurSel(m_rowSelection[row]);
        RefreshRow(row);
    }
    UpdateData(FALSE);
    return TRUE;
}

void CMonUnAPDlg::Register() {
    Slot<IMonitorListSink>(m_readers.MonitorListWindow, this);
}

void CMonUnAPDlg::Leaving() {
    // However the window ends (closed by the user or with the view), the next one starts from here.
    m_state.UnRowEnableFlags = UnRowEnableFlags;
    m_state.MonitorUnSet = m_rowSelection;
}

CMonUnAPDlg::~CMonUnAPDlg() {
    Leave();
}

std::string CMonUnAPDlg::RowCode(int row) const {
    const CComboBox& combo = m_combos[row];
    if (!combo.m_hWnd)
        return {};
    const int selection = combo.GetCurSel();
    return selection < 0 ? std::string() : combo.GetLBText(selection);
}

int CMonUnAPDlg::GetRowItemIndex(int row) const {
    if (row < 0 || row >= UnRowCount)
        return 0;
    const std::string code = RowCode(row);
    return code.empty() ? 0 : std::max(0, ParamIndexFromCode(code));
}

bool CMonUnAPDlg::RowEnabled(int row) const {
    return row >= 0 && row < UnRowCount && UnRowEnableFlags[row] != 0;
}

void CMonUnAPDlg::SetRowTexts(const std::array<std::string, MonitorRowCount>& texts) {
    static_assert(MonitorRowCount == UnRowCount);
    m_valueTexts = texts;
    if (m_hWnd)
        UpdateData(FALSE);
}

void CMonUnAPDlg::ClearRowValue(int row) {
    m_valueTexts[row].clear();
    SetDlgItemText(IDC_UNLIST_VALUE_FIRST + row, "");
}

void CMonUnAPDlg::EnableRowName(int row) {
    if (CWnd* name = GetDlgItem(IDC_UNLIST_NAME_FIRST + row))
        name->EnableWindow(UnRowEnableFlags[row] ? TRUE : FALSE);
}

void CMonUnAPDlg::RefreshRow(int row) {
    std::string code = RowCode(row);
    if (code.empty()) {
        m_combos[row].SetCurSel(row);
        m_rowSelection[row] = row;
        code = RowCode(row);
        ClearRowValue(row);
    }
    SetDlgItemText(IDC_UNLIST_NAME_FIRST + row, code.empty() ? std::string() : ParamTitle(code, m_load));
    SetDlgItemText(UnitId(row), code.empty() ? std::string() : ParamUnitText(code, m_context, m_load));
    if (!code.empty())
        m_state.MonitorUnCodes[row] = code;
}

void CMonUnAPDlg::OnRowCode(UINT id) {
    const int row = static_cast<int>(id) - IDC_UNLIST_COMBO_FIRST;
    m_rowSelection[row] = m_combos[row].GetCurSel();
    RefreshRow(row);
}

void CMonUnAPDlg::OnRowCheck(UINT id) {
    const int row = static_cast<int>(id) - IDC_UNLIST_CHECK_FIRST;
    UnRowEnableFlags[row] = UnRowEnableFlags[row] ? 0 : 1;
    if (!UnRowEnableFlags[row])
        m_valueTexts[row].clear();
    UpdateData(FALSE);
    EnableRowName(row);
}

void CMonUnAPDlg::OnClearRows() {
    for (int row = 0; row < UnRowCount; ++row) {
        UnRowEnableFlags[row] = 0;
        m_valueTexts[row].clear();
        EnableRowName(row);
    }
    UpdateData(FALSE);
}

void CMonUnAPDlg::OnAllRows() {
    for (int row = 0; row < UnRowCount; ++row) {
        UnRowEnableFlags[row] = 1;
        EnableRowName(row);
    }
    UpdateData(FALSE);
}

void CMonUnAPDlg::OnSaveSet() {
    const FileDialogResult chosen = ShowFileDialog(UserFileRequest(false, UnSelectionExt, UnSelectionFilter));
    if (chosen.ok)
        WriteUnSelectionFile(chosen.path, m_state.MonitorUnCodes);
}

void CMonUnAPDlg::OnOpenSet() {
    const FileDialogResult chosen = ShowFileDialog(UserFileRequest(true, UnSelectionExt, UnSelectionFilter));
    if (!chosen.ok)
        return;
    UnCodes codes = m_state.MonitorUnCodes;
    if (ReadUnSelectionFile(chosen.path, codes) != UnFileResult::Done)
        return;
    m_state.MonitorUnCodes = codes;
    std::vector<std::string> items;
    for (int item = 0; item < m_combos[0].GetCount(); ++item)
        items.push_back(m_combos[0].GetLBText(item));
    const std::array<UnRowChoice, UnRowCount> choices = MatchUnSelection(items, codes);
    for (int row = 0; row < UnRowCount; ++row) {
        m_combos[row].SetCurSel(choices[row].selection);
        m_rowSelection[row] = choices[row].selection;
        if (choices[row].cleared)
            ClearRowValue(row);
        RefreshRow(row);
    }
}

void CMonUnAPDlg::OnSaveData() {
    const FileDialogResult chosen = ShowFileDialog(UserFileRequest(false, UnCsvExt, UnCsvFilter));
    if (!chosen.ok)
        return;
    std::array<UnCsvRow, UnRowCount> rows;
    for (int row = 0; row < UnRowCount; ++row) {
        rows[row].code = RowCode(row);
        rows[row].name = GetDlgItemText(IDC_UNLIST_NAME_FIRST + row);
        rows[row].value = GetDlgItemText(IDC_UNLIST_VALUE_FIRST + row);
        rows[row].unit = GetDlgItemText(UnitId(row));
    }
    WriteUnCsvFile(chosen.path, rows);
}

HBRUSH CMonUnAPDlg::OnCtlColor(CDC* dc, CWnd* control, UINT kind) {
    const int id = control ? control->GetDlgCtrlID() : 0;
    if (kind == CTLCOLOR_STATIC && id >= IDC_UNLIST_VALUE_FIRST && id < IDC_UNLIST_VALUE_FIRST + UnRowCount) {
        dc->SetTextColor(RGB(255, 0, 0));
        dc->SetBkMode(TRANSPARENT);
    }
    return nullptr;
}
