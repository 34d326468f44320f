#pragma once
// Small helpers of the editor logic tests: a scratch folder, raw bytes in and out, and a builder of
// archive bytes.
#include "catalogue/CatalogueContext.h"
#include "tests/support/PrivateHome.h"

#include <cstdint>
#include <string>
#include <vector>

class CKeloServoDoc;

using Bytes = std::vector<unsigned char>;

// The catalogue context of the series the tests use (series 4, not connected).
CatalogueContext Series4();
// Sets every value and default of the document to 0, so a test states exactly what differs.
void ClearDocument(CKeloServoDoc& doc);

Bytes ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const Bytes& bytes);
std::string ReadText(const std::string& path);

// Little-endian archive bytes: counted texts of one-byte length, 32-bit ints, single bytes.
class ArchiveBytes {
public:
    ArchiveBytes& Text(const std::string& text);
    ArchiveBytes& Int(std::int32_t value);
    ArchiveBytes& Byte(std::uint8_t value);
    // A count followed by values first, first + 1, ...
    ArchiveBytes& Block(int count, int first);
    const Bytes& Data() const { return bytes_; }

private:
    Bytes bytes_;
};
