#include "shell/RamWordsCsv.h"

#include "framework/core/Format.h"
#include "framework/core/MessageSeam.h"

namespace {
// 1002 lines of at most "FFFF,-2147483648" each; a file far larger is not a RAM file.
constexpr std::size_t kMaxRamFileBytes = 256 * 1024;

std::string Refusal(int line, const std::string& why) {
    return Format("Error: Failed to open file! \nThe file format is incorrect! \nLine %d: ", line) + why +
           "\nNothing was written to the servo.";
}
} // namespace

std::int32_t RamPairValue(std::uint16_t high, std::uint16_t low) {
    return static_cast<std::int32_t>((static_cast<std::uint32_t>(high) << 16) | low);
}

std::uint16_t RamHighWord(std::int32_t value) {
    return static_cast<std::uint16_t>(static_cast<std::uint32_t>(value) >> 16);
}

std::uint16_t RamLowWord(std::int32_t value) {
    return static_cast<std::uint16_t>(static_cast<std::uint32_t>(value) & 0xFFFFu);
}

std::string RamWordsCsvText(const RamValues& values) {
    std::string text;
    text.reserve(values.size() * 16);
    for (int k = 0; k < RamPairCount; ++k)
        text += Format("%.4X,%d\n", RamPairAddress(k), values[k]);
    return text;
}

RamCsvParse ParseRamWordsCsv(const std::vector<std::string>& lines) {
    RamCsvParse parse;
    RamValues values{};
    for (int k = 0; k < RamPairCount; ++k) {
        if (static_cast<std::size_t>(k) >= lines.size()) {
            parse.error = Refusal(k + 1, Format("missing (the file has %d of %d lines).",
                                                static_cast<int>(lines.size()), RamPairCount));
            return parse;
        }
        const std::string& line = lines[k];
        const int comma = FindChar(line, ',');
        const std::optional<std::uint32_t> address = comma > 0 ? ParseHex32(Left(line, comma)) : std::nullopt;
        if (!address || *address != static_cast<std::uint32_t>(RamPairAddress(k))) {
            parse.error = Refusal(k + 1, Format("address %04X expected.", RamPairAddress(k)));
            return parse;
        }
        const std::optional<std::int64_t> value = ParseInt64(Mid(line, comma + 1));
        if (!value || *value < INT32_MIN || *value > INT32_MAX) {
            parse.error = Refusal(k + 1, "no signed 32-bit value after the comma.");
            return parse;
        }
        values[k] = static_cast<std::int32_t>(*value);
    }
    parse.values = values;
    return parse;
}

UserFileResult WriteRamWordsFile(const std::string& chosen, const RamValues& values) {
    return SaveUserFile(chosen, RamFileExt, RamWordsCsvText(values), "Save");
}

std::optional<RamValues> ReadRamWordsFile(const std::string& path, UserFileResult* result) {
    auto finish = [result](UserFileResult r) {
        if (result)
            *result = r;
        return std::optional<RamValues>();
    };
    if (!HasExtension(path, RamFileExt))
        return finish(UserFileResult::Ignored);
    const std::optional<TextLines> file = ReadLines(path, RamPairCount, kMaxRamFileBytes);
    if (!file) {
        ShowMessage("Error: Failed to open file! \n" + path, "Open", MB_OK | MB_ICONSTOP);
        return finish(UserFileResult::Refused);
    }
    RamCsvParse parse = ParseRamWordsCsv(file->lines);
    if (file->truncated && parse.values)
        parse = {std::nullopt, Refusal(static_cast<int>(file->lines.size()), "the file is too large.")};
    if (!parse.values) {
        ShowMessage(parse.error, "Open", MB_OK | MB_ICONSTOP);
        return finish(UserFileResult::Refused);
    }
    if (result)
        *result = UserFileResult::Done;
    return parse.values;
}
