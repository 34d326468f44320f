#include "online/ParamPickList.h"

#include "catalogue/ParamAttributes.h"
#include "catalogue/ParamCode.h"
#include "framework/core/Format.h"

#include <algorithm>
#include <cstdio>
#include <initializer_list>

namespace {

struct OfferedGroup {
    const char* format; // the standard form the series test reads
    int cls;
    int baseIndex;
    int count;
};

// In list order.
constexpr OfferedGroup kGroups[] = {
    {"Cn0%.2d", 1, 0, 99},    {"Tn1%.2d", 2, 100, 18},  {"Sn2%.2d", 3, 200, 29},  {"Pn3%.2d", 4, 300, 85},
    {"Pn4%.2d", 8, 400, 99},  {"qn5%.2d", 5, 500, 7},   {"Hn6%.2d", 6, 600, 24},  {"En7%.2d", 7, 700, 24},
    {"tn8%.2d", 11, 800, 63}, {"EC9%.2d", 10, 900, 34}, {"ono%.2d", 9, 1700, 16},
};
constexpr int kOnoClass = 9;
constexpr int kQnClass = 5;
constexpr int kQnTitleBase = 61611;

// A qn code and its Sn or Pn3 partner hide each other.
struct QnPair {
    int partnerClass;
    int partnerNumber;
    int qnNumber;
};
constexpr QnPair kQnPairs[] = {{3, 11, 1}, {3, 12, 2}, {3, 13, 3}, {3, 14, 4},
                               {4, 10, 5}, {4, 11, 6}, {4, 12, 7}};

bool InRange(int n, int first, int last) {
    return n >= first && n <= last;
}

struct Held {
    int cls;
    int number;
};

bool Hidden(int cls, int number, const std::vector<Held>& held) {
    auto holds = [&](int c, int n) {
        return std::any_of(held.begin(), held.end(),
                           [&](const Held& h) { return h.cls == c && h.number == n; });
    };
    if (holds(cls, number))
        return true;
    for (const QnPair& pair : kQnPairs) {
        if (cls == pair.partnerClass && number == pair.partnerNumber && holds(kQnClass, pair.qnNumber))
            return true;
        if (cls == kQnClass && number == pair.qnNumber && holds(pair.partnerClass, pair.partnerNumber))
            return true;
    }
    return false;
}

} // namespace

int PickExclusionClass(std::string_view code) {
    const int index = ParamIndexFromCode(code);
    switch (ParamGroupLetter(code)) {
    case 'C':
        return 1;
    case 'T':
        return 2;
    case 'S':
        return 3;
    case 'P':
    case 'L':
        return index < 400 ? 4 : 8;
    case 'q':
        return 5;
    case 'H':
        return 6;
    case 'E':
        return index <= 900 ? 7 : 10;
    case 'o':
        return 9;
    case 't':
        return 11;
    default:
        return 0;
    }
}

bool IsNeverOffered(std::string_view code) {
    if (code.size() != 5)
        return false;
    const int n = ParamNumber(code);
    const std::string_view group = code.substr(0, 3);
    if (group == "Cn0")
        return n == 1 || n == 2 || n == 5 || n == 9 || n == 29 || n == 30 || InRange(n, 36, 40) || n == 42 ||
               InRange(n, 45, 47) || n == 62 || InRange(n, 78, 85) || InRange(n, 88, 96);
    if (group == "Tn1")
        return n == 1 || n == 2 || n == 10;
    if (group == "Pn3")
        return n == 1 || n == 6 || n == 13 || n == 14 || n == 16 || n == 28 || n == 45 || n == 46 ||
               InRange(n, 48, 54) || n == 57 || n == 58;
    if (group == "EC9")
        return n == 7 || n == 8 || n == 28 || n == 32;
    return false;
}

std::vector<PickEntry> PickListEntries(const std::array<std::string, OnlineRowCount>& otherCodes,
                                       const CatalogueContext& context, const StringLoader& load) {
    std::vector<Held> held;
    for (const std::string& code : otherCodes)
        if (!code.empty())
            held.push_back({PickExclusionClass(code), ParamNumber(code)});

    std::vector<PickEntry> entries;
    for (const OfferedGroup& group : kGroups) {
        if (group.cls == kOnoClass && !context.debugMode)
            continue;
        for (int n = 1; n <= group.count; ++n) {
            char standard[16];
            std::snprintf(standard, sizeof standard, group.format, n);
            if (IsNeverOffered(standard) || !ParamInSeries(standard, context) || Hidden(group.cls, n, held))
                continue;
            std::string code = ParamCodeFromIndex(group.baseIndex + n);
            const std::string title = group.cls == kQnClass ? load(kQnTitleBase + n) : ParamTitle(code, load);
            entries.push_back({code, code + " - " + title});
        }
    }
    return entries;
}

int PreselectedPickEntry(const std::vector<PickEntry>& entries, std::string_view code) {
    if (entries.empty())
        return -1;
    if (code.empty())
        return 0;
    const int count = static_cast<int>(entries.size());
    for (int step = 1; step <= count; ++step) {
        const int i = step % count;
        const std::string& text = entries[static_cast<size_t>(i)].text;
        if (text.size() >= code.size() && EqualsNoCase(std::string_view(text).substr(0, code.size()), code))
            return i;
    }
    return 0;
}

std::string CodeOfPickText(std::string_view text) {
    std::string_view code = text.substr(0, std::min(text.find('-'), text.size()));
    if (code.size() < text.size() && code.ends_with(' '))
        code.remove_suffix(1);
    return std::string(code);
}
