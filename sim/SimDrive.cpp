#include "sim/SimDrive.h"

#include "sim/SimFactoryDefaults.h"
#include "sim/SimProtocol.h"
#include "sim/SimRegisterMap.h"

#include "framework/core/Format.h"

#include <algorithm>
#include <cctype>
#include <deque>
#include <random>
#include <thread>

namespace {

constexpr int kImageWords = 1024;
constexpr uint16_t kImageSelectFlag = 0x1714;
constexpr uint16_t kImageSelectIndex = 0x1715;
constexpr uint16_t kImageReadWord = 0x1716;
constexpr uint16_t kImageWriteIndex = 0x1717;
constexpr uint16_t kImageWriteWord = 0x1718;

enum class Framing { Maker, ModbusRtu, ModbusAscii, None };

// A request as the drive understood it, before it is carried out.
struct Parsed {
    SimRequestKind kind = SimRequestKind::Other;
    Framing framing = Framing::None;
    bool wellFormed = false;     // maker: length, checksum and digits hold
    std::vector<uint16_t> reads; // registers read, in reply order (block reads: first record)
    std::vector<std::pair<uint16_t, uint16_t>> writes; // (register, value)
    bool badAddress = false;                           // names a parameter the drive does not have
    // Modbus
    bool addressed = false; // the request is for this drive (or broadcast) and intact
    bool broadcast = false;
    uint8_t station = 0;
    uint8_t function = 0;
    int modbusCount = 0;
};

SimRequestKind MakerKind(char command, int n) {
    if (command == 'W')
        return SimRequestKind::MakerWrite;
    return (n == 5 || n == 9) ? SimRequestKind::MakerBlockRead : SimRequestKind::MakerRead;
}

std::chrono::microseconds WireTimeAt(int baud, size_t characters) {
    if (baud <= 0)
        return std::chrono::microseconds(0);
    // Start bit, eight data bits, stop bit: ten bit times per character.
    return std::chrono::microseconds(static_cast<long long>(characters) * 10 * 1000000LL / baud);
}

// Replaces the answer by characters that begin no reply of either protocol.
std::string Garble(size_t length) {
    static const char pattern[] = "?#~^";
    std::string text(length, '?');
    for (size_t i = 0; i < length; ++i)
        text[i] = pattern[i % 4];
    return text;
}

// Changes one character of an answer as a noisy line would: a hex digit (of a word or of the
// checksum) becomes another hex digit, so the frame keeps its form and only its check can tell.
// A binary Modbus RTU frame gets one byte changed instead; an answer without digits ("%", "!")
// is left alone.
void CorruptOne(std::string& bytes, bool binary, std::mt19937& random) {
    static const char digits[] = "0123456789ABCDEF";
    if (binary) {
        char& byte = bytes[random() % bytes.size()];
        byte = static_cast<char>(byte ^ static_cast<char>(1 + random() % 255));
        return;
    }
    std::vector<size_t> places;
    // The lead characters ("%" of each record, ":" of a Modbus ASCII frame) and CR LF are no digits.
    for (size_t i = 0; i < bytes.size(); ++i)
        if (std::isxdigit(static_cast<unsigned char>(bytes[i])))
            places.push_back(i);
    if (places.empty())
        return;
    char& digit = bytes[places[random() % places.size()]];
    const int value = std::isdigit(static_cast<unsigned char>(digit)) ? digit - '0' : digit - 'A' + 10;
    digit = digits[(value + 1 + static_cast<int>(random() % 15)) % 16];
}

} // namespace

struct ActiveFault {
    SimFault fault;
    int seen = 0;
    int hits = 0;
    std::mt19937 random{fault.seed};
};

struct CSimDrive::State {
    int series = 4;
    std::vector<uint16_t> registers = std::vector<uint16_t>(65536, 0);
    std::map<uint16_t, SimRegisterRule> rules;
    std::set<uint16_t> refused;
    std::vector<uint16_t> image = std::vector<uint16_t>(kImageWords, 0);
    int station = 1;
    bool modbus = true;
    bool translate = true;
    int blockRecords = 64;
    int wireBaud = 0;
    std::function<std::optional<std::string>(const std::string&)> hook;
    std::vector<ActiveFault> faults;
    std::deque<SimLogEntry> log; // the newest logCapacity requests, oldest first
    size_t logCapacity = CSimDrive::kDefaultLogCapacity;
    size_t requestCount = 0; // every request since the last ClearLog, logged or not
    std::vector<SimMemoryModel> models;
    std::chrono::steady_clock::time_point frozenUntil{}; // answers nothing before this

    bool Frozen() const { return std::chrono::steady_clock::now() < frozenUntil; }

    void FreezeFor(std::chrono::milliseconds duration) {
        frozenUntil = std::max(frozenUntil, std::chrono::steady_clock::now() + duration);
    }

    void Log(SimLogEntry entry) {
        ++requestCount;
        if (logCapacity == 0)
            return;
        if (log.size() >= logCapacity)
            log.pop_front();
        log.push_back(std::move(entry));
    }

    // The word a block read returns: a memory model's, else the register's.
    uint16_t BlockWord(uint16_t address) const {
        for (const SimMemoryModel& model : models)
            if (model.blockWord)
                if (std::optional<uint16_t> word = model.blockWord(address))
                    return *word;
        return Read(address);
    }

    bool IsReadOnly(uint16_t address) const {
        auto it = rules.find(address);
        if (it != rules.end())
            return it->second.readOnly;
        return sim::IsStatusRegister(address);
    }

    // Whether the drive takes this value into this register.
    bool AcceptsWrite(uint16_t address, uint16_t value) const {
        if (refused.count(address) || IsReadOnly(address))
            return false;
        auto it = rules.find(address);
        if (it == rules.end())
            return true;
        const SimRegisterRule& rule = it->second;
        int v = rule.isSigned ? static_cast<int16_t>(value) : static_cast<int>(value);
        return !(rule.min && v < *rule.min) && !(rule.max && v > *rule.max);
    }

    uint16_t Read(uint16_t address) const {
        auto it = rules.find(address);
        if (it != rules.end() && it->second.onRead)
            return it->second.onRead(address);
        if (address == kImageReadWord) {
            uint16_t index = registers[kImageSelectIndex];
            return registers[kImageSelectFlag] == 1 && index < kImageWords ? image[index] : 0;
        }
        return registers[address];
    }

    void Write(uint16_t address, uint16_t value) {
        registers[address] = value;
        // An index beyond the image is taken and ignored, as the select of such an index reads 0.
        if (address == kImageWriteWord && registers[kImageWriteIndex] < kImageWords)
            image[registers[kImageWriteIndex]] = value;
        auto it = rules.find(address);
        if (it != rules.end() && it->second.onWrite)
            it->second.onWrite(address, value);
    }

    uint16_t ModbusRegister(uint16_t modbusAddress) const {
        if (!translate)
            return modbusAddress;
        return sim::ParameterRegister(modbusAddress).value_or(modbusAddress);
    }

    Parsed Parse(const std::string& request) const {
        if (request.size() >= 2 && (request[0] == 'R' || request[0] == 'W') && request[1] >= '0' &&
            request[1] <= '9')
            return ParseMaker(request);
        return request.empty() ? Parsed() : ParseModbus(request);
    }
    Parsed ParseMaker(const std::string& request) const;
    Parsed ParseModbus(const std::string& request) const;
    std::vector<uint16_t> Touched(const Parsed& parsed) const;
    std::string MakerReply(const Parsed& parsed, const std::string& request,
                           const std::vector<uint16_t>& badAddresses);
    std::string ModbusReply(const Parsed& parsed, const std::string& request, bool refuse);
    bool Matches(const SimFault& fault, const Parsed& parsed, const std::vector<uint16_t>& touched) const;
};

Parsed CSimDrive::State::ParseMaker(const std::string& request) const {
    Parsed p;
    p.framing = Framing::Maker;
    char command = request[0];
    int n = request[1] - '0';
    p.kind = MakerKind(command, n);
    size_t expected = command == 'R' ? 4 + 4 * static_cast<size_t>(n) : 4 + 8 * static_cast<size_t>(n);
    if (request.size() != expected || !sim::HasValidMakerChecksum(request))
        return p;
    // "R10g nn" / "W10g nn" with a group letter that is no hex digit: a parameter by group and number.
    if (n == 1 && request[2] == '0' && ParseHexChar(request[3]) < 0) {
        auto base = sim::LetterGroupBase(request[3]);
        int high = ParseHexChar(request[4]), low = ParseHexChar(request[5]);
        if (!base || high < 0 || low < 0)
            return p;
        auto reg = sim::ParameterRegister(static_cast<uint16_t>(*base + high * 16 + low));
        p.wellFormed = true;
        if (!reg) {
            p.badAddress = true;
            return p;
        }
        if (command == 'R') {
            p.reads.push_back(*reg);
        } else {
            int value = sim::ParseHex4(request, 6);
            if (value < 0)
                p.wellFormed = false;
            else
                p.writes.emplace_back(*reg, static_cast<uint16_t>(value));
        }
        return p;
    }
    for (int i = 0; i < n; ++i) {
        if (command == 'R') {
            int address = sim::ParseHex4(request, 2 + 4 * static_cast<size_t>(i));
            if (address < 0)
                return p;
            p.reads.push_back(static_cast<uint16_t>(address));
        } else {
            int address = sim::ParseHex4(request, 2 + 8 * static_cast<size_t>(i));
            int value = sim::ParseHex4(request, 6 + 8 * static_cast<size_t>(i));
            if (address < 0 || value < 0)
                return p;
            p.writes.emplace_back(static_cast<uint16_t>(address), static_cast<uint16_t>(value));
        }
    }
    p.wellFormed = true;
    return p;
}

Parsed CSimDrive::State::ParseModbus(const std::string& request) const {
    Parsed p;
    std::string bytes;
    if (!request.empty() && request[0] == ':') {
        p.framing = Framing::ModbusAscii;
        if (!sim::FromModbusAscii(request, bytes))
            return p;
    } else {
        p.framing = Framing::ModbusRtu;
        if (!sim::HasValidCrc16(request))
            return p;
        bytes = request.substr(0, request.size() - 2);
    }
    if (bytes.size() < 2)
        return p;
    p.station = static_cast<uint8_t>(bytes[0]);
    p.function = static_cast<uint8_t>(bytes[1]);
    if (p.function == 0x03)
        p.kind = SimRequestKind::ModbusRead;
    else if (p.function == 0x06)
        p.kind = SimRequestKind::ModbusWrite;
    p.broadcast = p.station == 0;
    p.addressed = modbus && (p.broadcast || p.station == station);
    if ((p.function == 0x03 || p.function == 0x06) && bytes.size() == 6) {
        auto word = [&bytes](size_t i) {
            return static_cast<uint16_t>(static_cast<unsigned char>(bytes[i]) << 8 |
                                         static_cast<unsigned char>(bytes[i + 1]));
        };
        p.wellFormed = true;
        if (p.function == 0x03) {
            p.modbusCount = word(4);
            if (p.modbusCount >= 1 && p.modbusCount <= 125)
                for (int i = 0; i < p.modbusCount; ++i)
                    p.reads.push_back(ModbusRegister(static_cast<uint16_t>(word(2) + i)));
        } else {
            p.writes.emplace_back(ModbusRegister(word(2)), word(4));
        }
    }
    return p;
}

std::vector<uint16_t> CSimDrive::State::Touched(const Parsed& parsed) const {
    std::vector<uint16_t> touched;
    int records = parsed.kind == SimRequestKind::MakerBlockRead ? blockRecords : 1;
    for (int r = 0; r < records; ++r)
        for (uint16_t address : parsed.reads)
            touched.push_back(static_cast<uint16_t>(address + r));
    for (const auto& write : parsed.writes)
        touched.push_back(write.first);
    return touched;
}

std::string CSimDrive::State::MakerReply(const Parsed& parsed, const std::string& request,
                                         const std::vector<uint16_t>& badAddresses) {
    if (!parsed.wellFormed || parsed.badAddress)
        return "!";
    if (request[0] == 'W') {
        for (const auto& [address, value] : parsed.writes)
            if (!AcceptsWrite(address, value))
                return "!";
        for (const auto& [address, value] : parsed.writes)
            Write(address, value);
        return "%";
    }
    for (uint16_t address : Touched(parsed))
        if (refused.count(address))
            return "!";
    if (parsed.kind != SimRequestKind::MakerBlockRead) {
        std::string reply = "%";
        for (uint16_t address : parsed.reads)
            reply += sim::Hex4(Read(address));
        return sim::WithMakerChecksum(reply);
    }
    std::string reply;
    for (int r = 0; r < blockRecords; ++r) {
        std::string record = "%";
        bool bad = false;
        for (uint16_t base : parsed.reads) {
            auto address = static_cast<uint16_t>(base + r);
            record += sim::Hex4(BlockWord(address));
            bad = bad || std::find(badAddresses.begin(), badAddresses.end(), address) != badAddresses.end();
        }
        std::string checksum = sim::MakerChecksum(record);
        if (bad)
            checksum = sim::Hex2(static_cast<unsigned>(std::stoi(checksum, nullptr, 16) + 1));
        reply += record + checksum;
    }
    return reply;
}

std::string CSimDrive::State::ModbusReply(const Parsed& parsed, const std::string& request, bool refuse) {
    if (!parsed.addressed)
        return {};
    std::string out;
    out += static_cast<char>(parsed.station);
    auto exception = [&](uint8_t code) {
        out += static_cast<char>(parsed.function | 0x80);
        out += static_cast<char>(code);
    };
    if (parsed.function != 0x03 && parsed.function != 0x06) {
        exception(0x01);
    } else if (!parsed.wellFormed) {
        exception(0x03);
    } else if (parsed.function == 0x03) {
        bool refusedAddress = refuse || std::any_of(parsed.reads.begin(), parsed.reads.end(),
                                                    [this](uint16_t a) { return refused.count(a) > 0; });
        if (parsed.reads.empty()) {
            exception(0x03);
        } else if (refusedAddress) {
            exception(0x02);
        } else {
            out += static_cast<char>(0x03);
            out += static_cast<char>(2 * parsed.reads.size());
            for (uint16_t address : parsed.reads) {
                uint16_t value = Read(address);
                out += static_cast<char>(value >> 8);
                out += static_cast<char>(value & 0xFF);
            }
        }
    } else {
        const auto& [address, value] = parsed.writes.front();
        if (refuse || refused.count(address)) {
            exception(0x02);
        } else if (!AcceptsWrite(address, value)) {
            exception(0x04);
        } else {
            Write(address, value);
            // The answer to a write echoes the request.
            return parsed.broadcast ? std::string() : request;
        }
    }
    // A broadcast is never answered, not even with an exception.
    if (parsed.broadcast)
        return {};
    return parsed.framing == Framing::ModbusAscii ? sim::ToModbusAscii(out) : sim::WithCrc16(out);
}

bool CSimDrive::State::Matches(const SimFault& fault, const Parsed& parsed,
                               const std::vector<uint16_t>& touched) const {
    if (fault.requestKind != SimRequestKind::Any && fault.requestKind != parsed.kind)
        return false;
    if (!fault.address)
        return true;
    return std::find(touched.begin(), touched.end(), *fault.address) != touched.end();
}

CSimDrive::CSimDrive(int series) : d(std::make_unique<State>()) {
    d->series = series;
    // The parameters as the drive left the factory; the identity and status words over them.
    for (const sim::FactoryWord& word : sim::FactoryParameters(series))
        d->registers[word.address] = word.value;
    for (const sim::RegisterPreset& preset : sim::DefaultRegisters(series))
        d->registers[preset.address] = preset.value;
    for (const sim::RegisterRange& range : sim::DefaultRanges())
        d->rules[range.address] = SimRegisterRule{.min = range.min, .max = range.max};
    // The contact block reports the input and output functions the drive runs with: those its Hn
    // parameters held when it started, since a changed assignment takes effect at the next power-up.
    for (int n = 1; n <= sim::ContactBlockWords; ++n) {
        const auto block = static_cast<uint16_t>(sim::ContactBlockBase + n);
        d->registers[block] = d->registers[*sim::ParameterRegister(static_cast<uint16_t>(0x0500 + n))];
        d->rules[block].readOnly = true;
    }
}

CSimDrive::~CSimDrive() = default;

int CSimDrive::Series() const {
    std::lock_guard lock(m_mutex);
    return d->series;
}

uint16_t CSimDrive::ModelCodeForSeries(int series) {
    return sim::ModelCodeForSeries(series);
}

uint16_t CSimDrive::GetRegister(uint16_t address) const {
    std::lock_guard lock(m_mutex);
    return d->Read(address);
}

int16_t CSimDrive::GetRegisterSigned(uint16_t address) const {
    return static_cast<int16_t>(GetRegister(address));
}

uint32_t CSimDrive::GetRegister32(uint16_t address) const {
    std::lock_guard lock(m_mutex);
    return static_cast<uint32_t>(d->Read(static_cast<uint16_t>(address + 1))) << 16 | d->Read(address);
}

void CSimDrive::SetRegister(uint16_t address, uint16_t value) {
    std::lock_guard lock(m_mutex);
    d->registers[address] = value;
}

void CSimDrive::SetRegisterSigned(uint16_t address, int16_t value) {
    SetRegister(address, static_cast<uint16_t>(value));
}

void CSimDrive::SetRegister32(uint16_t address, uint32_t value) {
    std::lock_guard lock(m_mutex);
    d->registers[address] = static_cast<uint16_t>(value & 0xFFFF);
    d->registers[static_cast<uint16_t>(address + 1)] = static_cast<uint16_t>(value >> 16);
}

void CSimDrive::SetRule(uint16_t address, SimRegisterRule rule) {
    std::lock_guard lock(m_mutex);
    d->rules[address] = std::move(rule);
}

void CSimDrive::ClearRule(uint16_t address) {
    std::lock_guard lock(m_mutex);
    d->rules.erase(address);
}

void CSimDrive::SetReadOnly(uint16_t address, bool readOnly) {
    std::lock_guard lock(m_mutex);
    d->rules[address].readOnly = readOnly;
}

void CSimDrive::SetRange(uint16_t address, int min, int max, bool isSigned) {
    std::lock_guard lock(m_mutex);
    SimRegisterRule& rule = d->rules[address];
    rule.min = min;
    rule.max = max;
    rule.isSigned = isSigned;
}

void CSimDrive::SetServoOn(bool on) {
    std::lock_guard lock(m_mutex);
    uint16_t& status = d->registers[0x1703];
    status = static_cast<uint16_t>(on ? (status | 1) : (status & ~1u));
}

void CSimDrive::SetAlarm(uint16_t code) {
    SetRegister(0x1711, code);
}

void CSimDrive::RefuseAddress(uint16_t address, bool refuse) {
    std::lock_guard lock(m_mutex);
    if (refuse)
        d->refused.insert(address);
    else
        d->refused.erase(address);
}

uint16_t CSimDrive::GetImageWord(int index) const {
    std::lock_guard lock(m_mutex);
    return index >= 0 && index < kImageWords ? d->image[static_cast<size_t>(index)] : 0;
}

void CSimDrive::SetImageWord(int index, uint16_t value) {
    std::lock_guard lock(m_mutex);
    if (index >= 0 && index < kImageWords)
        d->image[static_cast<size_t>(index)] = value;
}

void CSimDrive::SetStationNumber(int station) {
    std::lock_guard lock(m_mutex);
    d->station = station & 0xFF;
}

int CSimDrive::StationNumber() const {
    std::lock_guard lock(m_mutex);
    return d->station;
}

void CSimDrive::SetModbusEnabled(bool enabled) {
    std::lock_guard lock(m_mutex);
    d->modbus = enabled;
}

bool CSimDrive::ModbusEnabled() const {
    std::lock_guard lock(m_mutex);
    return d->modbus;
}

void CSimDrive::SetModbusAddressTranslation(bool on) {
    std::lock_guard lock(m_mutex);
    d->translate = on;
}

uint16_t CSimDrive::ModbusToRegister(uint16_t modbusAddress) const {
    std::lock_guard lock(m_mutex);
    return d->ModbusRegister(modbusAddress);
}

void CSimDrive::SetBlockReadRecords(int records) {
    std::lock_guard lock(m_mutex);
    d->blockRecords = std::clamp(records, 1, 1024);
}

void CSimDrive::SetWireBaud(int baud) {
    std::lock_guard lock(m_mutex);
    d->wireBaud = std::max(baud, 0);
}

int CSimDrive::WireBaud() const {
    std::lock_guard lock(m_mutex);
    return d->wireBaud;
}

std::chrono::microseconds CSimDrive::WireTime(size_t characters) const {
    return WireTimeAt(WireBaud(), characters);
}

void CSimDrive::SetRequestHook(std::function<std::optional<std::string>(const std::string&)> hook) {
    std::lock_guard lock(m_mutex);
    d->hook = std::move(hook);
}

void CSimDrive::AddMemoryModel(SimMemoryModel model) {
    std::lock_guard lock(m_mutex);
    d->models.push_back(std::move(model));
}

void CSimDrive::AddFault(const SimFault& fault) {
    std::lock_guard lock(m_mutex);
    d->faults.push_back({fault});
}

void CSimDrive::ClearFaults() {
    std::lock_guard lock(m_mutex);
    d->faults.clear();
}

SimReply CSimDrive::Respond(const std::string& request) {
    std::function<std::optional<std::string>(const std::string&)> hook;
    std::vector<SimMemoryModel> models;
    {
        std::lock_guard lock(m_mutex);
        hook = d->hook;
        models = d->models;
    }
    // The machine keeps its clock whether or not the drive answers.
    for (const SimMemoryModel& model : models)
        if (model.beforeRequest)
            model.beforeRequest();
    SimReply reply;
    {
        std::lock_guard lock(m_mutex);
        if (d->Frozen()) {
            reply.wireTime = WireTimeAt(d->wireBaud, request.size());
            d->Log({request, d->Parse(request).kind, {}, true, true});
            return reply;
        }
    }
    // The hook runs without the lock, so it may use the drive's own calls.
    if (hook) {
        if (std::optional<std::string> answer = hook(request)) {
            reply.bytes = *answer;
            reply.wireTime = WireTime(request.size() + reply.bytes.size());
            std::lock_guard lock(m_mutex);
            d->Log({request, d->Parse(request).kind, reply.bytes, false});
            return reply;
        }
    }

    std::lock_guard lock(m_mutex);
    const Parsed parsed = d->Parse(request);
    const bool maker = parsed.framing == Framing::Maker;
    std::vector<uint16_t> touched = d->Touched(parsed);

    // Every matching fault counts the request; those past their skip and within their count hit.
    std::vector<const SimFault*> hits;
    std::vector<ActiveFault*> corrupting;
    for (ActiveFault& active : d->faults) {
        if (!d->Matches(active.fault, parsed, touched))
            continue;
        ++active.seen;
        // One freeze unless a count says more: a freeze on every request would never end.
        const int count =
            active.fault.kind == SimFaultKind::Freeze && active.fault.count < 0 ? 1 : active.fault.count;
        if (active.seen <= active.fault.skip || (count >= 0 && active.hits >= count))
            continue;
        if (active.fault.kind == SimFaultKind::Corrupt) {
            if (static_cast<int>(active.random() % 100) >= active.fault.percent)
                continue;
            corrupting.push_back(&active);
        }
        ++active.hits;
        hits.push_back(&active.fault);
    }
    auto hit = [&hits](SimFaultKind kind) {
        return std::any_of(hits.begin(), hits.end(), [kind](const SimFault* f) { return f->kind == kind; });
    };

    bool freezes = false;
    for (const SimFault* f : hits)
        if (f->kind == SimFaultKind::Freeze) {
            d->FreezeFor(f->delay);
            freezes = true;
        }

    // A request that never reached the drive is not carried out.
    if (hit(SimFaultKind::DropLink)) {
        reply.dropLink = true;
    } else if (hit(SimFaultKind::Silent) || freezes) {
    } else if (maker) {
        if (hit(SimFaultKind::Refuse)) {
            reply.bytes = "!";
        } else {
            std::vector<uint16_t> badAddresses;
            for (const SimFault* f : hits) {
                if (f->kind != SimFaultKind::BadChecksum || parsed.kind != SimRequestKind::MakerBlockRead)
                    continue;
                if (f->address)
                    badAddresses.push_back(*f->address);
                else
                    badAddresses = touched;
            }
            reply.bytes = d->MakerReply(parsed, request, badAddresses);
        }
    } else if (parsed.framing != Framing::None) {
        reply.bytes = d->ModbusReply(parsed, request, hit(SimFaultKind::Refuse));
    }

    // Damage on the way back.
    std::string& bytes = reply.bytes;
    for (const SimFault* f : hits) {
        if (bytes.empty())
            break;
        switch (f->kind) {
        case SimFaultKind::BadChecksum:
            if (parsed.kind == SimRequestKind::MakerBlockRead)
                break; // done record by record above
            if (parsed.framing == Framing::ModbusRtu) {
                bytes.back() = static_cast<char>(bytes.back() ^ 0x5A);
            } else if (parsed.framing == Framing::ModbusAscii && bytes.size() >= 4) {
                char& digit = bytes[bytes.size() - 3];
                digit = digit == '0' ? '1' : '0';
            } else if (bytes.size() >= 3) {
                std::string body = bytes.substr(0, bytes.size() - 2);
                unsigned sum = static_cast<unsigned>(std::stoi(sim::MakerChecksum(body), nullptr, 16));
                bytes = body + sim::Hex2(sum + 1);
            }
            break;
        case SimFaultKind::Truncate:
            bytes.resize(std::min(bytes.size(), f->keep.value_or(bytes.size() / 2)));
            break;
        case SimFaultKind::Garbage:
            bytes = Garble(bytes.size());
            break;
        case SimFaultKind::Delay:
            reply.delay += std::chrono::duration_cast<std::chrono::microseconds>(f->delay);
            break;
        case SimFaultKind::Slow:
            reply.slow += std::chrono::duration_cast<std::chrono::microseconds>(f->delay);
            break;
        default:
            break;
        }
    }
    if (!bytes.empty())
        for (ActiveFault* active : corrupting)
            CorruptOne(bytes, parsed.framing == Framing::ModbusRtu, active->random);
    reply.wireTime = WireTimeAt(d->wireBaud, request.size() + bytes.size());
    d->Log({request, parsed.kind, bytes, !hits.empty(), freezes});
    return reply;
}

void CSimDrive::Freeze(std::chrono::milliseconds duration) {
    std::lock_guard lock(m_mutex);
    d->FreezeFor(duration);
}

void CSimDrive::Thaw() {
    std::lock_guard lock(m_mutex);
    d->frozenUntil = {};
}

bool CSimDrive::IsFrozen() const {
    std::lock_guard lock(m_mutex);
    return d->Frozen();
}

bool CSimDrive::WaitUntilThawed(std::chrono::milliseconds limit) const {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        std::chrono::steady_clock::time_point until;
        {
            std::lock_guard lock(m_mutex);
            until = d->frozenUntil;
        }
        const auto now = std::chrono::steady_clock::now();
        if (now >= until)
            return true;
        if (now >= deadline)
            return false;
        // A freeze may be lengthened meanwhile: look again after the sleep.
        std::this_thread::sleep_until(std::min(until, deadline));
    }
}

std::string CSimDrive::Handle(const std::string& request) {
    SimReply reply = Respond(request);
    return reply.dropLink ? std::string() : reply.bytes;
}

std::vector<SimLogEntry> CSimDrive::Log() const {
    std::lock_guard lock(m_mutex);
    return {d->log.begin(), d->log.end()};
}

std::vector<std::string> CSimDrive::RequestLog() const {
    std::lock_guard lock(m_mutex);
    std::vector<std::string> requests;
    requests.reserve(d->log.size());
    for (const SimLogEntry& entry : d->log)
        requests.push_back(entry.request);
    return requests;
}

size_t CSimDrive::RequestCount() const {
    std::lock_guard lock(m_mutex);
    return d->requestCount;
}

void CSimDrive::ClearLog() {
    std::lock_guard lock(m_mutex);
    d->log.clear();
    d->requestCount = 0;
}

void CSimDrive::SetLogCapacity(size_t entries) {
    std::lock_guard lock(m_mutex);
    d->logCapacity = entries;
    while (d->log.size() > entries)
        d->log.pop_front();
}

size_t CSimDrive::LogCapacity() const {
    std::lock_guard lock(m_mutex);
    return d->logCapacity;
}
