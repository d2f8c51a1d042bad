// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "db.h"

#include <QAbstractTableModel>
#include <QString>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

inline constexpr int kPersonListColumns = 9;

// The rows of the earlier-tests list. A register may hold 100 000 persons, of whom the list
// shows some twenty at a time: the model keeps only the order (one ID per row) and reads the
// columns of the rows asked for a page at a time, keeping a few pages. A person whose stored ID
// cannot be read cannot be read again by ID; such rare rows are kept whole from the first read.
class PersonListModel : public QAbstractTableModel {
  public:
    static constexpr int kIdRole = Qt::UserRole;
    static constexpr int kUnreadableIdRole = Qt::UserRole + 1;
    static constexpr std::size_t kCachedPages = 8;

    explicit PersonListModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

    // Reads the order of every person again, sorted by the column (0-9 as DoListPD numbers them),
    // text columns in Swedish order; the pages read before are forgotten. 1 when read, 0 when a
    // read failed (reported), with the list then empty.
    int load(int sortColumn, bool descending);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The person's ID, or 0 for a row whose ID cannot be read.
    std::int32_t personIdAt(int row) const;
    // Empty for a row whose ID was read; otherwise the Swedish message naming the stored ID.
    std::string unreadableIdAt(int row) const;
    // The row of the person, or -1.
    int rowOfPerson(std::int32_t id) const;
    void removePersonRow(int row);
    // Reads the pages of the rows first ... last that are not at hand, so that painting them
    // later finds them; a failed read is reported once and its rows stay empty.
    void prefetch(int first, int last) const;

  private:
    using Cells = std::array<QString, kPersonListColumns>;
    struct Entry {
        std::int32_t id;
        std::int32_t unreadable; // index into unreadable_, or -1
    };
    struct Page {
        std::size_t number;
        std::vector<Cells> rows; // empty cells for a person no longer stored
        std::uint64_t lastUse;
    };
    const Cells& cellsOf(int row) const;
    const Page& pageOf(std::size_t number) const;

    std::vector<Entry> order_;
    std::vector<Cells> unreadable_;
    std::vector<std::string> unreadableMessages_;
    mutable std::vector<Page> pages_;
    mutable std::uint64_t uses_ = 0;
};

// The cells of a person's row as the list shows them: dates as YYYY-MM-DD, sex as a word.
std::array<QString, kPersonListColumns> personListCells(const PersonListRow& person);
