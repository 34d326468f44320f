// The drive memory image text (.dat): a valid image exports to a file that imports to the same words.
#include "tests/fuzz/FuzzSupport.h"

#include "catalogue/MemoryImage.h"

#include <array>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = FuzzInputFile(data, size, "input.dat");
    std::array<int, MemoryImageWordCount> words{};
    const MemoryImageImport read = ImportMemoryImage(path, words.data());
    FuzzCheck(read.wordsRead >= 0 && read.wordsRead <= MemoryImageWordCount,
              "more words than the image holds");
    if (!read.valid)
        return 0;
    for (int& word : words)
        FuzzCheck(word >= -32768 && word <= 65535, "a word wider than 16 bits");
    const std::string saved = FuzzScratchPath("saved.dat");
    FuzzCheck(ExportMemoryImage(saved, words.data()), "a read image cannot be exported");
    std::array<int, MemoryImageWordCount> again{};
    FuzzCheck(ImportMemoryImage(saved, again.data()).valid, "an exported image does not import");
    for (int i = 0; i < MemoryImageWordCount; ++i)
        FuzzCheck((again[i] & 0xFFFF) == (words[i] & 0xFFFF), "an image changes through an export");
    return 0;
}
