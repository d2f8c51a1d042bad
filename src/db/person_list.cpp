// SPDX-License-Identifier: Apache-2.0
#include "db.h"
#include "statement.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

struct SortColumn {
    const char* name;
    bool text;
};

constexpr SortColumn kSortColumns[kPersonListSortColumns] = {
    {"NAMN", true},         {"TESTLEDARE", true}, {"TESTDATE", false},  {"OTHER", true},
    {"SEX", false},         {"BORNDATE", false},  {"UTBILDNING", true}, {"NATIONALITET", true},
    {"HOMELANGUAGE", true}, {"ID", false}};

constexpr const char* kListColumns = "ID, NAMN, TESTLEDARE, TESTDATE, OTHER, SEX, BORNDATE, "
                                     "UTBILDNING, NATIONALITET, HOMELANGUAGE";

int validSortColumn(int sortColumn) {
    return sortColumn < 0 || sortColumn >= kPersonListSortColumns ? kPersonListSortColumns - 1
                                                                  : sortColumn;
}

// Ties come in ID order: the order does not depend on which columns are read along, so the
// list's order of the IDs alone is the order of the whole rows.
std::string orderBy(int sortColumn, int descending) {
    std::string clause = " ORDER BY ";
    clause += kSortColumns[sortColumn].name;
    clause += descending == 1 ? " DESC" : " ASC";
    if (sortColumn != kPersonListSortColumns - 1) {
        clause += ", ID";
    }
    return clause;
}

// Binds the list columns of the statement's rows to row, in the order of kListColumns; the ID
// goes through idLength so that a NULL is told apart.
void bindListColumns(Statement& statement, PersonListRow& row, SQLLEN& idLength) {
    statement.bindColumnText(2, row.NAMN, kText50);
    statement.bindColumnText(3, row.TESTLEDARE, kText50);
    statement.bindColumnDate(4, &row.TESTDATE);
    statement.bindColumnText(5, row.OTHER, kText50);
    statement.bindColumnInt(6, &row.SEX);
    statement.bindColumnDate(7, &row.BORNDATE);
    statement.bindColumnText(8, row.UTBILDNING, kText50);
    statement.bindColumnText(9, row.NATIONALITET, kText50);
    statement.bindColumnText(10, row.HOMELANGUAGE, kText50);
    statement.bindColumnInt(1, &row.ID, &idLength);
}

bool idWasRead(const Statement& statement, SQLLEN idLength) {
    return idLength != SQL_NULL_DATA && (statement.unreadableColumns() & 1u) == 0;
}

void keepStoredId(const Statement& statement, char (&storedId)[kStoredIdSize]) {
    const char* stored = statement.storedText(1);
    std::snprintf(storedId, sizeof storedId, "%s", stored != nullptr ? stored : "");
}

// Fetches every row into row, whose columns are bound with the ID through idLength, calling onRow
// after each. A NULL column leaves its buffer alone, so the row is cleared after each person to
// keep that person's values out of the next.
template <typename Row>
DbResult fetchRowsWithId(Statement& statement, Row& row, const SQLLEN& idLength,
                         const std::function<void(const Row&)>& onRow) {
    const DbResult result = statement.fetchEach([&] {
        row.idRead = idWasRead(statement, idLength);
        keepStoredId(statement, row.storedId);
        onRow(row);
        std::memset(&row, 0, sizeof row);
    });
    statement.closeCursor();
    statement.commit();
    return result;
}

DbResult fetchListRows(Statement& statement,
                       const std::function<void(const PersonListRow&)>& onRow) {
    PersonListRow row{};
    SQLLEN idLength = 0;
    bindListColumns(statement, row, idLength);
    return fetchRowsWithId(statement, row, idLength, onRow);
}

} // namespace

bool isTextSortColumn(int sortColumn) {
    return sortColumn >= 0 && sortColumn < kPersonListSortColumns && kSortColumns[sortColumn].text;
}

DbResult DoListPD(int sortColumn, int descending,
                  const std::function<void(const PersonListRow&)>& onRow) {
    sortColumn = validSortColumn(sortColumn);
    const std::string sql = std::string("SELECT ") + kListColumns + " FROM TESTPERSON" +
                            orderBy(sortColumn, descending);
    Statement statement;
    statement.executeDirect(sql.c_str());
    return fetchListRows(statement, onRow);
}

DbResult DoListPersonOrder(int sortColumn, int descending,
                           const std::function<void(const PersonOrderRow&)>& onRow) {
    sortColumn = validSortColumn(sortColumn);
    const bool withText = kSortColumns[sortColumn].text;
    std::string sql = "SELECT ID";
    if (withText) {
        sql += std::string(", ") + kSortColumns[sortColumn].name;
    }
    // A text column is put in Swedish order by the list itself, stably, so the database gives
    // only the order of the ties. A server would sort the text at some cost: it gives DoListPD's
    // order of the ties without, by ID with a missing text (which the Swedish order cannot tell
    // from an empty one) last when ascending, where it puts NULL.
    if (withText && connectedToServer()) {
        sql += std::string(" FROM TESTPERSON ORDER BY (") + kSortColumns[sortColumn].name +
               " IS NULL)" + (descending == 1 ? " DESC" : " ASC") + ", ID";
    } else {
        sql += " FROM TESTPERSON" + orderBy(sortColumn, descending);
    }

    Statement statement;
    statement.executeDirect(sql.c_str());
    PersonOrderRow row{};
    SQLLEN idLength = 0;
    statement.bindColumnInt(1, &row.ID, &idLength);
    if (withText) {
        statement.bindColumnText(2, row.sortText, kText50);
    }
    return fetchRowsWithId(statement, row, idLength, onRow);
}

DbResult DoReadPersonListPage(const std::vector<std::int32_t>& ids,
                              const std::function<void(const PersonListRow&)>& onRow) {
    if (ids.empty()) {
        return DB_DONE;
    }
    // The IDs are integers written by the program, never text from outside.
    std::string sql = std::string("SELECT ") + kListColumns + " FROM TESTPERSON WHERE ID IN (";
    for (std::size_t i = 0; i < ids.size(); ++i) {
        sql += (i > 0 ? "," : "") + std::to_string(ids[i]);
    }
    sql += ")";
    Statement statement;
    statement.executeDirect(sql.c_str());
    return fetchListRows(statement, onRow);
}
