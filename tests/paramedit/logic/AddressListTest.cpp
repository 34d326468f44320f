#include "LogicTestSupport.h"

#include "framework/core/MessageSeam.h"
#include "paramedit/AddressListFile.h"

#include <gtest/gtest.h>

namespace {

AddressRows SampleRows() {
    AddressRows rows;
    for (int k = 0; k < AddressRowCount; ++k) {
        rows.address[static_cast<std::size_t>(k)] = 0x1700 + k;
        rows.value[static_cast<std::size_t>(k)] = k % 2 ? -k : k * 1000;
    }
    return rows;
}

const std::string Golden = std::string(KELO_FIXTURES) + "/address-sample.adr";

} // namespace

TEST(AddressList, WritesTheGoldenLayoutAndReadsItBack) {
    ScratchFolder scratch;
    const std::string path = scratch.Path("list.adr");
    std::string error;
    ASSERT_TRUE(WriteAddressList(path, SampleRows(), AddressListHeader, &error)) << error;
    const Bytes bytes = ReadBytes(path);
    EXPECT_EQ(bytes.size(), std::string(AddressListHeader).size() + 81);
    EXPECT_EQ(bytes, ReadBytes(Golden));

    AddressRows read;
    EXPECT_EQ(ReadAddressList(path, read), AddressListRead::Loaded);
    EXPECT_EQ(read, SampleRows());
}

TEST(AddressList, HeaderIsNotCheckedAndSurplusIgnored) {
    ScratchFolder scratch;
    const std::string path = scratch.Path("any.adr");
    std::string bytes = AddressListBytes(SampleRows(), "anything at all\r") + "trailing bytes";
    WriteBytes(path, Bytes(bytes.begin(), bytes.end()));
    AddressRows read;
    EXPECT_EQ(ReadAddressList(path, read), AddressListRead::Loaded);
    EXPECT_EQ(read, SampleRows());

    bytes = AddressListBytes(SampleRows(), "");
    WriteBytes(path, Bytes(bytes.begin(), bytes.end()));
    EXPECT_EQ(ReadAddressList(path, read), AddressListRead::Loaded) << "an empty header line is still a line";
}

TEST(AddressList, MalformedFilesLoadNothing) {
    ScratchFolder scratch;
    const std::string path = scratch.Path("bad.adr");
    const std::string good = AddressListBytes(SampleRows());
    struct Case {
        std::string bytes;
        AddressListRead expected;
    };
    const Case cases[] = {
        {"", AddressListRead::Empty},
        {good.substr(0, good.size() - 1), AddressListRead::Malformed},
        {good.substr(0, 29), AddressListRead::Malformed}, // the header line alone
        {"no line end at all", AddressListRead::Malformed},
        {std::string(AddressListHeaderCap + 1, 'x') + '\n' + good.substr(29), AddressListRead::Malformed},
    };
    for (const Case& c : cases) {
        WriteBytes(path, Bytes(c.bytes.begin(), c.bytes.end()));
        AddressRows kept = SampleRows();
        std::string error;
        EXPECT_EQ(ReadAddressList(path, kept, &error), c.expected) << c.bytes.size();
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(kept, SampleRows()) << "nothing is loaded from a bad file";
    }
    AddressRows kept;
    EXPECT_EQ(ReadAddressList(scratch.Path("missing.adr"), kept), AddressListRead::CannotOpen);
}

TEST(AddressList, LoadReportsWhatItCannotUse) {
    ScratchFolder scratch;
    ScriptedMessages messages;
    AddressRows rows = SampleRows();
    WriteBytes(scratch.Path("empty.adr"), {});
    EXPECT_FALSE(LoadAddressList(scratch.Path("empty.adr"), rows));
    EXPECT_TRUE(messages.Shown().empty()) << "an empty file loads nothing, silently";
    WriteBytes(scratch.Path("cut.adr"), Bytes{'h', '\n', 1, 2});
    EXPECT_FALSE(LoadAddressList(scratch.Path("cut.adr"), rows));
    EXPECT_FALSE(LoadAddressList(scratch.Path("missing.adr"), rows));
    ASSERT_EQ(messages.Shown().size(), 2u);
    EXPECT_EQ(messages.Shown()[0].text, "Unexpected file format.");
    EXPECT_EQ(rows, SampleRows());
    EXPECT_TRUE(LoadAddressList(Golden, rows));
}

TEST(AddressList, PathEnding) {
    for (const char* ok : {"a.adr", "a.ADR", "/x/b.Adr", "ADR"})
        EXPECT_TRUE(IsAddressListPath(ok)) << ok;
    for (const char* bad : {"a.txt", "a.ad", "", "ad"})
        EXPECT_FALSE(IsAddressListPath(bad)) << bad;
}

TEST(AddressValues, CellsAreValidatedBeforeUse) {
    struct Case {
        const char* text;
        bool hex;
        std::optional<int> value;
    };
    const Case cases[] = {
        {"12", false, 12},
        {"12", true, 0x12},
        {"", false, 0},
        {"", true, 0},
        {"-5", false, -5},
        {"-123", false, -123},
        {"00A1", true, 0xA1},
        {"ffff", true, 0xFFFF},
        {"FFFFFFFB", true, -5},
        {"1A", false, std::nullopt},
        {"12 ", false, std::nullopt},
        {"G1", true, std::nullopt},
        {"-1", true, std::nullopt},
        {"-", false, std::nullopt},
        {"123456789", true, std::nullopt},
        {"99999999999", false, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseAddressValue(c.text, c.hex), c.value) << c.text << (c.hex ? " hex" : " dec");

    std::array<std::string, AddressRowCount> cells{"1", "2", "3", "x", "5", "6", "7", "8", "9", "10"};
    std::array<int, AddressRowCount> values{};
    values.fill(-1);
    int bad = 0;
    EXPECT_FALSE(ParseAddressValues(cells, false, values, &bad));
    EXPECT_EQ(bad, 4);
    EXPECT_EQ(values[0], -1) << "nothing is taken when a cell is bad";
    EXPECT_NE(InvalidAddressValueText(4, false).find('4'), std::string::npos);
    cells[3] = "";
    EXPECT_TRUE(ParseAddressValues(cells, true, values, &bad));
    EXPECT_EQ(values[9], 0x10);
    EXPECT_EQ(values[3], 0);
}

TEST(AddressValues, CellTextsAndWritePass) {
    EXPECT_EQ(AddressCellText(0x1A), "001A");
    EXPECT_EQ(AddressValueText(-5, false), "-5");
    EXPECT_EQ(AddressValueText(-5, true), "FFFFFFFB");
    EXPECT_EQ(AddressValueText(0xA1, true), "00A1");

    AddressRows rows;
    rows.address = {0, 0x100, 0, 0x200, 0x300, 0, 0, 0, 0, 0};
    rows.value = {9, 1, 9, 2, 3, 9, 9, 9, 9, 9};
    std::vector<std::pair<int, int>> sent;
    const auto accept = [&](int a, int v) {
        sent.emplace_back(a, v);
        return a != 0x200;
    };
    EXPECT_EQ(WriteAddressRows(rows, accept), 4) << "the refused row's number";
    EXPECT_EQ(sent, (std::vector<std::pair<int, int>>{{0x100, 1}, {0x200, 2}}));
    EXPECT_EQ(AddressWriteFailedText(4), "写入第4个参数失败");

    AddressRows none;
    EXPECT_EQ(WriteAddressRows(none,
                               [](int, int) {
                                   ADD_FAILURE() << "address 0 is never written";
                                   return false;
                               }),
              0);
}
