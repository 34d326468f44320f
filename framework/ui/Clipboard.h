#pragma once
// The clipboard, in the open / empty / set / close pattern callers use. Data are copied when they are
// set, so the caller keeps (and may delete) its bitmap.
#include "framework/core/Types.h"

#include <QImage>

#include <string>

class CWnd;
class CBitmap;

enum : UINT { CF_TEXT = 1, CF_BITMAP = 2 };

// False when the clipboard is already open (by anyone in this program).
bool OpenClipboard(CWnd* owner = nullptr);
bool EmptyClipboard();
// Only while open; false for a bitmap that was never created.
bool SetClipboardData(UINT format, const CBitmap* bitmap);
bool SetClipboardText(const std::string& text);
bool CloseClipboard();
bool IsClipboardFormatAvailable(UINT format);

// What the clipboard holds now (null / empty when there is no such data).
QImage GetClipboardImage();
std::string GetClipboardText();
