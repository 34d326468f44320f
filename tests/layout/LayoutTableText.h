#pragma once
// Reads a layout table from its written form: a heading "Horizontal <mode>, vertical <mode> (...)"
// before each list and one row "| <id> | kind | caption |" per control. The expected layout of a
// window comes from this text, not from the program's own table.
#include "layout/LayoutControls.h"

#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>

struct WrittenModes {
    AxisMode horizontal;
    AxisMode vertical;
};

inline AxisMode AxisModeFromWord(const std::string& word) {
    if (word == "move")
        return AxisMode::Move;
    if (word == "stretch")
        return AxisMode::Stretch;
    return AxisMode::Fixed;
}

// id -> modes; `duplicates` counts ids written twice.
inline std::map<int, WrittenModes> ReadWrittenLayoutTable(const std::string& path,
                                                          int* duplicates = nullptr) {
    std::ifstream in(path);
    std::map<int, WrittenModes> table;
    const std::regex heading(R"(^Horizontal (fixed|move|stretch), vertical (fixed|move|stretch) \()");
    const std::regex row(R"(^\|\s*(\d+)\s*\|)");
    WrittenModes current{AxisMode::Fixed, AxisMode::Fixed};
    bool inList = false;
    std::string line;
    std::smatch match;
    while (std::getline(in, line)) {
        if (std::regex_search(line, match, heading)) {
            current = {AxisModeFromWord(match[1]), AxisModeFromWord(match[2])};
            inList = true;
        } else if (inList && std::regex_search(line, match, row)) {
            const int id = std::stoi(match[1]);
            if (!table.emplace(id, current).second && duplicates != nullptr)
                ++*duplicates;
        }
    }
    return table;
}
