#pragma once
// The motor's data record as it is stored in the encoder's memory (44 bytes, little-endian) with its
// CRC, the encoder and voltage codes of the self-built motor pages, the drive's motor-type code, and
// the encoder record the program keeps between two openings of the self-built motor dialog.
#include <array>
#include <cstdint>

// The encoder page's values, in the dialog's order. The six constants are the shown value x 1000.
struct EncoderRecordValues {
    int manufacturer = 0;
    int productSeries = 0;
    int year = 0;
    int week = 0;
    int motorId = 0;
    int version = 0;
    int ratedSpeed = 0;
    int polePairs = 0;
    int ratedCurrent = 0;
    int resistance = 0;
    int inductance = 0;
    int ke = 0;
    int kt = 0;
    int jm = 0;
    int maxCurrent = 0;
    int maxSpeed = 0;
    int crc = 0;
    int voltageLevel = 0; // 1 200 V, 2 400 V
    int encoderCode = 0;  // 5, 7, 10, 12 or 13
    bool operator==(const EncoderRecordValues&) const = default;
};

inline constexpr int SelfBuiltMotorRecordSize = 44;
using SelfBuiltMotorRecord = std::array<uint8_t, SelfBuiltMotorRecordSize>;

SelfBuiltMotorRecord PackSelfBuiltMotorRecord(const EncoderRecordValues& values);
// CRC-16/MODBUS over the 44 bytes.
uint16_t SelfBuiltMotorRecordCrc(const SelfBuiltMotorRecord& record);

// Encoder combo of the rotary page: index 0..6 <-> code 1, 2, 5, 7, 10, 12, 13. An index above the
// list gives 13; a code not in the list gives index 0.
int EncoderIndexToCode(int index);
int EncoderCodeToIndex(int code);
// Encoder combo of the encoder record page: index 0..4 <-> code 5, 7, 10, 12, 13; any other index
// gives 5, a code not in the list gives index 5 (no entry of the combo).
int RecordEncoderIndexToCode(int index);
int RecordEncoderCodeToIndex(int code);

// The motor type code (bits 11-8 of the motor code) of the drive's rating word (register 0x0C12,
// low four bits). Drives of the feature family number their ratings as the motor table does.
int DriveRatingToTypeCode(int rating, bool seriesHasFeature);

// The encoder record the user typed, kept for the whole program run once a Cancel found one.
struct RememberedEncoderRecordState {
    bool valid = false;
    EncoderRecordValues values;
};
extern RememberedEncoderRecordState RememberedEncoderRecord;
// Keeps the values when any field from the manufacturer to the maximum speed is not 0; an all-zero
// page leaves what was kept.
void RememberEncoderRecord(const EncoderRecordValues& values);
