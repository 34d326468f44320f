#include "sim/FaultSpec.h"
#include "sim/SimDrive.h"
#include "sim/SimJog.h"
#include "sim/SimMachine.h"

#include "SimTestSupport.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
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
             EXPECT_EQ(r.slow, 0ms);
         }},
        {{.kind = SimFaultKind::Slow, .delay = 250ms},
         [&](const SimReply& r) {
             EXPECT_EQ(r.bytes, good);
             EXPECT_EQ(r.slow, 250ms);
             EXPECT_EQ(r.delay, 0ms);
         }},
        {{.kind = SimFaultKind::Corrupt},
         [&](const SimReply& r) {
             ASSERT_EQ(r.bytes.size(), good.size());
             EXPECT_EQ(r.bytes[0], '%');
             EXPECT_FALSE(sim::HasValidMakerChecksum(r.bytes));
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
        drive.SetRegister(0x0010, 0);
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

// One digit of a word or of a checksum becomes another digit: the frame keeps its form, only its
// check can tell. The seed makes the choice repeatable; only damaged answers count.
TEST(SimFault, CorruptChangesOneDigitOfAShareOfTheAnswers) {
    const std::string block = Maker("R9500010001200140016004000420044004600");
    const std::string clean = CSimDrive(4).Handle(block);
    auto run = [&](const char* spec) {
        std::vector<SimFault> faults;
        EXPECT_TRUE(sim::ParseFaultSpec(spec, faults)) << spec;
        CSimDrive drive(4);
        for (const SimFault& fault : faults)
            drive.AddFault(fault);
        std::vector<std::string> replies;
        for (int i = 0; i < 400; ++i)
            replies.push_back(drive.Handle(block));
        EXPECT_EQ(drive.Handle(kReadVersion), Maker("%" + sim::Hex4(drive.GetRegister(0x0F04))))
            << "other kinds pass";
        const std::vector<SimLogEntry> log = drive.Log();
        for (size_t i = 0; i < replies.size(); ++i)
            EXPECT_EQ(log[i].faulted, replies[i] != clean) << i;
        return replies;
    };
    const std::vector<std::string> replies = run("corrupt=10:block~7");
    int damaged = 0;
    for (const std::string& reply : replies) {
        ASSERT_EQ(reply.size(), clean.size());
        std::vector<size_t> changed;
        for (size_t i = 0; i < reply.size(); ++i)
            if (reply[i] != clean[i])
                changed.push_back(i);
        if (changed.empty())
            continue;
        ++damaged;
        ASSERT_EQ(changed.size(), 1u);
        const char c = reply[changed[0]];
        EXPECT_TRUE((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F')) << c;
        const size_t record = changed[0] / 39;
        EXPECT_FALSE(sim::HasValidMakerChecksum(reply.substr(39 * record, 39)));
    }
    EXPECT_GT(damaged, 400 * 5 / 100);
    EXPECT_LT(damaged, 400 * 15 / 100);
    EXPECT_EQ(run("corrupt=10:block~7"), replies) << "the same seed, the same answers";
    EXPECT_NE(run("corrupt=10:block~8"), replies);
    const std::vector<std::string> twice = run("corrupt:block#2+1");
    EXPECT_EQ(twice[0], clean);
    EXPECT_NE(twice[1], clean);
    EXPECT_NE(twice[2], clean);
    EXPECT_EQ(twice[3], clean);

    // Modbus: the CRC of an RTU answer and the LRC of an ASCII one break.
    CSimDrive modbus(4);
    modbus.AddFault({.kind = SimFaultKind::Corrupt, .requestKind = SimRequestKind::ModbusRead});
    for (int i = 0; i < 20; ++i) {
        EXPECT_FALSE(sim::HasValidCrc16(modbus.Handle(Rtu(1, 0x03, 0, 1))));
        std::string bytes;
        EXPECT_FALSE(sim::FromModbusAscii(modbus.Handle(Ascii(1, 0x03, 0, 1)), bytes));
    }
}

TEST(SimFault, WireTimeIsTenBitTimesPerCharacter) {
    CSimDrive drive(4);
    EXPECT_EQ(drive.Respond(kReadVersion).wireTime, 0us);
    drive.SetWireBaud(9600);
    // 8 characters out, 7 back.
    EXPECT_EQ(drive.Respond(kReadVersion).wireTime, std::chrono::microseconds(15 * 10 * 1000000LL / 9600));
    EXPECT_EQ(drive.WireTime(2496 + 40), std::chrono::microseconds(2536LL * 10 * 1000000 / 9600));
}

TEST(SimFault, SlowDriveSlowsEveryBlockAnswerAndNothingElse) {
    std::vector<SimFault> faults;
    ASSERT_TRUE(sim::ParseFaultSpec("slow=3000:block", faults));
    CSimDrive drive(4);
    drive.AddFault(faults.at(0));
    const std::string block = Maker("R9500010001200140016004000420044004600");
    for (int i = 0; i < 3; ++i) {
        SimReply reply = drive.Respond(block);
        EXPECT_EQ(reply.bytes.size(), 2496u);
        EXPECT_EQ(reply.slow, 3000ms) << "block read " << i;
    }
    EXPECT_EQ(drive.Respond(kReadVersion).slow, 0us);
    EXPECT_EQ(drive.Respond(Maker("W100100001")).slow, 0us);
}

namespace {

// A drive whose jog turns the motor at 100 rpm on a clock that follows real time.
struct JoggingDrive {
    CSimDrive drive{4};
    CSimMachine machine{drive};
    CSimJog jog{drive, machine};

    JoggingDrive() {
        machine.SetRealTime(true);
        for (const char* write : {"W102010064", "W118030001", "W118010001"})
            EXPECT_EQ(drive.Handle(Maker(write)), "%") << write;
        jog.Sync(); // the last write commands the machine from now, not from the next request
    }
};

constexpr double kRadPerSecondAt100Rpm = 100.0 * 2 * std::numbers::pi / 60;

} // namespace

TEST(SimFreeze, AnswersNothingCarriesOutNothingWhileTheMachineRunsOn) {
    JoggingDrive d;
    // Up to speed first, so the turning below is the jog's pace.
    std::this_thread::sleep_for(300ms);
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(d.drive.Handle(kReadVersion).size(), 7u);
    ASSERT_NEAR(d.machine.MotorSpeedRpm(), 100, 5);
    const double angleBefore = d.machine.MotorAngle();
    d.drive.Freeze(400ms);
    d.drive.ClearLog();

    // The jog stop and a read during the freeze: no answer, nothing written.
    const std::string stop = Maker("W102010000");
    EXPECT_EQ(d.drive.Handle(stop), "");
    EXPECT_EQ(d.drive.Handle(kReadVersion), "");
    EXPECT_TRUE(d.drive.IsFrozen());
    EXPECT_EQ(d.drive.GetRegister(0x0201), 100);

    ASSERT_TRUE(d.drive.WaitUntilThawed(5s));
    // The first answer after it: the drive as it was, the motor turned the whole time.
    EXPECT_EQ(d.drive.Handle(Maker("R10201")), Maker("%0064"));
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_NEAR(d.machine.MotorSpeedRpm(), 100, 5);
    EXPECT_GT(d.machine.MotorAngle() - angleBefore, 0.9 * kRadPerSecondAt100Rpm * 0.4);
    EXPECT_LT(d.machine.MotorAngle() - angleBefore, 1.1 * kRadPerSecondAt100Rpm * seconds);

    const std::vector<SimLogEntry> log = d.drive.Log();
    ASSERT_EQ(log.size(), 3u);
    for (int i : {0, 1}) {
        EXPECT_EQ(log[i].reply, "") << i;
        EXPECT_TRUE(log[i].frozen) << i;
    }
    EXPECT_EQ(log[0].request, stop);
    EXPECT_EQ(log[0].kind, SimRequestKind::MakerWrite);
    EXPECT_FALSE(log[2].frozen);
}

TEST(SimFreeze, FaultFreezesFromTheRequestItHitsOnce) {
    CSimDrive drive(4);
    drive.AddFault(
        {.kind = SimFaultKind::Freeze, .requestKind = SimRequestKind::MakerWrite, .skip = 1, .delay = 200ms});
    EXPECT_EQ(drive.Handle(Maker("W100100001")), "%");
    EXPECT_EQ(drive.Handle(kReadVersion).size(), 7u) << "a read does not match";
    EXPECT_EQ(drive.Handle(Maker("W100100002")), "") << "the second write starts the freeze";
    EXPECT_TRUE(drive.IsFrozen());
    EXPECT_EQ(drive.Handle(kReadVersion), "") << "every request during it";
    EXPECT_EQ(drive.GetRegister(0x0010), 1);
    EXPECT_TRUE(drive.Log().back().frozen);

    ASSERT_TRUE(drive.WaitUntilThawed(5s));
    // One freeze: the writes after it are answered and done.
    for (int value : {3, 4}) {
        EXPECT_EQ(drive.Handle(Maker("W10010000" + std::to_string(value))), "%");
        EXPECT_EQ(drive.GetRegister(0x0010), value);
    }
    EXPECT_FALSE(drive.IsFrozen());

    // A freeze in progress ends on Thaw; a shorter one does not cut a longer one.
    drive.Freeze(10s);
    drive.Freeze(1ms);
    EXPECT_FALSE(drive.WaitUntilThawed(20ms));
    drive.Thaw();
    EXPECT_TRUE(drive.WaitUntilThawed(0ms));
    EXPECT_EQ(drive.Handle(kReadVersion).size(), 7u);
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
    ASSERT_TRUE(sim::ParseFaultSpec("refuse@0F04,delay=200:read#3+1,truncate=4@0x0201,drop:write,"
                                    "freeze=7000:write+3,slow=2500:block,corrupt=2:block~7,corrupt",
                                    faults));
    ASSERT_EQ(faults.size(), 8u);
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
    EXPECT_EQ(faults[4].kind, SimFaultKind::Freeze);
    EXPECT_EQ(faults[4].delay, 7000ms);
    EXPECT_EQ(faults[4].requestKind, SimRequestKind::MakerWrite);
    EXPECT_EQ(faults[4].skip, 3);
    EXPECT_EQ(faults[5].kind, SimFaultKind::Slow);
    EXPECT_EQ(faults[5].delay, 2500ms);
    EXPECT_EQ(faults[5].requestKind, SimRequestKind::MakerBlockRead);
    EXPECT_EQ(faults[6].kind, SimFaultKind::Corrupt);
    EXPECT_EQ(faults[6].percent, 2);
    EXPECT_EQ(faults[6].seed, 7u);
    EXPECT_EQ(faults[6].requestKind, SimRequestKind::MakerBlockRead);
    EXPECT_EQ(faults[7].percent, 100) << "every answer unless a share is given";
    EXPECT_EQ(faults[7].seed, 1u);

    for (const char* bad :
         {"", "boom", "delay", "refuse=3", "silent@10000", "silent@xyz", "silent:nothing", "silent#-1",
          "refuse,", "garbage#", "freeze", "freeze=-5", "slow", "corrupt=101", "corrupt~x", "refuse~3"}) {
        std::string error;
        std::vector<SimFault> none;
        EXPECT_FALSE(sim::ParseFaultSpec(bad, none, &error)) << bad;
        EXPECT_TRUE(none.empty());
        EXPECT_FALSE(error.empty()) << bad;
    }
}
