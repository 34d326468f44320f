#pragma once
// The drive's side of one analysis measurement, as the analysis window runs it through the register
// services: the excitation start, the restore once the drive reports completion, the eight block
// reads of the recorded words and the sample time.
//
// Bounds of our own: the wait for completion ends after CompletionWaitLimit (the window offers
// Cancel meanwhile), and a refused acknowledgement (0x1604 := 0) re-reads the data at most
// AcknowledgeAttempts times before the run fails.
#include "link/services/RegisterServices.h"
#include "tuning/AnalysisRecords.h"

#include <chrono>
#include <functional>
#include <optional>
#include <string>

constexpr std::chrono::seconds CompletionWaitLimit{30};
// The least a measurement takes: the drive records AnalysisPoints samples, at its usual 10 kHz.
constexpr std::chrono::microseconds ExpectedMeasurementTime{AnalysisPoints * 100};
constexpr std::chrono::milliseconds CompletionPollPauseCap{100};
constexpr int AcknowledgeAttempts = 3;
constexpr int ExcitationSetting = 100;

// The pause after a poll of 0x1602 that found the drive still measuring, `elapsed` after the start:
// a quarter of the time the measurement is still expected to take, and once it is late a quarter of
// how late it is (a drive that is slow is asked less and less often); at least 1 ms, at most
// CompletionPollPauseCap, so the completion is seen soon and the link is not kept busy meanwhile.
std::chrono::milliseconds CompletionPollPause(std::chrono::steady_clock::duration elapsed);

// True when the services have a document, the link is up, 0x1712 reads and is not 0.
bool IsAlarmActive(CRegisterServices& services);

// 0x1603 = excitation, 0x1606 = 0, 0x1605 = 0, 0x1601 = load torque, 0x0201 read (the saved jog
// speed), 0x0201 = 0, 0x1803 = 1, 0x170E = 1, 0x1602 = 1, each only after the one before succeeded.
// The saved jog speed, or nothing at the first failure.
std::optional<int> StartAnalysisExcitation(CRegisterServices& services, int loadTorque);
// 0x170E = 0, 0x1803 = 0, 0x0201 = saved jog speed, in this order; false at the first refusal.
bool RestoreAfterCompletion(CRegisterServices& services, int savedJogSpeed);

// A wait the user cancelled: the restore writes, then 0x1602 = 0 ends the measurement on the drive.
// False at the first refusal (the drive may still be exciting).
bool StopAnalysisExcitation(CRegisterServices& services, int savedJogSpeed);

// How the eight block reads went.
struct AnalysisReadResult {
    bool ok = false;
    std::string lastProgress; // the last progress line shown ("" before the first record)
    bool badRecord = false;   // a record failed its checksum or carried no hex digits
};
// The eight "R5" reads into `words`; `progress` is told each record's line. Stops at the first
// failed exchange or bad record.
AnalysisReadResult ReadAnalysisBlocks(CRegisterServices& services, AnalysisWords& words,
                                      const std::function<void(const std::string& line)>& progress);

// Ts from the sampling frequency read from 0x1607: 1 / value, 0.0001 s when the read failed or the
// drive says 0.
float AnalysisSampleTime(std::optional<int> sampleFrequency);

// onU03 / 1000 and onU07 / 1000, or nothing when a read failed.
struct TorqueScales {
    double torque = 0;
    double speed = 0;
};
std::optional<TorqueScales> ReadTorqueScales(CRegisterServices& services);
