#include "tools/ui/AccessoriesSelectDialog.h"

#include "catalogue/MotorTables.h"
#include "framework/core/ResourceModule.h"
#include "framework/ui/ComboBox.h"
#include "resources/ids/motortools.h"
#include "tools/AccessorySelector.h"
#include "wizard/DriveModelTable.h"

#include <algorithm>

namespace {

struct EncoderEntry {
    const char* codePart;
    const char* typeText;
    int code;
};

// The encoder types as the motor's name spells them; the texts are those of the encoder pages.
constexpr EncoderEntry Encoders[7] = {
    {"B: 2500ppr ", "Optical Type", 1},
    {"H: 8192ppr ", "Optical Type", 2},
    {"5: 15bit ", "Communication Absolute Type", 5},
    {"7: 17bit ", "Communication Incremental Type", 7},
    {"A: 17bit ", "Communication Absolute Type", 10},
    {"3: 23bit ", "Communication Incremental Type", 12},
    {"W: 23bit ", "Communication Absolute Type", 13},
};

constexpr int TwinGroup = 13;
constexpr int TwinGroupRows = 6;

CComboBox* Combo(CWnd& dialog, int id) {
    return dynamic_cast<CComboBox*>(dialog.GetDlgItem(id));
}

} // namespace

CAccessoriesSelectDialog::CAccessoriesSelectDialog(int brandMode, CWnd* parent)
    : CDialog(IDD_ACCESSORIES_SELECT, parent), brandMode_(brandMode) {}

const MessageMap* CAccessoriesSelectDialog::GetMessageMap() const {
    static const MessageMap map(
        CDialog::GetMessageMap(),
        {
            msg::Control(CBN_SELCHANGE, IDC_ACCESSORY_SERIES, &CAccessoriesSelectDialog::OnSeriesChanged),
            msg::Control(CBN_SELCHANGE, IDC_ACCESSORY_DRIVE, &CAccessoriesSelectDialog::OnDriveTypeChanged),
            msg::Control(CBN_SELCHANGE, IDC_ACCESSORY_MOTOR, &CAccessoriesSelectDialog::OnMotorChanged),
            msg::Control(CBN_SELCHANGE, IDC_ACCESSORY_ENCODER, &CAccessoriesSelectDialog::OnEncoderChanged),
        });
    return &map;
}

void CAccessoriesSelectDialog::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_ACCESSORY_LIST, m_list);
}

int CAccessoriesSelectDialog::MotorRowsOffered(int group) {
    const int rows = MotorModelCount(group);
    return group == TwinGroup && rows > TwinGroupRows ? TwinGroupRows : rows;
}

std::string CAccessoriesSelectDialog::MotorModelText(int group, int row, unsigned* typeCode) {
    const MotorModelRow* model = row < MotorRowsOffered(group) ? MotorModelTable(group, row) : nullptr;
    if (typeCode)
        *typeCode = model ? model->typeCode : 0u;
    return model ? model->model : "HBMQ-------";
}

BOOL CAccessoriesSelectDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    if (CComboBox* series = Combo(*this, IDC_ACCESSORY_SERIES)) {
        series->AddString(brandMode_ == 3 ? "YLT2" : "HBVZR3");
        series->SetCurSel(0);
    }
    FillDriveTypes();
    FillMotors();
    FillEncoders();
    ShowModelTexts();
    m_list.SetExtendedStyle(0x421); // grid lines, full-row select, info tips
    CRect client;
    m_list.GetClientRect(&client);
    m_list.InsertColumn(0, "Accessory Name", LVCFMT_LEFT, 195);
    m_list.InsertColumn(1, "Model Number", LVCFMT_LEFT, 120);
    // The name column is as wide as the longest of all the names needs (never narrower than 195
    // pixels), so that no name is cut whichever rows a motor brings; the length column takes the rest.
    for (int row = 0; row < AccessoryRowCount; ++row)
        m_list.InsertItem(row, LoadResString(AccessoryNameFirstStringId + row));
    m_list.SetColumnWidth(0, LVSCW_AUTOSIZE);
    const int nameWidth = std::max(195, m_list.GetColumnWidth(0));
    m_list.SetColumnWidth(0, nameWidth);
    m_list.InsertColumn(2, "Length (m)", LVCFMT_LEFT, client.Width() - 124 - nameWidth);
    FillList();
    return TRUE;
}

void CAccessoriesSelectDialog::FillDriveTypes() {
    CComboBox* drives = Combo(*this, IDC_ACCESSORY_DRIVE);
    if (!drives)
        return;
    drives->ResetContent();
    for (int row = 0; row < DriveModelCount; ++row)
        drives->AddString(LoadResString(DriveCapacityStringId(row)));
    m_driveType = 0;
    drives->SetCurSel(0);
}

void CAccessoriesSelectDialog::FillMotors() {
    CComboBox* motors = Combo(*this, IDC_ACCESSORY_MOTOR);
    if (!motors)
        return;
    motors->ResetContent();
    const std::string mark = "\u25A1";
    for (int row = 0; row < MotorRowsOffered(m_driveType); ++row)
        motors->AddString(MotorModelText(m_driveType, row, nullptr) + mark);
    m_motor = 0;
    motors->SetCurSel(0);
}

void CAccessoriesSelectDialog::FillEncoders() {
    CComboBox* encoders = Combo(*this, IDC_ACCESSORY_ENCODER);
    if (!encoders)
        return;
    encoders->ResetContent();
    for (const EncoderEntry& entry : Encoders)
        encoders->AddString(std::string(entry.codePart) + entry.typeText);
    m_encoder = 0;
    encoders->SetCurSel(0);
}

void CAccessoriesSelectDialog::ShowModelTexts() {
    const DriveModelRow* drive = DriveModelTable(m_driveType);
    SetDlgItemText(IDC_ACCESSORY_DRIVE_TEXT,
                   std::string(brandMode_ == 3 ? "YLT2-" : "HBVZR3-") + (drive ? drive->capacityCode : ""));
    // The motor text sets the codes the list is chosen by.
    const std::string model = MotorModelText(m_driveType, m_motor, &m_motorTypeCode);
    const int encoder = m_encoder >= 0 && m_encoder < 7 ? m_encoder : 0;
    m_encoderCode = Encoders[encoder].code;
    SetDlgItemText(IDC_ACCESSORY_MOTOR_TEXT, model + Encoders[encoder].codePart[0]);
}

void CAccessoriesSelectDialog::FillList() {
    m_list.DeleteAllItems();
    int index = 0;
    for (const AccessoryListRow& row : AccessoryList(SelectAccessories(m_motorTypeCode, m_encoderCode))) {
        m_list.InsertItem(index, row.name);
        m_list.SetItemText(index, 1, row.partNumber);
        m_list.SetItemText(index, 2, row.lengths);
        ++index;
    }
}

void CAccessoriesSelectDialog::OnSeriesChanged() {
    FillDriveTypes();
    FillMotors();
    FillEncoders();
    ShowModelTexts();
    FillList();
}

void CAccessoriesSelectDialog::OnDriveTypeChanged() {
    if (CComboBox* drives = Combo(*this, IDC_ACCESSORY_DRIVE))
        m_driveType = drives->GetCurSel();
    FillMotors();
    ShowModelTexts();
    FillList();
}

void CAccessoriesSelectDialog::OnMotorChanged() {
    if (CComboBox* motors = Combo(*this, IDC_ACCESSORY_MOTOR))
        m_motor = motors->GetCurSel();
    ShowModelTexts();
    FillList();
}

void CAccessoriesSelectDialog::OnEncoderChanged() {
    if (CComboBox* encoders = Combo(*this, IDC_ACCESSORY_ENCODER))
        m_encoder = encoders->GetCurSel();
    ShowModelTexts();
    FillList();
}
