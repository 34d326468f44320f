#include "sim/FaultSpec.h"
#include "sim/SimDrive.h"

#include "SimTestSupport.h"

#include <gtest/gtest.h>
#include <thread>

using namespace simtest;
using namespace std::chrono_literals;

namespace {
const std::string kReadVersion = Maker("R10F04");
const std::string kReadOther = Maker("R10F03");
} // namespace

TEST(SimFault, EachKindChangesTheAnswerAsNamed) {
    CSimDrive plain(4);
    const std::string good = plain.Handle(kReadVersion);
    ASSERT_EQ(good.size(), 7u);

    struct Case {
        SimFault fault;
        std::function<void(const SimReply&)> check;
    } const cases[] = {
        {{.kind = SimFaultKind::Refuse}, [](const SimReply& r) { EXPECT_EQ(r.bytes, "!"); }},
        {{.kind = SimFaultKind::Silent}, [](const SimReply& r) { EXPECT_EQ(r.bytes, ""); }},
        {{.kind = SimFaultKind::BadChecksum},
         [&](const SimReply& r) {
             EXPECT_EQ(r.bytes.substr(0, 5), good.substr(0, 5));
             EXPECT_FALSE(sim::HasValidMakerChecksum(r.bytes));
         }},
        {{.kind = SimFaultKind::Truncate}, [&](const SimReply& r) { EXPECT_EQ(r.bytes, good.substr(0, 3)); }},
        {{.kind = SimFaultKind::Truncate, .keep = 5},
         [&](const SimReply& r) { EXPECT_EQ(r.bytes, good.substr(0, 5)); }},
        {{.kind = SimFaultKind::Garbage},
         [&](const SimReply& r) {
             ASSERT_EQ(r.bytes.size(), good.size());
             EXPECT_NE(r.bytes[0], '%');
             EXPECT_NE(r.bytes[0], '!');
         }},
        {{.kind = SimFaultKind::DropLink},
         [](const SimReply& r) {
             EXPECT_TRUE(r.dropLink);
             EXPECT_EQ(r.bytes, "");
         }},
        {{.kind = SimFaultKind::Delay, .delay = 250ms},
         [&](const SimReply& r) {
             EXPECT_EQ(r.bytes, good);
             EXPECT_EQ(r.delay, 250ms);
         }},
    };
    for (const Case& c : cases) {
        CSimDrive drive(4);
        drive.AddFault(c.fault);
        SCOPED_TRACE(static_cast<int>(c.fault.kind));
        c.check(drive.Respond(kReadVersion));
        EXPECT_TRUE(drive.Log().back().faulted);
    }
}

TEST(SimFault, RequestsThatNeverArrivedAreNotCarriedOut) {
    for (SimFaultKind kind : {SimFaultKind::Refuse, SimFaultKind::Silent, SimFaultKind::DropLink}) {
        CSimDrive drive(4);
        drive.AddFault({.kind = kind});
        drive.Handle(Maker("W100100001"));
        EXPECT_EQ(drive.GetRegister(0x0010), 0) << static_cast<int>(kind);
    }
    // A write whose answer is damaged on the way back was done.
    CSimDrive drive(4);
    drive.AddFault({.kind = SimFaultKind::Garbage});
    EXPECT_EQ(drive.Handle(Maker("W100100001")), "?");
    EXPECT_EQ(drive.GetRegister(0x0010), 1);
}

TEST(SimFault, MatchesByAddressKindSkipAndCount) {
    CSimDrive drive(4);
    drive.AddFault({.kind = SimFaultKind::Refuse, .address = 0x0F04, .skip = 1, .count = 2});
    drive.AddFault({.kind = SimFaultKind::Silent, .requestKind = SimRequestKind::MakerWrite});
    std::vector<std::string> replies;
    for (int i = 0; i < 4; ++i)
        replies.push_back(drive.Handle(kReadVersion));
    EXPECT_NE(replies[0], "!");
    EXPECT_EQ(replies[1], "!");
    EXPECT_EQ(replies[2], "!");
    EXPECT_NE(replies[3], "!");
    EXPECT_NE(drive.Handle(kReadOther), "!") << "another address passes";
    EXPECT_EQ(drive.Handle(Maker("W100100001")), "");
    // "R2" touches every address it lists.
    drive.AddFault({.kind = SimFaultKind::Refuse, .address = 0x0F03});
    EXPECT_EQ(drive.Handle(Maker("R20F040F03")), "!");
    drive.ClearFaults();
    EXPECT_NE(drive.Handle(Maker("R20F040F03")), "!");
}

TEST(SimFault, BadChecksumMarksBlockRecordsByAddress) {
    CSimDrive drive(4);
    const std::string request = Maker("R9500010001200140016004000420044004600");
    // Records 3 and 40 hold register 0x5003 and 0x1228 (0x1200 + 40).
    drive.AddFault({.kind = SimFaultKind::BadChecksum, .address = 0x5003});
    drive.AddFault({.kind = SimFaultKind::BadChecksum, .address = 0x1228});
    std::string reply = drive.Handle(request);
    ASSERT_EQ(reply.size(), 2496u);
    std::vector<int> bad;
    for (int r = 0; r < 64; ++r)
        if (!sim::HasValidMakerChecksum(reply.substr(39 * static_cast<size_t>(r), 39)))
            bad.push_back(r);
    EXPECT_EQ(bad, (std::vector<int>{3, 40}));

    CSimDrive all(4);
    all.AddFault({.kind = SimFaultKind::BadChecksum, .requestKind = SimRequestKind::MakerBlockRead});
    reply = all.Handle(request);
    for (int r = 0; r < 64; ++r)
        EXPECT_FALSE(sim::HasValidMakerChecksum(reply.substr(39 * static_cast<size_t>(r), 39))) << r;
    EXPECT_TRUE(sim::HasValidMakerChecksum(all.Handle(kReadVersion))) << "other kinds untouched";
}

TEST(SimFault, DamagesModbusChecks) {
    CSimDrive drive(4);
    drive.AddFault({.kind = SimFaultKind::BadChecksum, .requestKind = SimRequestKind::ModbusRead});
    std::string rtu = drive.Handle(Rtu(1, 0x03, 0, 1));
    ASSERT_EQ(rtu.size(), 7u);
    EXPECT_FALSE(sim::HasValidCrc16(rtu));
    std::string ascii = drive.Handle(Ascii(1, 0x03, 0, 1));
    std::string bytes;
    ASSERT_EQ(ascii.size(), 15u);
    EXPECT_FALSE(sim::FromModbusAscii(ascii, bytes));
    drive.AddFault({.kind = SimFaultKind::Refuse, .requestKind = SimRequestKind::ModbusWrite});
    EXPECT_EQ(drive.Handle(Rtu(1, 0x06, 0x0010, 1)), sim::WithCrc16(Bytes({1, 0x86, 0x02})));
}

TEST(SimFault, WireTimeIsTenBitTimesPerCharacter) {
    CSimDrive drive(4);
    EXPECT_EQ(drive.Respond(kReadVersion).wireTime, 0us);
    drive.SetWireBaud(9600);
    // 8 characters out, 7 back.
    EXPECT_EQ(drive.Respond(kReadVersion).wireTime, std::chrono::microseconds(15 * 10 * 1000000LL / 9600));
    EXPECT_EQ(drive.WireTime(2496 + 40), std::chrono::microseconds(2536LL * 10 * 1000000 / 9600));
}

TEST(SimLog, RecordsEveryRequestInOrder) {
    CSimDrive drive(4);
    drive.AddFault({.kind = SimFaultKind::Silent, .address = 0x0F03});
    drive.Handle(kReadVersion);
    drive.Handle(kReadOther);
    drive.Handle(Rtu(9, 0x03, 0, 1));
    drive.Handle("garbage");
    EXPECT_EQ(drive.RequestLog(),
              (std::vector<std::string>{kReadVersion, kReadOther, Rtu(9, 0x03, 0, 1), "garbage"}));
    std::vector<SimLogEntry> log = drive.Log();
    EXPECT_EQ(log[0].kind, SimRequestKind::MakerRead);
    EXPECT_FALSE(log[0].faulted);
    EXPECT_EQ(log[1].reply, "");
    EXPECT_TRUE(log[1].faulted);
    EXPECT_EQ(log[2].kind, SimRequestKind::ModbusRead);
    EXPECT_EQ(log[3].kind, SimRequestKind::Other);
    drive.ClearLog();
    EXPECT_EQ(drive.RequestCount(), 0u);
}

TEST(SimLog, IsSafeUnderConcurrentRequests) {
    CSimDrive drive(4);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&drive, t] {
            for (int i = 0; i < 200; ++i) {
                drive.Handle(Maker("W1" + sim::Hex4(0x2000 + t) + sim::Hex4(i)));
                drive.SetRegister(static_cast<uint16_t>(0x3000 + t), static_cast<uint16_t>(i));
            }
        });
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(drive.RequestCount(), 800u);
    for (int t = 0; t < 4; ++t)
        EXPECT_EQ(drive.GetRegister(static_cast<uint16_t>(0x2000 + t)), 199);
}

TEST(SimLog, RequestHookAnswersFirstAndIsLogged) {
    CSimDrive drive(4);
    drive.SetRequestHook([&drive](const std::string& request) -> std::optional<std::string> {
        if (request.rfind("R11602", 0) == 0)
            return Maker("%" + sim::Hex4(drive.GetRegister(0x0F04) + 1)); // may use the drive
        return std::nullopt;
    });
    EXPECT_EQ(drive.Handle(Maker("R11602")), Maker("%" + sim::Hex4(drive.GetRegister(0x0F04) + 1)));
    EXPECT_EQ(drive.Handle(kReadVersion), Maker("%" + sim::Hex4(drive.GetRegister(0x0F04))));
    EXPECT_EQ(drive.RequestCount(), 2u);
    EXPECT_EQ(drive.Log()[0].kind, SimRequestKind::MakerRead);
}

TEST(SimFaultSpec, ParsesTheCommandLineForm) {
    std::vector<SimFault> faults;
    ASSERT_TRUE(sim::ParseFaultSpec("refuse@0F04,delay=200:read#3+1,truncate=4@0x0201,drop:write", faults));
    ASSERT_EQ(faults.size(), 4u);
    EXPECT_EQ(faults[0].kind, SimFaultKind::Refuse);
    EXPECT_EQ(faults[0].address, 0x0F04);
    EXPECT_EQ(faults[0].count, -1);
    EXPECT_EQ(faults[1].kind, SimFaultKind::Delay);
    EXPECT_EQ(faults[1].delay, 200ms);
    EXPECT_EQ(faults[1].requestKind, SimRequestKind::MakerRead);
    EXPECT_EQ(faults[1].count, 3);
    EXPECT_EQ(faults[1].skip, 1);
    EXPECT_EQ(faults[2].keep, 4u);
    EXPECT_EQ(faults[2].address, 0x0201);
    EXPECT_EQ(faults[3].kind, SimFaultKind::DropLink);
    EXPECT_EQ(faults[3].requestKind, SimRequestKind::MakerWrite);

    for (const char* bad : {"", "boom", "delay", "refuse=3", "silent@10000", "silent@xyz", "silent:nothing",
                            "silent#-1", "refuse,", "garbage#"}) {
        std::string error;
        std::vector<SimFault> none;
        EXPECT_FALSE(sim::ParseFaultSpec(bad, none, &error)) << bad;
        EXPECT_TRUE(none.empty());
        EXPECT_FALSE(error.empty()) << bad;
    }
}
