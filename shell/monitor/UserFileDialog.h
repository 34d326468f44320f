#pragma once
// The open and save dialogs of the files the monitor windows and dialogs let the user name: an open
// dialog wants an existing file, a save dialog asks before it replaces one.
#include "framework/core/MessageSeam.h"

inline FileDialogRequest UserFileRequest(bool open, const char* defaultExt, const char* filter) {
    FileDialogRequest request;
    request.open = open;
    request.defaultExt = defaultExt;
    request.flags = open ? OFN_FILEMUSTEXIST | OFN_HIDEREADONLY : OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    request.filter = filter;
    return request;
}
