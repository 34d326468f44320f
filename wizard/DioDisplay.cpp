#include "wizard/DioDisplay.h"

std::string DioShortName(std::string_view nameText) {
    const size_t first = nameText.find(' ');
    if (first == std::string_view::npos)
        return {};
    const size_t second = nameText.find(' ', first + 1);
    return std::string(nameText.substr(first + 1, second == std::string_view::npos ? std::string_view::npos
                                                                                   : second - first - 1));
}
