#include "trace/ui/ParaListDialog.h"

#include "catalogue/ParamCode.h"
#include "catalogue/ParamTexts.h"
#include "resources/ids/trace.h"

CParaListDialog::CParaListDialog(const ParameterSnapshot& snapshot, std::optional<CatalogueContext> context,
                                 CWnd* parent)
    : CDialogEx(IDD_TRACE_PARAMETERS, parent), snapshot_(snapshot), context_(std::move(context)) {}

void CParaListDialog::DoDataExchange(CDataExchange* dx) {
    CDialogEx::DoDataExchange(dx);
    DDX_Control(dx, IDC_TP_LIST, list_);
}

BOOL CParaListDialog::OnInitDialog() {
    CDialogEx::OnInitDialog();
    list_.SetExtendedStyle(list_.GetExtendedStyle() | LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT |
                           LVS_EX_INFOTIP);
    CRect area;
    list_.GetClientRect(&area);
    list_.InsertColumn(0, "Code", LVCFMT_LEFT, 60);
    list_.InsertColumn(1, "Parameter Name", LVCFMT_LEFT, area.Width() - 204);
    list_.InsertColumn(2, "Read Value", LVCFMT_LEFT, 70);
    list_.InsertColumn(3, "Unit", LVCFMT_LEFT, 70);
    if (!context_)
        return TRUE;
    const StringLoader load = ResourceStringLoader();
    for (int index : SnapshotListIndexes()) {
        const std::string code = ParamCodeFromIndex(index);
        const int row = list_.InsertItem(list_.GetItemCount(), code);
        list_.SetItemText(row, 1, ParamTitle(code, load));
        list_.SetItemText(row, 2, FormatParamValue(code, SnapshotValue(snapshot_, code), *context_));
        list_.SetItemText(row, 3, ParamUnitText(code, *context_, load));
    }
    return TRUE;
}
