// The simulated drive's side of the analysis: the handshake registers, the analysis memory behind
// block reads and the scale words.
#include "framework/core/Format.h"
#include "sim/SimMachine.h"
#include "sim/SimProtocol.h"
#include "tuning/AnalysisRecords.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

std::string Maker(const std::string& text) {
    return sim::WithMakerChecksum(text);
}

TEST(SimAnalysis, HandshakeMemoryAndScales) {
    CSimDrive drive(4);
    CSimMachine machine(drive);
    SimAnalysisOptions options;
    options.completionPolls = 1;
    machine.SetAnalysisOptions(options);
    EXPECT_EQ(drive.Handle(Maker("R11602")), Maker("%0000"));
    EXPECT_EQ(drive.Handle(Maker("R11607")), Maker("%2710"));
    EXPECT_EQ(drive.Handle(Maker("W116010032")), "%");
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(drive.Handle(Maker("W116020001")), "%");
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(1))
        << "the drive answers at once";
    EXPECT_EQ(drive.Handle(Maker("R11602")), Maker("%0001"));
    EXPECT_EQ(drive.Handle(Maker("R11602")), Maker("%0002"));
    // Block reads see the analysis memory; single reads the registers.
    const std::string reply = drive.Handle(AnalysisBlockRequest(0));
    ASSERT_EQ(reply.size(), size_t(AnalysisReplyLength));
    AnalysisWords words{};
    EXPECT_EQ(DecodeAnalysisBlock(reply.data(), 0, words, {}), -1);
    EXPECT_NEAR(words[0], 500, 20) << "the load torque's peak in 0.1 %";
    EXPECT_EQ(machine.AnalysisMeasurements(), 1);
    const uint32_t scale = machine.AnalysisTorqueScale();
    EXPECT_EQ(drive.Handle(Maker("R211041103")),
              Maker(Format("%%%04X%04X", unsigned(scale >> 16), unsigned(scale & 0xFFFF))));
    EXPECT_EQ(drive.Handle(Maker("W116020000")), "%");
    EXPECT_EQ(drive.Handle(Maker("R11602")), Maker("%0000"));
    EXPECT_NE(drive.Handle(AnalysisBlockRequest(0)), reply) << "the memory is let go";
}

} // namespace
