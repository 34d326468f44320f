#include "tools/ProgramJogChecks.h"

int ProgramJogMaxSpeed(int ratedSpeed) {
    return static_cast<int>(ratedSpeed * 3 * 0.5 + 0.5);
}

std::vector<ProgramJogField> OutOfRangeFields(const ProgramJogSettings& s, int maxSpeed) {
    std::vector<ProgramJogField> fields;
    if (s.stopTime < 5 || s.stopTime > 25000)
        fields.push_back(JogStopTime);
    if (s.accelTime < 5 || s.accelTime > 25000)
        fields.push_back(JogAccelTime);
    if (s.speed < 0 || s.speed > maxSpeed)
        fields.push_back(JogSpeed);
    if (s.distance < 1 || s.distance > 2000)
        fields.push_back(JogDistance);
    return fields;
}

std::optional<int> JogDirectionWord(std::optional<int> current, int direction) {
    if (!current || direction < 0 || direction > 3)
        return std::nullopt;
    return (*current & 0xFF0F) + direction * 16;
}

std::optional<int> JogArmedWord(std::optional<int> current) {
    if (!current)
        return std::nullopt;
    return (*current & 0xFFF0) + 1;
}

std::optional<int> JogStoppedWord(std::optional<int> current) {
    if (!current)
        return std::nullopt;
    return *current & 0xFFF0;
}

bool IsLinearMotorWord(int dn08) {
    const int digit3 = (dn08 >> 12) & 0xF;
    return digit3 == 3 || digit3 == 4;
}
