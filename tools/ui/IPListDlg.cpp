#include "tools/ui/IPListDlg.h"

#include "catalogue/ParamCode.h"
#include "framework/core/MessageSeam.h"
#include "resources/ids/tools.h"
#include "tools/ui/PositionPageSupport.h"
#include "tuning/ui/ChildPage.h"

namespace {
constexpr const char* InputLegendB =
    ": The input contact signal is set to normally closed. (When the function is "
    "activated, the contact is disconnected from the IG24 contact.)";
constexpr const char* InputLegendA =
    ": The input contact signal is set to normally open. (When the function is "
    "activated, the contact is short-circuited with the IG24 contact.)";
constexpr const char* InputNote =
    "[Note: The DI pin function can be repeated, but the action potential of the pins "
    "of the repeated function must be the same. ]";
constexpr const char* OutputLegendB =
    ": The output contact signal is set to normally closed. (When the function "
    "is activated, the contact is disconnected from the IG24 contact.)";
constexpr const char* OutputLegendA =
    ": The output contact signal is set to normally open. (When the function is "
    "activated, the contact is short-circuited with the IG24 contact.)";
constexpr const char* OutputNote = "[Note: The DO pin function cannot be repeated. ]";

int OutputCodeId(int pin) {
    return pin < 4 ? IDC_DIO_OUTPUT_CODE_FIRST + pin : IDC_DIO_OUTPUT_CODE_SECOND + pin - 4;
}
int OutputNameId(int pin) {
    return pin < 4 ? IDC_DIO_OUTPUT_NAME_FIRST + pin : IDC_DIO_OUTPUT_NAME_SECOND + pin - 4;
}
} // namespace

CIPListDlg::CIPListDlg(const std::array<int, DioValueCount>& values, std::function<bool(bool, int)> offered,
                       CWnd* parent)
    : CDialog(IDD_DIO_LIST, parent), m_grid(values, std::move(offered)) {}

const MessageMap* CIPListDlg::GetMessageMap() const {
    static const MessageMap map(CDialog::GetMessageMap(),
                                {
                                    msg::Command(IDC_DIO_INPUTS, &CIPListDlg::OnInputs),
                                    msg::Command(IDC_DIO_OUTPUTS, &CIPListDlg::OnOutputs),
                                });
    return &map;
}

void CIPListDlg::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
    DDX_Radio(dx, IDC_DIO_INPUTS, m_mode);
}

BOOL CIPListDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    CreateChildPage(m_grid, IDD_DIO_GRID, this);
    if (CWnd* frame = GetDlgItem(IDC_DIO_FRAME)) {
        CRect area;
        frame->GetWindowRect(&area);
        ScreenToClient(&area);
        m_grid.MoveWindow(area);
        m_grid.ShowWindow(SW_SHOW);
    }
    for (int pin = 0; pin < DioInputColumns; ++pin)
        SetDlgItemText(IDC_DIO_INPUT_CODE_FIRST + pin, ParamCodeFromIndex(601 + pin));
    GetDlgItem(IDC_DIO_INPUT_CODE_FIRST + DioInputPins)->ShowWindow(SW_HIDE);
    GetDlgItem(IDC_DIO_INPUT_NAME_FIRST + DioInputPins)->ShowWindow(SW_HIDE);
    PlaceLabels();
    ShowLabels(false);
    UpdateData(FALSE);
    return TRUE;
}

void CIPListDlg::PlaceLabels() {
    CWnd* frame = GetDlgItem(IDC_DIO_FRAME);
    if (!frame)
        return;
    CRect area;
    frame->GetWindowRect(&area);
    ScreenToClient(&area);
    auto place = [this, &area](int id, int x, int width) {
        if (CWnd* label = GetDlgItem(id)) {
            CRect rect;
            label->GetWindowRect(&rect);
            ScreenToClient(&rect);
            label->MoveWindow(area.left + x, rect.top, width, rect.Height());
        }
    };
    for (int pin = 0; pin < DioInputPins; ++pin) {
        const int x = CInOutParaDlg::FirstColumnX + pin * CInOutParaDlg::CellWidth;
        place(IDC_DIO_INPUT_CODE_FIRST + pin, x, CInOutParaDlg::CellWidth);
        place(IDC_DIO_INPUT_NAME_FIRST + pin, x, CInOutParaDlg::CellWidth);
    }
    for (int pin = 0; pin < DioOutputPins; ++pin) {
        const int x = CInOutParaDlg::FirstColumnX + pin * CInOutParaDlg::OutputCellWidth;
        place(OutputCodeId(pin), x, CInOutParaDlg::OutputCellWidth);
        place(OutputNameId(pin), x, CInOutParaDlg::OutputCellWidth);
    }
}

void CIPListDlg::ShowLabels(bool outputs) {
    for (int pin = 0; pin < DioInputPins; ++pin) {
        GetDlgItem(IDC_DIO_INPUT_CODE_FIRST + pin)->ShowWindow(outputs ? SW_HIDE : SW_SHOW);
        GetDlgItem(IDC_DIO_INPUT_NAME_FIRST + pin)->ShowWindow(outputs ? SW_HIDE : SW_SHOW);
    }
    for (int pin = 0; pin < DioOutputPins; ++pin) {
        GetDlgItem(OutputCodeId(pin))->ShowWindow(outputs ? SW_SHOW : SW_HIDE);
        GetDlgItem(OutputNameId(pin))->ShowWindow(outputs ? SW_SHOW : SW_HIDE);
    }
    SetDlgItemText(IDC_DIO_LEGEND_B, outputs ? OutputLegendB : InputLegendB);
    SetDlgItemText(IDC_DIO_LEGEND_A, outputs ? OutputLegendA : InputLegendA);
    SetDlgItemText(IDC_DIO_NOTE, outputs ? OutputNote : InputNote);
}

void CIPListDlg::OnInputs() {
    if (m_mode == 0)
        return;
    if (!m_grid.ShowInputGrid()) {
        CheckRadioButton(IDC_DIO_INPUTS, IDC_DIO_OUTPUTS, IDC_DIO_OUTPUTS);
        return;
    }
    m_mode = 0;
    ShowLabels(false);
}

void CIPListDlg::OnOutputs() {
    if (m_mode == 1)
        return;
    if (!m_grid.ShowOutputGrid()) {
        CheckRadioButton(IDC_DIO_INPUTS, IDC_DIO_OUTPUTS, IDC_DIO_INPUTS);
        return;
    }
    m_mode = 1;
    ShowLabels(true);
}

void CIPListDlg::OnOK() {
    if (m_grid.CommitAssignment())
        EndDialog(IDOK);
}

BOOL CIPListDlg::PreTranslateMessage(MSG* msg) {
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_ESCAPE)
        return TRUE;
    return CDialog::PreTranslateMessage(msg);
}
