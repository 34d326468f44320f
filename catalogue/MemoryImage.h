#pragma once
// The drive memory image as a text file (.dat): 1024 words, one assembler-style data line each,
// behind a three-line header. Export writes it; import reads it back into a word array.
#include <string>

constexpr int MemoryImageWordCount = 1024;
constexpr int MemoryImageInvalidStringId = 61728;
inline constexpr const char* MemoryImageInvalidText = "The file is not a valid Kelo Servo memory image.";
inline constexpr const char* MemoryImageHeader = "; Kelo Servo v0.1.201221";

// The file text with "\n" line ends (the file itself is written in text mode, CR LF).
std::string FormatMemoryImage(const int* words);

// Writes the image to path; false when the file cannot be written.
bool ExportMemoryImage(const std::string& path, const int* words);

struct MemoryImageImport {
    bool valid = false;  // the image may be written to the drive
    int wordsRead = 0;   // words taken from the file into the image
    std::string message; // why it is not valid (empty when valid)
};

// Reads a memory image file into words (1024 entries). Words are stored, sign-extended from 16 bits,
// as they are read, so a refused file may still have changed the first ones. The file is valid when
// its extension is "dat" (any case), its header names the product, it holds 1023 or 1024 data words
// and every data word is four hexadecimal digits.
MemoryImageImport ImportMemoryImage(const std::string& path, int* words);
