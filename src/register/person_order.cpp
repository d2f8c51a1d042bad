// SPDX-License-Identifier: Apache-2.0
#include "person_order.h"

#include <QCollator>
#include <QCollatorSortKey>
#include <QLocale>

#include <algorithm>
#include <numeric>

namespace {

const char* textOf(const PersonListRow& row, int sortColumn) {
    switch (sortColumn) {
    case 0:
        return row.NAMN;
    case 1:
        return row.TESTLEDARE;
    case 3:
        return row.OTHER;
    case 6:
        return row.UTBILDNING;
    case 7:
        return row.NATIONALITET;
    case 8:
        return row.HOMELANGUAGE;
    default:
        return nullptr;
    }
}

} // namespace

bool isTextSortColumn(int sortColumn) {
    static const PersonListRow probe{};
    return textOf(probe, sortColumn) != nullptr;
}

void orderPersonRows(std::vector<PersonListRow>& rows, int sortColumn, bool descending) {
    if (!isTextSortColumn(sortColumn) || rows.size() < 2) {
        return;
    }
    const QCollator collator(QLocale(QLocale::Swedish, QLocale::Sweden));
    std::vector<QCollatorSortKey> keys;
    keys.reserve(rows.size());
    for (const PersonListRow& row : rows) {
        keys.push_back(collator.sortKey(QString::fromUtf8(textOf(row, sortColumn))));
    }
    std::vector<std::size_t> order(rows.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return descending ? keys[b].compare(keys[a]) < 0 : keys[a].compare(keys[b]) < 0;
    });
    std::vector<PersonListRow> sorted;
    sorted.reserve(rows.size());
    for (const std::size_t index : order) {
        sorted.push_back(rows[index]);
    }
    rows = std::move(sorted);
}
