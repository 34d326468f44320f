#pragma once
// The status display list's files: the selection file (.unp: a header line and the code of each of
// the 20 rows) and the CSV export of what the rows show; plus the rule that puts codes read from a
// file back into the rows' combo boxes. Pure text logic and the file reads and writes, with every
// message going through the message seam.
#include "catalogue/CatalogueContext.h"
#include "shell/UserFiles.h"

#include <array>
#include <string>
#include <vector>

constexpr int UnRowCount = 20;
using UnCodes = std::array<std::string, UnRowCount>;

inline constexpr const char* UnSelectionHeader = "Un_ParaSet File Ver:0.1.231108";
inline constexpr const char* UnCsvHeader = "Un-XX Status Display Parameter Ver:0.1.231108";
inline constexpr const char* UnSelectionExt = "unp";
inline constexpr const char* UnCsvExt = "csv";
inline constexpr const char* UnSelectionFilter = "Un Parameter Set File (*.unp)|*.unp||";
inline constexpr const char* UnCsvFilter = "Un Parameter Text File (*.csv)|*.csv||";
inline constexpr const char* UnFormatErrorText =
    "Error: Failed to open file! \nThe file format is incorrect! \n";

// The codes the rows' combo boxes offer: Un-01..Un-97 that exist in the series, then, in Project
// Mode, onU01..onU52 that exist.
std::vector<std::string> UnListComboCodes(const CatalogueContext& context);

// Whether a line of a selection file names a code: exactly 5 characters beginning "Un-" or "onU",
// none of them a control character.
bool IsUnSelectionCode(const std::string& line);

// The file's bytes: header, then one code per line, LF line ends.
std::string UnSelectionText(const UnCodes& codes);

// Applies the lines of a selection file (header first) to codes. False, changing nothing, when the
// header does not contain "Un_ParaSet". Each further line fills its slot only when it names a code;
// any other line, and every slot after a short file's end, keeps what it had.
bool ApplyUnSelectionLines(const std::vector<std::string>& lines, UnCodes& codes);

using UnFileResult = UserFileResult;

// Writes the selection file to the path the save dialog gave. A name with another extension is
// refused before anything is created; a name without one gets ".unp".
UnFileResult WriteUnSelectionFile(const std::string& chosen, const UnCodes& codes);
// Reads a selection file into codes ("Open", stop icon, when it is malformed or unreadable).
UnFileResult ReadUnSelectionFile(const std::string& path, UnCodes& codes);

// The row a code from a file lands in: the first combo item that begins with the code (ignoring
// case, as a combo's search does); when there is none, item `row` and the row's value is cleared.
struct UnRowChoice {
    int selection = 0;
    bool cleared = false;
    bool operator==(const UnRowChoice&) const = default;
};
std::array<UnRowChoice, UnRowCount> MatchUnSelection(const std::vector<std::string>& comboItems,
                                                     const UnCodes& codes);

// What one row shows, as the CSV export takes it from the window.
struct UnCsvRow {
    std::string code;  // the combo's text
    std::string name;  // the name static's text (its leading blanks are dropped in the file)
    std::string value; // the value static's text
    std::string unit;  // the unit static's text, as shown
};
std::string UnCsvText(const std::array<UnCsvRow, UnRowCount>& rows);
UnFileResult WriteUnCsvFile(const std::string& chosen, const std::array<UnCsvRow, UnRowCount>& rows);
