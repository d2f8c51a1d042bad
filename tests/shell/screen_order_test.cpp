// SPDX-License-Identifier: Apache-2.0
// The order in which a reader meets a screen's controls and painted texts.

#include "reading_order.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(ReadingOrder, RowsFromTheTopEachFromTheLeft) {
    struct Case {
        const char* what;
        std::vector<ScreenPlace> places;
        std::vector<std::size_t> order;
    };
    const Case cases[] = {
        {"nothing", {}, {}},
        {"a column", {{10, 60, 50, 20}, {10, 10, 50, 20}, {10, 35, 50, 20}}, {1, 2, 0}},
        {"two columns read row by row",
         {{110, 120, 100, 25}, {610, 120, 100, 25}, {110, 150, 100, 25}, {610, 150, 100, 25}},
         {0, 1, 2, 3}},
        // A painted label three pixels below the top of the field beside it is on its row.
        {"a label beside its field", {{170, 65, 200, 23}, {13, 68, 150, 25}}, {1, 0}},
        // The field below starts after the label's row, even though it overlaps the label's
        // height by its top.
        {"a caption over its list", {{20, 105, 90, 22}, {20, 88, 90, 17}}, {1, 0}},
        // A tall area is a row of its own: what stands below it is not beside it.
        {"a tall area then buttons",
         {{20, 140, 760, 390}, {140, 542, 110, 40}, {20, 542, 110, 40}, {20, 105, 90, 22}},
         {3, 0, 2, 1}},
        // Equal places keep the order they were given in.
        {"equal places", {{5, 5, 10, 10}, {5, 5, 10, 10}}, {0, 1}},
        {"an empty place", {{0, 50, 0, 0}, {0, 10, 0, 0}}, {1, 0}},
    };
    for (const Case& test : cases) {
        EXPECT_EQ(readingOrder(test.places), test.order) << test.what;
    }
}

} // namespace
