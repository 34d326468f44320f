#include "framework/ui/Clipboard.h"

#include "framework/ui/Gdi.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace {
bool clipboardOpen = false;

QClipboard* Board() {
    return QGuiApplication::instance() ? QGuiApplication::clipboard() : nullptr;
}
} // namespace

bool OpenClipboard(CWnd*) {
    if (clipboardOpen || !Board())
        return false;
    clipboardOpen = true;
    return true;
}

bool EmptyClipboard() {
    if (!clipboardOpen)
        return false;
    Board()->clear();
    return true;
}

bool SetClipboardData(UINT format, const CBitmap* bitmap) {
    if (!clipboardOpen || format != CF_BITMAP || !bitmap || !bitmap->IsCreated())
        return false;
    Board()->setImage(bitmap->Image());
    return true;
}

bool SetClipboardText(const std::string& text) {
    if (!clipboardOpen)
        return false;
    Board()->setText(QString::fromStdString(text));
    return true;
}

bool CloseClipboard() {
    const bool was = clipboardOpen;
    clipboardOpen = false;
    return was;
}

bool IsClipboardFormatAvailable(UINT format) {
    QClipboard* board = Board();
    const QMimeData* data = board ? board->mimeData() : nullptr;
    if (!data)
        return false;
    return format == CF_BITMAP ? data->hasImage() : format == CF_TEXT ? data->hasText() : false;
}

QImage GetClipboardImage() {
    return Board() ? Board()->image() : QImage();
}

std::string GetClipboardText() {
    return Board() ? Board()->text().toStdString() : std::string();
}
