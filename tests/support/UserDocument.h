#pragma once
// What the user has in a document: its Hn values, what a save writes and whether it is marked
// changed. Windows that only read from the drive for their own display must leave all three alone.
#include "catalogue/KeloServoDoc.h"

#include <array>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>

struct UserDocument {
    std::array<int, 24> hn{};
    std::string saved;
    bool modified = false;
    bool operator==(const UserDocument&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const UserDocument& d) {
    out << "Hn601-Hn624";
    for (int v : d.hn)
        out << ' ' << std::hex << v << std::dec;
    return out << ", " << d.saved.size() << " bytes saved, " << (d.modified ? "modified" : "not modified");
}

// Takes it without changing it: the save writes to `path` (a scratch file), and the modified flag
// the save clears is put back.
inline UserDocument TakeUserDocument(CKeloServoDoc& doc, const std::string& path) {
    UserDocument d;
    for (int n = 1; n <= 24; ++n)
        d.hn[static_cast<size_t>(n - 1)] = doc.Value(DocHn, n);
    d.modified = doc.IsModified();
    if (doc.OnSaveDocument(path)) {
        std::ifstream file(path, std::ios::binary);
        d.saved.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }
    doc.SetModifiedFlag(d.modified);
    return d;
}

// Unsaved edits of the user that differ from what a simulated drive of series 4 runs its pins with:
// DI-1 ALRS (the drive: SON), DO-1 ZS (the drive: RDY); the document as it then is.
inline UserDocument EditPinFunctions(CKeloServoDoc& doc, const std::string& path) {
    doc.Value(DocHn, 1) = 0x0002;
    doc.Value(DocHn, 13) = 0x0003;
    doc.SetModifiedFlag(true);
    return TakeUserDocument(doc, path);
}
