#include "paramedit/ParaEditDlg.h"

#include "catalogue/DocumentGlobals.h"
#include "catalogue/KeloServoDoc.h"
#include "catalogue/ParamAttributes.h"
#include "catalogue/ParamCode.h"
#include "catalogue/ParamTexts.h"
#include "catalogue/RegisterMap.h"
#include "framework/core/Format.h"
#include "framework/core/MessageSeam.h"
#include "framework/core/ResourceModule.h"
#include "framework/ui/Button.h"
#include "link/LinkState.h"
#include "link/services/RegisterServices.h"
#include "link/services/TransferPass.h"
#include "paramedit/ChangeDlg.h"
#include "paramedit/CompareRuns.h"
#include "paramedit/DefinedList.h"
#include "paramedit/ParaEditState.h"
#include "paramedit/ParamPassRules.h"
#include "paramedit/ParamTransfer.h"
#include "paramedit/TransferProgress.h"
#include "resources/ids/mainframe.h"
#include "resources/ids/paraedit.h"
#include "resources/ids/paramedit.h"
#include "shell/ShellGlobals.h"
#include "valueedit/EditorEnvironment.h"
#include "valueedit/NumericEditRules.h"
#include "valueedit/ValueEditorRunner.h"

#include <algorithm>

namespace {

constexpr int kColumnCode = 0;
constexpr int kColumnName = 1;
constexpr int kColumnValue = 2;
constexpr int kColumnUnit = 3;
constexpr int kColumnRange = 4;
constexpr int kColumnDefault = 5;
constexpr int kNameLimit = 100;
constexpr int kCellLimit = 19;
constexpr int kFewRows = 26;
// What the column widths leave of the list's width for its vertical scroll bar and frame.
constexpr int kScrollBarAllowance = 21;

constexpr std::uint32_t kMarkStyle = 0xE0;
constexpr std::uint32_t kMarkSelectedStyle = 0x30;
constexpr COLORREF kChangedSelectedText = 0x0000FF;
constexpr COLORREF kOverRangeSelectedText = 0x00FF00;
constexpr COLORREF kValueText = 0xFF0000;
constexpr COLORREF kDefaultText = 0x0000FF;

constexpr int kLegendBitmaps[4] = {IDB_PE_PROPERTY_RESTART, IDB_PE_PROPERTY_IMMEDIATE,
                                   IDB_PE_PROPERTY_NO_RESET, IDB_PE_PROPERTY_SERVO_OFF};
constexpr int kIconBitmaps[5] = {IDB_PE_PROPERTY_BOTH, IDB_PE_PROPERTY_RESTART, IDB_PE_PROPERTY_IMMEDIATE,
                                 IDB_PE_PROPERTY_NO_RESET, IDB_PE_PROPERTY_SERVO_OFF};

// Groups whose values have twins to follow after a read or a write.
bool HasTwinGroup(std::string_view code) {
    const int group = ParamGroupOfIndex(ParamIndexFromCode(code));
    return group == GroupCn || group == GroupSn || group == GroupPn3 || group == Groupqn ||
           group == Grouptn || group == GrouponC || group == GrouponS;
}

bool IsNeverWritten(std::string_view code) {
    return code == "En719" || code == "En720" || code == "En721" || code == "En722" || code == "En723";
}

std::string Cut(std::string text, size_t limit) {
    if (text.size() > limit)
        text.resize(limit);
    return text;
}

} // namespace

CParaEditDlg::CParaEditDlg(IParaEditViewLink& view, CWnd* parent)
    : CDialog(IDD_PARAEDIT, parent), view_(view), twins_(*this) {
    m_displaySet = ParaEditKept.displaySet;
    m_currentTab = ParaEditKept.currentTab;
    m_selectAll = ParaEditKept.selectAll;
    m_marks = ParaEditKept.marks;
    rememberedModel_ = ModelCode;
    rememberedMaxSpeed_ = view.MotorMaxSpeed();
}

CParaEditDlg::~CParaEditDlg() = default;

const MessageMap* CParaEditDlg::GetMessageMap() const {
    static const MessageMap map(CDialog::GetMessageMap(),
                                {
                                    msg::Command(IDC_PE_EDIT, &CParaEditDlg::OnEdit),
                                    msg::Command(IDC_PE_CHANGE, &CParaEditDlg::OnChange),
                                    msg::Command(IDC_PE_SET_DEFAULT, &CParaEditDlg::OnSetDefault),
                                    msg::Command(IDC_PE_WRITE, &CParaEditDlg::OnWrite),
                                    msg::Command(IDC_PE_READ, &CParaEditDlg::OnRead),
                                    msg::Command(IDC_PE_COMPARE, &CParaEditDlg::OnCompare),
                                    msg::Command(IDC_PE_SELECT_ALL, &CParaEditDlg::OnSelectAll),
                                    msg::Notify(NM_DBLCLK, IDC_PE_LIST, &CParaEditDlg::OnListDoubleClick),
                                    msg::Notify(NM_RETURN, IDC_PE_LIST, &CParaEditDlg::OnListIgnored),
                                    msg::Notify(LVN_KEYDOWN, IDC_PE_LIST, &CParaEditDlg::OnListIgnored),
                                    msg::Notify(LVN_BEGINDRAG, IDC_PE_LIST, &CParaEditDlg::OnListIgnored),
                                    msg::Notify(LVN_COLUMNCLICK, IDC_PE_LIST, &CParaEditDlg::OnListIgnored),
                                    msg::Notify(HDN_ENDTRACK, 0, &CParaEditDlg::OnHeaderEndTrack),
                                    msg::Notify(TCN_SELCHANGE, IDC_PE_TAB, &CParaEditDlg::OnTabChange),
                                    msg::Timer(&CParaEditDlg::OnTimer),
                                    msg::Size(&CParaEditDlg::OnSize),
                                    msg::Close(&CParaEditDlg::OnClose),
                                });
    return &map;
}

void CParaEditDlg::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_PE_LIST, m_list);
    DDX_Control(dx, IDC_PE_TAB, m_tab);
    for (int i = 0; i < 4; ++i)
        DDX_Control(dx, IDC_PE_LEGEND_ICON1 + i, m_legend[i]);
    DDX_Check(dx, IDC_PE_SELECT_ALL, m_selectAll);
}

// --- Small helpers ------------------------------------------------------------------------------------

CKeloServoDoc* CParaEditDlg::Doc() const {
    return view_.Document();
}

CatalogueContext CParaEditDlg::Context() const {
    if (CKeloServoDoc* doc = Doc())
        return doc->Context();
    CatalogueContext context;
    context.seriesCode = SeriesCode;
    context.modelCode = ModelCode;
    context.connected = ConnectedFlag != 0;
    context.debugMode = DebugModeFlag != 0;
    return context;
}

std::string CParaEditDlg::Text(int id) const {
    return LoadResString(id);
}

bool CParaEditDlg::CheckConnected() {
    if (ConnectedFlag)
        return true;
    ShowMessage(Text(IDS_COMMUNICATE_ERROR), Text(IDS_COMMUNICATION_MESSAGE), MB_OK | MB_ICONSTOP);
    return false;
}

std::string CParaEditDlg::RowCode(int row) const {
    return m_list.GetItemText(row, kColumnCode);
}

int CParaEditDlg::FindRow(std::string_view code) const {
    if (code.empty() || !m_list.GetSafeHwnd())
        return -1;
    const std::string text(code);
    LVFINDINFO find;
    find.flags = LVFI_STRING | LVFI_PARTIAL;
    find.psz = text.c_str();
    return m_list.FindItem(&find, -1);
}

int CParaEditDlg::CheckedRowCount(int rowCount) const {
    int count = 0;
    for (int row = 0; row < rowCount; ++row)
        count += m_list.GetCheck(row) ? 1 : 0;
    return count;
}

void CParaEditDlg::SetValueCell(int row, std::string_view code, int value) {
    if (row >= 0)
        SetCellText(row, kColumnValue, Cut(FormatParamValue(code, value, Context()), kCellLimit));
}

// --- Opening ------------------------------------------------------------------------------------------

BOOL CParaEditDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_firstRead = 1;
    for (int i = 0; i < 4; ++i)
        m_legend[i].LoadBitmap(kLegendBitmaps[i], 0xFFFFFF);
    ReadAllParameters();
    // Opened without a link (a new document, the start-up before its connect): the first tick
    // after the link comes up reads everything, as every later new link does.
    if (!ConnectedFlag)
        m_firstRead = 0;
    m_selectAll = ParaEditKept.selectAll;
    const int versionShow = DebugModeFlag ? SW_SHOW : SW_HIDE;
    for (int id : {IDC_PE_CPU_VERSION, IDC_PE_ASIC_VERSION, IDC_PE_MCU_VERSION})
        if (CWnd* item = GetDlgItem(id))
            item->ShowWindow(versionShow);
    images_.Create(32, 16, ILC_COLOR32 | ILC_MASK, 50, 50);
    for (int id : kIconBitmaps) {
        CBitmap bitmap;
        if (bitmap.LoadBitmap(id))
            images_.Add(&bitmap, 0x0000FF);
    }
    m_list.SetImageList(&images_, LVSIL_SMALL);
    m_list.SetExtendedStyle(m_list.GetExtendedStyle() | LVS_EX_GRIDLINES | LVS_EX_CHECKBOXES |
                            LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP | LVS_EX_SUBITEMIMAGES);
    UpdateDisplaySetTitle();
    InsertTabs();
    FillRows();
    RefreshRows();
    ReadVersionItems();
    ShowFirmwareVersions();
    UpdateData(FALSE);
    SetTimer(ParaEditReadTimer, ParaEditReadTimerMs);
    return TRUE;
}

void CParaEditDlg::InsertTabs() {
    const CatalogueContext context = Context();
    m_presence.pn4 = ParamEditable("Pn400", context);
    m_presence.en = ParamEditable("En700", context);
    m_presence.ec = ParamEditable("EC900", context);
    m_presence.mab = ParamEditable("MAb00", context);
    m_tabs = EditorTabs(m_presence);
    m_tab.DeleteAllItems();
    for (size_t i = 0; i < m_tabs.size(); ++i) {
        std::string label = m_tabs[i] == EditorTab::Custom    ? Text(IDS_PE_CUSTOM_DISPLAY)
                            : m_tabs[i] == EditorTab::Compare ? Text(IDS_PE_COMPARE_TABLE)
                                                              : EditorTabLabel(m_tabs[i]);
        m_tab.InsertItem(static_cast<int>(i), label);
    }
    // A tab remembered from a series with more tabs must not point past the last one.
    if (m_currentTab < 0 || m_currentTab >= static_cast<int>(m_tabs.size()))
        m_currentTab = 0;
    m_tab.SetCurSel(m_currentTab);
}

void CParaEditDlg::UpdateDisplaySetTitle() {
    SetDlgItemText(IDC_PE_SET_TITLE, DisplaySetTitle(m_displaySet));
}

// --- Rows ---------------------------------------------------------------------------------------------

bool CParaEditDlg::OnLastOrMAbTab() const {
    if (!m_presence.mab || m_currentTab < 0 || m_currentTab >= static_cast<int>(m_tabs.size()))
        return false;
    const EditorTab tab = m_tabs[static_cast<size_t>(m_currentTab)];
    return tab == EditorTab::MAb || tab == EditorTab::Compare;
}

void CParaEditDlg::RemoveRowsAndColumns() {
    m_list.DeleteAllItems();
    while (m_list.GetColumnCount() > 0)
        m_list.DeleteColumn(0);
}

void CParaEditDlg::SetColumnWidths(int codeWidth) {
    CRect client;
    m_list.GetClientRect(&client);
    const int w = client.Width();
    const bool wide = OnLastOrMAbTab();
    const EditorTab tab = m_tabs.empty() ? EditorTab::Custom : m_tabs[static_cast<size_t>(m_currentTab)];
    const int r = (m_presence.pn4 && tab == EditorTab::Pn4) ? 125 : wide ? 135 : 100;
    const bool few = m_list.GetItemCount() <= kFewRows;
    const int name = w - r - (few ? (wide ? 344 : 324) : (wide ? 381 : 361));
    const int widths[] = {codeWidth, name, wide ? 70 : 60, 60, r, wide ? 70 : 60};
    // Widened where the tab's texts need more (a 32-bit range or default, a long unit), so every text
    // fits at the default font; the name column gives up that room, down to its own longest text
    // (beyond that the list scrolls sideways).
    int grown = 0;
    for (int column : {kColumnCode, kColumnValue, kColumnUnit, kColumnRange, kColumnDefault}) {
        m_list.SetColumnWidth(column, LVSCW_AUTOSIZE_USEHEADER);
        const int width = std::max(widths[column], m_list.GetColumnWidth(column));
        m_list.SetColumnWidth(column, width);
        grown += width - widths[column];
    }
    // The name column never makes a row wider than the list less its scroll bar allowance, so that
    // every column stays in sight (with few rows too, where the full widening would push the default
    // column out); it keeps at least its own longest text (beyond that the list scrolls sideways).
    int others = 0;
    for (int column : {kColumnCode, kColumnValue, kColumnUnit, kColumnRange, kColumnDefault})
        others += m_list.GetColumnWidth(column);
    m_list.SetColumnWidth(kColumnName, LVSCW_AUTOSIZE_USEHEADER);
    m_list.SetColumnWidth(kColumnName, std::max(std::min(name - grown, w - kScrollBarAllowance - others),
                                                m_list.GetColumnWidth(kColumnName)));
}

void CParaEditDlg::SetCellText(int row, int column, const std::string& text) {
    m_list.SetItemText(row, column, text);
    // A text that outgrows its column (a value read at the 32-bit limits) lays the columns out again.
    CRect room;
    if (m_list.GetCellTextRect(row, column, &room) && m_list.GetTextExtent(text).cx > room.Width())
        SetColumnWidths(m_list.GetColumnWidth(kColumnCode));
}

void CParaEditDlg::FillRows() {
    CKeloServoDoc* doc = Doc();
    if (!doc || m_tabs.empty())
        return;
    m_list.DeleteAllItems();
    if (m_list.GetColumnCount() == 0) {
        m_list.InsertColumn(kColumnCode, "Code", LVCFMT_LEFT, 160);
        m_list.InsertColumn(kColumnName, "Parameter Name", LVCFMT_LEFT, 100);
        m_list.InsertColumn(kColumnValue, "Value", LVCFMT_LEFT, 60);
        m_list.InsertColumn(kColumnUnit, "Unit", LVCFMT_LEFT, 60);
        m_list.InsertColumn(kColumnRange, "Setting Range", LVCFMT_LEFT, 100);
        m_list.InsertColumn(kColumnDefault, "Default", LVCFMT_LEFT, 60);
    }
    m_list.SetColumnTextColor(kColumnDefault, kDefaultText);
    m_list.SetColumnTextColor(kColumnValue, kValueText);
    const CatalogueContext context = Context();
    const std::vector<std::string> codes =
        EditorRowCodes(m_tabs[static_cast<size_t>(m_currentTab)], m_presence, m_displaySet,
                       view_.DefinedParameters(), *doc, context, DebugModeFlag != 0);
    int row = 0;
    for (const std::string& code : codes) {
        FillRow(row, code, true);
        m_list.SetCheck(row, m_marks.Get(ParamMarkTables::Check, code) != 0);
        if (m_marks.Get(ParamMarkTables::Changed, code))
            MarkCellChanged(row, kColumnValue);
        if (m_marks.Get(ParamMarkTables::OverRange, code))
            MarkCellOverRange(row, kColumnValue);
        ++row;
    }
    SetColumnWidths(160);
    Invalidate();
}

void CParaEditDlg::FillRow(int row, const std::string& code, bool newRow) {
    CKeloServoDoc* doc = Doc();
    if (!doc)
        return;
    const CatalogueContext context = Context();
    const StringLoader load = ResourceStringLoader();
    const int* value = doc->FindValue(code);
    const int* minimum = doc->FindMinimum(code);
    const int* maximum = doc->FindMaximum(code);
    const int* byDefault = doc->FindDefault(code);
    if (newRow)
        m_list.InsertItem(row, Cut(code, 5), ParameterLegendIcon(ParameterPropertyFlags(code)));
    else
        m_list.SetItemText(row, kColumnCode, Cut(code, 5));
    m_list.SetItemText(row, kColumnName, Cut(ParamTitle(code, load), kNameLimit));
    m_list.SetItemText(row, kColumnValue, value ? FormatParamValue(code, *value, context) : std::string());
    m_list.SetItemText(row, kColumnUnit, ParamUnitText(code, context, load));
    m_list.SetItemText(row, kColumnRange,
                       minimum && maximum ? ParamRangeText(code, *minimum, *maximum, context)
                                          : std::string());
    m_list.SetItemText(row, kColumnDefault,
                       byDefault ? FormatParamValue(code, *byDefault, context) : std::string());
}

void CParaEditDlg::RewriteRows() {
    for (int row = 0; row < m_list.GetItemCount(); ++row) {
        const std::string code = RowCode(row);
        FillRow(row, code, false);
        m_list.SetCheck(row, m_marks.Get(ParamMarkTables::Check, code) != 0);
        ClearCellMarks(row, kColumnValue);
    }
    if (m_list.GetColumnCount() > 0)
        SetColumnWidths(140);
}

void CParaEditDlg::RebuildList() {
    StoreCheckMarks();
    RemoveRowsAndColumns();
    FillRows();
    Invalidate();
}

void CParaEditDlg::ResetTable() {
    m_marks.Clear();
    m_displaySet.mask |= ControlModeMask(m_displaySet.modes);
    UpdateDisplaySetTitle();
    RewriteRows();
    RefreshRows();
}

void CParaEditDlg::RefreshRows() {
    CKeloServoDoc* doc = Doc();
    if (!doc)
        return;
    const BOOL linked = ConnectedFlag != 0;
    for (int id : {IDC_PE_WRITE, IDC_PE_READ})
        if (CWnd* button = GetDlgItem(id))
            button->EnableWindow(linked);
    if (!linked)
        return;
    const int maxSpeed = view_.MotorMaxSpeed();
    if (maxSpeed == rememberedMaxSpeed_ && ModelCode == rememberedModel_)
        return;
    rememberedMaxSpeed_ = maxSpeed;
    rememberedModel_ = ModelCode;
    doc->InitSeriesDefaults();
    doc->InitDependentDefaults();
    static constexpr std::string_view kRangeCodes[] = {"Cn007", "Cn010", "Cn011", "Sn201", "Sn202", "Sn203",
                                                       "Sn216", "Sn218", "Tn105", "Tn106", "Tn107"};
    static constexpr std::string_view kDefaultCodes[] = {"Cn007", "Cn010", "Cn011", "Cn030",
                                                         "Cn031", "Sn216", "Sn218"};
    const CatalogueContext context = Context();
    for (int row = 0; row < m_list.GetItemCount(); ++row) {
        const std::string code = RowCode(row);
        if (std::find(std::begin(kRangeCodes), std::end(kRangeCodes), code) != std::end(kRangeCodes)) {
            int minimum = 0, maximum = 0;
            std::string range;
            if (GetParamLimits(code, minimum, maximum, range))
                SetCellText(row, kColumnRange, range);
        }
        if (std::find(std::begin(kDefaultCodes), std::end(kDefaultCodes), code) != std::end(kDefaultCodes))
            if (const int* byDefault = doc->FindDefault(code))
                SetCellText(row, kColumnDefault, FormatParamValue(code, *byDefault, context));
    }
}

void CParaEditDlg::StoreCheckMarks() {
    for (int row = 0; row < m_list.GetItemCount(); ++row)
        m_marks.Set(ParamMarkTables::Check, RowCode(row), m_list.GetCheck(row) ? 1 : 0);
}

BOOL CParaEditDlg::RefreshHnRows() {
    std::vector<std::string> codes;
    for (int row = 0; row < m_list.GetItemCount(); ++row)
        codes.push_back(ParamText(RowCode(row)));
    bool complete = true;
    for (int row : HnRowsToRewrite(codes, &complete))
        FillRow(row, codes[static_cast<size_t>(row)], false);
    if (!complete)
        return FALSE;
    UpdateData(FALSE);
    return TRUE;
}

// --- Marks and lookups --------------------------------------------------------------------------------

void CParaEditDlg::ClearCellMarks(int row, int column) {
    m_list.SetItemStyle(row, column, 0);
    m_list.SetItemSelectedStyle(row, column, 0, true);
}

void CParaEditDlg::MarkCellChanged(int row, int column) {
    MarkCell(row, column, ParaEditChangedBack, kChangedSelectedText);
}

void CParaEditDlg::MarkCellOverRange(int row, int column) {
    MarkCell(row, column, ParaEditOverRangeBack, kOverRangeSelectedText);
}

void CParaEditDlg::MarkCell(int row, int column, COLORREF back, COLORREF selectedText) {
    m_list.SetItemBkColor(row, column, back);
    m_list.SetItemSelectedBkColor(row, column, back);
    m_list.SetItemSelectedTextColor(row, column, selectedText);
    m_list.SetItemStyle(row, column, kMarkStyle);
    m_list.SetItemSelectedStyle(row, column, kMarkSelectedStyle, true);
}

bool CParaEditDlg::IsValueInRange(std::string_view code, int value) {
    CKeloServoDoc* doc = Doc();
    return !doc || ::IsValueInRange(code, value, *doc, Context());
}

bool CParaEditDlg::GetParamLimits(std::string_view code, int& minimum, int& maximum, std::string& rangeText) {
    CKeloServoDoc* doc = Doc();
    const int* lo = doc ? doc->FindMinimum(code) : nullptr;
    const int* hi = doc ? doc->FindMaximum(code) : nullptr;
    if (!lo || !hi)
        return false;
    minimum = *lo;
    maximum = *hi;
    rangeText = ParamRangeText(code, minimum, maximum, Context());
    return true;
}

bool CParaEditDlg::GetParamValue(std::string_view code, int& value) {
    CKeloServoDoc* doc = Doc();
    const int* v = doc ? doc->FindValue(code) : nullptr;
    if (!v)
        return false;
    value = *v;
    return true;
}

// --- Twin host ----------------------------------------------------------------------------------------

bool CParaEditDlg::HasDocument() const {
    return Doc() != nullptr;
}

int CParaEditDlg::DocumentValue(std::string_view code) const {
    CKeloServoDoc* doc = Doc();
    const int* v = doc ? doc->FindValue(code) : nullptr;
    return v ? *v : 0;
}

void CParaEditDlg::SetDocumentValue(std::string_view code, int value) {
    CKeloServoDoc* doc = Doc();
    if (int* v = doc ? doc->FindValue(code) : nullptr)
        *v = value;
}

void CParaEditDlg::SetDocumentModified() {
    if (CKeloServoDoc* doc = Doc())
        doc->SetModifiedFlag(true);
}

void CParaEditDlg::ShowRowValue(std::string_view code, int value) {
    SetValueCell(FindRow(code), code, value);
}

void CParaEditDlg::SetRowChanged(std::string_view code, bool changed) {
    const int row = FindRow(code);
    if (row < 0)
        return;
    if (changed)
        MarkCellChanged(row, kColumnValue);
    else
        ClearCellMarks(row, kColumnValue);
}

void CParaEditDlg::CheckRow(std::string_view code) {
    const int row = FindRow(code);
    if (row >= 0)
        m_list.SetCheck(row, true);
}

void CParaEditDlg::ApplyEditedValue(std::string_view code, int value) {
    twins_.ApplyEditedValue(code, value);
}
void CParaEditDlg::StoreValueAndTwins(std::string_view code, int value) {
    twins_.StoreValueAndTwins(code, value);
}
void CParaEditDlg::CopyValueToTwins(std::string_view code, int value) {
    twins_.CopyValueToTwins(code, value);
}
void CParaEditDlg::MarkTwinRows(std::string_view code, int mark) {
    twins_.MarkTwinRows(code, mark);
}
void CParaEditDlg::SetRowMark(std::string_view code, int mark) {
    SetRowChanged(code, mark != 0);
}
void CParaEditDlg::RefreshRowValue(std::string_view code, int value, int mark) {
    ShowRowValue(code, value);
    SetRowMark(code, mark);
}
void CParaEditDlg::RefreshRowUnit(std::string_view code) {
    const int row = FindRow(code);
    if (row >= 0)
        SetCellText(row, kColumnUnit,
                    Cut(ParamUnitText(code, Context(), ResourceStringLoader()), kCellLimit));
}

// --- Buttons, list and tabs ---------------------------------------------------------------------------

void CParaEditDlg::ShowNothingSelected() {
    ShowMessage(Text(IDS_PE_NOTHING_SELECTED), GetWindowText(), MB_OK | MB_ICONEXCLAMATION);
}

void CParaEditDlg::OnSelectAll() {
    if (CWnd* box = GetDlgItem(IDC_PE_SELECT_ALL))
        m_selectAll = static_cast<CButton*>(box)->GetCheck() ? 1 : 0;
    ParaEditKept.selectAll = m_selectAll;
    for (int row = 0; row < m_list.GetItemCount(); ++row) {
        if (!m_selectAll)
            m_list.SetCheck(row, false);
        else if (!IsSelectAllExcluded(RowCode(row)))
            m_list.SetCheck(row, true);
    }
}

int CParaEditDlg::RowsToHandle() {
    const int rows = m_list.GetItemCount();
    if (rows == 0)
        return 0;
    if (CheckedRowCount(rows) == 0) {
        ShowNothingSelected();
        return 0;
    }
    return rows;
}

void CParaEditDlg::OnRead() {
    const int rows = RowsToHandle();
    if (rows == 0)
        return;
    if (ReadCheckedParameters(rows)) {
        ReadVersionItems();
        ShowFirmwareVersions();
        UpdateData(FALSE);
    }
}

void CParaEditDlg::OnWrite() {
    const int rows = RowsToHandle();
    if (rows == 0)
        return;
    bool resetChecked = false;
    bool otherChecked = false;
    for (int row = 0; row < rows; ++row) {
        if (!m_list.GetCheck(row))
            continue;
        if (ParamText(RowCode(row)) != "Cn029") {
            otherChecked = true;
            continue;
        }
        const std::string value = m_list.GetItemText(row, kColumnValue);
        if (!value.empty() && ParseHexChar(value[0]) == 1)
            resetChecked = true;
    }
    if (resetChecked && otherChecked) {
        ShowMessage(Text(IDS_PE_CN029_ALONE), Text(IDS_PE_ERROR_MESSAGE), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    WriteCheckedParameters(rows);
}

void CParaEditDlg::OnSetDefault() {
    const int rows = RowsToHandle();
    if (rows == 0)
        return;
    if (ShowMessage(Text(IDS_PE_SET_DEFAULT_QUESTION), Text(IDS_PE_SET_DEFAULT_CAPTION),
                    MB_OKCANCEL | MB_ICONEXCLAMATION) == IDOK)
        SetCheckedToDefault(rows);
}

void CParaEditDlg::OnCompare() {
    CKeloServoDoc* doc = Doc();
    if (!doc)
        return;
    const CompareRunEnvironment environment{this, *doc, view_.Services(), DebugModeFlag != 0};
    RunCompareCommand(environment, m_compareChoices);
}

void CParaEditDlg::OnChange() {
    DisplaySetChoice choice = ChoiceFromDisplaySet(m_displaySet, m_presence);
    DefinedList defined = view_.DefinedParameters();
    if (!RunDisplaySetDialog(this, choice, defined, Context()))
        return;
    m_displaySet = DisplaySetFromChoice(choice);
    if (m_displaySet.mode == DisplayDefined)
        view_.DefinedParameters() = defined;
    UpdateDisplaySetTitle();
    RemoveRowsAndColumns();
    FillRows();
    Invalidate();
}

void CParaEditDlg::OnTabChange(NMHDR*, LRESULT* result) {
    StoreCheckMarks();
    m_currentTab = std::max(0, m_tab.GetCurSel());
    RemoveRowsAndColumns();
    FillRows();
    Invalidate();
    *result = 0;
}

void CParaEditDlg::OnListDoubleClick(NMHDR*, LRESULT* result) {
    OnEdit();
    *result = 0;
}

void CParaEditDlg::OnListIgnored(NMHDR*, LRESULT* result) {
    *result = 0;
}

void CParaEditDlg::OnHeaderEndTrack(NMHDR*, LRESULT* result) {
    SetTimer(ParaEditRepaintTimer, 10);
    *result = 0;
}

BOOL CParaEditDlg::PreTranslateMessage(MSG* msg) {
    if (msg && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN && m_list.GetSafeHwnd() &&
        m_list.GetSelectionMark() >= 0) {
        OnEdit();
        return TRUE;
    }
    return CDialog::PreTranslateMessage(msg);
}

void CParaEditDlg::OnTimer(UINT_PTR id) {
    if (id == ParaEditRepaintTimer) {
        Invalidate();
        KillTimer(ParaEditRepaintTimer);
        return;
    }
    // A long transfer of the view lets this timer through between its requests; reading now would
    // mix our requests into its exchange.
    if (id != ParaEditReadTimer || !Doc() || PassOnTheLine() || view_.Services().ViewBusyFlag)
        return;
    if (!ConnectedFlag) {
        m_firstRead = 0;
        return;
    }
    if (!m_firstRead) {
        m_firstRead = 1;
        ReadAllParameters();
    }
    RefreshRows();
}

void CParaEditDlg::OnSize(UINT, int cx, int) {
    // The frame is fixed; a size change only needs a repaint.
    if (cx > 0)
        Invalidate();
}

void CParaEditDlg::ShowFirmwareVersions() {
    CKeloServoDoc* doc = Doc();
    if (!DebugModeFlag || !doc)
        return;
    const int cpu = doc->m_DriveSoftwareVersion;
    const int asic = doc->m_AsicVersion;
    const int mcu = doc->m_ExtendedVersion;
    SetDlgItemText(IDC_PE_CPU_VERSION, Format("CPU Software Ver.\nA%.2d.%02d", cpu / 100, cpu % 100));
    SetDlgItemText(IDC_PE_ASIC_VERSION, Format("ASIC Software Ver.\nA%.2d.%02d", asic / 100, asic % 100));
    SetDlgItemText(IDC_PE_MCU_VERSION, Format("MCU internal Ver.%.1d.%03d", mcu / 1000, mcu % 1000));
}

// --- Closing ------------------------------------------------------------------------------------------

void CParaEditDlg::OnCancel() {
    if (PassOnTheLine())
        return; // a pass still uses this window; it can be closed once the pass ends
    KillTimer(ParaEditReadTimer);
    ParaEditKept.displaySet = m_displaySet;
    ParaEditKept.currentTab = m_currentTab;
    ParaEditKept.selectAll = m_selectAll;
    StoreCheckMarks();
    ParaEditKept.marks = m_marks;
    view_.EditorClosed();
    DestroyWindow();
}

void CParaEditDlg::PostNcDestroy() {
    delete this;
}

// --- Row editing --------------------------------------------------------------------------------------

void CParaEditDlg::OnEdit() {
    if (PassOnTheLine())
        return;
    const int row = m_list.GetSelectionMark();
    CKeloServoDoc* doc = Doc();
    if (row < 0 || row >= m_list.GetItemCount() || !doc) {
        Invalidate();
        return;
    }
    const std::string shown = RowCode(row);
    const std::string code = ParamText(shown);
    ValueEditRequest request;
    request.rowCode = shown;
    request.title = m_list.GetItemText(row, kColumnName);
    request.unit = m_list.GetItemText(row, kColumnUnit);
    GetParamLimits(code, request.min, request.max, request.rangeText);
    GetParamValue(code, request.value);

    // The editors ask the document of this window for context and limits.
    ValueEditEnvironment& environment = EditorEnvironment();
    const ValueEditEnvironment saved = environment;
    environment.context = [this] { return Context(); };
    environment.limits = [this](std::string_view c, int& lo, int& hi) {
        std::string range;
        return GetParamLimits(c, lo, hi, range);
    };
    const std::weak_ptr<int> alive = Life();
    const ValueEditOutcome outcome = RunValueEditor(request);
    EditorEnvironment() = saved;
    if (alive.expired())
        return; // the window went away while the editor ran
    doc = Doc();
    if (!outcome.changed || !outcome.value || !doc) {
        Invalidate();
        return;
    }
    const int v = *outcome.value;

    SetValueCell(row, code, v);
    MarkCellChanged(row, kColumnValue);
    m_list.SetCheck(row, true);
    StoreValueAndTwins(code, v);
    if (code == "Cn001") {
        doc->SetDioDefaultsByControlMode();
        RefreshHnRows();
    }
    if (code == "Cn026")
        ApplyRigidity(v);
    m_marks.Set(ParamMarkTables::Changed, code, 1);
    m_marks.Set(ParamMarkTables::OverRange, code, 0);
    m_marks.Set(ParamMarkTables::Check, code, 1);
    if (code == "Cn004")
        ApplyEditedValue("Pn314", v);
    else if (code == "Pn314")
        ApplyEditedValue("Cn004", v);
    MirrorQnTriple(code, v);
    if (code == "Sn205")
        for (const char* unitCode : {"Sn208", "Sn209", "Sn210"})
            RefreshRowUnit(unitCode);
    Invalidate();
}

void CParaEditDlg::ApplyRigidity(int level) {
    // The gain tables hold one entry per value 0..20; a higher value leaves the gains alone.
    if (level < 0 || level >= kRigidityLevels)
        return;
    const RigidityGains gains = RigidityGainsOf(level + 1);
    const std::pair<const char*, int> settings[] = {
        {"Pn310", gains.pn310}, {"Sn211", gains.sn211}, {"Sn212", gains.sn212}, {"Cn034", gains.cn034}};
    for (const auto& [code, value] : settings) {
        ApplyEditedValue(code, value);
        // Cn034's tn twin must follow as it does for a Cn034 edited by hand.
        StoreValueAndTwins(code, value);
    }
}

void CParaEditDlg::MirrorQnTriple(std::string_view code, int value) {
    const std::string other = QnTripleTwin(code);
    if (other.empty())
        return;
    // The triple's rule also hands the value on to the tn twin of the other side.
    ApplyEditedValue(code, value);
    m_marks.Set(ParamMarkTables::OverRange, other, 0);
}

// --- Reading ------------------------------------------------------------------------------------------

void CParaEditDlg::StoreReadValue(std::string_view code, int value, bool readAll) {
    CKeloServoDoc* doc = Doc();
    if (int* slot = doc->FindValue(code))
        *slot = value;
    if (code == "Cn030") {
        view_.SetEncoderPulsesPerTurn(EncoderPulses(value));
        if (readAll)
            ModelCode = value;
        doc->SetDriveDependentDefaults();
    } else if (code == "Cn001") {
        doc->SetDioDefaultsByControlMode();
    }
}

bool CParaEditDlg::PassOnTheLine() const {
    return view_.Services().PassRunning;
}

BOOL CParaEditDlg::ReadAllParameters() {
    CKeloServoDoc* doc = Doc();
    if (!doc || !ConnectedFlag)
        return FALSE;
    CRegisterServices& services = view_.Services();
    // The pass starts before its question: a message handled while the question is open (the read
    // timer, a button) must not start a second one.
    CTransferProgress progressWindow(this);
    CTransferPass pass(services, PassOwner(this, &progressWindow));
    if (pass.Refused())
        return FALSE;
    if (ShowMessage(Text(IDS_PE_READ_QUESTION), Text(IDS_PE_READ_QUESTION_CAPTION),
                    MB_YESNO | MB_ICONQUESTION) != IDYES)
        return FALSE;
    if (doc->IsModified()) {
        const int answer = ShowMessage(Text(IDS_SAVE_QUESTION), Text(IDS_PE_SAVE_CAPTION),
                                       MB_YESNOCANCEL | MB_ICONEXCLAMATION);
        if (answer == IDCANCEL)
            return FALSE;
        if (answer == IDYES) {
            // Reading over changes that could not be saved would lose them: stop as for Cancel.
            if (!view_.SaveDocument())
                return FALSE;
            doc->SetModifiedFlag(false);
        }
    }
    if (!CheckConnected())
        return FALSE;
    ReadVersionItems(&pass);
    if (pass.OwnerGone())
        return FALSE;
    ShowFirmwareVersions();

    const std::vector<std::string> codes = ReadAllCodes(Context());
    // Values are collected first and stored only once every one was read, so a refused parameter or
    // a lost link leaves the document as it was.
    std::vector<std::pair<std::string, int>> values;
    values.reserve(codes.size());
    std::vector<std::string> notRead;
    pass.OpenProgress(IDD_PROGRESS_PARAEDIT, 3 * static_cast<int>(codes.size()), Text(IDS_PE_READ_CAPTION));
    ParamTransfer transfer(services, pass);
    const std::string reading = Text(IDS_PE_READING);
    pass.SetText(reading);
    for (const std::string& code : codes) {
        pass.Step();
        if (!ParamTransfer::HasAddress(code)) {
            // Not reachable in this link mode (no register of its own): the document keeps it and
            // the user is told, so the old value is not taken for the drive's.
            notRead.push_back(code);
            pass.Step(2);
            continue;
        }
        pass.Step();
        const std::optional<int> value = transfer.Read(code, true);
        if (pass.OwnerGone())
            return FALSE; // closed meanwhile: nothing of this window is touched any more
        pass.Step();
        if (!value) {
            pass.Fail(code);
            return FALSE;
        }
        values.emplace_back(code, *value);
        if (!pass.Pump())
            return FALSE;
    }
    pass.CloseProgress();

    bool plainOver = false;
    bool newerOver = false;
    for (const auto& [code, value] : values) {
        const bool inRange = IsValueInRange(code, value);
        m_marks.Set(ParamMarkTables::OverRange, code, inRange ? 0 : 1);
        if (!inRange) {
            (IsNewerGroupCode(code) ? newerOver : plainOver) = true;
            doc->m_Names.push_back(code + Format(",%d", value));
        }
        StoreReadValue(code, value, true);
    }
    for (int n = 1; n <= 4; ++n)
        doc->Value(Docqn, n) = doc->Value(DocSn, 10 + n);
    for (int n = 5; n <= 7; ++n)
        doc->Value(Docqn, n) = doc->Value(DocPn3, 5 + n);
    doc->InitSeriesDefaults();
    doc->InitDependentDefaults();

    const CatalogueContext context = Context();
    for (int row = 0; row < m_list.GetItemCount(); ++row) {
        const std::string code = RowCode(row);
        int value = 0;
        if (std::find(notRead.begin(), notRead.end(), code) != notRead.end() || !GetParamValue(code, value))
            continue; // a row not read keeps its text and marks, as one not written does
        SetCellText(row, kColumnValue, FormatParamValue(code, value, context));
        m_marks.Set(ParamMarkTables::Changed, code, 0);
        if (m_marks.Get(ParamMarkTables::OverRange, code))
            MarkCellOverRange(row, kColumnValue);
        else
            ClearCellMarks(row, kColumnValue);
    }
    doc->SetModifiedFlag(true);
    pass.End();
    ShowNotRead(notRead);
    if (plainOver || (DebugModeFlag && newerOver))
        ShowMessage(Text(IDS_PE_OVER_RANGE_RED), std::string(), MB_OK);
    return TRUE;
}

CKeloServoDoc* CParaEditDlg::CheckedPassDocument(int& rowCount) {
    if (!CheckConnected())
        return nullptr;
    rowCount = std::min(rowCount, m_list.GetItemCount());
    return Doc();
}

BOOL CParaEditDlg::ReadCheckedParameters(int rowCount) {
    CKeloServoDoc* doc = CheckedPassDocument(rowCount);
    if (!doc)
        return FALSE;
    CRegisterServices& services = view_.Services();
    CTransferProgress progressWindow(this);
    CTransferPass pass(services, PassOwner(this, &progressWindow));
    if (pass.Refused())
        return FALSE;
    const std::string reading = Text(IDS_PE_READING);
    std::vector<std::optional<int>> values(static_cast<size_t>(std::max(rowCount, 0)));
    std::vector<std::string> notRead;
    bool linkLost = false;
    pass.OpenProgress(IDD_PROGRESS_PARAEDIT, 3 * CheckedRowCount(rowCount), Text(IDS_PE_READ_CAPTION));
    ParamTransfer transfer(services, pass);
    for (int row = 0; row < rowCount; ++row) {
        if (!m_list.GetCheck(row))
            continue;
        const std::string code = ParamText(RowCode(row));
        pass.SetText(reading);
        if (!ParamTransfer::HasAddress(code)) {
            // Nothing to ask in this link mode: the rows after it are read all the same.
            notRead.push_back(code);
            pass.Step(3);
            continue;
        }
        pass.Step(2);
        values[static_cast<size_t>(row)] = transfer.Read(code, false);
        if (pass.OwnerGone())
            return FALSE; // closed meanwhile: nothing of this window is touched any more
        pass.Step();
        if (values[static_cast<size_t>(row)]) {
            if (!pass.Pump())
                return FALSE;
            continue;
        }
        pass.ShowFailure(reading);
        if (!ConnectedFlag || !transfer.LastFailureWasRefusal()) {
            // No answer: every further row would wait and fail the same way, one message is enough.
            linkLost = true;
            break;
        }
    }
    pass.CloseProgress();

    const CatalogueContext context = Context();
    for (int row = 0; row < rowCount; ++row) {
        const std::optional<int>& read = values[static_cast<size_t>(row)];
        if (!read)
            continue; // not read: the row keeps its value and marks
        const std::string code = ParamText(RowCode(row));
        const int value = *read;
        const bool hex = (ParamFlags(code, context) & AttrFormatHexBit) != 0;
        const bool inRange = IsValueInRange(code, value);
        if (inRange) {
            ClearCellMarks(row, kColumnValue);
        } else {
            MarkCellOverRange(row, kColumnValue);
            pass.ShowFailure(OverRangeDetail(code, value, hex));
        }
        SetCellText(row, kColumnValue, FormatParamValue(code, value, context));
        StoreReadValue(code, value, false);
        m_marks.Set(ParamMarkTables::Changed, code, 0);
        m_marks.Set(ParamMarkTables::OverRange, code, inRange ? 0 : 1);
        if (HasTwinGroup(code))
            CopyValueToTwins(code, value);
        if (code == "Sn205")
            for (const char* unitCode : {"Sn208", "Sn209", "Sn210"})
                RefreshRowUnit(unitCode);
    }
    doc->SetModifiedFlag(true);
    pass.End();
    ShowNotRead(notRead);
    return linkLost ? FALSE : TRUE;
}

void CParaEditDlg::ShowNotRead(const std::vector<std::string>& codes) {
    if (!codes.empty())
        ShowMessage(Text(IDS_PE_NOT_READ_MODBUS) + "\n" + CodeListText(codes),
                    Text(IDS_PE_READ_QUESTION_CAPTION), MB_OK | MB_ICONEXCLAMATION);
}

BOOL CParaEditDlg::ReadVersionItems(CTransferPass* pass) {
    CKeloServoDoc* doc = Doc();
    if (!ConnectedFlag || !doc)
        return FALSE;
    CRegisterServices& services = view_.Services();
    int words[2] = {};
    const int numbers[2] = {4, 9};
    // Within a pass the window handles its messages between these requests too; outside one a
    // message could start a pass in the middle of them.
    const auto betweenRequests = [pass] { return !pass || pass->Pump(); };
    for (int i = 0; i < 2; ++i) {
        const auto address = ParameterRegisterAddress('d', numbers[i], 0);
        if (!address)
            return FALSE;
        if (i > 0 && !betweenRequests())
            return FALSE;
        char request[80] = {};
        char reply[80] = {};
        CInternalCode::BuildReadWord(request, *address);
        if (services.SendCommand(request, 8, reply, 7) != ReplyRead)
            return FALSE;
        const int raw = HexWordValue(std::string_view(reply + 1, 4));
        if (raw < 0)
            return FALSE;
        words[i] = ConvertRawParameterValue('d', numbers[i], static_cast<std::int16_t>(raw), 0);
    }
    doc->m_DriveSoftwareVersion = words[0];
    doc->m_AsicVersion = words[1];
    if (!betweenRequests())
        return FALSE;
    // A failed read leaves the onU48 word of the connect as it was.
    if (const std::optional<int> extended = services.ReadDriveParameter("onU48"))
        doc->m_ExtendedVersion = *extended;
    return betweenRequests() ? TRUE : FALSE;
}

// --- Writing and defaults -----------------------------------------------------------------------------

BOOL CParaEditDlg::WriteCheckedParameters(int rowCount) {
    CKeloServoDoc* doc = CheckedPassDocument(rowCount);
    if (!doc)
        return FALSE;
    CRegisterServices& services = view_.Services();
    CTransferProgress progressWindow(this);
    CTransferPass pass(services, PassOwner(this, &progressWindow));
    if (pass.Refused())
        return FALSE;
    const CatalogueContext context = Context();
    const std::string writing = Text(IDS_PE_WRITING);
    bool cn001 = false;
    std::vector<int> hnNumbers;
    bool restart = false;
    std::vector<std::string> notWritten;
    pass.OpenProgress(IDD_PROGRESS_PARAEDIT, 3 * CheckedRowCount(rowCount), Text(IDS_PE_WRITE_CAPTION));
    ParamTransfer transfer(services, pass);
    for (int row = 0; row < rowCount; ++row) {
        if (!m_list.GetCheck(row))
            continue;
        const std::string shown = RowCode(row);
        if (IsNeverWritten(shown)) {
            pass.Step(3);
            continue;
        }
        const std::string code = ParamText(shown);
        if (code == "Cn001")
            cn001 = true;
        if (code.rfind("Hn6", 0) == 0)
            hnNumbers.push_back(ParamNumber(code));
        const std::string step = writing + shown;
        pass.SetText(step);
        pass.Step();
        const bool hex = (ParamFlags(code, context) & AttrFormatHexBit) != 0;
        const std::optional<int> value = ParseCellValue(m_list.GetItemText(row, kColumnValue), hex);
        if (!value || !IsValueInRange(code, *value)) {
            pass.Fail("Over Range!!\n\n" + step);
            return FALSE;
        }
        pass.Step();
        const ParamTransfer::WriteResult result = transfer.Write(code, *value);
        if (pass.OwnerGone())
            return FALSE; // closed meanwhile: nothing of this window is touched any more
        pass.Step();
        if (result.status == ParamTransfer::WriteStatus::NoAddress) {
            // Sending it to another parameter's register would change the wrong setting.
            notWritten.push_back(shown);
            continue;
        }
        if (result.status != ParamTransfer::WriteStatus::Written) {
            pass.Fail(step);
            return FALSE;
        }
        restart = restart || result.needsRestart;
        ClearCellMarks(row, kColumnValue);
        m_marks.Set(ParamMarkTables::Changed, code, 0);
        if (HasTwinGroup(code))
            MarkTwinRows(code, 0);
        if (!pass.Pump())
            return FALSE;
    }
    // The drive takes the control mode of Cn001 only once register 0x1702 follows, which matters
    // when pins were assigned for the new mode.
    if (cn001 && !hnNumbers.empty()) {
        const std::optional<int> driveMode = services.ReadDriveRegister(0x1702);
        if (driveMode && *driveMode != doc->Value(DocCn, 1)) {
            for (int n : hnNumbers) {
                if (n >= 1 && n <= DocGroupSize(DocHn) && doc->Value(DocHn, n) != doc->Default(DocHn, n)) {
                    services.WriteDriveRegister(0x1702, doc->Value(DocCn, 1));
                    break;
                }
            }
        }
    }
    // The result box waits for the user: the line is free again before it opens.
    pass.End();
    std::string text;
    const int checked = CheckedRowCount(rowCount);
    if (notWritten.empty() || static_cast<int>(notWritten.size()) < checked) {
        text = Text(IDS_PE_WRITE_DONE);
        if (restart)
            text += "\n\n" + Text(IDS_PE_RESTART_NOTICE);
    }
    if (!notWritten.empty()) {
        if (!text.empty())
            text += "\n\n";
        text += Text(IDS_PE_NOT_WRITTEN_MODBUS) + "\n" + CodeListText(notWritten);
    }
    ShowMessage(text, Text(IDS_PE_WRITE_MESSAGE), MB_OK | MB_ICONEXCLAMATION);
    return notWritten.empty() ? TRUE : FALSE;
}

void CParaEditDlg::SetCheckedToDefault(int rowCount) {
    CKeloServoDoc* doc = Doc();
    if (!doc)
        return;
    doc->InitSeriesDefaults();
    rowCount = std::min(rowCount, m_list.GetItemCount());
    for (int row = 0; row < rowCount; ++row) {
        if (!m_list.GetCheck(row))
            continue;
        const std::string code = ParamText(RowCode(row));
        const int* byDefault = doc->FindDefault(code);
        if (!byDefault)
            continue;
        const int value = *byDefault;
        SetDocumentValue(code, value);
        m_marks.Set(ParamMarkTables::Changed, code, 1);
        SetValueCell(row, code, value);
        MarkCellChanged(row, kColumnValue);
        const std::string twin = QnTripleTwin(code);
        if (twin.empty())
            continue;
        SetDocumentValue(twin, value);
        m_marks.Set(ParamMarkTables::Changed, twin, 1);
        const int twinRow = FindRow(twin);
        if (twinRow >= 0) {
            SetValueCell(twinRow, twin, value);
            MarkCellChanged(twinRow, kColumnValue);
        }
    }
    doc->SetModifiedFlag(true);
}
