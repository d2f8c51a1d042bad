// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <array>
#include <cstddef>
#include <span>

// Estimated sums of scaled scores when too few subtests were given, indexed by the sum of those
// that were: the sum times the factor, halves rounded up; sums below the table's smallest
// possible sum give 0.
template <std::size_t Size> using ProrationTable = std::array<int, Size>;

constexpr std::size_t kProrate2To3Size = 39;   // two subtests of three, factor 3/2
constexpr std::size_t kProrate8To10Size = 153; // eight subtests of ten, factor 5/4
constexpr std::size_t kProrate9To10Size = 172; // nine subtests of ten, factor 10/9

template <std::size_t Size>
constexpr ProrationTable<Size> makeProrationTable(int numerator, int denominator, int firstSum) {
    ProrationTable<Size> table{};
    for (int sum = firstSum; sum < static_cast<int>(Size); ++sum) {
        // round(sum * n / d) with halves up, in integers: floor((2 * sum * n + d) / (2 * d)).
        table[static_cast<std::size_t>(sum)] =
            (2 * sum * numerator + denominator) / (2 * denominator);
    }
    return table;
}

inline constexpr ProrationTable<kProrate2To3Size> PRORATE_2_TO_3 =
    makeProrationTable<kProrate2To3Size>(3, 2, 2);
inline constexpr ProrationTable<kProrate8To10Size> PRORATE_8_TO_10 =
    makeProrationTable<kProrate8To10Size>(5, 4, 8);
inline constexpr ProrationTable<kProrate9To10Size> PRORATE_9_TO_10 =
    makeProrationTable<kProrate9To10Size>(10, 9, 9);

// Looks up an estimate; a sum outside the table gives its last entry or 0, never a read past it.
constexpr int prorate(std::span<const int> table, int sum) {
    if (sum < 0) {
        return 0;
    }
    const std::size_t at = static_cast<std::size_t>(sum);
    return table[at < table.size() ? at : table.size() - 1];
}
