#pragma once
// The program jog's checks and words: the setting ranges, the speed limit from the rated speed and
// the read-modify-writes of the jog mode word 0x0C25 (digit 0: armed/running, digit 1: direction
// pattern). A word that could not be read is not modified from a guess: nothing is written.
#include <optional>
#include <vector>

struct ProgramJogSettings {
    int stopTime = 0;  // ms, 5..25000
    int accelTime = 0; // ms, 5..25000
    int speed = 0;     // 0..maximum speed
    int distance = 0;  // 0.1 rev, 1..2000
};

enum ProgramJogField : int { JogStopTime, JogAccelTime, JogSpeed, JogDistance };

// truncate(rated x 3 x 0.5 + 0.5): 4500 for 3000 rpm.
int ProgramJogMaxSpeed(int ratedSpeed);
// The fields out of range, in the order of the window.
std::vector<ProgramJogField> OutOfRangeFields(const ProgramJogSettings& settings, int maxSpeed);
// The jog mode word with the direction pattern (0..3) in digit 1; nothing when the word was not read
// or no pattern is chosen.
std::optional<int> JogDirectionWord(std::optional<int> current, int direction);
// Digit 0 set to 1 (armed) or cleared (stopped).
std::optional<int> JogArmedWord(std::optional<int> current);
std::optional<int> JogStoppedWord(std::optional<int> current);
// dn-08 digit 3 of 3 or 4: a linear motor.
bool IsLinearMotorWord(int dn08);
