#include "controls/EditRules.h"

#include <clocale>
#include <langinfo.h>
#include <locale.h>
#include <optional>

namespace {

bool IsDecimal(EditChar c) {
    return c >= U'0' && c <= U'9';
}
bool IsHex(EditChar c) {
    return IsDecimal(c) || (c >= U'A' && c <= U'F') || (c >= U'a' && c <= U'f');
}
bool IsPrintable(EditChar c) {
    return c >= 0x20 && c != 0x7F;
}
int Len(const EditText& text) {
    return static_cast<int>(text.size());
}

std::optional<EditLocaleChars> localeOverride;

// The first character of a UTF-8 text, or 0 when it is empty or malformed.
EditChar FirstChar(const char* utf8) {
    if (!utf8 || !*utf8)
        return 0;
    const EditText text = ToEditText(utf8);
    return text.empty() ? 0 : text[0];
}

} // namespace

EditText ToEditText(const std::string& utf8) {
    EditText out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        int extra = b < 0x80 ? 0 : (b >> 5) == 6 ? 1 : (b >> 4) == 14 ? 2 : (b >> 3) == 30 ? 3 : -1;
        if (extra < 0 || i + static_cast<std::size_t>(extra) >= utf8.size()) {
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        char32_t c = extra == 0 ? b : (b & (0x3F >> extra));
        bool ok = true;
        for (int k = 1; k <= extra; ++k) {
            const auto cont = static_cast<unsigned char>(utf8[i + static_cast<std::size_t>(k)]);
            if ((cont & 0xC0) != 0x80) {
                ok = false;
                break;
            }
            c = (c << 6) | (cont & 0x3F);
        }
        if (!ok) {
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        out.push_back(c);
        i += static_cast<std::size_t>(extra) + 1;
    }
    return out;
}

std::string FromEditText(const EditText& text) {
    std::string out;
    out.reserve(text.size());
    for (char32_t c : text) {
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (c >> 18)));
            out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

EditLocaleChars UserEditLocaleChars() {
    if (localeOverride)
        return *localeOverride;
    EditLocaleChars chars;
    // The program itself runs with the "C" numeric locale; the field follows the user's environment.
    locale_t user = newlocale(LC_NUMERIC_MASK | LC_CTYPE_MASK, "", static_cast<locale_t>(nullptr));
    if (!user)
        return chars;
    if (EditChar c = FirstChar(nl_langinfo_l(RADIXCHAR, user)))
        chars.decimalPoint = c;
    if (EditChar c = FirstChar(nl_langinfo_l(THOUSEP, user)))
        chars.groupSeparator = c;
    freelocale(user);
    return chars;
}

void SetEditLocaleOverride(const EditLocaleChars* chars) {
    if (chars)
        localeOverride = *chars;
    else
        localeOverride.reset();
}

// ---- shared

void EditBehavior::OnPaste() {
    int start = 0, end = 0;
    host_->GetSel(start, end);
    host_->DefaultPaste();
    const EditText valid = GetValidText();
    if (valid != host_->Text()) {
        host_->SetWindowText(valid);
        host_->SetSel(start, end);
    }
}

// ---- masked

bool MaskedEditBehavior::IsPlaceDigit(EditChar c) const {
    return hex_ ? IsHex(c) : IsDecimal(c);
}

void MaskedEditBehavior::SetMask(const EditText& mask) {
    if (mask == mask_)
        return;
    mask_ = mask;
    if (!host_)
        return;
    const EditText valid = GetValidText();
    if (valid != host_->Text())
        host_->SetWindowText(valid);
}

EditText MaskedEditBehavior::GetValidText() const {
    const EditText text = host_->Text();
    if (mask_.empty())
        return text;
    EditText result;
    const int length = Len(mask_);
    int i = 0;
    for (EditChar c : text) {
        if (i >= length)
            break;
        if (IsPlaceDigit(c) && !(mask_[static_cast<std::size_t>(i)] == c)) {
            // Literals before the next digit place are filled in for the user.
            while (i < length && mask_[static_cast<std::size_t>(i)] != U'#')
                result.push_back(mask_[static_cast<std::size_t>(i++)]);
            if (i >= length)
                break;
            result.push_back(c);
        } else if (c == mask_[static_cast<std::size_t>(i)]) {
            result.push_back(c);
        } else {
            break;
        }
        ++i;
    }
    return result;
}

void MaskedEditBehavior::OnKeyDown(unsigned key) {
    if (key != kEditKeyDelete) {
        host_->DefaultKeyDown(key);
        return;
    }
    int start = 0, end = 0;
    host_->GetSel(start, end);
    const int length = Len(host_->Text());
    if (end == length || (start == end && start == length - 1))
        host_->DefaultKeyDown(key);
}

bool MaskedEditBehavior::CommonChar(EditChar c, MaskPlace& at) {
    const int length = Len(mask_);
    if (length == 0) {
        if (host_->AcceptsChar(c))
            host_->DefaultChar(c);
        return true;
    }
    int start = 0, end = 0;
    host_->GetSel(start, end);
    if (start >= length && c != kEditBackspace)
        return true; // the text cannot grow past the mask
    const int textLength = Len(host_->Text());
    if (c == kEditBackspace) {
        // Inside the text Backspace acts as Delete, which only removes from the end.
        if (start != textLength)
            host_->SendKeyDown(kEditKeyDelete);
        else
            host_->DefaultChar(c);
        return true;
    }
    if (!IsPrintable(c)) {
        if (host_->AcceptsChar(c))
            host_->DefaultChar(c);
        return true;
    }
    const EditChar place = mask_[static_cast<std::size_t>(start)];
    if (place != U'#' && IsDecimal(c) && c != place) {
        // A digit typed on a literal: fill in the literals and type it at the next digit place.
        const std::size_t next = mask_.find(U'#', static_cast<std::size_t>(start) + 1);
        if (next != EditText::npos && host_->AcceptsChar(c)) {
            host_->SetSel(start, static_cast<int>(next));
            host_->ReplaceSel(
                mask_.substr(static_cast<std::size_t>(start), next - static_cast<std::size_t>(start)));
            host_->TypeKey(c);
        }
        return true;
    }
    at = {start, end, length, textLength, place};
    return false;
}

void MaskedEditBehavior::OnCharHex(EditChar c) {
    MaskPlace at;
    if (CommonChar(c, at))
        return;
    const auto [start, end, length, textLength, place] = at;
    if (place == U'#') {
        if (!IsHex(c) || !host_->AcceptsChar(c))
            return;
        if (start == end && textLength == length)
            host_->SetSel(start, start + 1); // overwrite the character under the caret
        host_->ReplaceSel(EditText(1, c));
        return;
    }
    if (c == place && host_->AcceptsChar(c)) {
        if (start < textLength)
            host_->SetSel(start, start + 1); // step over the literal already there
        host_->ReplaceSel(EditText(1, c));
    }
}

void MaskedEditBehavior::OnCharDot(EditChar c) {
    MaskPlace at;
    if (CommonChar(c, at))
        return;
    const auto [start, end, length, textLength, place] = at;
    if (place == U'#') {
        if (c == U'.') {
            // A point typed early pads the whole part with zeros up to the mask's own point.
            const std::size_t point = mask_.find(U'.');
            if (point == EditText::npos || static_cast<std::size_t>(start) >= point)
                return;
            const int count = static_cast<int>(point) - start;
            int caret = start;
            for (int k = 0; k < count; ++k) {
                host_->SetWindowText(EditText(U"0") + host_->Text());
                const EditText valid = GetValidText();
                if (valid != host_->Text())
                    host_->SetWindowText(valid);
                ++caret;
                host_->SetSel(caret, caret);
            }
            host_->SetSel(caret, caret + count - 1);
            host_->SendChar(U'.');
            return;
        }
        if (!IsDecimal(c) || !host_->AcceptsChar(c))
            return;
        if (start < textLength) {
            host_->SendKeyDown(kEditKeyDelete);
            int s = 0, t = 0;
            host_->GetSel(s, t);
            if (s == t && textLength == length)
                host_->SetSel(s, s + 1);
            host_->ReplaceSel(EditText(1, c));
        } else {
            host_->DefaultChar(c);
        }
        return;
    }
    if (c == place && host_->AcceptsChar(c)) {
        if (start < textLength)
            host_->SetSel(start, textLength < length ? start : start + 1);
        host_->ReplaceSel(EditText(1, c));
    }
}

// ---- numeric

NumericEditBehavior::NumericEditBehavior(EditHost* host, int maxWholeDigits, int maxDecimalPlaces)
    : EditBehavior(host), maxWhole_(maxWholeDigits < 0 ? -maxWholeDigits : maxWholeDigits),
      maxDecimals_(maxDecimalPlaces < 0 ? 0 : maxDecimalPlaces), negativeAllowed_(maxWholeDigits >= 0),
      chars_(UserEditLocaleChars()) {}

EditText NumericEditBehavior::Reduce(const EditText& text) const {
    EditText out;
    for (EditChar c : text)
        if (IsDecimal(c) || c == chars_.negativeSign || c == chars_.decimalPoint)
            out.push_back(c);
    return out;
}

int NumericEditBehavior::CountSeparators(const EditText& text) const {
    int count = 0;
    for (EditChar c : text)
        count += c == chars_.groupSeparator ? 1 : 0;
    return count;
}

EditText NumericEditBehavior::GetValidText() const {
    const EditText text = host_->Text();
    const int prefixLength = Len(prefix_);
    EditText number;
    int accepted = 0;
    int point = -1;
    bool sign = false;
    for (int index = 0; index < Len(text); ++index) {
        const EditChar c = text[static_cast<std::size_t>(index)];
        if (c == chars_.negativeSign && index == prefixLength && negativeAllowed_) {
            number.push_back(c);
            ++accepted;
            sign = true;
        } else if (IsDecimal(c)) {
            if (point >= 0) {
                if (accepted > point + maxDecimals_)
                    break;
                number.push_back(c);
                ++accepted;
            } else if (accepted != maxWhole_ + (sign ? 1 : 0)) {
                number.push_back(c);
                ++accepted;
            }
        } else if (c == chars_.decimalPoint && point < 0) {
            if (maxDecimals_ == 0)
                break;
            number.push_back(c);
            point = accepted++;
        }
    }
    const std::size_t at = number.find(chars_.decimalPoint);
    EditText whole = number.substr(0, at);
    const EditText tail = at == EditText::npos ? EditText() : number.substr(at);
    if (groupSize_ > 0) {
        const std::size_t firstDigit = (!whole.empty() && whole[0] == chars_.negativeSign) ? 1 : 0;
        EditText grouped;
        int digits = 0;
        for (std::size_t i = whole.size(); i > firstDigit; --i) {
            if (digits > 0 && digits % groupSize_ == 0)
                grouped.insert(grouped.begin(), chars_.groupSeparator);
            grouped.insert(grouped.begin(), whole[i - 1]);
            ++digits;
        }
        whole = whole.substr(0, firstDigit) + grouped;
    }
    if (whole.empty() && tail.empty())
        return EditText();
    return prefix_ + whole + tail;
}

void NumericEditBehavior::Reformat(int separatorsBefore) {
    int start = 0, end = 0;
    host_->GetSel(start, end);
    const int prefixLength = Len(prefix_);
    const EditText valid = GetValidText();
    if (valid.empty())
        host_->SetWindowText(end > prefixLength ? EditText()
                                                : prefix_.substr(0, static_cast<std::size_t>(end)));
    else
        host_->SetWindowText(valid);
    const int separators = CountSeparators(host_->Text());
    if (separators != separatorsBefore && end > prefixLength) {
        start += separators - separatorsBefore;
        end += separators - separatorsBefore;
    }
    host_->SetSel(start, end);
}

void NumericEditBehavior::OnChar(EditChar c) {
    const EditText text = host_->Text();
    const EditText reduced = Reduce(text);
    int start = 0, end = 0;
    host_->GetSel(start, end);
    const int prefixLength = Len(prefix_);
    const std::size_t pointAt = text.find(chars_.decimalPoint);
    const int point = pointAt == EditText::npos ? -1 : static_cast<int>(pointAt);
    const bool hasSign = !reduced.empty() && reduced[0] == chars_.negativeSign;
    const bool isDigit = IsDecimal(c);
    bool reformat = false;

    if (start < prefixLength && c != kEditBackspace) {
        if (c == prefix_[static_cast<std::size_t>(start)] && host_->AcceptsChar(c)) {
            host_->SetSel(start, start + 1);
            host_->ReplaceSel(EditText(1, c));
        } else if ((isDigit || c == chars_.negativeSign || c == chars_.decimalPoint) &&
                   host_->AcceptsChar(c)) {
            host_->SetSel(start, prefixLength);
            host_->ReplaceSel(prefix_.substr(static_cast<std::size_t>(start)));
            host_->DefaultChar(c);
        }
        return;
    }

    bool enter = false; // go on to the plain entry of c
    if (c == chars_.negativeSign && negativeAllowed_) {
        if (start != prefixLength) {
            if (!host_->AcceptsChar(c))
                return;
            // From anywhere after the start of the number the sign toggles.
            if (hasSign) {
                host_->SetSel(prefixLength, prefixLength + 1);
                host_->ReplaceSel(EditText());
                host_->SetSel(start - 1, end - 1);
            } else {
                host_->SetSel(prefixLength, prefixLength);
                host_->ReplaceSel(EditText(1, c));
                host_->SetSel(start + 1, end + 1);
            }
            return;
        }
        if (hasSign && host_->AcceptsChar(c)) {
            host_->SetSel(start, start + 1);
            host_->ReplaceSel(EditText(1, c));
            return;
        }
        enter = true;
    } else if (c == chars_.decimalPoint && maxDecimals_ > 0) {
        if (point >= 0) {
            if (host_->AcceptsChar(c))
                host_->SetSel(point + 1, point + 1);
            return;
        }
        enter = true;
    } else if (!isDigit) {
        if (IsPrintable(c))
            return;
        reformat = true;
        enter = true;
    }

    if (!enter) {
        if (point < 0 || start <= point) {
            const int separators = CountSeparators(text);
            if (start == prefixLength + maxWhole_ + separators + (hasSign ? 1 : 0))
                return;
            const std::size_t reducedPoint = reduced.find(chars_.decimalPoint);
            const EditText wholePart = reduced.substr(0, reducedPoint);
            int wholeDigits = 0;
            for (EditChar w : wholePart)
                wholeDigits += IsDecimal(w) ? 1 : 0;
            if (wholeDigits >= maxWhole_) {
                if (host_->AcceptsChar(c)) {
                    // A full whole part: the digit overwrites the one under the caret.
                    host_->SendKeyDown(kEditKeyDelete);
                    host_->ReplaceSel(EditText(1, c));
                }
                return;
            }
            reformat = true;
        } else {
            const std::size_t reducedPoint = reduced.find(chars_.decimalPoint);
            const int decimals =
                reducedPoint == EditText::npos ? 0 : Len(reduced) - static_cast<int>(reducedPoint) - 1;
            if (decimals >= maxDecimals_) {
                if (start > point + maxDecimals_ || !host_->AcceptsChar(c))
                    return;
                host_->SetSel(start, start + 1);
                host_->ReplaceSel(EditText(1, c));
                return;
            }
        }
    }

    const std::size_t pointBefore = reduced.find(chars_.decimalPoint);
    const int separatorsBefore = CountSeparators(text);
    if (host_->AcceptsChar(c))
        host_->DefaultChar(c);
    if (reformat || Reduce(host_->Text()).find(chars_.decimalPoint) != pointBefore)
        Reformat(separatorsBefore);
}

void NumericEditBehavior::OnKeyDown(unsigned key) {
    if (key != kEditKeyDelete) {
        host_->DefaultKeyDown(key);
        return;
    }
    const EditText text = host_->Text();
    int start = 0, end = 0;
    host_->GetSel(start, end);
    const int prefixLength = Len(prefix_);
    if (start >= prefixLength || text == prefix_) {
        const bool reachedEnd = end == Len(text);
        host_->DefaultKeyDown(key);
        Reformat(CountSeparators(text));
        if (reachedEnd)
            host_->SetSel(start, start);
    } else if (end == Len(text)) {
        host_->DefaultKeyDown(key);
    }
}

// ---- dispatch per kind

EditRules::EditRules(EditKind kind, EditHost* host, const std::string& mask, int maxWhole, int maxDecimals)
    : kind_(kind), host_(host) {
    switch (kind) {
    case EditKind::Hex:
    case EditKind::MaskedDot:
        behavior_ = std::make_unique<MaskedEditBehavior>(host, ToEditText(mask), kind == EditKind::Hex);
        break;
    case EditKind::Numeric:
        behavior_ = std::make_unique<NumericEditBehavior>(host, maxWhole, maxDecimals);
        break;
    case EditKind::Integer:
        behavior_ = std::make_unique<NumericEditBehavior>(host, maxWhole, 0);
        break;
    case EditKind::Plain:
        break;
    }
}

MaskedEditBehavior* EditRules::Masked() const {
    return dynamic_cast<MaskedEditBehavior*>(behavior_.get());
}
NumericEditBehavior* EditRules::Numeric() const {
    return dynamic_cast<NumericEditBehavior*>(behavior_.get());
}

EditText EditRules::GetValidText() const {
    return behavior_ ? behavior_->GetValidText() : host_->Text();
}

void EditRules::Char(EditChar c) {
    if (behavior_)
        behavior_->OnChar(c);
    else
        host_->DefaultChar(c);
}

void EditRules::KeyDown(unsigned key) {
    // The integer field leaves keys to the plain edit.
    if (behavior_ && kind_ != EditKind::Integer)
        behavior_->OnKeyDown(key);
    else
        host_->DefaultKeyDown(key);
}

void EditRules::Cut() {
    int start = 0, end = 0;
    host_->GetSel(start, end);
    if (start == end)
        return;
    host_->CopySelection();
    host_->SendKeyDown(kEditKeyDelete);
}

void EditRules::Clear() {
    int start = 0, end = 0;
    host_->GetSel(start, end);
    if (start != end)
        host_->SendKeyDown(kEditKeyDelete);
}

void EditRules::Paste() {
    if (behavior_) {
        behavior_->OnPaste();
        return;
    }
    host_->DefaultPaste();
}

void EditRules::SetText(const EditText& text) {
    host_->DefaultSetText(text);
    const EditText valid = GetValidText();
    if (valid != text)
        host_->SetWindowText(valid);
}

void EditRules::Redisplay() {
    const EditText valid = GetValidText();
    if (valid != host_->Text())
        host_->SetWindowText(valid);
}
