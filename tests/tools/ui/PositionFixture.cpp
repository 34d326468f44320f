#include "PositionFixture.h"

#include "catalogue/ParamCode.h"
#include "catalogue/RegisterMap.h"
#include "framework/core/Format.h"
#include "framework/ui/Dialog.h"
#include "sim/SimProtocol.h"
#include "tests/support/DriveParameters.h"
#include "tools/MultiPositionRun.h"

#include <algorithm>

void PositionFixture::SetUp() {
    OpenWorld("positionwin", 4, "ttyPOS");
    if (HasFatalFailure())
        return;
    machine = std::make_unique<CSimMachine>(*drive);
    position = std::make_unique<CSimPosition>(*drive, *machine);
    view.document = doc.get();
    view.services.Document = doc.get();
    MultiPositionRunFlag = 0;
    MultiPositionIoRunFlag = 0;
    for (const char* code : {"Pn401", "Pn402", "Pn403"})
        Limits(code, code[4] == '3' ? 0 : -30000000, 30000000);
}

void PositionFixture::TearDown() {
    CDialog::SetModalHookForTest(nullptr);
    MultiPositionRunFlag = 0;
    MultiPositionIoRunFlag = 0;
    CloseWorld();
}

void PositionFixture::SetDrive(const std::string& code, int value) {
    ASSERT_TRUE(SetDriveParameter(*drive, code, value)) << code;
}

int PositionFixture::Drive(const std::string& code) const {
    const uint16_t address = ParamCodeRegisterAddress(code).value_or(0);
    if (IsDoubleWordParameter(ParamGroupLetter(code), ParamNumber(code), ParamIndexFromCode(code)))
        return static_cast<int>(drive->GetRegister32(address));
    return drive->GetRegister(address);
}

void PositionFixture::Limits(const std::string& code, int minimum, int maximum) {
    *doc->FindMinimum(code) = minimum;
    *doc->FindMaximum(code) = maximum;
}

std::string PositionFixture::Write(const std::string& code, int value) {
    const uint16_t address = ParamCodeRegisterAddress(code).value_or(0);
    if (IsDoubleWordParameter(ParamGroupLetter(code), ParamNumber(code), ParamIndexFromCode(code)))
        return sim::WithMakerChecksum(Format("W2%04X%04X%04X%04X", address, value & 0xFFFF, address + 1,
                                             (static_cast<unsigned>(value) >> 16) & 0xFFFF));
    return WriteRegister(address, value);
}

std::string PositionFixture::Read(const std::string& code) {
    const uint16_t address = ParamCodeRegisterAddress(code).value_or(0);
    if (IsDoubleWordParameter(ParamGroupLetter(code), ParamNumber(code), ParamIndexFromCode(code)))
        return sim::WithMakerChecksum(Format("R2%04X%04X", address + 1, address));
    return ReadRegister(address);
}

std::string PositionFixture::WriteRegister(int address, int value) {
    return sim::WithMakerChecksum(Format("W1%04X%04X", address, value & 0xFFFF));
}

std::string PositionFixture::ReadRegister(int address) {
    return sim::WithMakerChecksum(Format("R1%04X", address));
}

std::vector<std::string> PositionFixture::MessageTexts() const {
    std::vector<std::string> texts;
    for (const MessageRequest& m : messages->Shown())
        texts.push_back(m.text);
    return texts;
}

void PositionFixture::RunMachine(int64_t us) {
    for (int64_t t = 0; t < us; t += 10000) {
        machine->Advance(10000);
        position->Evaluate();
    }
}

bool PositionFixture::Sent(const std::string& request) const {
    const std::vector<std::string> log = Requests();
    return std::find(log.begin(), log.end(), request) != log.end();
}
