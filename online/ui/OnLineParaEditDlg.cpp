#include "online/ui/OnLineParaEditDlg.h"

#include "catalogue/DocumentGlobals.h"
#include "catalogue/KeloServoDoc.h"
#include "catalogue/ParamAttributes.h"
#include "catalogue/ParamCode.h"
#include "catalogue/RegisterMap.h"
#include "framework/core/MessageSeam.h"
#include "framework/core/ResourceModule.h"
#include "framework/ui/Button.h"
#include "framework/ui/FileDialog.h"
#include "link/LinkState.h"
#include "link/services/RegisterServices.h"
#include "link/services/TransferPass.h"
#include "online/ui/OnLineParaSetDlg.h"
#include "resources/ids/controls.h"
#include "resources/ids/mainframe.h"
#include "resources/ids/online.h"
#include "shell/ShellGlobals.h"

#include <algorithm>

namespace {

// A flag set for the life of the object.
class Holding {
public:
    explicit Holding(bool& flag) : flag_(flag) { flag_ = true; }
    ~Holding() { flag_ = false; }
    Holding(const Holding&) = delete;
    Holding& operator=(const Holding&) = delete;

private:
    bool& flag_;
};

// The row and digit position of a step button, or nothing.
struct StepButton {
    int row;
    int position;
    bool up;
};
std::optional<StepButton> StepButtonOf(UINT id) {
    for (int row = 0; row < OnlineRowCount; ++row)
        for (int position = 0; position < OnlineDigitCount; ++position) {
            if (OnlineUpButtons[static_cast<size_t>(row)][static_cast<size_t>(position)] ==
                static_cast<int>(id))
                return StepButton{row, position, true};
            if (OnlineDownButtons[static_cast<size_t>(row)][static_cast<size_t>(position)] ==
                static_cast<int>(id))
                return StepButton{row, position, false};
        }
    return std::nullopt;
}

constexpr size_t kFiveDigit = 0;
constexpr size_t kSixDigit = 1;

} // namespace

COnLineParaEditDlg::COnLineParaEditDlg(IOnlineViewLink& view, CWnd* owner)
    : CDialog(IDD_ONLINE_EDIT, owner), view_(view), owner_(owner),
      scroller_(std::make_unique<DialogScrollHelper>()) {
    scroller_->AttachWnd(this);
}

COnLineParaEditDlg::~COnLineParaEditDlg() {
    scroller_->DetachWnd();
}

const MessageMap* COnLineParaEditDlg::GetMessageMap() const {
    static const MessageMap map(CDialog::GetMessageMap(),
                                {
                                    msg::Close(&COnLineParaEditDlg::CloseEditor),
                                    msg::Timer(&COnLineParaEditDlg::OnTimer),
                                    msg::HScroll(&COnLineParaEditDlg::OnHScroll),
                                    msg::VScroll(&COnLineParaEditDlg::OnVScroll),
                                    msg::Size(&COnLineParaEditDlg::OnSize),
                                    msg::Command(IDC_OE_SET, &COnLineParaEditDlg::OnSetRows),
                                    msg::Command(IDC_OE_OPEN, &COnLineParaEditDlg::LoadOnlineParameterFile),
                                    msg::Command(IDC_OE_SAVE, &COnLineParaEditDlg::SaveOnlineParameterFile),
                                    // The step buttons lie between 1002 and 1439; the handler
                                    // finds its row and digit by id.
                                    msg::CommandRange(1002, 1439, &COnLineParaEditDlg::OnStepButton),
                                });
    return &map;
}

BOOL COnLineParaEditDlg::Create() {
    return CDialog::Create(IDD_ONLINE_EDIT, owner_);
}

void COnLineParaEditDlg::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
    for (size_t row = 0; row < OnlineRowCount; ++row) {
        for (size_t width = 0; width < OnlineDisplayWidths.size(); ++width)
            DDX_Control(dx, OnlineRowDisplays[row][width], displays_[row][width]);
        DDX_Text(dx, OnlineRowTexts[row][0], rows_[row].code);
        DDX_Text(dx, OnlineRowTexts[row][1], rows_[row].name);
        DDX_Text(dx, OnlineRowTexts[row][2], rows_[row].unit);
        DDX_Text(dx, OnlineRowTexts[row][3], rows_[row].range);
    }
}

BOOL COnLineParaEditDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    for (auto& row : displays_) {
        for (size_t width = 0; width < row.size(); ++width) {
            CDigitST& display = row[width];
            display.SetBitmap(IDB_DIGIT_STRIP, OnlineDisplayWidths[width]);
            display.SetAlignment(4, TRUE);
            display.SetValue(0, TRUE);
            display.ShowWindow(width == kFiveDigit ? SW_SHOW : SW_HIDE);
        }
    }
    RebuildRows();
    // An editor opened without a link never reads on its own; the Set button and the steps do.
    if (ConnectedFlag)
        SetTimer(OnlineRefreshTimer, OnlineRefreshPeriodMs);
    return TRUE;
}

BOOL COnLineParaEditDlg::PreTranslateMessage(MSG* msg) {
    if (msg && msg->message == WM_KEYDOWN && msg->wParam == VK_ESCAPE)
        return TRUE;
    return CDialog::PreTranslateMessage(msg);
}

CKeloServoDoc* COnLineParaEditDlg::Doc() const {
    return view_.Document();
}

CatalogueContext COnLineParaEditDlg::Context() const {
    return view_.Context();
}

std::string COnLineParaEditDlg::Text(int id) const {
    return LoadResString(id);
}

// ---- Rows -----------------------------------------------------------------------------------------

void COnLineParaEditDlg::RebuildRows() {
    const CatalogueContext context = Context();
    for (size_t i = 0; i < rows_.size(); ++i) {
        OnlineRow& row = rows_[i];
        std::string code = OnlineSelection[i];
        // Another series' code stays in the selection for that series but shows nothing here.
        if (!code.empty() && !ParamInSeries(code, context))
            code.clear();
        if (code != row.code)
            row.readOnLink.reset();
        row.code = code;
        row.active = !code.empty();
        const RowTexts texts = RowTextsOf(code, Doc(), context, ResourceStringLoader());
        row.name = texts.title;
        row.unit = texts.unit;
        row.range = texts.range;
        row.limitsKnown = texts.limits.has_value();
        row.minimum = texts.limits ? texts.limits->minimum : 0;
        row.maximum = texts.limits ? texts.limits->maximum : 0;
    }
    RefreshRowValues();
    UpdateRowControls();
}

void COnLineParaEditDlg::UpdateRowControls() {
    const CatalogueContext context = Context();
    for (size_t r = 0; r < rows_.size(); ++r) {
        OnlineRow& row = rows_[r];
        const unsigned flags = row.active ? ParamFlags(row.code, context) : 0;
        const RowControlPlan plan =
            PlanRowControls(row.active, row.limitsKnown, flags, row.minimum, row.maximum);
        row.sixDigit = plan.sixDigit;
        for (size_t digit = 0; digit < OnlineDigitCount; ++digit) {
            for (int id : {OnlineUpButtons[r][digit], OnlineDownButtons[r][digit]}) {
                if (CWnd* button = GetDlgItem(id)) {
                    button->ShowWindow(plan.shown[digit] ? SW_SHOW : SW_HIDE);
                    button->EnableWindow(plan.enabled[digit]);
                }
            }
        }
        for (size_t width = 0; width < OnlineDisplayWidths.size(); ++width) {
            CDigitST& display = displays_[r][width];
            display.m_bHex = width == kFiveDigit && plan.hex;
            display.SetShowDigits(plan.showDigits);
            display.ShowWindow(OnlineDisplayWidths[width] == plan.width ? SW_SHOW : SW_HIDE);
            display.Invalidate(TRUE);
        }
    }
    SetRowTexts();
}

void COnLineParaEditDlg::SetRowTexts() {
    UpdateData(FALSE);
}

void COnLineParaEditDlg::ShowRowValue(int r) {
    const OnlineRow& row = rows_[static_cast<size_t>(r)];
    auto& displays = displays_[static_cast<size_t>(r)];
    const size_t first = row.sixDigit ? kSixDigit : kFiveDigit;
    displays[first].SetValue(row.value, TRUE);
    for (size_t width = 0; width < displays.size(); ++width)
        if (width != first)
            displays[width].SetValue(row.value, TRUE);
}

// ---- Drive traffic --------------------------------------------------------------------------------

std::optional<int> COnLineParaEditDlg::ReadParameterByName(const std::string& code) {
    // The editor speaks the maker's commands only; a Modbus link gets no request from it.
    if (!ConnectedFlag || ModbusMode)
        return std::nullopt;
    CRegisterServices& services = view_.Services();
    CBusyHold busy(services);
    const std::optional<int> value = services.ReadDriveParameter(code);
    // The drive's own numbers of brake modes 4 and 5 would be stepped and written back out of range.
    if (value && code == "Cn008")
        return Cn008FromDrive(*value);
    return value;
}

bool COnLineParaEditDlg::ReadRowValue(int r) {
    OnlineRow& row = rows_[static_cast<size_t>(r)];
    const std::optional<int> value = ReadParameterByName(row.code);
    if (!value)
        return false;
    row.value = *value;
    row.readOnLink = LinkEpoch.load();
    ShowRowValue(r);
    return true;
}

void COnLineParaEditDlg::RefreshRowValues() {
    if (!ConnectedFlag || busy_)
        return;
    Holding hold(busy_);
    const bool anyActive =
        std::any_of(rows_.begin(), rows_.end(), [](const OnlineRow& row) { return row.active; });
    if (!anyActive)
        return;
    if (!ModbusMode) {
        CRegisterServices& services = view_.Services();
        CBusyHold busy(services);
        if (const std::optional<int> speed = services.ReadDriveRegister(MotorMaxSpeedRegister))
            view_.SetMotorMaxSpeed(*speed);
    }
    for (int r = 0; r < OnlineRowCount; ++r) {
        if (!rows_[static_cast<size_t>(r)].active)
            continue;
        // A failure in the first three rows ends the pass; later rows are skipped one by one.
        if (!ReadRowValue(r) && r < 3)
            break;
    }
}

bool COnLineParaEditDlg::CheckLink() {
    if (ConnectedFlag)
        return true;
    ShowMessage(Text(IDS_COMMUNICATE_ERROR), Text(IDS_COMMUNICATION_MESSAGE), MB_OK | MB_ICONSTOP);
    CloseEditor();
    return false;
}

bool COnLineParaEditDlg::WriteParameterByName(const std::string& code, std::int32_t value) {
    if (!CheckLink())
        return false;
    CRegisterServices& services = view_.Services();
    CBusyHold busy(services);
    const char letter = ParamGroupLetter(code);
    const int index = ParamIndexFromCode(code);
    const int number = ParamNumber(code);
    const std::optional<uint16_t> address = ParameterRegisterAddress(letter, number, index);
    int result = ReplyFailed;
    if (address && !ModbusMode) {
        char reply[8] = {};
        if (IsDoubleWordParameter(letter, number, index)) {
            char request[20];
            BuildWriteDWord(request, *address, value);
            result = SendCommand(request, 20, reply, 1);
        } else {
            char request[12];
            const int word = letter == 'C' && number == 8 ? Cn008WireValue(value) : value;
            BuildWriteWord(request, *address, word);
            result = SendCommand(request, 12, reply, 1);
        }
    }
    if (result != ReplyWritten) {
        ShowEditFailed();
        return false;
    }
    // The dependent gains follow silently; the level's own write counts whatever they do.
    for (const ParameterWrite& write : RigidityFollowUpWrites(code, value, view_.RigidityTables()))
        services.WriteDriveParameter(write.code, write.value);
    return true;
}

// ---- Steps ----------------------------------------------------------------------------------------

void COnLineParaEditDlg::OnStepButton(UINT id) {
    if (const std::optional<StepButton> button = StepButtonOf(id))
        StepRow(button->row, button->position, button->up);
}

void COnLineParaEditDlg::StepRow(int r, int position, bool up) {
    if (busy_ || r < 0 || r >= OnlineRowCount)
        return;
    if (!CheckLink())
        return; // the window is gone
    const std::weak_ptr<int> alive = Life();
    Holding hold(busy_);
    OnlineRow& row = rows_[static_cast<size_t>(r)];
    // A row without limits would step from nothing to a value nobody chose.
    if (!row.active || !row.limitsKnown)
        return;
    // Never step a value that this link did not deliver (an editor opened before the connect, a
    // failed read, another drive): read it first, and write nothing when that fails.
    if (row.readOnLink != LinkEpoch.load() && !ReadRowValue(r)) {
        ShowEditFailed();
        return;
    }
    const std::int32_t old = row.value;
    const bool hex = (ParamFlags(row.code, Context()) & AttrFormatHexBit) != 0;
    const DigitStep step = StepOfPosition(position, hex);
    const bool changed = up ? StepValueUp(row.value, step.step, row.maximum, step.hex, step.hexDigit)
                            : StepValueDown(row.value, step.step, row.minimum, step.hex, step.hexDigit);
    if (!changed) {
        ShowOverRange();
        return;
    }
    ShowRowValue(r);
    const bool written = WriteParameterByName(row.code, row.value);
    if (alive.expired() || written)
        return;
    row.value = old;
    ShowRowValue(r);
}

void COnLineParaEditDlg::ShowOverRange() {
    ShowMessage(Text(IDS_OE_OVER_RANGE), Text(IDS_OE_ERROR_CAPTION), MB_OK | MB_ICONEXCLAMATION);
}

void COnLineParaEditDlg::ShowEditFailed() {
    ShowMessage(Text(IDS_OE_EDIT_FAILED), Text(IDS_COMMUNICATION_MESSAGE), MB_OK | MB_ICONSTOP);
}

// ---- Window ---------------------------------------------------------------------------------------

void COnLineParaEditDlg::OnTimer(UINT_PTR id) {
    // Not while a transfer or an acquisition thread holds the line: the read would wait for it.
    if (id == OnlineRefreshTimer && ConnectedFlag && !view_.Services().LineBusy())
        RefreshRowValues();
}

void COnLineParaEditDlg::OnHScroll(UINT code, UINT position, CScrollBar* bar) {
    scroller_->OnHScroll(code, position, bar);
}

void COnLineParaEditDlg::OnVScroll(UINT code, UINT position, CScrollBar* bar) {
    scroller_->OnVScroll(code, position, bar);
}

void COnLineParaEditDlg::OnSize(UINT type, int cx, int cy) {
    const CSize display = scroller_->GetDisplaySize();
    CRect window;
    GetWindowRect(&window);
    if (display.cx == 0 && display.cy == 0 && window.Width() > 0 && window.Height() > 0) {
        const CSize content = ContentSize();
        scroller_->SetDisplaySize(content.cx, content.cy);
    }
    scroller_->OnSize(type, cx, cy);
}

CSize COnLineParaEditDlg::ContentSize() const {
    CSize size(0, 0);
    for (const CWnd* child : GetChildren()) {
        CRect r;
        child->GetWindowRect(&r);
        ScreenToClient(&r);
        size.cx = std::max(size.cx, r.right);
        size.cy = std::max(size.cy, r.bottom);
    }
    return size;
}

void COnLineParaEditDlg::CloseEditor() {
    if (closed_)
        return;
    closed_ = true;
    KillTimer(OnlineRefreshTimer);
    view_.OnlineEditorClosed(this);
    DestroyWindow();
}

void COnLineParaEditDlg::PostNcDestroy() {
    delete this;
}

// ---- Selection files and the Set dialog -------------------------------------------------------------

void COnLineParaEditDlg::SaveOnlineParameterFile() {
    CFileDialog dialog(FALSE, OnlineParameterExt, nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                       Text(IDS_OE_SAVE_FILTER).c_str(), this);
    if (dialog.DoModal() != IDOK)
        return;
    const std::string path = dialog.GetPathName();
    if (!IsOnlineParameterPath(path))
        return;
    // The codes the rows show: a code the series check emptied is saved as an empty line.
    UpdateData(TRUE);
    OnlineCodes codes;
    for (size_t i = 0; i < codes.size(); ++i)
        codes[i] = rows_[i].code;
    std::string error;
    if (!WriteOnlineParameterFile(path, codes, &error))
        ShowMessage(Text(IDS_OE_SAVE_FAILED) + error, Text(IDS_OE_ERROR_CAPTION), MB_OK | MB_ICONSTOP);
}

void COnLineParaEditDlg::LoadOnlineParameterFile() {
    CFileDialog dialog(TRUE, OnlineParameterExt, nullptr, OFN_FILEMUSTEXIST | OFN_HIDEREADONLY,
                       Text(IDS_OE_OPEN_FILTER).c_str(), this);
    if (dialog.DoModal() != IDOK)
        return;
    const std::string path = dialog.GetPathName();
    if (!IsOnlineParameterPath(path))
        return;
    const OnlineFileRead read = ReadOnlineParameterFile(path);
    switch (read.status) {
    case OnlineFileStatus::Empty:
        return;
    case OnlineFileStatus::TooLarge:
    case OnlineFileStatus::Unreadable:
        ShowMessage(Text(IDS_OE_OPEN_FAILED) + (read.error.empty() ? path : read.error),
                    Text(IDS_OE_ERROR_CAPTION), MB_OK | MB_ICONSTOP);
        return;
    case OnlineFileStatus::Loaded:
        break;
    }
    OnlineSelection = read.codes;
    RebuildRows();
}

void COnLineParaEditDlg::OnSetRows() {
    if (!CheckLink())
        return;
    const std::weak_ptr<int> alive = Life();
    COnLineParaSetDlg dialog(view_);
    for (size_t i = 0; i < rows_.size(); ++i)
        dialog.SlotCode[i] = rows_[i].code;
    if (dialog.DoModal() != IDOK || alive.expired())
        return;
    for (size_t i = 0; i < rows_.size(); ++i) {
        OnlineRow& row = rows_[i];
        if (row.code != dialog.SlotCode[i])
            row.readOnLink.reset();
        row.code = dialog.SlotCode[i];
        OnlineSelection[i] = row.code;
        row.active = !row.code.empty();
        row.name = dialog.SlotTitle[i];
        row.unit = dialog.SlotUnit[i];
        row.range = dialog.SlotRange[i];
        row.minimum = dialog.SlotMin[i];
        row.maximum = dialog.SlotMax[i];
        row.limitsKnown = dialog.SlotLimitsKnown[i];
    }
    RefreshRowValues();
    UpdateRowControls();
    Invalidate(FALSE);
}
