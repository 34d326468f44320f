#pragma once
// The parameter document archive (.zpf): the checks made before a file is opened and the hand-off
// of a foreign file to a fresh instance. The layout itself is CKeloServoDoc::Serialize.
#include <string>

// Texts the user sees.
inline constexpr const char* SeriesMismatchText = "Series do not match! Could not open file!";
inline constexpr const char* ProcessFailedText = "process failed!";
inline constexpr const char* MotorTypeChangedText = "Motor Type changed!";
inline constexpr const char* UnexpectedFormatText = "Unexpected file format.";
// Followed by the system's reason.
inline constexpr const char* SaveFailedText =
    "The parameter file could not be saved.\nThe previous file is unchanged.\n\n";
inline constexpr const char* SaveQuestionText = "The parameter content has changed, do you want to save it?";
inline constexpr const char* DocumentMagic = "KELO";

// The stand-in file examined when the chosen document cannot be opened (temporary folder).
inline constexpr const char* DocumentStandInName = "zq2comfile.ini";
// The hand-off file a fresh instance reads at start (temporary folder).

// Date stamp of a version text: the decimal digits after its last '.'.
int VersionTextStamp(const std::string& versionText);
// Date stamp used by the open checks: the value of the last six characters, 0 for a text shorter
// than seven characters.
int VersionTextTailStamp(const std::string& versionText);

struct DocumentOpenCheck {
    enum Outcome {
        Load,    // open it
        Refuse,  // show message, keep everything as it is
        HandOff, // a foreign file given on the command line: pass it to a fresh instance
    };
    Outcome outcome = Load;
    std::string message;
};

// Steps before a document is loaded: reads the version text and series at the head of the file (or
// of the stand-in when the file cannot be opened) and decides. seriesCode -1 loads without checks.
DocumentOpenCheck CheckDocumentOpen(const std::string& path, int seriesCode, bool documentGiven);

// Writes the hand-off file anew with "2" and the document path; false when it cannot be created.
bool WriteHandOffFile(const std::string& documentPath);
