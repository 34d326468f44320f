#pragma once
// Motor model table, encoder list and the motor-dependent defaults of the setup wizard.
// Pure logic: the wizard's motor page and the parameter document (which loads old archives through
// the same tables) both work on a MotorTables object and read its side-effect words afterwards.
#include <cstdint>
#include <string>

// One row of the motor model table. Texts are empty where the table has none.
struct MotorModelRow {
    const char* model;
    std::uint16_t typeCode;
    const char* capacity; // "0.05 kW", "" for rows reached only through a motor code
    const char* speed;    // "3000 rpm", ""
    std::uint16_t maxTorque;
};

constexpr int MotorGroupCount = 20;
constexpr int EncoderSpecCount = 7;
constexpr int MotorTypeCodeCount = 165;

// Rows offered in the motor list of a capacity group (0 for a group outside 0..19).
int MotorModelCount(int group);
// Rows the table really holds in a group (group 13 holds more than it offers).
int MotorModelRowsHeld(int group);
// The table row, or nullptr outside the table.
const MotorModelRow* MotorModelTable(int group, int row);

// Capacity group 0..19 of a motor code.
int MotorCodeToGroup(int code);
// Row of a motor code inside its capacity group; 0 when the code is not in the table.
int MotorCodeToRow(unsigned code);
// Encoder list index of the low nibble of a motor code, -1 when it is not in the list.
int EncoderIndexOf(int code);

// The motor-dependent part of the wizard's default set, by group (slot i = number i + 1).
struct WizardDefaultSet {
    int Cn[99] = {};
    int Tn[18] = {};
    int Sn[29] = {};
    int Pn[85] = {};
    int qn[7] = {};
    int Hn[24] = {};
    int tn[63] = {};
    int onC[69] = {};
};

// Limits that the reference pages offer, derived from the motor.
struct MotorPageLimits {
    int pulsesPerRevMax = 0; // Pn354, external pulse page 5
    int originOffsetMin = 0; // Pn321, external pulse page 13
    int originOffsetMax = 0;
    int homingSpeedMax = 0; // Pn318, Pn319
    int torqueLimitMin = 0; // torque page 4
    int torqueLimitMax = 0;
    int speedLimitForwardMax = 0; // torque page 10
    int speedLimitReverseMin = 0;
    int internalSpeedMin = 0; // speed page 3
    int internalSpeedMax = 0;
    int zeroSpeedMax = 0;           // speed page 13
    int analogSpeedLimitMax = 0;    // speed page 2
    int torqueInternalSpeedMax = 0; // torque page 13
};

// The words the motor page and the wizard keep while they look motors up. MotorModelAt,
// EncoderSpecAt and ApplyMotorDefaults change them; callers read them after the call.
class MotorTables {
public:
    MotorTables() = default;
    MotorTables(int ratedSpeed, int encoderResolution, int maxTorque)
        : m_RatedSpeed(ratedSpeed), m_EncoderResolution(encoderResolution), m_MaxTorque(maxTorque) {}

    // Model text of a row; keeps the row's type code, capacity and speed texts, rated speed
    // (3000 for an empty speed text) and maximum torque.
    std::string MotorModelAt(int group, int row);
    // Combo item of one encoder of the list; keeps its encoder code and text.
    std::string EncoderSpecAt(int index);
    // Fills the motor-dependent defaults, the encoder resolution, the absolute-encoder flag and the
    // page limits from a motor code and rated speed, using the current resolution and maximum torque.
    void ApplyMotorDefaults(int code, int ratedSpeed);
    // The motor page's summary of a choice: model name with the encoder letter, supply text, motor
    // code (type code + encoder code) and its "H%04X" text.
    void UpdateMotorSummary(int group, int row, int encoderIndex);

    // Motor page words.
    unsigned m_MotorTypeCode = 0;
    std::string m_CapacityText;
    std::string m_RatedSpeedText;
    int m_RatedSpeed = 3000;
    int m_EncoderResolution = 131072;
    int m_MaxTorque = 300;
    int m_EncoderCode = 0;
    std::string m_EncoderText;
    std::string m_ModelName;
    std::string m_SupplyText;
    unsigned m_MotorCode = 0;
    std::string m_Cn030Text;
    // Wizard words.
    bool m_AbsoluteEncoderMotor = false;
    WizardDefaultSet m_CollectedDefaults;
    MotorPageLimits m_PageLimits;
};

// Supply text of a motor type code's family nibble.
std::string MotorSupplyText(unsigned typeCode);
