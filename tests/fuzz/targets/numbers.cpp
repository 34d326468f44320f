// The whole-text number parses every reader and editor uses, against the standard library's.
#include "tests/fuzz/FuzzSupport.h"

#include "framework/core/Format.h"

#include <charconv>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);

    // Decimal: the same answer as from_chars on the trimmed text (which takes no '+' of its own).
    std::string body = Trim(text);
    bool plus = false;
    if (!body.empty() && body.front() == '+') {
        body.erase(body.begin());
        plus = true;
    }
    std::int64_t expected = 0;
    const auto [end, error] = std::from_chars(body.data(), body.data() + body.size(), expected);
    const bool whole = !body.empty() && error == std::errc() && end == body.data() + body.size() &&
                       !(plus && body.front() == '-');
    const std::optional<std::int64_t> parsed = ParseInt64(text);
    FuzzCheck(parsed.has_value() == whole, "ParseInt64 accepts what from_chars refuses or the other way");
    FuzzCheck(!parsed || *parsed == expected, "ParseInt64 and from_chars disagree");
    if (parsed)
        FuzzCheck(ParseInt64(std::to_string(*parsed)) == parsed, "ParseInt64 does not read its own output");

    // Floating point: at most one sign, and a whole-text answer.
    if (const std::optional<double> value = ParseDouble(text)) {
        const std::string trimmed = Trim(text);
        const std::size_t signs = trimmed.find_first_not_of("+-");
        FuzzCheck(signs != std::string::npos && signs <= 1, "ParseDouble accepts more than one sign");
    }
    return 0;
}
