#pragma once
// Shared pieces of the document tests: a scripted host, a fixture that keeps the program-wide
// words and a scratch folder, and a builder for archive bytes.
#include "catalogue/DocumentHost.h"
#include "catalogue/KeloServoDoc.h"
#include "framework/core/MessageSeam.h"
#include "tests/support/PrivateHome.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

class FakeHost : public DocumentHost {
public:
    bool IsConnected() const override { return connected; }
    bool ReadRegister(int address, int& value) override {
        auto it = registers.find(address);
        if (it == registers.end())
            return false;
        value = it->second;
        return true;
    }
    void OnSeriesChanged(int series) override { seriesChanges.push_back(series); }
    void ClearComparisonTables() override { ++comparisonClears; }
    bool DocumentGiven() const override { return documentGiven; }
    bool StartNewInstance() override {
        ++starts;
        return startSucceeds;
    }

    bool connected = false;
    bool documentGiven = false;
    bool startSucceeds = true;
    int starts = 0;
    int comparisonClears = 0;
    std::map<int, int> registers;
    std::vector<int> seriesChanges;
};

// Keeps the program-wide words, gives each test a scratch folder as its temporary folder and
// records the messages shown.
class DocumentTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    std::string Scratch(const std::string& name) const { return scratch_.Path(name); }
    std::vector<std::string> MessageTexts() const;

    FakeHost host;
    ScriptedMessages messages;

private:
    ScratchFolder scratch_{"kelo-document-test"};
    EnvOverride runtime_{"XDG_RUNTIME_DIR", scratch_.Path()};
    int saved_[9] = {};
    bool savedForeign_ = false;
};

// Archive bytes in the document layout.
class ZpfBuilder {
public:
    ZpfBuilder& Text(const std::string& text);
    ZpfBuilder& Int(int value);
    // count, then values value0, value0 + 1, ...
    ZpfBuilder& Block(int count, int value0);
    ZpfBuilder& Values(const std::vector<int>& values);
    const std::vector<unsigned char>& Bytes() const { return bytes_; }
    void Save(const std::string& path) const;

private:
    std::vector<unsigned char> bytes_;
};

std::vector<unsigned char> ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::vector<unsigned char>& bytes);
