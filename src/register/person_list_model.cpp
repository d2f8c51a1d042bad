// SPDX-License-Identifier: Apache-2.0
#include "person_list_model.h"

#include "person_order.h"
#include "text_table.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr unsigned short kHeaders[kPersonListColumns] = {17, 24, 25, 30, 28, 26, 22, 20, 21};
constexpr int kMan = 1;
constexpr int kWoman = 2;

QString dateText(const DateValue& date) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", date.year, date.month, date.day);
    return QString::fromLatin1(buffer);
}

QString sexText(std::int32_t sex) {
    if (sex == kMan) {
        return QString::fromStdString(text(42));
    }
    if (sex == kWoman) {
        return QString::fromStdString(text(41));
    }
    return {};
}

std::string unreadableMessageOf(const PersonListRow& person) {
    return unreadableIdMessage(person.storedId, "testpersonen kan varken visas eller tas bort");
}

} // namespace

std::array<QString, kPersonListColumns> personListCells(const PersonListRow& person) {
    return {QString::fromUtf8(person.NAMN),
            QString::fromUtf8(person.TESTLEDARE),
            dateText(person.TESTDATE),
            QString::fromUtf8(person.OTHER),
            sexText(person.SEX),
            dateText(person.BORNDATE),
            QString::fromUtf8(person.UTBILDNING),
            QString::fromUtf8(person.NATIONALITET),
            QString::fromUtf8(person.HOMELANGUAGE)};
}

int PersonListModel::load(int sortColumn, bool descending) {
    beginResetModel();
    order_.clear();
    unreadable_.clear();
    unreadableMessages_.clear();
    pages_.clear();

    const bool byText = isTextSortColumn(sortColumn);
    std::vector<std::int32_t> ids;
    std::vector<std::string> texts;
    bool anyUnreadable = false;
    DbResult result =
        DoListPersonOrder(sortColumn, descending ? 1 : 0, [&](const PersonOrderRow& row) {
            anyUnreadable = anyUnreadable || !row.idRead;
            ids.push_back(row.ID);
            if (byText) {
                texts.emplace_back(row.sortText);
            }
        });
    if (result == DB_DONE && anyUnreadable) {
        // Rare: the rows without a readable ID are read whole, with all the others, in the
        // same order.
        ids.clear();
        texts.clear();
        std::vector<PersonListRow> rows;
        result = DoListPD(sortColumn, descending ? 1 : 0,
                          [&rows](const PersonListRow& row) { rows.push_back(row); });
        orderPersonRows(rows, sortColumn, descending);
        order_.reserve(rows.size());
        for (const PersonListRow& row : rows) {
            if (row.idRead) {
                order_.push_back(Entry{row.ID, -1});
                continue;
            }
            order_.push_back(Entry{0, static_cast<std::int32_t>(unreadable_.size())});
            Cells cells = personListCells(row);
            cells[0] = QString::fromUtf8(row.NAMN) + QStringLiteral(" (") +
                       QString::fromStdString(storedIdName(row.storedId)) +
                       QStringLiteral(" kan inte läsas)");
            unreadable_.push_back(std::move(cells));
            unreadableMessages_.push_back(unreadableMessageOf(row));
        }
    } else {
        order_.reserve(ids.size());
        if (byText) {
            const std::vector<std::size_t> order = swedishOrder(
                texts.size(), [&texts](std::size_t i) { return QString::fromStdString(texts[i]); },
                descending);
            for (const std::size_t index : order) {
                order_.push_back(Entry{ids[index], -1});
            }
        } else {
            for (const std::int32_t id : ids) {
                order_.push_back(Entry{id, -1});
            }
        }
    }
    endResetModel();
    return result == DB_DONE ? 1 : 0;
}

int PersonListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(order_.size());
}

int PersonListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kPersonListColumns;
}

QVariant PersonListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= kPersonListColumns) {
        return {};
    }
    const Entry& entry = order_[static_cast<std::size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return cellsOf(index.row())[static_cast<std::size_t>(index.column())];
    case kIdRole:
        return entry.unreadable < 0 ? QVariant(entry.id) : QVariant();
    case kUnreadableIdRole:
    case Qt::ToolTipRole:
        if (entry.unreadable < 0 || (role == Qt::ToolTipRole && index.column() != 0)) {
            return {};
        }
        return QString::fromStdString(
            unreadableMessages_[static_cast<std::size_t>(entry.unreadable)]);
    default:
        return {};
    }
}

QVariant PersonListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= kPersonListColumns) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    return QString::fromStdString(text(kHeaders[section]));
}

std::int32_t PersonListModel::personIdAt(int row) const {
    if (row < 0 || row >= rowCount()) {
        return 0;
    }
    const Entry& entry = order_[static_cast<std::size_t>(row)];
    return entry.unreadable < 0 ? entry.id : 0;
}

std::string PersonListModel::unreadableIdAt(int row) const {
    if (row < 0 || row >= rowCount()) {
        return {};
    }
    const Entry& entry = order_[static_cast<std::size_t>(row)];
    return entry.unreadable < 0 ? std::string()
                                : unreadableMessages_[static_cast<std::size_t>(entry.unreadable)];
}

int PersonListModel::rowOfPerson(std::int32_t id) const {
    const auto found = std::find_if(order_.begin(), order_.end(), [id](const Entry& entry) {
        return entry.unreadable < 0 && entry.id == id;
    });
    return found == order_.end() ? -1 : static_cast<int>(found - order_.begin());
}

void PersonListModel::removePersonRow(int row) {
    if (row < 0 || row >= rowCount()) {
        return;
    }
    beginRemoveRows(QModelIndex(), row, row);
    order_.erase(order_.begin() + row);
    pages_.clear(); // the rows after it moved to other pages
    endRemoveRows();
}

void PersonListModel::prefetch(int first, int last) const {
    first = std::max(first, 0);
    last = std::min(last, rowCount() - 1);
    if (first > last) {
        return;
    }
    for (std::size_t page = static_cast<std::size_t>(first) / kPersonListPageSize;
         page <= static_cast<std::size_t>(last) / kPersonListPageSize; ++page) {
        pageOf(page);
    }
}

const PersonListModel::Cells& PersonListModel::cellsOf(int row) const {
    const Entry& entry = order_[static_cast<std::size_t>(row)];
    if (entry.unreadable >= 0) {
        return unreadable_[static_cast<std::size_t>(entry.unreadable)];
    }
    const Page& page = pageOf(static_cast<std::size_t>(row) / kPersonListPageSize);
    return page.rows[static_cast<std::size_t>(row) % kPersonListPageSize];
}

// A page that could not be read, whole or in part, is kept as read: its failure has been
// reported once, and painting it again must not ask again.
const PersonListModel::Page& PersonListModel::pageOf(std::size_t number) const {
    ++uses_;
    for (Page& page : pages_) {
        if (page.number == number) {
            page.lastUse = uses_;
            return page;
        }
    }
    if (pages_.size() >= kCachedPages) {
        pages_.erase(
            std::min_element(pages_.begin(), pages_.end(),
                             [](const Page& a, const Page& b) { return a.lastUse < b.lastUse; }));
    }
    const std::size_t first = number * kPersonListPageSize;
    const std::size_t count = std::min(kPersonListPageSize, order_.size() - first);
    Page page{number, std::vector<Cells>(count), uses_};
    std::vector<std::int32_t> ids;
    for (std::size_t i = first; i < first + count; ++i) {
        if (order_[i].unreadable < 0) {
            ids.push_back(order_[i].id);
        }
    }
    DoReadPersonListPage(ids, [&](const PersonListRow& person) {
        const Cells cells = personListCells(person);
        for (std::size_t i = 0; i < count; ++i) {
            const Entry& entry = order_[first + i];
            if (entry.unreadable < 0 && entry.id == person.ID) {
                page.rows[i] = cells;
            }
        }
    });
    pages_.push_back(std::move(page));
    return pages_.back();
}
