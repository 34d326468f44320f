#include "trace/CurveMarks.h"

#include <algorithm>

std::optional<MarkHit> FindMarkFrom(const std::vector<CurvePoint>& list, int position, int leftEdgeOffset,
                                    int plotWidth) {
    const auto found =
        std::find_if(list.begin(), list.end(), [position](const CurvePoint& p) { return p.x >= position; });
    if (found == list.end())
        return std::nullopt;
    MarkHit hit{found->x - leftEdgeOffset, found->y, found->index};
    if (hit.x > plotWidth) {
        if (found == list.begin())
            hit.x = plotWidth;
        else {
            const CurvePoint& previous = *(found - 1);
            hit = {previous.x - leftEdgeOffset, previous.y, previous.index};
        }
    }
    return hit;
}

std::optional<int> ChooseSnapChannel(std::vector<std::pair<int, int>> candidates, int y) {
    if (candidates.empty())
        return std::nullopt;
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (size_t k = 0; k + 1 < candidates.size(); ++k) {
        // Twice the midpoint, so odd sums split exactly.
        if (2 * y < candidates[k].first + candidates[k + 1].first)
            return candidates[k].second;
    }
    return candidates.back().second;
}
