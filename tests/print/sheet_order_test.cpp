// SPDX-License-Identifier: Apache-2.0
#include "sheet_order.h"

#include <gtest/gtest.h>

namespace {

TEST(SheetOrder, CopiesCollationAndReverseOrder) {
    const struct {
        int copies;
        bool collate;
        bool lastPageFirst;
        std::vector<int> order;
    } rows[] = {
        {1, true, false, {0, 1, 2, 3, 4}},
        {1, false, false, {0, 1, 2, 3, 4}},
        {0, true, false, {0, 1, 2, 3, 4}},
        {2, true, false, {0, 1, 2, 3, 4, 0, 1, 2, 3, 4}},
        {2, false, false, {0, 0, 1, 1, 2, 2, 3, 3, 4, 4}},
        {1, false, true, {4, 3, 2, 1, 0}},
        {2, true, true, {4, 3, 2, 1, 0, 4, 3, 2, 1, 0}},
        {3, false, true, {4, 4, 4, 3, 3, 3, 2, 2, 2, 1, 1, 1, 0, 0, 0}},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(reportSheetOrder(row.copies, row.collate, row.lastPageFirst), row.order)
            << row.copies << " " << row.collate << " " << row.lastPageFirst;
    }
}

} // namespace
