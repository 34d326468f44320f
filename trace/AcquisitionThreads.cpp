#include "trace/AcquisitionThreads.h"

#include "trace/GraphServices.h"

#include "link/InternalCode.h"
#include "link/LinkState.h"
#include "link/services/TransferPass.h"

#include <algorithm>

// ---- Shared ------------------------------------------------------------------------------------

BOOL CAcquisitionThread::InitInstance() {
    // The window's periodic reads keep off the line while the thread runs (LineBusy).
    CAcquisitionHold hold;
    endedItself_ = Acquire();
    return FALSE;
}

int CAcquisitionThread::ExitInstance() {
    if (endedItself_)
        return static_cast<int>(AcquisitionEndCode);
    StopEvent.SetEvent();
    return 0;
}

bool CAcquisitionThread::StopSeen() {
    if (!stopSeen_)
        stopSeen_ = IsStopRequested();
    return stopSeen_;
}

bool CAcquisitionThread::PauseUnlessStopped(DWORD ms) {
    if (StopSeen())
        return false;
    if (StopEvent.Wait(ms) == WAIT_OBJECT_0)
        stopSeen_ = true;
    return !stopSeen_;
}

bool CAcquisitionThread::ReadWord(uint16_t address, uint16_t& word) {
    char request[8];
    char reply[8] = {};
    CInternalCode::BuildReadWord(request, address);
    if (link_->SendCommand(request, sizeof request, reply, 7) != ReplyRead)
        return false;
    word = HexWord(reply + 1);
    return true;
}

void CAcquisitionThread::WriteWord(uint16_t address, int value) {
    char request[12];
    char reply[4] = {};
    CInternalCode::BuildWriteWord(request, address, value);
    link_->SendCommand(request, sizeof request, reply, 1);
}

BlockVerdict CAcquisitionThread::ReadBlock(const uint16_t* addresses, int count,
                                           std::vector<RecordWords>& records) {
    char request[40];
    CInternalCode::BuildReadWords(request, count, addresses);
    const int expected = BlockRecords * RecordLength(count);
    BlockVerdict verdict;
    // The drive keeps the block until it is acknowledged or disarmed, so a reply damaged on the
    // line is read again; zeros stand in only for what stays bad. A stop asked for meanwhile
    // reads nothing more: STOP never waits past the block under way.
    for (int read = 0; read <= BlockRereads; ++read) {
        if (read > 0 && StopSeen())
            break;
        reply_[0] = 1;
        verdict = JudgeBlockResult(link_->ReadRecordBlock(request, 4 * count + 4, reply_.data(), expected));
        if (verdict.failed || verdict.badRecords == 0)
            break;
    }
    if (verdict.badRecords > 0)
        ChecksumErrorCount += verdict.badRecords;
    if (!verdict.failed)
        records = ParseBlock(reply_.data(), count, verdict);
    return verdict;
}

void CAcquisitionThread::KeepPlace(bool repeats, std::vector<RecordWords>& records) {
    if (repeats)
        records.assign(BlockRecords, RecordWords{});
}

bool CAcquisitionThread::HandOver(StagedSamples& staged, const HandOverRules& rules) {
    // The windows hold the lock only to move samples out; a stop request ends the wait.
    while (!linkMutex_->Lock(LockSliceMs)) {
        if (StopSeen())
            return false;
    }
    AppendStaged(staged, rules);
    linkMutex_->Unlock();
    staged.Clear();
    return true;
}

// ---- Trace -------------------------------------------------------------------------------------

bool CMyThread::UsesSegments(const TraceThreadSettings& settings) {
    return settings.traceMode == TraceModeMonitor &&
           (settings.statusValueD4 > 57 || settings.driveIdWord > 0);
}

DWORD CMyThread::NotReadyPauseMs(const TraceThreadSettings& settings) {
    const bool monitor = settings.traceMode == TraceModeMonitor;
    // A sample lasts interval x 100 us in Single and Cycle (x 50 us with four channels) and
    // interval x 1 ms or x 10 ms in Monitor, as the drive counts it: the time base over the mode's
    // time divisor, in microseconds.
    const int64_t timeBase =
        int64_t{std::max(settings.interval, 1)} * (settings.eightChannels || monitor ? 10000 : 5000);
    const int64_t sampleUs =
        timeBase / TimeDisplayDivisorOf(settings.traceMode, settings.statusValueD4, settings.seriesCode);
    // With four channels a record holds two samples, except in the segments.
    const int64_t recordUs = settings.eightChannels || UsesSegments(settings) ? sampleUs : 2 * sampleUs;
    // Single and Cycle announce a whole record but fill it half by half; Monitor hands over 128 records.
    const int64_t records = monitor ? 128 : 512;
    const int64_t quarterMs = records * recordUs / 4 / 1000;
    return static_cast<DWORD>(std::clamp<int64_t>(quarterMs, 1, NotReadyPauseCapMs));
}

bool CMyThread::Acquire() {
    link_ = Settings.link;
    linkMutex_ = Settings.linkMutex;
    setup_ = MakeTraceChannelSetup(Settings.eightChannels, Settings.sources, Settings.reverse);
    if (!ConnectedFlag || !link_ || !linkMutex_)
        return false;
    if (Settings.reRead)
        return ReRead();
    if (Settings.traceMode == TraceModeSingle)
        return Single();
    return CycleOrMonitor();
}

HandOverRules CMyThread::Rules(bool bounded) const {
    HandOverRules rules;
    rules.pointCount = Settings.pointCount;
    rules.boundChannelQueues = bounded;
    rules.mirror = bounded && Settings.autosave && Settings.autosave->load();
    return rules;
}

void CMyThread::StageHalfRecords(const std::vector<RecordWords>& records, bool perSet,
                                 StagedSamples& staged) {
    for (const RecordWords& words : records) {
        SampleSet sets[2];
        const int count = DecodeHalfRecord(words, setup_, sets);
        for (int set = 0; set < count; ++set) {
            StagedSamples::Row row;
            row.hasIndex = set == 0;
            row.index = words[0];
            row.values = sets[set];
            row.channels = setup_.eightChannels ? 8 : 4;
            staged.rows.push_back(row);
        }
        staged.pendingIncrement += perSet ? count : 1;
    }
}

bool CMyThread::Single() {
    const DWORD pause = NotReadyPauseMs(Settings);
    for (;;) {
        if (StopSeen())
            return true;
        uint16_t status = 0;
        if (!ReadWord(TraceStatusRegister, status))
            return true;
        if (status != 0)
            break;
        if (!PauseUnlessStopped(pause))
            return true;
    }
    StaleBlockGuard guard;
    std::vector<RecordWords> records;
    StagedSamples staged;
    for (int half = 0; half < 2; ++half) {
        for (int block = 0; block < 8; ++block) {
            // A stop between two blocks ends the read here: nothing more goes to the drive.
            if (StopSeen())
                return true;
            const auto addresses = HalfBlockAddresses(half, block);
            const BlockVerdict verdict = ReadBlock(addresses.data(), 9, records);
            if (verdict.failed)
                return true;
            KeepPlace(guard.Repeats(verdict, records[0][0]), records);
            StageHalfRecords(records, false, staged);
            if (!HandOver(staged, Rules(false)))
                return true;
        }
    }
    WriteWord(TraceRunRegister, 0);
    return true;
}

bool CMyThread::HalfPass(int half, StagedSamples& staged) {
    const bool cycle = Settings.traceMode == TraceModeCycle;
    const int blocks = Settings.traceMode == TraceModeMonitor ? 2 : 8;
    StaleBlockGuard guard;
    std::vector<RecordWords> records;
    for (int block = 0; block < blocks; ++block) {
        if (StopSeen())
            return false;
        const auto addresses = HalfBlockAddresses(half, block);
        const BlockVerdict verdict = ReadBlock(addresses.data(), 9, records);
        if (verdict.failed)
            return false;
        const bool repeats = guard.Repeats(verdict, records[0][0]);
        // Monitor's samples roll in: a repeat adds nothing. A Cycle record keeps every place.
        if (repeats && !cycle)
            continue;
        KeepPlace(repeats, records);
        StageHalfRecords(records, true, staged);
        // Cycle mode keeps both halves of a buffer together; they go over in one hold at its end.
        if (!cycle)
            HandOver(staged, Rules(true));
    }
    return true;
}

bool CMyThread::SegmentPass(int segment) {
    StaleBlockGuard guard;
    std::vector<RecordWords> records;
    StagedSamples staged;
    for (int block = 0; block < 2; ++block) {
        if (StopSeen())
            return false;
        const auto addresses = SegmentBlockAddresses(segment, block);
        const BlockVerdict verdict = ReadBlock(addresses.data(), 9, records);
        if (verdict.failed)
            return false;
        if (guard.Repeats(verdict, records[0][0]))
            continue;
        for (const RecordWords& words : records) {
            StagedSamples::Row row;
            row.hasIndex = true;
            row.index = words[0];
            row.values = DecodeSegmentRecord(words, setup_);
            // Four-channel mode shows channels 1 to 4 only: queues nobody takes would only fill.
            row.channels = setup_.eightChannels ? 8 : 4;
            staged.rows.push_back(row);
            ++staged.pendingIncrement;
        }
        HandOver(staged, Rules(true));
    }
    return true;
}

bool CMyThread::CycleOrMonitor() {
    const bool cycle = Settings.traceMode == TraceModeCycle;
    const bool segments = UsesSegments(Settings);
    const DWORD pause = NotReadyPauseMs(Settings);
    int failedPolls = 0;
    int half = 0;
    StagedSamples staged;
    for (;;) {
        if (StopSeen())
            return true;
        uint16_t status = 0;
        const bool statusRead = ReadWord(TraceStatusRegister, status);
        // A status that cannot be read on a lost link would be polled for ever.
        if (!statusRead && !ConnectedFlag)
            return true;
        failedPolls = statusRead ? 0 : failedPolls + 1;
        if (failedPolls >= LostPollCount) {
            LinkLost();
            return true;
        }
        if (segments) {
            const std::optional<int> segment = statusRead ? ReadySegment(status) : std::nullopt;
            if (!segment) {
                if (!PauseUnlessStopped(pause))
                    return true;
                continue;
            }
            // A stopped pass is not acknowledged: the drive keeps what it has.
            if (!SegmentPass(*segment) || StopSeen())
                return true;
            WriteWord(TraceStatusRegister, TraceStatusSegmentTaken);
            half ^= 1;
            continue;
        }
        if (statusRead && status != 1) {
            if (!PauseUnlessStopped(pause))
                return true;
            continue;
        }
        if (cycle && half == 0)
            staged.Clear();
        // In Cycle the acknowledgement starts the next record: never after a stop.
        if (!HalfPass(half, staged) || StopSeen())
            return true;
        if (!cycle || half == 1)
            WriteWord(TraceStatusRegister, TraceStatusBufferTaken);
        if (cycle && half == 1 && !HandOver(staged, Rules(true)))
            return true;
        half ^= 1;
    }
}

bool CMyThread::ReRead() {
    const int blocks = Settings.traceMode == TraceModeMonitor ? 2 : 8;
    std::vector<RecordWords> records;
    StagedSamples staged;
    HandOverRules rules = Rules(false);
    rules.mirror = false;
    for (int pass = 0; pass < 2; ++pass) {
        for (int block = 0; block < blocks; ++block) {
            if (StopSeen())
                return true;
            const auto addresses = ReReadBlockAddresses(pass, block);
            if (ReadBlock(addresses.data(), 5, records).failed)
                return false;
            for (const RecordWords& words : records) {
                StagedSamples::Row row;
                row.hasIndex = true;
                row.index = words[0];
                row.values = DecodeReReadRecord(words, setup_);
                row.channels = 4;
                staged.rows.push_back(row);
                ++staged.pendingIncrement;
            }
            if (!HandOver(staged, rules))
                return true;
        }
    }
    return true;
}

// ---- Box ---------------------------------------------------------------------------------------

bool CBOXThread::Acquire() {
    link_ = Settings.link;
    linkMutex_ = Settings.linkMutex;
    if (!ConnectedFlag || !link_ || !linkMutex_)
        return false;
    for (;;) {
        if (StopSeen())
            return true;
        uint16_t complete = 0;
        if (!ReadWord(BoxCompleteRegister, complete))
            return true;
        if (complete != 0)
            break;
        // The thread does not know the recorder's sample period: the shortest pause keeps the poll
        // off a core without delaying the record.
        if (!PauseUnlessStopped(1))
            return true;
    }
    HandOverRules rules;
    rules.pointCount = Settings.recordPointCount;
    StaleBlockGuard guard;
    std::vector<RecordWords> records;
    StagedSamples staged;
    for (int block = 0; block < BoxRecordBlocks; ++block) {
        if (StopSeen())
            return true;
        const auto addresses = BoxBlockAddresses(Settings.types, block);
        // Records that stay bad are counted and stand as zeros (ReadBlock), like the trace's.
        const BlockVerdict verdict = ReadBlock(addresses.data(), 9, records);
        if (verdict.failed)
            return true;
        KeepPlace(guard.Repeats(verdict, records[0][0]), records);
        for (const RecordWords& words : records) {
            const BoxSample sample = DecodeBoxRecord(words, Settings.types, Settings.reverse);
            StagedSamples::Row row;
            row.hasIndex = true;
            row.index = words[0];
            for (int i = 0; i < 4; ++i) {
                row.values[i] = sample.channels[i];
                row.values[4 + i] = sample.extra[i];
            }
            staged.rows.push_back(row);
        }
        if (!HandOver(staged, rules))
            return true;
    }
    WriteWord(BoxEnableRegister, 0);
    return true;
}
