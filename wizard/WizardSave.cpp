#include "wizard/WizardSave.h"

#include "catalogue/KeloServoDoc.h"
#include "framework/core/Archive.h"
#include "framework/core/File.h"
#include "wizard/CollectedSet.h"

#include <vector>

namespace {

// A file that keeps what the archive writes in memory.
class MemoryFile : public CFile {
public:
    void Write(const void* buffer, std::size_t count) override {
        bytes.append(static_cast<const char*>(buffer), count);
    }
    void Flush() override {}
    void Close() override {}
    void Abort() override {}
    std::uint64_t GetPosition() const override { return bytes.size(); }
    std::string bytes;
};

// Puts values into document groups and puts the old ones back when it goes.
class GroupSwap {
public:
    explicit GroupSwap(CKeloServoDoc& doc) : doc_(doc) {}
    ~GroupSwap() {
        for (auto it = kept_.rbegin(); it != kept_.rend(); ++it)
            for (int n = 1; n <= static_cast<int>(it->values.size()); ++n)
                doc_.Value(it->group, n) = it->values[static_cast<size_t>(n - 1)];
    }
    GroupSwap(const GroupSwap&) = delete;
    GroupSwap& operator=(const GroupSwap&) = delete;

    void Put(DocGroup group, const int* values) {
        Kept k{group, {}};
        const int count = DocGroupSize(group);
        for (int n = 1; n <= count; ++n) {
            k.values.push_back(doc_.Value(group, n));
            doc_.Value(group, n) = values[n - 1];
        }
        kept_.push_back(std::move(k));
    }

private:
    struct Kept {
        DocGroup group;
        std::vector<int> values;
    };
    CKeloServoDoc& doc_;
    std::vector<Kept> kept_;
};

} // namespace

std::string WizardSaveBytes(CKeloServoDoc& doc, const CollectedSet& set) {
    CollectedSet& source = const_cast<CollectedSet&>(set);
    GroupSwap swap(doc);
    swap.Put(DocCn, source.Values().Cn);
    swap.Put(DocTn, source.Values().Tn);
    swap.Put(DocSn, source.Values().Sn);
    swap.Put(DocPn3, source.Values().Pn);
    swap.Put(DocHn, source.Values().Hn);
    if (set.UseDefaults) {
        const WizardDefaultSet& defaults = set.Defaults();
        swap.Put(Docqn, defaults.qn);
        std::vector<int> onS;
        for (int n = 1; n <= DocGroupSize(DoconS); ++n)
            onS.push_back(doc.Default(DoconS, n));
        swap.Put(DoconS, onS.data());
        swap.Put(DoconC, defaults.onC);
        swap.Put(Doctn, defaults.tn);
    }
    MemoryFile file;
    CArchive archive(&file, CArchive::store);
    doc.Serialize(archive);
    archive.Close();
    return file.bytes;
}

bool WriteWizardDocument(const std::string& path, CKeloServoDoc& doc, const CollectedSet& set,
                         std::string* error) {
    std::string bytes;
    try {
        bytes = WizardSaveBytes(doc, set);
    } catch (const std::exception& e) {
        if (error)
            *error = e.what();
        return false;
    }
    return ReplaceFileContents(path, bytes, error);
}
