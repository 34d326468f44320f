#include "tools/MotorWritePlans.h"

#include "link/services/RegisterServices.h"

#include <cstdio>

namespace {

const std::string OverRange = "Over Range!!\n\n";

std::string FieldFailed(const std::string& name) {
    return name + " " + MotorWriteFailed;
}

MotorWriteStep Register(int address, int value, std::string failure, MotorField shown = MotorField::None) {
    return {MotorWriteStep::Kind::Register, address, {}, value, std::move(failure), shown};
}

MotorWriteStep Register32(int address, int value, std::string failure) {
    return {MotorWriteStep::Kind::Register32, address, {}, value, std::move(failure), MotorField::None};
}

MotorWriteStep Parameter(const std::string& code, int value, std::string failure,
                         MotorField shown = MotorField::None) {
    return {MotorWriteStep::Kind::Parameter, 0, code, value, std::move(failure), shown};
}

// onE05..onE10 by code, each refusal named.
void AddConstants(MotorWritePlan& plan, const std::array<int, 6>& constants) {
    static constexpr MotorField Fields[6] = {MotorField::RatedCurrent, MotorField::Resistance,
                                             MotorField::Inductance,   MotorField::Ke,
                                             MotorField::Kt,           MotorField::Mass};
    for (int i = 0; i < 6; ++i) {
        char code[8];
        std::snprintf(code, sizeof code, "onE%02d", 5 + i);
        plan.steps.push_back(
            Parameter(code, constants[static_cast<size_t>(i)], FieldFailed(code), Fields[i]));
    }
}

// The common end: Cn029 = 1, then onE01 from the drive's motor code.
void AddClosing(MotorWritePlan& plan) {
    plan.steps.push_back(Parameter("Cn029", 1, FieldFailed("Cn029")));
    MotorWriteStep onE01;
    onE01.kind = MotorWriteStep::Kind::OnE01FromDrive;
    onE01.code = "onE01";
    onE01.address = 0x1001;
    onE01.failure = FieldFailed("onE01");
    plan.steps.push_back(onE01);
}

std::string RegisterName(int address) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%04X ", address);
    return text;
}

} // namespace

int MotorCodeWord(int prefix, int typeCode, int motorId, int encoderCode) {
    return prefix + typeCode * 256 + motorId * 16 + encoderCode;
}

int RotaryMotorCodePrefix(int word170A) {
    return word170A == 0 ? 0xF000 : 0xE000;
}

int LinearMotorCodePrefix(int word170A) {
    return word170A == 0 ? 0x3000 : 0x4000;
}

MotorWritePlan RotaryWritePlan(const RotaryMotorValues& v, int word170A, int typeCode) {
    MotorWritePlan plan;
    plan.steps.push_back(
        Register(0x0021, MotorCodeWord(RotaryMotorCodePrefix(word170A), typeCode, v.motorId, v.encoderCode),
                 MotorWriteFailed, MotorField::MotorCode));
    plan.steps.push_back(Register(0x1003, v.ratedSpeed, MotorWriteFailed, MotorField::RatedSpeed));
    plan.steps.push_back(Register(0x1004, v.polePairs, MotorWriteFailed, MotorField::PolePairs));
    AddConstants(plan, v.constants);
    plan.steps.push_back(Register(0x1011, v.maxCurrent, "onE11 " + OverRange, MotorField::MaxCurrent));
    plan.steps.push_back(Register(0x1018, v.maxSpeed, MotorWriteFailed, MotorField::MaxSpeed));
    plan.steps.push_back(Register(0x1017, 1, MotorWriteFailed));
    AddClosing(plan);
    return plan;
}

MotorWritePlan LinearWritePlan(const LinearMotorValues& v, int word170A, int typeCode) {
    MotorWritePlan plan;
    plan.steps.push_back(Register(0x1004, 1, "onE04 " + OverRange));
    plan.steps.push_back(Register(0x0021,
                                  MotorCodeWord(LinearMotorCodePrefix(word170A), typeCode, v.motorId, 0xE),
                                  MotorWriteFailed, MotorField::MotorCode));
    plan.steps.push_back(Register(0x1003, v.ratedSpeed, MotorWriteFailed, MotorField::RatedSpeed));
    AddConstants(plan, v.constants);
    plan.steps.push_back(Register(0x1011, v.maxCurrent, "onE11 " + OverRange, MotorField::MaxCurrent));
    plan.steps.push_back(Register(0x1014, v.polePitch, MotorWriteFailed, MotorField::PolePitch));
    plan.steps.push_back(Parameter("onE15", v.resolution, FieldFailed("onE15"), MotorField::Resolution));
    plan.steps.push_back(Register(0x1017, 1, MotorWriteFailed));
    AddClosing(plan);
    return plan;
}

MotorWritePlan EncoderRecordWritePlan(const EncoderRecordValues& v, int encoderFactoryIndex) {
    MotorWritePlan plan;
    auto word = [&](int address, int value) {
        plan.steps.push_back(Register(address, value, RegisterName(address) + OverRange));
        plan.readBack.push_back({address, false, value & 0xFFFF});
    };
    auto pair = [&](int address, int value) {
        plan.steps.push_back(Register32(address, value, RegisterName(address) + OverRange));
        plan.readBack.push_back({address, true, value});
    };
    word(0x1003, v.ratedSpeed);
    word(0x1004, v.polePairs);
    pair(0x1005, v.ratedCurrent);
    pair(0x1007, v.resistance);
    pair(0x1009, v.inductance);
    pair(0x100B, v.ke);
    pair(0x100D, v.kt);
    pair(0x100F, v.jm);
    word(0x1011, v.maxCurrent);
    word(0x1018, v.maxSpeed);
    word(0x1019, v.manufacturer * 256 + 0x52);
    word(0x101A, v.productSeries);
    word(0x101B, v.voltageLevel * 256 + v.encoderCode);
    word(0x101C, v.week * 256 + v.year);
    word(0x101D, v.motorId);
    word(0x101E, v.version);
    // The CRC is written but not read back: the drive checks it against the record itself.
    plan.steps.push_back(Register(0x101F, v.crc, RegisterName(0x101F) + OverRange));
    plan.steps.push_back(Parameter("onE01", encoderFactoryIndex * 16 + 0x1101, "onE01 " + OverRange));
    plan.steps.push_back(Parameter("Cn029", 1, FieldFailed("Cn029")));
    return plan;
}

MotorWriteOutcome RunMotorWritePlan(CRegisterServices& services, const MotorWritePlan& plan,
                                    const std::function<void(const MotorWriteStep&)>& accepted) {
    MotorWriteOutcome outcome;
    for (const MotorWriteStep& step : plan.steps) {
        int done = 0;
        switch (step.kind) {
        case MotorWriteStep::Kind::Register:
            done = services.WriteDriveRegister(step.address, step.value);
            break;
        case MotorWriteStep::Kind::Register32:
            done = services.WriteDriveRegister32(step.address, step.value);
            break;
        case MotorWriteStep::Kind::Parameter:
            done = services.WriteDriveParameter(step.code, step.value);
            break;
        case MotorWriteStep::Kind::OnE01FromDrive:
            // Without the drive's own word there is nothing true to write.
            if (const std::optional<int> word = services.ReadDriveRegister(step.address))
                done = services.WriteDriveParameter(step.code, *word & 0x0FFF);
            break;
        }
        if (!done) {
            outcome.message = step.failure;
            return outcome;
        }
        if (accepted)
            accepted(step);
    }
    outcome.reachedEnd = true;
    for (const MotorReadBack& item : plan.readBack) {
        const std::optional<int> value =
            item.wide ? services.ReadDriveRegister32(item.address) : services.ReadDriveRegister(item.address);
        if (!value || *value != item.expected) {
            outcome.message = MotorWriteFailed;
            return outcome;
        }
    }
    outcome.finished = true;
    outcome.message = MotorWriteFinished;
    return outcome;
}
