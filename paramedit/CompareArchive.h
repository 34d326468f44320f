#pragma once
// The comparison archive (.cmp) and its comma-separated text form. The archive holds a whole
// comparison result, flagged or not; the text form lists the flagged parameters. Both are written
// in binary mode: the text form's lines end with a single LF.
#include "catalogue/CatalogueContext.h"
#include "catalogue/ParamTexts.h"
#include "paramedit/CompareResult.h"

#include <string>

class CArchive;

inline constexpr const char* CompareArchiveHeader = "ParaComp Kelo Servo Ver:0.1.220713";
inline constexpr const char* CompareFileFormatText =
    "Error: Failed to open file! \nThe file format is incorrect! \n";
inline constexpr const char* CompareOpenCaption = "Open";
inline constexpr const char* CompareNoNameText = "---";

// String ids of the texts the comparison shows.
inline constexpr int IDS_COMPARE_CODE = 61447;
inline constexpr int IDS_COMPARE_NAME = 61448;
inline constexpr int IDS_COMPARE_DEFAULT = 61452;
inline constexpr int IDS_COMPARE_READ_VALUE = 61893;
inline constexpr int IDS_COMPARE_EDIT_VALUE = 61894;
inline constexpr int IDS_COMPARE_FILE_FORMAT = 1303;
inline constexpr int IDS_COMPARE_OPEN = 1302;

// Whether an archive's first text is one of ours: it names both "ParaComp" and "Kelo Servo".
bool IsCompareArchiveHeader(const std::string& header);

// Writes the archive form. documentVersion is the active document's version text.
void StoreCompareArchive(CArchive& ar, const CompareResult& result, const std::string& documentVersion);

// Reads the archive form after its header. A block that claims more elements than its group holds
// is read and the surplus dropped; a negative count, a mode outside 0..3 or a file that ends early
// raises CArchiveException, and *result is left as it was.
void LoadCompareArchiveBody(CArchive& ar, CompareResult& result);

// Writes the file; false with the reason in *error when it cannot be written.
bool WriteCompareArchiveFile(const std::string& path, const CompareResult& result,
                             const std::string& documentVersion, std::string* error = nullptr);

// Opens a comparison archive the way the selection dialog does: a wrong header, an early end or a
// malformed count is refused with the format message captioned "Open"; a file that cannot be opened
// with the file's error. True and the result when it was read.
bool OpenCompareArchive(const std::string& path, CompareResult& result);

// The two value-column headers of a result: "Edit Value" or the first file name, then "Read Value",
// "Default" or the second file name. load gives the string-table texts; an id without an entry falls
// back to the English text.
std::string CompareColumnHeader(const CompareResult& result, int column, const StringLoader& load);

// The text form: the header line, the column headers, then one line per flagged element of all 18
// groups: code, title, value A and value B, each followed by a comma.
std::string CompareCsvText(const CompareResult& result, const CatalogueContext& context,
                           const StringLoader& load);

// Whether a chosen path gets the text form: its last three characters are "CSV" in any case.
bool IsCsvPath(const std::string& path);

// Writes the archive or the text form by the path's ending; false with the reason in *error.
bool SaveCompareResult(const std::string& path, const CompareResult& result,
                       const std::string& documentVersion, const CatalogueContext& context,
                       const StringLoader& load, std::string* error = nullptr);
