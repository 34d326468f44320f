// Replays files through a fuzz target without libFuzzer: every file named, and every file of every
// folder named, in name order. Fails when there was nothing to replay, so a moved seed folder does
// not pass unnoticed.
#include "tests/fuzz/FuzzSupport.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <vector>

namespace fs = std::filesystem;

int main(int argc, char** argv) {
    std::vector<fs::path> inputs;
    for (int i = 1; i < argc; ++i) {
        const fs::path named = argv[i];
        if (fs::is_directory(named)) {
            for (const fs::directory_entry& entry : fs::directory_iterator(named))
                if (entry.is_regular_file())
                    inputs.push_back(entry.path());
        } else if (fs::is_regular_file(named)) {
            inputs.push_back(named);
        } else {
            std::cerr << "replay: no such file or folder: " << named << "\n";
            return 2;
        }
    }
    std::sort(inputs.begin(), inputs.end());
    if (inputs.empty()) {
        std::cerr << "replay: nothing to replay\n";
        return 2;
    }
    for (const fs::path& input : inputs) {
        std::ifstream in(input, std::ios::binary);
        const std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        std::cout << "replay: " << input.string() << " (" << bytes.size() << " bytes)" << std::endl;
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    }
    std::cout << "replay: " << inputs.size() << " inputs passed" << std::endl;
    return 0;
}
