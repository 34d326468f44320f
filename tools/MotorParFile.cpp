#include "tools/MotorParFile.h"

#include "framework/core/File.h"

#include <cctype>
#include <cstdint>
#include <fstream>
#include <vector>

namespace {

// Far more than any version holds; a larger file is read only this far.
constexpr std::streamsize ReadLimit = 4096;

void PutInt(std::string& bytes, int value) {
    const auto word = static_cast<uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8)
        bytes.push_back(static_cast<char>((word >> shift) & 0xFF));
}

// The order slots are read in for a version.
std::vector<int> SlotOrder(int version, bool moreAfter15) {
    std::vector<int> order{1, 2, 3, 4, 5, 6, 7, 8};
    if (version == 9) {
        order.insert(order.end(), {12, 9, 10, 11});
        return order;
    }
    order.insert(order.end(), {9, 10, 11, 12});
    if (version > 217)
        order.push_back(13);
    if (version >= 304)
        order.push_back(14);
    if (version > 312)
        order.push_back(15);
    if (version > 727 && moreAfter15)
        for (int slot = 16; slot <= ParSlotCount; ++slot)
            order.push_back(slot);
    return order;
}

} // namespace

bool ParReadResult::Read(int slot) const {
    return slot >= 1 && slot <= ParSlotCount && read[static_cast<size_t>(slot - 1)];
}

bool HasParExtension(const std::string& path) {
    if (path.size() < 3)
        return false;
    std::string ending = path.substr(path.size() - 3);
    for (char& c : ending)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return ending == "PAR";
}

std::string WriteParFile(const std::string& path, const ParSlots& values) {
    std::string bytes = std::string(ParFileHeader) + "\n";
    for (int value : values)
        PutInt(bytes, value);
    std::string error;
    if (!ReplaceFileContents(path, bytes, &error))
        return error.empty() ? "The file could not be written." : error;
    return {};
}

ParReadResult ReadParFile(const std::string& path) {
    ParReadResult result;
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        result.error = "The file could not be opened.";
        return result;
    }
    std::string bytes(static_cast<size_t>(ReadLimit), '\0');
    file.read(bytes.data(), ReadLimit);
    bytes.resize(static_cast<size_t>(file.gcount()));
    if (file.bad()) {
        result.error = "The file could not be read.";
        return result;
    }
    if (bytes.empty()) {
        result.error = "The file is empty.";
        return result;
    }
    const size_t lineEnd = bytes.find('\n');
    if (lineEnd == std::string::npos || lineEnd > static_cast<size_t>(ParHeaderLimit)) {
        result.error = "The file has no header line.";
        return result;
    }
    std::string header = bytes.substr(0, lineEnd);
    if (!header.empty() && header.back() == '\r')
        header.pop_back();
    if (header.size() < 3) {
        result.error = "The file's header carries no version.";
        return result;
    }
    int version = 0;
    for (char c : header.substr(header.size() - 3)) {
        if (c < '0' || c > '9') {
            result.error = "The file's header carries no version.";
            return result;
        }
        version = version * 10 + (c - '0');
    }
    result.version = version;
    size_t at = lineEnd + 1;
    const bool moreAfter15 = bytes.size() > at + 15 * 4;
    for (int slot : SlotOrder(version, moreAfter15)) {
        if (at + 4 > bytes.size())
            break;
        uint32_t word = 0;
        for (int i = 3; i >= 0; --i)
            word = (word << 8) | static_cast<unsigned char>(bytes[at + static_cast<size_t>(i)]);
        at += 4;
        result.values[static_cast<size_t>(slot - 1)] = static_cast<int32_t>(word);
        result.read[static_cast<size_t>(slot - 1)] = true;
        ++result.slotsRead;
    }
    result.ok = true;
    return result;
}
