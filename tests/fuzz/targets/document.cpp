// The parameter document (.zpf): the open step and the archive load. A file that loads keeps the
// name list within its bound and comes back the same after a save and a load.
#include "tests/fuzz/FuzzSupport.h"

#include "catalogue/DocumentGlobals.h"
#include "catalogue/DocumentHost.h"
#include "catalogue/KeloServoDoc.h"

#include <vector>

namespace {

// A load may change the program-wide motor words; each input starts from the words the program
// starts with, so an input gives the same run alone and in a corpus.
void ResetProgramWords() {
    static int* const words[] = {&ModelCode,          &RatedSpeed,         &MotorEncoderResolution,
                                 &ForwardTorqueLimit, &ReverseTorqueLimit, &DriveCapacityIndex,
                                 &DriveControlMode,   &FeatureStatusWord};
    static const std::vector<int> initial = [] {
        std::vector<int> values;
        for (int* word : words)
            values.push_back(*word);
        return values;
    }();
    for (std::size_t i = 0; i < initial.size(); ++i)
        *words[i] = initial[i];
    SeriesCode = -1; // no series known yet: the open step makes no series checks
    ForeignSeriesLoadedFlag = false;
}

bool SameValues(const CKeloServoDoc& a, const CKeloServoDoc& b) {
    for (int g = 0; g < DocGroupCount; ++g)
        for (int n = 1; n <= DocGroupSize(DocGroup(g)); ++n)
            if (a.Value(DocGroup(g), n) != b.Value(DocGroup(g), n))
                return false;
    return a.m_Names == b.m_Names;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = FuzzInputFile(data, size, "input.zpf");
    ResetProgramWords();
    DocumentHost host;
    CKeloServoDoc doc(&host);
    if (!doc.OnOpenDocument(path))
        return 0;
    FuzzCheck(doc.m_Names.size() <= static_cast<std::size_t>(DocNameListMax), "name list beyond its bound");

    const std::string saved = FuzzScratchPath("saved.zpf");
    FuzzCheck(doc.OnSaveDocument(saved), "a loaded document could not be saved");
    SeriesCode = -1;
    CKeloServoDoc again(&host);
    FuzzCheck(again.OnOpenDocument(saved), "a saved document does not load");
    FuzzCheck(SameValues(doc, again), "a saved document loads with other values");
    return 0;
}
