#pragma once
// What the editor's file readers and writers share: the messages shown when a file cannot be used,
// worded as the document's own open step words them.
#include "framework/core/File.h"

#include <string>

// "Cannot open the file "<path>"." with the exclamation icon.
void ShowCannotOpenFile(const std::string& path);
// "Unexpected file format." with the exclamation icon.
void ShowUnexpectedFileFormat();
