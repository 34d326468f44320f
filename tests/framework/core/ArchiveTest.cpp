#include "framework/core/Archive.h"

#include "tests/framework/core/TestSupport.h"

#include <gtest/gtest.h>

namespace {
using Bytes = std::vector<unsigned char>;

Bytes Store(const std::string& path, const std::function<void(CArchive&)>& write) {
    {
        CFile file(path, CFile::modeCreate | CFile::modeWrite);
        CArchive archive(&file, CArchive::store);
        EXPECT_TRUE(archive.IsStoring());
        write(archive);
        archive.Close();
        file.Close();
    }
    return ReadBytes(path);
}

// Loads from the bytes; the archive and file live only inside the call.
void Load(const std::string& path, const Bytes& bytes, const std::function<void(CArchive&)>& read) {
    WriteBytes(path, bytes);
    CFile file(path, CFile::modeRead);
    CArchive archive(&file, CArchive::load);
    EXPECT_TRUE(archive.IsLoading());
    read(archive);
}

Bytes Concat(Bytes head, std::size_t fill, unsigned char value) {
    head.insert(head.end(), fill, value);
    return head;
}
} // namespace

class ArchiveTest : public ::testing::Test {
protected:
    ScratchFolder folder;
    std::string path = folder / "archive.bin";
};

TEST_F(ArchiveTest, CountedStringsHaveTheirGoldenPrefixesAndReadBack) {
    struct Case {
        std::size_t length;
        Bytes prefix;
    };
    const Case cases[] = {
        {0, {0x00}},
        {254, {0xFE}},
        {255, {0xFF, 0xFF, 0x00}},
        {65533, {0xFF, 0xFD, 0xFF}},
        // 0xFFFE would read as the wide-text marker, so 65534 already takes the 32-bit form.
        {65534, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
        {65535, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00}},
        {70000, {0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.length);
        std::string text(c.length, 'k');
        Bytes bytes = Store(path, [&](CArchive& ar) { ar << text; });
        EXPECT_EQ(bytes, Concat(c.prefix, c.length, 'k'));
        Load(path, bytes, [&](CArchive& ar) {
            std::string back;
            ar >> back;
            EXPECT_EQ(back, text);
        });
    }
}

TEST_F(ArchiveTest, NumbersAreLittleEndianOfTheirWidth) {
    Bytes bytes = Store(path, [](CArchive& ar) {
        ar << -2 << short(-3) << 0x01020304u << BYTE(0xAB) << WORD(0xBEEF) << 1.0f << 2.0;
    });
    Bytes expected = {0xFE, 0xFF, 0xFF, 0xFF, 0xFD, 0xFF, 0x04, 0x03, 0x02, 0x01, 0xAB, 0xEF, 0xBE,
                      0x00, 0x00, 0x80, 0x3F, 0,    0,    0,    0,    0,    0,    0x00, 0x40};
    EXPECT_EQ(bytes, expected);
    Load(path, bytes, [](CArchive& ar) {
        int i = 0;
        short s = 0;
        unsigned u = 0;
        BYTE b = 0;
        WORD w = 0;
        float f = 0;
        double d = 0;
        ar >> i >> s >> u >> b >> w >> f >> d;
        EXPECT_EQ(i, -2);
        EXPECT_EQ(s, -3);
        EXPECT_EQ(u, 0x01020304u);
        EXPECT_EQ(b, 0xAB);
        EXPECT_EQ(w, 0xBEEF);
        EXPECT_EQ(f, 1.0f);
        EXPECT_EQ(d, 2.0);
    });
}

TEST_F(ArchiveTest, LargeStreamsCrossTheBufferIntact) {
    Bytes bytes = Store(path, [](CArchive& ar) {
        for (int i = 0; i < 5000; ++i)
            ar << i << std::string(static_cast<std::size_t>(i % 300), static_cast<char>('a' + i % 26));
    });
    Load(path, bytes, [](CArchive& ar) {
        for (int i = 0; i < 5000; ++i) {
            int n = -1;
            std::string text;
            ar >> n >> text;
            ASSERT_EQ(n, i);
            ASSERT_EQ(text, std::string(static_cast<std::size_t>(i % 300), static_cast<char>('a' + i % 26)));
        }
    });
}

TEST_F(ArchiveTest, WideStringsAreReadAsUtf8) {
    Bytes bytes = {0xFF, 0xFE, 0xFF, 0x04, 'K', 0, 0xE9, 0, 0x3D, 0xD8, 0x00, 0xDE}; // "Ké" + U+1F600
    Load(path, bytes, [](CArchive& ar) { EXPECT_EQ(ar.ReadString(), "K\xC3\xA9\xF0\x9F\x98\x80"); });
}

TEST_F(ArchiveTest, MalformedStreamsRaiseWithACause) {
    struct Case {
        const char* what;
        Bytes bytes;
        CArchiveException::Cause cause;
    };
    const Case cases[] = {
        {"length beyond the file",
         {0xFF, 0xFF, 0xFF, 0x00, 0x10, 0x00, 0x00, 'a', 'b'},
         CArchiveException::badLength},
        {"64-bit length",
         {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0x80},
         CArchiveException::badLength},
        {"wide length beyond the file", {0xFF, 0xFE, 0xFF, 0x05, 'a', 0}, CArchiveException::badLength},
        {"two wide markers",
         {0xFF, 0xFE, 0xFF, 0xFF, 0xFE, 0xFF, 0x01, 'a', 0},
         CArchiveException::badFormat},
        {"text cut short", {0x05, 'a', 'b'}, CArchiveException::badLength},
        {"length cut short", {0xFF, 0x01}, CArchiveException::endOfFile},
        {"empty file", {}, CArchiveException::endOfFile},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Load(path, c.bytes, [&](CArchive& ar) {
            try {
                ar.ReadString();
                ADD_FAILURE() << "no exception";
            } catch (const CArchiveException& error) {
                EXPECT_EQ(error.GetCause(), c.cause);
                EXPECT_NE(std::string(error.what()).find("archive.bin"), std::string::npos) << error.what();
            }
        });
    }
}

TEST_F(ArchiveTest, LengthsAndCountsAreBoundedByTheirCaps) {
    Bytes bytes = Concat({0xC8}, 200, 'x');
    Load(path, bytes, [](CArchive& ar) {
        ar.SetStringCap(100);
        EXPECT_THROW(ar.ReadString(), CArchiveException);
    });
    Load(path, {0x62, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0x63, 0, 0, 0}, [](CArchive& ar) {
        EXPECT_EQ(ar.ReadCount(98), 98);
        EXPECT_THROW(ar.ReadCount(98), CArchiveException); // -1
        EXPECT_THROW(ar.ReadCount(98), CArchiveException); // 99
    });
    Load(path, {0x01, 0x00}, [](CArchive& ar) {
        int value = 0;
        EXPECT_THROW(ar >> value, CArchiveException);
    });
}

TEST_F(ArchiveTest, DirectionIsEnforced) {
    CFile file(path, CFile::modeCreate | CFile::modeReadWrite);
    CArchive storing(&file, CArchive::store);
    int value = 0;
    EXPECT_THROW(storing >> value, CArchiveException);
    storing.Close();
    CArchive loading(&file, CArchive::load);
    EXPECT_THROW(loading << 1, CArchiveException);
}
