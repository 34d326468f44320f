#include "shell/UnSelectionFile.h"

#include "catalogue/ParamAttributes.h"
#include "catalogue/ParamCode.h"
#include "framework/core/Format.h"
#include "framework/core/MessageSeam.h"
#include "shell/UserFiles.h"

#include <algorithm>

namespace {
// A selection file is a header and 20 short codes; anything much longer is not one.
constexpr std::size_t kMaxSelectionBytes = 64 * 1024;

bool StartsWithNoCase(const std::string& text, const std::string& prefix) {
    return text.size() >= prefix.size() &&
           EqualsNoCase(std::string_view(text).substr(0, prefix.size()), prefix);
}
} // namespace

std::vector<std::string> UnListComboCodes(const CatalogueContext& context) {
    std::vector<std::string> codes;
    auto add = [&](int first, int last) {
        for (int index = first; index <= last; ++index) {
            std::string code = ParamCodeFromIndex(index);
            if (ParamInSeries(code, context))
                codes.push_back(std::move(code));
        }
    };
    add(1001, 1097);
    if (context.debugMode)
        add(2001, 2052);
    return codes;
}

bool IsUnSelectionCode(const std::string& line) {
    // A control character (a stray CR, a tab, a NUL) would not come back from a write and a read.
    const bool printable = std::none_of(line.begin(), line.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 || byte == 0x7F;
    });
    return line.size() == 5 && printable && (line.starts_with("Un-") || line.starts_with("onU"));
}

std::string UnSelectionText(const UnCodes& codes) {
    std::string text = std::string(UnSelectionHeader) + "\n";
    for (const std::string& code : codes)
        text += code + "\n";
    return text;
}

bool ApplyUnSelectionLines(const std::vector<std::string>& lines, UnCodes& codes) {
    if (lines.empty() || Find(lines[0], "Un_ParaSet") < 0)
        return false;
    for (std::size_t slot = 0; slot < codes.size() && slot + 1 < lines.size(); ++slot)
        if (IsUnSelectionCode(lines[slot + 1]))
            codes[slot] = lines[slot + 1];
    return true;
}

UnFileResult WriteUnSelectionFile(const std::string& chosen, const UnCodes& codes) {
    return SaveUserFile(chosen, UnSelectionExt, UnSelectionText(codes), "Save");
}

UnFileResult ReadUnSelectionFile(const std::string& path, UnCodes& codes) {
    if (!HasExtension(path, UnSelectionExt))
        return UnFileResult::Ignored;
    const std::optional<TextLines> file = ReadLines(path, UnRowCount + 1, kMaxSelectionBytes);
    if (!file) {
        ShowMessage("Error: Failed to open file! \n" + path, "Open", MB_OK | MB_ICONSTOP);
        return UnFileResult::Refused;
    }
    UnCodes read = codes;
    if (file->truncated || !ApplyUnSelectionLines(file->lines, read)) {
        ShowMessage(UnFormatErrorText, "Open", MB_OK | MB_ICONSTOP);
        return UnFileResult::Refused;
    }
    codes = read;
    return UnFileResult::Done;
}

std::array<UnRowChoice, UnRowCount> MatchUnSelection(const std::vector<std::string>& comboItems,
                                                     const UnCodes& codes) {
    std::array<UnRowChoice, UnRowCount> choices;
    for (int row = 0; row < UnRowCount; ++row) {
        choices[row] = {row, true};
        // An empty slot names nothing (it would match every item).
        if (codes[row].empty())
            continue;
        for (std::size_t item = 0; item < comboItems.size(); ++item) {
            if (StartsWithNoCase(comboItems[item], codes[row])) {
                choices[row] = {static_cast<int>(item), false};
                break;
            }
        }
    }
    return choices;
}

std::string UnCsvText(const std::array<UnCsvRow, UnRowCount>& rows) {
    std::string text = std::string(UnCsvHeader) + "\n";
    text += "Code,Parameter Name,Display Value,Unit,\n";
    for (const UnCsvRow& row : rows)
        text += row.code + "," + TrimLeft(row.name) + "," + row.value + "," + row.unit + ",\n";
    return text;
}

UnFileResult WriteUnCsvFile(const std::string& chosen, const std::array<UnCsvRow, UnRowCount>& rows) {
    return SaveUserFile(chosen, UnCsvExt, UnCsvText(rows), "Save");
}
