#include "tools/ui/LinearParaDlg.h"

#include "catalogue/KeloServoDoc.h"
#include "catalogue/ParamAttributes.h"
#include "framework/core/Format.h"
#include "framework/core/MessageSeam.h"
#include "framework/core/ResourceModule.h"
#include "framework/ui/ComboBox.h"
#include "link/LinkState.h"
#include "link/services/RegisterServices.h"
#include "link/services/TransferPass.h"
#include "resources/ids/motortools.h"
#include "tools/FixedPoint.h"

#include <cstdio>
#include <functional>

namespace {

constexpr const char* ConstantCodes[6] = {"onE05", "onE06", "onE07", "onE08", "onE09", "onE10"};
// What a field shows where its drive value could not be read.
constexpr const char* Unread = "----";

std::string Decimal(int value) {
    return std::to_string(value);
}

std::string Hex(int value, const char* format) {
    char text[16];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::optional<int> Whole(const CWnd& page, int id) {
    return ParseInt(page.GetDlgItemText(id));
}

std::optional<int> Fixed(const CWnd& page, int id, int decimals) {
    return ParseFixedPoint(page.GetDlgItemText(id), decimals);
}

MotorConstants ConstantTexts(const CWnd& page, int first) {
    MotorConstants constants;
    for (int i = 0; i < 6; ++i)
        constants[static_cast<size_t>(i)] = Fixed(page, first + i, 3);
    return constants;
}

// The DC voltage combos hold two entries; any other index shows none.
int BoundedIndex(int index, int count) {
    return index >= 0 && index < count ? index : -1;
}

int RecordVoltageIndex(int level) {
    return BoundedIndex(level - 1 < 0 ? 0 : level - 1, 2);
}

} // namespace

CLinearParaDlg::CLinearParaDlg(CRegisterServices* services, CKeloServoDoc* document, int featureLevel,
                               const CatalogueContext& context, CWnd* parent)
    : CDialog(IDD_SELF_BUILT_MOTOR, parent), services_(services), document_(document),
      featureLevel_(featureLevel), context_(context) {}

const MessageMap* CLinearParaDlg::GetMessageMap() const {
    static const MessageMap map(
        CDialog::GetMessageMap(),
        {
            msg::CommandRange(IDC_MOTOR_ROTARY, IDC_MOTOR_RECORD, &CLinearParaDlg::OnMotorTypeChanged),
            msg::Command(IDC_MOTOR_WRITE, &CLinearParaDlg::OnWrite),
            msg::Command(IDC_MOTOR_OPEN, &CLinearParaDlg::OnOpenParFile),
            msg::Command(IDC_MOTOR_SAVE, &CLinearParaDlg::OnSaveParFile),
        });
    return &map;
}

CMotorPage& CLinearParaDlg::Page(int type) {
    if (type == 1)
        return m_linearPage;
    if (type == 2)
        return m_recordPage;
    return m_rotaryPage;
}

BOOL CLinearParaDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    if (!document_)
        return TRUE;
    CRect frame;
    if (CWnd* holder = GetDlgItem(IDC_MOTOR_PAGE_FRAME)) {
        holder->GetWindowRect(&frame);
        ScreenToClient(&frame);
    }
    for (int type = 0; type < 3; ++type) {
        CMotorPage& page = Page(type);
        page.Create(page.m_nIDHelp, this);
        page.MoveWindow(frame);
        page.ShowWindow(SW_HIDE);
    }
    if (CWnd* recordRadio = GetDlgItem(IDC_MOTOR_RECORD))
        recordRadio->EnableWindow(featureLevel_ >= 4);
    if (RememberedEncoderRecord.valid)
        m_record = RememberedEncoderRecord.values;
    const bool connected = ConnectedFlag != 0 && services_;
    if (connected)
        ReadDrive();
    else
        ReadDocument();
    if (CWnd* write = GetDlgItem(IDC_MOTOR_WRITE))
        write->EnableWindow(connected);
    ShowValues();
    CheckRadioButton(IDC_MOTOR_ROTARY, IDC_MOTOR_RECORD, IDC_MOTOR_ROTARY + m_motorType);
    ShowPage(m_motorType);
    return TRUE;
}

void CLinearParaDlg::ShowPage(int type) {
    for (int other = 0; other < 3; ++other)
        Page(other).ShowWindow(other == type ? SW_SHOW : SW_HIDE);
}

void CLinearParaDlg::ReadDrive() {
    CBusyHold hold(*services_);
    CRegisterServices& drive = *services_;
    // Each read fills its member and its "in drive" field; a failed read leaves the member and
    // shows that nothing came.
    using Text = std::function<std::string(int)>;
    const Text plain = [](int v) { return Decimal(v); };
    const Text thousandths = [](int v) { return FixedPointShownText(v, 3, "%6.3f"); };
    auto show = [](CWnd& page, int id, const std::optional<int>& value, const Text& text) {
        page.SetDlgItemText(id, value ? text(*value) : Unread);
    };
    auto word = [&](int address, int* member, CWnd& page, int id, const Text& text) {
        const std::optional<int> value = drive.ReadDriveRegister(address);
        if (value && member)
            *member = *value;
        show(page, id, value, text);
        return value;
    };
    auto parameter = [&](const char* code, int* member, CWnd& page, int id, const Text& text) {
        const std::optional<int> value = drive.ReadDriveParameter(code);
        if (value && member)
            *member = *value;
        show(page, id, value, text);
    };
    auto motorCode = [&](CWnd& page, int& motorId) {
        const std::optional<int> code = word(0x0021, &m_motorCode, page, IDC_MOTOR_NOW_MODEL,
                                             [](int v) { return Decimal((v >> 4) & 0xF); });
        if (code)
            motorId = (*code >> 4) & 0xF;
        return code;
    };
    auto constants = [&](CWnd& page) {
        for (int i = 0; i < 6; ++i)
            parameter(ConstantCodes[i], &m_constants[static_cast<size_t>(i)], page, IDC_MOTOR_NOW_CURRENT + i,
                      thousandths);
    };

    CWnd& linear = m_linearPage;
    motorCode(linear, m_linearMotorId);
    word(0x1003, &m_linearSpeed, linear, IDC_MOTOR_NOW_SPEED, plain);
    constants(linear);
    word(0x1011, &m_linearMaxCurrent, linear, IDC_MOTOR_NOW_MAX_CURRENT, plain);
    word(0x1014, &m_polePitch, linear, IDC_MOTOR_NOW_PITCH,
         [](int v) { return FixedPointShownText(v, 1, "%4.1f"); });
    parameter("onE15", &m_resolution, linear, IDC_MOTOR_NOW_RESOLUTION,
              [](int v) { return FixedPointShownText(v, 2, "%5.2f"); });

    CWnd& rotary = m_rotaryPage;
    const std::optional<int> code = motorCode(rotary, m_rotaryMotorId);
    if (code)
        m_rotaryEncoderIndex = EncoderCodeToIndex(*code & 0xF);
    show(rotary, IDC_MOTOR_NOW_ENCODER, code, [](int v) { return Hex(v & 0xF, "%X"); });
    word(0x1003, &m_rotarySpeed, rotary, IDC_MOTOR_NOW_SPEED, plain);
    word(0x1004, &m_rotaryPolePairs, rotary, IDC_MOTOR_NOW_POLES, plain);
    constants(rotary);
    word(0x1011, &m_rotaryMaxCurrent, rotary, IDC_MOTOR_NOW_MAX_CURRENT, plain);
    word(0x1018, &m_rotaryMaxSpeed, rotary, IDC_MOTOR_NOW_MAX_SPEED, plain);

    if (featureLevel_ < 4)
        return;
    // The record now in the encoder: always shown beside the fields, taken into them only when no
    // remembered record takes precedence.
    EncoderRecordValues stored = m_record;
    CWnd& record = m_recordPage;
    if (const auto value = word(0x1B01, nullptr, record, IDC_STORED_MANUFACTURER,
                                [](int v) { return Decimal((v >> 8) & 0xFF); }))
        stored.manufacturer = (*value >> 8) & 0xFF;
    word(0x1B02, &stored.productSeries, record, IDC_STORED_SERIES, plain);
    if (const auto value = word(0x1B14, nullptr, record, IDC_STORED_YEAR_WEEK,
                                [](int v) { return Decimal(v & 0xFF) + "/" + Decimal((v >> 8) & 0xFF); })) {
        stored.year = *value & 0xFF;
        stored.week = (*value >> 8) & 0xFF;
    }
    word(0x1B15, &stored.motorId, record, IDC_STORED_MOTOR_ID, plain);
    word(0x1B16, &stored.version, record, IDC_STORED_VERSION, plain);
    word(0x1B17, &stored.crc, record, IDC_STORED_CRC, [](int v) { return Hex(v, "%.4X"); });
    const std::optional<int> codes =
        word(0x1B13, nullptr, record, IDC_STORED_VOLTAGE, [](int v) { return Decimal((v >> 8) & 0xFF); });
    show(record, IDC_STORED_ENCODER, codes, [](int v) { return Hex(v & 0xFF, "%X"); });
    if (codes) {
        stored.voltageLevel = (*codes >> 8) & 0xFF;
        stored.encoderCode = *codes & 0xFF;
    }
    word(0x1B03, &stored.ratedSpeed, record, IDC_STORED_SPEED, plain);
    word(0x1B04, &stored.polePairs, record, IDC_STORED_POLES, plain);
    int* pairs[6] = {&stored.ratedCurrent, &stored.resistance, &stored.inductance,
                     &stored.ke,           &stored.kt,         &stored.jm};
    const int pairStatics[6] = {IDC_STORED_CURRENT,     IDC_STORED_CURRENT + 1, IDC_STORED_CURRENT + 2,
                                IDC_STORED_CURRENT + 3, IDC_STORED_KT,          IDC_STORED_JM};
    for (int i = 0; i < 6; ++i) {
        const std::optional<int> value = drive.ReadDriveRegister32(0x1B05 + 2 * i);
        if (value)
            *pairs[i] = *value;
        show(record, pairStatics[i], value, thousandths);
    }
    word(0x1B11, &stored.maxCurrent, record, IDC_STORED_MAX_CURRENT, plain);
    word(0x1B12, &stored.maxSpeed, record, IDC_STORED_MAX_SPEED, plain);
    int factory = m_encoderFactory;
    const std::optional<int> onU52 = drive.ReadDriveParameter("onU52");
    if (onU52)
        factory = (*onU52 >> 8) & 0xFF;
    show(record, IDC_STORED_FACTORY, onU52, [](int v) { return Decimal((v >> 8) & 0xFF); });
    if (!RememberedEncoderRecord.valid) {
        m_record = stored;
        m_encoderFactory = factory;
    }
}

void CLinearParaDlg::ReadDocument() {
    auto take = [&](const char* code, auto apply) {
        if (const int* value = document_->FindValue(code))
            apply(*value);
    };
    take("Cn030", [&](int v) {
        m_motorCode = v;
        m_rotaryMotorId = m_linearMotorId = (v >> 4) & 0xF;
        m_rotaryEncoderIndex = EncoderCodeToIndex(v & 0xF);
    });
    take("onE03", [&](int v) { m_rotarySpeed = m_linearSpeed = v; });
    take("onE04", [&](int v) { m_rotaryPolePairs = v; });
    for (int i = 0; i < 6; ++i)
        take(ConstantCodes[i], [&](int v) { m_constants[static_cast<size_t>(i)] = v; });
    take("onE11", [&](int v) { m_rotaryMaxCurrent = m_linearMaxCurrent = v; });
    take("onE14", [&](int v) { m_polePitch = v; });
    take("onE15", [&](int v) { m_resolution = v; });
    take("onE17", [&](int v) { m_rotaryMaxSpeed = v; });
}

void CLinearParaDlg::ShowValues() {
    CMotorPage& rotary = m_rotaryPage;
    rotary.SetDlgItemText(IDC_MOTOR_ID, Decimal(m_rotaryMotorId));
    rotary.SetDlgItemText(IDC_MOTOR_RATED_SPEED, Decimal(m_rotarySpeed));
    rotary.SetDlgItemText(IDC_MOTOR_POLE_PAIRS, Decimal(m_rotaryPolePairs));
    rotary.SetDlgItemText(IDC_MOTOR_MAX_CURRENT, Decimal(m_rotaryMaxCurrent));
    rotary.SetDlgItemText(IDC_MOTOR_MAX_SPEED, Decimal(m_rotaryMaxSpeed));
    rotary.SetComboIndex(IDC_MOTOR_ENCODER, m_rotaryEncoderIndex);
    CMotorPage& linear = m_linearPage;
    linear.SetDlgItemText(IDC_MOTOR_ID, Decimal(m_linearMotorId));
    linear.SetDlgItemText(IDC_MOTOR_RATED_SPEED, Decimal(m_linearSpeed));
    linear.SetDlgItemText(IDC_MOTOR_MAX_CURRENT, Decimal(m_linearMaxCurrent));
    linear.SetDlgItemText(IDC_MOTOR_POLE_PITCH, FixedPointEditText(m_polePitch, 5));
    linear.SetDlgItemText(IDC_MOTOR_RESOLUTION, FixedPointEditText(m_resolution, 7));
    for (CMotorPage* page : {&rotary, &linear}) {
        for (int i = 0; i < 6; ++i)
            page->SetDlgItemText(IDC_MOTOR_RATED_CURRENT + i,
                                 FixedPointEditText(m_constants[static_cast<size_t>(i)], 9));
        // The DC voltage combos list what a file may name, without offering a choice.
        if (auto* combo = dynamic_cast<CComboBox*>(page->GetDlgItem(IDC_MOTOR_DC_VOLTAGE))) {
            if (combo->GetCount() == 0) {
                combo->AddString("24V");
                combo->AddString("48V");
            }
        }
        page->SetComboIndex(IDC_MOTOR_DC_VOLTAGE, m_voltageIndex);
    }
    CMotorPage& record = m_recordPage;
    const EncoderRecordValues& r = m_record;
    const std::pair<int, int> whole[] = {{IDC_RECORD_MANUFACTURER, r.manufacturer},
                                         {IDC_RECORD_SERIES, r.productSeries},
                                         {IDC_RECORD_YEAR, r.year},
                                         {IDC_RECORD_WEEK, r.week},
                                         {IDC_MOTOR_ID, r.motorId},
                                         {IDC_RECORD_VERSION, r.version},
                                         {IDC_MOTOR_RATED_SPEED, r.ratedSpeed},
                                         {IDC_MOTOR_POLE_PAIRS, r.polePairs},
                                         {IDC_RECORD_MAX_CURRENT, r.maxCurrent},
                                         {IDC_MOTOR_MAX_SPEED, r.maxSpeed}};
    for (const auto& [id, value] : whole)
        record.SetDlgItemText(id, Decimal(value));
    const int constants[6] = {r.ratedCurrent, r.resistance, r.inductance, r.ke, r.kt, r.jm};
    for (int i = 0; i < 6; ++i)
        record.SetDlgItemText(IDC_RECORD_CURRENT + i, FixedPointEditText(constants[i], 9));
    record.SetDlgItemText(IDC_RECORD_CRC, Hex(r.crc, "%.4X"));
    record.SetComboIndex(IDC_RECORD_VOLTAGE, RecordVoltageIndex(r.voltageLevel));
    record.SetComboIndex(IDC_MOTOR_ENCODER, BoundedIndex(RecordEncoderCodeToIndex(r.encoderCode), 5));
    record.SetComboIndex(IDC_RECORD_FACTORY, BoundedIndex(m_encoderFactory, 2));
}

RotaryFields CLinearParaDlg::RotaryTexts() const {
    const CWnd& page = m_rotaryPage;
    RotaryFields f;
    f.motorId = Whole(page, IDC_MOTOR_ID);
    f.ratedSpeed = Whole(page, IDC_MOTOR_RATED_SPEED);
    f.polePairs = Whole(page, IDC_MOTOR_POLE_PAIRS);
    f.constants = ConstantTexts(page, IDC_MOTOR_RATED_CURRENT);
    f.maxCurrent = Whole(page, IDC_MOTOR_MAX_CURRENT);
    f.maxSpeed = Whole(page, IDC_MOTOR_MAX_SPEED);
    f.encoderIndex = m_rotaryPage.ComboIndex(IDC_MOTOR_ENCODER);
    return f;
}

LinearFields CLinearParaDlg::LinearTexts() const {
    const CWnd& page = m_linearPage;
    LinearFields f;
    f.motorId = Whole(page, IDC_MOTOR_ID);
    f.ratedSpeed = Whole(page, IDC_MOTOR_RATED_SPEED);
    f.constants = ConstantTexts(page, IDC_MOTOR_RATED_CURRENT);
    f.maxCurrent = Whole(page, IDC_MOTOR_MAX_CURRENT);
    f.polePitch = Fixed(page, IDC_MOTOR_POLE_PITCH, 1);
    f.resolution = Fixed(page, IDC_MOTOR_RESOLUTION, 2);
    return f;
}

RecordFields CLinearParaDlg::RecordTexts() const {
    const CWnd& page = m_recordPage;
    RecordFields f;
    f.manufacturer = Whole(page, IDC_RECORD_MANUFACTURER);
    f.productSeries = Whole(page, IDC_RECORD_SERIES);
    f.year = Whole(page, IDC_RECORD_YEAR);
    f.week = Whole(page, IDC_RECORD_WEEK);
    f.motorId = Whole(page, IDC_MOTOR_ID);
    f.version = Whole(page, IDC_RECORD_VERSION);
    f.ratedSpeed = Whole(page, IDC_MOTOR_RATED_SPEED);
    f.polePairs = Whole(page, IDC_MOTOR_POLE_PAIRS);
    f.constants = ConstantTexts(page, IDC_RECORD_CURRENT);
    f.maxCurrent = Whole(page, IDC_RECORD_MAX_CURRENT);
    f.maxSpeed = Whole(page, IDC_MOTOR_MAX_SPEED);
    f.voltageIndex = m_recordPage.ComboIndex(IDC_RECORD_VOLTAGE);
    f.encoderIndex = m_recordPage.ComboIndex(IDC_MOTOR_ENCODER);
    return f;
}

void CLinearParaDlg::TakeValues(int type) {
    auto put = [](int& member, const std::optional<int>& value) { member = value.value_or(0); };
    auto constants = [&](const MotorConstants& c) {
        for (size_t i = 0; i < 6; ++i)
            put(m_constants[i], c[i]);
    };
    if (type == 0) {
        const RotaryFields f = RotaryTexts();
        put(m_rotaryMotorId, f.motorId);
        put(m_rotarySpeed, f.ratedSpeed);
        put(m_rotaryPolePairs, f.polePairs);
        constants(f.constants);
        put(m_rotaryMaxCurrent, f.maxCurrent);
        put(m_rotaryMaxSpeed, f.maxSpeed);
        m_rotaryEncoderIndex = f.encoderIndex;
    } else if (type == 1) {
        const LinearFields f = LinearTexts();
        put(m_linearMotorId, f.motorId);
        put(m_linearSpeed, f.ratedSpeed);
        constants(f.constants);
        put(m_linearMaxCurrent, f.maxCurrent);
        put(m_polePitch, f.polePitch);
        put(m_resolution, f.resolution);
    } else {
        const RecordFields f = RecordTexts();
        EncoderRecordValues& r = m_record;
        put(r.manufacturer, f.manufacturer);
        put(r.productSeries, f.productSeries);
        put(r.year, f.year);
        put(r.week, f.week);
        put(r.motorId, f.motorId);
        put(r.version, f.version);
        put(r.ratedSpeed, f.ratedSpeed);
        put(r.polePairs, f.polePairs);
        int* constants[6] = {&r.ratedCurrent, &r.resistance, &r.inductance, &r.ke, &r.kt, &r.jm};
        for (size_t i = 0; i < 6; ++i)
            put(*constants[i], f.constants[i]);
        put(r.maxCurrent, f.maxCurrent);
        put(r.maxSpeed, f.maxSpeed);
        r.voltageLevel = f.voltageIndex + 1;
        r.encoderCode = RecordEncoderIndexToCode(f.encoderIndex);
        m_encoderFactory = m_recordPage.ComboIndex(IDC_RECORD_FACTORY);
    }
}

BOOL CLinearParaDlg::ValidateAndPack(bool show) {
    std::vector<std::string> failures;
    if (m_motorType == 0)
        failures = RangeFailures(RotaryTexts());
    else if (m_motorType == 1)
        failures = RangeFailures(LinearTexts());
    else
        failures = RangeFailures(RecordTexts());
    TakeValues(m_motorType);
    if (m_motorType == 2) {
        m_record.crc = SelfBuiltMotorRecordCrc(PackSelfBuiltMotorRecord(m_record));
        m_recordPage.SetDlgItemText(IDC_RECORD_CRC, Hex(m_record.crc, "%.4X"));
    }
    if (failures.empty())
        return FALSE;
    if (show)
        ShowMessage(OverRangeMessage(failures));
    return TRUE;
}

void CLinearParaDlg::OnMotorTypeChanged(UINT id) {
    const int type = static_cast<int>(id) - IDC_MOTOR_ROTARY;
    if (type == m_motorType)
        return;
    TakeValues(m_motorType);
    m_motorType = type;
    ShowValues();
    ShowPage(type);
}

void CLinearParaDlg::ShowWritten(const MotorWriteStep& step) {
    int id = 0;
    switch (step.shown) {
    case MotorField::MotorCode:
        id = IDC_MOTOR_NOW_MODEL;
        break;
    case MotorField::RatedSpeed:
        id = IDC_MOTOR_NOW_SPEED;
        break;
    case MotorField::PolePairs:
        id = IDC_MOTOR_NOW_POLES;
        break;
    case MotorField::RatedCurrent:
    case MotorField::Resistance:
    case MotorField::Inductance:
    case MotorField::Ke:
    case MotorField::Kt:
    case MotorField::Mass:
        id = IDC_MOTOR_NOW_CURRENT +
             (static_cast<int>(step.shown) - static_cast<int>(MotorField::RatedCurrent));
        break;
    case MotorField::MaxCurrent:
        id = IDC_MOTOR_NOW_MAX_CURRENT;
        break;
    case MotorField::MaxSpeed:
        id = IDC_MOTOR_NOW_MAX_SPEED;
        break;
    case MotorField::PolePitch:
        id = IDC_MOTOR_NOW_PITCH;
        break;
    case MotorField::Resolution:
        id = IDC_MOTOR_NOW_RESOLUTION;
        break;
    case MotorField::None:
        return;
    }
    Page(m_motorType).SetDlgItemText(id, Decimal(step.value));
}

void CLinearParaDlg::OnWrite() {
    if (!document_ || !services_ || ConnectedFlag == 0)
        return;
    if (ValidateAndPack(true))
        return;
    if (ShowMessage("Do you want to write parameters?\r\nSet value is available after repower!",
                    std::string(), MB_YESNO | MB_ICONINFORMATION) != IDYES)
        return;
    MotorWriteOutcome outcome;
    {
        CBusyHold hold(*services_);
        // Both words are only read to choose codes; a failed read counts as 0, as the drive's
        // defaults are.
        const int switchWord = services_->ReadDriveRegister(0x170A).value_or(0);
        const int rating = services_->ReadDriveRegister(0x0C12).value_or(0) & 0xF;
        const int typeCode = DriveRatingToTypeCode(rating, SeriesHasFeature(context_));
        MotorWritePlan plan;
        if (m_motorType == 0) {
            RotaryMotorValues v;
            v.motorId = m_rotaryMotorId;
            v.ratedSpeed = m_rotarySpeed;
            v.polePairs = m_rotaryPolePairs;
            v.constants = m_constants;
            v.maxCurrent = m_rotaryMaxCurrent;
            v.maxSpeed = m_rotaryMaxSpeed;
            v.encoderCode = EncoderIndexToCode(m_rotaryEncoderIndex);
            plan = RotaryWritePlan(v, switchWord, typeCode);
        } else if (m_motorType == 1) {
            LinearMotorValues v;
            v.motorId = m_linearMotorId;
            v.ratedSpeed = m_linearSpeed;
            v.constants = m_constants;
            v.maxCurrent = m_linearMaxCurrent;
            v.polePitch = m_polePitch;
            v.resolution = m_resolution;
            plan = LinearWritePlan(v, switchWord, typeCode);
        } else {
            plan = EncoderRecordWritePlan(m_record, m_encoderFactory < 0 ? 0 : m_encoderFactory);
        }
        outcome =
            RunMotorWritePlan(*services_, plan, [this](const MotorWriteStep& step) { ShowWritten(step); });
    }
    ShowMessage(outcome.message, std::string(), outcome.finished ? MB_ICONINFORMATION : MB_ICONEXCLAMATION);
    if (outcome.reachedEnd) {
        ShowValues();
        OnCancel();
    }
}

void CLinearParaDlg::OnCancel() {
    if (document_ && m_recordPage.GetSafeHwnd()) {
        TakeValues(2);
        RememberEncoderRecord(m_record);
    }
    CDialog::OnCancel();
}

ParSlots CLinearParaDlg::Slots() const {
    const bool rotary = m_motorType == 0;
    const EncoderRecordValues& r = m_record;
    return {rotary ? m_rotarySpeed : m_linearSpeed,
            m_constants[0],
            m_constants[1],
            m_constants[2],
            m_constants[3],
            m_constants[4],
            m_constants[5],
            rotary ? m_rotaryMaxCurrent : m_linearMaxCurrent,
            m_polePitch,
            m_resolution,
            rotary ? EncoderIndexToCode(m_rotaryEncoderIndex) : m_linearMotorId,
            m_rotaryPolePairs,
            m_voltageIndex,
            m_rotaryMotorId,
            m_rotaryMaxSpeed,
            r.manufacturer,
            r.productSeries,
            r.year,
            r.week,
            r.motorId,
            r.version,
            r.crc,
            r.voltageLevel,
            r.encoderCode,
            r.ratedSpeed,
            r.polePairs,
            r.ratedCurrent,
            r.resistance,
            r.inductance,
            r.ke,
            r.kt,
            r.jm,
            r.maxCurrent,
            r.maxSpeed};
}

void CLinearParaDlg::OnSaveParFile() {
    if (!document_ || ValidateAndPack(true))
        return;
    FileDialogRequest request;
    request.open = false;
    request.defaultExt = "par";
    request.filter = LoadResString(IDS_PAR_SAVE_FILTER);
    request.flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    const FileDialogResult chosen = ShowFileDialog(request);
    if (!chosen.ok || !HasParExtension(chosen.path))
        return;
    // The pages not shown gave their values when they were left.
    const std::string error = WriteParFile(chosen.path, Slots());
    if (!error.empty())
        ShowMessage("The file could not be saved:\n\n" + chosen.path + "\n" + error, std::string(),
                    MB_ICONSTOP);
}

void CLinearParaDlg::ApplySlots(const ParReadResult& file) {
    auto slot = [&](int k) { return file.values[static_cast<size_t>(k - 1)]; };
    m_rotarySpeed = m_linearSpeed = slot(1);
    for (int i = 0; i < 6; ++i)
        m_constants[static_cast<size_t>(i)] = slot(2 + i);
    m_rotaryMaxCurrent = m_linearMaxCurrent = slot(8);
    m_polePitch = slot(9);
    m_resolution = slot(10);
    m_linearMotorId = slot(11);
    m_rotaryEncoderIndex = EncoderCodeToIndex(((slot(11) % 16) + 16) % 16);
    m_rotaryPolePairs = slot(12);
    m_voltageIndex = BoundedIndex(slot(13), 2);
    m_rotaryMotorId = slot(14);
    m_rotaryMaxSpeed = slot(15);
    // A file cut inside the record keeps the record on the page rather than half of it.
    if (!file.RecordRead())
        return;
    EncoderRecordValues& r = m_record;
    int* record[19] = {&r.manufacturer, &r.productSeries, &r.year,      &r.week,
                       &r.motorId,      &r.version,       &r.crc,       &r.voltageLevel,
                       &r.encoderCode,  &r.ratedSpeed,    &r.polePairs, &r.ratedCurrent,
                       &r.resistance,   &r.inductance,    &r.ke,        &r.kt,
                       &r.jm,           &r.maxCurrent,    &r.maxSpeed};
    for (int i = 0; i < 19; ++i)
        *record[i] = slot(16 + i);
}

void CLinearParaDlg::OnOpenParFile() {
    if (!document_)
        return;
    FileDialogRequest request;
    request.open = true;
    request.defaultExt = "par";
    request.filter = LoadResString(IDS_PAR_OPEN_FILTER);
    request.flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
    const FileDialogResult chosen = ShowFileDialog(request);
    if (!chosen.ok || !HasParExtension(chosen.path))
        return;
    const ParReadResult file = ReadParFile(chosen.path);
    if (!file.ok) {
        ShowMessage("The file was not read:\n\n" + chosen.path + "\n" + file.error, std::string(),
                    MB_ICONSTOP);
        return;
    }
    // The page shown keeps what the user typed where the file has nothing for it.
    TakeValues(m_motorType);
    ApplySlots(file);
    ShowValues();
}
