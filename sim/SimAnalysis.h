#pragma once
// The drive's mechanical analysis, as the simulated drive keeps it: a torque excitation of the one
// machine (sim/SimMechanism.h) recorded as 1024 torque and 1024 speed words. This is the drive's side
// of the analysis handshake, written from what the program does:
//
// Registers (16-bit):
//   0x1601 load torque, % of rated torque (1..100): the excitation's peak.
//   0x1603 excitation setting, 0x1605, 0x1606: taken and kept, no effect of their own.
//   0x1602 measurement control and state. := 1 starts a measurement: the machine is set to the
//          mechanism the options describe and excited at once; the records are ready, but the word
//          reads 1 for `completionPolls` reads and 2 from then on. := 0 ends the measurement: the
//          word reads 0 and the analysis memory is let go. Reads 0 before any start.
//   0x1604 := 0 after the program has read the data: noted (`Acknowledged`), nothing else.
//   0x1607 sampling frequency in Hz (options; 10000 gives Ts = 0.1 ms). Read-only.
//   onU03 (0x1103/0x1104) and onU07 (0x110B/0x110C), 32-bit, low word first: the two torque scale
//          factors x 1000. onU03 is chosen so that the gain the program computes at the resonance is
//          the options' peak; onU07 is the options' value. Read-only while the analysis is attached.
//   0x170E, 0x1803, 0x0201 are plain words of the drive: the program's run switches, jog speed
//          (0x170E is writable although it lies among the status words).
// Memory: while a measurement holds data (from the start until 0x1602 := 0), block reads ("R5")
//   of 0x1000..0x13FF give the torque words (0.1 % of rated torque, signed) and 0x1400..0x17FF the
//   motor speed in rpm (signed), sample i at offset i; 0x5000..0x50FF give the sample numbers.
//   Single reads of these addresses stay the registers they are (status, motor words); the analysis
//   memory is an area of its own, as the trace memory is.
//
// The excitation is a periodic linear chirp over the record (0 Hz to half the sampling frequency),
// its peak the load torque, without a mean; two periods settle the machine before the record is
// taken, so the record is the periodic steady state. The speed's constant (the rigid body's speed,
// which the excitation leaves wherever it started) is taken out, as a machine standing still at the
// start of the record would have it.
#include "sim/SimMechanism.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

struct SimAnalysisOptions {
    double resonanceHz = 400;
    double antiResonanceHz = 250;
    double peakDb = 10;
    double dampingRatio = 0.05;
    int completionPolls = 3;          // reads of 0x1602 that say 1 before it says 2
    uint16_t sampleFrequency = 10000; // 0x1607
    uint32_t speedScale = 1000;       // onU07 (x 1000)
};

class CSimAnalysis {
public:
    static constexpr uint16_t LoadTorqueRegister = 0x1601;
    static constexpr uint16_t StateRegister = 0x1602;
    static constexpr uint16_t AcknowledgeRegister = 0x1604;
    static constexpr uint16_t SampleFrequencyRegister = 0x1607;
    static constexpr uint16_t TorqueScaleRegister = 0x1103; // onU03
    static constexpr uint16_t SpeedScaleRegister = 0x110B;  // onU07
    static constexpr int Samples = 1024;

    void SetOptions(const SimAnalysisOptions& options) { options_ = options; }
    const SimAnalysisOptions& Options() const { return options_; }

    // A write the drive accepted; the measurement excites the mechanism.
    void OnWrite(uint16_t address, uint16_t value, CSimMechanism& mechanism);
    // The live value of 0x1602 (counts the poll), 0x1607 and the scale words; nothing for others.
    std::optional<uint16_t> Read(uint16_t address);
    // A word of the analysis memory while a measurement holds data.
    std::optional<uint16_t> BlockWord(uint16_t address) const;

    // The mechanism the options describe, and the onU03 value that puts the resonance at the peak.
    SimMechanismParams Mechanism() const;
    uint32_t TorqueScale() const;
    int Acknowledged() const { return acknowledged_; }
    int Measurements() const { return measurements_; }

private:
    void Measure(CSimMechanism& mechanism);

    SimAnalysisOptions options_;
    uint16_t loadTorque_ = 0;
    int state_ = 0; // 0 idle, 1 measuring
    int polls_ = 0;
    bool holding_ = false;
    int acknowledged_ = 0;
    int measurements_ = 0;
    std::array<int16_t, Samples> torque_{};
    std::array<int16_t, Samples> speed_{};
};
