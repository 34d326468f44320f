// The register services against the simulated drive: the exact requests, the value conversions,
// refusals, and the long transfers with their progress, cancel and one failure message.
#include "ServicesFixture.h"

#include "catalogue/MemoryImage.h"
#include "catalogue/RegisterMap.h"

#include <chrono>
#include <cstdio>
#include <thread>
#include <unistd.h>

namespace {

using Services = ServicesFixture;

TEST_F(Services, NothingIsSentWhileNotConnected) {
    ConnectedFlag = 0;
    doc.Value(DocHn, 1) = 5;
    const std::vector<std::pair<const char*, std::function<std::optional<int>()>>> reads = {
        {"ReadDriveRegister", [&] { return services.ReadDriveRegister(0x0201); }},
        {"ReadDriveRegister16", [&] { return services.ReadDriveRegister16(0x0201); }},
        {"ReadDriveRegister32", [&] { return services.ReadDriveRegister32(0x0500); }},
        {"ReadDriveParameter", [&] { return services.ReadDriveParameter("Cn025"); }},
        {"ReadParameterByGroup", [&] { return services.ReadParameterByGroup('0', 1); }},
        {"ReadParameterModbus", [&] { return services.ReadParameterModbus('C', 1, 0); }},
    };
    for (const auto& [name, read] : reads) {
        SCOPED_TRACE(name);
        EXPECT_EQ(read(), std::nullopt);
    }
    const std::vector<std::pair<const char*, std::function<int()>>> calls = {
        {"PollAnalysisState", [&] { return services.PollAnalysisState(); }},
        {"WriteDriveRegister", [&] { return services.WriteDriveRegister(0x0201, 1); }},
        {"WriteDriveRegister32", [&] { return services.WriteDriveRegister32(0x0500, 1); }},
        {"WriteDriveParameter", [&] { return services.WriteDriveParameter("Cn025", 1); }},
        {"WriteParameterByGroup", [&] { return services.WriteParameterByGroup('2', 1, 1, 0); }},
        {"SendFixedCommandFrame", [&] { return services.SendFixedCommandFrame(); }},
        {"ReadMemoryImage", [&] { return services.ReadMemoryImage(); }},
        {"WriteMemoryImage", [&] { return services.WriteMemoryImage(); }},
        {"ReadDioContactParameters", [&] { return services.ReadDioContactParameters(); }},
        {"ReadDioContactBlock", [&] { return services.ReadDioContactBlock(); }},
        {"WriteDioContactParameters", [&] { return services.WriteDioContactParameters(); }},
        {"ReadPathPlanningParameters", [&] { return services.ReadPathPlanningParameters(); }},
        {"WritePathPlanningParameters", [&] { return services.WritePathPlanningParameters(); }},
        {"WriteFilterParameters", [&] { return services.WriteFilterParameters().Written() ? 1 : 0; }},
    };
    for (const auto& [name, call] : calls) {
        SCOPED_TRACE(name);
        EXPECT_EQ(call(), 0);
    }
    EXPECT_TRUE(Requests().empty());
    EXPECT_TRUE(messages.Shown().empty());
    EXPECT_TRUE(progress.opened.empty());
    EXPECT_EQ(services.ViewBusyFlag, 0);
}

TEST_F(Services, RegisterReadsTakeTheWordSignedOrUnsignedByAddress) {
    struct Case {
        int address;
        uint16_t word;
        int plain;    // ReadDriveRegister
        int signed16; // ReadDriveRegister16
    } cases[] = {
        {0x0201, 0xFFFF, -1, -1},        {0x0202, 0xFFFF, 65535, -1},    {0x0601, 0x8000, -32768, -32768},
        {0x0905, 0xFFFE, -2, -2},        {0x0906, 0x7FFF, 32767, 32767}, {0x0C1C, 0xFFFF, -1, -1},
        {0x1602, 0x8000, 32768, -32768},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.address);
        drive.SetRegister(static_cast<uint16_t>(c.address), c.word);
        EXPECT_EQ(services.ReadDriveRegister(c.address), c.plain);
        EXPECT_EQ(services.ReadDriveRegister16(c.address), c.signed16);
    }
    drive.ClearLog();
    ASSERT_TRUE(services.ReadDriveRegister(0x0201));
    EXPECT_EQ(Requests(), std::vector<std::string>{"R1020146"});
}

TEST_F(Services, ThirtyTwoBitPairsHighAddressFirstLowWordFirstOnWrite) {
    drive.SetRegister(0x0500, 0x0001);
    drive.SetRegister(0x0501, 0x0001);
    EXPECT_EQ(services.ReadDriveRegister32(0x0500), 65537);
    drive.SetRegister32(0x0500, 0xFFFFFFFE);
    EXPECT_EQ(services.ReadDriveRegister32(0x0500), -2);

    ASSERT_EQ(services.WriteDriveRegister32(0x0500, 0x12345), 1);
    EXPECT_EQ(drive.GetRegister32(0x0500), 0x12345u);
    EXPECT_EQ(Requests(), (std::vector<std::string>{Maker("R205010500"), Maker("R205010500"),
                                                    Maker("W2050023450501"
                                                          "0001")}));
}

TEST_F(Services, ParametersByCodeUseTheRegisterMap) {
    drive.SetRegister(0x001C, 0x0102);    // Cn025
    drive.SetRegister(0x0001, 0xFFFF);    // Cn001: unsigned
    drive.SetRegister(0x0003, 0xFFFF);    // Cn003: signed
    drive.SetRegister32(0x0005, 0x12345); // Cn005: 32-bit
    struct Case {
        const char* code;
        int value;
    } cases[] = {{"Cn025", 0x0102}, {"Cn001", 65535}, {"Cn003", -1}, {"Cn005", 0x12345}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(services.ReadDriveParameter(c.code), c.value);
    }
    ASSERT_EQ(services.WriteDriveParameter("Cn005", 0x10002), 1);
    ASSERT_EQ(services.WriteDriveParameter("Cn025", -1), 1);
    EXPECT_EQ(Requests(), (std::vector<std::string>{Maker("R1001C"), Maker("R10001"), Maker("R10003"),
                                                    Maker("R200060005"),
                                                    Maker("W2000500020006"
                                                          "0001"),
                                                    Maker("W1001CFFFF")}));

    // A parameter without a register is never sent and gives no value.
    drive.ClearLog();
    EXPECT_EQ(services.ReadDriveParameter("Cn042"), std::nullopt);
    EXPECT_EQ(services.WriteDriveParameter("Cn042", 1), 0);
    EXPECT_EQ(services.ReadDriveParameter("Xx123"), std::nullopt);
    EXPECT_EQ(services.ReadDriveParameter("Cn05"), std::nullopt); // too short: not Cn005
    EXPECT_EQ(services.WriteDriveParameter("", 1), 0);
    EXPECT_TRUE(Requests().empty());
}

// Every read gives its value or nothing: a failure right after a good read of the same register
// leaves nothing of the earlier value to take.
TEST_F(Services, AFailedReadAfterAGoodOneGivesNoValue) {
    struct Case {
        const char* read;
        uint16_t address; // where the fault sits
        std::function<std::optional<int>()> call;
        int value;
    } cases[] = {
        {"ReadDriveRegister", 0x0202, [&] { return services.ReadDriveRegister(0x0202); }, 0x1234},
        {"ReadDriveRegister16", 0x0202, [&] { return services.ReadDriveRegister16(0x0202); }, 0x1234},
        {"ReadDriveRegister32", 0x0500, [&] { return services.ReadDriveRegister32(0x0500); }, 0x1234},
        {"ReadDriveParameter", 0x001C, [&] { return services.ReadDriveParameter("Cn025"); }, 0x1234},
        {"ReadParameterByGroup", 0x0537, [&] { return services.ReadParameterByGroup('5', 0x37); }, 0x1234},
        {"ReadParameterModbus", 0x0202, [&] { return services.ReadParameterModbus('S', 2, 0); }, 0x1234},
    };
    drive.SetStationNumber(1);
    for (const Case& c : cases) {
        for (SimFaultKind fault : {SimFaultKind::Refuse, SimFaultKind::Silent}) {
            SCOPED_TRACE(testing::Message()
                         << c.read << (fault == SimFaultKind::Refuse ? " refused" : " silent"));
            drive.ClearFaults();
            drive.SetRegister32(0x0500, 0x1234);
            for (uint16_t a : {0x0202, 0x001C, 0x0537})
                drive.SetRegister(a, 0x1234);
            ConnectedFlag = 1;
            ASSERT_EQ(c.call(), c.value);
            drive.AddFault({.kind = fault, .address = c.address});
            EXPECT_EQ(c.call(), std::nullopt);
        }
    }
}

TEST_F(Services, RefusalsFailAndLeaveTheLinkUp) {
    drive.RefuseAddress(0x0201);
    EXPECT_EQ(services.WriteDriveRegister(0x0201, 5), 0);
    EXPECT_EQ(services.ReadDriveRegister(0x0201), std::nullopt);
    EXPECT_EQ(ConnectedFlag.load(), 1);
    EXPECT_TRUE(PortObject.IsOpen());
    EXPECT_TRUE(messages.Shown().empty());
    // A garbled reply is a lost link.
    drive.AddFault({.kind = SimFaultKind::BadChecksum, .address = 0x0202});
    EXPECT_EQ(services.ReadDriveRegister(0x0202), std::nullopt);
    EXPECT_EQ(ConnectedFlag.load(), 0);
}

TEST_F(Services, GroupReadsAndWrites) {
    drive.SetRegister(0x0536, 0xFFFF);
    drive.SetRegister(0x0537, 0xFFFF);
    EXPECT_EQ(services.ReadParameterByGroup('5', 0x36), -1);
    EXPECT_EQ(services.ReadParameterByGroup('5', 0x37), 65535);
    EXPECT_EQ(services.WriteParameterByGroup('2', 1, 300, 1), 0); // hold
    EXPECT_EQ(services.WriteParameterByGroup(0, 1, 300, 0), 0);
    ASSERT_EQ(services.WriteParameterByGroup('2', 1, -2, 0), 1);
    EXPECT_EQ(drive.GetRegister(0x0201), 0xFFFE);
    EXPECT_EQ(Requests(), (std::vector<std::string>{Maker("R10536"), Maker("R10537"), Maker("W10201FFFE")}));

    drive.SetRegister(0x1602, 2);
    EXPECT_EQ(services.PollAnalysisState(), 2);
    drive.SetRegister(0x1602, 1);
    EXPECT_EQ(services.PollAnalysisState(), 1);
}

TEST_F(Services, ModbusReadInBothFramings) {
    drive.SetStationNumber(1);
    drive.SetRegister(0x0201, 0xFFFF); // Sn201, signed
    drive.SetRegister(0x0001, 0xFFFF); // Cn001, unsigned
    for (int ascii : {0, 1}) {
        SCOPED_TRACE(ascii ? "ASCII" : "RTU");
        EXPECT_EQ(services.ReadParameterModbus('S', 1, ascii), -1);
        EXPECT_EQ(services.ReadParameterModbus('C', 1, ascii), 65535);
    }
    EXPECT_EQ(Requests()[2], ":010302010001F8\r\n");
    // A group without a Modbus block is not sent to some other address, and a 32-bit value is not
    // taken for its low word.
    drive.ClearLog();
    EXPECT_EQ(services.ReadParameterModbus('d', 1, 0), std::nullopt);
    EXPECT_EQ(services.ReadParameterModbus('o', 7, 1), std::nullopt);
    EXPECT_EQ(services.ReadParameterModbus('C', 5, 0), std::nullopt);
    EXPECT_EQ(services.ReadParameterModbus('P', 2, 1), std::nullopt);
    EXPECT_TRUE(Requests().empty());
    // An exception reply is no value.
    drive.RefuseAddress(0x0202);
    EXPECT_EQ(services.ReadParameterModbus('S', 2, 0), std::nullopt);
}

TEST_F(Services, FixedFrameOnlyWithTheServoOff) {
    ServoOnFlag = 1;
    EXPECT_EQ(services.SendFixedCommandFrame(), 0);
    const MessageRequest box = OnlyMessage();
    EXPECT_EQ(box.text, "System Servo ON!\nPlease Servo Off again!");
    ServoOnFlag = 0;
    EXPECT_EQ(services.SendFixedCommandFrame(), 1);
    // The drive answers nothing; the server ends the frame at the pause on the line.
    for (int i = 0; i < 50 && drive.RequestCount() == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    const std::string frame = "\x50\x05\x07\x09\x03\x07\x87\x83\x89\x87\x85";
    EXPECT_EQ(Requests(), std::vector<std::string>{frame});
    EXPECT_EQ(ConnectedFlag.load(), 1);
}

TEST_F(Services, MemoryImageRoundTripThroughTheDatFile) {
    for (int i = 0; i < MemoryImageWords; ++i)
        doc.m_MemoryImage[0][i] = (i * 37 + 0x8000) & 0xFFFF;
    ASSERT_EQ(services.WriteMemoryImage(), 1);
    for (int i = 0; i < MemoryImageWords; ++i)
        ASSERT_EQ(drive.GetImageWord(i), doc.m_MemoryImage[0][i]) << i;
    char first[20];
    CInternalCode::BuildMemoryImageWrite(first, 0, 0x8000);
    EXPECT_EQ(Requests().front(), std::string(first, 20));
    EXPECT_EQ(Requests().size(), 1024u);
    const MessageRequest box = OnlyMessage();
    EXPECT_EQ(box.text, "Write successfully!!\n\nPlease restart the Servo drive! ! \n(After turning off the "
                        "power, re-enter the power.)");
    EXPECT_EQ(box.caption, "Write Message");
    EXPECT_EQ(box.type & MB_ICONMASK, static_cast<unsigned>(MB_ICONWARNING));
    EXPECT_EQ(progress.opened, std::vector<int>{RWProgressDialogResource});
    EXPECT_EQ(progress.range, 3072);
    EXPECT_EQ(progress.position, 3072);
    EXPECT_EQ(progress.texts.back(), "Writing data to Servo...: 03FFH");

    // Read it back into an emptied document, export and import the file.
    drive.ClearLog();
    messages.Clear();
    const int expected0 = doc.m_MemoryImage[0][0];
    std::fill(&doc.m_MemoryImage[0][0], &doc.m_MemoryImage[0][0] + MemoryImageWords, 0);
    progress.texts.clear();
    ASSERT_EQ(services.ReadMemoryImage(), 1);
    EXPECT_TRUE(messages.Shown().empty());
    EXPECT_EQ(doc.m_MemoryImage[0][0], expected0); // stored unsigned
    char select[20];
    CInternalCode::BuildMemoryImageSelect(select, 1);
    EXPECT_EQ(Requests()[0], Maker("W2171400011715"
                                   "0000"));
    EXPECT_EQ(Requests()[1], Maker("R11716"));
    EXPECT_EQ(Requests()[2], std::string(select, 20));
    EXPECT_EQ(Requests().size(), 2048u);
    EXPECT_EQ(progress.texts[10], "Reading date from Servo...: 000AH");

    char path[] = "/tmp/regservices-imageXXXXXX.dat";
    int fd = mkstemps(path, 4);
    ASSERT_GE(fd, 0);
    close(fd);
    ASSERT_TRUE(ExportMemoryImage(path, doc.m_MemoryImage[0]));
    int imported[MemoryImageWordCount] = {};
    const MemoryImageImport result = ImportMemoryImage(path, imported);
    std::remove(path);
    ASSERT_TRUE(result.valid) << result.message;
    for (int i = 0; i < MemoryImageWords; ++i)
        ASSERT_EQ(static_cast<uint16_t>(imported[i]), drive.GetImageWord(i)) << i;
}

TEST_F(Services, CancellingTheImageReadAfterWordTenEndsWithoutABox) {
    bool busySeen = false;
    services.PeekAndPump = [&] {
        busySeen = busySeen || services.ViewBusyFlag == 1;
        if (progress.position == 33) // word 10 done
            progress.cancel = true;
    };
    EXPECT_EQ(services.ReadMemoryImage(), 0);
    EXPECT_TRUE(busySeen);
    EXPECT_EQ(services.ViewBusyFlag, 0);
    EXPECT_TRUE(messages.Shown().empty());
    EXPECT_FALSE(progress.open);
    EXPECT_EQ(Requests().size(), 22u);
    EXPECT_EQ(Requests().back(), Maker("R11716"));

    // The view's own cancel flag counts as well, and a new transfer starts uncancelled.
    progress.cancel = false;
    drive.ClearLog();
    services.PeekAndPump = [&] { services.CancelRequest = 1; };
    EXPECT_EQ(services.WriteMemoryImage(), 0);
    EXPECT_EQ(Requests().size(), 1u);
    EXPECT_TRUE(messages.Shown().empty());
}

// Each long transfer ends at its first failure with the one message that names the step.
TEST_F(Services, FirstFailureShowsOneMessageNamingTheStep) {
    struct Case {
        const char* what;
        uint16_t refused;
        std::function<int()> run;
        const char* step;
        size_t requests; // sent before the transfer stopped
    } cases[] = {
        {"image read", 0x1716, [&] { return services.ReadMemoryImage(); },
         "Reading date from Servo...: 0000H", 2},
        {"image select", 0x1715, [&] { return services.ReadMemoryImage(); },
         "Reading date from Servo...: 0000H", 1}, // no read of a word the drive did not select
        {"image write", 0x1718, [&] { return services.WriteMemoryImage(); },
         "Writing data to Servo...: 0000H", 1},
        {"contact read", 0x0505, [&] { return services.ReadDioContactParameters(); },
         "Read Digital Input/Output Contact planning parameters: Hn605", 5},
        {"contact block", 0x1A18, [&] { return services.ReadDioContactBlock(); },
         "Read Digital Input/Output Contact planning parameters: Hn624", 24},
        {"contact write", 0x0501, [&] { return services.WriteDioContactParameters(); },
         "Write Digital Input/Output Contact planning parameters: Hn601", 1},
        {"path read", 0x0701, [&] { return services.ReadPathPlanningParameters(); },
         "Read Internal Position Command path planning parameters: Pn401", 3},
        {"path write", 0x0313, [&] { return services.WritePathPlanningParameters(); },
         "Write Internal Position Command path planning parameters: Pn313", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        drive.ClearLog();
        drive.RefuseAddress(c.refused);
        messages.Clear();
        progress.texts.clear();
        EXPECT_EQ(c.run(), 0);
        const MessageRequest box = OnlyMessage();
        EXPECT_EQ(box.text, std::string("Error:\n\n") + c.step);
        EXPECT_EQ(box.caption, "Communication Message");
        EXPECT_EQ(box.type & MB_ICONMASK, static_cast<unsigned>(MB_ICONSTOP));
        EXPECT_EQ(progress.texts.back(), c.step);
        EXPECT_EQ(Requests().size(), c.requests);
        EXPECT_FALSE(progress.open);
        EXPECT_EQ(services.ViewBusyFlag, 0);
        EXPECT_EQ(ConnectedFlag.load(), 1);
        drive.RefuseAddress(c.refused, false);
    }

    // A link lost in the middle ends the transfer the same way, and nothing more is sent.
    messages.Clear();
    drive.AddFault({.kind = SimFaultKind::Garbage, .address = 0x0503});
    drive.ClearLog();
    EXPECT_EQ(services.ReadDioContactParameters(), 0);
    EXPECT_EQ(OnlyMessage().text, "Error:\n\nRead Digital Input/Output Contact planning parameters: Hn603");
    EXPECT_EQ(Requests().size(), 3u);
    EXPECT_EQ(services.ViewBusyFlag, 0);
}

TEST_F(Services, ContactGroupIntoAndOutOfTheDocument) {
    for (int n = 1; n <= 24; ++n) {
        drive.SetRegister(static_cast<uint16_t>(0x0500 + n), static_cast<uint16_t>(0x100 + n));
        drive.SetRegister(static_cast<uint16_t>(0x1A00 + n), static_cast<uint16_t>(0x8000 + n));
    }
    ASSERT_EQ(services.ReadDioContactParameters(), 1);
    EXPECT_EQ(doc.Value(DocHn, 1), 0x101);
    EXPECT_EQ(doc.Value(DocHn, 24), 0x118);
    EXPECT_EQ(Requests().front(), Maker("R10501"));
    EXPECT_EQ(progress.range, 24);
    EXPECT_EQ(progress.texts.front(), "Read Digital Input/Output Contact planning parameters: Hn601");
    // The contact block describes the drive: it fills the second Hn array and leaves the user's
    // values and the modified state alone.
    doc.SetModifiedFlag(false);
    ASSERT_EQ(services.ReadDioContactBlock(), 1);
    EXPECT_EQ(doc.m_HnSecond[23], 0x8018); // Hn is unsigned
    EXPECT_EQ(doc.m_HnSecond[0], 0x8001);
    EXPECT_EQ(doc.Value(DocHn, 24), 0x118);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(Requests()[24], Maker("R11A01"));
    EXPECT_TRUE(messages.Shown().empty());
    // A block that breaks off keeps the whole earlier one.
    drive.SetRegister(0x1A01, 0x0002);
    drive.RefuseAddress(0x1A05);
    EXPECT_EQ(services.ReadDioContactBlock(), 0);
    EXPECT_EQ(doc.m_HnSecond[0], 0x8001);
    drive.RefuseAddress(0x1A05, false);
    messages.Clear();

    // Written over Modbus when the link runs in that mode; the restart notice follows.
    drive.ClearLog();
    drive.SetStationNumber(1);
    ModbusMode = 1;
    ModbusAsciiFlag = 1;
    doc.Value(DocHn, 3) = 0x0123;
    ASSERT_EQ(services.WriteDioContactParameters(), 1);
    EXPECT_EQ(drive.GetRegister(0x0503), 0x0123);
    const auto log = drive.Log();
    ASSERT_EQ(log.size(), 24u);
    char hn603[17];
    CInternalCode::BuildModbusWrite(hn603, 1, 0x0503, 0x0123, 1);
    EXPECT_EQ(log[2].request, std::string(hn603, 17));
    EXPECT_EQ(log[2].kind, SimRequestKind::ModbusWrite);
    EXPECT_EQ(progress.range, 72);
    EXPECT_EQ(OnlyMessage().text,
              "Write successfully!!\n\nPlease restart the Servo drive! ! \n(After turning "
              "off the power, re-enter the power.)");
}

TEST_F(Services, PathPlanningItemsInTheirOrder) {
    drive.SetRegister(0x0316, 0x0021);   // Pn316
    drive.SetRegister(0x0313, 7);        // Pn313
    drive.SetRegister32(0x0702, 100000); // Pn402, 32-bit
    ASSERT_EQ(services.ReadPathPlanningParameters(), 1);
    const auto log = Requests();
    ASSERT_EQ(log.size(), 98u);
    EXPECT_EQ(
        std::vector<std::string>(log.begin(), log.begin() + 4),
        (std::vector<std::string>{Maker("R10316"), Maker("R10313"), Maker("R10701"), Maker("R207030702")}));
    EXPECT_EQ(doc.Value(DocPn3, 16), 0x21);
    EXPECT_EQ(doc.Value(DocPn3, 13), 7);
    EXPECT_EQ(doc.Value(DocPn4, 2), 100000);
    EXPECT_EQ(progress.texts[2], "Read Internal Position Command path planning parameters: Pn401");
    EXPECT_EQ(progress.range, 98);

    drive.ClearLog();
    doc.Value(DocPn4, 96) = 1234;
    ASSERT_EQ(services.WritePathPlanningParameters(), 1);
    EXPECT_EQ(drive.GetRegister(0x0700 + 96 + 32), 1234); // Pn496 after the 32 double words below it
    EXPECT_EQ(progress.range, 294);
    EXPECT_TRUE(messages.Shown().empty());

    // Over Modbus every item goes to 0x0300 + its number.
    drive.ClearLog();
    drive.SetStationNumber(1);
    ModbusMode = 1;
    doc.Value(DocPn3, 16) = 0;
    ASSERT_EQ(services.ReadPathPlanningParameters(), 1);
    EXPECT_EQ(doc.Value(DocPn3, 16), 0x21);
    const auto modbus = drive.Log();
    ASSERT_EQ(modbus.size(), 98u);
    char first[8];
    CInternalCode::BuildModbusRead(first, 1, 0x0300 + 16, 1, 0);
    EXPECT_EQ(modbus[0].request, std::string(first, 8));
    CInternalCode::BuildModbusRead(first, 1, 0x0301, 1, 0); // Pn401
    EXPECT_EQ(modbus[2].request, std::string(first, 8));
}

TEST_F(Services, FilterSetSucceedsOnlyWhenEverySetWasWritten) {
    struct Case {
        const char* what;
        std::vector<const char*> refused; // the first parameter of each refused set
        std::vector<int> left;
        const char* box;
    } cases[] = {
        {"all written", {}, {}, "Write successfully!!\n\n"},
        {"middle set refused",
         {"Cn069"},
         {3},
         "Error:\n\nFilter parameters not written: Cn069, Cn070, Cn071"},
        {"first and fifth refused",
         {"Cn013", "Cn075"},
         {1, 5},
         "Error:\n\nFilter parameters not written: Cn013, Cn014, Cn065; Cn075, Cn076, Cn077"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        drive.ClearLog();
        messages.Clear();
        std::vector<uint16_t> refused;
        for (const char* code : c.refused)
            refused.push_back(*ParamCodeRegisterAddress(code));
        for (uint16_t a : refused)
            drive.RefuseAddress(a);
        const FilterWriteResult result = services.WriteFilterParameters();
        EXPECT_EQ(result.setsNotWritten, c.left);
        EXPECT_EQ(result.Written(), c.left.empty());
        const MessageRequest box = OnlyMessage();
        EXPECT_EQ(box.text, c.box);
        EXPECT_EQ(box.caption, c.left.empty() ? "Write Message" : "Communication Message");
        // A refused set stops at its first parameter; the other sets go out whole.
        EXPECT_EQ(Requests().size(), 15u - 2 * c.refused.size());
        for (uint16_t a : refused)
            drive.RefuseAddress(a, false);
    }
}

TEST_F(Services, StepDialogRoutineRunsBusy) {
    int seen = -1;
    services.EnableStepDialogButtons([&] { seen = services.ViewBusyFlag; });
    EXPECT_EQ(seen, 1);
    EXPECT_EQ(services.ViewBusyFlag, 0);
}

} // namespace

TEST_F(Services, KeptStopsGoOutOldestFirstAndARefusedOneIsNotKeptAgain) {
    const auto write = [](int address) {
        return [address](CRegisterServices& s) { return s.WriteDriveRegister(address, 0) != 0; };
    };
    ConnectedFlag = 0;
    EXPECT_EQ(services.Stops.Send("jog", write(0x0201)), StopResult::NoLink);
    EXPECT_EQ(services.Stops.Send("homing", write(0x170E)), StopResult::NoLink);
    EXPECT_EQ(services.Stops.Send("jog", write(0x0201)), StopResult::NoLink) << "replaces the first";
    EXPECT_EQ(services.Stops.KeptMotions(), (std::vector<std::string>{"homing", "jog"}));
    EXPECT_EQ(messages.Shown().size(), 3u);
    EXPECT_TRUE(Requests().empty());

    ConnectedFlag = 1;
    drive.RefuseAddress(0x170E);
    const CStopKeeper::Delivery delivery = services.Stops.SendKept();
    EXPECT_EQ(Requests(), (std::vector<std::string>{Maker("W1170E0000"), Maker("W102010000")}));
    EXPECT_EQ(delivery.taken, std::vector<std::string>{"jog"});
    EXPECT_EQ(delivery.notTaken, std::vector<std::string>{"homing"});
    EXPECT_FALSE(services.Stops.HasKept()) << "a refusal is an answer: sending it again changes nothing";
    EXPECT_EQ(CStopKeeper::DeliveryText(delivery),
              "The jog stop that had not reached the drive was sent now: the drive took it.\n\n"
              "The drive did not take the homing stop that had not reached it before.\n"
              "The motor may still turn: switch the servo off or the power off.");

    // Linked: a refused stop is the window's to tell, and nothing is kept.
    messages.Clear();
    EXPECT_EQ(services.Stops.Send("homing", write(0x170E)), StopResult::Refused);
    EXPECT_TRUE(messages.Shown().empty());
    EXPECT_FALSE(services.Stops.HasKept());
}

// A run's owed stop, from its start to a dropped link: what is kept, what goes out on the line after
// the drop, and what the window's own stop then says when there is no link.
TEST_F(Services, OwedStopsAreKeptWhenTheLinkIsDroppedAndOnlyThen) {
    const auto write = [](int address) {
        return [address](CRegisterServices& s) { return s.WriteDriveRegister(address, 0) != 0; };
    };
    const std::string stopWrite = Maker("W102010000");
    struct Case {
        const char* what;
        std::function<void(CStopKeeper&)> run; // with the link up
        std::vector<std::string> keptAfterDrop;
    };
    const Case cases[] = {
        {"a running motion", [&](CStopKeeper&) {}, {"jog"}},
        {"stopped by the window", [&](CStopKeeper& k) { k.Send("jog", write(0x0201)); }, {}},
        {"ended by itself", [&](CStopKeeper& k) { k.Settle("jog"); }, {}},
        {"its stop refused: the run may go on",
         [&](CStopKeeper& k) {
             drive.RefuseAddress(0x0201);
             EXPECT_EQ(k.Send("jog", write(0x0201)), StopResult::Refused);
             drive.RefuseAddress(0x0201, false);
         },
         {"jog"}},
        {"another motion's stop", [&](CStopKeeper& k) { k.Send("homing", write(0x170E)); }, {"jog"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CRegisterServices fresh;
        CStopKeeper& keeper = fresh.Stops;
        ConnectedFlag = 1;
        keeper.Owe("jog", write(0x0201));
        c.run(keeper);
        ConnectedFlag = 0;
        keeper.LinkDropped();
        EXPECT_EQ(keeper.KeptMotions(), c.keptAfterDrop);
        EXPECT_TRUE(keeper.OwedMotions().empty());
    }

    // After the drop the kept stop goes out on the line; the window's own stop that follows, with no
    // link, says nothing and keeps nothing: the lost link had its message.
    CStopKeeper& keeper = services.Stops;
    messages.Clear();
    keeper.Owe("jog", write(0x0201));
    ConnectedFlag = 0;
    keeper.LinkDropped();
    drive.ClearLog();
    ConnectedFlag = 1; // the view sends on the port it opened for the stops
    EXPECT_EQ(keeper.SendKept().taken, std::vector<std::string>{"jog"});
    ConnectedFlag = 0;
    EXPECT_EQ(Requests(), std::vector<std::string>{stopWrite});
    EXPECT_EQ(keeper.Send("jog", write(0x0201)), StopResult::NoLink);
    EXPECT_FALSE(keeper.HasKept());
    EXPECT_TRUE(messages.Shown().empty());

    // Not answered after the drop: kept, sent again, and the window's stop still says nothing.
    keeper.Owe("jog", write(0x0201));
    keeper.LinkDropped();
    drive.AddFault({.kind = SimFaultKind::Silent, .address = 0x0201, .count = 1});
    ConnectedFlag = 1;
    EXPECT_EQ(keeper.SendKept().notTaken, std::vector<std::string>{"jog"});
    ConnectedFlag = 0;
    EXPECT_EQ(keeper.Send("jog", write(0x0201)), StopResult::NoLink);
    EXPECT_EQ(keeper.KeptMotions(), std::vector<std::string>{"jog"});
    EXPECT_TRUE(messages.Shown().empty());
    ConnectedFlag = 1;
    EXPECT_EQ(keeper.SendKept().taken, std::vector<std::string>{"jog"});

    // A run started again owes its stop anew: with no link its stop is told and kept as before.
    keeper.Owe("jog", write(0x0201));
    ConnectedFlag = 0;
    EXPECT_EQ(keeper.Send("jog", write(0x0201)), StopResult::NoLink);
    EXPECT_EQ(messages.Shown().size(), 1u);
    EXPECT_EQ(keeper.KeptMotions(), std::vector<std::string>{"jog"});
    ConnectedFlag = 1;
    keeper.SendKept();

    // A quiet stop goes out as the others and is left out of what the user is told.
    keeper.Owe("trace", write(0x1505), true);
    ConnectedFlag = 0;
    keeper.LinkDropped();
    drive.ClearLog();
    ConnectedFlag = 1;
    EXPECT_TRUE(keeper.SendKept().Empty());
    EXPECT_EQ(Requests(), std::vector<std::string>{Maker("W115050000")});
    EXPECT_FALSE(keeper.HasKept());
}

// A drive that does not answer: one round of the kept stops waits for one reply, not one per stop,
// and a drive that stays silent round after round is asked less often, until a new loss.
TEST_F(Services, ASilentDriveHoldsARoundForOneReplyAndIsAskedLessOftenInTheLongRun) {
    const auto write = [](int address) {
        return [address](CRegisterServices& s) { return s.WriteDriveRegister(address, 0) != 0; };
    };
    CStopKeeper& keeper = services.Stops;
    keeper.Owe("trace", write(0x1505), true);
    keeper.Owe("jog", write(0x0201));
    ConnectedFlag = 0;
    keeper.LinkDropped();

    drive.Freeze(std::chrono::seconds(30));
    drive.ClearLog();
    ConnectedFlag = 1; // the view sends on the port it opened for the stops
    EXPECT_EQ(keeper.SendKept().notTaken, std::vector<std::string>{"jog"});
    EXPECT_EQ(Requests(), std::vector<std::string>{Maker("W115050000")})
        << "the jog stop waits for the next round";
    EXPECT_EQ(keeper.KeptMotions(), (std::vector<std::string>{"trace", "jog"}));

    drive.Thaw();
    drive.ClearLog();
    ConnectedFlag = 1;
    EXPECT_EQ(keeper.SendKept().taken, std::vector<std::string>{"jog"});
    EXPECT_EQ(Requests(), (std::vector<std::string>{Maker("W115050000"), Maker("W102010000")}));
    EXPECT_FALSE(keeper.HasKept());

    // Rounds that reach nothing (here there is no link to send on): every tick at first, then every
    // SlowRetryTicks-th; a round the drive answers, or a new loss, goes back to every tick.
    const auto dueTicks = [&](int ticks) {
        int due = 0;
        for (int tick = 0; tick < ticks; ++tick)
            if (keeper.RetryDueOnTick()) {
                ++due;
                keeper.SendKept();
            }
        return due;
    };
    constexpr int fast = CStopKeeper::SilentRoundsBeforeSlowRetry;
    constexpr int slow = CStopKeeper::SlowRetryTicks;
    keeper.Owe("jog", write(0x0201));
    ConnectedFlag = 0;
    keeper.LinkDropped();
    EXPECT_EQ(dueTicks(fast + 3 * slow), fast + 3);
    EXPECT_TRUE(keeper.HasKept());
    keeper.LinkDropped();
    EXPECT_EQ(dueTicks(slow), slow);
    EXPECT_EQ(dueTicks(fast + slow), (fast - slow) + 2) << "the fast rounds left, then two slow ones";
    ConnectedFlag = 1;
    drive.ClearLog();
    while (!keeper.RetryDueOnTick()) {
    }
    EXPECT_EQ(keeper.SendKept().taken, std::vector<std::string>{"jog"});
    EXPECT_TRUE(keeper.RetryDueOnTick());
}

TEST_F(Services, ARequestRightAfterTheFixedFrameIsNotTakenForPartOfIt) {
    ServoOnFlag = 0;
    drive.SetRegister(0x0F03, 0x1234);
    EXPECT_EQ(services.SendFixedCommandFrame(), 1);
    EXPECT_EQ(services.ReadDriveRegister(0x0F03), 0x1234);
    const std::string frame = "\x50\x05\x07\x09\x03\x07\x87\x83\x89\x87\x85";
    EXPECT_EQ(Requests(), (std::vector<std::string>{frame, Maker("R10F03")}));
    EXPECT_EQ(ConnectedFlag.load(), 1);
}
