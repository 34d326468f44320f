#include "paramedit/EditorFiles.h"

#include "catalogue/DocArchive.h"
#include "framework/core/File.h"
#include "framework/core/MessageSeam.h"

void ShowCannotOpenFile(const std::string& path) {
    ShowMessage("Cannot open the file \"" + path + "\".", std::string(), MB_OK | MB_ICONEXCLAMATION);
}

void ShowUnexpectedFileFormat() {
    ShowMessage(UnexpectedFormatText, std::string(), MB_OK | MB_ICONEXCLAMATION);
}
