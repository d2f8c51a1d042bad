// SPDX-License-Identifier: Apache-2.0
#include "sheet_order.h"

#include <algorithm>

namespace {

constexpr int kReportPages = 5;

} // namespace

std::vector<int> reportSheetOrder(int copies, bool collate, bool lastPageFirst) {
    copies = std::max(copies, 1);
    std::vector<int> pages;
    for (int page = 0; page < kReportPages; ++page) {
        pages.push_back(lastPageFirst ? kReportPages - 1 - page : page);
    }
    std::vector<int> order;
    if (collate) {
        for (int copy = 0; copy < copies; ++copy) {
            order.insert(order.end(), pages.begin(), pages.end());
        }
    } else {
        for (const int page : pages) {
            order.insert(order.end(), static_cast<std::size_t>(copies), page);
        }
    }
    return order;
}
