#include "controls/EditBuffer.h"

#include <algorithm>

namespace {
constexpr unsigned kKeyEnd = 0x23, kKeyHome = 0x24, kKeyLeft = 0x25, kKeyRight = 0x27;
}

EditBuffer::EditBuffer(EditKind kind, const std::string& mask, int maxWhole, int maxDecimals)
    : rules_(kind, this, mask, maxWhole, maxDecimals) {}

void EditBuffer::Type(const std::string& utf8) {
    for (EditChar c : ToEditText(utf8))
        SendChar(c);
}

void EditBuffer::GetSel(int& start, int& end) const {
    start = std::min(start_, end_);
    end = std::max(start_, end_);
}

void EditBuffer::SetSel(int start, int end) {
    const int length = static_cast<int>(text_.size());
    if (start < 0) { // as the platform: a negative start removes the selection
        start_ = end_ = std::clamp(end, 0, length);
        return;
    }
    start_ = std::clamp(start, 0, length);
    end_ = end < 0 ? length : std::clamp(end, 0, length);
}

void EditBuffer::ReplaceSel(const EditText& text) {
    int start = 0, end = 0;
    GetSel(start, end);
    text_.replace(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start), text);
    start_ = end_ = start + static_cast<int>(text.size());
}

void EditBuffer::DefaultSetText(const EditText& text) {
    text_ = text;
    start_ = end_ = 0;
}

void EditBuffer::DefaultChar(EditChar c) {
    int start = 0, end = 0;
    GetSel(start, end);
    if (c == kEditBackspace) {
        if (start == end && start > 0)
            start_ = start - 1;
        ReplaceSel(EditText());
    } else if (c >= 0x20 && c != 0x7F) {
        ReplaceSel(EditText(1, c));
    }
}

void EditBuffer::DefaultKeyDown(unsigned key) {
    int start = 0, end = 0;
    GetSel(start, end);
    const int length = static_cast<int>(text_.size());
    switch (key) {
    case kEditKeyDelete:
        if (start == end)
            end_ = std::min(end + 1, length);
        ReplaceSel(EditText());
        break;
    case kKeyLeft:
        start_ = end_ = std::max(0, start == end ? start - 1 : start);
        break;
    case kKeyRight:
        start_ = end_ = std::min(length, start == end ? end + 1 : end);
        break;
    case kKeyHome:
        start_ = end_ = 0;
        break;
    case kKeyEnd:
        start_ = end_ = length;
        break;
    default:
        break; // character keys produce their WM_CHAR separately
    }
}

void EditBuffer::DefaultPaste() {
    EditText text = ToEditText(clipboard);
    const std::size_t lineEnd = text.find_first_of(U"\r\n");
    if (lineEnd != EditText::npos)
        text.resize(lineEnd);
    ReplaceSel(text);
}

void EditBuffer::CopySelection() {
    int start = 0, end = 0;
    GetSel(start, end);
    clipboard =
        FromEditText(text_.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start)));
}
