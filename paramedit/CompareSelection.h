#pragma once
// The choices of a comparison: the mode and document files that the Compare command remembers, the
// rules of the selection dialog, and the checks and reads of the picked document files.
#include "paramedit/CompareResult.h"

#include <string>

inline constexpr const char* CompareSeriesMismatchText = "Series do not match! Could not open file!";

struct CompareChoices {
    int mode = CompareDrive;
    std::string filePath; // mode 2
    std::string fileName;
    std::string file1Path; // mode 3
    std::string file1Name;
    std::string file2Path;
    std::string file2Name;
    bool operator==(const CompareChoices&) const = default;
};

// After OK in the selection dialog: the dialog's mode, and the texts of that mode; the texts of the
// other modes are emptied (all six for modes 0 and 1). A mode outside 0..3 changes no text.
void AcceptCompareChoices(CompareChoices& remembered, const CompareChoices& dialog);

// The mode the dialog opens with: without a drive the drive mode cannot be chosen and becomes 1.
int InitialCompareMode(int mode, bool connected);

struct CompareSelectionControls {
    bool driveMode = true; // radio of mode 0
    bool file = false;     // "File..."
    bool file1 = false;    // "File 1..."
    bool file2 = false;    // "File 2..."
};
CompareSelectionControls CompareSelectionState(int mode, bool connected);

// The name after the last '/'.
std::string BareFileName(const std::string& path);

// Checks a document file picked for a comparison: its first text must name "KELO Servo" and must not
// be a comparison archive ("ParaComp"), and its series must be seriesCode. A refusal is shown
// (captioned "Open", stop icon) and gives false.
bool CheckComparisonDocument(const std::string& path, int seriesCode);

// Reads the values of a comparison document; a file that cannot be opened or read is reported and
// gives false.
bool LoadComparisonDocument(const std::string& path, DocumentValueSet& set);
