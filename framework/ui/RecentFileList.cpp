#include "framework/ui/RecentFileList.h"

#include "framework/core/Profile.h"
#include "framework/ui/CmdUI.h"
#include "framework/ui/Menu.h"

#include <algorithm>
#include <cstdio>

CRecentFileList::CRecentFileList(UINT start, const std::string& section, const std::string& entryFormat,
                                 int size, int maxDisplayLength, const std::string& profilePath)
    : start_(start), section_(section), entryFormat_(entryFormat), size_(std::max(1, size)),
      maxDisplayLength_(maxDisplayLength), profilePath_(profilePath) {}

void CRecentFileList::Add(const std::string& path) {
    if (path.empty())
        return;
    paths_.erase(std::remove(paths_.begin(), paths_.end(), path), paths_.end());
    paths_.insert(paths_.begin(), path);
    if (static_cast<int>(paths_.size()) > size_)
        paths_.resize(static_cast<std::size_t>(size_));
}

void CRecentFileList::Remove(int index) {
    if (index >= 0 && index < Count())
        paths_.erase(paths_.begin() + index);
}

const std::string& CRecentFileList::operator[](int index) const {
    static const std::string none;
    return index >= 0 && index < Count() ? paths_[static_cast<std::size_t>(index)] : none;
}

std::string CRecentFileList::AbbreviatePath(const std::string& path, int maxLength) {
    if (maxLength <= 0 || static_cast<int>(path.size()) <= maxLength)
        return path;
    const std::size_t slash = path.find_last_of('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (slash != std::string::npos) {
        // Keep the first folder and the name, leaving out what lies between.
        const std::size_t second = path.find('/', path[0] == '/' ? 1 : 0);
        if (second != std::string::npos && second < slash) {
            const std::string shortened = path.substr(0, second + 1) + ".../" + name;
            if (static_cast<int>(shortened.size()) <= maxLength)
                return shortened;
        }
    }
    return name;
}

std::string CRecentFileList::GetDisplayName(int index) const {
    return AbbreviatePath((*this)[index], maxDisplayLength_);
}

std::string CRecentFileList::EntryName(int index) const {
    char buffer[128];
    std::snprintf(buffer, sizeof buffer, entryFormat_.c_str(), index + 1);
    return buffer;
}

void CRecentFileList::ReadList() {
    CProfile profile(profilePath_);
    profile.Load();
    paths_.clear();
    for (int i = 0; i < size_; ++i) {
        const std::string path = profile.GetString(section_, EntryName(i));
        if (!path.empty())
            paths_.push_back(path);
    }
}

bool CRecentFileList::WriteList() const {
    CProfile profile(profilePath_);
    profile.Load(); // other sections stay as they are
    for (int i = 0; i < size_; ++i) {
        if (i < Count())
            profile.WriteString(section_, EntryName(i), paths_[static_cast<std::size_t>(i)]);
        else
            profile.RemoveEntry(section_, EntryName(i));
    }
    return profile.Save();
}

void CRecentFileList::UpdateMenu(CMenu* menu) const {
    if (!menu)
        return;
    // Drop the entries shown last time (all but the first slot), then fill the slots again.
    for (int i = 1; i < size_; ++i)
        menu->DeleteMenu(start_ + static_cast<UINT>(i), MF_BYCOMMAND);
    if (Count() == 0) {
        menu->ModifyMenuText(start_, MF_BYCOMMAND, "Recent File");
        menu->EnableMenuItem(start_, MF_BYCOMMAND | MF_GRAYED);
        return;
    }
    menu->ModifyMenuText(start_, MF_BYCOMMAND, "&1 " + GetDisplayName(0));
    menu->EnableMenuItem(start_, MF_BYCOMMAND | MF_ENABLED);
    for (int i = 1; i < Count(); ++i)
        menu->InsertMenuAfter(start_ + static_cast<UINT>(i - 1), MF_BYCOMMAND | MF_STRING,
                              start_ + static_cast<UINT>(i),
                              "&" + std::to_string(i + 1) + " " + GetDisplayName(i));
}
