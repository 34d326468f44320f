// A Monitor run from START to STOP against the simulated drive: the segments the drive hands over
// are read whichever of its words says it has them, and what the window holds after STOP is every
// record the drive sent, on every channel alike.
#include "tests/trace/ui/TraceWindowFixture.h"

#include "catalogue/CatalogueContext.h"
#include "sim/FaultSpec.h"
#include "tests/trace/DriveRecords.h"
#include "tests/trace/TraceTestSupport.h"
#include "trace/TraceDataFile.h"
#include "trace/TraceRecords.h"
#include "trace/TraceRegisters.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>

using namespace tracetest;

namespace {

// Eight sources of one word each: each channel shows its own word of the record.
constexpr std::array<int, 8> kNarrowSources = {1, 2, 3, 4, 6, 7, 8, 9};

// The program's side of a connected drive: the drive id word its connect read (the view keeps it
// and gives it to the document's context).
struct ConnectedDriveHost : LinkedDocumentHost {
    void FillContext(CatalogueContext& context) const override {
        LinkedDocumentHost::FillContext(context);
        context.driveIdWord = driveIdWord;
    }
    int driveIdWord = 0;
};

// The value cells of a CSV export, row by row (the time cell left out).
std::vector<std::vector<long>> CsvValues(const std::string& path) {
    std::vector<std::vector<long>> rows;
    std::ifstream in(path);
    std::string line;
    for (int header = 0; header < 3 && std::getline(in, line); ++header) {
    }
    while (std::getline(in, line)) {
        std::vector<long> cells;
        for (size_t comma = line.find(','); comma != std::string::npos && comma + 1 < line.size();
             comma = line.find(',', comma + 1))
            cells.push_back(std::strtol(line.c_str() + comma + 1, nullptr, 10));
        rows.push_back(cells);
    }
    return rows;
}

} // namespace

class TraceMonitorRun : public TraceWindowFixture {
protected:
    // The drive reports these words, and the program read them at connect.
    void ConnectTo(uint16_t version, uint16_t driveId) {
        drive->SetRegister(0x0F04, version);
        drive->SetRegister(0x171E, driveId);
        connectedHost_.driveIdWord = driveId;
        connectedDoc_ = std::make_unique<CKeloServoDoc>(&connectedHost_);
        connectedDoc_->OnNewDocument();
        connectedDoc_->SetModifiedFlag(false);
        connectedDoc_->m_DriveSoftwareVersion = version;
        view.document = connectedDoc_.get();
        view.services.Document = connectedDoc_.get();
    }

    // START in Monitor mode with eight channels, the window's timers running, until the drive has
    // answered `blocks` block reads.
    void RunUntilBlocks(int blocks) {
        UseSetup(TraceModeMonitor, true, kNarrowSources);
        machine->SetStepPerRequest(2000);
        ASSERT_NE(Open(), nullptr);
        ui::Press(*window, IDC_TG_START);
        drive->ClearLog();
        Fire(TraceStartTimer);
        ASSERT_TRUE(FireUntil(TraceMonitorTimer, [&] { return BlockReads() >= blocks; }))
            << "the run read no samples";
    }

    // START in Monitor mode with eight channels, the window's timers running, until the drive has
    // answered `blocks` block reads; then STOP.
    void RunUntilBlocksThenStop(int blocks) {
        RunUntilBlocks(blocks);
        PressStopAndWait();
    }

    int BlockReads() const {
        const auto log = drive->Log();
        return static_cast<int>(std::count_if(log.begin(), log.end(), [](const SimLogEntry& e) {
            return e.kind == SimRequestKind::MakerBlockRead;
        }));
    }

    // How often the window acknowledged a hand-over with this status word.
    long Acknowledged(int status) const {
        const auto log = Requests();
        return std::count(log.begin(), log.end(),
                          WriteFrame({{TraceStatusRegister, static_cast<unsigned>(status)}}));
    }

    // Every channel holds as many samples as the drive sent records, each the drive's, in order:
    // the channels stand aligned, the newest record last.
    void ExpectEveryChannelShowsEveryRecord() {
        const DriveRecords sent = RecordsTheDriveSent(drive->Log());
        ASSERT_GT(sent.records.size(), 0u);
        const TraceChannelSetup setup = MakeTraceChannelSetup(true, kNarrowSources, {});
        for (int ch = 0; ch < 8; ++ch) {
            const DisplayRing& shown = window->Display(ch);
            const int count = shown.Rolled();
            EXPECT_EQ(count, static_cast<int>(sent.records.size())) << "channel " << ch + 1;
            const int first = shown.Size() - count;
            for (int i = 0; i < std::min(count, static_cast<int>(sent.records.size())); ++i) {
                const int32_t expected =
                    DecodeSegmentRecord(sent.records[static_cast<size_t>(i)], setup)[static_cast<size_t>(ch)];
                if (shown.At(first + i) != expected) {
                    ADD_FAILURE() << "channel " << ch + 1 << ", sample " << i << " shows "
                                  << shown.At(first + i) << ", the drive sent " << expected;
                    break;
                }
            }
        }
    }

    ConnectedDriveHost connectedHost_;
    std::unique_ptr<CKeloServoDoc> connectedDoc_;
};

// The timer keeps each channel's newest sample back while the run goes on; STOP shows what is
// still queued on every channel, so none ends shorter or shifted against the others.
TEST_F(TraceMonitorRun, AfterStopEveryChannelHoldsEveryRecordTheDriveSent) {
    RunUntilBlocksThenStop(6);
    ASSERT_FALSE(HasFatalFailure());
    ExpectEveryChannelShowsEveryRecord();
}

// A drive whose software version alone would not say so, but whose id word does, hands Monitor
// samples over in segments: the run reads them and shows them as the drive sent them.
TEST_F(TraceMonitorRun, ADriveWithAnIdWordAndAnOldVersionIsReadInSegments) {
    ConnectTo(55, 6);
    RunUntilBlocksThenStop(6);
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_GE(Acknowledged(TraceStatusSegmentTaken), 2) << "segments taken";
    EXPECT_EQ(Acknowledged(TraceStatusBufferTaken), 0) << "no half of the older hand-over";
    ExpectEveryChannelShowsEveryRecord();
}

// A damaged status reply drops the link in the middle of a Monitor run: what the run read before
// is what the window shows and what both forms of Save As write, row for row.
TEST_F(TraceMonitorRun, ARunEndedByALostLinkSavesTheDrivesSamplesInBothForms) {
    RunUntilBlocks(10);
    if (HasFatalFailure())
        return;
    std::vector<SimFault> faults;
    ASSERT_TRUE(sim::ParseFaultSpec("corrupt:read@1503#1", faults));
    drive->AddFault(faults.at(0));
    ASSERT_TRUE(FireUntil(TraceMonitorTimer, [&] { return !window->Running(); }));
    ASSERT_EQ(ConnectedFlag.load(), 0) << "the damaged reply dropped the link";
    ExpectEveryChannelShowsEveryRecord();

    const DriveRecords sent = RecordsTheDriveSent(drive->Log());
    const TraceChannelSetup setup = MakeTraceChannelSetup(true, kNarrowSources, {});
    auto expected = [&](size_t row, int ch) {
        return DecodeSegmentRecord(sent.records[row], setup)[static_cast<size_t>(ch)];
    };
    const std::string csvPath = home_->Path("lost.csv");
    const std::string trdPath = home_->Path("lost.trd");
    for (const std::string& path : {csvPath, trdPath}) {
        messages->AnswerFile(path);
        ui::Press(*window, IDC_TG_SAVE_AS);
    }
    EXPECT_TRUE(messages->Shown().empty()) << "both saved";

    const auto rows = CsvValues(csvPath);
    ASSERT_EQ(rows.size(), sent.records.size()) << "one row for each record read";
    for (size_t row = 0; row < rows.size(); ++row) {
        ASSERT_GE(rows[row].size(), 8u);
        for (int ch = 0; ch < 8; ++ch)
            if (rows[row][static_cast<size_t>(ch)] != expected(row, ch)) {
                FAIL() << "CSV row " << row << ", channel " << ch + 1 << ": "
                       << rows[row][static_cast<size_t>(ch)] << ", the drive sent " << expected(row, ch);
            }
    }

    TraceRecording saved;
    ASSERT_TRUE(ReadTraceFile(trdPath, TraceFileForm::Trace, saved).ok);
    const size_t first = static_cast<size_t>(window->Display(0).Size()) - sent.records.size();
    for (size_t row = 0; row < sent.records.size(); ++row)
        for (int ch = 0; ch < 8; ++ch)
            if (saved.samples[static_cast<size_t>(ch)][first + row] != expected(row, ch)) {
                FAIL() << ".trd row " << row << ", channel " << ch + 1 << ": "
                       << saved.samples[static_cast<size_t>(ch)][first + row] << ", the drive sent "
                       << expected(row, ch);
            }
}
