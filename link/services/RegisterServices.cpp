#include "link/services/RegisterServices.h"

#include "catalogue/KeloServoDoc.h"
#include "catalogue/ParamAttributes.h"
#include "catalogue/ParamCode.h"
#include "catalogue/RegisterMap.h"
#include "framework/core/Format.h"
#include "framework/core/MessageSeam.h"
#include "link/LinkState.h"
#include "link/SerialExt.h"
#include "link/services/TransferPass.h"

#include <array>
#include <chrono>
#include <optional>
#include <thread>

std::atomic<int> ServoOnFlag{0};
std::atomic<int> AcquisitionThreadCount{0};

namespace {

constexpr const char* kErrorWord = "Error";
constexpr const char* kCommunicationCaption = "Communication Message";
constexpr const char* kCommunicateError = "Communicate Error!";
constexpr const char* kWriteCaption = "Write Message";
constexpr const char* kWriteSuccess = "Write successfully!!";
constexpr const char* kRestartNotice =
    "Please restart the Servo drive! ! \n(After turning off the power, re-enter the power.)";
constexpr const char* kFilterNotWritten = "Filter parameters not written: ";
constexpr const char* kServoOnRefusal = "System Servo ON!\nPlease Servo Off again!";
constexpr const char* kDioReadStep = "Read Digital Input/Output Contact planning parameters: ";
constexpr const char* kDioWriteStep = "Write Digital Input/Output Contact planning parameters: ";
constexpr const char* kPathReadStep = "Read Internal Position Command path planning parameters: ";
constexpr const char* kPathWriteStep = "Write Internal Position Command path planning parameters: ";

constexpr int kMemoryImageReadRegister = 0x1716;
constexpr int kAnalysisStateRegister = 0x1602;
constexpr int kDioBlockBase = 0x1A00;
constexpr int kPathPlanningModbusBase = 0x0300;
constexpr int kHnModbusBase = 0x0500;

// The drive's fixed command frame (sent with the servo off, e.g. after a factory reset).
constexpr unsigned char kFixedFrame[11] = {0x50, 0x05, 0x07, 0x09, 0x03, 0x07, 0x87, 0x83, 0x89, 0x87, 0x85};
constexpr unsigned kFixedFrameTimeoutMs = 500;
constexpr unsigned kFixedFramePauseGaps = 3;

// A parameter as the register map knows it.
struct ParamRef {
    char letter = 0;
    int number = 0;
    int index = 0;
};

ParamRef RefOf(std::string_view code) {
    return {ParamGroupLetter(code), ParamNumber(code), ParamIndexFromCode(code)};
}

// The register of a parameter; nothing for a code that is too short or names no group (its number
// alone must not pick some other parameter's register) and for a parameter without a register.
std::optional<uint16_t> RegisterOf(const ParamRef& p) {
    if (p.index <= 0)
        return std::nullopt;
    return ParameterRegisterAddress(p.letter, p.number, p.index);
}

void ShowWriteSuccess(bool restart) {
    std::string text = kWriteSuccess;
    if (restart)
        text += std::string("\n\n") + kRestartNotice;
    ShowMessage(text, kWriteCaption, MB_OK | MB_ICONWARNING);
}

std::optional<uint16_t> HnRegister(int number) {
    return ParameterRegisterAddress('H', number, GroupHn * 100 + number);
}

std::string HnCode(int number) {
    return Format("Hn6%02d", number);
}

std::string PathPlanningCode(int item) {
    return Format(item < 2 ? "Pn3%02d" : "Pn4%02d", CRegisterServices::PathPlanningNumber(item));
}

} // namespace

bool IsSignedRegister(int address) {
    switch (address) {
    case 0x0201:
    case 0x0601:
    case 0x0905:
    case 0x0906:
    case 0x0C1C:
        return true;
    default:
        return false;
    }
}

CRegisterServices::CRegisterServices() = default;
CRegisterServices::~CRegisterServices() = default;

std::string CRegisterServices::FailureText(const std::string& step) {
    return std::string(kErrorWord) + ":\n\n" + step;
}

void CRegisterServices::ShowFailureBox(const std::string& detail) {
    ShowMessage(FailureText(detail), kCommunicationCaption, MB_OK | MB_ICONSTOP);
}

int CRegisterServices::PathPlanningNumber(int item) {
    return MapPositionIndex(item);
}

// --- Exchanges ----------------------------------------------------------------------------------

bool CRegisterServices::ReadWords(const char* request, int requestLength, int words, int* values) {
    char reply[64] = {};
    const int expected = 3 + 4 * words;
    if (SendCommand(request, requestLength, reply, expected) != ReplyRead)
        return false;
    for (int i = 0; i < words; ++i) {
        int word = HexWordValue(std::string_view(reply + 1 + 4 * i, 4));
        if (word < 0)
            return false;
        values[i] = word;
    }
    return true;
}

bool CRegisterServices::SendWrite(const char* request, int requestLength) {
    char reply[8] = {};
    return SendCommand(request, requestLength, reply, 1) == ReplyWritten;
}

bool CRegisterServices::ModbusReadRegister(int address, int asciiFlag, int& word) {
    uint16_t value = 0;
    if (ReadHoldingRegisters(StationNumber, address, 1, asciiFlag, &value) != ModbusGood)
        return false;
    word = value;
    return true;
}

bool CRegisterServices::ModbusWriteRegister(int address, int value) {
    return WriteSingleRegister(StationNumber, address, value, ModbusAsciiFlag) == ModbusGood;
}

// --- Single registers and parameters ------------------------------------------------------------

std::optional<int> CRegisterServices::ReadRegisterWord(int address) {
    if (!ConnectedFlag)
        return std::nullopt;
    char request[8];
    BuildReadWord(request, static_cast<uint16_t>(address));
    int word = 0;
    if (!ReadWords(request, 8, 1, &word))
        return std::nullopt;
    return word;
}

std::optional<int> CRegisterServices::ReadDriveRegister(int address) {
    const std::optional<int> word = ReadRegisterWord(address);
    if (!word)
        return std::nullopt;
    return IsSignedRegister(address) ? static_cast<int16_t>(*word) : *word;
}

std::optional<int> CRegisterServices::ReadDriveRegister16(int address) {
    const std::optional<int> word = ReadRegisterWord(address);
    if (!word)
        return std::nullopt;
    return static_cast<int16_t>(*word);
}

std::optional<int> CRegisterServices::ReadDriveRegister32(int address) {
    if (!ConnectedFlag)
        return std::nullopt;
    // The high word's address goes first; the reply carries the words in that order.
    const uint16_t addresses[2] = {static_cast<uint16_t>(address + 1), static_cast<uint16_t>(address)};
    char request[12];
    BuildReadWords(request, 2, addresses);
    int words[2] = {};
    if (!ReadWords(request, 12, 2, words))
        return std::nullopt;
    return static_cast<int32_t>((static_cast<uint32_t>(words[0]) << 16) | static_cast<uint32_t>(words[1]));
}

std::optional<int> CRegisterServices::ReadDriveParameter(std::string_view code) {
    if (!ConnectedFlag)
        return std::nullopt;
    const ParamRef p = RefOf(code);
    const std::optional<uint16_t> address = RegisterOf(p);
    if (!address)
        return std::nullopt; // no register: nothing to ask the drive
    if (IsDoubleWordParameter(p.letter, p.number, p.index))
        return ReadDriveRegister32(*address);
    const std::optional<int> word = ReadDriveRegister16(*address);
    if (!word)
        return std::nullopt;
    return ConvertRawParameterValue(p.letter, p.number, static_cast<int16_t>(*word), p.index);
}

std::optional<int> CRegisterServices::ReadParameterByGroup(char group, int number) {
    if (!ConnectedFlag)
        return std::nullopt;
    char request[8];
    BuildReadParam(request, group, number);
    int word = 0;
    if (!ReadWords(request, 8, 1, &word))
        return std::nullopt;
    const int n = number & 0xFF;
    const bool isSigned = (group == '5' && n == 0x36) || (group == '6' && n == 0xE4);
    return isSigned ? static_cast<int16_t>(word) : word;
}

std::optional<int> CRegisterServices::ReadParameterModbus(char letter, int number, int asciiFlag) {
    if (!ConnectedFlag)
        return std::nullopt;
    const std::optional<uint16_t> address = GroupBlockBase(letter, number);
    if (!address)
        return std::nullopt; // a group without a Modbus block is never sent to some other address
    // Its one register holds the low word only: that is not the parameter's value.
    if (IsDoubleWordParameter(letter, number, 0))
        return std::nullopt;
    int word = 0;
    if (!ModbusReadRegister(*address, asciiFlag, word))
        return std::nullopt;
    return ConvertRawParameterValue(letter, number, static_cast<int16_t>(word), 0);
}

int CRegisterServices::PollAnalysisState() {
    const std::optional<int> state = ReadDriveRegister(kAnalysisStateRegister);
    if (!state)
        return 0;
    return *state == 2 ? 2 : 1;
}

int CRegisterServices::WriteDriveRegister(int address, int value, int /*flag*/) {
    if (!ConnectedFlag)
        return 0;
    char request[12];
    BuildWriteWord(request, static_cast<uint16_t>(address), value);
    return SendWrite(request, 12) ? 1 : 0;
}

int CRegisterServices::WriteDriveRegister32(int address, int value) {
    if (!ConnectedFlag)
        return 0;
    char request[20];
    BuildWriteDWord(request, static_cast<uint16_t>(address), value);
    return SendWrite(request, 20) ? 1 : 0;
}

int CRegisterServices::WriteDriveParameter(std::string_view code, int value, int flag) {
    if (!ConnectedFlag)
        return 0;
    const ParamRef p = RefOf(code);
    const std::optional<uint16_t> address = RegisterOf(p);
    if (!address)
        return 0;
    if (IsDoubleWordParameter(p.letter, p.number, p.index))
        return WriteDriveRegister32(*address, value);
    return WriteDriveRegister(*address, value, flag);
}

int CRegisterServices::WriteParameterByGroup(char group, int number, int value, int hold) {
    if (!ConnectedFlag || hold != 0 || group == 0)
        return 0;
    char request[12];
    BuildWriteParam(request, group, number, value);
    return SendWrite(request, 12) ? 1 : 0;
}

int CRegisterServices::SendFixedCommandFrame() {
    if (!ConnectedFlag)
        return 0;
    if (ServoOnFlag) {
        ShowMessage(kServoOnRefusal, kCommunicationCaption, MB_OK | MB_ICONSTOP);
        return 0;
    }
    // The drive sends no answer to this frame, so it goes out as a plain write; the port's mutex
    // keeps it from cutting into an exchange of a sampling thread.
    if (PortObject.PortMutex.Lock(kFixedFrameTimeoutMs)) {
        Write(kFixedFrame, static_cast<int>(sizeof kFixedFrame), nullptr, nullptr, kFixedFrameTimeoutMs);
        // Only a pause on the line ends a frame without an answer: a request that followed at once
        // would be taken as part of it and go unanswered. The line stays ours, silent, for a few
        // gaps (one gap is too close to the drive's own limit on a loaded machine).
        std::this_thread::sleep_for(std::chrono::milliseconds(kFixedFramePauseGaps * PortObject.GapMs()));
        PortObject.PortMutex.Unlock();
    }
    return 1;
}

// --- Long transfers -----------------------------------------------------------------------------

bool CRegisterServices::Cancelled() const {
    return CancelRequest != 0 || (Progress && Progress->CancelRequested());
}

void CRegisterServices::Pump() {
    if (PeekAndPump)
        PeekAndPump();
}

int CRegisterServices::RunTransfer(int resourceId, int count, int steps, bool cancelable,
                                   const std::function<std::string(int)>& stepText,
                                   const std::function<bool(int)>& item) {
    CTransferPass pass(*this, {OwnerLife, Progress});
    if (pass.Refused())
        return 0;
    pass.OpenProgress(resourceId, count * steps, std::string(), cancelable);
    for (int i = 0; i < count; ++i) {
        const std::string text = stepText(i);
        pass.SetText(text);
        if (pass.Cancelled())
            return 0;
        if (!item(i)) {
            // The flag stays up while the user reads the box, so the supervision keeps off the line
            // until the transfer has really ended.
            if (!pass.Cancelled())
                pass.Fail(text);
            return 0;
        }
        pass.Step(steps);
        if (!pass.Pump())
            return 0;
    }
    return 1;
}

int CRegisterServices::ReadMemoryImage() {
    if (!ConnectedFlag || !Document)
        return 0;
    int* image = Document->m_MemoryImage[0];
    return RunTransfer(
        RWProgressDialogResource, MemoryImageWords, 3, true,
        [](int word) { return Format("Reading date from Servo...: %04XH", word); },
        [&](int word) {
            char request[20];
            BuildMemoryImageSelect(request, word);
            // A word is read only once the drive has selected it.
            if (!SendWrite(request, 20) || Cancelled())
                return false;
            const std::optional<int> value = ReadRegisterWord(kMemoryImageReadRegister);
            if (!value)
                return false;
            image[word] = *value;
            return true;
        });
}

int CRegisterServices::WriteMemoryImage() {
    if (!ConnectedFlag || !Document)
        return 0;
    const int* image = Document->m_MemoryImage[0];
    if (!RunTransfer(
            RWProgressDialogResource, MemoryImageWords, 3, true,
            [](int word) { return Format("Writing data to Servo...: %04XH", word); },
            [&](int word) {
                if (!ConnectedFlag)
                    return false;
                char request[20];
                BuildMemoryImageWrite(request, word, image[word]);
                return SendWrite(request, 20);
            }))
        return 0;
    ShowWriteSuccess(true);
    return 1;
}

int CRegisterServices::ReadDioContacts(bool fromBlock) {
    if (!ConnectedFlag || !Document)
        return 0;
    std::array<int, DioContactCount> block{};
    const int read = RunTransfer(
        ProgressDialogResource, DioContactCount, 1, false, [](int i) { return kDioReadStep + HnCode(i + 1); },
        [&](int i) {
            const int n = i + 1;
            const std::optional<uint16_t> address =
                fromBlock ? std::optional<uint16_t>(kDioBlockBase + n) : HnRegister(n);
            const std::optional<int> word = address ? ReadDriveRegister16(*address) : std::nullopt;
            if (!word)
                return false;
            const int value =
                ConvertRawParameterValue('H', n, static_cast<int16_t>(*word), GroupHn * 100 + n);
            if (fromBlock)
                block[static_cast<size_t>(i)] = value;
            else
                Document->Value(DocHn, n) = value;
            return true;
        });
    // The block describes the drive, not the user's parameters: it goes to the document's second Hn
    // array, and only whole.
    if (read && fromBlock)
        Document->SetDioContactFunctions(block);
    return read;
}

int CRegisterServices::ReadDioContactParameters() {
    return ReadDioContacts(false);
}

int CRegisterServices::ReadDioContactBlock() {
    return ReadDioContacts(true);
}

int CRegisterServices::WriteDioContactParameters() {
    if (!ConnectedFlag || !Document)
        return 0;
    if (!RunTransfer(
            ProgressDialogResource, DioContactCount, 3, false,
            [](int i) { return kDioWriteStep + HnCode(i + 1); },
            [&](int i) {
                const int n = i + 1;
                const int value = Document->Value(DocHn, n);
                if (!ConnectedFlag)
                    return false;
                if (ModbusMode)
                    return ModbusWriteRegister(kHnModbusBase + n, value);
                const std::optional<uint16_t> address = HnRegister(n);
                return address && WriteDriveRegister(*address, value) == 1;
            }))
        return 0;
    ShowWriteSuccess(true);
    return 1;
}

int CRegisterServices::ReadPathPlanningParameters() {
    if (!ConnectedFlag || !Document)
        return 0;
    return RunTransfer(
        ProgressDialogResource, PathPlanningItemCount, 1, false,
        [](int i) { return kPathReadStep + PathPlanningCode(i); },
        [&](int i) {
            const int number = PathPlanningNumber(i);
            const std::string code = PathPlanningCode(i);
            std::optional<int> value;
            if (ModbusMode) {
                int word = 0;
                if (!ConnectedFlag ||
                    !ModbusReadRegister(kPathPlanningModbusBase + number, ModbusAsciiFlag, word))
                    return false;
                value = ConvertRawParameterValue('P', number, static_cast<int16_t>(word),
                                                 ParamIndexFromCode(code));
            } else {
                value = ReadDriveParameter(code);
            }
            if (!value)
                return false;
            Document->Value(i < 2 ? DocPn3 : DocPn4, number) = *value;
            return true;
        });
}

int CRegisterServices::WritePathPlanningParameters() {
    if (!ConnectedFlag || !Document)
        return 0;
    return RunTransfer(
        ProgressDialogResource, PathPlanningItemCount, 3, false,
        [](int i) { return kPathWriteStep + PathPlanningCode(i); },
        [&](int i) {
            const int number = PathPlanningNumber(i);
            const int value = Document->Value(i < 2 ? DocPn3 : DocPn4, number);
            if (!ConnectedFlag)
                return false;
            if (ModbusMode)
                return ModbusWriteRegister(kPathPlanningModbusBase + number, value);
            return WriteDriveParameter(PathPlanningCode(i), value) == 1;
        });
}

// --- Other services -----------------------------------------------------------------------------

FilterWriteResult CRegisterServices::WriteFilterParameters() {
    static const char* const kSets[5][3] = {{"Cn013", "Cn014", "Cn065"},
                                            {"Cn066", "Cn067", "Cn068"},
                                            {"Cn069", "Cn070", "Cn071"},
                                            {"Cn072", "Cn073", "Cn074"},
                                            {"Cn075", "Cn076", "Cn077"}};
    FilterWriteResult result;
    if (!ConnectedFlag || !Document) {
        result.setsNotWritten = {1, 2, 3, 4, 5};
        return result;
    }
    std::string notWritten;
    for (int set = 0; set < 5; ++set) {
        for (const char* code : kSets[set]) {
            const int* value = Document->FindValue(code);
            if (!value || !WriteDriveParameter(code, *value)) {
                result.setsNotWritten.push_back(set + 1);
                break;
            }
        }
    }
    // A filter half written shapes the drive's response in a way nobody chose: the user must know.
    if (result.Written()) {
        ShowMessage(std::string(kWriteSuccess) + "\n\n", kWriteCaption, MB_OK);
    } else {
        std::string detail = kFilterNotWritten;
        for (size_t i = 0; i < result.setsNotWritten.size(); ++i) {
            const auto& set = kSets[result.setsNotWritten[i] - 1];
            detail += Format("%s%s, %s, %s", i ? "; " : "", set[0], set[1], set[2]);
        }
        ShowFailureBox(detail);
    }
    return result;
}

void CRegisterServices::EnableStepDialogButtons(const std::function<void()>& routine) {
    CBusyHold busy(*this);
    if (routine)
        routine();
}
