// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <cstddef>
#include <vector>

// Where something stands on a screen, in client coordinates.
struct ScreenPlace {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// The order in which a reader meets the given places: row by row from the top, each row from the
// left. A place belongs to the row of the topmost place not yet in a row when its vertical centre
// lies within that place's height, so a field and the label beside it, a little higher or lower,
// make one row, while a tall area starts a row of its own. Returns indexes into places.
std::vector<std::size_t> readingOrder(const std::vector<ScreenPlace>& places);
