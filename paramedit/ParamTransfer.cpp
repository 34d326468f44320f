#include "paramedit/ParamTransfer.h"

#include "catalogue/ParamCode.h"
#include "catalogue/RegisterMap.h"
#include "link/LinkState.h"
#include "link/services/RegisterServices.h"
#include "link/services/TransferPass.h"
#include "paramedit/ParamPassRules.h"

#include <cstdint>
#include <utility>

namespace {
constexpr int kBufferSize = 80;
constexpr int kMakerReadLength = 8;
constexpr int kMakerReadReply = 7;
constexpr int kMakerWriteLength = 12;
constexpr int kMakerWriteDWordLength = 20;

struct Ref {
    char letter;
    int number;
    int index;
};
Ref RefOf(std::string_view code) {
    return {ParamGroupLetter(code), ParamNumber(code), ParamIndexFromCode(code)};
}
bool IsCn008(const Ref& p) {
    return p.letter == 'C' && p.number == 8 && p.index == 8;
}
bool IsCn002(const Ref& p) {
    return p.letter == 'C' && p.number == 2 && p.index == 2;
}
} // namespace

bool ParamTransfer::HasAddress(std::string_view code) {
    if (ModbusMode)
        return ModbusParameterAddress(code).has_value();
    const Ref p = RefOf(code);
    return p.index > 0 && ParameterRegisterAddress(p.letter, p.number, p.index).has_value();
}

bool ParamTransfer::BeforeRequest() {
    // The window handles its messages between any two requests, also within one parameter.
    if (std::exchange(requestSent_, true))
        return pass_.Pump();
    return true;
}

std::optional<int> ParamTransfer::ReadWordMaker(int address) {
    if (!ConnectedFlag || !BeforeRequest())
        return std::nullopt;
    char request[kBufferSize] = {};
    char reply[kBufferSize] = {};
    CInternalCode::BuildReadWord(request, static_cast<std::uint16_t>(address));
    if (services_.SendCommand(request, kMakerReadLength, reply, kMakerReadReply) != ReplyRead) {
        refused_ = reply[0] == '!';
        return std::nullopt;
    }
    const int word = HexWordValue(std::string_view(reply + 1, 4));
    if (word < 0)
        return std::nullopt;
    return word;
}

std::optional<int> ParamTransfer::ReadWordModbus(int address) {
    if (!ConnectedFlag || !BeforeRequest())
        return std::nullopt;
    std::uint16_t word = 0;
    const int result = services_.ReadHoldingRegisters(StationNumber, address, 1, ModbusAsciiFlag, &word);
    if (result != ModbusGood) {
        refused_ = result == ModbusException;
        return std::nullopt;
    }
    return word;
}

bool ParamTransfer::WriteModbus(int address, int value) {
    if (!ConnectedFlag || !BeforeRequest())
        return false;
    return services_.WriteSingleRegister(StationNumber, address, value, ModbusAsciiFlag) == ModbusGood;
}

std::optional<int> ParamTransfer::Read(std::string_view code, bool readAll) {
    refused_ = false;
    requestSent_ = false;
    const Ref p = RefOf(code);
    if (!ConnectedFlag || p.index <= 0)
        return std::nullopt;
    std::optional<int> value;
    if (ModbusMode) {
        const auto address = ModbusParameterAddress(code);
        if (!address)
            return std::nullopt;
        const auto word = ReadWordModbus(*address);
        if (!word)
            return std::nullopt;
        value = ConvertRawParameterValue(p.letter, p.number, static_cast<std::int16_t>(*word), p.index);
    } else {
        const auto address = ParameterRegisterAddress(p.letter, p.number, p.index);
        if (!address)
            return std::nullopt;
        if (IsDoubleWordParameter(p.letter, p.number, p.index)) {
            const auto low = ReadWordMaker(*address);
            if (!low)
                return std::nullopt;
            const auto high = ReadWordMaker(*address + 1);
            if (!high)
                return std::nullopt;
            value = static_cast<int>((static_cast<std::uint32_t>(*high) << 16) |
                                     static_cast<std::uint32_t>(*low));
        } else {
            const auto word = ReadWordMaker(*address);
            if (!word)
                return std::nullopt;
            value = ConvertRawParameterValue(p.letter, p.number, static_cast<std::int16_t>(*word), p.index);
            // These three are converted by the register services' own rules.
            if (readAll && (p.index == 1304 || p.index == 1305 || p.index == 1836)) {
                if (!BeforeRequest())
                    return std::nullopt;
                value = services_.ReadDriveParameter(code);
                if (!value)
                    return std::nullopt;
            }
        }
    }
    if (IsCn008(p))
        value = Cn008FromDrive(*value);
    return value;
}

ParamTransfer::WriteResult ParamTransfer::Write(std::string_view code, int value) {
    requestSent_ = false;
    const Ref p = RefOf(code);
    WriteResult result;
    if (!ConnectedFlag)
        return result;
    std::optional<std::uint16_t> address;
    if (ModbusMode)
        address = ModbusParameterAddress(code);
    else if (p.index > 0)
        address = ParameterRegisterAddress(p.letter, p.number, p.index);
    if (!address) {
        result.status = WriteStatus::NoAddress;
        return result;
    }
    if (IsCn008(p)) {
        if (ModbusMode) {
            const auto word = ReadWordModbus(*address);
            if (!word)
                return result;
            value = Cn008ModbusValue(ConvertRawParameterValue('C', 8, static_cast<std::int16_t>(*word), 0),
                                     value);
        } else {
            const std::optional<int> present =
                BeforeRequest() ? services_.ReadDriveParameter("Cn008") : std::nullopt;
            if (!present)
                return result;
            value = Cn008MakerValue(*present, value);
        }
    }
    bool cn002Changed = false;
    if (IsCn002(p)) {
        if (!BeforeRequest())
            return result;
        const std::optional<int> present = ModbusMode ? services_.ReadParameterModbus('C', 2, ModbusAsciiFlag)
                                                      : services_.ReadDriveParameter("Cn002");
        if (!present)
            return result;
        cn002Changed = (value & 0xFF) != (*present & 0xFF);
    }
    bool written = false;
    if (ModbusMode) {
        written = WriteModbus(*address, value);
    } else if (ConnectedFlag && BeforeRequest()) {
        char request[kBufferSize] = {};
        char reply[kBufferSize] = {};
        int length = kMakerWriteLength;
        if (IsDoubleWordParameter(p.letter, p.number, p.index)) {
            CInternalCode::BuildWriteDWord(request, *address, value);
            length = kMakerWriteDWordLength;
        } else {
            CInternalCode::BuildWriteWord(request, *address, value);
        }
        written = services_.SendCommand(request, length, reply, 1) == ReplyWritten;
    }
    if (!written)
        return result;
    result.status = WriteStatus::Written;
    result.needsRestart =
        IsCn002(p) ? cn002Changed : ParameterBaseProperty(p.letter, p.number, ModbusMode ? 0 : p.index) != 0;
    return result;
}
