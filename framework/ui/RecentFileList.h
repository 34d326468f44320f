#pragma once
// The recent-file list: the last opened or saved paths, newest first, kept in the per-user profile
// under a section with numbered entries ("MyFile1" ...), and shown in the File menu as "&1 name".
#include "framework/core/Types.h"

#include <string>
#include <vector>

class CMenu;
class CCmdUI;

class CRecentFileList {
public:
    // entryFormat holds one %d for the entry number (counted from 1).
    CRecentFileList(UINT start, const std::string& section, const std::string& entryFormat, int size,
                    int maxDisplayLength = 30, const std::string& profilePath = std::string());

    // Puts the path first; an existing entry moves up, the oldest falls off a full list.
    void Add(const std::string& path);
    void Remove(int index);
    int GetSize() const { return size_; }
    int Count() const { return static_cast<int>(paths_.size()); }
    // "" beyond the entries held.
    const std::string& operator[](int index) const;

    // The name shown for an entry: the whole path when it fits the display length, else the path with
    // its middle folders left out ("/home/.../name.zpf"), else the file name alone.
    std::string GetDisplayName(int index) const;
    static std::string AbbreviatePath(const std::string& path, int maxLength);

    // Reads and writes the profile; false when the profile file cannot be written.
    void ReadList();
    bool WriteList() const;

    // Puts the entries into the menu in place of the item with the first entry's command id (and the
    // entries shown before); with no entries the first item stays, greyed, as "Recent File".
    void UpdateMenu(CMenu* menu) const;

private:
    std::string EntryName(int index) const;

    UINT start_;
    std::string section_;
    std::string entryFormat_;
    int size_;
    int maxDisplayLength_;
    std::string profilePath_;
    std::vector<std::string> paths_;
};
