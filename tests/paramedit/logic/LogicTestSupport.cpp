#include "LogicTestSupport.h"

#include "catalogue/KeloServoDoc.h"

#include <fstream>
#include <iterator>

Bytes ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadText(const std::string& path) {
    const Bytes bytes = ReadBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

ArchiveBytes& ArchiveBytes::Text(const std::string& text) {
    bytes_.push_back(static_cast<unsigned char>(text.size()));
    bytes_.insert(bytes_.end(), text.begin(), text.end());
    return *this;
}

ArchiveBytes& ArchiveBytes::Int(std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        bytes_.push_back(static_cast<unsigned char>(bits >> (8 * i)));
    return *this;
}

ArchiveBytes& ArchiveBytes::Byte(std::uint8_t value) {
    bytes_.push_back(value);
    return *this;
}

ArchiveBytes& ArchiveBytes::Block(int count, int first) {
    Int(count);
    for (int i = 0; i < count; ++i)
        Int(first + i);
    return *this;
}

CatalogueContext Series4() {
    CatalogueContext context;
    context.seriesCode = 4;
    return context;
}

void ClearDocument(CKeloServoDoc& doc) {
    for (int g = 0; g < DocGroupCount; ++g)
        for (int n = 1; n <= DocGroupSize(DocGroup(g)); ++n)
            doc.Value(DocGroup(g), n) = doc.Default(DocGroup(g), n) = 0;
}
