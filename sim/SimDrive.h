#pragma once
// A simulated servo drive for tests, benchmarks and demonstrations: 65536 16-bit registers with
// per-address behaviour, the maker's ASCII command protocol, Modbus RTU and ASCII (functions 0x03
// and 0x06), fault injection and a log of the newest requests. Thread-safe: a pty server thread may
// answer requests while a test changes registers or reads the log.
//
// Quick use (in-process, no port):
//     CSimDrive drive(4);                       // series 4, plausible identification registers
//     drive.SetRegister(0x0201, 0xFFFF);
//     std::string reply = drive.Handle(sim::WithMakerChecksum("R10201"));   // "%FFFF" + checksum
//     drive.AddFault({.kind = SimFaultKind::Refuse, .address = 0x0F04});   // "!" from now on
//     drive.RequestLog();                        // the request texts, in order
//
// Maker protocol as the drive answers it (A = address, V = value: four upper-case hex digits,
// CC = byte-sum checksum):
//   "R" n A1..An CC   n = 0..9 -> "%" + one word per address + CC.
//   "R5"/"R9" are block reads: 64 records of "%" + n words + CC (23 or 39 characters each), word k
//                     of record r = register (A_k + r). SetBlockReadRecords() changes the 64.
//   "W" n A1 V1..An Vn CC -> "%" (all words written) or "!" (nothing written).
//   "R10" g nn CC / "W10" g nn V CC: when g is a hex digit these are the very characters of "R1"/"W1"
//                     for address 0gnn and are answered as such; a group letter that is no hex digit
//                     (T S P q H U E ...) is mapped like a Modbus address of that group (below).
//   "!" answers: a refused address, a write to a read-only register or outside a register's range,
//                     a request checksum that does not hold, a malformed request.
// Modbus (when enabled; station from SetStationNumber, 0 = broadcast: writes done, nothing answered):
//   0x03 read n (1..125) registers, 0x06 write one. A request for another station, or with a bad
//   CRC/LRC, gets no answer. Exceptions: 01 other function, 02 refused address, 03 bad count,
//   04 write refused (read-only or out of range).
//   Modbus addresses are group base + number (C 0x000, T 0x100, S 0x200, P 0x300, q 0x400, H 0x500,
//   U 0x600, E 0x700); with translation on (default) the drive maps them to the maker registers of
//   that parameter (Cn, Pn3xx and En are packed around their 32-bit parameters, Un follows its
//   list); addresses outside those parameters map to the register of the same number.
//
// Timing (what a client may rely on):
// - In process (Handle) the drive answers at once. Served on a pty (SimPtyServer.h) an answer
//   leaves after its injected delay plus, when a wire baud is set, the time the request and the
//   answer take on a line of that speed (10 bit times per character), so a block read ("R9", 2,536
//   characters) takes 220 ms at 115200 baud.
// - Memories fill on the machine's clock (SimMachine.h): with the clock following real time, status
//   words read "not ready" until the armed sample period has filled a half or segment.
// - A late answer: SimFault{.kind = Delay, .delay = D} (text "delay=MS") answers D late, the line
//   silent until then.
// - A slow drive: SimFault{.kind = Slow, .requestKind = MakerBlockRead, .delay = D} (text
//   "slow=MS:block") puts every block answer on the wire as a slow line does: its characters leave
//   one after another over D, and the drive takes no other request meanwhile (those that arrive
//   queue behind it), so the client's port is busy receiving for the whole of D. Other requests
//   answer at their normal pace. The client's time-outs must allow D (a port set for a slow baud).
// - A frozen drive (Freeze() or a Freeze fault) answers nothing for the freeze's time: requests
//   that arrive are not carried out (a write is not written) and are logged unanswered, with
//   SimLogEntry::frozen set. The machine behind the drive keeps running on its clock meanwhile (a
//   motor that was jogging keeps jogging, trace memory keeps filling); afterwards the drive answers
//   again with its state as it was.
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

// What a request is, as the drive classified it.
enum class SimRequestKind {
    Any,            // only as a fault filter: every request
    MakerRead,      // "R0".."R9" (except block reads), "R10"
    MakerBlockRead, // "R5"/"R9": 64 records
    MakerWrite,     // "W0".."W9", "W10"
    ModbusRead,     // function 0x03, RTU or ASCII
    ModbusWrite,    // function 0x06, RTU or ASCII
    Other,          // anything else (unknown Modbus functions, garbage, the fixed 11-byte frame)
};

enum class SimFaultKind {
    Refuse,      // maker "!"; Modbus exception 02
    Silent,      // no answer at all
    BadChecksum, // answer with a wrong checksum (maker read reply, each block record that holds the
                 // address or every record when the fault has no address, Modbus CRC/LRC)
    Truncate,    // answer cut short to `keep` characters (default: half of it)
    Garbage,     // an answer of the right length made of characters no reply starts with
    DropLink,    // no answer, and the transport hangs up (pty: the port disappears, see SimPtyServer)
    Delay,       // the normal answer, `delay` late
    Freeze,      // the drive freezes for `delay`, from the request it hits (see Timing above)
    Slow,        // the answer takes `delay` on the wire, as on a slow line (see Timing above)
    Corrupt,     // `percent` of the answers get one hex digit changed (word or checksum), drawn from
                 // `seed`; a binary (Modbus RTU) answer gets one byte changed instead
};

// One injected fault. It hits requests of `requestKind` (Any: every kind) that touch `address`
// (no address: every request of that kind). A request touches the registers it reads or writes
// (Modbus: after address translation; a block read touches A_k + r of every record r).
// `skip` matching requests pass first; then it hits `count` requests (-1: every one from then on).
// Refused, silent and dropped requests are not carried out (a write is not written); damaged and
// delayed answers belong to requests that were. Several faults may hit one request.
// A Corrupt fault draws for every matching request past its skip whether it hits; only the answers
// it damages count towards `count` and are logged as faulted.
// A Freeze fault starts `count` freezes (-1 here means one), each at the next matching request once
// the drive answers again; the request that starts it is the first one left unanswered. Requests
// that arrive during a freeze are not matched against any fault.
// The text form for the command line is in sim/FaultSpec.h.
struct SimFault {
    SimFaultKind kind = SimFaultKind::Refuse;
    std::optional<uint16_t> address{};
    SimRequestKind requestKind = SimRequestKind::Any;
    int skip = 0;
    int count = -1;
    std::chrono::milliseconds delay{0}; // Delay: how late; Freeze: how long; Slow: time on the wire
    std::optional<size_t> keep{};       // Truncate: characters kept
    int percent = 100;                  // Corrupt: the share of matching answers damaged (0..100)
    uint32_t seed = 1;                  // Corrupt: which answers and which digit, reproducibly
};

// What the drive does with one request.
struct SimReply {
    std::string bytes{};                   // put on the wire; empty = no answer
    std::chrono::microseconds delay{0};    // injected delay before answering
    std::chrono::microseconds wireTime{0}; // emulated line time of request + answer (0 = off)
    std::chrono::microseconds slow{0};     // after those: the answer's characters spread over this
    bool dropLink = false;                 // the transport hangs up instead of answering
};

struct SimLogEntry {
    std::string request{}; // exact bytes received
    SimRequestKind kind = SimRequestKind::Other;
    std::string reply{};  // exact bytes answered (empty: no answer)
    bool faulted = false; // an injected fault changed the answer
    bool frozen = false;  // arrived while the drive was frozen (or started a freeze): unanswered
};

// Per-register behaviour. Registers without an entry are plain read/write words.
struct SimRegisterRule {
    bool readOnly = false;           // writes refused (the drive's own status and identity words)
    bool isSigned = false;           // range limits compare the word as signed 16-bit
    std::optional<int> min{}, max{}; // writes outside refused
    // Live value (moving status words, trace memory ...): called on every read instead of the
    // stored word. Called with the drive's lock held: do not call back into the drive.
    std::function<uint16_t(uint16_t address)> onRead{};
    // Called after a write was accepted and stored (same lock rule).
    std::function<void(uint16_t address, uint16_t value)> onWrite{};
};

// A drive function that keeps memory beside the register file (trace memory, box recorder; see
// sim/SimMachine.h). beforeRequest runs before every request without the drive's lock, so the model
// can bring itself up to its clock (it must not wait for the drive's lock while holding its own).
// Block reads ("R5"/"R9") take the words blockWord answers; it runs with the drive's lock held.
struct SimMemoryModel {
    std::function<void()> beforeRequest{};
    std::function<std::optional<uint16_t>(uint16_t address)> blockWord{};
};

class CSimDrive {
public:
    // Series 3..9 as the program knows them. The parameters hold the series' factory defaults
    // (sim/SimFactoryDefaults.h); the identification registers answer for it
    // (0x171D model code: 4 -> 0x0202, 5 -> 0x0204, 6 -> 0x0400, 7 -> 0x0303, 8 -> 0x0302,
    // 9 -> 0x0502; series 0 -> 0; any other series -> 0x0100 + series, which the program keeps).
    explicit CSimDrive(int series = 4);
    ~CSimDrive();
    CSimDrive(const CSimDrive&) = delete;
    CSimDrive& operator=(const CSimDrive&) = delete;

    int Series() const;
    // The model code the drive reports in register 0x171D for a series.
    static uint16_t ModelCodeForSeries(int series);

    // --- Registers (the Set/Get calls bypass rules, refusals and faults) ---
    uint16_t GetRegister(uint16_t address) const;
    int16_t GetRegisterSigned(uint16_t address) const;
    uint32_t GetRegister32(uint16_t address) const; // low word at address, high at address + 1
    void SetRegister(uint16_t address, uint16_t value);
    void SetRegisterSigned(uint16_t address, int16_t value);
    void SetRegister32(uint16_t address, uint32_t value);
    void SetRule(uint16_t address, SimRegisterRule rule);
    void ClearRule(uint16_t address);
    void SetReadOnly(uint16_t address, bool readOnly = true);
    void SetRange(uint16_t address, int min, int max, bool isSigned = false);
    // The servo-on bit (bit 0 of 0x1703), the current alarm (0x1711).
    void SetServoOn(bool on);
    void SetAlarm(uint16_t code);

    // Refuse every request that touches the address ("!", Modbus exception 02) until cleared.
    void RefuseAddress(uint16_t address, bool refuse = true);

    // Drive memory image: 1024 words behind the select/read/write registers 0x1714..0x1718
    // ("W2" 1714 0001 1715 index selects, "R1" 1716 reads, "W2" 1717 index 1718 value writes).
    uint16_t GetImageWord(int index) const;
    void SetImageWord(int index, uint16_t value);

    // --- Protocol settings ---
    void SetStationNumber(int station); // 1..247 (0 answers nothing; broadcast)
    int StationNumber() const;
    void SetModbusEnabled(bool enabled); // default on; off: Modbus frames get no answer
    bool ModbusEnabled() const;
    void SetModbusAddressTranslation(bool on); // default on (see top)
    uint16_t ModbusToRegister(uint16_t modbusAddress) const;
    void SetBlockReadRecords(int records); // default 64

    // Emulated line speed: every answer carries the time the request and the answer take on the
    // wire at 10 bit times per character. 0 = off (default).
    void SetWireBaud(int baud);
    int WireBaud() const;
    std::chrono::microseconds WireTime(size_t characters) const;

    // Takes over a request before the drive's own handling; returning a value answers it (an
    // empty text = no answer). For behaviour a test needs that the model lacks. Logged as usual.
    void SetRequestHook(std::function<std::optional<std::string>(const std::string& request)> hook);

    // Adds a memory model; models are asked in the order they were added.
    void AddMemoryModel(SimMemoryModel model);

    // --- Faults ---
    void AddFault(const SimFault& fault);
    void ClearFaults();

    // --- Freeze (see Timing above) ---
    // Freezes the drive from now for `duration` (a freeze under way is lengthened, never shortened).
    void Freeze(std::chrono::milliseconds duration);
    // Ends a freeze now.
    void Thaw();
    bool IsFrozen() const;
    // Waits until the drive answers again or `limit` passed; true when it is not frozen.
    bool WaitUntilThawed(std::chrono::milliseconds limit) const;

    // --- Answering ---
    // Answers one complete request (framing is the transport's job) and logs it.
    SimReply Respond(const std::string& request);
    // In-process transport: the answer bytes only; delays and wire time are not waited for, a
    // dropped link reads as no answer.
    std::string Handle(const std::string& request);

    // --- Request log ---
    // The log is a ring of the newest requests, so a drive that serves for days stays small.
    static constexpr size_t kDefaultLogCapacity = 16384;
    std::vector<SimLogEntry> Log() const;        // the logged requests, oldest first
    std::vector<std::string> RequestLog() const; // the request texts only, in order
    size_t RequestCount() const;                 // every request since ClearLog, logged or not
    void ClearLog();
    // How many requests the log keeps (0: none); the oldest go first.
    void SetLogCapacity(size_t entries);
    size_t LogCapacity() const;

private:
    struct State;
    std::unique_ptr<State> d;
    mutable std::mutex m_mutex;
};
