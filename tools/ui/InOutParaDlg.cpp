#include "tools/ui/InOutParaDlg.h"

#include "catalogue/ParamTexts.h"
#include "framework/core/Format.h"
#include "framework/core/MessageSeam.h"
#include "framework/ui/DC.h"
#include "resources/ids/tools.h"

#include <algorithm>

namespace {
constexpr int RowCodeWidth = 20;
constexpr int RowNameX = 22;
constexpr int RowNameWidth = 64;
constexpr int ImageIds[3] = {IDB_DIO_NONE, IDB_DIO_CONTACT_B, IDB_DIO_CONTACT_A};
} // namespace

CInOutParaDlg::CInOutParaDlg(const std::array<int, DioValueCount>& values,
                             std::function<bool(bool, int)> offered)
    : CDialog(IDD_DIO_GRID), grid_(values), values_(values), offered_(std::move(offered)) {}

CInOutParaDlg::~CInOutParaDlg() = default;

const MessageMap* CInOutParaDlg::GetMessageMap() const {
    static const MessageMap map(
        CDialog::GetMessageMap(),
        {
            msg::CommandRange(DioFirstInputCell, DioLastCell + 1, &CInOutParaDlg::OnCellClicked),
            msg::HScroll(&CInOutParaDlg::OnHScroll),
            msg::VScroll(&CInOutParaDlg::OnVScroll),
            msg::Size(&CInOutParaDlg::OnSize),
            msg::MouseWheel(&CInOutParaDlg::OnMouseWheel),
            msg::CtlColor(&CInOutParaDlg::OnCtlColor),
        });
    return &map;
}

BOOL CInOutParaDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    for (size_t i = 0; i < images_.size(); ++i)
        images_[i].LoadBitmap(ImageIds[i]);
    inputTips_.Create(this);
    outputTips_.Create(this);
    cellImage_.assign(static_cast<size_t>(DioLastCell - DioFirstInputCell + 1), IDB_DIO_NONE);
    // The rows start below the "Function" header of the row names, which would cover row 0 otherwise.
    if (CWnd* caption = GetDlgItem(IDC_DIO_CAPTION)) {
        CRect rect;
        caption->GetWindowRect(&rect);
        ScreenToClient(&rect);
        rowsTop_ = rect.bottom + 2;
    }
    for (int row = 0; row < DioRows; ++row) {
        const int y = rowsTop_ + row * CellHeight;
        auto code = std::make_unique<CStatic>();
        code->Create(Format("%.2X", row).c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT,
                     CRect(2, y + 4, 2 + RowCodeWidth, y + CellHeight), this);
        rowCodes_.push_back(std::move(code));
        auto name = std::make_unique<CStatic>();
        name->Create("", WS_CHILD | WS_VISIBLE | SS_LEFT,
                     CRect(RowNameX, y + 4, RowNameX + RowNameWidth, y + CellHeight), this);
        rowNames_.push_back(std::move(name));
    }
    for (int pin = 0; pin < DioInputColumns; ++pin)
        for (int f = 0; f < DioRows; ++f) {
            auto cell = std::make_unique<CButton>();
            const int x = FirstColumnX + pin * CellWidth;
            const int id = IdOfCell({false, pin, f});
            const int y = rowsTop_ + f * CellHeight;
            cell->Create("CheckIn", WS_CHILD | BS_AUTOCHECKBOX | BS_PUSHLIKE | BS_BITMAP,
                         CRect(x, y, x + CellWidth, y + CellHeight), this, static_cast<UINT>(id));
            cell->SetBitmap(&images_[0]);
            if (pin < DioInputPins)
                cell->ShowWindow(SW_SHOW);
            inputTips_.AddTool(cell.get(),
                               Format("DI-%d: %.2X %s", pin + 1, f, DiFunctionName(f - 1).c_str()));
            inputCells_.push_back(std::move(cell));
        }
    for (int pin = 0; pin < DioOutputPins; ++pin)
        for (int f = 0; f < DioRows; ++f) {
            auto cell = std::make_unique<CButton>();
            const int x = FirstColumnX + pin * OutputCellWidth;
            const int id = IdOfCell({true, pin, f});
            const int y = rowsTop_ + f * CellHeight;
            cell->Create("X", WS_CHILD | BS_AUTOCHECKBOX | BS_PUSHLIKE | BS_BITMAP,
                         CRect(x, y, x + OutputCellWidth, y + CellHeight), this, static_cast<UINT>(id));
            cell->SetBitmap(&images_[0]);
            outputTips_.AddTool(cell.get(), Format("DO-%d: %.2X %s", pin + 1, f,
                                                   f == 0 ? "NULL" : DoFunctionName(f - 1).c_str()));
            outputCells_.push_back(std::move(cell));
        }
    for (int pin = 0; pin < DioInputPins; ++pin)
        PaintPin(false, pin);
    for (int pin = 0; pin < DioOutputPins; ++pin)
        PaintPin(true, pin);
    initialised_ = true;
    ShowGroup(false);
    return TRUE;
}

CButton* CInOutParaDlg::Cell(int id) {
    const std::optional<DioCell> cell = CellOfId(id);
    if (!cell)
        return nullptr;
    auto& cells = cell->output ? outputCells_ : inputCells_;
    const size_t index = static_cast<size_t>(cell->pin * DioRows + cell->function);
    return index < cells.size() ? cells[index].get() : nullptr;
}

int CInOutParaDlg::CellImage(int id) const {
    if (id < DioFirstInputCell || id > DioLastCell)
        return IDB_DIO_NONE;
    return cellImage_[static_cast<size_t>(id - DioFirstInputCell)];
}

CSize CInOutParaDlg::ContentSize() const {
    const int columns = outputs_ ? DioOutputPins * OutputCellWidth : DioInputPins * CellWidth;
    return {FirstColumnX + columns, rowsTop_ + DioRows * CellHeight};
}

std::string CInOutParaDlg::RowName(int row) const {
    if (row == 0)
        return "NULL";
    if (outputs_)
        return row < DioOutputRowsUsed ? DoFunctionName(row - 1) : std::string();
    return DiFunctionName(row - 1);
}

void CInOutParaDlg::PaintPin(bool output, int pin) {
    const int rows = output ? DioOutputRowsUsed : DioRows;
    for (int f = 0; f < DioRows; ++f) {
        const DioCell cell{output, pin, f};
        const int state = f < rows ? grid_.CellState(cell) : DioNone;
        const int id = IdOfCell(cell);
        int& shown = cellImage_[static_cast<size_t>(id - DioFirstInputCell)];
        CButton* button = Cell(id);
        if (!button)
            continue;
        // Only the cells that change are touched: a click repaints two or three of them.
        if (shown != ImageIds[state] || !initialised_)
            button->SetBitmap(&images_[static_cast<size_t>(state)]);
        shown = ImageIds[state];
        if (button->GetCheck() != (state == DioContactB ? 1 : 0))
            button->SetCheck(state == DioContactB ? 1 : 0);
    }
}

void CInOutParaDlg::OnCellClicked(UINT id) {
    const std::optional<DioCell> cell = CellOfId(static_cast<int>(id));
    if (!cell || !grid_.Toggle(*cell)) {
        // The click of a push-like check box flips its check; put the shown state back.
        if (cell && cell->pin < (cell->output ? DioOutputPins : DioInputPins))
            PaintPin(cell->output, cell->pin);
        return;
    }
    PaintPin(cell->output, cell->pin);
}

bool CInOutParaDlg::CheckGroup(bool outputs) {
    const std::string list = grid_.ConflictList(outputs);
    if (list.empty())
        return true;
    ShowMessage(std::string(outputs ? DioOutputConflictNote : DioInputConflictNote) + "\n\n" + list,
                outputs ? DioOutputConflictCaption : DioInputConflictCaption, MB_OK | MB_ICONEXCLAMATION);
    return false;
}

void CInOutParaDlg::ShowGroup(bool outputs) {
    outputs_ = outputs;
    for (int row = 0; row < DioRows; ++row)
        rowNames_[static_cast<size_t>(row)]->SetWindowText(RowName(row));
    for (int pin = 0; pin < DioInputColumns; ++pin)
        for (int f = 0; f < DioRows; ++f) {
            CButton& cell = *inputCells_[static_cast<size_t>(pin * DioRows + f)];
            const bool shown = !outputs && pin < DioInputPins;
            cell.ShowWindow(shown ? SW_SHOW : SW_HIDE);
            cell.EnableWindow(shown && (!offered_ || offered_(false, f)));
        }
    for (int pin = 0; pin < DioOutputPins; ++pin)
        for (int f = 0; f < DioRows; ++f) {
            CButton& cell = *outputCells_[static_cast<size_t>(pin * DioRows + f)];
            const bool shown = outputs && f < DioOutputRowsUsed;
            cell.ShowWindow(shown ? SW_SHOW : SW_HIDE);
            cell.EnableWindow(shown && (!offered_ || offered_(true, f)));
        }
    inputTips_.Activate(!outputs);
    outputTips_.Activate(outputs);
    ScrollTo(SB_HORZ, 0);
    ScrollTo(SB_VERT, 0);
    UpdateBars();
}

BOOL CInOutParaDlg::ShowInputGrid() {
    if (!CheckGroup(true))
        return FALSE;
    initialised_ = true;
    ShowGroup(false);
    return TRUE;
}

BOOL CInOutParaDlg::ShowOutputGrid() {
    if (!CheckGroup(false))
        return FALSE;
    ShowGroup(true);
    return TRUE;
}

BOOL CInOutParaDlg::CommitAssignment() {
    if (!CheckGroup(false) || !CheckGroup(true))
        return FALSE;
    values_ = grid_.Values();
    return TRUE;
}

void CInOutParaDlg::UpdateBars() {
    if (!GetSafeHwnd())
        return;
    CRect client;
    GetClientRect(&client);
    const CSize content = ContentSize();
    for (const auto& [bar, size, page, position] :
         {std::tuple{SB_HORZ, content.cx, client.Width(), hPosition_},
          std::tuple{SB_VERT, content.cy, client.Height(), vPosition_}}) {
        SCROLLINFO info;
        info.fMask = SIF_ALL;
        info.nMin = 0;
        info.nMax = std::max(0, size - 1);
        info.nPage = static_cast<UINT>(std::max(0, page));
        info.nPos = position;
        SetScrollInfo(bar, &info);
    }
}

void CInOutParaDlg::ScrollTo(int bar, int position) {
    int& current = bar == SB_HORZ ? hPosition_ : vPosition_;
    if (position == current)
        return;
    const int delta = current - position;
    if (bar == SB_HORZ)
        ScrollWindow(delta, 0);
    else
        ScrollWindow(0, delta);
    current = position;
    SetScrollPos(bar, position);
}

void CInOutParaDlg::OnHScroll(UINT code, UINT position, CScrollBar*) {
    CRect client;
    GetClientRect(&client);
    const int range = DioScrollRange(ContentSize().cx, client.Width(), 0);
    ScrollTo(SB_HORZ, DioScrollPosition(code, range, hPosition_, static_cast<int>(position)));
}

void CInOutParaDlg::OnVScroll(UINT code, UINT position, CScrollBar*) {
    CRect client;
    GetClientRect(&client);
    const int range = DioScrollRange(ContentSize().cy, client.Height(), 0);
    ScrollTo(SB_VERT, DioScrollPosition(code, range, vPosition_, static_cast<int>(position)));
}

BOOL CInOutParaDlg::OnMouseWheel(UINT, short delta, CPoint) {
    CRect client;
    GetClientRect(&client);
    const int range = DioScrollRange(ContentSize().cy, client.Height(), 0);
    ScrollTo(SB_VERT, DioWheelPosition(delta, range, vPosition_));
    return TRUE;
}

HBRUSH CInOutParaDlg::OnCtlColor(CDC* dc, CWnd* control, UINT) {
    // The header of the row names stands out in red on the window's face.
    if (control && control->GetDlgCtrlID() == IDC_DIO_CAPTION) {
        dc->SetTextColor(RGB(255, 0, 0));
        dc->SetBkMode(TRANSPARENT);
    }
    return nullptr;
}

void CInOutParaDlg::OnSize(UINT, int, int) {
    UpdateBars();
}

BOOL CInOutParaDlg::PreTranslateMessage(MSG* msg) {
    inputTips_.RelayEvent(msg);
    outputTips_.RelayEvent(msg);
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_ESCAPE)
        return TRUE;
    return CDialog::PreTranslateMessage(msg);
}
