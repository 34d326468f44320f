#include "tools/SelfBuiltMotorRecord.h"

#include "link/InternalCode.h"

RememberedEncoderRecordState RememberedEncoderRecord;

namespace {

void Put8(SelfBuiltMotorRecord& r, int at, int value) {
    r[static_cast<size_t>(at)] = static_cast<uint8_t>(value & 0xFF);
}
void Put16(SelfBuiltMotorRecord& r, int at, int value) {
    Put8(r, at, value);
    Put8(r, at + 1, value >> 8);
}
void Put32(SelfBuiltMotorRecord& r, int at, int value) {
    const auto word = static_cast<uint32_t>(value);
    Put16(r, at, static_cast<int>(word & 0xFFFF));
    Put16(r, at + 2, static_cast<int>(word >> 16));
}

constexpr std::array<int, 7> RotaryEncoderCodes{1, 2, 5, 7, 10, 12, 13};
constexpr std::array<int, 5> RecordEncoderCodes{5, 7, 10, 12, 13};

} // namespace

SelfBuiltMotorRecord PackSelfBuiltMotorRecord(const EncoderRecordValues& v) {
    SelfBuiltMotorRecord r{};
    Put8(r, 0, 0x52);
    Put8(r, 1, v.manufacturer);
    Put16(r, 2, v.productSeries);
    Put16(r, 4, v.ratedSpeed);
    Put16(r, 6, v.polePairs);
    Put32(r, 8, v.ratedCurrent);
    Put32(r, 12, v.resistance);
    Put32(r, 16, v.inductance);
    Put32(r, 20, v.ke);
    Put32(r, 24, v.kt);
    Put32(r, 28, v.jm);
    Put16(r, 32, v.maxCurrent);
    Put16(r, 34, v.maxSpeed);
    Put8(r, 36, v.encoderCode);
    Put8(r, 37, v.voltageLevel);
    Put8(r, 38, v.year);
    Put8(r, 39, v.week);
    Put16(r, 40, v.motorId);
    Put16(r, 42, v.version);
    return r;
}

uint16_t SelfBuiltMotorRecordCrc(const SelfBuiltMotorRecord& record) {
    return CInternalCode::Crc16Modbus(record.data(), static_cast<int>(record.size()));
}

int EncoderIndexToCode(int index) {
    if (index < 0)
        return RotaryEncoderCodes[0];
    if (index >= static_cast<int>(RotaryEncoderCodes.size()))
        return RotaryEncoderCodes.back();
    return RotaryEncoderCodes[static_cast<size_t>(index)];
}

int EncoderCodeToIndex(int code) {
    for (size_t i = 1; i < RotaryEncoderCodes.size(); ++i)
        if (RotaryEncoderCodes[i] == code)
            return static_cast<int>(i);
    return 0;
}

int RecordEncoderIndexToCode(int index) {
    if (index < 0 || index >= static_cast<int>(RecordEncoderCodes.size()))
        return 5;
    return RecordEncoderCodes[static_cast<size_t>(index)];
}

int RecordEncoderCodeToIndex(int code) {
    for (size_t i = 0; i < RecordEncoderCodes.size(); ++i)
        if (RecordEncoderCodes[i] == code)
            return static_cast<int>(i);
    return static_cast<int>(RecordEncoderCodes.size());
}

int DriveRatingToTypeCode(int rating, bool seriesHasFeature) {
    if (seriesHasFeature)
        return rating >= 1 && rating <= 8 ? rating : 0;
    static constexpr std::array<int, 11> Map{0, 1, 2, 3, 5, 7, 8, 9, 10, 11, 4};
    return rating >= 1 && rating <= 10 ? Map[static_cast<size_t>(rating)] : 0;
}

void RememberEncoderRecord(const EncoderRecordValues& v) {
    const int fields[] = {
        v.manufacturer, v.productSeries, v.year,       v.week,       v.motorId, v.version, v.ratedSpeed,
        v.polePairs,    v.ratedCurrent,  v.resistance, v.inductance, v.ke,      v.kt,      v.jm,
        v.maxCurrent,   v.maxSpeed};
    for (int field : fields) {
        if (field != 0) {
            RememberedEncoderRecord.values = v;
            RememberedEncoderRecord.valid = true;
            return;
        }
    }
}
