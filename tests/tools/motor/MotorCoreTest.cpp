// Fixed-point fields, the encoder record with its CRC, the encoder and type codes, and the range
// checks of the self-built motor pages.
#include "MotorTestStrings.h"

#include "framework/core/ResourceModule.h"
#include "tools/FixedPoint.h"
#include "tools/MotorRanges.h"
#include "tools/SelfBuiltMotorRecord.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

namespace {

TEST(MotorFixedPoint, ScalesByTheFieldsDecimals) {
    struct Case {
        const char* text;
        int decimals;
        std::optional<int> value;
    } cases[] = {
        {"1.5", 3, 1500},
        {"12", 3, 12000},
        {"000001.500", 3, 1500},
        {"1.2345", 3, 12345}, // more decimals keep their digits
        {"3276.7", 1, 32767},
        {"21474.83", 2, 2147483},
        {"", 3, 0},
        {"536870.911", 3, 536870911},
        {"2147483.647", 3, 2147483647},
        {"2147483.648", 3, std::nullopt}, // one past int
        {"99999999999999999999.999", 3, std::nullopt},
        {"1.2.3", 3, std::nullopt},
        {"1a", 3, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseFixedPoint(c.text, c.decimals), c.value) << c.text;
    EXPECT_EQ(FixedPointEditText(1500, 9), "000001500");
    EXPECT_EQ(FixedPointShownText(1500, 3, "%6.3f"), " 1.500");
}

EncoderRecordValues FixtureValues() {
    // The values make_motor_record_fixture.py writes.
    EncoderRecordValues v;
    v.manufacturer = 0xA5;
    v.productSeries = 0x1234;
    v.ratedSpeed = 3000;
    v.polePairs = 5;
    v.ratedCurrent = 2500;
    v.resistance = 1234567;
    v.inductance = 536870911;
    v.ke = 30000;
    v.kt = 640;
    v.jm = 0x01020304;
    v.maxCurrent = 300;
    v.maxSpeed = 120;
    v.encoderCode = 10;
    v.voltageLevel = 2;
    v.year = 26;
    v.week = 50;
    v.motorId = 0xBEEF;
    v.version = 0x0102;
    return v;
}

uint16_t BitwiseCrc(const uint8_t* data, size_t count) {
    uint16_t crc = 0xFFFF;
    for (size_t i = 0; i < count; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? static_cast<uint16_t>((crc >> 1) ^ 0xA001) : static_cast<uint16_t>(crc >> 1);
    }
    return crc;
}

TEST(MotorRecord, BytesAndCrcMatchTheGoldenFixture) {
    std::ifstream file(std::string(KELO_FIXTURES) + "/motor_record.bin", std::ios::binary);
    ASSERT_TRUE(file);
    const std::vector<uint8_t> golden((std::istreambuf_iterator<char>(file)),
                                      std::istreambuf_iterator<char>());
    ASSERT_EQ(golden.size(), 46u);

    const SelfBuiltMotorRecord record = PackSelfBuiltMotorRecord(FixtureValues());
    EXPECT_EQ(std::vector<uint8_t>(record.begin(), record.end()),
              std::vector<uint8_t>(golden.begin(), golden.begin() + 44));
    const uint16_t crc = SelfBuiltMotorRecordCrc(record);
    EXPECT_EQ(crc, golden[44] | golden[45] << 8);
    EXPECT_EQ(crc, BitwiseCrc(record.data(), record.size()));
    // The standard check value of CRC-16/MODBUS.
    const uint8_t check[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
    EXPECT_EQ(BitwiseCrc(check, sizeof check), 0x4B37);
}

TEST(MotorCodes, EncoderCombosAndDriveRatings) {
    const int rotaryCodes[] = {1, 2, 5, 7, 10, 12, 13};
    for (int index = 0; index < 7; ++index) {
        EXPECT_EQ(EncoderIndexToCode(index), rotaryCodes[index]);
        EXPECT_EQ(EncoderCodeToIndex(rotaryCodes[index]), index);
    }
    EXPECT_EQ(EncoderIndexToCode(9), 13);
    EXPECT_EQ(EncoderCodeToIndex(3), 0);
    const int recordCodes[] = {5, 7, 10, 12, 13};
    for (int index = 0; index < 5; ++index) {
        EXPECT_EQ(RecordEncoderIndexToCode(index), recordCodes[index]);
        EXPECT_EQ(RecordEncoderCodeToIndex(recordCodes[index]), index);
    }
    EXPECT_EQ(RecordEncoderIndexToCode(5), 5);
    EXPECT_EQ(RecordEncoderCodeToIndex(1), 5);

    const int plain[] = {0, 1, 2, 3, 5, 7, 8, 9, 10, 11, 4, 0, 0};
    for (int rating = 0; rating <= 12; ++rating) {
        EXPECT_EQ(DriveRatingToTypeCode(rating, false), plain[rating]) << rating;
        EXPECT_EQ(DriveRatingToTypeCode(rating, true), rating >= 1 && rating <= 8 ? rating : 0) << rating;
    }
}

TEST(MotorRecord, RememberedOnlyWhenThePageHoldsSomething) {
    RememberedEncoderRecord = {};
    EncoderRecordValues values = FixtureValues();
    RememberEncoderRecord(values);
    ASSERT_TRUE(RememberedEncoderRecord.valid);
    EXPECT_EQ(RememberedEncoderRecord.values, values);
    // CRC, voltage and encoder code alone do not count as a typed record.
    EncoderRecordValues empty;
    empty.crc = 0x1234;
    empty.encoderCode = 7;
    RememberEncoderRecord(empty);
    EXPECT_EQ(RememberedEncoderRecord.values, values);
    RememberedEncoderRecord = {};
}

class MotorRanges : public WithProgramStrings {};

RotaryFields GoodRotary() {
    RotaryFields f;
    f.motorId = 1;
    f.ratedSpeed = 3000;
    f.polePairs = 4;
    f.constants = {2500, 1000, 2000, 30000, 640, 1200};
    f.maxCurrent = 300;
    f.maxSpeed = 120;
    f.encoderIndex = 4;
    return f;
}

TEST_F(MotorRanges, EveryFailingFieldIsListedInOneMessage) {
    EXPECT_TRUE(RangeFailures(GoodRotary()).empty());
    const std::string maxSpeed = LoadResString(IDS_MOTOR_MAX_SPEED);
    ASSERT_FALSE(maxSpeed.empty());

    struct Case {
        const char* what;
        std::function<void(RotaryFields&)> change;
        std::vector<std::string> labels;
    } cases[] = {
        {"speed 999", [](RotaryFields& f) { f.ratedSpeed = 999; }, {"Rated Speed"}},
        {"speed 6001", [](RotaryFields& f) { f.ratedSpeed = 6001; }, {"Rated Speed"}},
        {"speed 1000..6000", [](RotaryFields& f) { f.ratedSpeed = 1000; }, {}},
        {"pole pairs 0", [](RotaryFields& f) { f.polePairs = 0; }, {"Motor Pole Pairs Number"}},
        {"pole pairs 17", [](RotaryFields& f) { f.polePairs = 17; }, {"Motor Pole Pairs Number"}},
        {"0.000 and too long",
         [](RotaryFields& f) {
             f.constants[0] = ParseFixedPoint("0.000", 3);
             f.constants[5] = ParseFixedPoint("536870.912", 3);
         },
         {"Rated Current", "Mover Mass"}},
        {"maximum 536870.911",
         [](RotaryFields& f) { f.constants[2] = ParseFixedPoint("536870.911", 3); },
         {}},
        {"overflowing text",
         [](RotaryFields& f) { f.constants[3] = ParseFixedPoint("99999999999.999", 3); },
         {"Constant of Ke"}},
        {"maximum speed 99", [](RotaryFields& f) { f.maxSpeed = 99; }, {maxSpeed}},
        {"no encoder chosen",
         [](RotaryFields& f) { f.encoderIndex = -1; },
         {LoadResString(IDS_MOTOR_ENCODER_MODEL)}},
    };
    for (const Case& c : cases) {
        RotaryFields fields = GoodRotary();
        c.change(fields);
        EXPECT_EQ(RangeFailures(fields), c.labels) << c.what;
    }

    RotaryFields all = GoodRotary();
    all.ratedSpeed = 999;
    all.polePairs = 17;
    all.constants[1] = 0;
    all.constants[4] = ParseFixedPoint("536870.912", 3);
    EXPECT_EQ(
        OverRangeMessage(RangeFailures(all)),
        "Rated Speed\nMotor Pole Pairs Number\nMotor Rated Resistance\nConstant of Kt\nOver Range!!\n\n\n");
}

TEST_F(MotorRanges, LinearAndRecordPagesHaveTheirOwnLimitsAndLabels) {
    LinearFields linear;
    linear.motorId = 5;
    linear.ratedSpeed = 2000;
    linear.constants = {1, 1, 1, 1, 1, 1};
    linear.maxCurrent = 701;
    linear.polePitch = ParseFixedPoint("3276.8", 1);
    linear.resolution = ParseFixedPoint("21474.83", 2);
    EXPECT_EQ(RangeFailures(linear), (std::vector<std::string>{"Motor ID", "The Value of Limit Torque",
                                                               "Pole Pitch of Linear Motor"}));

    RecordFields record;
    record.manufacturer = 256;
    record.productSeries = 65535;
    record.year = 0;
    record.week = 53;
    record.motorId = 65535;
    record.version = 70000;
    record.ratedSpeed = 999;
    record.polePairs = 16;
    record.constants = {1, 1, 1, 1, 1, 0};
    record.maxCurrent = 0;
    record.maxSpeed = 200;
    record.voltageIndex = -1;
    record.encoderIndex = 4;
    EXPECT_EQ(
        RangeFailures(record),
        (std::vector<std::string>{LoadResString(IDS_MOTOR_RATED_SPEED), LoadResString(IDS_MOTOR_JM),
                                  LoadResString(IDS_MOTOR_MAX_CURRENT), LoadResString(IDS_MOTOR_MANUFACTURER),
                                  LoadResString(IDS_MOTOR_YEAR_WEEK), LoadResString(IDS_MOTOR_VERSION),
                                  LoadResString(IDS_MOTOR_VOLTAGE_LEVEL)}));
}

} // namespace
