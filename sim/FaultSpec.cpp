#include "sim/FaultSpec.h"

#include <cstdlib>
#include <string_view>

namespace sim {

namespace {

bool ParseNumber(std::string_view text, int base, long max, long& value) {
    if (text.empty() || text.size() > 9)
        return false;
    std::string copy(text);
    char* end = nullptr;
    value = std::strtol(copy.c_str(), &end, base);
    return *end == '\0' && value >= 0 && value <= max && copy[0] != '-' && copy[0] != '+';
}

// Finds a name in a table of (name, value) pairs.
template <typename T, size_t N>
bool Lookup(const std::pair<std::string_view, T> (&table)[N], std::string_view name, T& value) {
    for (const auto& [text, v] : table)
        if (name == text) {
            value = v;
            return true;
        }
    return false;
}

const std::pair<std::string_view, SimFaultKind> kFaultKinds[] = {
    {"refuse", SimFaultKind::Refuse},      {"silent", SimFaultKind::Silent},
    {"badsum", SimFaultKind::BadChecksum}, {"truncate", SimFaultKind::Truncate},
    {"garbage", SimFaultKind::Garbage},    {"drop", SimFaultKind::DropLink},
    {"delay", SimFaultKind::Delay},        {"freeze", SimFaultKind::Freeze},
    {"slow", SimFaultKind::Slow},          {"corrupt", SimFaultKind::Corrupt}};

const std::pair<std::string_view, SimRequestKind> kRequestKinds[] = {
    {"any", SimRequestKind::Any},
    {"read", SimRequestKind::MakerRead},
    {"block", SimRequestKind::MakerBlockRead},
    {"write", SimRequestKind::MakerWrite},
    {"mbread", SimRequestKind::ModbusRead},
    {"mbwrite", SimRequestKind::ModbusWrite},
    {"other", SimRequestKind::Other}};

bool NeedsTime(SimFaultKind kind) {
    return kind == SimFaultKind::Delay || kind == SimFaultKind::Freeze || kind == SimFaultKind::Slow;
}

bool ParseOne(std::string_view part, SimFault& fault, std::string& why) {
    const std::string_view marks = "=:@#+~";
    size_t pos = part.find_first_of(marks);
    if (!Lookup(kFaultKinds, part.substr(0, pos), fault.kind)) {
        why = "unknown fault kind";
        return false;
    }
    bool hasArgument = false;
    while (pos != std::string_view::npos) {
        char mark = part[pos];
        size_t next = part.find_first_of(marks, pos + 1);
        std::string_view value = part.substr(pos + 1, next == std::string_view::npos ? next : next - pos - 1);
        long number = 0;
        switch (mark) {
        case '=':
            if (hasArgument || !ParseNumber(value, 10, 3600000, number)) {
                why = "bad argument";
                return false;
            }
            hasArgument = true;
            if (NeedsTime(fault.kind))
                fault.delay = std::chrono::milliseconds(number);
            else if (fault.kind == SimFaultKind::Truncate)
                fault.keep = static_cast<size_t>(number);
            else if (fault.kind == SimFaultKind::Corrupt && number <= 100)
                fault.percent = static_cast<int>(number);
            else if (fault.kind == SimFaultKind::Corrupt) {
                why = "a share above 100 %";
                return false;
            } else {
                why = "this fault kind takes no argument";
                return false;
            }
            break;
        case ':':
            if (!Lookup(kRequestKinds, value, fault.requestKind)) {
                why = "unknown request kind";
                return false;
            }
            break;
        case '@':
            if (value.size() > 2 && value[0] == '0' && (value[1] == 'x' || value[1] == 'X'))
                value.remove_prefix(2);
            if (value.size() > 4 || !ParseNumber(value, 16, 0xFFFF, number)) {
                why = "bad address";
                return false;
            }
            fault.address = static_cast<uint16_t>(number);
            break;
        case '#':
            if (!ParseNumber(value, 10, 1000000000, number)) {
                why = "bad count";
                return false;
            }
            fault.count = static_cast<int>(number);
            break;
        case '+':
            if (!ParseNumber(value, 10, 1000000000, number)) {
                why = "bad skip";
                return false;
            }
            fault.skip = static_cast<int>(number);
            break;
        case '~':
            if (fault.kind != SimFaultKind::Corrupt || !ParseNumber(value, 10, 999999999, number)) {
                why = "a seed belongs to corrupt and is a number";
                return false;
            }
            fault.seed = static_cast<uint32_t>(number);
            break;
        }
        pos = next;
    }
    if (NeedsTime(fault.kind) && !hasArgument) {
        why = std::string(part.substr(0, part.find_first_of(marks))) + " needs =MS";
        return false;
    }
    return true;
}

} // namespace

bool ParseFaultSpec(const std::string& spec, std::vector<SimFault>& faults, std::string* error) {
    std::vector<SimFault> parsed;
    std::string_view rest = spec;
    while (true) {
        size_t comma = rest.find(',');
        std::string_view part = rest.substr(0, comma);
        SimFault fault;
        std::string why;
        if (!ParseOne(part, fault, why)) {
            if (error)
                *error = "fault \"" + std::string(part) + "\": " + why;
            return false;
        }
        parsed.push_back(fault);
        if (comma == std::string_view::npos)
            break;
        rest.remove_prefix(comma + 1);
    }
    faults.insert(faults.end(), parsed.begin(), parsed.end());
    return true;
}

} // namespace sim
