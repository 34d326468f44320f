#pragma once
// A small "[Section]" / "key=value" file, used for the per-user profile (recent-file list).
// Section and entry names are compared ignoring case and kept in the order first written. Saving
// writes a temporary file beside the target and renames it over, so a crash never leaves half a file.
#include <string>
#include <utility>
#include <vector>

class CProfile {
public:
    // An empty path means the per-user profile file.
    explicit CProfile(std::string path = std::string());

    // Reads the file; a missing file gives an empty profile and false. Malformed lines are skipped.
    bool Load();
    // Writes the file atomically; false when it cannot be written (the old file is then untouched).
    bool Save() const;

    std::string GetString(const std::string& section, const std::string& entry,
                          const std::string& fallback = std::string()) const;
    int GetInt(const std::string& section, const std::string& entry, int fallback = 0) const;
    bool HasEntry(const std::string& section, const std::string& entry) const;
    // Values are kept on one line: line ends in a value are replaced by blanks.
    void WriteString(const std::string& section, const std::string& entry, const std::string& value);
    void WriteInt(const std::string& section, const std::string& entry, int value);
    void RemoveEntry(const std::string& section, const std::string& entry);
    void RemoveSection(const std::string& section);

    const std::string& Path() const { return path_; }

private:
    struct Section {
        std::string name;
        std::vector<std::pair<std::string, std::string>> entries;
    };
    Section* FindSection(const std::string& name);
    const Section* FindSection(const std::string& name) const;

    std::string path_;
    std::vector<Section> sections_;
};
