#include "paramedit/ParaCustomDlg.h"

#include "framework/ui/Button.h"
#include "framework/ui/FileDialog.h"
#include "link/LinkState.h"
#include "link/services/RegisterServices.h"
#include "paramedit/DialogText.h"
#include "resources/ids/paradialogs.h"

#include <utility>

namespace {

constexpr int kReadTextId = 61889;
constexpr int kStopTextId = 63363;
constexpr int kCellLimit = 4;

} // namespace

CParaCustomDlg::CParaCustomDlg(CRegisterServices& services, std::function<bool()> hasDocument,
                               std::function<void()> onClosed)
    : CDialog(IDD_PD_CUSTOM_ADDRESS, nullptr), services_(services), hasDocument_(std::move(hasDocument)),
      onClosed_(std::move(onClosed)) {}

const MessageMap* CParaCustomDlg::GetMessageMap() const {
    static const MessageMap map(
        CDialog::GetMessageMap(),
        {
            msg::Command(IDC_PD_ADDRESS_READ, &CParaCustomDlg::OnRead),
            msg::Command(IDC_PD_ADDRESS_WRITE, &CParaCustomDlg::OnWrite),
            msg::Command(IDC_PD_ADDRESS_OPEN, &CParaCustomDlg::OnOpen),
            msg::Command(IDC_PD_ADDRESS_SAVE, &CParaCustomDlg::OnSave),
            msg::CommandRange(IDC_PD_BASE_DEX, IDC_PD_BASE_HEX, &CParaCustomDlg::OnNumberBase),
            msg::Timer(&CParaCustomDlg::OnTimer),
            msg::Mouse(WM_LBUTTONDOWN, &CParaCustomDlg::OnLButtonDown),
        });
    return &map;
}

void CParaCustomDlg::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_PD_ADDRESS_LIST, m_list);
    DDX_Radio(dx, IDC_PD_BASE_DEX, m_numberBase);
    DDX_Check(dx, IDC_PD_KEEP_READING, m_keepReading);
}

BOOL CParaCustomDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_list.AttachMouseForwarding();
    m_list.DeleteAllItems();
    // Columns can be neither resized nor clicked.
    if (CHeaderCtrl* header = m_list.GetHeaderCtrl())
        header->EnableWindow(false);
    m_list.SetNarrowColumn(1);
    m_list.SetCellTextLimit(kCellLimit);
    m_list.SetExtendedStyle(m_list.GetExtendedStyle() | LVS_EX_GRIDLINES);
    CRect client;
    m_list.GetClientRect(&client);
    const int quarter = client.Width() / 4;
    m_list.InsertColumn(0, "", LVCFMT_CENTER, 0);
    m_list.InsertColumn(1, DialogText(IDS_PD_COLUMN_NO, "No."), LVCFMT_LEFT, quarter);
    m_list.InsertColumn(2, DialogText(IDS_PD_COLUMN_ADDRESS, "Address"), LVCFMT_LEFT, quarter);
    m_list.InsertColumn(3, DialogText(IDS_PD_COLUMN_VALUE, "Value"), LVCFMT_LEFT,
                        client.Width() - 2 * quarter);
    for (int row = 0; row < AddressRowCount; ++row) {
        m_list.InsertItem(row, "");
        m_list.SetItemText(row, 1, std::to_string(row + 1));
        m_list.SetItemText(row, 2, AddressCellText(0));
        m_list.SetItemText(row, 3, AddressValueText(0, false));
    }
    return TRUE;
}

void CParaCustomDlg::TakeAddresses() {
    for (int row = 0; row < AddressRowCount; ++row)
        m_readAddress[static_cast<std::size_t>(row)] = m_list.GetRowValue(row);
}

void CParaCustomDlg::ReadRegisters() {
    if (!ConnectedFlag)
        return;
    for (int row = 0; row < AddressRowCount; ++row) {
        const int address = m_readAddress[static_cast<std::size_t>(row)];
        // A failed read keeps the row's previous value.
        if (address == 0)
            continue;
        if (const std::optional<int> value = services_.ReadDriveRegister(address))
            m_value[static_cast<std::size_t>(row)] = *value;
    }
}

void CParaCustomDlg::ShowValues() {
    for (int row = 0; row < AddressRowCount; ++row)
        m_list.SetItemText(row, 3, AddressValueText(m_value[static_cast<std::size_t>(row)], Hex()));
}

bool CParaCustomDlg::ParseValues() {
    std::array<std::string, AddressRowCount> cells;
    for (int row = 0; row < AddressRowCount; ++row)
        cells[static_cast<std::size_t>(row)] = m_list.GetItemText(row, 3);
    int badRow = 0;
    std::array<int, AddressRowCount> values{};
    if (!ParseAddressValues(cells, Hex(), values, &badRow)) {
        ShowMessage(InvalidAddressValueText(badRow, Hex()), std::string(), MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    m_value = values;
    return true;
}

bool CParaCustomDlg::ReadAndShow() {
    UpdateData(TRUE);
    TakeAddresses();
    if (!hasDocument_ || !hasDocument_())
        return false;
    ReadRegisters();
    ShowValues();
    return true;
}

void CParaCustomDlg::OnRead() {
    if (!ReadAndShow() || !m_keepReading)
        return;
    CWnd* button = GetDlgItem(IDC_PD_ADDRESS_READ);
    if (m_keepReadingState) {
        m_keepReadingState = 0;
        KillTimer(KeepReadingTimer);
        if (button)
            button->SetWindowText(DialogText(kReadTextId, "Read"));
    } else {
        m_keepReadingState = 1;
        SetTimer(KeepReadingTimer, KeepReadingPeriodMs);
        if (button)
            button->SetWindowText(DialogText(kStopTextId, "Stop"));
    }
}

void CParaCustomDlg::OnTimer(UINT_PTR id) {
    // Not while a transfer or an acquisition thread holds the line: the reads would wait for it.
    if (id != KeepReadingTimer || services_.LineBusy())
        return;
    // Keep reading means reading: every tick fetches the ten registers again.
    ReadAndShow();
}

void CParaCustomDlg::OnWrite() {
    UpdateData(TRUE);
    TakeAddresses();
    // Nothing is written unless every Value cell holds a number.
    if (!ParseValues())
        return;
    if (!hasDocument_ || !hasDocument_() || !ConnectedFlag)
        return;
    AddressRows rows;
    rows.address = m_readAddress;
    rows.value = m_value;
    const int refused = WriteAddressRows(
        rows, [this](int address, int value) { return services_.WriteDriveRegister(address, value) == 1; });
    if (refused)
        ShowMessage(AddressWriteFailedText(refused), std::string(), MB_OK);
}

void CParaCustomDlg::OnNumberBase(UINT) {
    UpdateData(TRUE);
    ShowValues();
}

void CParaCustomDlg::OnSave() {
    UpdateData(TRUE);
    CFileDialog dialog(FALSE, "adr", nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                       DialogText(IDS_PD_ADDRESS_SAVE_FILTER, "Address Data Files (*.adr)|*.adr||").c_str(),
                       this);
    if (dialog.DoModal() != IDOK)
        return;
    const std::string path = dialog.GetPathName();
    if (path.size() < 3 || !IsAddressListPath(path))
        return;
    if (!ParseValues())
        return;
    AddressRows rows;
    for (int row = 0; row < AddressRowCount; ++row)
        rows.address[static_cast<std::size_t>(row)] = m_list.GetRowValue(row);
    rows.value = m_value;
    std::string error;
    if (!WriteAddressList(path, rows, DialogText(IDS_ADDRESS_LIST_HEADER, AddressListHeader), &error))
        ShowMessage(error, std::string(), MB_OK | MB_ICONEXCLAMATION);
}

void CParaCustomDlg::OnOpen() {
    UpdateData(TRUE);
    CFileDialog dialog(
        TRUE, "adr", nullptr, OFN_FILEMUSTEXIST | OFN_HIDEREADONLY,
        DialogText(IDS_PD_ADDRESS_OPEN_FILTER, "Address Data Files (*.adr)|*.adr|All Files (*.*)|*.*||")
            .c_str(),
        this);
    if (dialog.DoModal() != IDOK)
        return;
    const std::string path = dialog.GetPathName();
    if (!IsAddressListPath(path))
        return;
    AddressRows rows;
    if (LoadAddressList(path, rows)) {
        for (int row = 0; row < AddressRowCount; ++row)
            m_list.SetRowValue(row, rows.address[static_cast<std::size_t>(row)]);
        m_value = rows.value;
    }
    for (int row = 0; row < AddressRowCount; ++row)
        m_list.SetItemText(row, 2, AddressCellText(m_list.GetRowValue(row)));
    ShowValues();
}

void CParaCustomDlg::OnLButtonDown(UINT, CPoint point) {
    if (!m_list.IsForwardingClick()) {
        Default();
        return;
    }
    int column = 0;
    const int item = m_list.HitTestEx(point, &column);
    if (item < 0 || (column != 2 && column != 3))
        return;
    SetFocus();
    m_list.EditSubItem(item, column);
}

void CParaCustomDlg::OnCancel() {
    if (m_keepReadingState)
        KillTimer(KeepReadingTimer);
    m_keepReadingState = 0;
    if (onClosed_)
        onClosed_();
    DestroyWindow();
}

void CParaCustomDlg::PostNcDestroy() {
    delete this;
}
