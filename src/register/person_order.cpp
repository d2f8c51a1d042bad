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

std::vector<std::size_t> swedishOrder(std::size_t count,
                                      const std::function<QString(std::size_t)>& textAt,
                                      bool descending) {
    std::vector<std::size_t> order(count);
    std::iota(order.begin(), order.end(), std::size_t{0});
    if (count < 2) {
        return order;
    }
    const QCollator collator(QLocale(QLocale::Swedish, QLocale::Sweden));
    std::vector<QCollatorSortKey> keys;
    keys.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        keys.push_back(collator.sortKey(textAt(i)));
    }
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return descending ? keys[b].compare(keys[a]) < 0 : keys[a].compare(keys[b]) < 0;
    });
    return order;
}

void orderPersonRows(std::vector<PersonListRow>& rows, int sortColumn, bool descending) {
    if (!isTextSortColumn(sortColumn) || rows.size() < 2) {
        return;
    }
    const std::vector<std::size_t> order = swedishOrder(
        rows.size(), [&](std::size_t i) { return QString::fromUtf8(textOf(rows[i], sortColumn)); },
        descending);
    std::vector<PersonListRow> sorted;
    sorted.reserve(rows.size());
    for (const std::size_t index : order) {
        sorted.push_back(rows[index]);
    }
    rows = std::move(sorted);
}
