#include "framework/ui/DataExchangeText.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

bool ParseInteger(const std::string& text, long long low, long long high, long long* value) {
    const std::string t = Trimmed(text);
    if (t.empty())
        return false;
    std::size_t i = 0;
    if (t[0] == '-' || t[0] == '+')
        i = 1;
    if (i >= t.size())
        return false;
    for (std::size_t k = i; k < t.size(); ++k)
        if (t[k] < '0' || t[k] > '9')
            return false;
    errno = 0;
    char* end = nullptr;
    const long long v = std::strtoll(t.c_str(), &end, 10);
    if (errno == ERANGE || v < low || v > high)
        return false;
    *value = v;
    return true;
}

} // namespace

bool ParseExchangeInt(const std::string& text, int* value) {
    long long v = 0;
    if (!ParseInteger(text, INT_MIN, INT_MAX, &v))
        return false;
    *value = static_cast<int>(v);
    return true;
}

bool ParseExchangeUInt(const std::string& text, unsigned* value) {
    const std::string t = Trimmed(text);
    if (!t.empty() && t[0] == '-')
        return false;
    long long v = 0;
    if (!ParseInteger(text, 0, UINT_MAX, &v))
        return false;
    *value = static_cast<unsigned>(v);
    return true;
}

bool ParseExchangeLong(const std::string& text, long* value) {
    long long v = 0;
    if (!ParseInteger(text, LONG_MIN, LONG_MAX, &v))
        return false;
    *value = static_cast<long>(v);
    return true;
}

bool ParseExchangeDouble(const std::string& text, double* value) {
    const std::string t = Trimmed(text);
    if (t.empty())
        return false;
    errno = 0;
    char* end = nullptr;
    const double v = std::strtod(t.c_str(), &end);
    if (end != t.c_str() + t.size() || errno == ERANGE || !std::isfinite(v))
        return false;
    // Only plain decimal forms: no hexadecimal floats, no "inf" or "nan".
    for (char c : t)
        if (!((c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E'))
            return false;
    *value = v;
    return true;
}

std::string FormatExchangeDouble(double value, int digits) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*g", digits, value);
    return buffer;
}

std::string IntegerRangePrompt(long long low, long long high) {
    return "Please enter an integer between " + std::to_string(low) + " and " + std::to_string(high) + ".";
}

std::string NumberRangePrompt(double low, double high) {
    return "Please enter a number between " + FormatExchangeDouble(low) + " and " +
           FormatExchangeDouble(high) + ".";
}

std::string MaxCharsPrompt(int count) {
    return "Please enter no more than " + std::to_string(count) + " characters.";
}
