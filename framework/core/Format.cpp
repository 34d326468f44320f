#include "framework/core/Format.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <clocale>
#include <cstdio>
#include <limits>

namespace {
bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

char Upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}
char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::size_t Clip(int value, std::size_t size) {
    if (value <= 0)
        return 0;
    return std::min(static_cast<std::size_t>(value), size);
}

std::string_view SkipHexPrefix(std::string_view text) {
    if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        text.remove_prefix(2);
    return text;
}

int DigitValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return 99;
}

// Reads leading digits of the base, saturating at limit; returns the value and the digits used.
std::uint64_t LeadingDigits(std::string_view text, int base, std::uint64_t limit, std::size_t& used) {
    std::uint64_t value = 0;
    used = 0;
    const auto radix = static_cast<std::uint64_t>(base);
    while (used < text.size() && DigitValue(text[used]) < base) {
        auto digit = static_cast<std::uint64_t>(DigitValue(text[used]));
        value = value > (limit - digit) / radix ? limit : value * radix + digit;
        ++used;
    }
    return value;
}
} // namespace

std::string FormatV(const char* format, va_list args) {
    va_list copy;
    va_copy(copy, args);
    char small[256];
    int length = std::vsnprintf(small, sizeof small, format, copy);
    va_end(copy);
    if (length < 0)
        return {};
    if (static_cast<std::size_t>(length) < sizeof small)
        return std::string(small, static_cast<std::size_t>(length));
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    std::vsnprintf(text.data(), text.size(), format, args);
    text.resize(static_cast<std::size_t>(length));
    return text;
}

std::string Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string text = FormatV(format, args);
    va_end(args);
    return text;
}

std::string TrimLeft(std::string_view text) {
    std::size_t first = 0;
    while (first < text.size() && IsBlank(text[first]))
        ++first;
    return std::string(text.substr(first));
}

std::string TrimRight(std::string_view text) {
    std::size_t end = text.size();
    while (end > 0 && IsBlank(text[end - 1]))
        --end;
    return std::string(text.substr(0, end));
}

std::string Trim(std::string_view text) {
    return TrimLeft(TrimRight(text));
}

std::string ToUpper(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), Upper);
    return out;
}

std::string ToLower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), Lower);
    return out;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Lower(x) == Lower(y); });
}

int Find(std::string_view text, std::string_view what, int start) {
    std::size_t from = Clip(start, text.size());
    std::size_t at = text.find(what, from);
    return at == std::string_view::npos ? -1 : static_cast<int>(at);
}

int FindChar(std::string_view text, char what, int start) {
    return Find(text, std::string_view(&what, 1), start);
}

int ReverseFindChar(std::string_view text, char what) {
    std::size_t at = text.rfind(what);
    return at == std::string_view::npos ? -1 : static_cast<int>(at);
}

int Replace(std::string& text, std::string_view from, std::string_view to) {
    if (from.empty())
        return 0;
    int count = 0;
    std::string out;
    std::size_t pos = 0;
    for (std::size_t at; (at = text.find(from, pos)) != std::string::npos; pos = at + from.size()) {
        out.append(text, pos, at - pos);
        out.append(to);
        ++count;
    }
    if (count > 0) {
        out.append(text, pos, std::string::npos);
        text.swap(out);
    }
    return count;
}

std::vector<std::string> Split(std::string_view text, char separator) {
    std::vector<std::string> pieces;
    std::size_t pos = 0;
    for (std::size_t at; (at = text.find(separator, pos)) != std::string_view::npos; pos = at + 1)
        pieces.emplace_back(text.substr(pos, at - pos));
    pieces.emplace_back(text.substr(pos));
    return pieces;
}

std::string Left(std::string_view text, int count) {
    return std::string(text.substr(0, Clip(count, text.size())));
}

std::string Right(std::string_view text, int count) {
    std::size_t n = Clip(count, text.size());
    return std::string(text.substr(text.size() - n));
}

std::string Mid(std::string_view text, int first) {
    return std::string(text.substr(Clip(first, text.size())));
}

std::string Mid(std::string_view text, int first, int count) {
    std::string_view rest = text.substr(Clip(first, text.size()));
    return std::string(rest.substr(0, Clip(count, rest.size())));
}

std::optional<std::int64_t> ParseInt64(std::string_view text, int base) {
    std::string trimmed = Trim(text);
    std::string_view body = trimmed;
    bool negative = false;
    if (!body.empty() && (body[0] == '+' || body[0] == '-')) {
        negative = body[0] == '-';
        body.remove_prefix(1);
    }
    if (base == 16)
        body = SkipHexPrefix(body);
    if (body.empty() || base < 2 || base > 16)
        return std::nullopt;
    std::size_t used = 0;
    // The digits saturate one above the largest magnitude (that of INT64_MIN), so a saturated value
    // is an overflow on either side.
    const std::uint64_t largest = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()) + 1;
    std::uint64_t magnitude = LeadingDigits(body, base, largest + 1, used);
    if (used != body.size() || magnitude > largest || (magnitude == largest && !negative))
        return std::nullopt;
    if (negative)
        return magnitude == largest ? std::numeric_limits<std::int64_t>::min()
                                    : -static_cast<std::int64_t>(magnitude);
    return static_cast<std::int64_t>(magnitude);
}

std::optional<int> ParseInt(std::string_view text, int base) {
    auto value = ParseInt64(text, base);
    if (!value || *value < std::numeric_limits<int>::min() || *value > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(*value);
}

std::optional<std::uint32_t> ParseHex32(std::string_view text) {
    std::string trimmed = Trim(text);
    std::string_view body = SkipHexPrefix(trimmed);
    std::size_t used = 0;
    std::uint64_t value = LeadingDigits(body, 16, std::uint64_t{1} << 32, used);
    if (body.empty() || used != body.size() || value > 0xFFFFFFFFu)
        return std::nullopt;
    return static_cast<std::uint32_t>(value);
}

int AtoI(std::string_view text) {
    std::string_view body = text;
    while (!body.empty() && IsBlank(body.front()))
        body.remove_prefix(1);
    bool negative = false;
    if (!body.empty() && (body[0] == '+' || body[0] == '-')) {
        negative = body[0] == '-';
        body.remove_prefix(1);
    }
    std::size_t used = 0;
    const std::uint64_t limit = static_cast<std::uint64_t>(std::numeric_limits<int>::max()) + 1;
    std::uint64_t magnitude = LeadingDigits(body, 10, limit, used);
    if (negative)
        return static_cast<int>(-static_cast<std::int64_t>(magnitude));
    return static_cast<int>(std::min<std::uint64_t>(magnitude, std::numeric_limits<int>::max()));
}

std::uint32_t HexToU32(std::string_view text) {
    std::string_view body = text;
    while (!body.empty() && IsBlank(body.front()))
        body.remove_prefix(1);
    body = SkipHexPrefix(body);
    std::size_t used = 0;
    return static_cast<std::uint32_t>(LeadingDigits(body, 16, 0xFFFFFFFFu, used));
}

std::optional<double> ParseDouble(std::string_view text) {
    std::string trimmed = Trim(text);
    if (!trimmed.empty() && trimmed.front() == '+') {
        trimmed.erase(trimmed.begin());
        // from_chars takes a '-' of its own: "+-5" is no number.
        if (!trimmed.empty() && trimmed.front() == '-')
            return std::nullopt;
    }
    if (trimmed.empty())
        return std::nullopt;
    double value = 0;
    auto [end, error] = std::from_chars(trimmed.data(), trimmed.data() + trimmed.size(), value);
    if (error != std::errc() || end != trimmed.data() + trimmed.size())
        return std::nullopt;
    return value;
}

void SetNumericLocaleC() {
    std::setlocale(LC_NUMERIC, "C");
}

int ParseHexChar(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}
