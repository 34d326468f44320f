#include "DocumentTestSupport.h"

#include "catalogue/DocumentGlobals.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace {
int* const globals[9] = {
    &SeriesCode,         &ModelCode,          &RatedSpeed,       &MotorEncoderResolution, &ForwardTorqueLimit,
    &ReverseTorqueLimit, &DriveCapacityIndex, &DriveControlMode, &FeatureStatusWord};
} // namespace

void DocumentTest::SetUp() {
    for (int i = 0; i < 9; ++i)
        saved_[i] = *globals[i];
    savedForeign_ = ForeignSeriesLoadedFlag;
    ASSERT_TRUE(scratch_.Ok());
}

void DocumentTest::TearDown() {
    for (int i = 0; i < 9; ++i)
        *globals[i] = saved_[i];
    ForeignSeriesLoadedFlag = savedForeign_;
}

std::vector<std::string> DocumentTest::MessageTexts() const {
    std::vector<std::string> texts;
    for (const MessageRequest& m : messages.Shown())
        texts.push_back(m.text);
    return texts;
}

ZpfBuilder& ZpfBuilder::Text(const std::string& text) {
    bytes_.push_back(static_cast<unsigned char>(text.size()));
    bytes_.insert(bytes_.end(), text.begin(), text.end());
    return *this;
}

ZpfBuilder& ZpfBuilder::Int(int value) {
    const auto u = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        bytes_.push_back(static_cast<unsigned char>(u >> (8 * i)));
    return *this;
}

ZpfBuilder& ZpfBuilder::Block(int count, int value0) {
    Int(count);
    for (int i = 0; i < count; ++i)
        Int(value0 + i);
    return *this;
}

ZpfBuilder& ZpfBuilder::Values(const std::vector<int>& values) {
    Int(static_cast<int>(values.size()));
    for (int v : values)
        Int(v);
    return *this;
}

void ZpfBuilder::Save(const std::string& path) const {
    WriteBytes(path, bytes_);
}

std::vector<unsigned char> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}
