#include "tools/MotorRanges.h"

#include "framework/core/ResourceModule.h"

namespace {

constexpr int ConstantMax = 536870911;

class Checks {
public:
    void Range(const std::optional<int>& value, int min, int max, const std::string& label) {
        if (!value || *value < min || *value > max)
            labels_.push_back(label);
    }
    void Selected(int index, int count, const std::string& label) {
        if (index < 0 || index >= count)
            labels_.push_back(label);
    }
    void Constants(const MotorConstants& c, const std::string& massLabel) {
        Range(c[0], 1, ConstantMax, "Rated Current");
        Range(c[1], 1, ConstantMax, "Motor Rated Resistance");
        Range(c[2], 1, ConstantMax, "Motor Rated Inductance");
        Range(c[3], 1, ConstantMax, "Constant of Ke");
        Range(c[4], 1, ConstantMax, "Constant of Kt");
        Range(c[5], 1, ConstantMax, massLabel);
    }
    std::vector<std::string> Take() { return std::move(labels_); }

private:
    std::vector<std::string> labels_;
};

} // namespace

std::vector<std::string> RangeFailures(const RotaryFields& f) {
    Checks checks;
    checks.Range(f.motorId, 0, 4, "Motor ID");
    checks.Range(f.ratedSpeed, 1000, 6000, "Rated Speed");
    checks.Range(f.polePairs, 1, 16, "Motor Pole Pairs Number");
    checks.Constants(f.constants, "Mover Mass");
    checks.Range(f.maxCurrent, 1, 700, "The Value of Limit Torque");
    checks.Range(f.maxSpeed, 100, 200, LoadResString(IDS_MOTOR_MAX_SPEED));
    checks.Selected(f.encoderIndex, 7, LoadResString(IDS_MOTOR_ENCODER_MODEL));
    return checks.Take();
}

std::vector<std::string> RangeFailures(const LinearFields& f) {
    Checks checks;
    checks.Range(f.motorId, 0, 4, "Motor ID");
    checks.Range(f.ratedSpeed, 1000, 6000, "Rated Speed");
    checks.Constants(f.constants, "Mover Mass");
    checks.Range(f.maxCurrent, 1, 700, "The Value of Limit Torque");
    checks.Range(f.polePitch, 1, 32767, "Pole Pitch of Linear Motor");
    checks.Range(f.resolution, 1, 2147483, "Resolution of Linear Motor");
    return checks.Take();
}

std::vector<std::string> RangeFailures(const RecordFields& f) {
    Checks checks;
    checks.Range(f.motorId, 0, 65535, "Motor ID");
    checks.Range(f.ratedSpeed, 1000, 6000, LoadResString(IDS_MOTOR_RATED_SPEED));
    checks.Range(f.polePairs, 1, 16, "Motor Pole Pairs Number");
    checks.Constants(f.constants, LoadResString(IDS_MOTOR_JM));
    checks.Range(f.maxCurrent, 1, 700, LoadResString(IDS_MOTOR_MAX_CURRENT));
    checks.Range(f.maxSpeed, 100, 200, LoadResString(IDS_MOTOR_MAX_SPEED));
    checks.Range(f.manufacturer, 0, 255, LoadResString(IDS_MOTOR_MANUFACTURER));
    checks.Range(f.productSeries, 0, 65535, LoadResString(IDS_MOTOR_PRODUCT_SERIES));
    const std::string yearWeek = LoadResString(IDS_MOTOR_YEAR_WEEK);
    checks.Range(f.year, 0, 255, yearWeek);
    checks.Range(f.week, 1, 52, yearWeek);
    checks.Range(f.version, 0, 65535, LoadResString(IDS_MOTOR_VERSION));
    checks.Selected(f.voltageIndex, 2, LoadResString(IDS_MOTOR_VOLTAGE_LEVEL));
    checks.Selected(f.encoderIndex, 5, LoadResString(IDS_MOTOR_ENCODER_MODEL));
    return checks.Take();
}

std::string OverRangeMessage(const std::vector<std::string>& labels) {
    std::string message;
    for (const std::string& label : labels)
        message += label + "\n";
    return message + "Over Range!!\n\n" + "\n";
}
