#pragma once
// The acquisition threads: CMyThread reads the drive's trace memory for the trace window, CBOXThread
// reads the box recorder's one record for the box viewer. Each copies its window's settings before
// it starts, exchanges through the view's protocol object, hands the samples over in short holds
// of LinkMutex and never ends holding it. A thread that ended by itself has exit code 18.
//
//     CMyThread* thread = AfxBeginThread<CMyThread>([&](CMyThread& t) { t.Settings = settings; });
//     ... StopEvent.SetEvent() until thread->ExitCode() != STILL_ACTIVE; delete thread;
#include "trace/AcquisitionStore.h"

#include "framework/core/Thread.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

class CInternalCode;

constexpr DWORD AcquisitionEndCode = 18;

// What both threads share: the link, the hand-over lock, the stop test and the way they end.
class CAcquisitionThread : public CWinThread {
public:
    // Not 18 (no record read, StopEvent set) when the drive was not connected at the start.
    int ExitInstance() override;
    // A wait for LinkMutex gives up after this long when a stop was asked for meanwhile.
    static constexpr DWORD LockSliceMs = 50;

protected:
    // Runs the thread's procedure: true when it ended by itself, false for the early way out.
    virtual bool Acquire() = 0;
    BOOL InitInstance() final;

    // "R1" of one register: the word, or false when the exchange failed.
    bool ReadWord(uint16_t address, uint16_t& word);
    // "W1"; the result is not judged.
    void WriteWord(uint16_t address, int value);
    // One block read of 64 records, read again up to BlockRereads times while records are bad
    // (not after a stop request); the verdict of the last read and its records (zeros when it was
    // bad, whose records alone are counted in ChecksumErrorCount).
    BlockVerdict ReadBlock(const uint16_t* addresses, int count, std::vector<RecordWords>& records);
    static constexpr int BlockRereads = 2;
    // A record of fixed places (Single, Cycle, the box's) keeps every block at its own rows: a
    // block that repeats the one before stands as zeros, like one that stayed bad, so the later
    // blocks do not move up.
    static void KeepPlace(bool repeats, std::vector<RecordWords>& records);
    // Moves staged samples into ChannelDeques under LinkMutex; false (nothing moved) when a stop
    // was asked for while the lock was held by someone else.
    bool HandOver(StagedSamples& staged, const HandOverRules& rules);
    // The stop test, remembered once seen (IsStopRequested consumes the event).
    bool StopSeen();
    // Waits up to ms for a stop request; false when one came (or had come).
    bool PauseUnlessStopped(DWORD ms);

    CInternalCode* link_ = nullptr;
    CSyncObject* linkMutex_ = nullptr;

private:
    bool endedItself_ = false;
    bool stopSeen_ = false;
    std::vector<char> reply_ = std::vector<char>(12000, 0);
};

// The trace window's set-up as the thread needs it, copied when the thread is created.
struct TraceThreadSettings {
    CInternalCode* link = nullptr;    // the view's protocol object
    CSyncObject* linkMutex = nullptr; // the view's LinkMutex
    int traceMode = TraceModeSingle;
    bool eightChannels = true;
    std::array<int, 8> sources{};
    std::array<bool, 8> reverse{};
    int pointCount = 1024;
    int interval = 1;    // as armed, in the mode's sample unit (TimeDisplayDivisorOf in GraphServices.h)
    bool reRead = false; // AlternateTraceReadFlag: re-read the drive's record
    const std::atomic<bool>* autosave = nullptr; // the window's autosave check box, read per hand-over
    int statusValueD4 = 0;                       // dn-04 of the document
    int driveIdWord = 0;                         // register 0x171E at connect
    int seriesCode = 0;                          // the drive's series (SeriesCode)
};

class CMyThread : public CAcquisitionThread {
public:
    TraceThreadSettings Settings;
    // Whether the Monitor mode of these settings reads the drive's segments.
    static bool UsesSegments(const TraceThreadSettings& settings);
    // The pause after a status poll that found nothing ready: a quarter of the time the drive needs
    // to fill the next half or segment at its sample rate for the mode, drive and series (at least
    // 1 ms, at most NotReadyPauseCapMs).
    static DWORD NotReadyPauseMs(const TraceThreadSettings& settings);
    static constexpr DWORD NotReadyPauseCapMs = 100;
    // Status polls in a row that get no answer before the drive counts as lost (each waited for
    // its whole time-out): a drive that stalls ends the run as a failed block read does.
    static constexpr int LostPollCount = 3;

protected:
    bool Acquire() override;

private:
    bool Single();
    bool CycleOrMonitor();
    bool HalfPass(int half, StagedSamples& staged);
    bool SegmentPass(int segment);
    bool ReRead();
    HandOverRules Rules(bool bounded) const;
    void StageHalfRecords(const std::vector<RecordWords>& records, bool perSet, StagedSamples& staged);

    TraceChannelSetup setup_;
};

struct BoxThreadSettings {
    CInternalCode* link = nullptr;
    CSyncObject* linkMutex = nullptr;
    std::array<int, 4> types{};
    std::array<bool, 4> reverse{};
    int recordPointCount = BoxRecordSamples;
};

class CBOXThread : public CAcquisitionThread {
public:
    BoxThreadSettings Settings;

protected:
    bool Acquire() override;
};
