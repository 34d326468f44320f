#include "shell/PortChoice.h"

#include "framework/core/Format.h"
#include "framework/core/Paths.h"
#include "framework/core/StdioFile.h"

#include <set>

namespace {

struct ChoiceFile {
    std::string path;
    unsigned extraFlags;
};

// The temporary folder is shared ground: its files are never opened through a symbolic link.
std::vector<ChoiceFile> ChoiceFiles() {
    std::vector<ChoiceFile> files{{ProgramFolderFile(PortChoiceFileName), 0}};
    const std::string temporary = TempFolderFile(PortChoiceFileName);
    if (!temporary.empty())
        files.push_back({temporary, CFile::modeNoFollow});
    return files;
}

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

} // namespace

int BoundedBaudRateIndex(int index) {
    return index >= 0 && index < static_cast<int>(BaudRates.size()) ? index : DefaultBaudRateIndex;
}

int BaudRateFromIndex(int index) {
    return BaudRates[static_cast<size_t>(BoundedBaudRateIndex(index))];
}

std::vector<std::string> PortListEntries(const std::vector<PortInfo>& ports, const PortFreeTest& isFree) {
    std::vector<std::string> entries;
    std::set<std::string> listed;
    for (const PortInfo& port : ports) {
        if (!listed.insert(port.name).second)
            continue;
        std::string entry = PortEntry(port);
        if (Find(entry, "CDC") >= 0 && isFree && !isFree(port.name))
            entry += PortBusyMark;
        entries.push_back(std::move(entry));
    }
    return entries;
}

bool IsUsbPort(const PortInfo& port) {
    return Find(port.description, "USB") >= 0 || Find(port.description, "CDC") >= 0;
}

PortSelection ChoosePortSelection(const std::vector<std::string>& entries, const std::string& portText,
                                  const std::optional<std::string>& fileLine) {
    const int count = static_cast<int>(entries.size());
    int index = count > 0 ? 0 : -1;
    for (int i = 0; i < count; ++i)
        if (PortNameFromEntry(entries[static_cast<size_t>(i)]) == portText)
            index = i;
    if (fileLine && count > 0) {
        bool equal = false;
        for (const std::string& entry : entries)
            equal = equal || entry == *fileLine;
        // A line that names no listed port (the port is gone, or busy and so marked) falls back to
        // the first entry, which is then the choice the Connect button takes.
        index = 0;
        if (equal)
            for (int i = 0; i < count; ++i)
                if (StartsWith(entries[static_cast<size_t>(i)], *fileLine)) {
                    index = i;
                    break;
                }
    }
    PortSelection selection;
    selection.index = index;
    if (index >= 0)
        selection.text = entries[static_cast<size_t>(index)];
    return selection;
}

std::optional<std::string> ReadPortChoice() {
    for (const ChoiceFile& candidate : ChoiceFiles()) {
        CStdioFile file;
        if (!file.Open(candidate.path, CFile::modeRead | CFile::typeText | candidate.extraFlags))
            continue;
        std::string line;
        try {
            if (!file.ReadString(line))
                line.clear();
        } catch (const CFileException&) {
            line.clear();
        }
        return line;
    }
    return std::nullopt;
}

bool SavePortChoice(const std::string& entry) {
    for (const ChoiceFile& candidate : ChoiceFiles()) {
        CStdioFile file;
        if (!file.Open(candidate.path,
                       CFile::modeReplace | CFile::modeWrite | CFile::typeText | candidate.extraFlags))
            continue;
        try {
            file.WriteString(entry + "\n");
            file.Close();
            return true;
        } catch (const CFileException&) {
            file.Abort();
            return false;
        }
    }
    return false;
}
