#include "DocumentTestSupport.h"

#include "catalogue/MemoryImage.h"

#include <cstdio>
#include <fstream>

namespace {

std::string DataLine(const std::string& value, int index) {
    char line[64];
    std::snprintf(line, sizeof line, "\t.DATA.W   H'%s   ;%04X   ", value.c_str(), index);
    return line;
}

// A memory image text with `count` data lines whose values are the index plus 0x100.
std::string ImageText(int count, const std::string& header = "; Kelo Servo v0.1.201221") {
    std::string text = header + "\r\n;\r\n;\r\n";
    char value[8];
    for (int i = 0; i < count; ++i) {
        std::snprintf(value, sizeof value, "%04X", (i + 0x100) & 0xFFFF);
        text += DataLine(value, i) + "\r\n";
        if (i % 16 == 15)
            text += "\r\n";
    }
    return text;
}

void WriteText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

} // namespace

TEST_F(DocumentTest, MemoryImageExportLayout) {
    int words[MemoryImageWordCount] = {};
    words[0] = 0x1234;
    words[1] = -1;
    words[2] = -2;
    words[1023] = 0xABCD;
    ASSERT_TRUE(ExportMemoryImage(Scratch("image.dat"), words));
    const std::vector<unsigned char> bytes = ReadBytes(Scratch("image.dat"));
    const std::string text(bytes.begin(), bytes.end());

    std::string expected = "; Kelo Servo v0.1.201221\r\n;\r\n;\r\n";
    expected += "\t.DATA.W   H'1234   ;0000   \r\n";
    expected += "\t.DATA.W   H'FFFF   ;0001   \r\n";
    expected += "\t.DATA.W   H'FFFE   ;0002   \r\n";
    EXPECT_EQ(text.substr(0, expected.size()), expected);
    EXPECT_EQ(text.substr(text.size() - 32), "\t.DATA.W   H'ABCD   ;03FF   \r\n\r\n");
    // 3 header lines, 1024 data lines of 28 characters, 64 empty lines, all ending in CR LF.
    EXPECT_EQ(bytes.size(), (24 + 2) + 2 * (1 + 2) + 1024 * (28 + 2) + 64 * 2u);
    int lines = 0;
    for (unsigned char c : bytes)
        lines += c == '\n';
    EXPECT_EQ(lines, 3 + 1024 + 64);

    // And it reads back.
    int back[MemoryImageWordCount] = {};
    const MemoryImageImport result = ImportMemoryImage(Scratch("image.dat"), back);
    EXPECT_TRUE(result.valid);
    EXPECT_EQ(result.wordsRead, 1024);
    EXPECT_EQ(back[1], -1);
    EXPECT_EQ(back[2], -2);
    EXPECT_EQ(back[1023], 0xABCD - 0x10000);
}

TEST_F(DocumentTest, MemoryImageImportWordCounts) {
    struct Case {
        int lines;
        bool valid;
    } cases[] = {{1022, false}, {1023, true}, {1024, true}, {1025, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lines);
        WriteText(Scratch("count.dat"), ImageText(c.lines));
        int words[MemoryImageWordCount];
        std::fill(std::begin(words), std::end(words), 7);
        const MemoryImageImport result = ImportMemoryImage(Scratch("count.dat"), words);
        EXPECT_EQ(result.valid, c.valid);
        EXPECT_EQ(result.message.empty(), c.valid);
        EXPECT_EQ(words[0], 0x100);
        EXPECT_EQ(words[1021], 0x100 + 1021);
        // 1023 lines leave the last word as it was.
        EXPECT_EQ(words[1023], c.lines >= 1024 ? 0x100 + 1023 : 7);
    }
}

TEST_F(DocumentTest, MemoryImageImportRefusals) {
    struct Case {
        const char* name;
        std::string text;
        bool valid;
    } cases[] = {
        {"bare-header.dat", ImageText(1024, ";Kelo Servo"), true},
        {"upper.DAT", ImageText(1024), true},
        {"no-semicolon.dat", ImageText(1024, "Kelo Servo v0.1.201221"), false},
        {"far-name.dat", ImageText(1024, ";                         Kelo Servo"), false},
        {"other-product.dat", ImageText(1024, "; Other Servo v0.1.201221"), false},
        {"image.txt", ImageText(1024), false},
        {"empty.dat", "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteText(Scratch(c.name), c.text);
        int words[MemoryImageWordCount] = {};
        const MemoryImageImport result = ImportMemoryImage(Scratch(c.name), words);
        EXPECT_EQ(result.valid, c.valid);
        if (!c.valid) {
            EXPECT_EQ(result.message, MemoryImageInvalidText);
        }
    }
}

TEST_F(DocumentTest, MemoryImageDataLines) {
    // Commented data lines and lines without a value are skipped; FFFF is -1; LF line ends are read.
    std::string text = "; Kelo Servo v0.1.201221\n;\n;\n";
    text += ";\t.DATA.W   H'1111   ;0000   \n";
    text += "\t.DATA.W   H'FFFF   ;0000   \n";
    text += "garbage without a value\n";
    for (int i = 1; i < 1024; ++i)
        text += DataLine("0001", i) + "\n";
    WriteText(Scratch("lines.dat"), text);
    int words[MemoryImageWordCount] = {};
    MemoryImageImport result = ImportMemoryImage(Scratch("lines.dat"), words);
    EXPECT_TRUE(result.valid);
    EXPECT_EQ(words[0], -1);
    EXPECT_EQ(words[1], 1);

    // A value that is not four hexadecimal digits makes the file invalid; earlier words stay.
    for (const char* bad : {"12G4", "12 4", "-123", "12"}) {
        SCOPED_TRACE(bad);
        std::string broken = ImageText(10);
        broken += DataLine(bad, 10) + "\r\n";
        broken += ImageText(1024).substr(ImageText(0).size());
        WriteText(Scratch("bad.dat"), broken);
        int image[MemoryImageWordCount] = {};
        result = ImportMemoryImage(Scratch("bad.dat"), image);
        EXPECT_FALSE(result.valid);
        EXPECT_EQ(result.message, MemoryImageInvalidText);
        EXPECT_EQ(result.wordsRead, 10);
        EXPECT_EQ(image[9], 0x109);
    }
    // A line cut short after the marker.
    WriteText(Scratch("cut.dat"), ImageText(5) + "\t.DATA.W   H'12");
    int image[MemoryImageWordCount] = {};
    EXPECT_FALSE(ImportMemoryImage(Scratch("cut.dat"), image).valid);
}
