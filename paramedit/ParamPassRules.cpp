#include "paramedit/ParamPassRules.h"

#include "catalogue/KeloServoDoc.h"
#include "catalogue/ParamAttributes.h"
#include "catalogue/ParamCode.h"
#include "catalogue/RegisterMap.h"
#include "framework/core/Format.h"

bool IsNewerGroupCode(std::string_view code) {
    return code.size() >= 3 && code.substr(0, 2) == "on";
}

bool IsSelectAllExcluded(std::string_view code) {
    static constexpr std::string_view kCodes[] = {"Cn030", "onC18", "ono23", "onE01", "onC30",
                                                  "onC27", "onC28", "ond01", "onC01", "onC34",
                                                  "onT03", "onC09", "onC29"};
    for (std::string_view c : kCodes)
        if (code == c)
            return true;
    return code.substr(0, 3) == "onA";
}

std::vector<std::string> ReadAllCodes(const CatalogueContext& context) {
    static constexpr ParamGroup kOrder[] = {GroupCn,  GroupTn,  GroupSn,  GroupPn3, GroupPn4, GroupHn,
                                            GroupEn,  Grouptn,  GroupEC,  GroupMAb, GrouponT, GrouponS,
                                            Groupond, GrouponC, Groupono, GrouponA, GrouponE};
    std::vector<std::string> codes;
    for (ParamGroup group : kOrder) {
        for (int n = 1; n <= ParamGroupTable(group).count; ++n) {
            std::string code = ParamCodeFromIndex(ParamIndexOf(group, n));
            if (ParamInSeries(code, context))
                codes.push_back(std::move(code));
        }
    }
    return codes;
}

namespace {
bool IsPinByLowByte(std::string_view code) {
    if (code.substr(0, 3) != "Hn6")
        return false;
    const int n = ParamNumber(code);
    return (n >= 1 && n <= 16) || (n >= 19 && n <= 22);
}
} // namespace

bool IsValueInRange(std::string_view code, int value, CKeloServoDoc& doc, const CatalogueContext& context) {
    if (code == "Cn030")
        return true;
    const std::string_view limitsOf = code == "tn830" ? std::string_view("onC42") : code;
    const int* minimum = doc.FindMinimum(limitsOf);
    const int* maximum = doc.FindMaximum(limitsOf);
    if (!minimum || !maximum)
        return true; // nothing to test against
    const int lo = *minimum;
    const int hi = *maximum;
    if ((ParamFlags(code, context) & AttrFormatHexBit) == 0 || code.substr(0, 2) == "MA")
        return lo <= value && value <= hi;
    if (IsPinByLowByte(code)) {
        const int v = value & 0xFF;
        return (lo & 0xFF) <= v && v <= (hi & 0xFF);
    }
    const auto u = static_cast<std::uint32_t>(value);
    const int digits = u >= 0x10000 ? 8 : 4;
    for (int p = 0; p < digits; ++p) {
        const int shift = 4 * p;
        const auto d = (u >> shift) & 0xF;
        if (d < ((static_cast<std::uint32_t>(lo) >> shift) & 0xF) ||
            d > ((static_cast<std::uint32_t>(hi) >> shift) & 0xF))
            return false;
    }
    return true;
}

std::optional<int> ParseCellValue(std::string_view text, bool hex) {
    if (!hex)
        return ParseInt(text);
    if (text.empty() || text.size() > 8)
        return std::nullopt;
    std::uint32_t value = 0;
    for (char c : text) {
        const int d = ParseHexChar(c);
        if (d < 0)
            return std::nullopt;
        value = value * 16 + static_cast<std::uint32_t>(d);
    }
    return static_cast<int>(value);
}

int Cn008ModbusValue(int present, int entered) {
    switch (entered) {
    case 0:
        return present & ~3;
    case 1:
        return (present & ~2) | 1;
    case 2:
        return (present & ~1) | 2;
    case 3:
        return present | 3;
    case 4:
        return 6;
    default:
        return 7;
    }
}

int Cn008MakerValue(int present, int entered) {
    int low = entered & 0xFF;
    if ((entered & 0xF) == 4)
        low = (entered & 0xF0) + 6;
    else if ((entered & 0xF) == 5)
        low = (entered & 0xF0) + 7;
    return (present & ~0xFF) | low;
}

std::optional<std::uint16_t> ModbusParameterAddress(std::string_view code) {
    const int index = ParamIndexFromCode(code);
    const int group = ParamGroupOfIndex(index);
    if (group != GroupCn && group != GroupTn && group != GroupSn && group != GroupPn3 && group != Groupqn &&
        group != GroupHn && group != GroupEn)
        return std::nullopt;
    const char letter = ParamGroupLetter(code);
    const int number = ParamNumber(code);
    if (IsDoubleWordParameter(letter, number, index))
        return std::nullopt;
    return GroupBlockBase(letter, number);
}

std::string CodeListText(const std::vector<std::string>& codes) {
    const auto neighbours = [](const std::string& a, const std::string& b) {
        const int ia = ParamIndexFromCode(a);
        const int ib = ParamIndexFromCode(b);
        return ia > 0 && ib == ia + 1 && ParamGroupOfIndex(ia) == ParamGroupOfIndex(ib);
    };
    std::string text;
    for (size_t first = 0; first < codes.size();) {
        size_t last = first;
        while (last + 1 < codes.size() && neighbours(codes[last], codes[last + 1]))
            ++last;
        if (last - first < 2)
            last = first; // two neighbours read better as they are
        if (!text.empty())
            text += ", ";
        text += codes[first];
        if (last > first)
            text += "-" + codes[last];
        first = last + 1;
    }
    return text;
}

std::string OverRangeDetail(std::string_view code, int value, bool hex) {
    return "Over Range!!\n\n" + std::string(code) + ":" +
           (hex ? Format("%X", static_cast<unsigned>(value)) : Format("%d", value));
}
