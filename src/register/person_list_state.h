// SPDX-License-Identifier: Apache-2.0
#pragma once

// How the earlier-tests screen lists the stored persons: the sort column (9 = ID), whether the
// order is descending, and the list row to select again when the screen is shown.
struct PersonListState {
    int sortColumn = 9;
    int descending = 1;
    int rememberedRow = 0;
};

PersonListState& personListState();
