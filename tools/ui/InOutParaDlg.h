#pragma once
// CInOutParaDlg: the DI/DO assignment grid inside the "DI/DO Contact Set Property" dialog: one column
// of function cells per pin (46 rows for the inputs, 34 used for the outputs), each a bitmap check
// button whose image shows the pin's contact type on its function's row. The rules are those of
// tools/DioGrid.h; this window draws them, scrolls them and reports conflicts.
#include "framework/ui/Button.h"
#include "framework/ui/Dialog.h"
#include "framework/ui/Gdi.h"
#include "framework/ui/Static.h"
#include "framework/ui/ToolTipCtrl.h"
#include "tools/DioGrid.h"

#include <array>
#include <functional>
#include <memory>
#include <vector>

struct CatalogueContext;

class CInOutParaDlg : public CDialog {
public:
    // The 24 Hn601..Hn624 words it starts from; `offered` says whether a function row (code) is
    // offered for the inputs ("Hn601") or the outputs ("Hn613") of the drive's series.
    CInOutParaDlg(const std::array<int, DioValueCount>& values,
                  std::function<bool(bool output, int function)> offered);
    ~CInOutParaDlg() override;
    const MessageMap* GetMessageMap() const override;
    BOOL OnInitDialog() override;

    static constexpr int CellWidth = 51;
    static constexpr int OutputCellWidth = 76;
    static constexpr int CellHeight = 21;
    static constexpr int FirstColumnX = 89;

    // The grid's side of a mode switch: false (after the conflict box) when the group left has a
    // conflict.
    BOOL ShowInputGrid();
    BOOL ShowOutputGrid();
    // The checks of both groups; then the pins' words. FALSE after the box of the first conflict.
    BOOL CommitAssignment();

    const DioGrid& Grid() const { return grid_; }
    const std::array<int, DioValueCount>& Values() const { return values_; }
    CButton* Cell(int id);
    // The image a cell shows (IDB_DIO_NONE, _CONTACT_B or _CONTACT_A).
    int CellImage(int id) const;
    bool OutputsShown() const { return outputs_; }
    CToolTipCtrl& Tips(bool outputs) { return outputs ? outputTips_ : inputTips_; }
    CSize ContentSize() const;
    // The top of function row 0, below the header of the row names.
    int RowsTop() const { return rowsTop_; }
    CPoint ScrollPosition() const { return {hPosition_, vPosition_}; }
    // Function names of the rows in the current mode.
    std::string RowName(int row) const;

protected:
    void OnCellClicked(UINT id);
    void OnHScroll(UINT code, UINT position, CScrollBar* bar);
    void OnVScroll(UINT code, UINT position, CScrollBar* bar);
    void OnSize(UINT type, int cx, int cy);
    BOOL OnMouseWheel(UINT flags, short delta, CPoint point);
    HBRUSH OnCtlColor(CDC* dc, CWnd* control, UINT kind);
    BOOL PreTranslateMessage(MSG* msg) override;
    void OnOK() override {}
    void OnCancel() override {}

private:
    bool CheckGroup(bool outputs);
    void PaintPin(bool output, int pin);
    void ShowGroup(bool outputs);
    void UpdateBars();
    void ScrollTo(int bar, int position);

    DioGrid grid_;
    std::array<int, DioValueCount> values_;
    std::function<bool(bool, int)> offered_;
    std::vector<std::unique_ptr<CButton>> inputCells_; // pin x 46 + function
    std::vector<std::unique_ptr<CButton>> outputCells_;
    std::vector<int> cellImage_; // by id - first input cell
    std::vector<std::unique_ptr<CStatic>> rowCodes_, rowNames_;
    std::array<CBitmap, 3> images_;
    CToolTipCtrl inputTips_, outputTips_;
    bool outputs_ = false;
    bool initialised_ = false;
    int hPosition_ = 0, vPosition_ = 0;
    int rowsTop_ = 0;
};
