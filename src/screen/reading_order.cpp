// SPDX-License-Identifier: Apache-2.0
#include "reading_order.h"

#include <algorithm>
#include <numeric>

std::vector<std::size_t> readingOrder(const std::vector<ScreenPlace>& places) {
    std::vector<std::size_t> byTop(places.size());
    std::iota(byTop.begin(), byTop.end(), std::size_t{0});
    std::stable_sort(byTop.begin(), byTop.end(), [&places](std::size_t a, std::size_t b) {
        return places[a].y != places[b].y ? places[a].y < places[b].y : places[a].x < places[b].x;
    });

    std::vector<std::size_t> order;
    order.reserve(places.size());
    std::vector<bool> placed(places.size(), false);
    for (std::size_t i = 0; i < byTop.size(); ++i) {
        const std::size_t first = byTop[i];
        if (placed[first]) {
            continue;
        }
        const int rowBottom = places[first].y + std::max(1, places[first].height);
        std::vector<std::size_t> row{first};
        placed[first] = true;
        for (std::size_t j = i + 1; j < byTop.size(); ++j) {
            const ScreenPlace& candidate = places[byTop[j]];
            if (placed[byTop[j]]) {
                continue;
            }
            if (candidate.y >= rowBottom) {
                break;
            }
            if (candidate.y + candidate.height / 2 < rowBottom) {
                row.push_back(byTop[j]);
                placed[byTop[j]] = true;
            }
        }
        std::stable_sort(row.begin(), row.end(), [&places](std::size_t a, std::size_t b) {
            return places[a].x < places[b].x;
        });
        order.insert(order.end(), row.begin(), row.end());
    }
    return order;
}
