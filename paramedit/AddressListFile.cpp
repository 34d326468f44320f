#include "paramedit/AddressListFile.h"

#include "framework/core/File.h"
#include "framework/core/Format.h"
#include "paramedit/EditorFiles.h"
#include "valueedit/ValueText.h"

#include <cstdint>

namespace {

void PutInt(std::string& out, int value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        out += static_cast<char>((bits >> (8 * i)) & 0xFF);
}

int GetInt(const unsigned char* bytes) {
    const std::uint32_t bits =
        static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
        static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
    return static_cast<int>(static_cast<std::int32_t>(bits));
}

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

// Reads up to count bytes; fewer only at the end of the file.
std::size_t ReadFully(CFile& file, void* data, std::size_t count) {
    auto* bytes = static_cast<unsigned char*>(data);
    std::size_t done = 0;
    while (done < count) {
        const std::size_t part = file.Read(bytes + done, count - done);
        if (part == 0)
            break;
        done += part;
    }
    return done;
}

} // namespace

std::string AddressListBytes(const AddressRows& rows, const std::string& header) {
    std::string bytes = header + '\n';
    for (int k = 0; k < AddressRowCount; ++k) {
        PutInt(bytes, rows.address[static_cast<std::size_t>(k)]);
        PutInt(bytes, rows.value[static_cast<std::size_t>(k)]);
    }
    return bytes;
}

bool WriteAddressList(const std::string& path, const AddressRows& rows, const std::string& header,
                      std::string* error) {
    const std::string bytes = AddressListBytes(rows, header);
    return WriteNewFile(
        path, [&](CFile& file) { file.Write(bytes.data(), bytes.size()); }, error);
}

AddressListRead ReadAddressList(const std::string& path, AddressRows& rows, std::string* error) {
    const auto fail = [error](AddressListRead result, const std::string& why) {
        if (error)
            *error = why;
        return result;
    };
    CFile file;
    CFileException fileError;
    if (!file.Open(path, CFile::modeRead | CFile::typeBinary, &fileError))
        return fail(AddressListRead::CannotOpen, fileError.what());
    try {
        // The header line, read a byte at a time up to the first LF and never past its cap.
        std::size_t headerBytes = 0;
        bool lineEnd = false;
        char c = 0;
        while (ReadFully(file, &c, 1) == 1) {
            if (c == '\n') {
                lineEnd = true;
                break;
            }
            if (++headerBytes > AddressListHeaderCap)
                return fail(AddressListRead::Malformed, "The header line of \"" + path + "\" is too long.");
        }
        if (!lineEnd && headerBytes == 0)
            return fail(AddressListRead::Empty, "\"" + path + "\" is empty.");
        unsigned char pairs[AddressRowCount * 8];
        if (ReadFully(file, pairs, sizeof pairs) != sizeof pairs)
            return fail(AddressListRead::Malformed, "\"" + path + "\" ends before its ten address pairs.");
        AddressRows read;
        for (int k = 0; k < AddressRowCount; ++k) {
            read.address[static_cast<std::size_t>(k)] = GetInt(pairs + 8 * k);
            read.value[static_cast<std::size_t>(k)] = GetInt(pairs + 8 * k + 4);
        }
        rows = read;
    } catch (const CFileException& e) {
        return fail(AddressListRead::CannotOpen, e.what());
    }
    return AddressListRead::Loaded;
}

bool LoadAddressList(const std::string& path, AddressRows& rows) {
    switch (ReadAddressList(path, rows)) {
    case AddressListRead::Loaded:
        return true;
    case AddressListRead::CannotOpen:
        ShowCannotOpenFile(path);
        return false;
    case AddressListRead::Malformed:
        ShowUnexpectedFileFormat();
        return false;
    case AddressListRead::Empty:
        return false;
    }
    return false;
}

bool IsAddressListPath(const std::string& path) {
    return path.size() >= 3 && ToUpper(path.substr(path.size() - 3)) == "ADR";
}

std::optional<int> ParseAddressValue(const std::string& text, bool hex) {
    if (text.empty())
        return 0;
    if (hex) {
        if (text.size() > 8)
            return std::nullopt;
        for (char c : text)
            if (!IsHexDigit(c))
                return std::nullopt;
        return HexToInt(text);
    }
    int value = 0;
    if (CheckDecimalText(text, &value) != EntryCheck::Ok)
        return std::nullopt;
    return value;
}

bool ParseAddressValues(const std::array<std::string, AddressRowCount>& cells, bool hex,
                        std::array<int, AddressRowCount>& values, int* badRow) {
    std::array<int, AddressRowCount> parsed{};
    for (int k = 0; k < AddressRowCount; ++k) {
        const auto value = ParseAddressValue(cells[static_cast<std::size_t>(k)], hex);
        if (!value) {
            if (badRow)
                *badRow = k + 1;
            return false;
        }
        parsed[static_cast<std::size_t>(k)] = *value;
    }
    values = parsed;
    return true;
}

std::string InvalidAddressValueText(int row, bool hex) {
    return Format("The value of row %d is not a %s number!", row, hex ? "hexadecimal" : "decimal");
}

std::string AddressCellText(int address) {
    return Format("%.4X", static_cast<unsigned>(address));
}

std::string AddressValueText(int value, bool hex) {
    return hex ? Format("%.4X", static_cast<unsigned>(value)) : Format("%d", value);
}

int WriteAddressRows(const AddressRows& rows, const std::function<bool(int address, int value)>& write) {
    for (int k = 0; k < AddressRowCount; ++k) {
        const int address = rows.address[static_cast<std::size_t>(k)];
        if (address == 0)
            continue;
        if (!write(address, rows.value[static_cast<std::size_t>(k)]))
            return k + 1;
    }
    return 0;
}

std::string AddressWriteFailedText(int row) {
    return Format("写入第%d个参数失败", row);
}
