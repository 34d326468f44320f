#include "framework/core/Profile.h"

#include "framework/core/Format.h"
#include "framework/core/Paths.h"
#include "framework/core/StdioFile.h"

namespace {
// Entry names cannot hold '=' and no name or value may span lines, or the file would read back
// differently.
std::string OneLine(std::string text) {
    for (char& c : text)
        if (c == '\r' || c == '\n')
            c = ' ';
    return text;
}
} // namespace

CProfile::CProfile(std::string path) : path_(path.empty() ? ProfilePath() : std::move(path)) {}

CProfile::Section* CProfile::FindSection(const std::string& name) {
    for (Section& section : sections_)
        if (EqualsNoCase(section.name, name))
            return &section;
    return nullptr;
}

const CProfile::Section* CProfile::FindSection(const std::string& name) const {
    return const_cast<CProfile*>(this)->FindSection(name);
}

bool CProfile::Load() {
    sections_.clear();
    CStdioFile file;
    if (path_.empty() || !file.Open(path_, CFile::modeRead | CFile::typeBinary))
        return false;
    Section* current = nullptr;
    std::string line;
    try {
        while (file.ReadString(line)) {
            std::string text = Trim(line);
            if (text.empty() || text[0] == ';' || text[0] == '#')
                continue;
            if (text.front() == '[' && text.back() == ']') {
                std::string name = Trim(text.substr(1, text.size() - 2));
                current = FindSection(name);
                if (!current) {
                    sections_.push_back({name, {}});
                    current = &sections_.back();
                }
                continue;
            }
            int equals = FindChar(text, '=');
            if (!current || equals <= 0)
                continue;
            std::string entry = Trim(Left(text, equals));
            std::string value = Trim(Mid(text, equals + 1));
            bool replaced = false;
            for (auto& [key, old] : current->entries)
                if (EqualsNoCase(key, entry)) {
                    old = value;
                    replaced = true;
                }
            if (!replaced)
                current->entries.emplace_back(entry, value);
        }
    } catch (const CFileException&) {
        return false;
    }
    return true;
}

bool CProfile::Save() const {
    if (path_.empty())
        return false;
    std::string text;
    for (const Section& section : sections_) {
        text += "[" + section.name + "]\n";
        for (const auto& [entry, value] : section.entries)
            text += entry + "=" + value + "\n";
        text += "\n";
    }
    return ReplaceFileContents(path_, text, nullptr, CFile::modePrivate);
}

std::string CProfile::GetString(const std::string& section, const std::string& entry,
                                const std::string& fallback) const {
    if (const Section* found = FindSection(section))
        for (const auto& [key, value] : found->entries)
            if (EqualsNoCase(key, entry))
                return value;
    return fallback;
}

int CProfile::GetInt(const std::string& section, const std::string& entry, int fallback) const {
    auto value = ParseInt(GetString(section, entry));
    return value ? *value : fallback;
}

bool CProfile::HasEntry(const std::string& section, const std::string& entry) const {
    if (const Section* found = FindSection(section))
        for (const auto& pair : found->entries)
            if (EqualsNoCase(pair.first, entry))
                return true;
    return false;
}

void CProfile::WriteString(const std::string& section, const std::string& entry, const std::string& value) {
    Section* found = FindSection(section);
    if (!found) {
        sections_.push_back({OneLine(section), {}});
        found = &sections_.back();
    }
    std::string line = Trim(OneLine(value));
    std::string name = OneLine(entry);
    Replace(name, "=", "_");
    name = Trim(name);
    for (auto& [key, old] : found->entries)
        if (EqualsNoCase(key, name)) {
            old = line;
            return;
        }
    found->entries.emplace_back(name, line);
}

void CProfile::WriteInt(const std::string& section, const std::string& entry, int value) {
    WriteString(section, entry, std::to_string(value));
}

void CProfile::RemoveEntry(const std::string& section, const std::string& entry) {
    if (Section* found = FindSection(section))
        std::erase_if(found->entries, [&](const auto& pair) { return EqualsNoCase(pair.first, entry); });
}

void CProfile::RemoveSection(const std::string& section) {
    std::erase_if(sections_, [&](const Section& s) { return EqualsNoCase(s.name, section); });
}
