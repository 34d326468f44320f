#include "paramedit/CompareSelection.h"

#include "framework/core/Archive.h"
#include "framework/core/File.h"
#include "framework/core/MessageSeam.h"
#include "paramedit/CompareArchive.h"
#include "paramedit/EditorFiles.h"

void AcceptCompareChoices(CompareChoices& remembered, const CompareChoices& dialog) {
    remembered.mode = dialog.mode;
    switch (dialog.mode) {
    case CompareDrive:
    case CompareDefaults:
        remembered = CompareChoices{dialog.mode, {}, {}, {}, {}, {}, {}};
        break;
    case CompareFile:
        remembered.filePath = dialog.filePath;
        remembered.fileName = dialog.fileName;
        remembered.file1Path.clear();
        remembered.file1Name.clear();
        remembered.file2Path.clear();
        remembered.file2Name.clear();
        break;
    case CompareTwoFiles:
        remembered.filePath.clear();
        remembered.fileName.clear();
        remembered.file1Path = dialog.file1Path;
        remembered.file1Name = dialog.file1Name;
        remembered.file2Path = dialog.file2Path;
        remembered.file2Name = dialog.file2Name;
        break;
    default:
        break;
    }
}

int InitialCompareMode(int mode, bool connected) {
    return !connected && mode == CompareDrive ? CompareDefaults : mode;
}

CompareSelectionControls CompareSelectionState(int mode, bool connected) {
    CompareSelectionControls controls;
    controls.driveMode = connected;
    controls.file = mode == CompareFile;
    controls.file1 = controls.file2 = mode == CompareTwoFiles;
    return controls;
}

std::string BareFileName(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool CheckComparisonDocument(const std::string& path, int seriesCode) {
    const auto refuse = [](const char* text) {
        ShowMessage(text, CompareOpenCaption, MB_OK | MB_ICONSTOP);
        return false;
    };
    CFile file;
    if (!file.Open(path, CFile::modeRead | CFile::typeBinary))
        return refuse(CompareFileFormatText);
    try {
        CArchive ar(&file, CArchive::load);
        std::string header;
        ar >> header;
        if (header.find("ParaComp") != std::string::npos || header.find("KELO Servo") == std::string::npos)
            return refuse(CompareFileFormatText);
        int series = 0;
        ar >> series;
        if (series != seriesCode)
            return refuse(CompareSeriesMismatchText);
        ar.Close();
    } catch (const std::exception&) {
        return refuse(CompareFileFormatText);
    }
    return true;
}

bool LoadComparisonDocument(const std::string& path, DocumentValueSet& set) {
    if (!FileExists(path)) {
        ShowCannotOpenFile(path);
        return false;
    }
    if (!ReadDocumentValues(path, set)) {
        ShowUnexpectedFileFormat();
        return false;
    }
    return true;
}
